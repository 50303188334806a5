#pragma once
// Base functors: the one-layer shapes whose fixed points are the usual
// recursive types. Each is a type with a hole R (where the recursion goes)
// and a fixed element type A, named by a kind tag over R, and implements
// Functor, Foldable and Traversable (over the holes) and every lifted
// interface: Eq1, Ord1, Show1, Read1 and Hashable1.
//
//   ListF<A, R>      Nil, or Cons a r                 ListFK<A>
//                    text: Nil, Cons 1 r
//   NonEmptyF<A, R>  a head and an optional rest       NonEmptyFK<A>
//                    text: NonEmptyF 1 Nothing, NonEmptyF 1 (Just r)
//   TreeF<A, R>      a label and a list of children    TreeFK<A>
//                    text: NodeF 1 [r1,r2]
//   BinaryF<A, R>    Tip, or Bin left a right          BinaryFK<A>
//                    text: Tip, Bin l 1 r
//
// std::optional (OptionalK) and core::NonEmpty (NonEmptyK) are base
// functors as they stand: core gives them every interface already.
//
// Orders follow the declaration: Nil before Cons, Tip before Bin, then the
// fields from left to right. Hashes mix the index of the alternative when
// there are several (Nil 0, Cons 1; Tip 0, Bin 1), then the fields in
// order; a list of children hashes as a list (each child, then the count).
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Classes.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/Kinds.h"
#include "Core/Read.h"
#include "Core/Show.h"
#include "Core/Traversable.h"

namespace pomrel {

// ---- The shapes ------------------------------------------------------------

// The layer of a list: Nil (no cell) or Cons head tail.
template <class A, class R>
struct ListF {
    std::optional<std::pair<A, R>> cell;  // empty for Nil

    ListF() = default;
    ListF(A head, R tail) : cell(std::in_place, std::move(head), std::move(tail)) {}
    bool isNil() const noexcept { return !cell.has_value(); }
    const A& head() const { return cell->first; }
    const R& tail() const { return cell->second; }
    friend bool operator==(const ListF&, const ListF&) = default;
};
template <class A>
struct ListFK {
    template <class R>
    using apply = ListF<A, R>;
};
// The empty layer and the cell layer, with the hole type named.
template <class A, class R>
ListF<A, R> Nil() {
    return ListF<A, R>();
}
template <class A, class R>
ListF<A, R> Cons(A head, R tail) {
    return ListF<A, R>(std::move(head), std::move(tail));
}

// The layer of a non-empty list: a head and, unless it is the last, a rest.
template <class A, class R>
struct NonEmptyF {
    A head;
    std::optional<R> tail;
    friend bool operator==(const NonEmptyF&, const NonEmptyF&) = default;
};
template <class A>
struct NonEmptyFK {
    template <class R>
    using apply = NonEmptyF<A, R>;
};

// The layer of a rose tree: a label and its children, left to right.
template <class A, class R>
struct TreeF {
    A label;
    std::vector<R> children;
    friend bool operator==(const TreeF&, const TreeF&) = default;
};
template <class A>
struct TreeFK {
    template <class R>
    using apply = TreeF<A, R>;
};

// The layer of a binary tree: Tip, or Bin left value right.
template <class A, class R>
struct BinaryF {
    struct Node {
        R left;
        A value;
        R right;
        friend bool operator==(const Node&, const Node&) = default;
    };
    std::optional<Node> node;  // empty for Tip

    BinaryF() = default;
    BinaryF(R left, A value, R right) : node(Node{std::move(left), std::move(value), std::move(right)}) {}
    bool isTip() const noexcept { return !node.has_value(); }
    friend bool operator==(const BinaryF&, const BinaryF&) = default;
};
template <class A>
struct BinaryFK {
    template <class R>
    using apply = BinaryF<A, R>;
};

}  // namespace pomrel

