#pragma once
// The functor combinators and their tags, with their Functor, Foldable,
// Traversable, Applicative and Monad implementations (Eq1/Ord1 are in
// Core/Classes.h, Distributive in Core/Distributive.h, Bifunctor and
// friends in Core/Bifunctor.h).
//
//   Identity<A>            {value}            runIdentity     IdentityK
//   Const<C, A>            {value}: a C only  getConst        ConstK<C>
//   Constant<C, A>         the same, a distinct type          ConstantK<C>
//   Proxy<A>               no value                           ProxyK
//   Compose<F, G, A>       {value}: F<G<A>>   getCompose      ComposeK<F, G>
//   Product<F, G, A>       Pair(F<A>, G<A>)                   ProductK<F, G>
//   Sum<F, G, A>           InL(F<A>) or InR(G<A>)             SumK<F, G>
//   IdentityT<M, A>        {value}: M<A>      runIdentityT    IdentityTK<M>
//   ReaderT<R, M, A>       {run}: R -> M<A>   runReaderT      ReaderTK<R, M>
//   Backwards<F, A>        {value}: F<A>, effects run right to left
//                                             forwards        BackwardsK<F>
//   Reverse<F, A>          {value}: F<A>, folded and traversed in reverse
//                                             getReverse      ReverseK<F>
//   Tagged<S, B>           {value}: a B tagged with a phantom S
//                                             untag           TaggedK<S>
//   ZipList<A>             {value}: a List, applied element-wise
//                                             getZipList      ZipListK
//   WrappedMonad<M, A>     {value}: M<A>, its Applicative from its Monad
//                                             unwrapMonad     WrappedMonadK<M>
//
// Const's Applicative needs a Monoid C (it is how traverse becomes
// foldMap); Identity's is how traverse becomes fmap.
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <variant>

#include "Core/Applicative.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Kinds.h"
#include "Core/Monad.h"
#include "Core/Semigroup.h"
#include "Core/Traversable.h"

