// core::Seq and core::Array against the standard containers:
//  - Seq index and update at random positions, 10^3 to 10^7 elements (the
//    curve shows the logarithmic cost), with std::vector indexing alongside;
//  - pushing 10^5 elements at either end of a Seq against std::deque;
//  - concatenating two sequences of 10^6 elements;
//  - Array element access (bounds checked) against std::vector::at;
//  - memory per element of Seq<Int> (built by pushes and from a vector)
//    against std::vector and std::deque, counted by a global allocator hook
//    and the slabs of core's cell pool, reported as the counter
//    bytes_per_elem.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <malloc.h>
#include <map>
#include <new>
#include <random>
#include <vector>

#include "Core/Array.h"
#include "Core/CellPool.h"
#include "Core/Seq.h"

namespace {
// Bytes currently allocated through operator new (as malloc reports the
// blocks' usable sizes).
std::atomic<std::size_t> allocated{0};
}  // namespace

void* operator new(std::size_t n) {
    if (void* p = std::malloc(n ? n : 1)) {
        allocated.fetch_add(malloc_usable_size(p), std::memory_order_relaxed);
        return p;
    }
    throw std::bad_alloc();
}
// The blocks come from malloc (above), so free is the matching release.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
    if (p) allocated.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {
// The general allocator keeps the memory it is given back, instead of
// returning the top of its heap to the system after every repetition: a
// container built and dropped a hundred thousand times would otherwise
// measure the kernel's page faults (several times the pushes themselves,
// and different for each container by where its blocks fall in the heap).
const int keepFreedMemory = [] {
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    return 0;
}();
using core::Int;
using core::Seq;

std::vector<Int> randomPositions(std::size_t n, std::size_t count) {
    std::mt19937_64 rng(42);
    std::vector<Int> out(count);
    for (auto& x : out) x = static_cast<Int>(rng() % n);
    return out;
}
const Seq<Int>& seqOf(std::size_t n) {
    static std::map<std::size_t, Seq<Int>> cache;
    auto it = cache.find(n);
    if (it == cache.end()) {
        Seq<Int> s;
        for (std::size_t i = 0; i < n; ++i) s = core::snocSeq(std::move(s), static_cast<Int>(i));
        it = cache.emplace(n, std::move(s)).first;
    }
    return it->second;
}

void SeqIndex(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const Seq<Int>& s = seqOf(n);
    auto pos = randomPositions(n, 4096);
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.at(pos[k++ & 4095]));
    }
}
BENCHMARK(SeqIndex)->RangeMultiplier(10)->Range(1000, 10'000'000);

void VectorIndex(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<Int> v(n, 1);
    auto pos = randomPositions(n, 4096);
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v.at(static_cast<std::size_t>(pos[k++ & 4095])));
    }
}
BENCHMARK(VectorIndex)->RangeMultiplier(10)->Range(1000, 10'000'000);

void SeqUpdate(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const Seq<Int>& s = seqOf(n);
    auto pos = randomPositions(n, 4096);
    std::size_t k = 0;
    for (auto _ : state) {
        Seq<Int> u = s.update(pos[k & 4095], static_cast<Int>(k));
        benchmark::DoNotOptimize(u);
        ++k;
    }
}
BENCHMARK(SeqUpdate)->RangeMultiplier(10)->Range(1000, 10'000'000);

constexpr Int pushes = 100'000;

void SeqPushBack(benchmark::State& state) {
    for (auto _ : state) {
        Seq<Int> s;
        for (Int i = 0; i < pushes; ++i) s = core::snocSeq(std::move(s), i);
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * pushes);
}
BENCHMARK(SeqPushBack);

void SeqPushFront(benchmark::State& state) {
    for (auto _ : state) {
        Seq<Int> s;
        for (Int i = 0; i < pushes; ++i) s = core::consSeq(i, std::move(s));
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * pushes);
}
BENCHMARK(SeqPushFront);

