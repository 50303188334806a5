#pragma once
// EnvT<E, W, A>: the context W<A> together with one environment value E,
// readable at every position.
//
//   comonad::EnvT<E, W, A>{e, inner}    fields: environment, inner context
//   comonad::Env<E, A>                  EnvT over core::Identity
//   comonad::env(e, a), runEnv(w)       build / take apart (pair (e, a))
//   comonad::runEnvT(w)                 the pair (e, inner context)
//   comonad::ask(w), asks(f, w)         the environment, f of it
//   comonad::local(f, w)                the environment replaced by f(e)
//   comonad::lowerEnvT(w)               the inner context
//
// Implements Functor, Foldable and Traversable (the inner context's
// elements; the environment is not an element), Applicative (E a Monoid,
// W an Applicative), Comonad (W a Comonad), ComonadApply (E a Semigroup,
// W a ComonadApply: environments combine, the first argument's on the
// left), ComonadTrans and ComonadHoist. Tag: EnvTK<E, W>.
#include <cstddef>
#include <string_view>
#include <tuple>
#include <utility>

#include "Control/Comonad.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Trans/Class.h"
#include "Core/Foldable.h"
#include "Core/Traversable.h"

namespace comonad {

template <class E, class W, class A>
struct EnvT {
    using value_type = A;
    E env;
    Apply<W, A> inner;
};
template <class E, class W>
struct EnvTK {
    template <class A>
    using apply = EnvT<E, W, A>;
};
template <class E, class A>
using Env = EnvT<E, core::IdentityK, A>;

// The environment e around the value a, over Identity.
template <class E, class A>
Env<std::decay_t<E>, std::decay_t<A>> env(E&& e, A&& a) {
    return {std::forward<E>(e), core::Identity<std::decay_t<A>>{std::forward<A>(a)}};
}
template <class E, class A>
std::pair<E, A> runEnv(const Env<E, A>& w) {
    return {w.env, w.inner.value};
}
template <class E, class W, class A>
std::pair<E, Apply<W, A>> runEnvT(const EnvT<E, W, A>& w) {
    return {w.env, w.inner};
}
template <class E, class W, class A>
const E& ask(const EnvT<E, W, A>& w) {
    return w.env;
}
template <class F, class E, class W, class A>
auto asks(F&& f, const EnvT<E, W, A>& w) {
    return f(w.env);
}
template <class F, class E, class W, class A>
auto local(F&& f, const EnvT<E, W, A>& w) {
    using E2 = Result<F&, const E&>;
    return EnvT<E2, W, A>{f(w.env), w.inner};
}
template <class E, class W, class A>
const Apply<W, A>& lowerEnvT(const EnvT<E, W, A>& w) {
    return w.inner;
}

// Names for generic representations of EnvT: one constructor with the
// environment and then the inner context.
template <class T>
struct GenericInfo;
template <class E, class W, class A>
struct GenericInfo<EnvT<E, W, A>> {
    static constexpr std::string_view datatypeName = "Control.Comonad.Trans.Env.EnvT";
    static constexpr std::string_view constructorName = "EnvT";
    static constexpr std::size_t fieldCount = 2;
    static auto fields(const EnvT<E, W, A>& w) { return std::tie(w.env, w.inner); }
};

template <class E, class W>
    requires IsComonad<W>
struct Comonad<EnvTK<E, W>> : ComonadDefaults<EnvTK<E, W>, Comonad<EnvTK<E, W>>> {
    template <class A>
    static decltype(auto) extract(const EnvT<E, W, A>& w) {
        return Comonad<W>::extract(w.inner);
    }
    template <class F, class A>
    static auto extend(F&& k, const EnvT<E, W, A>& w) {
        auto r = Comonad<W>::extend(
            [k = std::decay_t<F>(std::forward<F>(k)), e = w.env](const Apply<W, A>& v) { return k(EnvT<E, W, A>{e, v}); },
            w.inner);
        return EnvT<E, W, ArgOf<decltype(r)>>{w.env, std::move(r)};
    }
    template <class A>
        requires detail::HasWithCurrent<W, A>
    static EnvT<E, W, Lazy<A>> withCurrent(const EnvT<E, W, Lazy<A>>& w, const Lazy<A>& x) {
        return {w.env, Comonad<W>::withCurrent(w.inner, x)};
    }
};
template <class E, class W>
    requires core::IsSemigroup<E> && IsComonadApply<W>
struct ComonadApply<EnvTK<E, W>> : ComonadApplyDefaults<EnvTK<E, W>, ComonadApply<EnvTK<E, W>>> {
    template <class G, class A>
    static auto ap(const EnvT<E, W, G>& fs, const EnvT<E, W, A>& as) {
        auto r = ComonadApply<W>::ap(fs.inner, as.inner);
        return EnvT<E, W, ArgOf<decltype(r)>>{core::Semigroup<E>::combine(fs.env, as.env), std::move(r)};
    }
};
template <class E, class W>
struct ComonadTrans<EnvTK<E, W>> {
    template <class A>
    static const Apply<W, A>& lower(const EnvT<E, W, A>& w) {
        return w.inner;
    }
};
template <class E, class W>
struct ComonadHoist<EnvTK<E, W>> {
    template <class C, class A>
    static auto cohoist(C&& c, const EnvT<E, W, A>& w) {
        auto v = c(w.inner);
        return EnvT<E, KindOfT<decltype(v)>, A>{w.env, std::move(v)};
    }
};

}  // namespace comonad

