#pragma once
// Fixed points of functors and the recursion schemes over them.
//
// A functor F is named by its kind tag (core::OptionalK, pomrel::ListFK<int>,
// ...; see Core/Kinds.h and Data/Fix/Base.h). Three recursive types are
// built from it:
//
//   Fix<F>  one layer F<Fix<F>> whose holes hold Fix<F> again.
//           Fix(layer) / wrapFix(layer) wraps, x.unFix() / unFix(x) /
//           unwrapFix(x) unwraps.
//   Mu<F>   the least fixed point in fold form: a value is something that
//           can be folded with an algebra of any result type.
//   Nu<F>   the greatest fixed point in unfold form: a step (coalgebra) and
//           a seed of any type; it may describe a structure without end.
//
// Schemes (the two names of each share one implementation):
//
//   foldFix / cata(alg, x)               alg : F<H> -> H
//   unfoldFix / ana(coalg, s)            coalg : S -> F<S>
//   refold / hylo(alg, coalg, s)         no Fix is built in between
//   hoistFix(nt, x), hoistFixPrime(nt, x)   nt : F<X> -> G<X> for every X
//   foldFixM / cataM(alg, x)             alg : F<A> -> M<A>; post-order
//   unfoldFixM / anaM(coalg, s)          coalg : S -> M<F<S>>; pre-order
//   refoldM / hyloM(alg, coalg, s)
//   foldMu(alg, m), unfoldMu(coalg, s), wrapMu(layer), unwrapMu(m),
//   hoistMu(nt, m), unMu(m), Mu(fold)
//   Nu(coalg, s), unfoldNu(coalg, s), foldNu(alg, n), wrapNu(layer),
//   unwrapNu(n), hoistNu(nt, n)
//
// Algebras, coalgebras and natural transformations are ordinary callables
// (generic lambdas are fine); they are called through const references,
// so they must not be `mutable`. The result type of a fold is the type of
// the holes its algebra receives. It is read from the algebra's parameter
// when that is a plain (non-generic) parameter such as
// `const ListF<int, long>&`; a generic algebra names it:
// `cata<long>(alg, x)`. A natural transformation's target functor G is read
// from its result on a layer of placeholders, or named: `hoistFix<G>(nt, x)`.
//
// Evaluation:
//  - Every structure a scheme builds (unfoldFix, hoistFix, hoistFixPrime,
//    the Fix that Mu and Nu convert to) is deferred hole by hole: a hole is
//    computed when it is first inspected (unFix), once, thread-safely
//    (core::Lazy's protocol). So unfoldFix with a coalgebra that never stops
//    returns at once, and its first k layers can be inspected.
//  - unwrapNu and unwrapMu take exactly one step; wrapNu, wrapMu, hoistNu,
//    hoistMu and unfoldMu take none. A Mu or Nu keeps its seed: every fold
//    runs the coalgebra again.
//  - Folds are strict by default: every hole is folded before the algebra
//    sees the layer. An algebra whose holes are core::Lazy<B>
//    (`[](const ListF<int, core::Lazy<long>>& l) -> long`, or
//    `cata<core::Lazy<long>>(...)`) receives deferred holes instead and
//    visits only what it forces; the fold then returns a B. This is how an
//    algebra stops early on an unending structure.
//  - Effectful schemes run the effects in the order of F's traversal:
//    foldFixM children before their parent (post-order), unfoldFixM a node's
//    coalgebra before its children (pre-order), refoldM both; they stop
//    where the monad stops (the first Nothing, the first Left).
//  - Comparing or hashing an unending Nu (or the unending Fix of an unending
//    unfold) does not end unless a difference is found; printing one
//    produces text without end. Folding such a structure with an algebra
//    that demands every hole does not end either.
//
// Deep structures: folds, refolds, hoists, comparisons, printing and
// hashing recurse once per layer. When the thread's stack runs low, the
// next layer continues on a fresh stack segment through core::Lazy's
// extra-segment mechanism (Core/Lazy.h), so a list-shaped Fix a million
// layers deep is folded, compared, printed and hashed without overflowing
// the stack (memory, not stack, bounds the depth). Dropping a Fix never
// recurses: the layers released by a drop are queued on an explicit
// per-thread work list and freed one at a time, so ten million layers are
// destroyed in constant stack. Reading text is bounded by the reader's
// nesting limit (Core/ReadP.h): deeply nested text fails to parse cleanly.
//
// Text forms: "Fix " then the layer at precedence 11; Mu as
// "unfoldMu unFix " and Nu as "unfoldNu unFix " then the Fix they convert
// to, at precedence 11; each in parentheses when the context precedence is
// above 10, and read back by core::read. Eq and Ord compare layer by layer
// from the outside in through F's Eq1/Ord1 (core::max keeps the second
// argument on a tie, core::min the first); Hashable mixes the layer through
// F's Hashable1 with no tag of its own. Mu and Nu compare, print and read
// through their conversion to Fix.
#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <type_traits>
#include <utility>