namespace core {

// ---- Identity ------------------------------------------------------------

template <class A>
struct Identity {
    using value_type = A;
    A value;
    friend bool operator==(const Identity&, const Identity&) = default;
    friend auto operator<=>(const Identity&, const Identity&) = default;
};
template <class A>
Identity(A) -> Identity<A>;
template <class A>
const A& runIdentity(const Identity<A>& x) {
    return x.value;
}
struct IdentityK {
    template <class A>
    using apply = Identity<A>;
};
template <class A>
struct KindOf<Identity<A>> {
    using kind = IdentityK;
    using arg = A;
};

template <>
struct Functor<IdentityK> : FunctorDefaults<IdentityK, Functor<IdentityK>> {
    template <class F, class FA>
    static auto fmap(F&& f, FA&& x) {
        return Identity<Result<F&, decltype((std::forward<FA>(x).value))>>{f(std::forward<FA>(x).value)};
    }
};
template <>
struct Foldable<IdentityK> : FoldableAtMostOne<IdentityK, Foldable<IdentityK>> {
    template <class A>
    static const A* get(const Identity<A>& x) {
        return &x.value;
    }
};
template <>
struct Traversable<IdentityK> : TraversableDefaults<IdentityK, Traversable<IdentityK>> {
    template <class F, class A>
    static auto traverse(F&& f, const Identity<A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([](B b) { return Identity<B>{std::move(b)}; }, f(x.value));
    }
};
template <>
struct Applicative<IdentityK> : ApplicativeDefaults<IdentityK, Applicative<IdentityK>> {
    template <class A>
    static Identity<std::decay_t<A>> pure(A&& x) {
        return {std::forward<A>(x)};
    }
    template <class F, class FA, class FB>
    static auto liftA2(F&& f, FA&& fa, FB&& fb) {
        using C = Result<F&, decltype((std::forward<FA>(fa).value)), decltype((std::forward<FB>(fb).value))>;
        return Identity<C>{f(std::forward<FA>(fa).value, std::forward<FB>(fb).value)};
    }
};
template <>
struct Monad<IdentityK> : MonadDefaults<IdentityK, Monad<IdentityK>> {
    template <class MA, class F>
    static auto bind(MA&& m, F&& f) {
        return f(std::forward<MA>(m).value);
    }
};
template <class A>
    requires IsSemigroup<A>
struct Semigroup<Identity<A>> : SemigroupDefaults<Identity<A>, Semigroup<Identity<A>>> {
    static Identity<A> combine(const Identity<A>& a, const Identity<A>& b) {
        return {Semigroup<A>::combine(a.value, b.value)};
    }
};
template <class A>
    requires IsMonoid<A>
struct Monoid<Identity<A>> : MonoidDefaults<Identity<A>, Monoid<Identity<A>>> {
    static Identity<A> mempty() { return {Monoid<A>::mempty()}; }
};

// Traversing a List in Identity is a lazy map: it works on unbounded lists.
template <>
struct TraverseListIn<IdentityK> {
    static constexpr bool special = true;
    template <class B, class F, class A>
    static Identity<List<B>> run(F&& f, const List<A>& xs) {
        return {Functor<ListK>::fmap([f = std::decay_t<F>(std::forward<F>(f))](const A& x) { return f(x).value; }, xs)};
    }
};

template <>
struct TraverseRangeIn<IdentityK> {
    static constexpr bool special = true;
    template <class B, class F, class It>
    static Identity<std::vector<B>> run(F& f, It first, It last, std::size_t sizeHint) {
        std::vector<B> out;
        out.reserve(sizeHint);
        for (; first != last; ++first) out.push_back(f(*first).value);
        return {std::move(out)};
    }
};

// ---- Const and Constant --------------------------------------------------

template <class C, class A>
struct Const {
    using value_type = A;
    C value;
    friend bool operator==(const Const&, const Const&) = default;
    friend auto operator<=>(const Const&, const Const&) = default;
};
template <class C, class A>
const C& getConst(const Const<C, A>& x) {
    return x.value;
}
template <class C>
struct ConstK {
    template <class A>
    using apply = Const<C, A>;
};
template <class C, class A>
struct KindOf<Const<C, A>> {
    using kind = ConstK<C>;
    using arg = A;
};
struct ConstK2 {
    template <class C, class A>
    using apply = Const<C, A>;
};
template <class C, class A>
struct KindOf2<Const<C, A>> {
    using kind = ConstK2;
    using first = C;
    using second = A;
};

// Like Const, as a distinct type.
template <class C, class A>
struct Constant {
    using value_type = A;
    C value;
    friend bool operator==(const Constant&, const Constant&) = default;
    friend auto operator<=>(const Constant&, const Constant&) = default;
};
template <class C, class A>
const C& getConstant(const Constant<C, A>& x) {
    return x.value;
}
template <class C>
struct ConstantK {
    template <class A>
    using apply = Constant<C, A>;
};
template <class C, class A>
struct KindOf<Constant<C, A>> {
    using kind = ConstantK<C>;
    using arg = A;
};
struct ConstantK2 {
    template <class C, class A>
    using apply = Constant<C, A>;
};
template <class C, class A>
struct KindOf2<Constant<C, A>> {
    using kind = ConstantK2;
    using first = C;
    using second = A;
};

namespace detail {
// The shared implementation of Const and Constant; K is the tag.
template <class K, class C>
struct ConstFunctor : FunctorDefaults<K, ConstFunctor<K, C>> {
    template <class F, class FA>
    static auto fmap(F&&, const FA& x) {
        using B = Result<F&, const ArgOf<FA>&>;
        return Apply<K, B>{x.value};
    }
};
template <class K, class C>
struct ConstFoldable : FoldableAtMostOne<K, ConstFoldable<K, C>> {
    template <class FA>
    static const ArgOf<FA>* get(const FA&) {
        return nullptr;
    }
};
template <class K, class C>
struct ConstTraversable : TraversableDefaults<K, ConstTraversable<K, C>> {
    template <class F, class FA>
    static auto traverse(F&&, const FA& x) {
        using E = EffectOf<F, ArgOf<FA>>;
        return Applicative<typename E::G>::pure(Apply<K, typename E::B>{x.value});
    }
};
template <class K, class C>
struct ConstApplicative : ApplicativeDefaults<K, ConstApplicative<K, C>> {
    template <class A>
    static Apply<K, std::decay_t<A>> pure(A&&) {
        return {Monoid<C>::mempty()};
    }
    template <class F, class FA, class FB>
    static auto liftA2(F&&, const FA& fa, const FB& fb) {
        using R = Result<F&, const ArgOf<FA>&, const ArgOf<FB>&>;
        return Apply<K, R>{Semigroup<C>::combine(fa.value, fb.value)};
    }
};
}  // namespace detail

template <class C>
struct Functor<ConstK<C>> : detail::ConstFunctor<ConstK<C>, C> {};
template <class C>
struct Foldable<ConstK<C>> : detail::ConstFoldable<ConstK<C>, C> {};
template <class C>
struct Traversable<ConstK<C>> : detail::ConstTraversable<ConstK<C>, C> {};
template <class C>
    requires IsMonoid<C>
struct Applicative<ConstK<C>> : detail::ConstApplicative<ConstK<C>, C> {};
template <class C>
struct Functor<ConstantK<C>> : detail::ConstFunctor<ConstantK<C>, C> {};
template <class C>
struct Foldable<ConstantK<C>> : detail::ConstFoldable<ConstantK<C>, C> {};
template <class C>
struct Traversable<ConstantK<C>> : detail::ConstTraversable<ConstantK<C>, C> {};
template <class C>
    requires IsMonoid<C>
struct Applicative<ConstantK<C>> : detail::ConstApplicative<ConstantK<C>, C> {};

template <class C, class A>
    requires IsSemigroup<C>
struct Semigroup<Const<C, A>> : SemigroupDefaults<Const<C, A>, Semigroup<Const<C, A>>> {
    static Const<C, A> combine(const Const<C, A>& a, const Const<C, A>& b) {
        return {Semigroup<C>::combine(a.value, b.value)};
    }
};
template <class C, class A>
    requires IsMonoid<C>
struct Monoid<Const<C, A>> : MonoidDefaults<Const<C, A>, Monoid<Const<C, A>>> {
    static Const<C, A> mempty() { return {Monoid<C>::mempty()}; }
};

// Traversing a List in Const is a foldMap: it stops early for a monoid that
// can (for example Any or First).
template <class M>
struct TraverseListIn<ConstK<M>> {
    static constexpr bool special = true;
    template <class B, class F, class A>
    static Const<M, List<B>> run(F&& f, const List<A>& xs) {
        return {Foldable<ListK>::foldMap([f = std::decay_t<F>(std::forward<F>(f))](const A& x) { return f(x).value; },
                                         xs)};
    }
};

// ---- Proxy ---------------------------------------------------------------

template <class A>
struct Proxy {
    using value_type = A;
    friend bool operator==(const Proxy&, const Proxy&) = default;
    friend auto operator<=>(const Proxy&, const Proxy&) = default;
};
struct ProxyK {
    template <class A>
    using apply = Proxy<A>;
};
template <class A>
struct KindOf<Proxy<A>> {
    using kind = ProxyK;
    using arg = A;
};

template <>
struct Functor<ProxyK> : FunctorDefaults<ProxyK, Functor<ProxyK>> {
    template <class F, class A>
    static auto fmap(F&&, const Proxy<A>&) {
        return Proxy<Result<F&, const A&>>{};
    }
};
template <>
struct Foldable<ProxyK> : FoldableAtMostOne<ProxyK, Foldable<ProxyK>> {
    template <class A>
    static const A* get(const Proxy<A>&) {
        return nullptr;
    }
};
template <>
struct Traversable<ProxyK> : TraversableDefaults<ProxyK, Traversable<ProxyK>> {
    template <class F, class A>
    static auto traverse(F&&, const Proxy<A>&) {
        using E = detail::EffectOf<F, A>;
        return Applicative<typename E::G>::pure(Proxy<typename E::B>{});
    }
};
template <>
struct Applicative<ProxyK> : ApplicativeDefaults<ProxyK, Applicative<ProxyK>> {
    template <class A>
    static Proxy<std::decay_t<A>> pure(A&&) {
        return {};
    }
    template <class F, class A, class B>
    static auto liftA2(F&&, const Proxy<A>&, const Proxy<B>&) {
        return Proxy<Result<F&, const A&, const B&>>{};
    }
};
template <>
struct Monad<ProxyK> : MonadDefaults<ProxyK, Monad<ProxyK>> {
    template <class A, class F>
    static auto bind(const Proxy<A>&, F&&) {
        return Result<F&, const A&>{};
    }
};
template <class A>
struct Semigroup<Proxy<A>> : SemigroupDefaults<Proxy<A>, Semigroup<Proxy<A>>> {
    static Proxy<A> combine(const Proxy<A>&, const Proxy<A>&) { return {}; }
};
template <class A>
struct Monoid<Proxy<A>> : MonoidDefaults<Proxy<A>, Monoid<Proxy<A>>> {
    static Proxy<A> mempty() { return {}; }
};

// ---- Compose -------------------------------------------------------------

template <class F, class G, class A>
struct Compose {
    using value_type = A;
    Apply<F, Apply<G, A>> value;
    friend bool operator==(const Compose&, const Compose&) = default;
    friend auto operator<=>(const Compose&, const Compose&) = default;
};
template <class F, class G, class A>
const Apply<F, Apply<G, A>>& getCompose(const Compose<F, G, A>& x) {
    return x.value;
}
template <class F, class G>
struct ComposeK {
    template <class A>
    using apply = Compose<F, G, A>;
};
template <class F, class G, class A>
struct KindOf<Compose<F, G, A>> {
    using kind = ComposeK<F, G>;
    using arg = A;
};

template <class F, class G>
    requires IsFunctor<F> && IsFunctor<G>
struct Functor<ComposeK<F, G>> : FunctorDefaults<ComposeK<F, G>, Functor<ComposeK<F, G>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Compose<F, G, A>& x) {
        using B = Result<const std::decay_t<Fn>&, const A&>;
        auto inner = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Apply<G, A>& ga) {
            return Functor<G>::fmap(f, ga);
        };
        return Compose<F, G, B>{Functor<F>::fmap(std::move(inner), x.value)};
    }
};
template <class F, class G>
    requires IsFoldable<F> && IsFoldable<G>
