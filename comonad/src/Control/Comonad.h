#pragma once
// Comonads: contexts that always hold a current value and can be re-focused
// on every position they hold.
//
//   comonad::extract(w)              the value at the current position
//   comonad::duplicate(w)            every position holds the context re-focused there
//   comonad::extend(k, w)            every position holds k(the context re-focused there)
//   comonad::cobind(w, k)            extend(k, w)                              (=>>)
//   comonad::cobindFlipped(k, w)     extend(k, w)                              (<<=)
//   comonad::cokleisli(f, g)         w -> g(extend(f, w)): f first             (=>=)
//   comonad::cokleisliFlipped(f, g)  w -> f(extend(g, w)): g first             (=<=)
//   comonad::liftW(f, w)             f applied at every position
//   comonad::apW(fs, as)             position-wise application                 (<@>)
//   comonad::apRightW(a, b)          both combined, b's values                 (@>)
//   comonad::apLeftW(a, b)           both combined, a's values                 (<@)
//   comonad::apFlippedW(as, fs)      fs's functions applied to as's values     (<@@>)
//   comonad::liftW2(f, a, b), liftW3(f, a, b, c)
//   comonad::wfix(w), cfix<Tag, A>(f), kfix(w)   self-referential contexts
//   comonad::coproduct(f, g, s)      f or g on whichever side of a Sum is present
//
// An implementation of Comonad is `template <> struct Comonad<Tag>` (the tag
// must have a Functor) deriving from ComonadDefaults<Tag, Self>, supplying
// `extract` and at least one of `duplicate` and `extend`. ComonadApply is
// `template <> struct ComonadApply<Tag>` deriving from
// ComonadApplyDefaults<Tag, Self>; `ap` defaults to the tag's Applicative.
//
// Implemented here for std::pair<E, A> (the first component is the
// environment), core::Arg, functions core::Fn<M, A> from a Monoid M,
// core::Identity, core::Tagged, core::IdentityT, core::NonEmpty, core::Tree
// and core::Sum; ComonadApply for pairs (E a Semigroup), functions,
// Identity, IdentityT, NonEmpty and Tree.
//
// Evaluation. extend on a NonEmpty produces its tail on demand, each
// position at most once (the cells of the result are deferred values), so
// it works on unbounded lists and computes only the positions that are
// reached; on a Tree, every subtree of the result is produced when its
// cell of the parent's forest is demanded. The self-referential operations hand the caller's functions a
// context of deferred positions, Apply<Tag, core::Lazy<A>>: forcing another
// position computes it then; forcing the position being computed raises
// core::Error "deferred value depends on itself" (never hangs).
//
//   wfix(w)          w holds functions from Apply<Tag, Lazy<A>> to A; the
//                    function at the current position applied to the context
//                    of every position's fixed point. A is deduced when the
//                    functions are std::function; otherwise wfix<A>(w).
//   cfix<Tag, A>(f)  the context x with x = extend(f, x), f taking
//                    Apply<Tag, Lazy<A>>; a context whose shape depends on
//                    itself (beyond Identity, Tagged, IdentityT, functions
//                    from a monoid, Traced and the current position of a
//                    NonEmpty) raises the error above.
//   kfix(w)          the context u with u = apW(w, duplicate(u)).
//
// Cokleisli<Tag, A, B> wraps a function from Apply<Tag, A> to B and is an
// arrow (Category, Arrow, ArrowApply, ArrowChoice, ArrowLoop) and, for a
// fixed input, a Functor, Applicative and Monad.
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "Core/Applicative.h"
#include "Core/Arg.h"
#include "Core/Arrow.h"
#include "Core/Either.h"
#include "Core/Error.h"
#include "Core/Functor.h"
#include "Core/FunctorTypes.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/List.h"
#include "Core/Monad.h"
#include "Core/NonEmpty.h"
#include "Core/Semigroup.h"
#include "Core/Tree.h"

