#pragma once
// Hashing lifted to type constructors, and the hashes of the functor
// combinators.
//
//   Hashable1<Tag>   liftHashWithSalt(h, salt, fa): hash fa, hashing each
//                    element with h(salt, element)
//   Hashable2<Tag2>  liftHashWithSalt2(h1, h2, salt, p): the same for both
//                    element types of a two-parameter type
//
// Lifted hashes follow the rules of Core/Hashable.h, so that
// liftHashWithSalt(hashWithSalt, s, xs) equals hashWithSalt(s, xs):
// sequences hash their elements in order and then their count, an optional
// value and Either mix the index of their alternative first, pairs hash the
// first component and then the second.
//
// The combinators hash as what they hold: Identity, Tagged, IdentityT,
// Backwards, Reverse and ZipList as their contents (Reverse in its stored
// order), Const and Constant as their constant, Proxy as the Int 0 (its
// only alternative), Compose as the outer structure of inner structures,
// Product as its first part and then its second, and Sum as the index of
// its side (0 for InL, 1 for InR) and then that side.
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/FunctorTypes.h"
#include "Core/Hashable.h"
#include "Core/Kinds.h"

namespace core {

template <class K>
struct Hashable1 {
    using NotImplemented = void;
};
template <class K2>
struct Hashable2 {
    using NotImplemented = void;
};
template <class K>
concept IsHashable1 = !requires { typename Hashable1<K>::NotImplemented; };
template <class K2>
concept IsHashable2 = !requires { typename Hashable2<K2>::NotImplemented; };

// Hashes fa into salt, each element with h(salt, element).
template <class H, class FA>
std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const FA& fa) {
    using K = detail::KindOrNone<FA>;
    if constexpr (!IsHashable1<K>)
        static_assert(detail::alwaysFalse<FA>, "no Hashable1 implementation for this type");
    else
        return Hashable1<K>::liftHashWithSalt(std::forward<H>(h), salt, fa);
}
// Hashes p into salt, the first type's elements with h1, the second's with h2.
template <class H1, class H2, class P>
std::uint64_t liftHashWithSalt2(H1&& h1, H2&& h2, std::uint64_t salt, const P& p) {
    using K2 = detail::Kind2OrNone<P>;
    if constexpr (!IsHashable2<K2>)
        static_assert(detail::alwaysFalse<P>, "no Hashable2 implementation for this type");
    else
        return Hashable2<K2>::liftHashWithSalt2(std::forward<H1>(h1), std::forward<H2>(h2), salt, p);
}

namespace detail {
inline constexpr auto hashElement = [](std::uint64_t s, const auto& x) { return core::hashWithSalt(s, x); };

// Hashable1 of a type whose elements form a sequence.
struct SequenceHash1 {
    template <class H, class FA>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const FA& xs) {
        return hashSequenceWith(salt, xs, h);
    }
};
// Hashable1 of a wrapper {value} hashed as its contents: an element
// (Inner = void) or a structure of tag Inner.
template <class Inner>
struct ValueHash1 {
    template <class H, class FA>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const FA& x) {
        if constexpr (std::is_void_v<Inner>)
            return h(salt, x.value);
        else
            return Hashable1<Inner>::liftHashWithSalt(h, salt, x.value);
    }
};
}  // namespace detail

// ---- Containers ----------------------------------------------------------

template <>
struct Hashable1<ListK> : detail::SequenceHash1 {};
template <>
struct Hashable1<VectorK> : detail::SequenceHash1 {};
template <>
struct Hashable1<NonEmptyK> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const NonEmpty<A>& xs) {
        salt = h(salt, xs.head);
        Int n = 1;
        for (const A& x : xs.tail) {
            salt = h(salt, x);
            ++n;
        }
        return hashInt(salt, n);
    }
};
template <>
struct Hashable1<OptionalK> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const std::optional<A>& x) {
        return x ? h(hashIndex(salt, 1), *x) : hashIndex(salt, 0);
    }
};
template <class L>
    requires HashableType<L>
struct Hashable1<EitherK<L>> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const Either<L, A>& x) {
        return x.isLeft() ? core::hashWithSalt(hashIndex(salt, 0), x.unsafeLeft())
                          : h(hashIndex(salt, 1), x.unsafeRight());
    }
};
template <class W>
    requires HashableType<W>
struct Hashable1<PairK<W>> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const std::pair<W, A>& p) {
        return h(core::hashWithSalt(salt, p.first), p.second);
    }
};

template <>
struct Hashable2<EitherK2> {
    template <class H1, class H2, class A, class B>
    static std::uint64_t liftHashWithSalt2(H1&& h1, H2&& h2, std::uint64_t salt, const Either<A, B>& x) {
        return x.isLeft() ? h1(hashIndex(salt, 0), x.unsafeLeft()) : h2(hashIndex(salt, 1), x.unsafeRight());
    }
};
template <>
struct Hashable2<PairK2> {
    template <class H1, class H2, class A, class B>
    static std::uint64_t liftHashWithSalt2(H1&& h1, H2&& h2, std::uint64_t salt, const std::pair<A, B>& p) {
        return h2(h1(salt, p.first), p.second);
    }
};

// ---- Functor combinators -------------------------------------------------