#include "Core/Applicative.h"
#include "Core/Classes.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/List.h"
#include "Core/Monad.h"
#include "Core/Read.h"
#include "Core/ReadP.h"
#include "Core/Show.h"
#include "Core/Traversable.h"
#include "Data/Fix/Base.h"

namespace pomrel {

template <class F>
class Fix;
template <class F>
class Mu;
template <class F>
class Nu;

namespace detail {

// Drops one reference to a layer's state. When that frees the state, the
// Fix values inside it are not released recursively: they are queued on
// this thread's work list and released one by one by the outermost drop.
void releaseLayer(const core::detail::LazyBase* state) noexcept;

// True when this thread's stack is close enough to its end that the next
// layer of a deep recursion should move to a fresh segment.
bool stackIsLow() noexcept;

// fn(), moved to a fresh stack segment when the stack runs low. The check
// is made every 32 levels of `depth` (and always at depth 0).
template <class R, class Fn>
R onStack(unsigned depth, Fn&& fn) {
    if ((depth & 31u) != 0 || !stackIsLow()) return fn();
    // core::Lazy continues a computation demanded this deep on a new
    // segment; the deferred value owns its copy of fn.
    return core::defer([f = std::decay_t<Fn>(std::forward<Fn>(fn))]() mutable -> R { return f(); }).force();
}

// Placeholder element, used to find the target functor of a natural
// transformation from its result type.
struct Probe {};

// Marks "read the hole type from the algebra".
struct Deduce {};

template <class T>
struct ParamOfCall {
    using type = void;
};
template <class C, class R, class P>
struct ParamOfCall<R (C::*)(P) const> {
    using type = P;
};
template <class C, class R, class P>
struct ParamOfCall<R (C::*)(P) const noexcept> {
    using type = P;
};
template <class C, class R, class P>
struct ParamOfCall<R (C::*)(P)> {
    using type = P;
};
template <class R, class P>
struct ParamOfCall<R (*)(P)> {
    using type = P;
};
template <class Alg, class = void>
struct AlgebraParam {
    using type = typename ParamOfCall<std::decay_t<Alg>>::type;
};
template <class Alg>
struct AlgebraParam<Alg, std::void_t<decltype(&std::decay_t<Alg>::operator())>> {
    using type = typename ParamOfCall<decltype(&std::decay_t<Alg>::operator())>::type;
};

template <class T>
struct IsLazy : std::false_type {};
template <class T>
struct IsLazy<core::Lazy<T>> : std::true_type {};

// The algebra that wraps a layer into a Fix: its holes are Fix<F>.
struct WrapFixFn;

// The type of the holes an algebra receives: H when named, else read from
// the algebra's parameter F<H>.
template <class H, class Alg, class F>
struct HoleOf {
    using type = H;
};
template <class Alg, class F>
struct HoleOf<Deduce, Alg, F> {
    using Param = std::remove_cvref_t<typename AlgebraParam<Alg>::type>;
    static_assert(!std::is_void_v<Param>,
                  "the algebra is generic: name the type of its holes, e.g. foldFix<long>(alg, x)");
    using type = core::ArgOf<Param>;
};
template <class F>
struct HoleOf<Deduce, WrapFixFn, F> {
    using type = Fix<F>;
};
template <class H, class Alg, class F>
using HoleOfT = typename HoleOf<H, std::decay_t<Alg>, F>::type;

// A fold's result for holes of type H.
template <class H>
struct FoldResult {
    using type = H;
};
template <class B>
struct FoldResult<core::Lazy<B>> {
    using type = B;
};

// True for functors whose fmap applies the function before returning (so
// the function may refer to the caller's frame). Functors that map lazily
// (core::List, NonEmpty's tail) get closures that own what they use.
template <class F>
inline constexpr bool mapsEagerly = false;
template <>
inline constexpr bool mapsEagerly<core::OptionalK> = true;
template <>
inline constexpr bool mapsEagerly<core::VectorK> = true;
template <>
inline constexpr bool mapsEagerly<core::IdentityK> = true;
template <class L>
inline constexpr bool mapsEagerly<core::EitherK<L>> = true;
template <class W>
inline constexpr bool mapsEagerly<core::PairK<W>> = true;
template <class A>
inline constexpr bool mapsEagerly<ListFK<A>> = true;
template <class A>
inline constexpr bool mapsEagerly<NonEmptyFK<A>> = true;
template <class A>
inline constexpr bool mapsEagerly<TreeFK<A>> = true;
template <class A>
inline constexpr bool mapsEagerly<BinaryFK<A>> = true;

}  // namespace detail

// ---- Fix ---------------------------------------------------------------------

// The fixed point of F: one layer F<Fix<F>>, possibly deferred until first
// inspected. Copies share the layer; a copy costs one reference count.
// A moved-from Fix may only be assigned to or destroyed.
template <class F>
class Fix {
public:
    using Layer = core::Apply<F, Fix>;