namespace comonad {

using core::Apply;
using core::ArgOf;
using core::KindOfT;
using core::Lazy;
using core::Result;

// ---- Interfaces ----------------------------------------------------------

template <class K>
struct Comonad {
    using NotImplemented = void;
};
// True when the tag K has a Comonad implementation.
template <class K>
concept IsComonad = core::IsFunctor<K> && !requires { typename Comonad<K>::NotImplemented; };

template <class K, class Self>
struct ComonadDefaults {
    // extend of the identity.
    template <class WA>
    static auto duplicate(const WA& w) {
        return Self::extend([](const WA& v) { return v; }, w);
    }
    // k mapped over duplicate(w).
    template <class F, class WA>
    static auto extend(F&& k, const WA& w) {
        return core::Functor<K>::fmap(std::forward<F>(k), Self::duplicate(w));
    }
};

template <class K>
struct ComonadApply {
    using NotImplemented = void;
};
// True when the tag K has a ComonadApply implementation.
template <class K>
concept IsComonadApply = IsComonad<K> && !requires { typename ComonadApply<K>::NotImplemented; };

template <class K, class Self>
struct ComonadApplyDefaults {
    // The type's Applicative combination, where it has one.
    template <class WF, class WA>
    static auto ap(const WF& fs, const WA& as) {
        static_assert(core::IsApplicative<K>, "ComonadApply: define ap (the type has no Applicative to default to)");
        return core::Applicative<K>::ap(fs, as);
    }
    template <class WA, class WB>
    static auto apRight(const WA& a, const WB& b) {
        using A = ArgOf<WA>;
        using B = ArgOf<WB>;
        return Self::ap(core::Functor<K>::fmap([](const A&) { return [](const B& y) { return y; }; }, a), b);
    }
    template <class WA, class WB>
    static auto apLeft(const WA& a, const WB& b) {
        using A = ArgOf<WA>;
        using B = ArgOf<WB>;
        return Self::ap(core::Functor<K>::fmap([](const A& x) { return [x](const B&) { return x; }; }, a), b);
    }
};

// ---- Free functions ------------------------------------------------------

namespace detail {
// What a free function returns after its static_assert has reported a
// missing implementation: it converts to anything, so that the caller's
// code adds no second error to the one message.
struct Missing {
    template <class T>
    operator T() const;
};
}  // namespace detail

#define COMONAD_DISPATCH(Iface, IsIface, T, call)                                              \
    using K = core::detail::KindOrNone<T>;                                                      \
    if constexpr (!IsIface<K>) {                                                                \
        static_assert(core::detail::alwaysFalse<T>, "no " #Iface " implementation for this type"); \
        return detail::Missing{};                                                               \
    } else                                                                                      \
        return Iface<K>::call

template <class WA>
decltype(auto) extract(const WA& w) {
    COMONAD_DISPATCH(Comonad, IsComonad, WA, extract(w));
}
template <class WA>
auto duplicate(const WA& w) {
    COMONAD_DISPATCH(Comonad, IsComonad, WA, duplicate(w));
}
template <class F, class WA>
auto extend(F&& k, const WA& w) {
    COMONAD_DISPATCH(Comonad, IsComonad, WA, extend(std::forward<F>(k), w));
}
// extend(k, w), the context first (=>>).
template <class WA, class F>
auto cobind(const WA& w, F&& k) {
    return comonad::extend(std::forward<F>(k), w);
}
// extend(k, w) (<<=).
template <class F, class WA>
auto cobindFlipped(F&& k, const WA& w) {
    return comonad::extend(std::forward<F>(k), w);
}
// Co-Kleisli composition, f first: w -> g(extend(f, w)) (=>=).
template <class F, class G>
auto cokleisli(F f, G g) {
    return [f = std::move(f), g = std::move(g)](const auto& w) { return g(comonad::extend(f, w)); };
}
// Co-Kleisli composition, g first: w -> f(extend(g, w)) (=<=).
template <class F, class G>
auto cokleisliFlipped(F f, G g) {
    return [f = std::move(f), g = std::move(g)](const auto& w) { return f(comonad::extend(g, w)); };
}
// f applied at every position, through extend (needs only Comonad).
template <class F, class WA>
auto liftW(F f, const WA& w) {
    return comonad::extend([f = std::move(f)](const WA& v) { return f(comonad::extract(v)); }, w);
}

template <class WF, class WA>
auto apW(const WF& fs, const WA& as) {
    COMONAD_DISPATCH(ComonadApply, IsComonadApply, WA, ap(fs, as));
}
template <class WA, class WB>
auto apRightW(const WA& a, const WB& b) {
    COMONAD_DISPATCH(ComonadApply, IsComonadApply, WA, apRight(a, b));
}
template <class WA, class WB>
auto apLeftW(const WA& a, const WB& b) {
    COMONAD_DISPATCH(ComonadApply, IsComonadApply, WA, apLeft(a, b));
}
// (map f over a) <@> b.
template <class F, class WA, class WB>
auto liftW2(F f, const WA& a, const WB& b) {
    using A = ArgOf<WA>;
    using B = ArgOf<WB>;
    auto curried = core::fmap([f = std::move(f)](const A& x) { return [f, x](const B& y) { return f(x, y); }; }, a);
    return comonad::apW(curried, b);
}
// ((map f over a) <@> b) <@> c.
template <class F, class WA, class WB, class WC>
auto liftW3(F f, const WA& a, const WB& b, const WC& c) {
    using A = ArgOf<WA>;
    using B = ArgOf<WB>;
    using C = ArgOf<WC>;
    auto curried = core::fmap(
        [f = std::move(f)](const A& x) {
            return [f, x](const B& y) { return [f, x, y](const C& z) { return f(x, y, z); }; };
        },
        a);
    return comonad::apW(comonad::apW(curried, b), c);
}
// The functions of fs applied to the values of as; as's positions come
// first in the combination (<@@>).
template <class WA, class WF>
auto apFlippedW(const WA& as, const WF& fs) {
    using A = ArgOf<WA>;
    return comonad::liftW2([](const A& x, const auto& h) { return h(x); }, as, fs);
}

#undef COMONAD_DISPATCH

// f(l) when s is the left alternative holding l, g(r) when it is the right
// one; the other function is never called.
template <class F, class G, class FK, class GK, class A>
auto coproduct(F&& f, G&& g, const core::Sum<FK, GK, A>& s) {
    if (s.isInL()) return f(s.left());
    return g(s.right());
}

// ---- Self-referential contexts -------------------------------------------

namespace detail {
// Raises the deferred value's own self-dependency error, by forcing a
// deferred value from inside its own computation.
[[noreturn]] void selfDependency();

// A deferred value whose computation receives a stand-in for the value
// itself: demanding the stand-in while the computation runs raises the
// deferred value's self-dependency error; once the computation has
// returned, the stand-in gives its result. The stand-in refers to a result
// cell, not to the deferred value, so no cycle of handles is formed and
// nothing is kept alive by a value that is never demanded.
template <class A, class Body>
Lazy<A> selfLazy(Body body) {
    return core::defer([body = std::move(body)]() -> A {
        auto result = std::make_shared<std::optional<A>>();
        Lazy<A> standIn = core::defer([result]() -> A {
            if (!*result) selfDependency();
            return **result;
        });
        A a = body(standIn);
        *result = a;
        return a;
    });
}

// The result type A of a function stored in a context for wfix/kfix.
template <class F>
struct FixResult {
    using type = void;
};
template <class R, class P>
struct FixResult<std::function<R(P)>> {
    using type = R;
};
template <class Given, class F>
using FixResultT = std::conditional_t<std::is_void_v<Given>, typename FixResult<F>::type, Given>;

template <class K, class A>
concept HasWithCurrent = requires(const Apply<K, Lazy<A>>& w, const Lazy<A>& x) {
    { Comonad<K>::withCurrent(w, x) };
};
template <class K, class A, class F>
concept HasCfix = requires(const F& f) {
    { Comonad<K>::template cfix<A>(f) };
};
template <class K, class A, class WF>
concept HasKfix = requires(const WF& w) {
    { ComonadApply<K>::template kfix<A>(w) };
};

// w with the element at its current position replaced by patch(element);
// every other position keeps its element. Used by transformers whose
// positions are functions held inside an inner context: only the function
// at the inner context's current position belongs to the current position.
template <class K, class X, class P>
Apply<K, X> patchCurrent(const Apply<K, X>& w, const P& patch) {
    auto cells = core::Functor<K>::fmap([](const X& v) { return core::now(v); }, w);
    auto patched = Comonad<K>::withCurrent(cells, core::now(X(patch(Comonad<K>::extract(w)))));
    return core::Functor<K>::fmap([](const Lazy<X>& c) { return X(c.force()); }, patched);
}

template <class A, class WF>
Lazy<A> wfixLazy(const WF& w) {
    using K = KindOfT<WF>;
    return selfLazy<A>([w](const Lazy<A>& self) -> A {
        auto ctx = Comonad<K>::extend([](const WF& v) { return wfixLazy<A>(v); }, w);
        if constexpr (HasWithCurrent<K, A>)
            return Comonad<K>::extract(w)(Comonad<K>::withCurrent(ctx, self));
        else
            return Comonad<K>::extract(w)(ctx);
    });
}
}  // namespace detail

// The function at the current position applied to the context whose
// positions are the fixed points at every position (deferred).
template <class A = void, class WF>
auto wfix(const WF& w) {
    using R = detail::FixResultT<A, ArgOf<WF>>;
    static_assert(!std::is_void_v<R>, "wfix: name the result type, wfix<A>(w)");
    static_assert(IsComonad<KindOfT<WF>>, "no Comonad implementation for this type");
    return detail::wfixLazy<R>(w).force();
}

// The context x with x = extend(f, x); f receives the context as deferred
// positions, Apply<K, Lazy<A>>.
template <class K, class A, class F>
Apply<K, A> cfix(const F& f) {
    static_assert(IsComonad<K>, "no Comonad implementation for this tag");
    if constexpr (detail::HasCfix<K, A, F>)
        return Comonad<K>::template cfix<A>(f);
    else
        detail::selfDependency();
}

// The context u with u = apW(w, duplicate(u)); the functions of w receive
// u re-focused, as deferred positions.
template <class A = void, class WF>
auto kfix(const WF& w) -> Apply<KindOfT<WF>, detail::FixResultT<A, ArgOf<WF>>> {
    using K = KindOfT<WF>;
    using R = detail::FixResultT<A, ArgOf<WF>>;
    static_assert(!std::is_void_v<R>, "kfix: name the result type, kfix<A>(w)");
    static_assert(IsComonadApply<K>, "no ComonadApply implementation for this type");
    if constexpr (detail::HasKfix<K, R, WF>)
        return ComonadApply<K>::template kfix<R>(w);
    else
        detail::selfDependency();
}

// ---- Implementations: pairs, Arg, functions ------------------------------

// (e, a): the first component is an environment that every position shares.
template <class E>
struct Comonad<core::PairK<E>> : ComonadDefaults<core::PairK<E>, Comonad<core::PairK<E>>> {
    template <class A>
    static const A& extract(const std::pair<E, A>& w) {
        return w.second;
    }
    template <class A>
    static std::pair<E, std::pair<E, A>> duplicate(const std::pair<E, A>& w) {
        return {w.first, w};
    }
    template <class F, class A>
    static auto extend(F&& k, const std::pair<E, A>& w) {
        return std::pair<E, Result<F&, const std::pair<E, A>&>>(w.first, k(w));
    }
    template <class A>
    static std::pair<E, Lazy<A>> withCurrent(const std::pair<E, Lazy<A>>& w, const Lazy<A>& x) {
        return {w.first, x};
    }
};
// The environments are combined, the first argument's on the left.
template <class E>
    requires core::IsSemigroup<E>
struct ComonadApply<core::PairK<E>> : ComonadApplyDefaults<core::PairK<E>, ComonadApply<core::PairK<E>>> {
    template <class G, class A>
    static auto ap(const std::pair<E, G>& fs, const std::pair<E, A>& as) {
        return std::pair<E, Result<const G&, const A&>>(core::Semigroup<E>::combine(fs.first, as.first),
                                                        fs.second(as.second));
    }
    template <class A, class B>
    static std::pair<E, B> apRight(const std::pair<E, A>& a, const std::pair<E, B>& b) {
        return {core::Semigroup<E>::combine(a.first, b.first), b.second};
    }
    template <class A, class B>
    static std::pair<E, A> apLeft(const std::pair<E, A>& a, const std::pair<E, B>& b) {
        return {core::Semigroup<E>::combine(a.first, b.first), a.second};
    }
};

template <class E>
struct Comonad<core::ArgK<E>> : ComonadDefaults<core::ArgK<E>, Comonad<core::ArgK<E>>> {
    template <class A>
    static const A& extract(const core::Arg<E, A>& w) {
        return w.value;
    }
    template <class F, class A>
    static auto extend(F&& k, const core::Arg<E, A>& w) {
        return core::Arg<E, Result<F&, const core::Arg<E, A>&>>{w.key, k(w)};
    }
    template <class A>
    static core::Arg<E, Lazy<A>> withCurrent(const core::Arg<E, Lazy<A>>& w, const Lazy<A>& x) {
        return {w.key, x};
    }
};

// Functions from a Monoid M: the current position is the empty element, and
// re-focusing on m prefixes every argument with m.
template <class M>
    requires core::IsMonoid<M>
struct Comonad<core::FunctionK<M>> : ComonadDefaults<core::FunctionK<M>, Comonad<core::FunctionK<M>>> {
    template <class A>
    static A extract(const core::Fn<M, A>& f) {
        return f(core::Monoid<M>::mempty());
    }
    template <class F, class A>
    static auto extend(F&& k, const core::Fn<M, A>& f) {
        using B = Result<const std::decay_t<F>&, const core::Fn<M, A>&>;
        return core::Fn<M, B>([k = std::decay_t<F>(std::forward<F>(k)), f](M m) {
            return k(core::Fn<M, A>([f, m](M m2) { return f(core::Semigroup<M>::combine(m, m2)); }));
        });
    }
    template <class A>
        requires std::equality_comparable<M>
    static core::Fn<M, Lazy<A>> withCurrent(const core::Fn<M, Lazy<A>>& w, const Lazy<A>& x) {
        return [w, x](M m) { return m == core::Monoid<M>::mempty() ? x : w(std::move(m)); };
    }
    // x(m) = f(m2 -> x(m <> m2)): the kfix of the function that is f at
    // every trace.
    template <class A, class F>
    static core::Fn<M, A> cfix(const F& f) {
        using G = std::function<A(const core::Fn<M, Lazy<A>>&)>;
        return ComonadApply<core::FunctionK<M>>::template kfix<A>(core::Fn<M, G>([g = G(f)](const M&) { return g; }));
    }
};
template <class M>
    requires core::IsMonoid<M>
struct ComonadApply<core::FunctionK<M>> : ComonadApplyDefaults<core::FunctionK<M>, ComonadApply<core::FunctionK<M>>> {
    template <class G, class A>
    static auto ap(const core::Fn<M, G>& fs, const core::Fn<M, A>& as) {
        using B = Result<const G&, A>;
        return core::Fn<M, B>([fs, as](M m) { return fs(m)(as(m)); });
    }
    template <class A, class B>
    static core::Fn<M, B> apRight(const core::Fn<M, A>&, const core::Fn<M, B>& b) {
        return b;
    }
    template <class A, class B>
    static core::Fn<M, A> apLeft(const core::Fn<M, A>& a, const core::Fn<M, B>&) {
        return a;
    }
    // u(m) = w(m)(m2 -> u(m <> m2)).
    template <class A, class G>
    static core::Fn<M, A> kfix(const core::Fn<M, G>& w) {
        auto u = std::make_shared<std::function<A(M)>>();
        std::weak_ptr<std::function<A(M)>> weak = u;
        *u = [w, weak](M m) -> A {
            auto self = weak.lock();
            return detail::selfLazy<A>([w, self, m](const Lazy<A>& me) -> A {
                       core::Fn<M, Lazy<A>> ctx = [self, m, me](M m2) {
                           if constexpr (std::equality_comparable<M>)
                               if (m2 == core::Monoid<M>::mempty()) return me;
                           M at = core::Semigroup<M>::combine(m, m2);
                           return core::defer([self, at] { return (*self)(at); });
                       };
                       return w(m)(ctx);
                   })
                .force();
        };
        return [u](M m) { return (*u)(std::move(m)); };
    }
};

// ---- Identity, Tagged, IdentityT -----------------------------------------

template <>
struct Comonad<core::IdentityK> : ComonadDefaults<core::IdentityK, Comonad<core::IdentityK>> {
    template <class A>
    static const A& extract(const core::Identity<A>& w) {
        return w.value;
    }
    template <class F, class A>
    static auto extend(F&& k, const core::Identity<A>& w) {
        return core::Identity<Result<F&, const core::Identity<A>&>>{k(w)};
    }
    template <class A>
    static core::Identity<Lazy<A>> withCurrent(const core::Identity<Lazy<A>>&, const Lazy<A>& x) {
        return {x};
    }
    template <class A, class F>
    static core::Identity<A> cfix(const F& f) {
        Lazy<A> self = detail::selfLazy<A>([f](const Lazy<A>& me) -> A { return f(core::Identity<Lazy<A>>{me}); });
        return {self.force()};
    }
};
template <>
struct ComonadApply<core::IdentityK> : ComonadApplyDefaults<core::IdentityK, ComonadApply<core::IdentityK>> {
    template <class G, class A>
    static auto ap(const core::Identity<G>& f, const core::Identity<A>& a) {
        return core::Identity<Result<const G&, const A&>>{f.value(a.value)};
    }
    template <class A, class B>
    static core::Identity<B> apRight(const core::Identity<A>&, const core::Identity<B>& b) {
        return b;
    }
    template <class A, class B>
    static core::Identity<A> apLeft(const core::Identity<A>& a, const core::Identity<B>&) {
        return a;
    }
    template <class A, class G>
    static core::Identity<A> kfix(const core::Identity<G>& w) {
        return Comonad<core::IdentityK>::cfix<A>(w.value);
    }
};

template <class S>
struct Comonad<core::TaggedK<S>> : ComonadDefaults<core::TaggedK<S>, Comonad<core::TaggedK<S>>> {
    template <class A>
    static const A& extract(const core::Tagged<S, A>& w) {
        return w.value;
    }
    template <class F, class A>
    static auto extend(F&& k, const core::Tagged<S, A>& w) {
        return core::Tagged<S, Result<F&, const core::Tagged<S, A>&>>{k(w)};
    }
    template <class A>
    static core::Tagged<S, Lazy<A>> withCurrent(const core::Tagged<S, Lazy<A>>&, const Lazy<A>& x) {
        return {x};
    }
    template <class A, class F>
    static core::Tagged<S, A> cfix(const F& f) {
        Lazy<A> self = detail::selfLazy<A>([f](const Lazy<A>& me) -> A { return f(core::Tagged<S, Lazy<A>>{me}); });
        return {self.force()};
    }
};

template <class M>
    requires IsComonad<M>
struct Comonad<core::IdentityTK<M>> : ComonadDefaults<core::IdentityTK<M>, Comonad<core::IdentityTK<M>>> {
    template <class A>
    static decltype(auto) extract(const core::IdentityT<M, A>& w) {
        return Comonad<M>::extract(w.value);
    }
    template <class F, class A>
    static auto extend(F&& k, const core::IdentityT<M, A>& w) {
        auto r = Comonad<M>::extend(
            [k = std::decay_t<F>(std::forward<F>(k))](const Apply<M, A>& v) { return k(core::IdentityT<M, A>{v}); },
            w.value);
        return core::IdentityT<M, ArgOf<decltype(r)>>{std::move(r)};
    }
    template <class A>
        requires detail::HasWithCurrent<M, A>
    static core::IdentityT<M, Lazy<A>> withCurrent(const core::IdentityT<M, Lazy<A>>& w, const Lazy<A>& x) {
        return {Comonad<M>::withCurrent(w.value, x)};
    }
    template <class A, class F>
    static core::IdentityT<M, A> cfix(const F& f) {
        return {comonad::cfix<M, A>([f](const Apply<M, Lazy<A>>& c) { return f(core::IdentityT<M, Lazy<A>>{c}); })};
    }
};
template <class M>
    requires IsComonadApply<M>
struct ComonadApply<core::IdentityTK<M>>
    : ComonadApplyDefaults<core::IdentityTK<M>, ComonadApply<core::IdentityTK<M>>> {
    template <class G, class A>
    static auto ap(const core::IdentityT<M, G>& fs, const core::IdentityT<M, A>& as) {
        auto r = ComonadApply<M>::ap(fs.value, as.value);
        return core::IdentityT<M, ArgOf<decltype(r)>>{std::move(r)};
    }
    template <class A, class G>
    static core::IdentityT<M, A> kfix(const core::IdentityT<M, G>& w) {
        auto inner = core::fmap(
            [](const G& g) {
                return std::function<A(const Apply<M, Lazy<A>>&)>(
                    [g](const Apply<M, Lazy<A>>& c) { return g(core::IdentityT<M, Lazy<A>>{c}); });
            },
            w.value);
        return {comonad::kfix<A>(inner)};
    }
};

// ---- NonEmpty --------------------------------------------------------------

namespace detail {
// The positions after the first of extend(k, x :| xs): k applied to each
// suffix, produced on demand.
template <class B, class A, class F>
core::List<B> extendSuffixes(std::shared_ptr<const F> k, core::List<A> xs) {
    using LB = core::List<B>;
    // The function is released once its cell is computed, so the handles it
    // holds move on to the next cell instead of being copied.
    return LB::lazyStep([k = std::move(k), xs = std::move(xs)]() mutable -> typename LB::Step {
        core::List<A> cur = std::move(xs);
        const auto& st = cur.step();
        if (!st) return std::nullopt;
        B b = (*k)(core::NonEmpty<A>(st->head, st->tail));
        return typename LB::Cons{std::move(b), extendSuffixes<B>(std::move(k), st->tail)};
    });
}
// A list whose spine is its own spine: demanding it raises the
// self-dependency error.
template <class A>
core::List<A> selfDependentList() {
    return core::List<A>::lazy([]() -> core::List<A> { selfDependency(); });
}
}  // namespace detail

// The current position is the head; re-focusing on position i gives the
// suffix that starts there.
template <>
struct Comonad<core::NonEmptyK> : ComonadDefaults<core::NonEmptyK, Comonad<core::NonEmptyK>> {
    template <class A>
    static const A& extract(const core::NonEmpty<A>& w) {
        return w.head;
    }
    template <class F, class A>
    static auto extend(F&& k, const core::NonEmpty<A>& w) {
        using B = Result<const std::decay_t<F>&, const core::NonEmpty<A>&>;
        auto kp = std::make_shared<const std::decay_t<F>>(std::forward<F>(k));
        B h = (*kp)(w);
        return core::NonEmpty<B>(std::move(h), detail::extendSuffixes<B>(kp, w.tail));
    }
    template <class A>
    static core::NonEmpty<Lazy<A>> withCurrent(const core::NonEmpty<Lazy<A>>& w, const Lazy<A>& x) {
        return {x, w.tail};
    }
    // Only the head is defined: the spine of x = extend(f, x) is its own.
    template <class A, class F>
    static core::NonEmpty<A> cfix(const F& f) {
        Lazy<A> self = detail::selfLazy<A>([f](const Lazy<A>& me) -> A {
            return f(core::NonEmpty<Lazy<A>>(me, detail::selfDependentList<Lazy<A>>()));
        });
        return core::NonEmpty<A>(self.force(), detail::selfDependentList<A>());
    }
};
// Every function applied to every value, functions outermost.
template <>
struct ComonadApply<core::NonEmptyK> : ComonadApplyDefaults<core::NonEmptyK, ComonadApply<core::NonEmptyK>> {
    template <class A, class G>
    static core::NonEmpty<A> kfix(const core::NonEmpty<G>& w) {
        return Comonad<core::NonEmptyK>::cfix<A>(w.head);
    }
};

// ---- Tree ------------------------------------------------------------------

namespace detail {
// extend(k, node): k at the node, and extend over every child when the
// child's cell of the forest is demanded.
template <class B, class A, class F>
core::Tree<B> extendTree(const std::shared_ptr<const F>& k, const core::Tree<A>& t) {
    B label = (*k)(t);
    auto forest = core::Functor<core::ListK>::fmap([k](const core::Tree<A>& c) { return extendTree<B>(k, c); }, t.subForest);
    return core::Tree<B>(std::move(label), std::move(forest));
}
}  // namespace detail

// The current position is the root; re-focusing on a node gives the
// subtree rooted there.
template <>
struct Comonad<core::TreeK> : ComonadDefaults<core::TreeK, Comonad<core::TreeK>> {
    template <class A>
    static const A& extract(const core::Tree<A>& w) {
        return w.rootLabel;
    }
    // A tree of the same shape whose every node holds the subtree rooted at
    // that node; children are produced when demanded.
    template <class A>
    static core::Tree<core::Tree<A>> duplicate(const core::Tree<A>& w) {
        return extend([](const core::Tree<A>& v) { return v; }, w);
    }
    // map k over duplicate(w), one pass.
    template <class F, class A>
    static auto extend(F&& k, const core::Tree<A>& w) {
        using B = Result<const std::decay_t<F>&, const core::Tree<A>&>;
        return detail::extendTree<B>(std::make_shared<const std::decay_t<F>>(std::forward<F>(k)), w);
    }
    template <class A>
    static core::Tree<Lazy<A>> withCurrent(const core::Tree<Lazy<A>>& w, const Lazy<A>& x) {
        return core::Tree<Lazy<A>>(x, w.subForest);
    }
};
// The tree's own Applicative: <*> grafts, *> and <* are its apRight and
// apLeft.
template <>
struct ComonadApply<core::TreeK> : ComonadApplyDefaults<core::TreeK, ComonadApply<core::TreeK>> {
    template <class A, class B>
    static auto apRight(const core::Tree<A>& a, const core::Tree<B>& b) {
        return core::Applicative<core::TreeK>::apRight(a, b);
    }
    template <class A, class B>
    static auto apLeft(const core::Tree<A>& a, const core::Tree<B>& b) {
        return core::Applicative<core::TreeK>::apLeft(a, b);
    }
};

// ---- Sum -------------------------------------------------------------------

template <class F, class G>
    requires IsComonad<F> && IsComonad<G>
struct Comonad<core::SumK<F, G>> : ComonadDefaults<core::SumK<F, G>, Comonad<core::SumK<F, G>>> {
    template <class A>
    static A extract(const core::Sum<F, G, A>& w) {
        if (w.isInL()) return Comonad<F>::extract(w.left());
        return Comonad<G>::extract(w.right());
    }
    template <class Fn, class A>
    static auto extend(Fn&& k, const core::Sum<F, G, A>& w) {
        using W = core::Sum<F, G, A>;
        using B = Result<const std::decay_t<Fn>&, const W&>;
        using V = std::variant<Apply<F, B>, Apply<G, B>>;
        using VA = std::variant<Apply<F, A>, Apply<G, A>>;
        auto kc = std::decay_t<Fn>(std::forward<Fn>(k));
        return comonad::coproduct(
            [&kc](const Apply<F, A>& l) {
                return core::Sum<F, G, B>{V(std::in_place_index<0>, Comonad<F>::extend(
                                                                        [kc](const Apply<F, A>& v) {
                                                                            return kc(W{VA(std::in_place_index<0>, v)});
                                                                        },
                                                                        l))};
            },
            [&kc](const Apply<G, A>& r) {
                return core::Sum<F, G, B>{V(std::in_place_index<1>, Comonad<G>::extend(
                                                                        [kc](const Apply<G, A>& v) {
                                                                            return kc(W{VA(std::in_place_index<1>, v)});
                                                                        },
                                                                        r))};
            },
            w);
    }
    // The current position of whichever alternative is present.
    template <class A>
        requires detail::HasWithCurrent<F, A> && detail::HasWithCurrent<G, A>
    static core::Sum<F, G, Lazy<A>> withCurrent(const core::Sum<F, G, Lazy<A>>& w, const Lazy<A>& x) {
        using V = std::variant<Apply<F, Lazy<A>>, Apply<G, Lazy<A>>>;
        if (w.isInL()) return {V(std::in_place_index<0>, Comonad<F>::withCurrent(w.left(), x))};
        return {V(std::in_place_index<1>, Comonad<G>::withCurrent(w.right(), x))};
    }
};

// ---- Cokleisli -------------------------------------------------------------

// A function from the context Apply<W, A> to B, as an arrow.
template <class W, class A, class B>
struct Cokleisli {
    using value_type = B;
    std::function<B(const Apply<W, A>&)> run;
    B operator()(const Apply<W, A>& w) const { return run(w); }
};
// The wrapped function.
template <class W, class A, class B>
const std::function<B(const Apply<W, A>&)>& runCokleisli(const Cokleisli<W, A, B>& c) {
    return c.run;
}
// Wraps a callable taking Apply<W, A>.
template <class W, class A, class F>
auto makeCokleisli(F f) {
    using B = Result<F&, const Apply<W, A>&>;
    return Cokleisli<W, A, B>{std::move(f)};
}

// Tag of Cokleisli as an arrow (apply<A, B>).
template <class W>
struct CokleisliK {
    template <class A, class B>
    using apply = Cokleisli<W, A, B>;
};
// Tag of Cokleisli with a fixed input (apply<B>), for Functor, Applicative
// and Monad.
template <class W, class A>
struct CokleisliFK {
    template <class B>
    using apply = Cokleisli<W, A, B>;
};

}  // namespace comonad

namespace core {
template <class W, class A, class B>
struct KindOf<comonad::Cokleisli<W, A, B>> {
    using kind = comonad::CokleisliFK<W, A>;
    using arg = B;
};
template <class W, class A, class B>
struct KindOf2<comonad::Cokleisli<W, A, B>> {
    using kind = comonad::CokleisliK<W>;
    using first = A;
    using second = B;
};

template <class W>
    requires comonad::IsComonad<W>
struct Category<comonad::CokleisliK<W>> {
    // extract.
    template <class A>
    static comonad::Cokleisli<W, A, A> id() {
        return {[](const Apply<W, A>& w) { return A(comonad::Comonad<W>::extract(w)); }};
    }
    // g after f: w -> g(extend(f, w)).
    template <class B, class C, class A>
    static comonad::Cokleisli<W, A, C> compose(const comonad::Cokleisli<W, B, C>& g,
                                               const comonad::Cokleisli<W, A, B>& f) {
        return {[g, f](const Apply<W, A>& w) { return g.run(comonad::Comonad<W>::extend(f.run, w)); }};
    }
};

template <class W>
    requires comonad::IsComonad<W>
struct Arrow<comonad::CokleisliK<W>> {
    template <class B, class F>
    static auto arr(F&& h) {
        using C = Result<F&, const B&>;
        return comonad::Cokleisli<W, B, C>{[h = std::decay_t<F>(std::forward<F>(h))](const Apply<W, B>& w) {
            return h(comonad::Comonad<W>::extract(w));
        }};
    }
    // f *** g: the first components go to f, the second to g.
    template <class B, class C, class B2, class C2>
    static comonad::Cokleisli<W, std::pair<B, B2>, std::pair<C, C2>> split(const comonad::Cokleisli<W, B, C>& f,
                                                                          const comonad::Cokleisli<W, B2, C2>& g) {
        return {[f, g](const Apply<W, std::pair<B, B2>>& w) {
            return std::pair<C, C2>(f.run(Functor<W>::fmap([](const std::pair<B, B2>& p) { return p.first; }, w)),
                                    g.run(Functor<W>::fmap([](const std::pair<B, B2>& p) { return p.second; }, w)));
        }};
    }
    template <class D, class B, class C>
    static auto first(const comonad::Cokleisli<W, B, C>& f) {
        return split(f, Category<comonad::CokleisliK<W>>::template id<D>());
    }
    template <class D, class B, class C>
    static auto second(const comonad::Cokleisli<W, B, C>& f) {
        return split(Category<comonad::CokleisliK<W>>::template id<D>(), f);
    }
    // f &&& g: (f(w), g(w)).
    template <class B, class C, class C2>
    static comonad::Cokleisli<W, B, std::pair<C, C2>> fanout(const comonad::Cokleisli<W, B, C>& f,
                                                             const comonad::Cokleisli<W, B, C2>& g) {
        return {[f, g](const Apply<W, B>& w) { return std::pair<C, C2>(f.run(w), g.run(w)); }};
    }
};

template <class W>
    requires comonad::IsComonad<W>
struct ArrowApply<comonad::CokleisliK<W>> {
    // With (a, x) = extract(w): a run on the second components of w.
    template <class B, class C>
    static comonad::Cokleisli<W, std::pair<comonad::Cokleisli<W, B, C>, B>, C> app() {
        using P = std::pair<comonad::Cokleisli<W, B, C>, B>;
        return {[](const Apply<W, P>& w) {
            const P& p = comonad::Comonad<W>::extract(w);
            return p.first.run(Functor<W>::fmap([](const P& q) { return q.second; }, w));
        }};
    }
};

template <class W>
    requires comonad::IsComonad<W>
struct ArrowChoice<comonad::CokleisliK<W>> {
    using Cat = Category<comonad::CokleisliK<W>>;
    using Arr = Arrow<comonad::CokleisliK<W>>;
    // On Left b: f applied to w with every position replaced by b.
    template <class D, class B, class C>
    static comonad::Cokleisli<W, Either<B, D>, Either<C, D>> left(const comonad::Cokleisli<W, B, C>& f) {
        return {[f](const Apply<W, Either<B, D>>& w) {
            const Either<B, D>& e = comonad::Comonad<W>::extract(w);
            if (e.isLeft()) return Either<C, D>::left(f.run(Functor<W>::replace(e.unsafeLeft(), w)));
            return Either<C, D>::right(e.unsafeRight());
        }};
    }
    template <class X, class Y>
    static auto mirror() {
        return Arr::template arr<Either<X, Y>>([](const Either<X, Y>& e) {
            return e.isLeft() ? Either<Y, X>::right(e.unsafeLeft()) : Either<Y, X>::left(e.unsafeRight());
        });
    }
    // f +++ g: left(f), swap the sides, left(g), swap back.
    template <class B, class C, class B2, class C2>
    static comonad::Cokleisli<W, Either<B, B2>, Either<C, C2>> splitChoice(const comonad::Cokleisli<W, B, C>& f,
                                                                           const comonad::Cokleisli<W, B2, C2>& g) {
        auto a = left<B2>(f);                       // Either<B, B2> -> Either<C, B2>
        auto b = Cat::compose(mirror<C, B2>(), a);  // -> Either<B2, C>
        auto c = Cat::compose(left<C>(g), b);       // -> Either<C2, C>
        return Cat::compose(mirror<C2, C>(), c);    // -> Either<C, C2>
    }
    template <class D, class B, class C>
    static auto right(const comonad::Cokleisli<W, B, C>& f) {
        return splitChoice(Cat::template id<D>(), f);
    }
    // f ||| g: f +++ g, then the value out of whichever side holds it.
    template <class B, class D, class C>
    static comonad::Cokleisli<W, Either<B, C>, D> fanin(const comonad::Cokleisli<W, B, D>& f,
                                                        const comonad::Cokleisli<W, C, D>& g) {
        auto untag = Arr::template arr<Either<D, D>>(
            [](const Either<D, D>& e) { return e.isLeft() ? e.unsafeLeft() : e.unsafeRight(); });
        return Cat::compose(untag, splitChoice(f, g));
    }
};

// loop(f): f receives (b, d) with the fed-back d deferred (as core::loop
// does for plain functions) and returns (c, d'). The d at each position is
// the d' that f produces there, through wfix.
template <class W>
    requires comonad::IsComonadApply<W>
struct ArrowLoop<comonad::CokleisliK<W>> {
    template <class B, class C, class D>
    static comonad::Cokleisli<W, B, C> loop(const comonad::Cokleisli<W, std::pair<B, Lazy<D>>, std::pair<C, Lazy<D>>>& f) {
        using R = std::pair<C, Lazy<D>>;
        using Ctx = Apply<W, Lazy<R>>;
        using Step = std::function<R(const Ctx&)>;
        return {[f](const Apply<W, B>& w) -> C {
            auto steps = comonad::Comonad<W>::extend(
                [f](const Apply<W, B>& v) {
                    return Step([f, v](const Ctx& u) {
                        auto pairs = Functor<W>::fmap([](const B& b) { return [b](const Lazy<D>& d) { return std::pair<B, Lazy<D>>(b, d); }; }, v);
                        auto ds = Functor<W>::fmap(
                            [](const Lazy<R>& r) { return core::defer([r] { return r.force().second.force(); }); }, u);
                        return f.run(comonad::ComonadApply<W>::ap(pairs, ds));
                    });
                },
                w);
            return comonad::wfix<R>(steps).first;
        }};
    }
};

template <class W, class A>
struct Functor<comonad::CokleisliFK<W, A>> : FunctorDefaults<comonad::CokleisliFK<W, A>, Functor<comonad::CokleisliFK<W, A>>> {
    template <class F, class B>
    static auto fmap(F&& h, const comonad::Cokleisli<W, A, B>& k) {
        using C = Result<const std::decay_t<F>&, const B&>;
        return comonad::Cokleisli<W, A, C>{
            [h = std::decay_t<F>(std::forward<F>(h)), k](const Apply<W, A>& w) { return h(k.run(w)); }};
    }
};
template <class W, class A>
struct Applicative<comonad::CokleisliFK<W, A>>
    : ApplicativeDefaults<comonad::CokleisliFK<W, A>, Applicative<comonad::CokleisliFK<W, A>>> {
    template <class X>
    static auto pure(X&& x) {
        using B = std::decay_t<X>;
        return comonad::Cokleisli<W, A, B>{[x = B(std::forward<X>(x))](const Apply<W, A>&) { return x; }};
    }
    template <class G, class B>
    static auto ap(const comonad::Cokleisli<W, A, G>& f, const comonad::Cokleisli<W, A, B>& a) {
        using C = Result<const G&, const B&>;
        return comonad::Cokleisli<W, A, C>{[f, a](const Apply<W, A>& w) { return f.run(w)(a.run(w)); }};
    }
    template <class F, class B, class B2>
    static auto liftA2(F&& h, const comonad::Cokleisli<W, A, B>& f, const comonad::Cokleisli<W, A, B2>& g) {
        using C = Result<const std::decay_t<F>&, const B&, const B2&>;
        return comonad::Cokleisli<W, A, C>{
            [h = std::decay_t<F>(std::forward<F>(h)), f, g](const Apply<W, A>& w) { return h(f.run(w), g.run(w)); }};
    }
    template <class B, class B2>
    static comonad::Cokleisli<W, A, B2> apRight(const comonad::Cokleisli<W, A, B>&, const comonad::Cokleisli<W, A, B2>& b) {
        return b;
    }
    template <class B, class B2>
    static comonad::Cokleisli<W, A, B> apLeft(const comonad::Cokleisli<W, A, B>& a, const comonad::Cokleisli<W, A, B2>&) {
        return a;
    }
};
template <class W, class A>
struct Monad<comonad::CokleisliFK<W, A>> : MonadDefaults<comonad::CokleisliFK<W, A>, Monad<comonad::CokleisliFK<W, A>>> {
    // w -> runCokleisli(f(k(w)))(w).
    template <class B, class F>
    static auto bind(const comonad::Cokleisli<W, A, B>& k, F&& f) {
        using MC = Result<const std::decay_t<F>&, const B&>;
        return MC{[k, f = std::decay_t<F>(std::forward<F>(f))](const Apply<W, A>& w) { return f(k.run(w)).run(w); }};
    }
};
}  // namespace core