struct Foldable<ComposeK<F, G>> : FoldableDefaults<ComposeK<F, G>, Foldable<ComposeK<F, G>>> {
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Compose<F, G, A>& x) {
        auto outer = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Apply<G, A>& ga, const Lazy<B>& rest) {
            return Foldable<G>::foldr(f, rest, ga);
        };
        return Foldable<F>::foldr(std::move(outer), std::move(z), x.value);
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Compose<F, G, A>& x) {
        return Foldable<F>::foldlStrict(
            [&f](B acc, const Apply<G, A>& ga) { return Foldable<G>::foldlStrict(f, std::move(acc), ga); },
            std::move(z), x.value);
    }
};
template <class F, class G>
    requires IsTraversable<F> && IsTraversable<G>
struct Traversable<ComposeK<F, G>> : TraversableDefaults<ComposeK<F, G>, Traversable<ComposeK<F, G>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Compose<F, G, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using B = typename E::B;
        auto inner = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Apply<G, A>& ga) {
            return Traversable<G>::traverse(f, ga);
        };
        return Functor<typename E::G>::fmap([](Apply<F, Apply<G, B>> v) { return Compose<F, G, B>{std::move(v)}; },
                                            Traversable<F>::traverse(inner, x.value));
    }
};
template <class F, class G>
    requires IsApplicative<F> && IsApplicative<G>
struct Applicative<ComposeK<F, G>> : ApplicativeDefaults<ComposeK<F, G>, Applicative<ComposeK<F, G>>> {
    template <class A>
    static auto pure(A&& x) {
        using V = std::decay_t<A>;
        return Compose<F, G, V>{Applicative<F>::pure(Applicative<G>::pure(std::forward<A>(x)))};
    }
    template <class Fn, class A, class B>
    static auto liftA2(Fn&& f, const Compose<F, G, A>& fa, const Compose<F, G, B>& fb) {
        using C = Result<const std::decay_t<Fn>&, const A&, const B&>;
        auto inner = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Apply<G, A>& ga, const Apply<G, B>& gb) {
            return Applicative<G>::liftA2(f, ga, gb);
        };
        return Compose<F, G, C>{Applicative<F>::liftA2(std::move(inner), fa.value, fb.value)};
    }
};

// ---- Product -------------------------------------------------------------

