#pragma once
// The structural building blocks that describe the shape of a container
// generically: a container type is written as a combination of these, and
// every generic interface follows from the combination.
//
//   Par1<A>            {value}: exactly one element       tag Par1K         like Identity
//   Rec1<F, A>         {value}: an F<A>                    tag Rec1K<F>      like IdentityT
//   K1<C, A>           {value}: a C, no element            tag K1K<C>        like Const
//   U1<A>              no element and no value             tag U1K           like Proxy
//   V1<A>              no values at all                    tag V1K           like Void
//   Comp1<F, G, A>     {value}: an F<G<A>>   (:.:)         tag Comp1K<F, G>  like Compose
//   Prod1<F, G, A>     {first, second}       (:*:)         tag Prod1K<F, G>  like Product
//   Sum1<F, G, A>      L1(F<A>) or R1(G<A>)  (:+:)         tag Sum1K<F, G>   like Sum
//
// Each implements Functor, Foldable and Traversable (Comp1, Prod1, Sum1 and
// Rec1 when their parts do), Eq/Ord (the parts' own ==, <=>), Show/Read in
// the forms `Par1 {unPar1 = 1}`, `Rec1 {unRec1 = [1]}`, `K1 {unK1 = 1}`,
// `U1`, `Comp1 {unComp1 = [[1]]}`, `[1] :*: [2]` (at precedence 6) and
// `L1 [1]` / `R1 [1]`, and Hashable (as what they hold: Par1, Rec1 and
// Comp1 their contents, K1 its constant, U1 the Int 0, Prod1 its first
// part then its second, Sum1 the index of its side, 0 for L1 and 1 for R1,
// then that side), with the lifted forms Eq1, Ord1 and Hashable1 alike.
// Binary: Par1, Rec1, K1 and Comp1 as what they hold, U1 as nothing, Prod1
// its first part then its second, Sum1 a tag byte (0 for L1, 1 for R1,
// else "Invalid Sum1 tag") then that side; V1 fails "V1 has no values".
// Par1, U1, Rec1 and Prod1 are also Applicatives, Par1 and U1 Monads. V1
// has no values: its operations can never be called.
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Binary.h"
#include "Core/Classes.h"
#include "Core/Hashable1.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Kinds.h"
#include "Core/Monad.h"
#include "Core/Read.h"
#include "Core/Show.h"
#include "Core/Traversable.h"
#include "Core/Types.h"

