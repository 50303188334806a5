// The comonad library against hand-written loops:
// - rule 110 over 1,000 cells for 1,000 generations, written with a store
//   and extend, each generation tabulated into a core::Array that the next
//   one looks up, against a loop over two std::vector<bool>;
// - extend over a NonEmpty of one million elements with a function that
//   reads two neighbours, every position forced, against the same sums over
//   a std::vector;
// - extract of Identity, EnvT and StoreT over Identity, counting heap
//   allocations (reported as the counter allocs_per_extract).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "Control/Comonad.h"
#include "Control/Comonad/Env.h"
#include "Control/Comonad/Store.h"
#include "Core/Array.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

namespace {
// Out of line, so that the compiler does not pair an inlined malloc with
// the replacement delete below.
[[gnu::noinline]] void* countedMalloc(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
}  // namespace

// Every allocation of the program is counted.
void* operator new(std::size_t n) { return countedMalloc(n); }
void* operator new[](std::size_t n) { return countedMalloc(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int Width = 1000;
constexpr int Generations = 1000;

bool rule110(bool l, bool c, bool r) { return (110 >> ((l ? 4 : 0) | (c ? 2 : 0) | (r ? 1 : 0))) & 1; }

using Cells = comonad::Store<int, bool>;

using Row = core::Array<core::Int, char>;

// A store backed by one generation's array; cells outside it are dead.
Cells tabulate(Row row) {
    return comonad::store([row = std::move(row)](int i) { return i >= 0 && i < Width && row[i] != 0; }, 0);
}

void Rule110Store(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<char> first(Width);
        first[Width - 1] = 1;
        Cells w = tabulate(core::listArray(std::pair<core::Int, core::Int>{0, Width - 1}, first));
        for (int g = 0; g < Generations; ++g) {
            Cells next = comonad::extend(
                [](const Cells& c) {
                    return rule110(comonad::peek(comonad::pos(c) - 1, c), comonad::extract(c),
                                   comonad::peek(comonad::pos(c) + 1, c));
                },
                w);
            std::vector<char> out(Width);
            for (int i = 0; i < Width; ++i) out[static_cast<std::size_t>(i)] = comonad::peek(i, next);
            w = tabulate(core::listArray(std::pair<core::Int, core::Int>{0, Width - 1}, out));
        }
        benchmark::DoNotOptimize(comonad::peek(Width - 1, w));
    }
    state.SetItemsProcessed(state.iterations() * Width * Generations);
}
BENCHMARK(Rule110Store)->Unit(benchmark::kMillisecond);

void Rule110Loop(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<bool> cur(Width), next(Width);
        cur[Width - 1] = true;
        for (int g = 0; g < Generations; ++g) {
            for (int i = 0; i < Width; ++i)
                next[i] = rule110(i > 0 && cur[i - 1], cur[i], i + 1 < Width && cur[i + 1]);
            cur.swap(next);
        }
        benchmark::DoNotOptimize(cur[Width - 1]);
    }
    state.SetItemsProcessed(state.iterations() * Width * Generations);
}
BENCHMARK(Rule110Loop)->Unit(benchmark::kMillisecond);

constexpr int N = 1'000'000;

long neighbours(const core::NonEmpty<long>& w) {
    long s = w.head;
    const auto& t = w.tail.step();
    if (!t) return s;
    s += t->head;
    const auto& t2 = t->tail.step();
    return t2 ? s + t2->head : s;
}

void ExtendNonEmpty(benchmark::State& state) {
    std::vector<long> v(N);
    for (int i = 0; i < N; ++i) v[static_cast<std::size_t>(i)] = i % 7;
    auto xs = core::NonEmpty<long>::fromVector(v);
    for (auto _ : state) {
        auto r = comonad::extend(neighbours, xs);
        long total = r.head;
        for (long x : r.tail) total += x;
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(ExtendNonEmpty)->Unit(benchmark::kMillisecond);

// The floor of any lazy list transformation: a lazy map over the same list.
void MapList(benchmark::State& state) {
    std::vector<long> v(N);
    for (int i = 0; i < N; ++i) v[static_cast<std::size_t>(i)] = i % 7;
    auto xs = core::List<long>::fromVector(v);
    for (auto _ : state) {
        auto r = core::fmap([](long x) { return x * 3; }, xs);
        long total = 0;
        for (long x : r) total += x;
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(MapList)->Unit(benchmark::kMillisecond);

void ExtendVector(benchmark::State& state) {
    std::vector<long> v(N);
    for (int i = 0; i < N; ++i) v[static_cast<std::size_t>(i)] = i % 7;
    for (auto _ : state) {
        std::vector<long> r(N);
        for (std::size_t i = 0; i < v.size(); ++i)
            r[i] = v[i] + (i + 1 < v.size() ? v[i + 1] : 0) + (i + 2 < v.size() ? v[i + 2] : 0);
        long total = 0;
        for (long x : r) total += x;
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(ExtendVector)->Unit(benchmark::kMillisecond);

template <class W>
void extractLoop(benchmark::State& state, const W& w) {
    long before = allocations.load();
    long n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(comonad::extract(w));
        ++n;
    }
    state.counters["allocs_per_extract"] = static_cast<double>(allocations.load() - before) / static_cast<double>(n);
}
void ExtractIdentity(benchmark::State& state) { extractLoop(state, core::Identity<long>{42}); }
void ExtractEnv(benchmark::State& state) { extractLoop(state, comonad::env(1, 42L)); }
void ExtractStore(benchmark::State& state) { extractLoop(state, comonad::store([](long s) { return s * 2; }, 21L)); }
BENCHMARK(ExtractIdentity);
BENCHMARK(ExtractEnv);
BENCHMARK(ExtractStore);

}  // namespace

BENCHMARK_MAIN();
