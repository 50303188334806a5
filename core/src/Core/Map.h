#pragma once
// core::Map<K, V>: an immutable ordered map, ordered by K's operator<.
//
//   auto m = core::Map<core::Int, std::string>{{2, "b"}, {1, "a"}};
//   auto m2 = m.insert(3, "c");          // m is unchanged; m2 shares its nodes
//   m2.lookup(3);                        // std::optional("c")
//   for (const auto& [k, v] : m2) ...;   // ascending key order
//   core::show(m2);                      // fromList [(1,"a"),(2,"b"),(3,"c")]
//
// A persistent weight-balanced search tree (Core/WBTree.h). Every update
// returns a new map that shares all the nodes it did not change, so
// copying a map is O(1) and old versions stay valid. A map may be read by
// any number of threads at once without locks. Keys and values are copied
// into the nodes an update rebuilds (the O(log n) path to the change): keep
// large values behind a shared pointer. A map holds at most 2^32 - 1
// entries (more raise core::Error).
//
// Operations (n the size, m <= n the smaller operand):
//   empty(), singleton(k, v), fromList(range | {..}), fromListWith(f, xs),
//   fromDistinctAscList(v)                                     construction
//   size() O(1), null(), lookup(k) -> optional, find(k) -> pointer,
//   findWithDefault(d, k), member(k), at(k), lookupMin(), lookupMax(),
//   lookupLT/LE/GE/GT(k), elemAt(i), lookupIndex(k)            O(log n)
//   insert(k, v), insertWith(f, k, v) (f(new, old)), insertWithKey,
//   erase(k), adjust(f, k), adjustWithKey, alter(f, k), update(f, k),
//   deleteMin(), deleteMax()                                   O(log n)
//   split(k), splitLookup(k), take(n), drop(n)                 O(log n)
//   union_(o) (left-biased; `union` is a C++ keyword), unionWith(f, o),
//   intersection(o), intersectionWith(f, o), intersectionWithKey(f, o),
//   difference(o), isSubmapOfBy(f, o)            O(m log(n/m + 1))
//   filter(p), filterWithKey(p), partitionWithKey(p), map(f),
//   mapWithKey(f)                                              O(n)
//   toAscList(), toDescList(), keys(), elems()                 O(n)
//   foldrWithKey(f, z): f(k, v, Lazy<B> rest), stops when rest is unused;
//   foldlWithKey(f, z): acc = f(acc, k, v), a loop; foldrWithKeyStrict.
//   begin()/end(): bidirectional iterators over std::pair<const K, V>;
//   rbegin()/rend(), lowerBound(k).
// The free functions mapWithKey, foldrWithKey, foldlWithKey,
// foldMapWithKey, traverseWithKey (Core/OrdMapInterfaces.h) take the map
// last, as the generic vocabulary does.
//
// Interfaces: Functor, Foldable, Traversable (over the values, in key
// order), Eq/Ord (== and <=>: the ascending entry lists), Eq1/Ord1,
// Show/Read and Show1/Read1 (`fromList [(1,"a")]`), Hashable/Hashable1,
// Binary, Semigroup (left-biased union) and Monoid (empty); over keys and
// values together Eq2/Ord2/Show2. Kind tags `OrdMapK<K>` (std::map keeps
// `MapK<K>`) and, with two parameters, `OrdMapK2`.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "Core/Kinds.h"
#include "Core/OrdMapBase.h"
#include "Core/OrdMapInterfaces.h"