namespace core {

// ---- The types ---------------------------------------------------------------

template <class A>
struct Par1 {
    using value_type = A;
    A value;
    friend bool operator==(const Par1&, const Par1&) = default;
    friend auto operator<=>(const Par1&, const Par1&) = default;
};
template <class A>
const A& unPar1(const Par1<A>& x) {
    return x.value;
}

template <class F, class A>
struct Rec1 {
    using value_type = A;
    Apply<F, A> value;
    friend bool operator==(const Rec1&, const Rec1&) = default;
    friend auto operator<=>(const Rec1&, const Rec1&) = default;
};
template <class F, class A>
const Apply<F, A>& unRec1(const Rec1<F, A>& x) {
    return x.value;
}

template <class C, class A>
struct K1 {
    using value_type = A;
    C value;
    friend bool operator==(const K1&, const K1&) = default;
    friend auto operator<=>(const K1&, const K1&) = default;
};
template <class C, class A>
const C& unK1(const K1<C, A>& x) {
    return x.value;
}

template <class A>
struct U1 {
    using value_type = A;
    friend bool operator==(const U1&, const U1&) = default;
    friend auto operator<=>(const U1&, const U1&) = default;
};

// No value of V1 can be built.
template <class A>
struct V1 {
    using value_type = A;
    V1() = delete;
    friend bool operator==(const V1&, const V1&) { return true; }
    friend auto operator<=>(const V1&, const V1&) { return std::strong_ordering::equal; }
};
// Turns an impossible V1 into anything.
template <class T, class A>
[[noreturn]] T absurdV1(const V1<A>&) {
    __builtin_unreachable();
}

template <class F, class G, class A>
struct Comp1 {
    using value_type = A;
    Apply<F, Apply<G, A>> value;
    friend bool operator==(const Comp1&, const Comp1&) = default;
    friend auto operator<=>(const Comp1&, const Comp1&) = default;
};
template <class F, class G, class A>
const Apply<F, Apply<G, A>>& unComp1(const Comp1<F, G, A>& x) {
    return x.value;
}

template <class F, class G, class A>
struct Prod1 {
    using value_type = A;
    Apply<F, A> first;
    Apply<G, A> second;
    friend bool operator==(const Prod1&, const Prod1&) = default;
    friend auto operator<=>(const Prod1&, const Prod1&) = default;
};

template <class F, class G, class A>
struct Sum1 {
    using value_type = A;
    std::variant<Apply<F, A>, Apply<G, A>> value;
    bool isL1() const noexcept { return value.index() == 0; }
    bool isInL() const noexcept { return isL1(); }
    const Apply<F, A>& left() const { return std::get<0>(value); }
    const Apply<G, A>& right() const { return std::get<1>(value); }
    friend bool operator==(const Sum1&, const Sum1&) = default;
    friend auto operator<=>(const Sum1&, const Sum1&) = default;
};

// ---- Tags ----------------------------------------------------------------------

struct Par1K {
    template <class A>
    using apply = Par1<A>;
};
template <class A>
struct KindOf<Par1<A>> {
    using kind = Par1K;
    using arg = A;
};
template <class F>
struct Rec1K {
    template <class A>
    using apply = Rec1<F, A>;
};
template <class F, class A>
struct KindOf<Rec1<F, A>> {
    using kind = Rec1K<F>;
    using arg = A;
};
template <class C>
struct K1K {
    template <class A>
    using apply = K1<C, A>;
};
template <class C, class A>
struct KindOf<K1<C, A>> {
    using kind = K1K<C>;
    using arg = A;
};
struct U1K {
    template <class A>
    using apply = U1<A>;
};
template <class A>
struct KindOf<U1<A>> {
    using kind = U1K;
    using arg = A;
};
struct V1K {
    template <class A>
    using apply = V1<A>;
};
template <class A>
struct KindOf<V1<A>> {
    using kind = V1K;
    using arg = A;
};
template <class F, class G>
struct Comp1K {
    template <class A>
    using apply = Comp1<F, G, A>;
};
template <class F, class G, class A>
struct KindOf<Comp1<F, G, A>> {
    using kind = Comp1K<F, G>;
    using arg = A;
};
template <class F, class G>
struct Prod1K {
    template <class A>
    using apply = Prod1<F, G, A>;
};
template <class F, class G, class A>
struct KindOf<Prod1<F, G, A>> {
    using kind = Prod1K<F, G>;
    using arg = A;
};
template <class F, class G>
struct Sum1K {
    template <class A>
    using apply = Sum1<F, G, A>;
};
template <class F, class G, class A>
struct KindOf<Sum1<F, G, A>> {
    using kind = Sum1K<F, G>;
    using arg = A;
};

// ---- Constructors ------------------------------------------------------------------

// fa :*: ga.
template <class FA, class GA>
auto prod1(FA fa, GA ga) {
    static_assert(std::is_same_v<ArgOf<FA>, ArgOf<GA>>, "prod1: both sides must hold the same element type");
    return Prod1<KindOfT<FA>, KindOfT<GA>, ArgOf<FA>>{std::move(fa), std::move(ga)};
}
// The two sides of a Sum1; the other side's tag must be named.
template <class G, class FA>
Sum1<KindOfT<FA>, G, ArgOf<FA>> L1(FA fa) {
    return {std::variant<FA, Apply<G, ArgOf<FA>>>(std::in_place_index<0>, std::move(fa))};
}
template <class F, class GA>
Sum1<F, KindOfT<GA>, ArgOf<GA>> R1(GA ga) {
    return {std::variant<Apply<F, ArgOf<GA>>, GA>(std::in_place_index<1>, std::move(ga))};
}

// ---- Functor ---------------------------------------------------------------------------

template <>
struct Functor<Par1K> : FunctorDefaults<Par1K, Functor<Par1K>> {
    template <class F, class A>
    static auto fmap(F&& f, const Par1<A>& x) {
        return Par1<Result<F&, const A&>>{f(x.value)};
    }
};
template <class M>
    requires IsFunctor<M>
struct Functor<Rec1K<M>> : FunctorDefaults<Rec1K<M>, Functor<Rec1K<M>>> {
    template <class F, class A>
    static auto fmap(F&& f, const Rec1<M, A>& x) {
        auto r = Functor<M>::fmap(std::forward<F>(f), x.value);
        return Rec1<M, ArgOf<decltype(r)>>{std::move(r)};
    }
};
template <class C>
struct Functor<K1K<C>> : FunctorDefaults<K1K<C>, Functor<K1K<C>>> {
    template <class F, class A>
    static auto fmap(F&&, const K1<C, A>& x) {
        return K1<C, Result<F&, const A&>>{x.value};
    }
};
template <>
struct Functor<U1K> : FunctorDefaults<U1K, Functor<U1K>> {
    template <class F, class A>
    static auto fmap(F&&, const U1<A>&) {
        return U1<Result<F&, const A&>>{};
    }
};
template <>
struct Functor<V1K> : FunctorDefaults<V1K, Functor<V1K>> {
    template <class F, class A>
    static V1<Result<F&, const A&>> fmap(F&&, const V1<A>& v) {
        return absurdV1<V1<Result<F&, const A&>>>(v);
    }
};
template <class F, class G>
    requires IsFunctor<F> && IsFunctor<G>
struct Functor<Comp1K<F, G>> : FunctorDefaults<Comp1K<F, G>, Functor<Comp1K<F, G>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Comp1<F, G, A>& x) {
        using B = Result<const std::decay_t<Fn>&, const A&>;
        auto inner = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Apply<G, A>& ga) { return Functor<G>::fmap(f, ga); };
        return Comp1<F, G, B>{Functor<F>::fmap(std::move(inner), x.value)};
    }
};
template <class F, class G>
    requires IsFunctor<F> && IsFunctor<G>
