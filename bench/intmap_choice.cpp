// How core::IntMap should be built: its persistent weight-balanced tree
// against a persistent big-endian Patricia trie over the same Int keys,
// with std::map as the reference. The trie lives in this file only; it is
// a measurement, not a container of the library.
//
// Both persistent structures take their nodes from core's cell pool and
// share untouched nodes between versions through atomic reference counts,
// so the two pay the same for allocation and sharing.
//
// On one million keys, in four key sets:
//   Spread    the keys of bench_containers_map (x * 7919 mod 1000003 for
//             x < 10^6: distinct, almost all of [0, 1000003)), inserted in
//             random order;
//   Dense     0 .. N-1, inserted in ascending order;
//   Negative  the Spread keys less 500000 (half of them negative), in
//             random order;
//   Sparse    distinct uniformly random 64-bit keys (half negative), in
//             random order;
// it measures: lookup of every key in another random order (ns per
// lookup), persistent insertion of all keys one at a time (ms per million),
// a strict in-order fold summing the values (ms per million; core::IntMap
// also through its iterator, `Iterate`), and memory per element after
// building by insertion (counter `bytes_per_elem`: the allocator's bytes in
// use, less the emptied slabs the cell pool keeps).
//
// At start-up the trie is checked against std::map on every key set (each
// lookup, absent keys, the iteration order, persistence); the program
// stops with a message if any check fails.
//
//   cmake --preset bench && cmake --build build/bench -j2 --target bench_intmap_choice
//   build/bench/bench/bench_intmap_choice --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Core/CellPool.h"
#include "Core/IntMap.h"

using core::Int;

