// core::Map and core::IntMap (persistent weight-balanced trees) against
// std::map (red-black tree) and absl::btree_map, on one million Int keys
// inserted in random order: lookup, insertion one key at a time, in-order
// iteration, and memory per element (the counter `bytes_per_elem`, from
// the allocator's statistics and the slabs of core's cell pool).
//
//   build/bench/bench/bench_containers_map --benchmark_min_time=0.05
#include <benchmark/benchmark.h>

#include <absl/container/btree_map.h>
#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <numeric>
#include <random>
#include <vector>

#include "Core/CellPool.h"
#include "Core/IntMap.h"
#include "Core/Map.h"

using core::Int;

namespace {

constexpr std::size_t N = 1'000'000;

const std::vector<Int>& randomKeys() {
    static const std::vector<Int> keys = [] {
        std::vector<Int> k(N);
        std::iota(k.begin(), k.end(), Int{0});
        for (auto& x : k) x = x * 7919 % 1'000'003;  // spread, distinct
        std::shuffle(k.begin(), k.end(), std::mt19937_64(42));
        return k;
    }();
    return keys;
}
// The keys again, in another random order, for lookups.
const std::vector<Int>& probeKeys() {
    static const std::vector<Int> keys = [] {
        std::vector<Int> k = randomKeys();
        std::shuffle(k.begin(), k.end(), std::mt19937_64(7));
        return k;
    }();
    return keys;
}

template <class M>
M buildPersistent() {
    M m;
    for (Int k : randomKeys()) m = m.insert(k, k);
    return m;
}
template <class M>
M buildStd() {
    M m;
    for (Int k : randomKeys()) m.emplace(k, k);
    return m;
}

const core::Map<Int, Int>& coreMap() {
    static const auto m = buildPersistent<core::Map<Int, Int>>();
    return m;
}
const core::IntMap<Int>& coreIntMap() {
    static const auto m = buildPersistent<core::IntMap<Int>>();
    return m;
}
const std::map<Int, Int>& stdMap() {
    static const auto m = buildStd<std::map<Int, Int>>();
    return m;
}
const absl::btree_map<Int, Int>& btreeMap() {
    static const auto m = buildStd<absl::btree_map<Int, Int>>();
    return m;
}

// ---- lookup ----

template <class M, class Find>
void lookupLoop(benchmark::State& state, const M& m, Find find) {
    const auto& probes = probeKeys();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(find(m, probes[i]));
        if (++i == probes.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_Lookup_CoreMap(benchmark::State& state) {
    lookupLoop(state, coreMap(), [](const auto& m, Int k) { return m.find(k); });
}
void BM_Lookup_CoreIntMap(benchmark::State& state) {
    lookupLoop(state, coreIntMap(), [](const auto& m, Int k) { return m.find(k); });
}
void BM_Lookup_StdMap(benchmark::State& state) {
    lookupLoop(state, stdMap(), [](const auto& m, Int k) { return &m.find(k)->second; });
}
void BM_Lookup_AbslBtree(benchmark::State& state) {
    lookupLoop(state, btreeMap(), [](const auto& m, Int k) { return &m.find(k)->second; });
}

// ---- insertion of one million keys, one at a time ----

void BM_Insert_CoreMapPersistent(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(buildPersistent<core::Map<Int, Int>>().size());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
void BM_Insert_CoreIntMapPersistent(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(buildPersistent<core::IntMap<Int>>().size());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
void BM_Insert_StdMap(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(buildStd<std::map<Int, Int>>().size());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
void BM_Insert_AbslBtree(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(buildStd<absl::btree_map<Int, Int>>().size());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
// Bulk construction from unsorted pairs (sort, then a balanced build).
void BM_FromList_CoreMap(benchmark::State& state) {
    std::vector<std::pair<Int, Int>> kvs;
    for (Int k : randomKeys()) kvs.emplace_back(k, k);
    for (auto _ : state) benchmark::DoNotOptimize(core::Map<Int, Int>::fromList(kvs).size());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}

// ---- in-order iteration ----

template <class M>
void iterateLoop(benchmark::State& state, const M& m) {
    for (auto _ : state) {
        Int s = 0;
        for (const auto& kv : m) s += kv.second;
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}
void BM_Iterate_CoreMap(benchmark::State& state) { iterateLoop(state, coreMap()); }
void BM_Iterate_StdMap(benchmark::State& state) { iterateLoop(state, stdMap()); }
void BM_Iterate_AbslBtree(benchmark::State& state) { iterateLoop(state, btreeMap()); }
void BM_FoldlWithKey_CoreMap(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(coreMap().foldlWithKey([](Int acc, Int, Int v) { return acc + v; }, Int{0}));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * N));
}

// ---- memory per element ----

template <class Build>
void memoryOf(benchmark::State& state, Build build) {
    double perElem = 0;
    for (auto _ : state) {
        // The allocator's bytes in use, less the emptied slabs that core's
        // cell pool (which serves the tree nodes) keeps for reuse.
        auto inUse = [] {
            return mallinfo2().uordblks - core::detail::cellPoolUsage().slabsKept * core::detail::cellPoolSlabBytes;
        };
        const std::size_t before = inUse();
        auto m = build();
        const std::size_t after = inUse();
        perElem = static_cast<double>(after - before) / static_cast<double>(N);
        benchmark::DoNotOptimize(m.size());
    }
    state.counters["bytes_per_elem"] = perElem;
}
void BM_Memory_CoreMap(benchmark::State& state) {
    memoryOf(state, [] {
        std::vector<std::pair<Int, Int>> kvs;
        for (Int k : randomKeys()) kvs.emplace_back(k, k);
        std::sort(kvs.begin(), kvs.end());
        return core::Map<Int, Int>::fromDistinctAscList(std::move(kvs));
    });
}
void BM_Memory_StdMap(benchmark::State& state) { memoryOf(state, [] { return buildStd<std::map<Int, Int>>(); }); }
void BM_Memory_AbslBtree(benchmark::State& state) {
    memoryOf(state, [] { return buildStd<absl::btree_map<Int, Int>>(); });
}

}  // namespace

BENCHMARK(BM_Lookup_CoreMap);
BENCHMARK(BM_Lookup_CoreIntMap);
BENCHMARK(BM_Lookup_StdMap);
BENCHMARK(BM_Lookup_AbslBtree);
BENCHMARK(BM_Insert_CoreMapPersistent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert_CoreIntMapPersistent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert_StdMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert_AbslBtree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromList_CoreMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iterate_CoreMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iterate_StdMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iterate_AbslBtree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoldlWithKey_CoreMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory_CoreMap)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Memory_StdMap)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Memory_AbslBtree)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