struct Functor<Prod1K<F, G>> : FunctorDefaults<Prod1K<F, G>, Functor<Prod1K<F, G>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Prod1<F, G, A>& x) {
        using B = Result<Fn&, const A&>;
        return Prod1<F, G, B>{Functor<F>::fmap(f, x.first), Functor<G>::fmap(f, x.second)};
    }
};
template <class F, class G>
    requires IsFunctor<F> && IsFunctor<G>
struct Functor<Sum1K<F, G>> : FunctorDefaults<Sum1K<F, G>, Functor<Sum1K<F, G>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const Sum1<F, G, A>& x) {
        using B = Result<Fn&, const A&>;
        using V = std::variant<Apply<F, B>, Apply<G, B>>;
        if (x.isL1()) return Sum1<F, G, B>{V(std::in_place_index<0>, Functor<F>::fmap(f, x.left()))};
        return Sum1<F, G, B>{V(std::in_place_index<1>, Functor<G>::fmap(f, x.right()))};
    }
};

// ---- Foldable ----------------------------------------------------------------------------

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
template <>
struct Foldable<Par1K> : FoldableAtMostOne<Par1K, Foldable<Par1K>> {
    template <class A>
    static const A* get(const Par1<A>& x) {
        return &x.value;
    }
};
template <class C>
struct Foldable<K1K<C>> : FoldableAtMostOne<K1K<C>, Foldable<K1K<C>>> {
    template <class A>
    static const A* get(const K1<C, A>&) {
        return nullptr;
    }
};
template <>
struct Foldable<U1K> : FoldableAtMostOne<U1K, Foldable<U1K>> {
    template <class A>
    static const A* get(const U1<A>&) {
        return nullptr;
    }
};
template <>
struct Foldable<V1K> : FoldableAtMostOne<V1K, Foldable<V1K>> {
    template <class A>
    static const A* get(const V1<A>& v) {
        return absurdV1<const A*>(v);
    }
};
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
template <class M>
    requires IsFoldable<M>
struct Foldable<Rec1K<M>> : FoldableDefaults<Rec1K<M>, Foldable<Rec1K<M>>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const Rec1<M, A>& x) {
        return Foldable<M>::foldr(std::forward<F>(f), std::move(z), x.value);
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const Rec1<M, A>& x) {
        return Foldable<M>::foldlStrict(std::forward<F>(f), std::move(z), x.value);
    }
    template <class A>
    static bool null(const Rec1<M, A>& x) {
        return Foldable<M>::null(x.value);
    }
    template <class A>
    static Int length(const Rec1<M, A>& x) {
        return Foldable<M>::length(x.value);
    }
};
template <class F, class G>
    requires IsFoldable<F> && IsFoldable<G>
struct Foldable<Comp1K<F, G>> : FoldableDefaults<Comp1K<F, G>, Foldable<Comp1K<F, G>>> {
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Comp1<F, G, A>& x) {
        auto outer = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Apply<G, A>& ga, const Lazy<B>& rest) {
            return Foldable<G>::foldr(f, rest, ga);
        };
        return Foldable<F>::foldr(std::move(outer), std::move(z), x.value);
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Comp1<F, G, A>& x) {
        return Foldable<F>::foldlStrict(
            [&f](B acc, const Apply<G, A>& ga) { return Foldable<G>::foldlStrict(f, std::move(acc), ga); }, std::move(z),
            x.value);
    }
};
template <class F, class G>
    requires IsFoldable<F> && IsFoldable<G>
struct Foldable<Prod1K<F, G>> : FoldableDefaults<Prod1K<F, G>, Foldable<Prod1K<F, G>>> {
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Prod1<F, G, A>& x) {
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        Lazy<B> right = defer([fc, z, g = x.second] { return Foldable<G>::foldr(fc, z, g); });
        return Foldable<F>::foldr(fc, std::move(right), x.first);
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Prod1<F, G, A>& x) {
        return Foldable<G>::foldlStrict(f, Foldable<F>::foldlStrict(f, std::move(z), x.first), x.second);
    }
};
template <class F, class G>
    requires IsFoldable<F> && IsFoldable<G>
struct Foldable<Sum1K<F, G>> : FoldableDefaults<Sum1K<F, G>, Foldable<Sum1K<F, G>>> {
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const Sum1<F, G, A>& x) {
        if (x.isL1()) return Foldable<F>::foldr(std::forward<Fn>(f), std::move(z), x.left());
        return Foldable<G>::foldr(std::forward<Fn>(f), std::move(z), x.right());
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const Sum1<F, G, A>& x) {
        if (x.isL1()) return Foldable<F>::foldlStrict(std::forward<Fn>(f), std::move(z), x.left());
        return Foldable<G>::foldlStrict(std::forward<Fn>(f), std::move(z), x.right());
    }
};

// ---- Traversable ---------------------------------------------------------------------------

template <>
struct Traversable<Par1K> : TraversableDefaults<Par1K, Traversable<Par1K>> {
    template <class F, class A>
    static auto traverse(F&& f, const Par1<A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([](B b) { return Par1<B>{std::move(b)}; }, f(x.value));
    }
};
template <class M>
    requires IsTraversable<M>
