// One million inclusive-or pairs: building, mapping and folding a
// std::vector of these::These<int, int> against the same work on a plain
// struct { bool hasL, hasR; int l, r; }. Each benchmark reports the size of
// one value as the counter "bytes".
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <vector>

#include "Data/These.h"
#include "Data/These/Combinators.h"

namespace {

// The general allocator keeps the memory it is given back, instead of
// handing the vectors' pages back to the system after every iteration: the
// round trip would otherwise measure the kernel's page faults, which vary
// between runs with where the allocator's thresholds happen to stand.
const int keepFreedMemory = [] {
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    return 0;
}();

constexpr int N = 1'000'000;

struct Plain {
    bool hasL, hasR;
    int l, r;
};

using T = these::These<int, int>;

T makeThese(int i) {
    switch (i % 3) {
        case 0: return these::This(i);
        case 1: return these::That(i);
        default: return these::These(i, i + 1);
    }
}
Plain makePlain(int i) {
    switch (i % 3) {
        case 0: return {true, false, i, 0};
        case 1: return {false, true, 0, i};
        default: return {true, true, i, i + 1};
    }
}

void TheseBuild(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<T> v;
        v.reserve(N);
        for (int i = 0; i < N; ++i) v.push_back(makeThese(i));
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(TheseBuild)->Unit(benchmark::kMillisecond);

void PlainBuild(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<Plain> v;
        v.reserve(N);
        for (int i = 0; i < N; ++i) v.push_back(makePlain(i));
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(PlainBuild)->Unit(benchmark::kMillisecond);

void TheseFold(benchmark::State& state) {
    std::vector<T> v;
    for (int i = 0; i < N; ++i) v.push_back(makeThese(i));
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (const T& t : v) {
            if (t.hasLeft()) acc += t.left();
            if (t.hasRight()) acc += t.right();
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(TheseFold)->Unit(benchmark::kMillisecond);

void PlainFold(benchmark::State& state) {
    std::vector<Plain> v;
    for (int i = 0; i < N; ++i) v.push_back(makePlain(i));
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (const Plain& p : v) {
            if (p.hasL) acc += p.l;
            if (p.hasR) acc += p.r;
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(PlainFold)->Unit(benchmark::kMillisecond);

// Mapping is deferred: the cost includes building the deferred results and
// forcing them once in a fold.
void TheseMapFold(benchmark::State& state) {
    std::vector<T> v;
    for (int i = 0; i < N; ++i) v.push_back(makeThese(i));
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (const T& t : v) {
            T m = these::bimapThese([](int x) { return x + 1; }, [](int x) { return 2 * x; }, t);
            if (m.hasLeft()) acc += m.left();
            if (m.hasRight()) acc += m.right();
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(TheseMapFold)->Unit(benchmark::kMillisecond);

void PlainMapFold(benchmark::State& state) {
    std::vector<Plain> v;
    for (int i = 0; i < N; ++i) v.push_back(makePlain(i));
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (const Plain& p : v) {
            Plain m{p.hasL, p.hasR, p.l + 1, 2 * p.r};
            benchmark::DoNotOptimize(m);
            if (m.hasL) acc += m.l;
            if (m.hasR) acc += m.r;
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(PlainMapFold)->Unit(benchmark::kMillisecond);

// The whole round: build one million values, map both sides (deferred, so
// each mapped field is a deferred value forced once by the fold), fold.
void TheseBuildMapFold(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<T> v;
        v.reserve(N);
        for (int i = 0; i < N; ++i) v.push_back(makeThese(i));
        std::vector<T> m;
        m.reserve(N);
        for (const T& t : v) m.push_back(core::bimap([](int x) { return x + 1; }, [](int x) { return 2 * x; }, t));
        std::int64_t acc = 0;
        for (const T& t : m) {
            if (t.hasLeft()) acc += t.left();
            if (t.hasRight()) acc += t.right();
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
    state.counters["bytes"] = sizeof(T);
}
BENCHMARK(TheseBuildMapFold)->Unit(benchmark::kMillisecond);

void PlainBuildMapFold(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<Plain> v;
        v.reserve(N);
        for (int i = 0; i < N; ++i) v.push_back(makePlain(i));
        benchmark::DoNotOptimize(v.data());
        std::vector<Plain> m;
        m.reserve(N);
        for (const Plain& p : v) m.push_back(Plain{p.hasL, p.hasR, p.l + 1, 2 * p.r});
        benchmark::DoNotOptimize(m.data());
        std::int64_t acc = 0;
        for (const Plain& p : m) {
            if (p.hasL) acc += p.l;
            if (p.hasR) acc += p.r;
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
    state.counters["bytes"] = sizeof(Plain);
}
BENCHMARK(PlainBuildMapFold)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