template <class F, class G, class A>
struct Product {
    using value_type = A;
    Apply<F, A> first;
    Apply<G, A> second;
    friend bool operator==(const Product&, const Product&) = default;
    friend auto operator<=>(const Product&, const Product&) = default;
};
template <class F, class G>
struct ProductK {
    template <class A>
    using apply = Product<F, G, A>;
};
template <class F, class G, class A>
struct KindOf<Product<F, G, A>> {
    using kind = ProductK<F, G>;
    using arg = A;
};
// The constructor of Product.
template <class FA, class GA>
auto Pair(FA fa, GA ga) {
    static_assert(std::is_same_v<ArgOf<FA>, ArgOf<GA>>, "Pair: both sides must hold the same element type");
    return Product<KindOfT<FA>, KindOfT<GA>, ArgOf<FA>>{std::move(fa), std::move(ga)};
}

template <class F, class G>
    requires IsFunctor<F> && IsFunctor<G>
struct Functor<ProductK<F, G>> : FunctorDefaults<ProductK<F, G>, Functor<ProductK<F, G>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Product<F, G, A>& x) {
        using B = Result<Fn&, const A&>;
        return Product<F, G, B>{Functor<F>::fmap(f, x.first), Functor<G>::fmap(f, x.second)};
    }
};
template <class F, class G>
    requires IsFoldable<F> && IsFoldable<G>
struct Foldable<ProductK<F, G>> : FoldableDefaults<ProductK<F, G>, Foldable<ProductK<F, G>>> {
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Product<F, G, A>& x) {
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        Lazy<B> right = defer([fc, z, g = x.second] { return Foldable<G>::foldr(fc, z, g); });
        return Foldable<F>::foldr(fc, std::move(right), x.first);
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Product<F, G, A>& x) {
        return Foldable<G>::foldlStrict(f, Foldable<F>::foldlStrict(f, std::move(z), x.first), x.second);
    }
};
template <class F, class G>
    requires IsTraversable<F> && IsTraversable<G>
struct Traversable<ProductK<F, G>> : TraversableDefaults<ProductK<F, G>, Traversable<ProductK<F, G>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Product<F, G, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using B = typename E::B;
        // The first part is traversed first: the caller's function meets the
        // elements in fold order (argument evaluation order is unspecified).
        auto first = Traversable<F>::traverse(f, x.first);
        auto second = Traversable<G>::traverse(f, x.second);
        return Applicative<typename E::G>::liftA2(
            [](Apply<F, B> a, Apply<G, B> b) { return Product<F, G, B>{std::move(a), std::move(b)}; },
            std::move(first), std::move(second));
    }
};
template <class F, class G>
    requires IsApplicative<F> && IsApplicative<G>
struct Applicative<ProductK<F, G>> : ApplicativeDefaults<ProductK<F, G>, Applicative<ProductK<F, G>>> {
    template <class A>
    static auto pure(const A& x) {
        return Product<F, G, A>{Applicative<F>::pure(x), Applicative<G>::pure(x)};
    }
    template <class Fn, class A, class B>
    static auto liftA2(Fn&& f, const Product<F, G, A>& fa, const Product<F, G, B>& fb) {
        using C = Result<Fn&, const A&, const B&>;
        return Product<F, G, C>{Applicative<F>::liftA2(f, fa.first, fb.first),
                                Applicative<G>::liftA2(f, fa.second, fb.second)};
    }
};
template <class F, class G>
    requires IsMonad<F> && IsMonad<G>
struct Monad<ProductK<F, G>> : MonadDefaults<ProductK<F, G>, Monad<ProductK<F, G>>> {
    template <class A, class Fn>
    static auto bind(const Product<F, G, A>& m, Fn&& f) {
        using MB = Result<Fn&, const A&>;
        using B = ArgOf<MB>;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        return Product<F, G, B>{Monad<F>::bind(m.first, [fc](const A& a) { return fc(a).first; }),
                                Monad<G>::bind(m.second, [fc](const A& a) { return fc(a).second; })};
    }
};

// ---- Sum -----------------------------------------------------------------

template <class F, class G, class A>
struct Sum {
    using value_type = A;
    std::variant<Apply<F, A>, Apply<G, A>> value;
    bool isInL() const noexcept { return value.index() == 0; }
    const Apply<F, A>& left() const { return std::get<0>(value); }
    const Apply<G, A>& right() const { return std::get<1>(value); }
    friend bool operator==(const Sum&, const Sum&) = default;
    friend auto operator<=>(const Sum&, const Sum&) = default;
};
template <class F, class G>
struct SumK {
    template <class A>
    using apply = Sum<F, G, A>;
};
template <class F, class G, class A>
struct KindOf<Sum<F, G, A>> {
    using kind = SumK<F, G>;
    using arg = A;
};
// The constructors of Sum; the other side's tag must be named.
template <class G, class FA>
Sum<KindOfT<FA>, G, ArgOf<FA>> InL(FA fa) {
    return {std::variant<FA, Apply<G, ArgOf<FA>>>(std::in_place_index<0>, std::move(fa))};
}
template <class F, class GA>
Sum<F, KindOfT<GA>, ArgOf<GA>> InR(GA ga) {
    return {std::variant<Apply<F, ArgOf<GA>>, GA>(std::in_place_index<1>, std::move(ga))};
}

template <class F, class G>
    requires IsFunctor<F> && IsFunctor<G>
struct Functor<SumK<F, G>> : FunctorDefaults<SumK<F, G>, Functor<SumK<F, G>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Sum<F, G, A>& x) {
        using B = Result<Fn&, const A&>;
        using V = std::variant<Apply<F, B>, Apply<G, B>>;
        if (x.isInL()) return Sum<F, G, B>{V(std::in_place_index<0>, Functor<F>::fmap(f, x.left()))};
        return Sum<F, G, B>{V(std::in_place_index<1>, Functor<G>::fmap(f, x.right()))};
    }
};
template <class F, class G>
    requires IsFoldable<F> && IsFoldable<G>