struct Traversable<Rec1K<M>> : TraversableDefaults<Rec1K<M>, Traversable<Rec1K<M>>> {
    template <class F, class A>
    static auto traverse(F&& f, const Rec1<M, A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([](Apply<M, B> v) { return Rec1<M, B>{std::move(v)}; },
                                            Traversable<M>::traverse(std::forward<F>(f), x.value));
    }
};
template <class C>
struct Traversable<K1K<C>> : TraversableDefaults<K1K<C>, Traversable<K1K<C>>> {
    template <class F, class A>
    static auto traverse(F&&, const K1<C, A>& x) {
        using E = detail::EffectOf<F, A>;
        return Applicative<typename E::G>::pure(K1<C, typename E::B>{x.value});
    }
};
template <>
struct Traversable<U1K> : TraversableDefaults<U1K, Traversable<U1K>> {
    template <class F, class A>
    static auto traverse(F&&, const U1<A>&) {
        using E = detail::EffectOf<F, A>;
        return Applicative<typename E::G>::pure(U1<typename E::B>{});
    }
};
template <>
struct Traversable<V1K> : TraversableDefaults<V1K, Traversable<V1K>> {
    template <class F, class A>
    static auto traverse(F&&, const V1<A>& v) {
        using E = detail::EffectOf<F, A>;
        return absurdV1<Apply<typename E::G, V1<typename E::B>>>(v);
    }
};
template <class F, class G>
    requires IsTraversable<F> && IsTraversable<G>
struct Traversable<Comp1K<F, G>> : TraversableDefaults<Comp1K<F, G>, Traversable<Comp1K<F, G>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Comp1<F, G, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using B = typename E::B;
        auto inner = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Apply<G, A>& ga) { return Traversable<G>::traverse(f, ga); };
        return Functor<typename E::G>::fmap([](Apply<F, Apply<G, B>> v) { return Comp1<F, G, B>{std::move(v)}; },
                                            Traversable<F>::traverse(inner, x.value));
    }
};
template <class F, class G>
    requires IsTraversable<F> && IsTraversable<G>
struct Traversable<Prod1K<F, G>> : TraversableDefaults<Prod1K<F, G>, Traversable<Prod1K<F, G>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Prod1<F, G, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using B = typename E::B;
        // The first part's function calls run first (C++ leaves the order of
        // argument evaluation open, so the parts are traversed in statements).
        auto a = Traversable<F>::traverse(f, x.first);
        auto b = Traversable<G>::traverse(f, x.second);
        return Applicative<typename E::G>::liftA2(
            [](Apply<F, B> l, Apply<G, B> r) { return Prod1<F, G, B>{std::move(l), std::move(r)}; }, std::move(a),
            std::move(b));
    }
};
template <class F, class G>
    requires IsTraversable<F> && IsTraversable<G>
struct Traversable<Sum1K<F, G>> : TraversableDefaults<Sum1K<F, G>, Traversable<Sum1K<F, G>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const Sum1<F, G, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using B = typename E::B;
        using V = std::variant<Apply<F, B>, Apply<G, B>>;
        if (x.isL1())
            return Functor<typename E::G>::fmap([](Apply<F, B> v) { return Sum1<F, G, B>{V(std::in_place_index<0>, std::move(v))}; },
                                                Traversable<F>::traverse(f, x.left()));
        return Functor<typename E::G>::fmap([](Apply<G, B> v) { return Sum1<F, G, B>{V(std::in_place_index<1>, std::move(v))}; },
                                            Traversable<G>::traverse(f, x.right()));
    }
};

// ---- Applicative and Monad ---------------------------------------------------------------

template <>
struct Applicative<Par1K> : ApplicativeDefaults<Par1K, Applicative<Par1K>> {
    template <class A>
    static Par1<std::decay_t<A>> pure(A&& x) {
        return {std::forward<A>(x)};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const Par1<A>& a, const Par1<B>& b) {
        return Par1<Result<F&, const A&, const B&>>{f(a.value, b.value)};
    }
};
template <>
struct Monad<Par1K> : MonadDefaults<Par1K, Monad<Par1K>> {
    template <class A, class F>
    static auto bind(const Par1<A>& m, F&& f) {
        return f(m.value);
    }
};
template <>
struct Applicative<U1K> : ApplicativeDefaults<U1K, Applicative<U1K>> {
    template <class A>
    static U1<std::decay_t<A>> pure(A&&) {
        return {};
    }
    template <class F, class A, class B>
    static auto liftA2(F&&, const U1<A>&, const U1<B>&) {
        return U1<Result<F&, const A&, const B&>>{};
    }
};
template <>
struct Monad<U1K> : MonadDefaults<U1K, Monad<U1K>> {
    template <class A, class F>
    static auto bind(const U1<A>&, F&&) {
        return Result<F&, const A&>{};
    }
};
template <class M>
    requires IsApplicative<M>
