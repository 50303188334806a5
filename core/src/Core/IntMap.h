#pragma once
// core::IntMap<V>: an immutable map keyed by core::Int, in ascending key
// order (negative keys before non-negative ones).
//
//   core::IntMap<std::string> m{{3, "c"}, {-5, "a"}};
//   m.insert(-1, "b").keys();            // {-5, -1, 3}
//   core::show(m);                       // fromList [(-5,"a"),(3,"c")]
//
// The same persistent weight-balanced tree as core::Map, specialised to Int
// keys, with every operation of core::Map (see Core/Map.h): lookups and
// updates in O(log n), size in O(1), bidirectional iterators over
// std::pair<const Int, V>, and the keyed free functions mapWithKey,
// foldrWithKey, foldlWithKey, foldMapWithKey, traverseWithKey. Immutable
// and safe to share between threads without locks.
//
// Interfaces: Functor, Foldable, Traversable (values in key order), Eq/Ord,
// Eq1/Ord1, Show/Read and Show1/Read1 (`fromList [(1,"a"),(2,"b")]`),
// Hashable/Hashable1 (the entry count, then each key and value), Binary
// (the entry count, then each key and value; "IntMap keys not strictly
// ascending" on bytes out of order), Semigroup (left-biased union), Monoid.
// Kind tag `IntMapK`.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "Core/Kinds.h"
#include "Core/OrdMapBase.h"
#include "Core/OrdMapInterfaces.h"
#include "Core/Types.h"

namespace core {

template <class V>
class IntMap;

// Kind tag of core::IntMap, mapped over its values.
struct IntMapK {
    template <class A>
    using apply = IntMap<A>;
    static constexpr const char* typeName = "IntMap";
};

template <class V>
class IntMap : public detail::OrdMapBase<Int, V, IntMap<V>, IntMapK> {
    using Base = detail::OrdMapBase<Int, V, IntMap<V>, IntMapK>;

public:
    using Base::Base;
    IntMap() noexcept = default;
    using kind_tag = IntMapK;
    // The same map type over other values.
    template <class B>
    using rebind = IntMap<B>;
};

template <class A>
struct KindOf<IntMap<A>> {
    using kind = IntMapK;
    using arg = A;
};

template <>
struct Functor<IntMapK> : detail::OrdMapFunctor<IntMapK> {};
template <>
struct Foldable<IntMapK> : detail::OrdMapFoldable<IntMapK> {};
template <>
struct Traversable<IntMapK> : detail::OrdMapTraversable<IntMapK> {};
template <>
struct Eq1<IntMapK> : detail::OrdMapEq1<IntMapK> {};
template <>
struct Ord1<IntMapK> : detail::OrdMapOrd1<IntMapK> {};
template <class V>
struct Semigroup<IntMap<V>> : detail::OrdMapSemigroup<IntMap<V>> {};
template <class V>
struct Monoid<IntMap<V>> : detail::OrdMapMonoid<IntMap<V>> {};

template <>
struct Show1<IntMapK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const IntMap<A>& m, std::string& out) {
        detail::showOrdMapWith<Int>(sp, d, m, out);
    }
};
template <class V>
    requires Showable<V>
struct Show<IntMap<V>> {
    static void showsPrec(int d, const IntMap<V>& m, std::string& out) {
        detail::showOrdMapWith<Int>(ShowsPrecOf<V>{}, d, m, out);
    }
};
template <>
struct Read1<IntMapK> {
    template <class A>
    static Reader<IntMap<A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        return detail::readOrdMapWith<IntMap<A>>(std::move(rp));
    }
};
template <class V>
    requires Readable<V>
struct Read<IntMap<V>> {
    static Reader<IntMap<V>> readPrec() { return detail::readOrdMapWith<IntMap<V>>(core::readPrec<V>()); }
};

template <class V>
    requires HashableType<V>
struct Hashable<IntMap<V>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const IntMap<V>& m) {
        return detail::hashOrdMapWith<Int>(detail::hashElement, salt, m);
    }
};
template <>
struct Hashable1<IntMapK> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const IntMap<A>& m) {
        return detail::hashOrdMapWith<Int>(h, salt, m);
    }
};

namespace decodeError {
inline constexpr const char* intMapKeyOrder = "IntMap keys not strictly ascending";
}
template <BinaryType V>
struct Binary<IntMap<V>> {
    static void put(Encoder& out, const IntMap<V>& m) { detail::OrdMapBinary<IntMap<V>>::put(out, m); }
    static DecodeResult<IntMap<V>> get(Decoder& in) {
        return detail::OrdMapBinary<IntMap<V>>::get(in, decodeError::intMapKeyOrder);
    }
};

}  // namespace core

template <class V>
    requires core::HashableType<core::IntMap<V>>
struct std::hash<core::IntMap<V>> {
    std::size_t operator()(const core::IntMap<V>& m) const { return static_cast<std::size_t>(core::hash(m)); }
};
