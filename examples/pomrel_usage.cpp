// Arithmetic expressions as the fixed point of their node functor: build,
// evaluate with cata, pretty-print, rewrite with a hoist and simplify with a
// cata, and read the text form back.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Data/Fix.h"

// One node of an expression; R is where the sub-expressions go.
enum class Op { Lit, Add, Mul, Neg };
template <class R>
struct ExprF {
    Op op;
    long lit = 0;         // Lit only
    std::vector<R> args;  // two for Add and Mul, one for Neg
};
struct ExprFK {
    template <class R>
    using apply = ExprF<R>;
};

// The interfaces the schemes and the text form need: the tag, Functor,
// Eq1, Show1 and Read1.
namespace core {
template <class R>
struct KindOf<ExprF<R>> {
    using kind = ExprFK;
    using arg = R;
};
template <>
struct Functor<ExprFK> : FunctorDefaults<ExprFK, Functor<ExprFK>> {
    template <class F, class R>
    static auto fmap(F&& f, const ExprF<R>& e) {
        using S = Result<F&, const R&>;
        ExprF<S> out{e.op, e.lit, {}};
        for (const R& a : e.args) out.args.push_back(f(a));
        return out;
    }
};
template <>
struct Eq1<ExprFK> {
    template <class Eq, class R>
    static bool liftEq(Eq&& eq, const ExprF<R>& a, const ExprF<R>& b) {
        if (a.op != b.op || a.lit != b.lit || a.args.size() != b.args.size()) return false;
        for (std::size_t i = 0; i < a.args.size(); ++i)
            if (!eq(a.args[i], b.args[i])) return false;
        return true;
    }
};
template <>
struct Show1<ExprFK> {
    template <class SP, class SL, class R>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const ExprF<R>& e, std::string& out) {
        switch (e.op) {
            case Op::Lit: showsUnaryWith(ShowsPrecOf<long>{}, "Lit", d, e.lit, out); break;
            case Op::Add: showsBinaryWith(sp, sp, "Add", d, e.args[0], e.args[1], out); break;
            case Op::Mul: showsBinaryWith(sp, sp, "Mul", d, e.args[0], e.args[1], out); break;
            case Op::Neg: showsUnaryWith(sp, "Neg", d, e.args[0], out); break;
        }
    }
};
template <>
struct Read1<ExprFK> {
    template <class R>
    static Reader<ExprF<R>> liftReadPrec(Reader<R> rp, Reader<std::vector<R>>) {
        using E = ExprF<R>;
        auto binary = [](Op op) { return [op](R a, R b) { return E{op, 0, {std::move(a), std::move(b)}}; }; };
        return parens(choice<E>({
            readConstructor<E>("Lit", [](long n) { return E{Op::Lit, n, {}}; }, core::readPrec<long>()),
            readConstructor<E>("Add", binary(Op::Add), rp, rp),
            readConstructor<E>("Mul", binary(Op::Mul), rp, rp),
            readConstructor<E>("Neg", [](R a) { return E{Op::Neg, 0, {std::move(a)}}; }, rp),
        }));
    }
};
}  // namespace core

using Expr = pomrel::Fix<ExprFK>;
using Node = ExprF<Expr>;

Expr lit(long n) { return Node{Op::Lit, n, {}}; }
Expr add(Expr a, Expr b) { return Node{Op::Add, 0, {std::move(a), std::move(b)}}; }
Expr mul(Expr a, Expr b) { return Node{Op::Mul, 0, {std::move(a), std::move(b)}}; }
Expr neg(Expr a) { return Node{Op::Neg, 0, {std::move(a)}}; }

// The value of a node whose sub-expressions are already evaluated.
long evalAlg(const ExprF<long>& e) {
    switch (e.op) {
        case Op::Lit: return e.lit;
        case Op::Add: return e.args[0] + e.args[1];
        case Op::Mul: return e.args[0] * e.args[1];
        case Op::Neg: return -e.args[0];
    }
    return 0;
}