struct Applicative<Rec1K<M>> : ApplicativeDefaults<Rec1K<M>, Applicative<Rec1K<M>>> {
    template <class A>
    static auto pure(A&& x) {
        return Rec1<M, std::decay_t<A>>{Applicative<M>::pure(std::forward<A>(x))};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const Rec1<M, A>& a, const Rec1<M, B>& b) {
        auto r = Applicative<M>::liftA2(std::forward<F>(f), a.value, b.value);
        return Rec1<M, ArgOf<decltype(r)>>{std::move(r)};
    }
};
template <class F, class G>
    requires IsApplicative<F> && IsApplicative<G>
struct Applicative<Prod1K<F, G>> : ApplicativeDefaults<Prod1K<F, G>, Applicative<Prod1K<F, G>>> {
    template <class A>
    static auto pure(const A& x) {
        return Prod1<F, G, A>{Applicative<F>::pure(x), Applicative<G>::pure(x)};
    }
    template <class Fn, class A, class B>
    static auto liftA2(Fn&& f, const Prod1<F, G, A>& fa, const Prod1<F, G, B>& fb) {
        using C = Result<Fn&, const A&, const B&>;
        return Prod1<F, G, C>{Applicative<F>::liftA2(f, fa.first, fb.first), Applicative<G>::liftA2(f, fa.second, fb.second)};
    }
};

// ---- Text form ----------------------------------------------------------------------------

template <class A>
struct Show<Par1<A>> {
    static void showsPrec(int d, const Par1<A>& x, std::string& out) {
        showsRecordWith(ShowsPrecOf<A>{}, "Par1", "unPar1", d, x.value, out);
    }
};
template <class A>
struct Read<Par1<A>> {
    static Reader<Par1<A>> readPrec() {
        return readRecordWith<Par1<A>>("Par1", "unPar1", core::readPrec<A>(), [](A a) { return Par1<A>{std::move(a)}; });
    }
};
template <class F, class A>
struct Show<Rec1<F, A>> {
    static void showsPrec(int d, const Rec1<F, A>& x, std::string& out) {
        showsRecordWith(ShowsPrecOf<Apply<F, A>>{}, "Rec1", "unRec1", d, x.value, out);
    }
};
template <class F, class A>
struct Read<Rec1<F, A>> {
    static Reader<Rec1<F, A>> readPrec() {
        return readRecordWith<Rec1<F, A>>("Rec1", "unRec1", core::readPrec<Apply<F, A>>(),
                                          [](Apply<F, A> a) { return Rec1<F, A>{std::move(a)}; });
    }
};
template <class C, class A>
struct Show<K1<C, A>> {
    static void showsPrec(int d, const K1<C, A>& x, std::string& out) {
        showsRecordWith(ShowsPrecOf<C>{}, "K1", "unK1", d, x.value, out);
    }
};
template <class C, class A>
struct Read<K1<C, A>> {
    static Reader<K1<C, A>> readPrec() {
        return readRecordWith<K1<C, A>>("K1", "unK1", core::readPrec<C>(), [](C c) { return K1<C, A>{std::move(c)}; });
    }
};
template <class A>
struct Show<U1<A>> {
    static void showsPrec(int, const U1<A>&, std::string& out) { out += "U1"; }
};
template <class A>
struct Read<U1<A>> {
    static Reader<U1<A>> readPrec() { return parens(readNullary("U1", U1<A>{})); }
};
template <class A>
struct Show<V1<A>> {
    static void showsPrec(int, const V1<A>& v, std::string&) { absurdV1<void>(v); }
};
template <class F, class G, class A>
struct Show<Comp1<F, G, A>> {
    static void showsPrec(int d, const Comp1<F, G, A>& x, std::string& out) {
        showsRecordWith(ShowsPrecOf<Apply<F, Apply<G, A>>>{}, "Comp1", "unComp1", d, x.value, out);
    }
};
template <class F, class G, class A>
struct Read<Comp1<F, G, A>> {
    static Reader<Comp1<F, G, A>> readPrec() {
        using V = Apply<F, Apply<G, A>>;
        return readRecordWith<Comp1<F, G, A>>("Comp1", "unComp1", core::readPrec<V>(),
                                              [](V v) { return Comp1<F, G, A>{std::move(v)}; });
    }
};
// a :*: b, an infix constructor of precedence 6 (grouping to the right).
template <class F, class G, class A>
struct Show<Prod1<F, G, A>> {
    static void showsPrec(int d, const Prod1<F, G, A>& x, std::string& out) {
        showParen(d > 6, out, [&] {
            core::showsPrec(7, x.first, out);
            out += " :*: ";
            core::showsPrec(7, x.second, out);
        });
    }
};
template <class F, class G, class A>
struct Read<Prod1<F, G, A>> {
    static Reader<Prod1<F, G, A>> readPrec() {
        using FA = Apply<F, A>;
        using GA = Apply<G, A>;
        auto body = bindP(atPrec(7, core::readPrec<FA>()), [](const FA& a) {
            return thenP(symbol(":*:"), mapP([a](const GA& b) { return Prod1<F, G, A>{a, b}; }, atPrec(7, core::readPrec<GA>())));
        });
        return parens(prec(6, std::move(body)));
    }
};
template <class F, class G, class A>
struct Show<Sum1<F, G, A>> {
    static void showsPrec(int d, const Sum1<F, G, A>& x, std::string& out) {
        if (x.isL1())
            showsUnaryWith(ShowsPrecOf<Apply<F, A>>{}, "L1", d, x.left(), out);
        else
            showsUnaryWith(ShowsPrecOf<Apply<G, A>>{}, "R1", d, x.right(), out);
    }
};
template <class F, class G, class A>
struct Read<Sum1<F, G, A>> {
    static Reader<Sum1<F, G, A>> readPrec() {
        using FA = Apply<F, A>;
        using GA = Apply<G, A>;
        using V = std::variant<FA, GA>;
        return alt(readUnaryWith<Sum1<F, G, A>>("L1", core::readPrec<FA>(),
                                                [](FA a) { return Sum1<F, G, A>{V(std::in_place_index<0>, std::move(a))}; }),
                   readUnaryWith<Sum1<F, G, A>>("R1", core::readPrec<GA>(),
                                                [](GA b) { return Sum1<F, G, A>{V(std::in_place_index<1>, std::move(b))}; }));
    }
};