    // The Fix holding `layer` (already evaluated). Templates, so that
    // copying a Fix never asks whether a Fix converts to a layer (which,
    // for layers such as std::optional<Fix>, asks about Fix again).
    template <class L>
        requires std::same_as<std::remove_cvref_t<L>, Layer>
    Fix(L&& layer) : p_(new core::detail::LazyState<Layer>(std::in_place, std::forward<L>(layer))) {}
    // A Fix whose layer is computed by make() when first inspected, once.
    template <class Make>
    static Fix deferred(Make make) {
        return Fix(new core::detail::LazyThunk<Layer, Make>(std::move(make)));
    }

    Fix(const Fix& o) noexcept : p_(o.p_) {
        if (p_) p_->retain();
    }
    Fix(Fix&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Fix& operator=(const Fix& o) noexcept {
        Fix(o).swap(*this);
        return *this;
    }
    Fix& operator=(Fix&& o) noexcept {
        Fix(std::move(o)).swap(*this);
        return *this;
    }
    // Constant stack whatever the depth (see the header comment).
    ~Fix() {
        if (p_) detail::releaseLayer(p_);
    }
    void swap(Fix& o) noexcept { std::swap(p_, o.p_); }

    // The layer, computing it on first demand.
    const Layer& unFix() const {
        if (!p_->ready()) p_->evaluate();
        return p_->value();
    }
    // True once the layer has been computed.
    bool evaluated() const noexcept { return p_->ready(); }
    // True when both share one layer.
    bool sameAs(const Fix& o) const noexcept { return p_ == o.p_; }

private:
    explicit Fix(core::detail::LazyState<Layer>* p) noexcept : p_(p) {}
    core::detail::LazyState<Layer>* p_;
};

namespace detail {
struct WrapFixFn {
    template <class L>
    auto operator()(L layer) const {
        using F = core::KindOfT<L>;
        static_assert(std::is_same_v<core::ArgOf<L>, Fix<F>>,
                      "wrapFix: the holes of the layer must be Fix of its functor");
        return Fix<F>(std::move(layer));
    }
};
struct UnFixFn {
    template <class F>
    const typename Fix<F>::Layer& operator()(const Fix<F>& x) const {
        return x.unFix();
    }
};
}  // namespace detail

// wrapFix(layer): the Fix holding the layer (the constructor Fix as a function).
inline constexpr detail::WrapFixFn wrapFix{};
// unFix(x), unwrapFix(x): the layer of x (usable as a coalgebra).
inline constexpr detail::UnFixFn unFix{};
inline constexpr detail::UnFixFn unwrapFix{};

// ---- refold and the plain folds ------------------------------------------------

namespace detail {

template <class Alg, class Coalg>
struct RefoldCtx {
    Alg alg;
    Coalg coalg;
};

template <class B, class Ctx, class S>
B refoldGo(const std::shared_ptr<const Ctx>& ctx, const S& s, unsigned depth) {
    return onStack<B>(depth, [&]() -> B {
        decltype(auto) layer = ctx->coalg(s);
        using F = core::KindOfT<decltype(layer)>;
        if constexpr (mapsEagerly<F>)
            return ctx->alg(core::fmap([&](const auto& t) -> B { return refoldGo<B>(ctx, t, depth + 1); }, layer));
        else
            return ctx->alg(
                core::fmap([ctx, depth](const auto& t) -> B { return refoldGo<B>(ctx, t, depth + 1); }, layer));
    });
}

// The deferred-hole form: every hole is a core::Lazy<B> computed on demand.
template <class B, class Ctx, class S>
B refoldLazyGo(const std::shared_ptr<const Ctx>& ctx, const S& s) {
    return ctx->alg(core::fmap(
        [ctx](const auto& t) { return core::defer([ctx, t]() -> B { return refoldLazyGo<B>(ctx, t); }); },
        ctx->coalg(s)));
}

template <class H, class F, class Alg, class Coalg, class S>
auto refoldWith(Alg&& alg, Coalg&& coalg, const S& s) {
    using Hole = HoleOfT<H, Alg, F>;
    using B = typename FoldResult<Hole>::type;
    using Ctx = RefoldCtx<std::decay_t<Alg>, std::decay_t<Coalg>>;
    auto ctx = std::make_shared<const Ctx>(Ctx{std::forward<Alg>(alg), std::forward<Coalg>(coalg)});
    if constexpr (IsLazy<Hole>::value)
        return refoldLazyGo<B>(ctx, s);
    else
        return refoldGo<B>(ctx, s, 0);
}

}  // namespace detail

// refold(alg, coalg, s) = alg(fmap(refold(alg, coalg), coalg(s))): the fold
// of the unfold of s, without building it. Also named hylo.
template <class H = detail::Deduce, class Alg, class Coalg, class S>
auto refold(Alg&& alg, Coalg&& coalg, const S& s) {
    using F = core::KindOfT<core::Result<const std::decay_t<Coalg>&, const S&>>;
    return detail::refoldWith<H, F>(std::forward<Alg>(alg), std::forward<Coalg>(coalg), s);
}
template <class H = detail::Deduce, class Alg, class Coalg, class S>
auto hylo(Alg&& alg, Coalg&& coalg, const S& s) {
    return refold<H>(std::forward<Alg>(alg), std::forward<Coalg>(coalg), s);
}

// foldFix(alg, x) = alg(fmap(foldFix(alg), unFix(x))): bottom-up. Also named cata.
template <class H = detail::Deduce, class Alg, class F>
auto foldFix(Alg&& alg, const Fix<F>& x) {
    return detail::refoldWith<H, F>(std::forward<Alg>(alg), detail::UnFixFn{}, x);
}
template <class H = detail::Deduce, class Alg, class F>
auto cata(Alg&& alg, const Fix<F>& x) {
    return foldFix<H>(std::forward<Alg>(alg), x);
}

// ---- Unfolds and hoists (deferred hole by hole) ---------------------------------

namespace detail {

template <class F, class C, class S>
Fix<F> unfoldGo(const std::shared_ptr<const C>& coalg, S s) {
    return Fix<F>::deferred([coalg, s = std::move(s)]() -> typename Fix<F>::Layer {
        return core::fmap([coalg](const auto& t) { return unfoldGo<F>(coalg, t); }, (*coalg)(s));
    });
}

template <class F, class NT>
using TargetOf = core::KindOfT<std::invoke_result_t<const NT&, const core::Apply<F, Probe>&>>;
template <class G, class F, class NT>
struct TargetIs {
    using type = G;
};
template <class F, class NT>
struct TargetIs<Deduce, F, NT> {
    using type = TargetOf<F, NT>;
};

template <class G, class F, class NT>
Fix<G> hoistGo(const std::shared_ptr<const NT>& nt, Fix<F> x) {
    return Fix<G>::deferred([nt, x = std::move(x)]() -> typename Fix<G>::Layer {
        return (*nt)(core::fmap([nt](const Fix<F>& y) { return hoistGo<G>(nt, y); }, x.unFix()));
    });
}
template <class G, class F, class NT>
Fix<G> hoistPrimeGo(const std::shared_ptr<const NT>& nt, Fix<F> x) {
    return Fix<G>::deferred([nt, x = std::move(x)]() -> typename Fix<G>::Layer {
        return core::fmap([nt](const Fix<F>& y) { return hoistPrimeGo<G>(nt, y); }, (*nt)(x.unFix()));
    });
}

}  // namespace detail

// unfoldFix(coalg, s) = Fix(fmap(unfoldFix(coalg), coalg(s))), every layer
// deferred until inspected. Also named ana.
template <class Coalg, class S>
auto unfoldFix(Coalg coalg, S s) {
    using F = core::KindOfT<core::Result<const Coalg&, const S&>>;
    return detail::unfoldGo<F>(std::make_shared<const Coalg>(std::move(coalg)), std::move(s));
}
template <class Coalg, class S>
auto ana(Coalg coalg, S s) {
    return unfoldFix(std::move(coalg), std::move(s));
}

// hoistFix(nt, x) = Fix(nt(fmap(hoistFix(nt), unFix(x)))): children
// converted with F's fmap, then the layer. G is deduced or named.
template <class G = detail::Deduce, class NT, class F>
auto hoistFix(NT nt, const Fix<F>& x) {
    using T = typename detail::TargetIs<G, F, NT>::type;
    return detail::hoistGo<T>(std::make_shared<const NT>(std::move(nt)), x);
}
// hoistFixPrime(nt, x) = Fix(fmap(hoistFixPrime(nt), nt(unFix(x)))): the
// layer converted first, then the children with G's fmap. Equal results.
template <class G = detail::Deduce, class NT, class F>
auto hoistFixPrime(NT nt, const Fix<F>& x) {
    using T = typename detail::TargetIs<G, F, NT>::type;
    return detail::hoistPrimeGo<T>(std::make_shared<const NT>(std::move(nt)), x);
}

// ---- Effectful schemes -------------------------------------------------------

namespace detail {

template <class MA, class A, class F, class Alg>
MA foldMGo(const std::shared_ptr<const Alg>& alg, const Fix<F>& x, unsigned depth) {
    return onStack<MA>(depth, [&]() -> MA {
        auto children =
            core::mapM([alg, depth](const Fix<F>& c) -> MA { return foldMGo<MA, A>(alg, c, depth + 1); }, x.unFix());
        return core::bind(std::move(children), [alg](const core::Apply<F, A>& layer) -> MA { return (*alg)(layer); });
    });
}

template <class MR, class F, class C, class S>
MR unfoldMGo(const std::shared_ptr<const C>& coalg, const S& s, unsigned depth) {
    return onStack<MR>(depth, [&]() -> MR {
        return core::bind((*coalg)(s), [coalg, depth](const auto& layer) -> MR {
            auto kids = core::mapM(
                [coalg, depth](const auto& t) -> MR { return unfoldMGo<MR, F>(coalg, t, depth + 1); }, layer);
            return core::fmap([](const auto& l) { return Fix<F>(l); }, std::move(kids));
        });
    });
}

template <class MB, class B, class Ctx, class S>
MB refoldMGo(const std::shared_ptr<const Ctx>& ctx, const S& s, unsigned depth) {
    return onStack<MB>(depth, [&]() -> MB {
        return core::bind(ctx->coalg(s), [ctx, depth](const auto& layer) -> MB {
            auto kids =
                core::mapM([ctx, depth](const auto& t) -> MB { return refoldMGo<MB, B>(ctx, t, depth + 1); }, layer);
            return core::bind(std::move(kids), [ctx](const auto& done) -> MB { return ctx->alg(done); });
        });
    });
}

}  // namespace detail

// foldFixM(alg, x): mapM(foldFixM(alg)) over the holes, then alg on the
// layer: the children's effects before their parent's (post-order).
// Also named cataM. F needs Traversable, the result a Monad.
template <class A = detail::Deduce, class Alg, class F>
auto foldFixM(Alg alg, const Fix<F>& x) {
    using H = detail::HoleOfT<A, Alg, F>;
    using MA = core::Result<const Alg&, const core::Apply<F, H>&>;
    return detail::foldMGo<MA, H>(std::make_shared<const Alg>(std::move(alg)), x, 0);
}
template <class A = detail::Deduce, class Alg, class F>
auto cataM(Alg alg, const Fix<F>& x) {
    return foldFixM<A>(std::move(alg), x);
}

// unfoldFixM(coalg, s): coalg(s), then mapM(unfoldFixM(coalg)) over the
// new seeds, then wrap: a node's effect before its children's (pre-order).
// Also named anaM.
template <class Coalg, class S>
auto unfoldFixM(Coalg coalg, const S& s) {
    using MFS = core::Result<const Coalg&, const S&>;
    using M = core::KindOfT<MFS>;
    using F = core::KindOfT<core::ArgOf<MFS>>;
    using MR = core::Apply<M, Fix<F>>;
    return detail::unfoldMGo<MR, F>(std::make_shared<const Coalg>(std::move(coalg)), s, 0);
}
template <class Coalg, class S>
auto anaM(Coalg coalg, const S& s) {
    return unfoldFixM(std::move(coalg), s);
}

// refoldM(alg, coalg, s): coalgebra effects top-down before the children,
// algebra effects bottom-up after them. Also named hyloM.
template <class B = detail::Deduce, class Alg, class Coalg, class S>
auto refoldM(Alg alg, Coalg coalg, const S& s) {
    using MFS = core::Result<const Coalg&, const S&>;
    using F = core::KindOfT<core::ArgOf<MFS>>;
    using H = detail::HoleOfT<B, Alg, F>;
    using MB = core::Result<const Alg&, const core::Apply<F, H>&>;
    using Ctx = detail::RefoldCtx<Alg, Coalg>;
    return detail::refoldMGo<MB, H>(std::make_shared<const Ctx>(Ctx{std::move(alg), std::move(coalg)}), s, 0);
}
template <class B = detail::Deduce, class Alg, class Coalg, class S>
auto hyloM(Alg alg, Coalg coalg, const S& s) {
    return refoldM<B>(std::move(alg), std::move(coalg), s);
}

// ---- Mu and Nu: a hidden seed and its step ---------------------------------------

namespace detail {

template <class F>
class Seed;

// A seed of some hidden type together with the step that unfolds it.
template <class F>
struct SeedNode {
    virtual ~SeedNode() = default;
    virtual core::Apply<F, Seed<F>> step() const = 0;
};

template <class F>
class Seed {
public:
    explicit Seed(std::shared_ptr<const SeedNode<F>> n) noexcept : n_(std::move(n)) {}
    // One step: the layer whose holes are the next seeds.
    core::Apply<F, Seed> step() const { return n_->step(); }

private:
    std::shared_ptr<const SeedNode<F>> n_;
};

// The seed s of coalgebra c.
template <class F, class C, class S>
struct CoalgSeed final : SeedNode<F> {
    std::shared_ptr<const C> coalg;
    S seed;
    CoalgSeed(std::shared_ptr<const C> c, S s) : coalg(std::move(c)), seed(std::move(s)) {}
    core::Apply<F, Seed<F>> step() const override {
        return core::fmap(
            [c = coalg](const auto& t) {
                using T = std::decay_t<decltype(t)>;
                return Seed<F>(std::make_shared<const CoalgSeed<F, C, T>>(c, t));
            },
            (*coalg)(seed));
    }
};
template <class F, class C, class S>
Seed<F> makeSeed(C coalg, S s) {
    return Seed<F>(
        std::make_shared<const CoalgSeed<F, C, S>>(std::make_shared<const C>(std::move(coalg)), std::move(s)));
}

// A layer of Mu or Nu values as a seed: its step hands over their seeds.
template <class F, class T>
struct LayerSeed final : SeedNode<F> {
    core::Apply<F, T> layer;
    explicit LayerSeed(core::Apply<F, T> l) : layer(std::move(l)) {}
    core::Apply<F, Seed<F>> step() const override {
        return core::fmap([](const T& t) { return t.seed(); }, layer);
    }
};

// An F seed seen through a natural transformation into G.
template <class G, class F, class NT>
struct HoistSeed final : SeedNode<G> {
    std::shared_ptr<const NT> nt;
    Seed<F> inner;
    HoistSeed(std::shared_ptr<const NT> n, Seed<F> i) : nt(std::move(n)), inner(std::move(i)) {}
    core::Apply<G, Seed<G>> step() const override {
        return (*nt)(core::fmap(
            [n = nt](const Seed<F>& s) { return Seed<G>(std::make_shared<const HoistSeed<G, F, NT>>(n, s)); },
            inner.step()));
    }
};

struct StepFn {
    template <class F>
    core::Apply<F, Seed<F>> operator()(const Seed<F>& s) const {
        return s.step();
    }
};

// The Fix that a seed unfolds to, deferred layer by layer.
template <class F>
Fix<F> seedToFix(const Seed<F>& s) {
    return unfoldFix(StepFn{}, s);
}

// The algebra wrapFix for one functor F, with a plain (non-template)
// parameter, so that a fold function may hand it a layer of any type that
// converts to F<Fix<F>> (std::nullopt, an initializer list, ...).
template <class F>
struct WrapFixAlgebra {
    Fix<F> operator()(const core::Apply<F, Fix<F>>& layer) const { return Fix<F>(layer); }
};

// A fold function as a seed: each step folds the structure into a Fix with
// wrapFix and hands over its outermost layer, so every inspection runs the
// fold function again.
template <class F, class G>
struct FoldSeed final : SeedNode<F> {
    G fold;
    explicit FoldSeed(G g) : fold(std::move(g)) {}
    core::Apply<F, Seed<F>> step() const override {
        const Fix<F> x = fold(WrapFixAlgebra<F>{});
        return core::fmap([](const Fix<F>& t) { return makeSeed<F>(UnFixFn{}, t); }, x.unFix());
    }
};

}  // namespace detail

template <class F>
class MuFold;

// The least fixed point in fold form. Every fold runs the structure's
// unfolding again from its seed.
template <class F>
class Mu {
public:
    // The Mu of a fold function (as returned by unMu).
    explicit Mu(const MuFold<F>& fold);
    // The Mu of a fold function of one's own: fold(alg) accepts an algebra
    // F<A> -> A for any A (a generic lambda, called here with an algebra
    // whose A is Fix<F>) and returns the A the structure folds to. Nothing
    // is run until the Mu is inspected; every inspection runs it again.
    template <class G>
        requires(!std::same_as<std::decay_t<G>, MuFold<F>>) &&
                std::same_as<std::invoke_result_t<const std::decay_t<G>&, const detail::WrapFixAlgebra<F>&>, Fix<F>>
    explicit Mu(G&& fold)
        : s_(std::make_shared<const detail::FoldSeed<F, std::decay_t<G>>>(std::forward<G>(fold))) {}
    explicit Mu(detail::Seed<F> s) noexcept : s_(std::move(s)) {}
    const detail::Seed<F>& seed() const noexcept { return s_; }

private:
    detail::Seed<F> s_;
};

// The fold function of a Mu: fold(alg) or fold<H>(alg) folds it.
template <class F>
class MuFold {
public:
    explicit MuFold(detail::Seed<F> s) noexcept : s_(std::move(s)) {}
    template <class H = detail::Deduce, class Alg>
    auto fold(Alg&& alg) const {
        return detail::refoldWith<H, F>(std::forward<Alg>(alg), detail::StepFn{}, s_);
    }
    template <class Alg>
    auto operator()(Alg&& alg) const {
        return fold(std::forward<Alg>(alg));
    }
    const detail::Seed<F>& seed() const noexcept { return s_; }

private:
    detail::Seed<F> s_;
};
template <class F>
Mu<F>::Mu(const MuFold<F>& fold) : s_(fold.seed()) {}

// unMu(m): the fold function of m.
template <class F>
MuFold<F> unMu(const Mu<F>& m) {
    return MuFold<F>(m.seed());
}
// foldMu(alg, m): m's fold function applied to alg.
template <class H = detail::Deduce, class Alg, class F>
auto foldMu(Alg&& alg, const Mu<F>& m) {
    return unMu(m).template fold<H>(std::forward<Alg>(alg));
}
// unfoldMu(coalg, s): the Mu whose fold with alg is refold(alg, coalg, s).
template <class Coalg, class S>
auto unfoldMu(Coalg coalg, S s) {
    using F = core::KindOfT<core::Result<const Coalg&, const S&>>;
    return Mu<F>(detail::makeSeed<F>(std::move(coalg), std::move(s)));
}
// wrapMu(layer): the Mu whose fold with alg is alg(fmap(foldMu(alg), layer)).
template <class L>
auto wrapMu(L layer) {
    using F = core::KindOfT<L>;
    return Mu<F>(detail::Seed<F>(std::make_shared<const detail::LayerSeed<F, Mu<F>>>(std::move(layer))));
}
// unwrapMu(m): the outermost layer, whose holes are the Mu of the inner
// layers. Takes one step.
template <class F>
core::Apply<F, Mu<F>> unwrapMu(const Mu<F>& m) {
    return core::fmap([](const detail::Seed<F>& s) { return Mu<F>(s); }, m.seed().step());
}
// hoistMu(nt, m): the Mu over G whose layers are m's, converted by nt.
template <class G = detail::Deduce, class NT, class F>
auto hoistMu(NT nt, const Mu<F>& m) {
    using T = typename detail::TargetIs<G, F, NT>::type;
    return Mu<T>(detail::Seed<T>(
        std::make_shared<const detail::HoistSeed<T, F, NT>>(std::make_shared<const NT>(std::move(nt)), m.seed())));
}

// The greatest fixed point in unfold form: a step and a seed whose type is
// hidden, so Nu values over one functor may use different seed types.
template <class F>
class Nu {
public:
    // Nu(step, seed): nothing is evaluated.
    template <class Coalg, class S>
    Nu(Coalg step, S seed) : s_(detail::makeSeed<F>(std::move(step), std::move(seed))) {}
    explicit Nu(detail::Seed<F> s) noexcept : s_(std::move(s)) {}
    const detail::Seed<F>& seed() const noexcept { return s_; }

private:
    detail::Seed<F> s_;
};
template <class Coalg, class S>
Nu(Coalg, S) -> Nu<core::KindOfT<core::Result<const Coalg&, const S&>>>;

// unfoldNu(step, seed): Nu(step, seed).
template <class Coalg, class S>
auto unfoldNu(Coalg step, S seed) {
    return Nu(std::move(step), std::move(seed));
}
// foldNu(alg, n) = refold(alg, step, seed).
template <class H = detail::Deduce, class Alg, class F>
auto foldNu(Alg&& alg, const Nu<F>& n) {
    return detail::refoldWith<H, F>(std::forward<Alg>(alg), detail::StepFn{}, n.seed());
}
// unwrapNu(n): exactly one step; every new seed packed with the same step.
template <class F>
core::Apply<F, Nu<F>> unwrapNu(const Nu<F>& n) {
    return core::fmap([](const detail::Seed<F>& s) { return Nu<F>(s); }, n.seed().step());
}
// wrapNu(layer): the Nu whose seed is the layer itself; no step is taken.
template <class L>
auto wrapNu(L layer) {
    using F = core::KindOfT<L>;
    return Nu<F>(detail::Seed<F>(std::make_shared<const detail::LayerSeed<F, Nu<F>>>(std::move(layer))));
}
// hoistNu(nt, n): the same seed, with the step followed by nt.
template <class G = detail::Deduce, class NT, class F>
auto hoistNu(NT nt, const Nu<F>& n) {
    using T = typename detail::TargetIs<G, F, NT>::type;
    return Nu<T>(detail::Seed<T>(
        std::make_shared<const detail::HoistSeed<T, F, NT>>(std::make_shared<const NT>(std::move(nt)), n.seed())));
}

// The Fix a Mu or Nu converts to (foldMu/foldNu with wrapFix), built
// lazily layer by layer.
template <class F>
Fix<F> muToFix(const Mu<F>& m) {
    return detail::seedToFix(m.seed());
}
template <class F>
Fix<F> nuToFix(const Nu<F>& n) {
    return detail::seedToFix(n.seed());
}

// ---- Comparison ----------------------------------------------------------------

namespace detail {
// Layer by layer through F's lifted comparison, also when both share a
// layer: an element equality need not be reflexive (a NaN is not equal to
// itself), so sharing does not decide.
template <class F>
bool eqFix(const Fix<F>& a, const Fix<F>& b) {
    return onStack<bool>(0, [&] {
        return core::Eq1<F>::liftEq([](const Fix<F>& x, const Fix<F>& y) { return eqFix(x, y); }, a.unFix(),
                                    b.unFix());
    });
}
template <class F>
core::Ordering compareFix(const Fix<F>& a, const Fix<F>& b) {
    return onStack<core::Ordering>(0, [&] {
        return core::Ord1<F>::liftCompare([](const Fix<F>& x, const Fix<F>& y) { return compareFix(x, y); },
                                          a.unFix(), b.unFix());
    });
}
}  // namespace detail

template <class F>
    requires core::IsEq1<F>
bool operator==(const Fix<F>& a, const Fix<F>& b) {
    return detail::eqFix(a, b);
}
template <class F>
    requires core::IsOrd1<F>
std::strong_ordering operator<=>(const Fix<F>& a, const Fix<F>& b) {
    return core::toStdOrdering(detail::compareFix(a, b));
}
template <class F>
    requires core::IsEq1<F>
bool operator==(const Mu<F>& a, const Mu<F>& b) {
    return muToFix(a) == muToFix(b);
}
template <class F>
    requires core::IsOrd1<F>
std::strong_ordering operator<=>(const Mu<F>& a, const Mu<F>& b) {
    return muToFix(a) <=> muToFix(b);
}
template <class F>
    requires core::IsEq1<F>
bool operator==(const Nu<F>& a, const Nu<F>& b) {
    return nuToFix(a) == nuToFix(b);
}
template <class F>
    requires core::IsOrd1<F>
std::strong_ordering operator<=>(const Nu<F>& a, const Nu<F>& b) {
    return nuToFix(a) <=> nuToFix(b);
}

// ---- Lists ---------------------------------------------------------------------

// The Fix of the list shape holding the elements of xs, converted cell by
// cell on demand (so an unbounded list works).
template <class A>
Fix<ListFK<A>> listToFix(core::List<A> xs) {
    return unfoldFix(
        [](const core::List<A>& l) -> ListF<A, core::List<A>> {
            const auto& st = l.step();
            if (!st) return ListF<A, core::List<A>>();
            return ListF<A, core::List<A>>(st->head, st->tail);
        },
        std::move(xs));
}
// The elements of a list-shaped Fix as a core::List, on demand.
template <class A>
core::List<A> fixToList(Fix<ListFK<A>> x) {
    using L = core::List<A>;
    return L::lazyStep([x = std::move(x)]() -> typename L::Step {
        const auto& layer = x.unFix();
        if (layer.isNil()) return typename L::Step();
        return typename L::Cons{layer.head(), fixToList(layer.tail())};
    });
}

// Write the text forms.
template <class F>
std::ostream& operator<<(std::ostream& os, const Fix<F>& x);
template <class F>
std::ostream& operator<<(std::ostream& os, const Mu<F>& x);
template <class F>
std::ostream& operator<<(std::ostream& os, const Nu<F>& x);

}  // namespace pomrel

// ---- Text forms and hashing ---------------------------------------------------------

namespace core {

template <class F>
struct Show<pomrel::Fix<F>> {
    static void showsPrec(int d, const pomrel::Fix<F>& x, std::string& out) {
        pomrel::detail::onStack<Unit>(0, [&] {
            showParen(d > 10, out, [&] {
                out += "Fix ";
                Show1<F>::liftShowsPrec(ShowsPrecOf<pomrel::Fix<F>>{}, ShowListOf<pomrel::Fix<F>>{}, 11, x.unFix(),
                                        out);
            });
            return unit;
        });
    }
};
template <class F>
struct Show<pomrel::Mu<F>> {
    static void showsPrec(int d, const pomrel::Mu<F>& x, std::string& out) {
        showParen(d > 10, out, [&] {
            out += "unfoldMu unFix ";
            core::showsPrec(11, pomrel::muToFix(x), out);
        });
    }
};
template <class F>
struct Show<pomrel::Nu<F>> {
    static void showsPrec(int d, const pomrel::Nu<F>& x, std::string& out) {
        showParen(d > 10, out, [&] {
            out += "unfoldNu unFix ";
            core::showsPrec(11, pomrel::nuToFix(x), out);
        });
    }
};

template <class F>
struct Read<pomrel::Fix<F>> {
    // "Fix" then the layer at precedence 11; the holes read as Fix again.
    // Built on first use: the reader refers to itself only when it runs.
    static Reader<pomrel::Fix<F>> readPrec() {
        return Reader<pomrel::Fix<F>>([](std::string_view in, std::size_t pos, int p) { return body()(in, pos, p); });
    }

private:
    static const Reader<pomrel::Fix<F>>& body() {
        using X = pomrel::Fix<F>;
        static const Reader<X> r =
            parens(prec(10, thenP(ident("Fix"), mapP([](const Apply<F, X>& layer) { return X(layer); },
                                                      atPrec(11, liftReadPrec<F, X>(readPrec(), readListPrec<X>()))))));
        return r;
    }
};
template <class F>
struct Read<pomrel::Mu<F>> {
    static Reader<pomrel::Mu<F>> readPrec() {
        using X = pomrel::Fix<F>;
        auto build = [](const X& x) { return pomrel::unfoldMu(pomrel::unFix, x); };
        return parens(
            prec(10, thenP(ident("unfoldMu"), thenP(ident("unFix"), mapP(build, atPrec(11, core::readPrec<X>()))))));
    }
};
template <class F>
struct Read<pomrel::Nu<F>> {
    static Reader<pomrel::Nu<F>> readPrec() {
        using X = pomrel::Fix<F>;
        auto build = [](const X& x) { return pomrel::Nu<F>(pomrel::unFix, x); };
        return parens(
            prec(10, thenP(ident("unfoldNu"), thenP(ident("unFix"), mapP(build, atPrec(11, core::readPrec<X>()))))));
    }
};

// The layer through F's lifted hash, with this same hash for the holes;
// nothing of its own is mixed in.
template <class F>
    requires IsHashable1<F>
struct Hashable<pomrel::Fix<F>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const pomrel::Fix<F>& x) {
        return pomrel::detail::onStack<std::uint64_t>(0, [&] {
            return Hashable1<F>::liftHashWithSalt(
                [](std::uint64_t s, const pomrel::Fix<F>& y) { return Hashable<pomrel::Fix<F>>::hashWithSalt(s, y); },
                salt, x.unFix());
        });
    }
};

}  // namespace core

namespace pomrel {
template <class F>
std::ostream& operator<<(std::ostream& os, const Fix<F>& x) {
    return os << core::show(x);
}
template <class F>
std::ostream& operator<<(std::ostream& os, const Mu<F>& x) {
    return os << core::show(x);
}
template <class F>
std::ostream& operator<<(std::ostream& os, const Nu<F>& x) {
    return os << core::show(x);
}
}  // namespace pomrel