namespace {

// ---- a persistent big-endian Patricia trie over Int keys -----------------
//
// Keys are stored with their sign bit flipped, so that unsigned order of the
// stored keys is the signed order of the Int keys: negative keys come first
// and an in-order walk is ascending. A bin holds the bits its keys share
// above its branching bit (the prefix, with the branching bit and the bits
// below it zero); keys with the branching bit clear go left.

using UKey = std::uint64_t;
constexpr UKey signBit = UKey{1} << 63;
UKey toStored(Int k) { return static_cast<UKey>(k) ^ signBit; }
Int fromStored(UKey u) { return static_cast<Int>(u ^ signBit); }

constexpr std::uint8_t tipMark = 0xff;

struct PNode : core::detail::PooledCell {
    explicit PNode(std::uint8_t b) : bit(b) {}
    mutable std::atomic<std::uint32_t> refs{1};
    std::uint8_t bit;  // a bin's branching bit (0..63), or tipMark
};
struct PTip : PNode {
    PTip(UKey k, Int v) : PNode(tipMark), key(k), value(v) {}
    UKey key;
    Int value;
};
struct PBin : PNode {
    PBin(UKey p, std::uint8_t b, const PNode* l, const PNode* r) : PNode(b), prefix(p), left(l), right(r) {}
    UKey prefix;
    const PNode* left;
    const PNode* right;
};
static_assert(sizeof(PTip) == 24 && sizeof(PBin) == 32);

bool isTip(const PNode* t) { return t->bit == tipMark; }
const PTip* asTip(const PNode* t) { return static_cast<const PTip*>(t); }
const PBin* asBin(const PNode* t) { return static_cast<const PBin*>(t); }

void retain(const PNode* p) {
    if (p) p->refs.fetch_add(1, std::memory_order_relaxed);
}
// Drops one reference; frees what is no longer referenced (recursion depth
// at most 64, one level per branching bit).
void drop(const PNode* p) {
    while (p) {
        if (p->refs.load(std::memory_order_acquire) != 1 && p->refs.fetch_sub(1, std::memory_order_acq_rel) != 1)
            return;
        if (isTip(p)) {
            delete asTip(p);
            return;
        }
        const PBin* b = asBin(p);
        const PNode* l = b->left;
        const PNode* r = b->right;
        delete b;
        drop(l);
        p = r;
    }
}

// An owning handle, so that a failed allocation frees what was built.
class PRef {
public:
    PRef() = default;
    explicit PRef(const PNode* p) : p_(p) {}
    PRef(const PRef& o) : p_(o.p_) { retain(p_); }
    PRef(PRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    PRef& operator=(PRef o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~PRef() { drop(p_); }
    const PNode* get() const { return p_; }
    const PNode* release() { return std::exchange(p_, nullptr); }

private:
    const PNode* p_ = nullptr;
};
PRef share(const PNode* p) {
    retain(p);
    return PRef(p);
}

// The prefix of k above bit b (bit b and the bits below it cleared).
UKey prefixAbove(UKey k, unsigned b) { return b == 63 ? 0 : k & ~((UKey{2} << b) - 1); }

PRef bin(UKey prefix, unsigned b, PRef l, PRef r) {
    PRef out(new PBin(prefix, static_cast<std::uint8_t>(b), l.get(), r.get()));
    l.release();
    r.release();
    return out;
}
// The bin over t1 (keys with prefix p1) and t2 (keys with prefix p2),
// where the two prefixes differ.
PRef join(UKey p1, PRef t1, UKey p2, PRef t2) {
    const unsigned b = 63 - static_cast<unsigned>(__builtin_clzll(p1 ^ p2));
    if ((p1 >> b) & 1) return bin(prefixAbove(p1, b), b, std::move(t2), std::move(t1));
    return bin(prefixAbove(p1, b), b, std::move(t1), std::move(t2));
}

// t with k mapped to v: copies the path to k, shares the rest.
PRef insertAt(const PNode* t, UKey k, Int v) {
    if (!t) return PRef(new PTip(k, v));
    if (isTip(t)) {
        const UKey tk = asTip(t)->key;
        if (tk == k) return PRef(new PTip(k, v));
        return join(k, PRef(new PTip(k, v)), tk, share(t));
    }
    const PBin* b = asBin(t);
    if (prefixAbove(k, b->bit) != b->prefix) return join(k, PRef(new PTip(k, v)), b->prefix, share(t));
    if ((k >> b->bit) & 1) return bin(b->prefix, b->bit, share(b->left), insertAt(b->right, k, v));
    return bin(b->prefix, b->bit, insertAt(b->left, k, v), share(b->right));
}

// The value at k, or null: follows the branching bits down to a tip, then
// compares the whole key once.
const Int* findAt(const PNode* t, UKey k) {
    if (!t) return nullptr;
    while (!isTip(t)) {
        const PBin* b = asBin(t);
        t = ((k >> b->bit) & 1) ? b->right : b->left;
    }
    const PTip* tip = asTip(t);
    return tip->key == k ? &tip->value : nullptr;
}

// f(tip) for every tip in ascending key order.
template <class F>
void forEachTip(const PNode* t, F& f) {
    if (!t) return;
    while (!isTip(t)) {
        const PBin* b = asBin(t);
        forEachTip(b->left, f);
        t = b->right;
    }
    f(asTip(t));
}

class PatriciaMap {
public:
    PatriciaMap insert(Int k, Int v) const { return PatriciaMap(insertAt(root_.get(), toStored(k), v)); }
    const Int* find(Int k) const { return findAt(root_.get(), toStored(k)); }
    template <class F, class B>
    B foldlWithKey(F&& f, B z) const {
        auto step = [&](const PTip* t) { z = f(std::move(z), fromStored(t->key), t->value); };
        forEachTip(root_.get(), step);
        return z;
    }
    std::size_t size() const {
        return foldlWithKey([](std::size_t n, Int, Int) { return n + 1; }, std::size_t{0});
    }

private:
    PatriciaMap() = default;
    explicit PatriciaMap(PRef r) : root_(std::move(r)) {}
    PRef root_;

public:
    static PatriciaMap empty() { return PatriciaMap(); }
};

// ---- key sets ----------------------------------------------------------

constexpr std::size_t N = 1'000'000;

enum class KeySet { Spread, Dense, Negative, Sparse };
constexpr KeySet keySets[] = {KeySet::Spread, KeySet::Dense, KeySet::Negative, KeySet::Sparse};
const char* nameOf(KeySet ks) {
    switch (ks) {
        case KeySet::Spread: return "Spread";
        case KeySet::Dense: return "Dense";
        case KeySet::Negative: return "Negative";
        case KeySet::Sparse: return "Sparse";
    }
    return "?";
}

// The keys in insertion order.
std::vector<Int> makeKeys(KeySet ks) {
    std::vector<Int> k(N);
    std::iota(k.begin(), k.end(), Int{0});
    if (ks == KeySet::Dense) return k;
    if (ks == KeySet::Sparse) {
        std::mt19937_64 g(1234);
        std::unordered_set<Int> seen;
        seen.reserve(2 * N);
        for (auto& x : k) {
            do x = static_cast<Int>(g());
            while (!seen.insert(x).second);
        }
        return k;
    }
    // As bench_containers_map: spread, distinct, shuffled.
    for (auto& x : k) x = x * 7919 % 1'000'003;
    std::shuffle(k.begin(), k.end(), std::mt19937_64(42));
    if (ks == KeySet::Negative)
        for (auto& x : k) x -= 500'000;
    return k;
}
const std::vector<Int>& keys(KeySet ks) {
    static std::vector<Int> cache[4] = {makeKeys(KeySet::Spread), makeKeys(KeySet::Dense),
                                        makeKeys(KeySet::Negative), makeKeys(KeySet::Sparse)};
    return cache[static_cast<int>(ks)];
}
// The same keys in another random order, for lookups.
const std::vector<Int>& probes(KeySet ks) {
    static std::vector<Int> cache[4];
    auto& p = cache[static_cast<int>(ks)];
    if (p.empty()) {
        p = keys(ks);
        std::shuffle(p.begin(), p.end(), std::mt19937_64(7));
    }
    return p;
}

// ---- the three structures, behind one interface ------------------------

struct IntMapS {
    using Map = core::IntMap<Int>;
    static constexpr const char* name = "IntMap";
    using Cache = IntMapS;
    static Map build(const std::vector<Int>& ks) {
        Map m;
        for (Int k : ks) m = m.insert(k, k);
        return m;
    }
    static const Int* find(const Map& m, Int k) { return m.find(k); }
    static Int sum(const Map& m) {
        return m.foldlWithKey([](Int acc, Int, Int v) { return acc + v; }, Int{0});
    }
};
struct PatriciaS {
    using Map = PatriciaMap;
    static constexpr const char* name = "Patricia";
    using Cache = PatriciaS;
    static Map build(const std::vector<Int>& ks) {
        Map m = Map::empty();
        for (Int k : ks) m = m.insert(k, k);
        return m;
    }
    static const Int* find(const Map& m, Int k) { return m.find(k); }
    static Int sum(const Map& m) {
        return m.foldlWithKey([](Int acc, Int, Int v) { return acc + v; }, Int{0});
    }
};
struct StdMapS {
    using Map = std::map<Int, Int>;
    static constexpr const char* name = "StdMap";
    using Cache = StdMapS;
    static Map build(const std::vector<Int>& ks) {
        Map m;
        for (Int k : ks) m.emplace(k, k);
        return m;
    }
    static const Int* find(const Map& m, Int k) { return &m.find(k)->second; }
    static Int sum(const Map& m) {
        Int s = 0;
        for (const auto& kv : m) s += kv.second;
        return s;
    }
};

// One built map per structure, kept while the benchmarks of one key set run.
template <class S>
const typename S::Map& builtFor(KeySet ks) {
    static std::unique_ptr<typename S::Map> m;
    static KeySet of = KeySet::Spread;
    if (!m || of != ks) {
        m.reset();
        m = std::make_unique<typename S::Map>(S::build(keys(ks)));
        of = ks;
    }
    return *m;
}

template <class S>
void lookupBench(benchmark::State& state, KeySet ks) {
    const auto& m = builtFor<typename S::Cache>(ks);
    const auto& ps = probes(ks);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(S::find(m, ps[i]));
        if (++i == ps.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
template <class S>
void insertBench(benchmark::State& state, KeySet ks) {
    const auto& k = keys(ks);
    for (auto _ : state) {
        auto m = S::build(k);
        benchmark::DoNotOptimize(&m);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
template <class S>
void foldBench(benchmark::State& state, KeySet ks) {
    const auto& m = builtFor<S>(ks);
    for (auto _ : state) benchmark::DoNotOptimize(S::sum(m));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
// core::IntMap walked by its iterator as well as folded.
void iterateIntMapBench(benchmark::State& state, KeySet ks) {
    const auto& m = builtFor<IntMapS>(ks);
    for (auto _ : state) {
        Int s = 0;
        for (const auto& kv : m) s += kv.second;
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
template <class S>
void memoryBench(benchmark::State& state, KeySet ks) {
    double perElem = 0;
    for (auto _ : state) {
        auto inUse = [] {
            return mallinfo2().uordblks - core::detail::cellPoolUsage().slabsKept * core::detail::cellPoolSlabBytes;
        };
        const std::size_t before = inUse();
        {
            auto m = S::build(keys(ks));
            const std::size_t after = inUse();
            perElem = (static_cast<double>(after) - static_cast<double>(before)) / static_cast<double>(N);
            benchmark::DoNotOptimize(&m);
        }
    }
    state.counters["bytes_per_elem"] = perElem;
}

// ---- the start-up check of the trie --------------------------------------

void fail(KeySet ks, const std::string& what) {
    std::fprintf(stderr, "Patricia trie check failed on the %s keys: %s\n", nameOf(ks), what.c_str());
    std::exit(1);
}

void checkAgainstStdMap(KeySet ks) {
    const auto& k = keys(ks);
    std::map<Int, Int> ref;
    PatriciaMap t = PatriciaMap::empty();
    core::IntMap<Int> im;
    for (Int x : k) {
        ref.emplace(x, ~x);
        t = t.insert(x, ~x);
        im = im.insert(x, ~x);
    }
    if (t.size() != ref.size()) fail(ks, "size " + std::to_string(t.size()) + " != " + std::to_string(ref.size()));
    for (Int x : probes(ks)) {
        const Int* v = t.find(x);
        if (!v || *v != ~x) fail(ks, "lookup of " + std::to_string(x));
    }
    // Absent keys: neighbours of present keys that std::map lacks.
    std::size_t absentChecked = 0;
    for (std::size_t i = 0; i < k.size() && absentChecked < 100000; i += 7) {
        for (Int d : {Int{-1}, Int{1}}) {
            if (k[i] == INT64_MIN && d < 0) continue;
            if (k[i] == INT64_MAX && d > 0) continue;
            const Int y = k[i] + d;
            if (ref.count(y)) continue;
            ++absentChecked;
            if (t.find(y)) fail(ks, "absent key " + std::to_string(y) + " found");
        }
    }
    for (Int y : {INT64_MIN, Int{-1}, Int{0}, INT64_MAX})
        if (!ref.count(y) && t.find(y)) fail(ks, "absent key " + std::to_string(y) + " found");
    // Iteration order: the trie's and core::IntMap's both equal std::map's.
    std::vector<std::pair<Int, Int>> walkT, walkI;
    walkT.reserve(N);
    walkI.reserve(N);
    t.foldlWithKey([&](int, Int key, Int v) { walkT.emplace_back(key, v); return 0; }, 0);
    im.forEachWithKey([&](Int key, Int v) { walkI.emplace_back(key, v); });
    auto same = [](const std::pair<Int, Int>& a, const std::pair<const Int, Int>& b) {
        return a.first == b.first && a.second == b.second;
    };
    if (!std::equal(walkT.begin(), walkT.end(), ref.begin(), ref.end(), same))
        fail(ks, "in-order walk differs from std::map's");
    if (!std::equal(walkI.begin(), walkI.end(), ref.begin(), ref.end(), same))
        fail(ks, "core::IntMap's in-order walk differs from std::map's");
    // Persistence: an insertion leaves the old version as it was.
    const Int present = k[N / 2];
    Int absent = present;
    while (ref.count(absent)) ++absent;
    PatriciaMap t2 = t.insert(absent, 5).insert(present, 6);
    if (t.find(absent) || *t.find(present) != ~present) fail(ks, "an insertion changed the old version");
    if (!t2.find(absent) || *t2.find(absent) != 5 || *t2.find(present) != 6)
        fail(ks, "the new version lacks an insertion");
    if (t2.size() != N + 1 || t.size() != N) fail(ks, "sizes after insertion");
}

template <class S>
void registerFor(KeySet ks) {
    const std::string suffix = std::string("/") + nameOf(ks) + "/" + S::name;
    benchmark::RegisterBenchmark(("Lookup" + suffix).c_str(), lookupBench<S>, ks);
    benchmark::RegisterBenchmark(("Fold" + suffix).c_str(), foldBench<S>, ks)->Unit(benchmark::kMillisecond);
    if constexpr (std::is_same_v<S, IntMapS>)
        benchmark::RegisterBenchmark(("Iterate" + suffix).c_str(), iterateIntMapBench, ks)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Insert" + suffix).c_str(), insertBench<S>, ks)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Memory" + suffix).c_str(), memoryBench<S>, ks)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

}  // namespace

int main(int argc, char** argv) {
    for (KeySet ks : keySets) checkAgainstStdMap(ks);
    std::fprintf(stderr, "Patricia trie checked against std::map on all four key sets.\n");
    for (KeySet ks : keySets) {
        registerFor<IntMapS>(ks);
        registerFor<PatriciaS>(ks);
        registerFor<StdMapS>(ks);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