// V1 has no values: nothing reads as one.
template <class A>
struct Read<V1<A>> {
    static Reader<V1<A>> readPrec() { return pfail<V1<A>>(); }
};

// ---- Lifted text forms: the same texts, with the elements printed and read
// by the caller's functions ------------------------------------------------------------------

namespace detail {
// The printer of a structure's values (and of lists of them) whose elements
// are printed by (sp, sl).
template <class SP, class SL>
struct LiftedShows {
    const SP& sp;
    const SL& sl;
    template <class FA>
    void operator()(int d, const FA& x, std::string& out) const {
        core::liftShowsPrec(sp, sl, d, x, out);
    }
};
template <class SP, class SL>
struct LiftedShowList {
    const SP& sp;
    const SL& sl;
    template <class Range>
    void operator()(const Range& xs, std::string& out) const {
        core::liftShowList(sp, sl, xs, out);
    }
};
}  // namespace detail

template <>
struct Show1<Par1K> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const Par1<A>& x, std::string& out) {
        showsRecordWith(sp, "Par1", "unPar1", d, x.value, out);
    }
};
template <>
struct Read1<Par1K> {
    template <class A>
    static Reader<Par1<A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        return readRecordWith<Par1<A>>("Par1", "unPar1", std::move(rp), [](A a) { return Par1<A>{std::move(a)}; });
    }
};
template <class M>
struct Show1<Rec1K<M>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const Rec1<M, A>& x, std::string& out) {
        showsRecordWith(detail::LiftedShows<SP, SL>{sp, sl}, "Rec1", "unRec1", d, x.value, out);
    }
};
template <class M>
struct Read1<Rec1K<M>> {
    template <class A>
    static Reader<Rec1<M, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
        return readRecordWith<Rec1<M, A>>("Rec1", "unRec1", core::liftReadPrec<M, A>(std::move(rp), std::move(rl)),
                                          [](Apply<M, A> v) { return Rec1<M, A>{std::move(v)}; });
    }
};
template <class C>
struct Show1<K1K<C>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL&, int d, const K1<C, A>& x, std::string& out) {
        Show<K1<C, A>>::showsPrec(d, x, out);
    }
};
template <class C>
struct Read1<K1K<C>> {
    template <class A>
    static Reader<K1<C, A>> liftReadPrec(Reader<A>, Reader<std::vector<A>>) {
        return Read<K1<C, A>>::readPrec();
    }
};
template <>
struct Show1<U1K> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL&, int, const U1<A>&, std::string& out) {
        out += "U1";
    }
};
template <>
struct Read1<U1K> {
    template <class A>
    static Reader<U1<A>> liftReadPrec(Reader<A>, Reader<std::vector<A>>) {
        return Read<U1<A>>::readPrec();
    }
};
template <>
struct Show1<V1K> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL&, int, const V1<A>& v, std::string&) {
        absurdV1<void>(v);
    }
};
template <>
struct Read1<V1K> {
    template <class A>
    static Reader<V1<A>> liftReadPrec(Reader<A>, Reader<std::vector<A>>) {
        return pfail<V1<A>>();
    }
};
template <class F, class G>
struct Show1<Comp1K<F, G>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const Comp1<F, G, A>& x, std::string& out) {
        const detail::LiftedShows<SP, SL> inner{sp, sl};
        const detail::LiftedShowList<SP, SL> innerList{sp, sl};
        using IS = detail::LiftedShows<SP, SL>;
        using IL = detail::LiftedShowList<SP, SL>;
        showsRecordWith(detail::LiftedShows<IS, IL>{inner, innerList}, "Comp1", "unComp1", d, x.value, out);
    }
};
template <class F, class G>
struct Read1<Comp1K<F, G>> {
    template <class A>
    static Reader<Comp1<F, G, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
        using GA = Apply<G, A>;
        auto outer = core::liftReadPrec<F, GA>(core::liftReadPrec<G, A>(rp, rl), core::liftReadListPrec<G, A>(rp, rl));
        return readRecordWith<Comp1<F, G, A>>("Comp1", "unComp1", std::move(outer),
                                              [](Apply<F, GA> v) { return Comp1<F, G, A>{std::move(v)}; });
    }
};
template <class F, class G>
struct Show1<Prod1K<F, G>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const Prod1<F, G, A>& x, std::string& out) {
        showParen(d > 6, out, [&] {
            core::liftShowsPrec(sp, sl, 7, x.first, out);
            out += " :*: ";
            core::liftShowsPrec(sp, sl, 7, x.second, out);
        });
    }
};
template <class F, class G>
struct Read1<Prod1K<F, G>> {
    template <class A>
    static Reader<Prod1<F, G, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
        using FA = Apply<F, A>;
        using GA = Apply<G, A>;
        auto second = atPrec(7, core::liftReadPrec<G, A>(rp, rl));
        auto body = bindP(atPrec(7, core::liftReadPrec<F, A>(rp, rl)), [second](const FA& a) {
            return thenP(symbol(":*:"), mapP([a](const GA& b) { return Prod1<F, G, A>{a, b}; }, second));
        });
        return parens(prec(6, std::move(body)));
    }
};
template <class F, class G>
struct Show1<Sum1K<F, G>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const Sum1<F, G, A>& x, std::string& out) {
        if (x.isL1())
            showsUnaryWith(detail::LiftedShows<SP, SL>{sp, sl}, "L1", d, x.left(), out);
        else
            showsUnaryWith(detail::LiftedShows<SP, SL>{sp, sl}, "R1", d, x.right(), out);
    }
};
template <class F, class G>
struct Read1<Sum1K<F, G>> {
    template <class A>
    static Reader<Sum1<F, G, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
        using FA = Apply<F, A>;
        using GA = Apply<G, A>;
        using V = std::variant<FA, GA>;
        return alt(readUnaryWith<Sum1<F, G, A>>("L1", core::liftReadPrec<F, A>(rp, rl),
                                                [](FA a) { return Sum1<F, G, A>{V(std::in_place_index<0>, std::move(a))}; }),
                   readUnaryWith<Sum1<F, G, A>>("R1", core::liftReadPrec<G, A>(rp, rl),
                                                [](GA b) { return Sum1<F, G, A>{V(std::in_place_index<1>, std::move(b))}; }));
    }
};