namespace core {
template <class E, class W, class A>
struct KindOf<comonad::EnvT<E, W, A>> {
    using kind = comonad::EnvTK<E, W>;
    using arg = A;
};

template <class E, class W>
    requires IsFunctor<W>
struct Functor<comonad::EnvTK<E, W>> : FunctorDefaults<comonad::EnvTK<E, W>, Functor<comonad::EnvTK<E, W>>> {
    template <class F, class A>
    static auto fmap(F&& f, const comonad::EnvT<E, W, A>& w) {
        auto r = Functor<W>::fmap(std::forward<F>(f), w.inner);
        return comonad::EnvT<E, W, ArgOf<decltype(r)>>{w.env, std::move(r)};
    }
};
template <class E, class W>
    requires IsMonoid<E> && IsApplicative<W>
struct Applicative<comonad::EnvTK<E, W>> : ApplicativeDefaults<comonad::EnvTK<E, W>, Applicative<comonad::EnvTK<E, W>>> {
    template <class X>
    static auto pure(X&& x) {
        auto r = Applicative<W>::pure(std::forward<X>(x));
        return comonad::EnvT<E, W, ArgOf<decltype(r)>>{Monoid<E>::mempty(), std::move(r)};
    }
    template <class G, class A>
    static auto ap(const comonad::EnvT<E, W, G>& fs, const comonad::EnvT<E, W, A>& as) {
        auto r = Applicative<W>::ap(fs.inner, as.inner);
        return comonad::EnvT<E, W, ArgOf<decltype(r)>>{Semigroup<E>::combine(fs.env, as.env), std::move(r)};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const comonad::EnvT<E, W, A>& a, const comonad::EnvT<E, W, B>& b) {
        auto r = Applicative<W>::liftA2(std::forward<F>(f), a.inner, b.inner);
        return comonad::EnvT<E, W, ArgOf<decltype(r)>>{Semigroup<E>::combine(a.env, b.env), std::move(r)};
    }
};
// The inner context's folds; the environment is not an element.
template <class E, class W>
    requires IsFoldable<W>
struct Foldable<comonad::EnvTK<E, W>> : FoldableDefaults<comonad::EnvTK<E, W>, Foldable<comonad::EnvTK<E, W>>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::foldr(std::forward<F>(f), std::move(z), w.inner);
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::foldlStrict(std::forward<F>(f), std::move(z), w.inner);
    }
    template <class F, class A>
    static A foldr1(F&& f, const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::foldr1(std::forward<F>(f), w.inner);
    }
    template <class F, class A>
    static A foldl1(F&& f, const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::foldl1(std::forward<F>(f), w.inner);
    }
    template <class A>
    static List<A> toList(const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::toList(w.inner);
    }
    template <class A>
    static bool null(const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::null(w.inner);
    }
    template <class A>
    static Int length(const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::length(w.inner);
    }
    template <class A>
    static A maximum(const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::maximum(w.inner);
    }
    template <class A>
    static A minimum(const comonad::EnvT<E, W, A>& w) {
        return Foldable<W>::minimum(w.inner);
    }
};
// Traverses the inner context; the environment is carried over unchanged.
template <class E, class W>
    requires IsTraversable<W>
struct Traversable<comonad::EnvTK<E, W>> : TraversableDefaults<comonad::EnvTK<E, W>, Traversable<comonad::EnvTK<E, W>>> {
    template <class F, class A>
    static auto traverse(F&& f, const comonad::EnvT<E, W, A>& w) {
        using Eff = detail::EffectOf<F, A>;
        using B = typename Eff::B;
        return Functor<typename Eff::G>::fmap(
            [e = w.env](Apply<W, B> v) { return comonad::EnvT<E, W, B>{e, std::move(v)}; },
            Traversable<W>::traverse(std::forward<F>(f), w.inner));
    }
};
}  // namespace core
