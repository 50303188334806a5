// Deferred values and lazy lists against their strict counterparts:
//  - creating and forcing a core::Lazy<int> against a plain int;
//  - building and strictly folding a one-million-element core::List against
//    the same work on a std::vector;
//  - a lazy right fold whose function uses every rest, over one million
//    List elements, against creating and forcing one million deferred
//    values (the floor for a fold that makes one deferred rest per
//    element); read FoldrEveryRest / LazyCreateForceMillion, and against
//    hand-written recursions over the same list, with and without a
//    deferred rest per level (FoldrDeferredRecursion, FoldrHandRecursion);
//  - the size of a List cell.
#include <benchmark/benchmark.h>
#include <pthread.h>

#include <cstdint>
#include <vector>

#include "Core/Foldable.h"
#include "Core/Lazy.h"
#include "Core/List.h"

namespace {

void LazyCreateForce(benchmark::State& state) {
    int seed = 1;
    for (auto _ : state) {
        auto x = core::defer([seed] { return seed * 3 + 1; });
        benchmark::DoNotOptimize(x.force());
        ++seed;
    }
}
BENCHMARK(LazyCreateForce);

void LazyReadyForce(benchmark::State& state) {
    int seed = 1;
    for (auto _ : state) {
        auto x = core::now(seed * 3 + 1);
        benchmark::DoNotOptimize(x.force());
        ++seed;
    }
}
BENCHMARK(LazyReadyForce);

void PlainValue(benchmark::State& state) {
    int seed = 1;
    for (auto _ : state) {
        int x = seed * 3 + 1;
        benchmark::DoNotOptimize(x);
        ++seed;
    }
}
BENCHMARK(PlainValue);

void ForceEvaluated(benchmark::State& state) {
    auto x = core::defer([] { return 42; });
    x.force();
    for (auto _ : state) benchmark::DoNotOptimize(x.force());
}
BENCHMARK(ForceEvaluated);

constexpr std::int64_t N = 1'000'000;

void ListBuildFold(benchmark::State& state) {
    for (auto _ : state) {
        core::List<std::int64_t> xs;
        for (std::int64_t i = N; i > 0; --i) xs = core::List<std::int64_t>::cons(i, std::move(xs));
        benchmark::DoNotOptimize(xs.foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; }, std::int64_t{0}));
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(ListBuildFold)->Unit(benchmark::kMillisecond);

void ListLazyBuildFold(benchmark::State& state) {
    for (auto _ : state) {
        auto xs = core::List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, 1).take(N);
        benchmark::DoNotOptimize(xs.foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; }, std::int64_t{0}));
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(ListLazyBuildFold)->Unit(benchmark::kMillisecond);

void VectorBuildFold(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::int64_t> xs;
        for (std::int64_t i = 1; i <= N; ++i) xs.push_back(i);
        std::int64_t acc = 0;
        for (std::int64_t x : xs) acc += x;
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(VectorBuildFold)->Unit(benchmark::kMillisecond);

void ListFoldOnly(benchmark::State& state) {
    core::List<std::int64_t> xs;
    for (std::int64_t i = N; i > 0; --i) xs = core::List<std::int64_t>::cons(i, std::move(xs));
    for (auto _ : state)
        benchmark::DoNotOptimize(xs.foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; }, std::int64_t{0}));
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(ListFoldOnly)->Unit(benchmark::kMillisecond);

void VectorFoldOnly(benchmark::State& state) {
    std::vector<std::int64_t> xs;
    for (std::int64_t i = 1; i <= N; ++i) xs.push_back(i);
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (std::int64_t x : xs) acc += x;
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(VectorFoldOnly)->Unit(benchmark::kMillisecond);

void LazyCreateForceMillion(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (std::int64_t i = 0; i < N; ++i) {
            auto x = core::defer([i] { return i * 3 + 1; });
            acc += x.force();
        }
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(LazyCreateForceMillion)->Unit(benchmark::kMillisecond);

void FoldrEveryRest(benchmark::State& state) {
    core::List<std::int64_t> xs;
    for (std::int64_t i = N; i > 0; --i) xs = core::List<std::int64_t>::cons(i, std::move(xs));
    auto plusRest = [](std::int64_t x, const core::Lazy<std::int64_t>& rest) { return x + rest.force(); };
    for (auto _ : state) benchmark::DoNotOptimize(core::foldr(plusRest, std::int64_t{0}, xs));
    state.SetItemsProcessed(state.iterations() * N);
}
BENCHMARK(FoldrEveryRest)->Unit(benchmark::kMillisecond)->UseRealTime();  // runs on helper threads

// Hand-written recursions over the same List as FoldrEveryRest, one native
// call per element, run on a thread whose 512 MB stack is allocated and
// touched once:
//  - FoldrHandRecursion needs no deferred rest, so it bounds from below
//    what any right fold can cost at this depth;
//  - FoldrDeferredRecursion makes and forces one deferred rest per level,
//    as a fold whose function demands every rest must: the floor for
//    FoldrEveryRest, which also walks a cursor and switches stack segments.
std::int64_t sumRecursive(const core::List<std::int64_t>& l) {
    if (l.null()) return 0;
    return l.head() + sumRecursive(l.tail());
}
std::int64_t sumDeferredRecursive(const core::List<std::int64_t>& l) {
    if (l.null()) return 0;
    const core::List<std::int64_t>* t = &l.tail();
    const auto rest = core::defer([t] { return sumDeferredRecursive(*t); });
    return l.head() + rest.force();
}
template <std::int64_t (*Sum)(const core::List<std::int64_t>&)>
void runOnLargeStack(benchmark::State& state) {
    constexpr std::size_t stackBytes = std::size_t{512} << 20;
    static std::vector<char> stack(stackBytes, 1);
    struct Job {
        core::List<std::int64_t> xs;
        std::int64_t result = 0;
    } job;
    for (std::int64_t i = N; i > 0; --i) job.xs = core::List<std::int64_t>::cons(i, std::move(job.xs));
    auto run = [](void* p) -> void* {
        auto* j = static_cast<Job*>(p);
        j->result = Sum(j->xs);
        return nullptr;
    };
    for (auto _ : state) {
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstack(&attr, stack.data(), stack.size());
        pthread_t t;
        if (pthread_create(&t, &attr, run, &job) != 0) {
            state.SkipWithError("no thread");
            break;
        }
        pthread_join(t, nullptr);
        pthread_attr_destroy(&attr);
        benchmark::DoNotOptimize(job.result);
    }
    state.SetItemsProcessed(state.iterations() * N);
}
void FoldrHandRecursion(benchmark::State& state) { runOnLargeStack<sumRecursive>(state); }
BENCHMARK(FoldrHandRecursion)->Unit(benchmark::kMillisecond)->UseRealTime();
void FoldrDeferredRecursion(benchmark::State& state) { runOnLargeStack<sumDeferredRecursive>(state); }
BENCHMARK(FoldrDeferredRecursion)->Unit(benchmark::kMillisecond)->UseRealTime();

// Bytes of one evaluated cell of a List<int> and of a List<std::int64_t>
// (a deferred state holding the step), reported as counters.
void ListCellBytes(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(state.iterations());
    state.counters["int_cell"] = sizeof(core::detail::LazyState<core::List<int>::Step>);
    state.counters["int64_cell"] = sizeof(core::detail::LazyState<core::List<std::int64_t>::Step>);
}
BENCHMARK(ListCellBytes)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