namespace core {

template <class A, class R>
struct KindOf<pomrel::ListF<A, R>> {
    using kind = pomrel::ListFK<A>;
    using arg = R;
};
template <class A, class R>
struct KindOf<pomrel::NonEmptyF<A, R>> {
    using kind = pomrel::NonEmptyFK<A>;
    using arg = R;
};
template <class A, class R>
struct KindOf<pomrel::TreeF<A, R>> {
    using kind = pomrel::TreeFK<A>;
    using arg = R;
};
template <class A, class R>
struct KindOf<pomrel::BinaryF<A, R>> {
    using kind = pomrel::BinaryFK<A>;
    using arg = R;
};

// ---- Functor -----------------------------------------------------------------

template <class A>
struct Functor<pomrel::ListFK<A>> : FunctorDefaults<pomrel::ListFK<A>, Functor<pomrel::ListFK<A>>> {
    template <class F, class R>
    static auto fmap(F&& f, const pomrel::ListF<A, R>& x) {
        using S = Result<F&, const R&>;
        if (x.isNil()) return pomrel::ListF<A, S>();
        return pomrel::ListF<A, S>(x.head(), f(x.tail()));
    }
};
template <class A>
struct Functor<pomrel::NonEmptyFK<A>> : FunctorDefaults<pomrel::NonEmptyFK<A>, Functor<pomrel::NonEmptyFK<A>>> {
    template <class F, class R>
    static auto fmap(F&& f, const pomrel::NonEmptyF<A, R>& x) {
        using S = Result<F&, const R&>;
        return pomrel::NonEmptyF<A, S>{x.head, x.tail ? std::optional<S>(f(*x.tail)) : std::optional<S>()};
    }
};
template <class A>
struct Functor<pomrel::TreeFK<A>> : FunctorDefaults<pomrel::TreeFK<A>, Functor<pomrel::TreeFK<A>>> {
    template <class F, class R>
    static auto fmap(F&& f, const pomrel::TreeF<A, R>& x) {
        using S = Result<F&, const R&>;
        std::vector<S> cs;
        cs.reserve(x.children.size());
        for (const R& c : x.children) cs.push_back(f(c));
        return pomrel::TreeF<A, S>{x.label, std::move(cs)};
    }
};
template <class A>
struct Functor<pomrel::BinaryFK<A>> : FunctorDefaults<pomrel::BinaryFK<A>, Functor<pomrel::BinaryFK<A>>> {
    template <class F, class R>
    static auto fmap(F&& f, const pomrel::BinaryF<A, R>& x) {
        using S = Result<F&, const R&>;
        if (x.isTip()) return pomrel::BinaryF<A, S>();
        S l = f(x.node->left);  // left before right
        S r = f(x.node->right);
        return pomrel::BinaryF<A, S>(std::move(l), x.node->value, std::move(r));
    }
};

// ---- Foldable (over the holes) -----------------------------------------------

template <class A>
struct Foldable<pomrel::ListFK<A>> : FoldableAtMostOne<pomrel::ListFK<A>, Foldable<pomrel::ListFK<A>>> {
    template <class R>
    static const R* get(const pomrel::ListF<A, R>& x) {
        return x.isNil() ? nullptr : &x.tail();
    }
};
template <class A>
struct Foldable<pomrel::NonEmptyFK<A>> : FoldableAtMostOne<pomrel::NonEmptyFK<A>, Foldable<pomrel::NonEmptyFK<A>>> {
    template <class R>
    static const R* get(const pomrel::NonEmptyF<A, R>& x) {
        return x.tail ? &*x.tail : nullptr;
    }
};
template <class A>
struct Foldable<pomrel::TreeFK<A>> : FoldableDefaults<pomrel::TreeFK<A>, Foldable<pomrel::TreeFK<A>>> {
    template <class F, class B, class R>
    static B foldr(F&& f, Lazy<B> z, const pomrel::TreeF<A, R>& x) {
        return Foldable<VectorK>::foldr(std::forward<F>(f), std::move(z), x.children);
    }
};
template <class A>
struct Foldable<pomrel::BinaryFK<A>> : FoldableDefaults<pomrel::BinaryFK<A>, Foldable<pomrel::BinaryFK<A>>> {
    template <class F, class B, class R>
    static B foldr(F&& f, Lazy<B> z, const pomrel::BinaryF<A, R>& x) {
        if (x.isTip()) return z.force();
        return Foldable<VectorK>::foldr(std::forward<F>(f), std::move(z), std::vector<R>{x.node->left, x.node->right});
    }
};

// ---- Traversable (one effect per hole, left to right) -------------------------

template <class A>
struct Traversable<pomrel::ListFK<A>> : TraversableDefaults<pomrel::ListFK<A>, Traversable<pomrel::ListFK<A>>> {
    template <class F, class R>
    static auto traverse(F&& f, const pomrel::ListF<A, R>& x) {
        using E = detail::EffectOf<F, R>;
        using S = typename E::B;
        if (x.isNil()) return Applicative<typename E::G>::pure(pomrel::ListF<A, S>());
        return Functor<typename E::G>::fmap([h = x.head()](S s) { return pomrel::ListF<A, S>(h, std::move(s)); },
                                            f(x.tail()));
    }
};
template <class A>
struct Traversable<pomrel::NonEmptyFK<A>>
    : TraversableDefaults<pomrel::NonEmptyFK<A>, Traversable<pomrel::NonEmptyFK<A>>> {
    template <class F, class R>
    static auto traverse(F&& f, const pomrel::NonEmptyF<A, R>& x) {
        using E = detail::EffectOf<F, R>;
        using S = typename E::B;
        if (!x.tail) return Applicative<typename E::G>::pure(pomrel::NonEmptyF<A, S>{x.head, std::nullopt});
        return Functor<typename E::G>::fmap(
            [h = x.head](S s) { return pomrel::NonEmptyF<A, S>{h, std::optional<S>(std::move(s))}; }, f(*x.tail));
    }
};
template <class A>
struct Traversable<pomrel::TreeFK<A>> : TraversableDefaults<pomrel::TreeFK<A>, Traversable<pomrel::TreeFK<A>>> {
    template <class F, class R>
    static auto traverse(F&& f, const pomrel::TreeF<A, R>& x) {
        using E = detail::EffectOf<F, R>;
        using S = typename E::B;
        auto cs = detail::traverseToVector<typename E::G, S>(f, x.children.begin(), x.children.end(),
                                                             x.children.size());
        return Functor<typename E::G>::fmap(
            [l = x.label](std::vector<S> v) { return pomrel::TreeF<A, S>{l, std::move(v)}; }, std::move(cs));
    }
};
template <class A>
struct Traversable<pomrel::BinaryFK<A>> : TraversableDefaults<pomrel::BinaryFK<A>, Traversable<pomrel::BinaryFK<A>>> {
    template <class F, class R>
    static auto traverse(F&& f, const pomrel::BinaryF<A, R>& x) {
        using E = detail::EffectOf<F, R>;
        using S = typename E::B;
        if (x.isTip()) return Applicative<typename E::G>::pure(pomrel::BinaryF<A, S>());
        auto l = f(x.node->left);
        auto r = f(x.node->right);
        return Applicative<typename E::G>::liftA2(
            [v = x.node->value](S a, S b) { return pomrel::BinaryF<A, S>(std::move(a), v, std::move(b)); },
            std::move(l), std::move(r));
    }
};

// ---- Eq1 and Ord1 ------------------------------------------------------------

template <class A>
struct Eq1<pomrel::ListFK<A>> {
    template <class Eq, class R1, class R2>
    static bool liftEq(Eq&& eq, const pomrel::ListF<A, R1>& a, const pomrel::ListF<A, R2>& b) {
        if (a.isNil() || b.isNil()) return a.isNil() && b.isNil();
        return a.head() == b.head() && eq(a.tail(), b.tail());
    }
};
template <class A>
struct Ord1<pomrel::ListFK<A>> {
    template <class Cmp, class R1, class R2>
    static Ordering liftCompare(Cmp&& cmp, const pomrel::ListF<A, R1>& a, const pomrel::ListF<A, R2>& b) {
        if (a.isNil()) return b.isNil() ? EQ : LT;
        if (b.isNil()) return GT;
        if (Ordering o = core::compare(a.head(), b.head()); o != EQ) return o;
        return cmp(a.tail(), b.tail());
    }
};
template <class A>
struct Eq1<pomrel::NonEmptyFK<A>> {
    template <class Eq, class R1, class R2>
    static bool liftEq(Eq&& eq, const pomrel::NonEmptyF<A, R1>& a, const pomrel::NonEmptyF<A, R2>& b) {
        return a.head == b.head && Eq1<OptionalK>::liftEq(eq, a.tail, b.tail);
    }
};
template <class A>
struct Ord1<pomrel::NonEmptyFK<A>> {
    template <class Cmp, class R1, class R2>
    static Ordering liftCompare(Cmp&& cmp, const pomrel::NonEmptyF<A, R1>& a, const pomrel::NonEmptyF<A, R2>& b) {
        if (Ordering o = core::compare(a.head, b.head); o != EQ) return o;
        return Ord1<OptionalK>::liftCompare(cmp, a.tail, b.tail);
    }
};
template <class A>
struct Eq1<pomrel::TreeFK<A>> {
    template <class Eq, class R1, class R2>
    static bool liftEq(Eq&& eq, const pomrel::TreeF<A, R1>& a, const pomrel::TreeF<A, R2>& b) {
        return a.label == b.label && Eq1<VectorK>::liftEq(eq, a.children, b.children);
    }
};
template <class A>
struct Ord1<pomrel::TreeFK<A>> {
    template <class Cmp, class R1, class R2>
    static Ordering liftCompare(Cmp&& cmp, const pomrel::TreeF<A, R1>& a, const pomrel::TreeF<A, R2>& b) {
        if (Ordering o = core::compare(a.label, b.label); o != EQ) return o;
        return Ord1<VectorK>::liftCompare(cmp, a.children, b.children);
    }
};
template <class A>
struct Eq1<pomrel::BinaryFK<A>> {
    template <class Eq, class R1, class R2>
    static bool liftEq(Eq&& eq, const pomrel::BinaryF<A, R1>& a, const pomrel::BinaryF<A, R2>& b) {
        if (a.isTip() || b.isTip()) return a.isTip() && b.isTip();
        return eq(a.node->left, b.node->left) && a.node->value == b.node->value && eq(a.node->right, b.node->right);
    }
};
template <class A>
struct Ord1<pomrel::BinaryFK<A>> {
    template <class Cmp, class R1, class R2>
    static Ordering liftCompare(Cmp&& cmp, const pomrel::BinaryF<A, R1>& a, const pomrel::BinaryF<A, R2>& b) {
        if (a.isTip()) return b.isTip() ? EQ : LT;
        if (b.isTip()) return GT;
        if (Ordering o = cmp(a.node->left, b.node->left); o != EQ) return o;
        if (Ordering o = core::compare(a.node->value, b.node->value); o != EQ) return o;
        return cmp(a.node->right, b.node->right);
    }
};

// ---- Show1 and Read1 -----------------------------------------------------------

template <class A>
struct Show1<pomrel::ListFK<A>> {
    template <class SP, class SL, class R>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const pomrel::ListF<A, R>& x, std::string& out) {
        if (x.isNil()) {
            out += "Nil";
            return;
        }
        showsBinaryWith(ShowsPrecOf<A>{}, sp, "Cons", d, x.head(), x.tail(), out);
    }
};
template <class A>
struct Read1<pomrel::ListFK<A>> {
    template <class R>
    static Reader<pomrel::ListF<A, R>> liftReadPrec(Reader<R> rp, Reader<std::vector<R>>) {
        using L = pomrel::ListF<A, R>;
        return parens(alt(readNullary("Nil", L()),
                          readConstructor<L>(
                              "Cons", [](A a, R r) { return L(std::move(a), std::move(r)); }, core::readPrec<A>(),
                              std::move(rp))));
    }
};
template <class A>
struct Show1<pomrel::NonEmptyFK<A>> {
    template <class SP, class SL, class R>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const pomrel::NonEmptyF<A, R>& x, std::string& out) {
        auto tail = [&](int p, const std::optional<R>& t, std::string& o) {
            Show1<OptionalK>::liftShowsPrec(sp, sl, p, t, o);
        };
        showsBinaryWith(ShowsPrecOf<A>{}, tail, "NonEmptyF", d, x.head, x.tail, out);
    }
};
template <class A>
struct Read1<pomrel::NonEmptyFK<A>> {
    template <class R>
    static Reader<pomrel::NonEmptyF<A, R>> liftReadPrec(Reader<R> rp, Reader<std::vector<R>>) {
        using N = pomrel::NonEmptyF<A, R>;
        return readBinaryWith<N>(
            "NonEmptyF", core::readPrec<A>(), readOptionalWith(std::move(rp)),
            [](A a, std::optional<R> t) { return N{std::move(a), std::move(t)}; });
    }
};
template <class A>
struct Show1<pomrel::TreeFK<A>> {
    template <class SP, class SL, class R>
    static void liftShowsPrec(const SP&, const SL& sl, int d, const pomrel::TreeF<A, R>& x, std::string& out) {
        auto children = [&](int, const std::vector<R>& cs, std::string& o) { sl(cs, o); };
        showsBinaryWith(ShowsPrecOf<A>{}, children, "NodeF", d, x.label, x.children, out);
    }
};
template <class A>
struct Read1<pomrel::TreeFK<A>> {
    template <class R>
    static Reader<pomrel::TreeF<A, R>> liftReadPrec(Reader<R>, Reader<std::vector<R>> rl) {
        using T = pomrel::TreeF<A, R>;
        return readBinaryWith<T>("NodeF", core::readPrec<A>(), std::move(rl),
                                 [](A a, std::vector<R> cs) { return T{std::move(a), std::move(cs)}; });
    }
};
template <class A>
struct Show1<pomrel::BinaryFK<A>> {
    template <class SP, class SL, class R>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const pomrel::BinaryF<A, R>& x, std::string& out) {
        if (x.isTip()) {
            out += "Tip";
            return;
        }
        showParen(d >= 11, out, [&] {
            out += "Bin ";
            sp(11, x.node->left, out);
            out += ' ';
            core::showsPrec(11, x.node->value, out);
            out += ' ';
            sp(11, x.node->right, out);
        });
    }
};
template <class A>
struct Read1<pomrel::BinaryFK<A>> {
    template <class R>
    static Reader<pomrel::BinaryF<A, R>> liftReadPrec(Reader<R> rp, Reader<std::vector<R>>) {
        using B = pomrel::BinaryF<A, R>;
        return parens(alt(readNullary("Tip", B()),
                          readConstructor<B>(
                              "Bin", [](R l, A a, R r) { return B(std::move(l), std::move(a), std::move(r)); }, rp,
                              core::readPrec<A>(), rp)));
    }
};