// Infix text with as few parentheses as the precedences need; each result
// carries its own precedence (1 sum, 2 product, 3 atom).
std::pair<int, std::string> prettyAlg(const ExprF<std::pair<int, std::string>>& e) {
    auto wrap = [](const std::pair<int, std::string>& p, int need) {
        return p.first < need ? "(" + p.second + ")" : p.second;
    };
    switch (e.op) {
        case Op::Lit: return {e.lit < 0 ? 0 : 3, std::to_string(e.lit)};
        case Op::Add: return {1, wrap(e.args[0], 1) + " + " + wrap(e.args[1], 2)};
        case Op::Mul: return {2, wrap(e.args[0], 2) + " * " + wrap(e.args[1], 3)};
        case Op::Neg: return {3, "-" + wrap(e.args[0], 3)};
    }
    return {3, ""};
}

// Removes additions of 0, multiplications by 1 and double negations, and
// folds constants, bottom-up.
Expr simplifyAlg(const ExprF<Expr>& e) {
    auto isLit = [](const Expr& x, long n) { return x.unFix().op == Op::Lit && x.unFix().lit == n; };
    auto isConst = [](const Expr& x) { return x.unFix().op == Op::Lit; };
    switch (e.op) {
        case Op::Lit: return Expr(e);
        case Op::Add:
            if (isLit(e.args[0], 0)) return e.args[1];
            if (isLit(e.args[1], 0)) return e.args[0];
            break;
        case Op::Mul:
            if (isLit(e.args[0], 1)) return e.args[1];
            if (isLit(e.args[1], 1)) return e.args[0];
            break;
        case Op::Neg:
            if (e.args[0].unFix().op == Op::Neg) return e.args[0].unFix().args[0];
            break;
    }
    bool allConst = true;
    for (const Expr& a : e.args) allConst = allConst && isConst(a);
    if (allConst) return lit(evalAlg(core::fmap([](const Expr& a) { return a.unFix().lit; }, e)));
    return Expr(e);
}

int main() {
    // (2 + 0) * (x + 1 * 3) with x = -(-4)
    Expr e = mul(add(lit(2), lit(0)), add(neg(neg(lit(4))), mul(lit(1), lit(3))));
    int failures = 0;
    auto check = [&failures](bool ok, const char* what) {
        std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
        if (!ok) ++failures;
    };

    long value = pomrel::cata(evalAlg, e);
    std::printf("value   %ld\n", value);
    check(value == 14, "cata evaluates to 14");

    std::string pretty = pomrel::cata(prettyAlg, e).second;
    std::printf("pretty  %s\n", pretty.c_str());
    check(pretty == "(2 + 0) * (--4 + 1 * 3)", "infix form");

    // A natural transformation: swap the operands of every node (the
    // mirror image), applied layer by layer as the result is inspected.
    auto mirror = [](const auto& node) {
        auto out = node;
        if (out.args.size() == 2) std::swap(out.args[0], out.args[1]);
        return out;
    };
    Expr mirrored = pomrel::hoistFix(mirror, e);
    std::printf("mirror  %s\n", pomrel::cata(prettyAlg, mirrored).second.c_str());
    check(pomrel::cata(evalAlg, mirrored) == value, "mirroring keeps the value");

    Expr simple = pomrel::cata(simplifyAlg, e);
    std::printf("simple  %s\n", pomrel::cata(prettyAlg, simple).second.c_str());
    check(simple == lit(14), "simplification folds every constant");
    Expr partial = pomrel::cata(simplifyAlg, add(lit(0), mul(neg(neg(lit(5))), lit(1))));
    check(partial == lit(5), "identities and double negations go");

    std::string text = core::show(e);
    std::printf("text    %s\n", text.c_str());
    auto back = core::read<Expr>(text);
    check(back.has_value() && *back == e, "the text form reads back");
    check(!core::read<Expr>("Fix (Lit 1").has_value(), "truncated text does not read");

    // The same expression as an unfold: a balanced sum of 1..8 grown from a
    // range, evaluated by refold without building it.
    auto grow = [](std::pair<long, long> r) {
        using Seed = std::pair<long, long>;
        if (r.first == r.second) return ExprF<Seed>{Op::Lit, r.first, {}};
        long mid = (r.first + r.second) / 2;
        return ExprF<Seed>{Op::Add, 0, {Seed{r.first, mid}, Seed{mid + 1, r.second}}};
    };
    check(pomrel::refold(evalAlg, grow, std::pair<long, long>{1, 8}) == 36, "refold sums 1..8");
    return failures == 0 ? 0 : 1;
}
