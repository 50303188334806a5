#pragma once
// Interfaces over two-parameter types (tags with `apply<A, B>`):
//
//   Bifunctor      bimap(f, g, p), first(f, p), second(g, p)
//   Bifoldable     bifoldMap(f, g, p), bifoldr(f, g, z, p), bifoldl(f, g, z, p),
//                  bifold(p)  -- the first type's elements before the second's
//   Bifoldable1    bifoldMap1(f, g, p), bifold1(p): with a Semigroup only,
//                  for types that always hold an element
//   Bitraversable  bitraverse(f, g, p), bisequenceA(p)
//
// bifoldr's functions receive the rest as a Lazy, as foldr's do.
// Implemented for Either (Left, Right), std::pair, Const and Constant (the
// constant is the first element, the phantom has none) and Tagged (the tag
// has no element).
#include <type_traits>
#include <utility>

#include "Core/Applicative.h"
#include "Core/Foldable.h"
#include "Core/FunctorTypes.h"
#include "Core/Kinds.h"
#include "Core/Semigroup.h"

namespace core {

template <class K2>
struct Bifunctor {
    using NotImplemented = void;
};
template <class K2>
struct Bifoldable {
    using NotImplemented = void;
};
template <class K2>
struct Bifoldable1 {
    using NotImplemented = void;
};
template <class K2>
struct Bitraversable {
    using NotImplemented = void;
};

template <class K2>
concept IsBifunctor = !requires { typename Bifunctor<K2>::NotImplemented; };
template <class K2>
concept IsBifoldable = !requires { typename Bifoldable<K2>::NotImplemented; };
template <class K2>
concept IsBifoldable1 = IsBifoldable<K2> && !requires { typename Bifoldable1<K2>::NotImplemented; };
template <class K2>
concept IsBitraversable =
    IsBifunctor<K2> && IsBifoldable<K2> && !requires { typename Bitraversable<K2>::NotImplemented; };

template <class T>
using FirstOf = typename KindOf2<std::remove_cvref_t<T>>::first;
template <class T>
using SecondOf = typename KindOf2<std::remove_cvref_t<T>>::second;

// Defaults: bimap from first and second, and each of those from bimap.
template <class K2, class Self>
struct BifunctorDefaults {
    template <class F, class G, class P>
    static auto bimap(F&& f, G&& g, const P& p) {
        return Self::first(std::forward<F>(f), Self::second(std::forward<G>(g), p));
    }
    template <class F, class P>
    static auto first(F&& f, const P& p) {
        return Self::bimap(std::forward<F>(f), [](const SecondOf<P>& b) { return b; }, p);
    }
    template <class G, class P>
    static auto second(G&& g, const P& p) {
        return Self::bimap([](const FirstOf<P>& a) { return a; }, std::forward<G>(g), p);
    }
};

// Defaults: everything from bifoldr (bifoldMap in a Monoid, bifoldl as a
// loop over the elements).
template <class K2, class Self>
struct BifoldableDefaults {
    template <class F, class G, class P>
    static auto bifoldMap(F&& f, G&& g, const P& p) {
        using M = Result<F&, const FirstOf<P>&>;
        static_assert(std::is_same_v<M, Result<G&, const SecondOf<P>&>>, "bifoldMap: both functions must give one Monoid");
        return Self::bifoldr([&f](const FirstOf<P>& a, const Lazy<M>& r) { return Semigroup<M>::combine(f(a), r.force()); },
                             [&g](const SecondOf<P>& b, const Lazy<M>& r) { return Semigroup<M>::combine(g(b), r.force()); },
                             now(Monoid<M>::mempty()), p);
    }
    template <class F, class G, class B, class P>
    static B bifoldl(F&& f, G&& g, B z, const P& p) {
        using E = Either<FirstOf<P>, SecondOf<P>>;
        auto elems = Self::bifoldr(
            [](const FirstOf<P>& a, const Lazy<std::vector<E>>& r) {
                std::vector<E> v{E::left(a)};
                const auto& rest = r.force();
                v.insert(v.end(), rest.begin(), rest.end());
                return v;
            },
            [](const SecondOf<P>& b, const Lazy<std::vector<E>>& r) {
                std::vector<E> v{E::right(b)};
                const auto& rest = r.force();
                v.insert(v.end(), rest.begin(), rest.end());
                return v;
            },
            now(std::vector<E>()), p);
        for (const E& e : elems) z = e.isLeft() ? f(std::move(z), e.unsafeLeft()) : g(std::move(z), e.unsafeRight());
        return z;
    }
    template <class P>
    static auto bifold(const P& p) {
        return Self::bifoldMap([](const FirstOf<P>& a) { return a; }, [](const SecondOf<P>& b) { return b; }, p);
    }
};

template <class K2, class Self>
struct Bifoldable1Defaults {
    template <class P>
    static auto bifold1(const P& p) {
        return Self::bifoldMap1([](const FirstOf<P>& a) { return a; }, [](const SecondOf<P>& b) { return b; }, p);
    }
};

template <class K2, class Self>
struct BitraversableDefaults {
    template <class P>
    static auto bisequenceA(const P& p) {
        return Self::bitraverse([](const FirstOf<P>& a) { return a; }, [](const SecondOf<P>& b) { return b; }, p);
    }
};

// ---- Free functions ------------------------------------------------------

#define CORE_BI_DISPATCH(Iface, T, call)                                                            \
    using K2 = detail::Kind2OrNone<T>;                                                              \
    if constexpr (!Is##Iface<K2>)                                                                   \
        static_assert(detail::alwaysFalse<T>, "no " #Iface " implementation for this type");       \
    else                                                                                            \
        return Iface<K2>::call

template <class F, class G, class P>
auto bimap(F&& f, G&& g, const P& p) {
    CORE_BI_DISPATCH(Bifunctor, P, bimap(std::forward<F>(f), std::forward<G>(g), p));
}
// Maps the first element type (of a two-parameter type).
template <class F, class P>
auto first(F&& f, const P& p) {
    CORE_BI_DISPATCH(Bifunctor, P, first(std::forward<F>(f), p));
}
// Maps the second element type (of a two-parameter type).
template <class G, class P>
auto second(G&& g, const P& p) {
    CORE_BI_DISPATCH(Bifunctor, P, second(std::forward<G>(g), p));
}
template <class F, class G, class P>
auto bifoldMap(F&& f, G&& g, const P& p) {
    CORE_BI_DISPATCH(Bifoldable, P, bifoldMap(std::forward<F>(f), std::forward<G>(g), p));
}
template <class F, class G, class Z, class P>
auto bifoldr(F&& f, G&& g, Z&& z, const P& p) {
    CORE_BI_DISPATCH(Bifoldable, P, bifoldr(std::forward<F>(f), std::forward<G>(g), detail::asLazy(std::forward<Z>(z)), p));
}
template <class F, class G, class B, class P>
B bifoldl(F&& f, G&& g, B z, const P& p) {
    CORE_BI_DISPATCH(Bifoldable, P, bifoldl(std::forward<F>(f), std::forward<G>(g), std::move(z), p));
}
template <class P>
auto bifold(const P& p) {
    CORE_BI_DISPATCH(Bifoldable, P, bifold(p));
}
template <class F, class G, class P>
auto bifoldMap1(F&& f, G&& g, const P& p) {
    CORE_BI_DISPATCH(Bifoldable1, P, bifoldMap1(std::forward<F>(f), std::forward<G>(g), p));
}
template <class P>
auto bifold1(const P& p) {
    CORE_BI_DISPATCH(Bifoldable1, P, bifold1(p));
}
template <class F, class G, class P>
auto bitraverse(F&& f, G&& g, const P& p) {
    CORE_BI_DISPATCH(Bitraversable, P, bitraverse(std::forward<F>(f), std::forward<G>(g), p));
}
template <class P>
auto bisequenceA(const P& p) {
    CORE_BI_DISPATCH(Bitraversable, P, bisequenceA(p));
}

#undef CORE_BI_DISPATCH

// ---- Either --------------------------------------------------------------

template <>
struct Bifunctor<EitherK2> : BifunctorDefaults<EitherK2, Bifunctor<EitherK2>> {
    template <class F, class G, class A, class B>
    static auto bimap(F&& f, G&& g, const Either<A, B>& p) {
        using E = Either<Result<F&, const A&>, Result<G&, const B&>>;
        return p.isLeft() ? E::left(f(p.unsafeLeft())) : E::right(g(p.unsafeRight()));
    }
    template <class F, class A, class B>
    static auto first(F&& f, const Either<A, B>& p) {
        using E = Either<Result<F&, const A&>, B>;
        return p.isLeft() ? E::left(f(p.unsafeLeft())) : E::right(p.unsafeRight());
    }
    template <class G, class A, class B>
    static auto second(G&& g, const Either<A, B>& p) {
        using E = Either<A, Result<G&, const B&>>;
        return p.isLeft() ? E::left(p.unsafeLeft()) : E::right(g(p.unsafeRight()));
    }
};
template <>
struct Bifoldable<EitherK2> : BifoldableDefaults<EitherK2, Bifoldable<EitherK2>> {
    template <class F, class G, class R, class A, class B>
    static R bifoldr(F&& f, G&& g, Lazy<R> z, const Either<A, B>& p) {
        return p.isLeft() ? f(p.unsafeLeft(), z) : g(p.unsafeRight(), z);
    }
    template <class F, class G, class A, class B>
    static auto bifoldMap(F&& f, G&& g, const Either<A, B>& p) {
        return p.isLeft() ? f(p.unsafeLeft()) : g(p.unsafeRight());
    }
    template <class F, class G, class R, class A, class B>
    static R bifoldl(F&& f, G&& g, R z, const Either<A, B>& p) {
        return p.isLeft() ? f(std::move(z), p.unsafeLeft()) : g(std::move(z), p.unsafeRight());
    }
};
template <>
struct Bifoldable1<EitherK2> : Bifoldable1Defaults<EitherK2, Bifoldable1<EitherK2>> {
    template <class F, class G, class A, class B>
    static auto bifoldMap1(F&& f, G&& g, const Either<A, B>& p) {
        return p.isLeft() ? f(p.unsafeLeft()) : g(p.unsafeRight());
    }
};
template <>
struct Bitraversable<EitherK2> : BitraversableDefaults<EitherK2, Bitraversable<EitherK2>> {
    template <class F, class G, class A, class B>
    static auto bitraverse(F&& f, G&& g, const Either<A, B>& p) {
        using EA = detail::EffectOf<F, A>;
        using EB = detail::EffectOf<G, B>;
        static_assert(std::is_same_v<typename EA::G, typename EB::G>, "bitraverse: both functions must give one applicative");
        using E = Either<typename EA::B, typename EB::B>;
        using App = typename EA::G;
        if (p.isLeft()) return Functor<App>::fmap([](typename EA::B a) { return E::left(std::move(a)); }, f(p.unsafeLeft()));
        return Functor<App>::fmap([](typename EB::B b) { return E::right(std::move(b)); }, g(p.unsafeRight()));
    }
};

// ---- std::pair -----------------------------------------------------------

template <>
struct Bifunctor<PairK2> : BifunctorDefaults<PairK2, Bifunctor<PairK2>> {
    template <class F, class G, class A, class B>
    static auto bimap(F&& f, G&& g, const std::pair<A, B>& p) {
        return std::pair<Result<F&, const A&>, Result<G&, const B&>>(f(p.first), g(p.second));
    }
    template <class F, class A, class B>
    static auto first(F&& f, const std::pair<A, B>& p) {
        return std::pair<Result<F&, const A&>, B>(f(p.first), p.second);
    }
    template <class G, class A, class B>
    static auto second(G&& g, const std::pair<A, B>& p) {
        return std::pair<A, Result<G&, const B&>>(p.first, g(p.second));
    }
};
template <>
struct Bifoldable<PairK2> : BifoldableDefaults<PairK2, Bifoldable<PairK2>> {
    template <class F, class G, class R, class A, class B>
    static R bifoldr(F&& f, G&& g, Lazy<R> z, const std::pair<A, B>& p) {
        auto gc = std::decay_t<G>(std::forward<G>(g));
        return f(p.first, defer([gc, b = p.second, z] { return gc(b, z); }));
    }
    template <class F, class G, class A, class B>
    static auto bifoldMap(F&& f, G&& g, const std::pair<A, B>& p) {
        using M = Result<F&, const A&>;
        return Semigroup<M>::combine(f(p.first), g(p.second));
    }
    template <class F, class G, class R, class A, class B>
    static R bifoldl(F&& f, G&& g, R z, const std::pair<A, B>& p) {
        return g(f(std::move(z), p.first), p.second);
    }
};
template <>
struct Bifoldable1<PairK2> : Bifoldable1Defaults<PairK2, Bifoldable1<PairK2>> {
    template <class F, class G, class A, class B>
    static auto bifoldMap1(F&& f, G&& g, const std::pair<A, B>& p) {
        using M = Result<F&, const A&>;
        return Semigroup<M>::combine(f(p.first), g(p.second));
    }
};
template <>
struct Bitraversable<PairK2> : BitraversableDefaults<PairK2, Bitraversable<PairK2>> {
    template <class F, class G, class A, class B>
    static auto bitraverse(F&& f, G&& g, const std::pair<A, B>& p) {
        using EA = detail::EffectOf<F, A>;
        using EB = detail::EffectOf<G, B>;
        static_assert(std::is_same_v<typename EA::G, typename EB::G>, "bitraverse: both functions must give one applicative");
        using C = typename EA::B;
        using D = typename EB::B;
        return Applicative<typename EA::G>::liftA2([](C c, D d) { return std::pair<C, D>(std::move(c), std::move(d)); },
                                                   f(p.first), g(p.second));
    }
};

// ---- Const and Constant --------------------------------------------------

namespace detail {
template <template <class, class> class T>
struct ConstBi {
    template <class F, class G, class C, class A>
    static auto bimap(F&& f, G&&, const T<C, A>& p) {
        return T<Result<F&, const C&>, Result<G&, const A&>>{f(p.value)};
    }
    template <class F, class C, class A>
    static auto first(F&& f, const T<C, A>& p) {
        return T<Result<F&, const C&>, A>{f(p.value)};
    }
    template <class G, class C, class A>
    static auto second(G&&, const T<C, A>& p) {
        return T<C, Result<G&, const A&>>{p.value};
    }
    template <class F, class G, class R, class C, class A>
    static R bifoldr(F&& f, G&&, Lazy<R> z, const T<C, A>& p) {
        return f(p.value, z);
    }
    template <class F, class G, class R, class C, class A>
    static R bifoldl(F&& f, G&&, R z, const T<C, A>& p) {
        return f(std::move(z), p.value);
    }
    template <class F, class G, class C, class A>
    static auto bifoldMap(F&& f, G&&, const T<C, A>& p) {
        return f(p.value);
    }
    template <class F, class G, class C, class A>
    static auto bifoldMap1(F&& f, G&&, const T<C, A>& p) {
        return f(p.value);
    }
    template <class F, class G, class C, class A>
    static auto bitraverse(F&& f, G&&, const T<C, A>& p) {
        using EC = EffectOf<F, C>;
        using D = Result<G&, const A&>;
        using B = ArgOf<D>;
        return Functor<typename EC::G>::fmap([](typename EC::B c) { return T<typename EC::B, B>{std::move(c)}; },
                                            f(p.value));
    }
};
}  // namespace detail

template <>
struct Bifunctor<ConstK2> : detail::ConstBi<Const> {};
template <>
struct Bifoldable<ConstK2> : BifoldableDefaults<ConstK2, Bifoldable<ConstK2>>, detail::ConstBi<Const> {
    using detail::ConstBi<Const>::bifoldr;
    using detail::ConstBi<Const>::bifoldl;
    using detail::ConstBi<Const>::bifoldMap;
};
template <>
struct Bifoldable1<ConstK2> : Bifoldable1Defaults<ConstK2, Bifoldable1<ConstK2>>, detail::ConstBi<Const> {
    using detail::ConstBi<Const>::bifoldMap1;
};
template <>
struct Bitraversable<ConstK2> : BitraversableDefaults<ConstK2, Bitraversable<ConstK2>>, detail::ConstBi<Const> {
    using detail::ConstBi<Const>::bitraverse;
};
template <>
struct Bifunctor<ConstantK2> : detail::ConstBi<Constant> {};
template <>
struct Bifoldable<ConstantK2> : BifoldableDefaults<ConstantK2, Bifoldable<ConstantK2>>, detail::ConstBi<Constant> {
    using detail::ConstBi<Constant>::bifoldr;
    using detail::ConstBi<Constant>::bifoldl;
    using detail::ConstBi<Constant>::bifoldMap;
};
template <>
struct Bifoldable1<ConstantK2> : Bifoldable1Defaults<ConstantK2, Bifoldable1<ConstantK2>>, detail::ConstBi<Constant> {
    using detail::ConstBi<Constant>::bifoldMap1;
};
template <>
struct Bitraversable<ConstantK2> : BitraversableDefaults<ConstantK2, Bitraversable<ConstantK2>>,
                                   detail::ConstBi<Constant> {
    using detail::ConstBi<Constant>::bitraverse;
};

// ---- Tagged --------------------------------------------------------------

template <>
struct Bifunctor<TaggedK2> {
    template <class F, class G, class S, class B>
    static auto bimap(F&&, G&& g, const Tagged<S, B>& p) {
        using T = Result<F&, const S&>;
        return Tagged<T, Result<G&, const B&>>{g(p.value)};
    }
    template <class F, class S, class B>
    static auto first(F&&, const Tagged<S, B>& p) {
        return Tagged<Result<F&, const S&>, B>{p.value};
    }
    template <class G, class S, class B>
    static auto second(G&& g, const Tagged<S, B>& p) {
        return Tagged<S, Result<G&, const B&>>{g(p.value)};
    }
};
template <>
struct Bifoldable<TaggedK2> : BifoldableDefaults<TaggedK2, Bifoldable<TaggedK2>> {
    template <class F, class G, class R, class S, class B>
    static R bifoldr(F&&, G&& g, Lazy<R> z, const Tagged<S, B>& p) {
        return g(p.value, z);
    }
    template <class F, class G, class R, class S, class B>
    static R bifoldl(F&&, G&& g, R z, const Tagged<S, B>& p) {
        return g(std::move(z), p.value);
    }
    template <class F, class G, class S, class B>
    static auto bifoldMap(F&&, G&& g, const Tagged<S, B>& p) {
        return g(p.value);
    }
};
template <>
struct Bitraversable<TaggedK2> : BitraversableDefaults<TaggedK2, Bitraversable<TaggedK2>> {
    template <class F, class G, class S, class B>
    static auto bitraverse(F&&, G&& g, const Tagged<S, B>& p) {
        using EB = detail::EffectOf<G, B>;
        using T = Result<F&, const S&>;
        return Functor<typename EB::G>::fmap([](typename EB::B b) { return Tagged<T, typename EB::B>{std::move(b)}; },
                                            g(p.value));
    }
};

}  // namespace core