// ---- Hashable1 -------------------------------------------------------------------

template <class A>
struct Hashable1<pomrel::ListFK<A>> {
    template <class H, class R>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const pomrel::ListF<A, R>& x) {
        if (x.isNil()) return hashIndex(salt, 0);
        return h(core::hashWithSalt(hashIndex(salt, 1), x.head()), x.tail());
    }
};
template <class A>
struct Hashable1<pomrel::NonEmptyFK<A>> {
    template <class H, class R>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const pomrel::NonEmptyF<A, R>& x) {
        return Hashable1<OptionalK>::liftHashWithSalt(h, core::hashWithSalt(salt, x.head), x.tail);
    }
};
template <class A>
struct Hashable1<pomrel::TreeFK<A>> {
    template <class H, class R>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const pomrel::TreeF<A, R>& x) {
        return Hashable1<VectorK>::liftHashWithSalt(h, core::hashWithSalt(salt, x.label), x.children);
    }
};
template <class A>
struct Hashable1<pomrel::BinaryFK<A>> {
    template <class H, class R>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const pomrel::BinaryF<A, R>& x) {
        if (x.isTip()) return hashIndex(salt, 0);
        std::uint64_t s = h(hashIndex(salt, 1), x.node->left);
        s = core::hashWithSalt(s, x.node->value);
        return h(s, x.node->right);
    }
};