template <>
struct Hashable1<IdentityK> : detail::ValueHash1<void> {};
template <class S>
struct Hashable1<TaggedK<S>> : detail::ValueHash1<void> {};
template <>
struct Hashable1<ZipListK> : detail::ValueHash1<ListK> {};
template <class M>
    requires IsHashable1<M>
struct Hashable1<IdentityTK<M>> : detail::ValueHash1<M> {};
template <class F>
    requires IsHashable1<F>
struct Hashable1<BackwardsK<F>> : detail::ValueHash1<F> {};
template <class F>
    requires IsHashable1<F>
struct Hashable1<ReverseK<F>> : detail::ValueHash1<F> {};

template <class C>
    requires HashableType<C>
struct Hashable1<ConstK<C>> {
    template <class H, class FA>
    static std::uint64_t liftHashWithSalt(H&&, std::uint64_t salt, const FA& x) {
        return core::hashWithSalt(salt, x.value);
    }
};
template <class C>
    requires HashableType<C>
struct Hashable1<ConstantK<C>> : Hashable1<ConstK<C>> {};
template <>
struct Hashable1<ProxyK> {
    template <class H, class FA>
    static std::uint64_t liftHashWithSalt(H&&, std::uint64_t salt, const FA&) {
        return hashInt(salt, 0);
    }
};
template <class F, class G>
    requires IsHashable1<F> && IsHashable1<G>
struct Hashable1<ComposeK<F, G>> {
    template <class H, class FA>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const FA& x) {
        return Hashable1<F>::liftHashWithSalt(
            [&h](std::uint64_t s, const auto& ga) { return Hashable1<G>::liftHashWithSalt(h, s, ga); }, salt, x.value);
    }
};
template <class F, class G>
    requires IsHashable1<F> && IsHashable1<G>
struct Hashable1<ProductK<F, G>> {
    template <class H, class FA>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const FA& x) {
        return Hashable1<G>::liftHashWithSalt(h, Hashable1<F>::liftHashWithSalt(h, salt, x.first), x.second);
    }
};
template <class F, class G>
    requires IsHashable1<F> && IsHashable1<G>
struct Hashable1<SumK<F, G>> {
    template <class H, class FA>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const FA& x) {
        return x.isInL() ? Hashable1<F>::liftHashWithSalt(h, hashIndex(salt, 0), x.left())
                         : Hashable1<G>::liftHashWithSalt(h, hashIndex(salt, 1), x.right());
    }
};

template <>
struct Hashable2<ConstK2> {
    template <class H1, class H2, class P>
    static std::uint64_t liftHashWithSalt2(H1&& h1, H2&&, std::uint64_t salt, const P& p) {
        return h1(salt, p.value);
    }
};
template <>
struct Hashable2<ConstantK2> : Hashable2<ConstK2> {};
template <>
struct Hashable2<TaggedK2> {
    template <class H1, class H2, class P>
    static std::uint64_t liftHashWithSalt2(H1&&, H2&& h2, std::uint64_t salt, const P& p) {
        return h2(salt, p.value);
    }
};

// Hashable of the combinators: the lifted hash with the elements' own.
namespace detail {
template <class T>
struct LiftedHashable {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const T& x) {
        return Hashable1<KindOfT<T>>::liftHashWithSalt(hashElement, salt, x);
    }
};
template <class T>
concept LiftHashable = IsHashable1<KindOfT<T>> && HashableType<ArgOf<T>>;
}  // namespace detail

template <class A>
    requires HashableType<A>
struct Hashable<Identity<A>> : detail::LiftedHashable<Identity<A>> {};
template <class S, class A>
    requires HashableType<A>
struct Hashable<Tagged<S, A>> : detail::LiftedHashable<Tagged<S, A>> {};
template <class A>
    requires HashableType<A>
struct Hashable<ZipList<A>> : detail::LiftedHashable<ZipList<A>> {};
template <class C, class A>
    requires HashableType<C>
struct Hashable<Const<C, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Const<C, A>& x) { return core::hashWithSalt(salt, x.value); }
};
template <class C, class A>
    requires HashableType<C>
struct Hashable<Constant<C, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Constant<C, A>& x) {
        return core::hashWithSalt(salt, x.value);
    }
};
template <class A>
struct Hashable<Proxy<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Proxy<A>&) { return hashInt(salt, 0); }
};
template <class F, class G, class A>
    requires detail::LiftHashable<Compose<F, G, A>>
struct Hashable<Compose<F, G, A>> : detail::LiftedHashable<Compose<F, G, A>> {};
template <class F, class G, class A>
    requires detail::LiftHashable<Product<F, G, A>>
struct Hashable<Product<F, G, A>> : detail::LiftedHashable<Product<F, G, A>> {};
template <class F, class G, class A>
    requires detail::LiftHashable<Sum<F, G, A>>
struct Hashable<Sum<F, G, A>> : detail::LiftedHashable<Sum<F, G, A>> {};
template <class M, class A>
    requires detail::LiftHashable<IdentityT<M, A>>
struct Hashable<IdentityT<M, A>> : detail::LiftedHashable<IdentityT<M, A>> {};
template <class F, class A>
    requires detail::LiftHashable<Backwards<F, A>>
struct Hashable<Backwards<F, A>> : detail::LiftedHashable<Backwards<F, A>> {};
template <class F, class A>
    requires detail::LiftHashable<Reverse<F, A>>
struct Hashable<Reverse<F, A>> : detail::LiftedHashable<Reverse<F, A>> {};

}  // namespace core
