#pragma once
// Kind tags: names for type constructors, so that generic interfaces can be
// specialised on "List" or "std::optional" rather than on one element type.
//
//   struct ListK { template <class A> using apply = List<A>; };
//   core::Apply<ListK, int>            // List<int>
//   core::KindOf<List<int>>::kind      // ListK
//   core::KindOf<List<int>>::arg       // int
//
// One-parameter tags have a member alias `apply<A>`; two-parameter tags
// (Either, std::pair, arrows) have `apply<A, B>` and are reached through
// Apply2 and KindOf2. The trait KindOf maps a concrete type back to its tag
// and element type, so free functions (core::fmap, core::traverse, ...)
// deduce everything from their arguments.
//
// This header defines the tags of the standard and core container types;
// the functor combinators (Identity, Const, Compose, ...) define theirs in
// Core/FunctorTypes.h.
#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Either.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Types.h"

namespace core {

// The concrete type of tag K applied to A (and B for two-parameter tags).
template <class K, class A>
using Apply = typename K::template apply<A>;
template <class K, class A, class B>
using Apply2 = typename K::template apply<A, B>;

// Maps a concrete type to its one-parameter tag (`kind`) and its element
// type (`arg`). Specialised next to every type that has a tag.
template <class T>
struct KindOf {};
// Same for two-parameter tags: `kind`, `first`, `second`.
template <class T>
struct KindOf2 {};

// True when T is a tag applied to an element type.
template <class T>
concept HasKind = requires {
    typename KindOf<std::remove_cvref_t<T>>::kind;
    typename KindOf<std::remove_cvref_t<T>>::arg;
};
template <class T>
concept HasKind2 = requires {
    typename KindOf2<std::remove_cvref_t<T>>::kind;
    typename KindOf2<std::remove_cvref_t<T>>::first;
    typename KindOf2<std::remove_cvref_t<T>>::second;
};

template <class T>
using KindOfT = typename KindOf<std::remove_cvref_t<T>>::kind;
template <class T>
using ArgOf = typename KindOf<std::remove_cvref_t<T>>::arg;
template <class T>
using Kind2Of = typename KindOf2<std::remove_cvref_t<T>>::kind;

namespace detail {
// The tag of T, or NoKind when T has none (so that a missing implementation
// is reported by one static_assert instead of a cascade of errors).
struct NoKind {
    template <class A>
    using apply = void;
};
template <class T>
struct KindOrNoneImpl {
    using type = NoKind;
};
template <HasKind T>
struct KindOrNoneImpl<T> {
    using type = KindOfT<T>;
};
template <class T>
using KindOrNone = typename KindOrNoneImpl<std::remove_cvref_t<T>>::type;

struct NoKind2 {
    template <class A, class B>
    using apply = void;
};
template <class T>
struct Kind2OrNoneImpl {
    using type = NoKind2;
};
template <HasKind2 T>
struct Kind2OrNoneImpl<T> {
    using type = Kind2Of<T>;
};
template <class T>
using Kind2OrNone = typename Kind2OrNoneImpl<std::remove_cvref_t<T>>::type;
}  // namespace detail

// The element type a function returns for an element: invoke_result without
// references or const.
template <class F, class... A>
using Result = std::remove_cvref_t<std::invoke_result_t<F, A...>>;

// ---- Tags of the standard and core types ---------------------------------

// core::List<A>: lazy cons list.
struct ListK {
    template <class A>
    using apply = List<A>;
};
template <class A>
struct KindOf<List<A>> {
    using kind = ListK;
    using arg = A;
};

// std::optional<A>: the optional value.
struct OptionalK {
    template <class A>
    using apply = std::optional<A>;
};
template <class A>
struct KindOf<std::optional<A>> {
    using kind = OptionalK;
    using arg = A;
};
// The two optional values: `Just(x)` holds x, `Nothing` holds nothing.
inline constexpr std::nullopt_t Nothing = std::nullopt;
template <class A>
std::optional<std::decay_t<A>> Just(A&& x) {
    return std::optional<std::decay_t<A>>(std::forward<A>(x));
}

// core::Either<L, A>, mapped over its Right side.
template <class L>
struct EitherK {
    template <class A>
    using apply = Either<L, A>;
};
template <class L, class A>
struct KindOf<Either<L, A>> {
    using kind = EitherK<L>;
    using arg = A;
};
// Either as a two-parameter constructor (Bifunctor and friends).
struct EitherK2 {
    template <class A, class B>
    using apply = Either<A, B>;
};
template <class A, class B>
struct KindOf2<Either<A, B>> {
    using kind = EitherK2;
    using first = A;
    using second = B;
};

// std::vector<A>.
struct VectorK {
    template <class A>
    using apply = std::vector<A>;
};
template <class A>
struct KindOf<std::vector<A>> {
    using kind = VectorK;
    using arg = A;
};

// std::deque<A>.
struct DequeK {
    template <class A>
    using apply = std::deque<A>;
};
template <class A>
struct KindOf<std::deque<A>> {
    using kind = DequeK;
    using arg = A;
};

// std::array<A, N>: one tag per size, so mapping and traversing keep it.
template <std::size_t N>
struct StdArrayK {
    template <class A>
    using apply = std::array<A, N>;
};
template <class A, std::size_t N>
struct KindOf<std::array<A, N>> {
    using kind = StdArrayK<N>;
    using arg = A;
};

// std::span<A, Extent>, a view that can only be read (folded): the element
// type is A without const, and the tag applied to A is a span of const A.
template <std::size_t Extent = std::dynamic_extent>
struct SpanK {
    template <class A>
    using apply = std::span<const A, Extent>;
};
template <class A, std::size_t Extent>
struct KindOf<std::span<A, Extent>> {
    using kind = SpanK<Extent>;
    using arg = std::remove_cv_t<A>;
};

// core::NonEmpty<A>.
struct NonEmptyK {
    template <class A>
    using apply = NonEmpty<A>;
};
template <class A>
struct KindOf<NonEmpty<A>> {
    using kind = NonEmptyK;
    using arg = A;
};

// std::pair<W, A>, mapped over its second component. With a Monoid W it is
// the writer-like applicative: effects accumulate W with `combine`, left
// first (used for accumulation and logging).
template <class W>
struct PairK {
    template <class A>
    using apply = std::pair<W, A>;
};
template <class W, class A>
struct KindOf<std::pair<W, A>> {
    using kind = PairK<W>;
    using arg = A;
};
struct PairK2 {
    template <class A, class B>
    using apply = std::pair<A, B>;
};
template <class A, class B>
struct KindOf2<std::pair<A, B>> {
    using kind = PairK2;
    using first = A;
    using second = B;
};

// std::map<Key, A>, mapped over its values in key order.
template <class Key>
struct MapK {
    template <class A>
    using apply = std::map<Key, A>;
};
template <class Key, class A>
struct KindOf<std::map<Key, A>> {
    using kind = MapK<Key>;
    using arg = A;
};

// Functions from R: core::Fn<R, A> is std::function<A(R)>. A Functor maps
// the result, an Applicative/Monad passes the same R to every part (the
// reader), a Distributive moves the argument outwards.
template <class R, class A>
using Fn = std::function<A(R)>;
template <class R>
struct FunctionK {
    template <class A>
    using apply = Fn<R, A>;
};
template <class R, class A>
struct KindOf<std::function<A(R)>> {
    using kind = FunctionK<R>;
    using arg = A;
};
// Plain functions as arrows (Category, Arrow): apply<A, B> = Fn<A, B>.
struct FunctionA {
    template <class A, class B>
    using apply = Fn<A, B>;
};
template <class A, class B>
struct KindOf2<std::function<B(A)>> {
    using kind = FunctionA;
    using first = A;
    using second = B;
};

// Wraps any callable taking R into Fn<R, result>.
template <class R, class F>
Fn<R, Result<F&, R>> fn(F f) {
    return Fn<R, Result<F&, R>>(std::move(f));
}

}  // namespace core