// ---- The plain interfaces of the layers, through the lifted ones ------------------

#define POMREL_LAYER_TEXT_AND_HASH(Shape)                                                                  \
    template <class A, class R>                                                                         \
    struct Show<pomrel::Shape<A, R>> {                                                                  \
        static void showsPrec(int d, const pomrel::Shape<A, R>& x, std::string& out) {                  \
            Show1<pomrel::Shape##K<A>>::liftShowsPrec(ShowsPrecOf<R>{}, ShowListOf<R>{}, d, x, out);   \
        }                                                                                               \
    };                                                                                                  \
    template <class A, class R>                                                                         \
    struct Read<pomrel::Shape<A, R>> {                                                                  \
        static Reader<pomrel::Shape<A, R>> readPrec() {                                                 \
            return Read1<pomrel::Shape##K<A>>::template liftReadPrec<R>(core::readPrec<R>(), readListPrec<R>()); \
        }                                                                                               \
    };                                                                                                  \
    template <class A, class R>                                                                         \
        requires HashableType<A> && HashableType<R>                                                     \
    struct Hashable<pomrel::Shape<A, R>> {                                                              \
        static std::uint64_t hashWithSalt(std::uint64_t salt, const pomrel::Shape<A, R>& x) {           \
            return Hashable1<pomrel::Shape##K<A>>::liftHashWithSalt(detail::hashElement, salt, x);      \
        }                                                                                               \
    };

POMREL_LAYER_TEXT_AND_HASH(ListF)
POMREL_LAYER_TEXT_AND_HASH(NonEmptyF)
POMREL_LAYER_TEXT_AND_HASH(TreeF)
POMREL_LAYER_TEXT_AND_HASH(BinaryF)
#undef POMREL_LAYER_TEXT_AND_HASH

}  // namespace core