struct Foldable<SumK<F, G>> : FoldableDefaults<SumK<F, G>, Foldable<SumK<F, G>>> {
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Sum<F, G, A>& x) {
        if (x.isInL()) return Foldable<F>::foldr(std::forward<Fn>(f), std::move(z), x.left());
        return Foldable<G>::foldr(std::forward<Fn>(f), std::move(z), x.right());
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Sum<F, G, A>& x) {
        if (x.isInL()) return Foldable<F>::foldlStrict(std::forward<Fn>(f), std::move(z), x.left());
        return Foldable<G>::foldlStrict(std::forward<Fn>(f), std::move(z), x.right());
    }
};
template <class F, class G>
    requires IsTraversable<F> && IsTraversable<G>
struct Traversable<SumK<F, G>> : TraversableDefaults<SumK<F, G>, Traversable<SumK<F, G>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Sum<F, G, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using B = typename E::B;
        using V = std::variant<Apply<F, B>, Apply<G, B>>;
        if (x.isInL())
            return Functor<typename E::G>::fmap(
                [](Apply<F, B> v) { return Sum<F, G, B>{V(std::in_place_index<0>, std::move(v))}; },
                Traversable<F>::traverse(f, x.left()));
        return Functor<typename E::G>::fmap(
            [](Apply<G, B> v) { return Sum<F, G, B>{V(std::in_place_index<1>, std::move(v))}; },
            Traversable<G>::traverse(f, x.right()));
    }
};

// ---- IdentityT -----------------------------------------------------------

template <class M, class A>
struct IdentityT {
    using value_type = A;
    Apply<M, A> value;
    friend bool operator==(const IdentityT&, const IdentityT&) = default;
    friend auto operator<=>(const IdentityT&, const IdentityT&) = default;
};
template <class M, class A>
const Apply<M, A>& runIdentityT(const IdentityT<M, A>& x) {
    return x.value;
}
template <class M>
struct IdentityTK {
    template <class A>
    using apply = IdentityT<M, A>;
};
template <class M, class A>
struct KindOf<IdentityT<M, A>> {
    using kind = IdentityTK<M>;
    using arg = A;
};

namespace detail {
// Implementations for a wrapper W<M, A> = {M<A> value} that behaves as M.
template <class M, template <class, class> class W>
struct WrapperOf {
    template <class A>
    static W<M, A> wrap(Apply<M, A> x) {
        return {std::move(x)};
    }
};
}  // namespace detail

template <class M>
    requires IsFunctor<M>
struct Functor<IdentityTK<M>> : FunctorDefaults<IdentityTK<M>, Functor<IdentityTK<M>>> {
    template <class F, class A>
    static auto fmap(F&& f, const IdentityT<M, A>& x) {
        auto r = Functor<M>::fmap(std::forward<F>(f), x.value);
        return IdentityT<M, ArgOf<decltype(r)>>{std::move(r)};
    }
};
template <class M>
    requires IsFoldable<M>
struct Foldable<IdentityTK<M>> : FoldableDefaults<IdentityTK<M>, Foldable<IdentityTK<M>>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const IdentityT<M, A>& x) {
        return Foldable<M>::foldr(std::forward<F>(f), std::move(z), x.value);
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const IdentityT<M, A>& x) {
        return Foldable<M>::foldlStrict(std::forward<F>(f), std::move(z), x.value);
    }
};
template <class M>
    requires IsTraversable<M>
struct Traversable<IdentityTK<M>> : TraversableDefaults<IdentityTK<M>, Traversable<IdentityTK<M>>> {
    template <class F, class A>
    static auto traverse(F&& f, const IdentityT<M, A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([](Apply<M, B> v) { return IdentityT<M, B>{std::move(v)}; },
                                            Traversable<M>::traverse(std::forward<F>(f), x.value));
    }
};
template <class M>
    requires IsApplicative<M>
struct Applicative<IdentityTK<M>> : ApplicativeDefaults<IdentityTK<M>, Applicative<IdentityTK<M>>> {
    template <class A>
    static auto pure(A&& x) {
        return IdentityT<M, std::decay_t<A>>{Applicative<M>::pure(std::forward<A>(x))};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const IdentityT<M, A>& fa, const IdentityT<M, B>& fb) {
        auto r = Applicative<M>::liftA2(std::forward<F>(f), fa.value, fb.value);
        return IdentityT<M, ArgOf<decltype(r)>>{std::move(r)};
    }
};
template <class M>
    requires IsMonad<M>
struct Monad<IdentityTK<M>> : MonadDefaults<IdentityTK<M>, Monad<IdentityTK<M>>> {
    template <class A, class F>
    static auto bind(const IdentityT<M, A>& m, F&& f) {
        using MB = Result<F&, const A&>;
        return MB{Monad<M>::bind(m.value, [f = std::decay_t<F>(std::forward<F>(f))](const A& a) { return f(a).value; })};
    }
};

// ---- ReaderT -------------------------------------------------------------

template <class R, class M, class A>
struct ReaderT {
    using value_type = A;
    std::function<Apply<M, A>(R)> run;
};
template <class R, class M, class A>
Apply<M, A> runReaderT(const ReaderT<R, M, A>& x, R r) {
    return x.run(std::move(r));
}
template <class R, class M>
struct ReaderTK {
    template <class A>
    using apply = ReaderT<R, M, A>;
};
template <class R, class M, class A>
struct KindOf<ReaderT<R, M, A>> {
    using kind = ReaderTK<R, M>;
    using arg = A;
};