namespace core {

template <class K, class V>
class Map;

// Kind tag of core::Map<K, _>, mapped over its values.
template <class K>
struct OrdMapK {
    template <class A>
    using apply = Map<K, A>;
    static constexpr const char* typeName = "Map";
};

template <class K, class V>
class Map : public detail::OrdMapBase<K, V, Map<K, V>, OrdMapK<K>> {
    using Base = detail::OrdMapBase<K, V, Map<K, V>, OrdMapK<K>>;

public:
    using Base::Base;
    Map() noexcept = default;
    using kind_tag = OrdMapK<K>;
    // The same map type over other values.
    template <class B>
    using rebind = Map<K, B>;
};
template <class K, class A>
struct KindOf<Map<K, A>> {
    using kind = OrdMapK<K>;
    using arg = A;
};

// Kind tag of core::Map as a two-parameter constructor (keys and values),
// for the lifted comparisons and text form Eq2, Ord2 and Show2.
struct OrdMapK2 {
    template <class K, class A>
    using apply = Map<K, A>;
};
template <class K, class A>
struct KindOf2<Map<K, A>> {
    using kind = OrdMapK2;
    using first = K;
    using second = A;
};

template <>
struct Eq2<OrdMapK2> {
    template <class EqK, class EqV, class K1, class V1, class K2, class V2>
    static bool liftEq2(EqK&& eqK, EqV&& eqV, const Map<K1, V1>& a, const Map<K2, V2>& b) {
        if (a.size() != b.size()) return false;
        auto kvEq = [&](const auto& x, const auto& y) { return eqK(x.first, y.first) && eqV(x.second, y.second); };
        return detail::rangeEq(kvEq, a.begin(), a.end(), b.begin(), b.end());
    }
};
template <>
struct Ord2<OrdMapK2> {
    template <class CmpK, class CmpV, class K1, class V1, class K2, class V2>
    static Ordering liftCompare2(CmpK&& cmpK, CmpV&& cmpV, const Map<K1, V1>& a, const Map<K2, V2>& b) {
        auto kvCmp = [&](const auto& x, const auto& y) {
            if (Ordering o = cmpK(x.first, y.first); o != EQ) return o;
            return cmpV(x.second, y.second);
        };
        return detail::rangeCompare(kvCmp, a.begin(), a.end(), b.begin(), b.end());
    }
};
template <>
struct Show2<OrdMapK2> {
    template <class SP1, class SL1, class SP2, class SL2, class K, class A>
    static void liftShowsPrec2(const SP1& sp1, const SL1&, const SP2& sp2, const SL2&, int d, const Map<K, A>& m,
                               std::string& out) {
        showParen(d >= 11, out, [&] {
            out += "fromList ";
            showListWith(
                [&](const auto& kv, std::string& o) {
                    o += '(';
                    sp1(0, kv.first, o);
                    o += ',';
                    sp2(0, kv.second, o);
                    o += ')';
                },
                m, out);
        });
    }
};

template <class K>
struct Functor<OrdMapK<K>> : detail::OrdMapFunctor<OrdMapK<K>> {};
template <class K>
struct Foldable<OrdMapK<K>> : detail::OrdMapFoldable<OrdMapK<K>> {};
template <class K>
struct Traversable<OrdMapK<K>> : detail::OrdMapTraversable<OrdMapK<K>> {};
template <class K>
struct Eq1<OrdMapK<K>> : detail::OrdMapEq1<OrdMapK<K>> {};
template <class K>
struct Ord1<OrdMapK<K>> : detail::OrdMapOrd1<OrdMapK<K>> {};
template <class K, class V>
struct Semigroup<Map<K, V>> : detail::OrdMapSemigroup<Map<K, V>> {};
template <class K, class V>
struct Monoid<Map<K, V>> : detail::OrdMapMonoid<Map<K, V>> {};

template <class K>
struct Show1<OrdMapK<K>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const Map<K, A>& m, std::string& out) {
        detail::showOrdMapWith<K>(sp, d, m, out);
    }
};
template <class K, class V>
    requires Showable<K> && Showable<V>
struct Show<Map<K, V>> {
    static void showsPrec(int d, const Map<K, V>& m, std::string& out) {
        detail::showOrdMapWith<K>(ShowsPrecOf<V>{}, d, m, out);
    }
};
template <class K>
struct Read1<OrdMapK<K>> {
    template <class A>
    static Reader<Map<K, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        return detail::readOrdMapWith<Map<K, A>>(std::move(rp));
    }
};
template <class K, class V>
    requires Readable<K> && Readable<V>
struct Read<Map<K, V>> {
    static Reader<Map<K, V>> readPrec() { return detail::readOrdMapWith<Map<K, V>>(core::readPrec<V>()); }
};

template <class K, class V>
    requires HashableType<K> && HashableType<V>
struct Hashable<Map<K, V>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Map<K, V>& m) {
        return detail::hashOrdMapWith<K>(detail::hashElement, salt, m);
    }
};
template <class K>
    requires HashableType<K>
struct Hashable1<OrdMapK<K>> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const Map<K, A>& m) {
        return detail::hashOrdMapWith<K>(h, salt, m);
    }
};

namespace decodeError {
inline constexpr const char* mapKeyOrder = "Map keys not strictly ascending";
}
template <BinaryType K, BinaryType V>
struct Binary<Map<K, V>> {
    static void put(Encoder& out, const Map<K, V>& m) { detail::OrdMapBinary<Map<K, V>>::put(out, m); }
    static DecodeResult<Map<K, V>> get(Decoder& in) {
        return detail::OrdMapBinary<Map<K, V>>::get(in, decodeError::mapKeyOrder);
    }
};

}  // namespace core

template <class K, class V>
    requires core::HashableType<core::Map<K, V>>
struct std::hash<core::Map<K, V>> {
    std::size_t operator()(const core::Map<K, V>& m) const { return static_cast<std::size_t>(core::hash(m)); }
};