// ---- Hashing ----------------------------------------------------------------------------------

template <class A>
    requires HashableType<A>
struct Hashable<Par1<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t s, const Par1<A>& x) { return core::hashWithSalt(s, x.value); }
};
template <class F, class A>
    requires HashableType<Apply<F, A>>
struct Hashable<Rec1<F, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t s, const Rec1<F, A>& x) { return core::hashWithSalt(s, x.value); }
};
template <class C, class A>
    requires HashableType<C>
struct Hashable<K1<C, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t s, const K1<C, A>& x) { return core::hashWithSalt(s, x.value); }
};
template <class A>
struct Hashable<U1<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t s, const U1<A>&) { return hashInt(s, 0); }
};
template <class A>
struct Hashable<V1<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t, const V1<A>& v) { return absurdV1<std::uint64_t>(v); }
};
template <class F, class G, class A>
    requires HashableType<Apply<F, Apply<G, A>>>
struct Hashable<Comp1<F, G, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t s, const Comp1<F, G, A>& x) { return core::hashWithSalt(s, x.value); }
};
template <class F, class G, class A>
    requires HashableType<Apply<F, A>> && HashableType<Apply<G, A>>
struct Hashable<Prod1<F, G, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t s, const Prod1<F, G, A>& x) {
        return core::hashWithSalt(core::hashWithSalt(s, x.first), x.second);
    }
};
template <class F, class G, class A>
    requires HashableType<Apply<F, A>> && HashableType<Apply<G, A>>
struct Hashable<Sum1<F, G, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t s, const Sum1<F, G, A>& x) {
        if (x.isL1()) return core::hashWithSalt(hashIndex(s, 0), x.left());
        return core::hashWithSalt(hashIndex(s, 1), x.right());
    }
};

// ---- Lifted comparison and hashing ---------------------------------------------------------

template <>
struct Eq1<Par1K> : detail::ThroughValue<void> {};
template <>
struct Ord1<Par1K> : detail::ThroughValue<void> {};
template <class M>
struct Eq1<Rec1K<M>> : detail::ThroughValue<M> {};
template <class M>
struct Ord1<Rec1K<M>> : detail::ThroughValue<M> {};
template <class C>
struct Eq1<K1K<C>> : Eq1<ConstK<C>> {};
template <class C>
struct Ord1<K1K<C>> : Ord1<ConstK<C>> {};
template <>
struct Eq1<U1K> : Eq1<ProxyK> {};
template <>
struct Ord1<U1K> : Ord1<ProxyK> {};
template <>
struct Eq1<V1K> : Eq1<ProxyK> {};
template <>
struct Ord1<V1K> : Ord1<ProxyK> {};
template <class F, class G>
struct Eq1<Comp1K<F, G>> : Eq1<ComposeK<F, G>> {};
template <class F, class G>
struct Ord1<Comp1K<F, G>> : Ord1<ComposeK<F, G>> {};
template <class F, class G>
struct Eq1<Prod1K<F, G>> : Eq1<ProductK<F, G>> {};
template <class F, class G>
struct Ord1<Prod1K<F, G>> : Ord1<ProductK<F, G>> {};
template <class F, class G>
struct Eq1<Sum1K<F, G>> : Eq1<SumK<F, G>> {};
template <class F, class G>
struct Ord1<Sum1K<F, G>> : Ord1<SumK<F, G>> {};