template <class R, class M>
    requires IsFunctor<M>
struct Functor<ReaderTK<R, M>> : FunctorDefaults<ReaderTK<R, M>, Functor<ReaderTK<R, M>>> {
    template <class F, class A>
    static auto fmap(F&& f, const ReaderT<R, M, A>& x) {
        using B = Result<const std::decay_t<F>&, const A&>;
        return ReaderT<R, M, B>{
            [f = std::decay_t<F>(std::forward<F>(f)), run = x.run](R r) { return Functor<M>::fmap(f, run(std::move(r))); }};
    }
};
template <class R, class M>
    requires IsApplicative<M>
struct Applicative<ReaderTK<R, M>> : ApplicativeDefaults<ReaderTK<R, M>, Applicative<ReaderTK<R, M>>> {
    template <class A>
    static auto pure(A&& x) {
        using V = std::decay_t<A>;
        return ReaderT<R, M, V>{[x = V(std::forward<A>(x))](R) { return Applicative<M>::pure(x); }};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const ReaderT<R, M, A>& fa, const ReaderT<R, M, B>& fb) {
        using C = Result<const std::decay_t<F>&, const A&, const B&>;
        return ReaderT<R, M, C>{[f = std::decay_t<F>(std::forward<F>(f)), g = fa.run, h = fb.run](R r) {
            return Applicative<M>::liftA2(f, g(r), h(r));
        }};
    }
};
template <class R, class M>
    requires IsMonad<M>
struct Monad<ReaderTK<R, M>> : MonadDefaults<ReaderTK<R, M>, Monad<ReaderTK<R, M>>> {
    template <class A, class F>
    static auto bind(const ReaderT<R, M, A>& m, F&& f) {
        using MB = Result<const std::decay_t<F>&, const A&>;
        return MB{[g = m.run, f = std::decay_t<F>(std::forward<F>(f))](R r) {
            return Monad<M>::bind(g(r), [f, r](const A& a) { return f(a).run(r); });
        }};
    }
};
// The environment as the result.
template <class M, class R>
ReaderT<R, M, R> ask() {
    return {[](R r) { return Applicative<M>::pure(std::move(r)); }};
}

// ---- Backwards -----------------------------------------------------------

template <class F, class A>
struct Backwards {
    using value_type = A;
    Apply<F, A> value;
    friend bool operator==(const Backwards&, const Backwards&) = default;
    friend auto operator<=>(const Backwards&, const Backwards&) = default;
};
template <class F, class A>
const Apply<F, A>& forwards(const Backwards<F, A>& x) {
    return x.value;
}
template <class F>
struct BackwardsK {
    template <class A>
    using apply = Backwards<F, A>;
};
template <class F, class A>
struct KindOf<Backwards<F, A>> {
    using kind = BackwardsK<F>;
    using arg = A;
};

template <class F>
    requires IsFunctor<F>
struct Functor<BackwardsK<F>> : FunctorDefaults<BackwardsK<F>, Functor<BackwardsK<F>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Backwards<F, A>& x) {
        auto r = Functor<F>::fmap(std::forward<Fn>(f), x.value);
        return Backwards<F, ArgOf<decltype(r)>>{std::move(r)};
    }
};
template <class F>
    requires IsFoldable<F>
struct Foldable<BackwardsK<F>> : FoldableDefaults<BackwardsK<F>, Foldable<BackwardsK<F>>> {
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Backwards<F, A>& x) {
        return Foldable<F>::foldr(std::forward<Fn>(f), std::move(z), x.value);
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Backwards<F, A>& x) {
        return Foldable<F>::foldlStrict(std::forward<Fn>(f), std::move(z), x.value);
    }
};
template <class F>
    requires IsTraversable<F>
struct Traversable<BackwardsK<F>> : TraversableDefaults<BackwardsK<F>, Traversable<BackwardsK<F>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Backwards<F, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([](Apply<F, B> v) { return Backwards<F, B>{std::move(v)}; },
                                            Traversable<F>::traverse(std::forward<Fn>(f), x.value));
    }
};
// The effects run right to left: fb's effect before fa's.
template <class F>
    requires IsApplicative<F>
struct Applicative<BackwardsK<F>> : ApplicativeDefaults<BackwardsK<F>, Applicative<BackwardsK<F>>> {
    template <class A>
    static auto pure(A&& x) {
        return Backwards<F, std::decay_t<A>>{Applicative<F>::pure(std::forward<A>(x))};
    }
    template <class Fn, class FA, class FB>
    static auto liftA2(Fn&& f, FA&& fa, FB&& fb) {
        auto r = Applicative<F>::liftA2(
            [f = std::decay_t<Fn>(std::forward<Fn>(f))](auto&& b, auto&& a) {
                return f(std::forward<decltype(a)>(a), std::forward<decltype(b)>(b));
            },
            std::forward<FB>(fb).value, std::forward<FA>(fa).value);
        return Backwards<F, ArgOf<decltype(r)>>{std::move(r)};
    }
};

// ---- Reverse -------------------------------------------------------------

template <class F, class A>
struct Reverse {
    using value_type = A;
    Apply<F, A> value;
    friend bool operator==(const Reverse&, const Reverse&) = default;
    friend auto operator<=>(const Reverse&, const Reverse&) = default;
};
template <class F, class A>
const Apply<F, A>& getReverse(const Reverse<F, A>& x) {
    return x.value;
}
template <class F>
struct ReverseK {
    template <class A>
    using apply = Reverse<F, A>;
};
template <class F, class A>
struct KindOf<Reverse<F, A>> {
    using kind = ReverseK<F>;
    using arg = A;
};

template <class F>
    requires IsFunctor<F>