void DequePushBack(benchmark::State& state) {
    for (auto _ : state) {
        std::deque<Int> d;
        for (Int i = 0; i < pushes; ++i) d.push_back(i);
        benchmark::DoNotOptimize(d);
    }
    state.SetItemsProcessed(state.iterations() * pushes);
}
BENCHMARK(DequePushBack);

void DequePushFront(benchmark::State& state) {
    for (auto _ : state) {
        std::deque<Int> d;
        for (Int i = 0; i < pushes; ++i) d.push_front(i);
        benchmark::DoNotOptimize(d);
    }
    state.SetItemsProcessed(state.iterations() * pushes);
}
BENCHMARK(DequePushFront);

void SeqConcat(benchmark::State& state) {
    const Seq<Int>& a = seqOf(1'000'000);
    Seq<Int> b;
    for (Int i = 0; i < 1'000'000; ++i) b = core::consSeq(i, std::move(b));
    for (auto _ : state) {
        Seq<Int> c = a.append(b);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(SeqConcat)->Unit(benchmark::kMicrosecond);

void ArrayAt(benchmark::State& state) {
    const std::size_t n = 1'000'000;
    auto a = core::listArray(std::pair<Int, Int>{1, static_cast<Int>(n)}, std::vector<Int>(n, 3));
    auto pos = randomPositions(n, 4096);
    for (auto& p : pos) ++p;
    Int sum = 0;
    for (auto _ : state) {
        for (Int p : pos) sum += a.at(p);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(ArrayAt);

void VectorAt(benchmark::State& state) {
    const std::size_t n = 1'000'000;
    std::vector<Int> v(n, 3);
    auto pos = randomPositions(n, 4096);
    Int sum = 0;
    for (auto _ : state) {
        for (Int p : pos) sum += v.at(static_cast<std::size_t>(p));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(VectorAt);

template <class Build>
void memoryOf(benchmark::State& state, Build build) {
    constexpr std::size_t n = 1'000'000;
    double perElem = 0;
    for (auto _ : state) {
        // Bytes from the general allocator (hooked below), plus the slabs
        // that core's cell pool (tree nodes, chunk and buffer headers) took
        // into use; the pool's slabs come from aligned_alloc, not the hook.
        auto inUse = [] {
            return allocated.load() + core::detail::cellPoolUsage().slabsInUse * core::detail::cellPoolSlabBytes;
        };
        const std::size_t before = inUse();
        auto x = build(n);
        perElem = static_cast<double>(inUse() - before) / static_cast<double>(n);
        benchmark::DoNotOptimize(x);
    }
    state.counters["bytes_per_elem"] = perElem;
}
void MemorySeqPushed(benchmark::State& state) {
    memoryOf(state, [](std::size_t n) {
        Seq<Int> s;
        for (std::size_t i = 0; i < n; ++i) s = core::snocSeq(std::move(s), static_cast<Int>(i));
        return s;
    });
}
BENCHMARK(MemorySeqPushed)->Iterations(1);
void MemorySeqFromVector(benchmark::State& state) {
    memoryOf(state, [](std::size_t n) {
        // The source vector is moved in and freed by fromVector.
        return Seq<Int>::fromVector(std::vector<Int>(n, 1));
    });
}
BENCHMARK(MemorySeqFromVector)->Iterations(1);
void MemoryVector(benchmark::State& state) {
    memoryOf(state, [](std::size_t n) {
        std::vector<Int> v;
        for (std::size_t i = 0; i < n; ++i) v.push_back(static_cast<Int>(i));
        return v;
    });
}
BENCHMARK(MemoryVector)->Iterations(1);
void MemoryDeque(benchmark::State& state) {
    memoryOf(state, [](std::size_t n) {
        std::deque<Int> d;
        for (std::size_t i = 0; i < n; ++i) d.push_back(static_cast<Int>(i));
        return d;
    });
}
BENCHMARK(MemoryDeque)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