template <>
struct Hashable1<Par1K> : detail::ValueHash1<void> {};
template <class M>
struct Hashable1<Rec1K<M>> : detail::ValueHash1<M> {};
template <class C>
struct Hashable1<K1K<C>> : Hashable1<ConstK<C>> {};
template <>
struct Hashable1<U1K> : Hashable1<ProxyK> {};
template <class F, class G>
struct Hashable1<Comp1K<F, G>> : Hashable1<ComposeK<F, G>> {};
template <class F, class G>
struct Hashable1<Prod1K<F, G>> : Hashable1<ProductK<F, G>> {};
template <class F, class G>
struct Hashable1<Sum1K<F, G>> : Hashable1<SumK<F, G>> {};

// ---- Bytes ------------------------------------------------------------------------------------

namespace decodeError {
inline constexpr const char* invalidSum1Tag = "Invalid Sum1 tag";
inline constexpr const char* v1Value = "V1 has no values";
}  // namespace decodeError

namespace detail {
// Binary of a wrapper {value} of type V, built back by Wrap{v}.
template <class W, class V>
struct ValueBinary {
    static void put(Encoder& out, const W& x) { core::put<V>(out, x.value); }
    static DecodeResult<W> get(Decoder& in) {
        auto v = core::get<V>(in);
        if (!v) return Left(v.error());
        return Right(W{std::move(v).value()});
    }
};
}  // namespace detail

template <class A>
    requires BinaryType<A>
struct Binary<Par1<A>> : detail::ValueBinary<Par1<A>, A> {};
template <class F, class A>
    requires BinaryType<Apply<F, A>>
struct Binary<Rec1<F, A>> : detail::ValueBinary<Rec1<F, A>, Apply<F, A>> {};
template <class C, class A>
    requires BinaryType<C>
struct Binary<K1<C, A>> : detail::ValueBinary<K1<C, A>, C> {};
template <class F, class G, class A>
    requires BinaryType<Apply<F, Apply<G, A>>>
struct Binary<Comp1<F, G, A>> : detail::ValueBinary<Comp1<F, G, A>, Apply<F, Apply<G, A>>> {};
template <class A>
struct Binary<U1<A>> {
    static constexpr bool encodesToNothing = true;
    static void put(Encoder&, const U1<A>&) {}
    static DecodeResult<U1<A>> get(Decoder&) { return Right(U1<A>{}); }
};
template <class A>
struct Binary<V1<A>> {
    static void put(Encoder&, const V1<A>& v) { absurdV1<void>(v); }
    static DecodeResult<V1<A>> get(Decoder&) { return Left(std::string(decodeError::v1Value)); }
};
template <class F, class G, class A>
    requires BinaryType<Apply<F, A>> && BinaryType<Apply<G, A>>
struct Binary<Prod1<F, G, A>> {
    static void put(Encoder& out, const Prod1<F, G, A>& x) {
        core::put<Apply<F, A>>(out, x.first);
        core::put<Apply<G, A>>(out, x.second);
    }
    static DecodeResult<Prod1<F, G, A>> get(Decoder& in) {
        auto a = core::get<Apply<F, A>>(in);
        if (!a) return Left(a.error());
        auto b = core::get<Apply<G, A>>(in);
        if (!b) return Left(b.error());
        return Right(Prod1<F, G, A>{std::move(a).value(), std::move(b).value()});
    }
};
template <class F, class G, class A>
    requires BinaryType<Apply<F, A>> && BinaryType<Apply<G, A>>
struct Binary<Sum1<F, G, A>> {
    using V = std::variant<Apply<F, A>, Apply<G, A>>;
    static void put(Encoder& out, const Sum1<F, G, A>& x) {
        if (x.isL1()) {
            out.putByte(0);
            core::put<Apply<F, A>>(out, x.left());
        } else {
            out.putByte(1);
            core::put<Apply<G, A>>(out, x.right());
        }
    }
    static DecodeResult<Sum1<F, G, A>> get(Decoder& in) {
        auto tag = in.getByte();
        if (!tag) return Left(tag.error());
        if (*tag == 0) {
            auto a = core::get<Apply<F, A>>(in);
            if (!a) return Left(a.error());
            return Right(Sum1<F, G, A>{V(std::in_place_index<0>, std::move(a).value())});
        }
        if (*tag != 1) return Left(std::string(decodeError::invalidSum1Tag));
        auto b = core::get<Apply<G, A>>(in);
        if (!b) return Left(b.error());
        return Right(Sum1<F, G, A>{V(std::in_place_index<1>, std::move(b).value())});
    }
};

}  // namespace core