struct Functor<ReverseK<F>> : FunctorDefaults<ReverseK<F>, Functor<ReverseK<F>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Reverse<F, A>& x) {
        auto r = Functor<F>::fmap(std::forward<Fn>(f), x.value);
        return Reverse<F, ArgOf<decltype(r)>>{std::move(r)};
    }
};
// Folds the elements last to first.
template <class F>
    requires IsFoldable<F>
struct Foldable<ReverseK<F>> : FoldableDefaults<ReverseK<F>, Foldable<ReverseK<F>>> {
    template <class A>
    static std::vector<A> reversed(const Reverse<F, A>& x) {
        std::vector<A> v = Foldable<F>::foldlStrict(
            [](std::vector<A> acc, const A& a) {
                acc.push_back(a);
                return acc;
            },
            std::vector<A>(), x.value);
        return std::vector<A>(v.rbegin(), v.rend());
    }
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Reverse<F, A>& x) {
        return Foldable<VectorK>::foldr(std::forward<Fn>(f), std::move(z), reversed(x));
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Reverse<F, A>& x) {
        return Foldable<F>::foldrStrict([&f](const A& a, B acc) { return f(std::move(acc), a); }, std::move(z),
                                        x.value);
    }
};
// Traverses last to first (the effects run in reverse order).
template <class F>
    requires IsTraversable<F>
struct Traversable<ReverseK<F>> : TraversableDefaults<ReverseK<F>, Traversable<ReverseK<F>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Reverse<F, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using G = typename E::G;
        using B = typename E::B;
        auto back = Traversable<F>::traverse(
            [f = std::decay_t<Fn>(std::forward<Fn>(f))](const A& a) { return Backwards<G, B>{f(a)}; }, x.value);
        return Functor<G>::fmap([](Apply<F, B> v) { return Reverse<F, B>{std::move(v)}; }, std::move(back.value));
    }
};
template <class F>
    requires IsApplicative<F>
struct Applicative<ReverseK<F>> : ApplicativeDefaults<ReverseK<F>, Applicative<ReverseK<F>>> {
    template <class A>
    static auto pure(A&& x) {
        return Reverse<F, std::decay_t<A>>{Applicative<F>::pure(std::forward<A>(x))};
    }
    template <class Fn, class A, class B>
    static auto liftA2(Fn&& f, const Reverse<F, A>& fa, const Reverse<F, B>& fb) {
        auto r = Applicative<F>::liftA2(std::forward<Fn>(f), fa.value, fb.value);
        return Reverse<F, ArgOf<decltype(r)>>{std::move(r)};
    }
};

// ---- Tagged --------------------------------------------------------------

template <class S, class B>
struct Tagged {
    using value_type = B;
    B value;
    friend bool operator==(const Tagged&, const Tagged&) = default;
    friend auto operator<=>(const Tagged&, const Tagged&) = default;
};
template <class S, class B>
const B& untag(const Tagged<S, B>& x) {
    return x.value;
}
// Changes the phantom tag.
template <class T, class S, class B>
Tagged<T, B> retag(const Tagged<S, B>& x) {
    return {x.value};
}
template <class S>
struct TaggedK {
    template <class B>
    using apply = Tagged<S, B>;
};
template <class S, class B>
struct KindOf<Tagged<S, B>> {
    using kind = TaggedK<S>;
    using arg = B;
};
struct TaggedK2 {
    template <class S, class B>
    using apply = Tagged<S, B>;
};
template <class S, class B>
struct KindOf2<Tagged<S, B>> {
    using kind = TaggedK2;
    using first = S;
    using second = B;
};

template <class S>
struct Functor<TaggedK<S>> : FunctorDefaults<TaggedK<S>, Functor<TaggedK<S>>> {
    template <class F, class B>
    static auto fmap(F&& f, const Tagged<S, B>& x) {
        return Tagged<S, Result<F&, const B&>>{f(x.value)};
    }
};
template <class S>
struct Foldable<TaggedK<S>> : FoldableAtMostOne<TaggedK<S>, Foldable<TaggedK<S>>> {
    template <class B>
    static const B* get(const Tagged<S, B>& x) {
        return &x.value;
    }
};
template <class S>
struct Traversable<TaggedK<S>> : TraversableDefaults<TaggedK<S>, Traversable<TaggedK<S>>> {
    template <class F, class A>
    static auto traverse(F&& f, const Tagged<S, A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([](B b) { return Tagged<S, B>{std::move(b)}; }, f(x.value));
    }
};
template <class S>
struct Applicative<TaggedK<S>> : ApplicativeDefaults<TaggedK<S>, Applicative<TaggedK<S>>> {
    template <class A>
    static Tagged<S, std::decay_t<A>> pure(A&& x) {
        return {std::forward<A>(x)};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const Tagged<S, A>& fa, const Tagged<S, B>& fb) {
        return Tagged<S, Result<F&, const A&, const B&>>{f(fa.value, fb.value)};
    }
};
template <class S>
struct Monad<TaggedK<S>> : MonadDefaults<TaggedK<S>, Monad<TaggedK<S>>> {
    template <class A, class F>
    static auto bind(const Tagged<S, A>& m, F&& f) {
        return f(m.value);
    }
};

// ---- ZipList -------------------------------------------------------------

template <class A>
struct ZipList {
    using value_type = A;
    List<A> value;
    friend bool operator==(const ZipList&, const ZipList&) = default;
};
template <class A>
const List<A>& getZipList(const ZipList<A>& x) {
    return x.value;
}
struct ZipListK {
    template <class A>
    using apply = ZipList<A>;
};
template <class A>
struct KindOf<ZipList<A>> {
    using kind = ZipListK;
    using arg = A;
};

