#pragma once
// The generic interfaces of the keyed maps (core::Map and core::IntMap),
// written once over both, and the keyed free functions the indexed library
// calls: mapWithKey, foldrWithKey, foldlWithKey, foldrWithKeyStrict,
// foldMapWithKey, traverseWithKey.
//
// Elements are the values, visited in ascending key order. Text form:
// `fromList [(1,"a"),(2,"b")]`, in parentheses at precedence 11 and above.
// Byte form: the number of entries as an Int, then each key and value in
// ascending key order; decoding fails with "<Name> keys not strictly
// ascending" when the keys are out of order or repeated. Hash: the number
// of entries as an Int, then each key and value in ascending key order.
// Semigroup: the left-biased union; Monoid: the empty map.
#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Binary.h"
#include "Core/Classes.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/OrdMapBase.h"
#include "Core/Read.h"
#include "Core/Semigroup.h"
#include "Core/Show.h"
#include "Core/Traversable.h"

namespace core {

namespace detail {
// True for core::Map and core::IntMap.
template <class M>
concept OrdMapType = requires {
    typename std::remove_cvref_t<M>::key_type;
    typename std::remove_cvref_t<M>::mapped_type;
} && std::derived_from<std::remove_cvref_t<M>, OrdMapBase<typename std::remove_cvref_t<M>::key_type,
                                                            typename std::remove_cvref_t<M>::mapped_type,
                                                            std::remove_cvref_t<M>,
                                                            typename std::remove_cvref_t<M>::kind_tag>>;
}  // namespace detail

// ---- keyed free functions -------------------------------------------------

// The same keys, valued f(key, value).
template <class F, detail::OrdMapType M>
auto mapWithKey(F&& f, const M& m) {
    return m.mapWithKey(std::forward<F>(f));
}
// Right fold in ascending key order; f(key, value, Lazy<B> rest). z is a B
// or a Lazy<B>. A function that does not force rest stops the fold.
template <class F, class Z, detail::OrdMapType M>
auto foldrWithKey(F&& f, Z&& z, const M& m) {
    return m.foldrWithKey(std::forward<F>(f), std::forward<Z>(z));
}
// Strict left fold in ascending key order: acc = f(acc, key, value).
template <class F, class B, detail::OrdMapType M>
B foldlWithKey(F&& f, B z, const M& m) {
    return m.foldlWithKey(std::forward<F>(f), std::move(z));
}
// Strict right fold from the greatest key down: acc = f(key, value, acc).
template <class F, class B, detail::OrdMapType M>
B foldrWithKeyStrict(F&& f, B z, const M& m) {
    return m.foldrWithKeyStrict(std::forward<F>(f), std::move(z));
}
// f(key, value) combined in their Monoid in ascending key order. With a
// monoid that can stop early (Core/Semigroup.h: combineLazy) the rest is
// combined on demand; otherwise a strict loop, left to right.
template <class F, detail::OrdMapType M>
auto foldMapWithKey(F&& f, const M& m) {
    using K = typename M::key_type;
    using V = typename M::mapped_type;
    using R = Result<F&, const K&, const V&>;
    static_assert(IsMonoid<R>, "foldMapWithKey: no Monoid implementation for the result type");
    if constexpr (IsLazySemigroup<R>) {
        return m.foldrWithKey(
            [f = std::decay_t<F>(std::forward<F>(f))](const K& k, const V& v, const Lazy<R>& rest) {
                return Semigroup<R>::combineLazy(f(k, v), rest);
            },
            Monoid<R>::mempty());
    } else {
        return m.foldlWithKey([&f](R acc, const K& k, const V& v) { return Semigroup<R>::combine(acc, f(k, v)); },
                              Monoid<R>::mempty());
    }
}
// Runs f(key, value) for every entry in ascending key order (any
// Applicative, deduced from f's result) and rebuilds the map from the
// results: G<map of B>.
template <class F, detail::OrdMapType M>
auto traverseWithKey(F&& f, const M& m) {
    using K = typename M::key_type;
    using V = typename M::mapped_type;
    using GB = Result<F&, const K&, const V&>;
    static_assert(HasKind<GB>, "traverseWithKey: the function must return an applicative value");
    using G = KindOfT<GB>;
    using B = ArgOf<GB>;
    using Out = typename M::template rebind<B>;
    auto g = [&f](const std::pair<const K, V>& kv) { return f(kv.first, kv.second); };
    auto vs = detail::traverseToVector<G, B>(g, m.begin(), m.end(), m.size());
    return Functor<G>::fmap(
        [keys = m.keys()](const std::vector<B>& bs) {
            std::vector<std::pair<K, B>> kvs;
            kvs.reserve(bs.size());
            for (std::size_t i = 0; i < bs.size(); ++i) kvs.emplace_back(keys[i], bs[i]);
            return Out::fromDistinctAscList(std::move(kvs));
        },
        std::move(vs));
}

namespace detail {

// ---- implementations shared by the map tags ----

template <class Tag>
struct OrdMapFunctor : FunctorDefaults<Tag, OrdMapFunctor<Tag>> {
    template <class F, class M>
    static auto fmap(F&& f, const M& m) {
        return m.map(std::forward<F>(f));
    }
};

template <class Tag>
struct OrdMapFoldable : FoldableDefaults<Tag, OrdMapFoldable<Tag>> {
    template <class F, class B, class M>
    static B foldr(F&& f, Lazy<B> z, const M& m) {
        using K = typename M::key_type;
        using V = typename M::mapped_type;
        return m.foldrWithKey(
            [f = std::decay_t<F>(std::forward<F>(f))](const K&, const V& v, const Lazy<B>& rest) { return f(v, rest); },
            std::move(z));
    }
    template <class F, class B, class M>
    static B foldlStrict(F&& f, B z, const M& m) {
        using K = typename M::key_type;
        using V = typename M::mapped_type;
        return m.foldlWithKey([&f](B acc, const K&, const V& v) { return f(std::move(acc), v); }, std::move(z));
    }
    template <class F, class B, class M>
    static B foldrStrict(F&& f, B z, const M& m) {
        using K = typename M::key_type;
        using V = typename M::mapped_type;
        return m.foldrWithKeyStrict([&f](const K&, const V& v, B acc) { return f(v, std::move(acc)); }, std::move(z));
    }
    template <class M>
    static auto toList(const M& m) {
        return List<typename M::mapped_type>::fromVector(m.elems());
    }
    template <class M>
    static bool null(const M& m) {
        return m.null();
    }
    template <class M>
    static Int length(const M& m) {
        return static_cast<Int>(m.size());
    }
};

template <class Tag>
struct OrdMapTraversable : TraversableDefaults<Tag, OrdMapTraversable<Tag>> {
    template <class F, class M>
    static auto traverse(F&& f, const M& m) {
        using K = typename M::key_type;
        using V = typename M::mapped_type;
        return traverseWithKey([&f](const K&, const V& v) { return f(v); }, m);
    }
};

template <class Tag>
struct OrdMapEq1 {
    template <class Eq, class M, class N>
    static bool liftEq(Eq&& eq, const M& a, const N& b) {
        if (a.size() != b.size()) return false;
        auto kvEq = [&eq](const auto& x, const auto& y) { return x.first == y.first && eq(x.second, y.second); };
        return rangeEq(kvEq, a.begin(), a.end(), b.begin(), b.end());
    }
};
template <class Tag>
struct OrdMapOrd1 {
    template <class Cmp, class M, class N>
    static Ordering liftCompare(Cmp&& cmp, const M& a, const N& b) {
        auto kvCmp = [&cmp](const auto& x, const auto& y) {
            if (Ordering o = compare(x.first, y.first); o != EQ) return o;
            return cmp(x.second, y.second);
        };
        return rangeCompare(kvCmp, a.begin(), a.end(), b.begin(), b.end());
    }
};

template <class M>
struct OrdMapSemigroup : SemigroupDefaults<M, OrdMapSemigroup<M>> {
    static M combine(const M& a, const M& b) { return a.union_(b); }
};
template <class M>
struct OrdMapMonoid : MonoidDefaults<M, OrdMapMonoid<M>> {
    static M mempty() { return M(); }
};

// "fromList [(k,v),...]", parenthesised at precedence 11 and above.
template <class K, class SP, class M>
void showOrdMapWith(const SP& sp, int d, const M& m, std::string& out) {
    showParen(d >= 11, out, [&] {
        out += "fromList ";
        showListWith(
            [&sp](const auto& kv, std::string& o) {
                o += '(';
                core::showsPrec(0, kv.first, o);
                o += ',';
                sp(0, kv.second, o);
                o += ')';
            },
            m, out);
    });
}
template <class M, class V>
Reader<M> readOrdMapWith(Reader<V> rv) {
    using K = typename M::key_type;
    auto pairs = readListWith(readPairWith(core::readPrec<K>(), std::move(rv)));
    return readUnaryWith<M>("fromList", std::move(pairs),
                            [](const std::vector<std::pair<K, V>>& kvs) { return M::fromList(kvs); });
}

template <class K, class H, class M>
std::uint64_t hashOrdMapWith(H& h, std::uint64_t salt, const M& m) {
    salt = hashInt(salt, static_cast<Int>(m.size()));
    for (const auto& kv : m) salt = h(hashWithSalt(salt, kv.first), kv.second);
    return salt;
}

// Entries written as a list of (key, value) pairs in ascending key order;
// decoding insists on strictly ascending keys, so every decoded map is
// well formed and re-encodes to the same bytes.
template <class M>
struct OrdMapBinary {
    using K = typename M::key_type;
    using V = typename M::mapped_type;
    static constexpr bool encodesToNothing = false;
    static void put(Encoder& out, const M& m) {
        out.putCount(m.size());
        for (const auto& kv : m) {
            core::put<K>(out, kv.first);
            core::put<V>(out, kv.second);
        }
    }
    static DecodeResult<M> get(Decoder& in, const char* orderError) {
        auto n = in.getCount(core::encodesToNothing<K>() && core::encodesToNothing<V>());
        if (!n) return Left(n.error());
        std::vector<std::pair<K, V>> kvs;
        kvs.reserve(std::min<std::size_t>(*n, 64));
        for (std::size_t i = 0; i < *n; ++i) {
            auto k = core::get<K>(in);
            if (!k) return Left(k.error());
            if (!kvs.empty() && !(kvs.back().first < *k)) return Left(std::string(orderError));
            auto v = core::get<V>(in);
            if (!v) return Left(v.error());
            kvs.emplace_back(std::move(k).value(), std::move(v).value());
        }
        return Right(M::fromDistinctAscList(std::move(kvs)));
    }
};

}  // namespace detail
}  // namespace core