namespace detail {
// Element-wise combination of two lists, on demand, as long as the shorter.
template <class C, class A, class B, class F>
List<C> zipWithList(std::shared_ptr<const F> f, List<A> xs, List<B> ys) {
    // The function runs once, so it hands its hold on f on to the next cell.
    return List<C>::lazy([f = std::move(f), xs = std::move(xs), ys = std::move(ys)]() mutable -> List<C> {
        const auto& a = xs.step();
        if (!a) return List<C>();
        const auto& b = ys.step();
        if (!b) return List<C>();
        C c = (*f)(a->head, b->head);
        return List<C>::cons(std::move(c),
                             zipWithList<C>(std::move(f), List<A>::tailOf(std::move(xs)), List<B>::tailOf(std::move(ys))));
    });
}
}  // namespace detail

// The elements of two lists combined pairwise, on demand.
template <class F, class A, class B>
auto zipWith(F&& f, const List<A>& xs, const List<B>& ys) {
    using C = Result<const std::decay_t<F>&, const A&, const B&>;
    return detail::zipWithList<C>(std::make_shared<const std::decay_t<F>>(std::forward<F>(f)), xs, ys);
}

template <>
struct Functor<ZipListK> : FunctorDefaults<ZipListK, Functor<ZipListK>> {
    template <class F, class A>
    static auto fmap(F&& f, const ZipList<A>& x) {
        auto r = Functor<ListK>::fmap(std::forward<F>(f), x.value);
        return ZipList<ArgOf<decltype(r)>>{std::move(r)};
    }
};
template <>
struct Foldable<ZipListK> : FoldableDefaults<ZipListK, Foldable<ZipListK>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const ZipList<A>& x) {
        return Foldable<ListK>::foldr(std::forward<F>(f), std::move(z), x.value);
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const ZipList<A>& x) {
        return Foldable<ListK>::foldlStrict(std::forward<F>(f), std::move(z), x.value);
    }
    template <class A>
    static List<A> toList(const ZipList<A>& x) {
        return x.value;
    }
};
template <>
struct Traversable<ZipListK> : TraversableDefaults<ZipListK, Traversable<ZipListK>> {
    template <class F, class A>
    static auto traverse(F&& f, const ZipList<A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([](List<B> v) { return ZipList<B>{std::move(v)}; },
                                            Traversable<ListK>::traverse(std::forward<F>(f), x.value));
    }
};
// pure repeats its value without end; liftA2 zips.
template <>
struct Applicative<ZipListK> : ApplicativeDefaults<ZipListK, Applicative<ZipListK>> {
    template <class A>
    static ZipList<std::decay_t<A>> pure(A&& x) {
        return {List<std::decay_t<A>>::repeat(std::forward<A>(x))};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const ZipList<A>& fa, const ZipList<B>& fb) {
        auto r = zipWith(std::forward<F>(f), fa.value, fb.value);
        return ZipList<ArgOf<decltype(r)>>{std::move(r)};
    }
};

// ---- WrappedMonad --------------------------------------------------------

template <class M, class A>
struct WrappedMonad {
    using value_type = A;
    Apply<M, A> value;
    friend bool operator==(const WrappedMonad&, const WrappedMonad&) = default;
};
template <class M, class A>
const Apply<M, A>& unwrapMonad(const WrappedMonad<M, A>& x) {
    return x.value;
}
template <class M>
struct WrappedMonadK {
    template <class A>
    using apply = WrappedMonad<M, A>;
};
template <class M, class A>
struct KindOf<WrappedMonad<M, A>> {
    using kind = WrappedMonadK<M>;
    using arg = A;
};

// Functor and Applicative of a Monad, written with bind and pure only.
template <class M>
    requires IsMonad<M>
struct Functor<WrappedMonadK<M>> : FunctorDefaults<WrappedMonadK<M>, Functor<WrappedMonadK<M>>> {
    template <class F, class A>
    static auto fmap(F&& f, const WrappedMonad<M, A>& x) {
        using B = Result<const std::decay_t<F>&, const A&>;
        return WrappedMonad<M, B>{Monad<M>::bind(
            x.value, [f = std::decay_t<F>(std::forward<F>(f))](const A& a) { return Applicative<M>::pure(f(a)); })};
    }
};
template <class M>
    requires IsMonad<M>
struct Applicative<WrappedMonadK<M>> : ApplicativeDefaults<WrappedMonadK<M>, Applicative<WrappedMonadK<M>>> {
    template <class A>
    static auto pure(A&& x) {
        return WrappedMonad<M, std::decay_t<A>>{Applicative<M>::pure(std::forward<A>(x))};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const WrappedMonad<M, A>& fa, const WrappedMonad<M, B>& fb) {
        using C = Result<const std::decay_t<F>&, const A&, const B&>;
        auto r = Monad<M>::bind(fa.value, [f = std::decay_t<F>(std::forward<F>(f)), mb = fb.value](const A& a) {
            return Monad<M>::bind(mb, [f, a](const B& b) { return Applicative<M>::pure(f(a, b)); });
        });
        return WrappedMonad<M, C>{std::move(r)};
    }
};
template <class M>
    requires IsMonad<M>
struct Monad<WrappedMonadK<M>> : MonadDefaults<WrappedMonadK<M>, Monad<WrappedMonadK<M>>> {
    template <class A, class F>
    static auto bind(const WrappedMonad<M, A>& m, F&& f) {
        using MB = Result<const std::decay_t<F>&, const A&>;
        return MB{Monad<M>::bind(m.value, [f = std::decay_t<F>(std::forward<F>(f))](const A& a) { return f(a).value; })};
    }
};

}  // namespace core
