// Indexed folds and traversals against hand-written loops, one million
// elements:
//  - ifoldl' and ifoldMap over std::vector against a loop with a counter;
//    over core::List against core::foldlStrict of the same list;
//  - imap and itraverse in std::optional over std::vector against a loop
//    that builds the result vector;
//  - ifoldr stopping at element 10 of an unbounded list (constant time);
//  - the default itraverse (the plain traverse in the Indexing applicative)
//    against the direct list loop;
//  - ifoldMap over a core::Map (and over a std::map) against iterating a
//    std::map with the same entries.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "Core/Prelude.h"
#include "WithIndex.h"

namespace {

using core::Int;
constexpr Int N = 1'000'000;

const std::vector<Int>& vec() {
    static const std::vector<Int> v = [] {
        std::vector<Int> out;
        for (Int i = 0; i < N; ++i) out.push_back(i * 7 % 1000);
        return out;
    }();
    return v;
}
const core::List<Int>& list() {
    static const core::List<Int> l(vec());
    return l;
}
const std::map<Int, Int>& stdmap() {
    static const std::map<Int, Int> m = [] {
        std::map<Int, Int> out;
        for (Int i = 0; i < N; ++i) out.emplace(i, i % 13);
        return out;
    }();
    return m;
}

// ---- strict left folds ----

void VectorHandLoopFold(benchmark::State& state) {
    const auto& v = vec();
    for (auto _ : state) {
        Int acc = 0;
        for (std::size_t i = 0; i < v.size(); ++i) acc += static_cast<Int>(i) ^ v[i];
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(VectorHandLoopFold);

void VectorIfoldlStrict(benchmark::State& state) {
    const auto& v = vec();
    for (auto _ : state)
        benchmark::DoNotOptimize(nerrow::ifoldlStrict([](Int i, Int acc, Int x) { return acc + (i ^ x); }, Int{0}, v));
}
BENCHMARK(VectorIfoldlStrict);

void VectorIfoldMap(benchmark::State& state) {
    const auto& v = vec();
    for (auto _ : state)
        benchmark::DoNotOptimize(nerrow::ifoldMap([](Int i, Int x) { return core::Additive<Int>{i ^ x}; }, v).value);
}
BENCHMARK(VectorIfoldMap);

void ListCoreFoldlStrict(benchmark::State& state) {
    const auto& l = list();
    for (auto _ : state) benchmark::DoNotOptimize(core::foldlStrict([](Int acc, Int x) { return acc + (x ^ 3); }, Int{0}, l));
}
BENCHMARK(ListCoreFoldlStrict);

void ListIfoldlStrict(benchmark::State& state) {
    const auto& l = list();
    for (auto _ : state)
        benchmark::DoNotOptimize(nerrow::ifoldlStrict([](Int i, Int acc, Int x) { return acc + (i ^ x); }, Int{0}, l));
}
BENCHMARK(ListIfoldlStrict);

void ListIfoldMap(benchmark::State& state) {
    const auto& l = list();
    for (auto _ : state)
        benchmark::DoNotOptimize(nerrow::ifoldMap([](Int i, Int x) { return core::Additive<Int>{i ^ x}; }, l).value);
}
BENCHMARK(ListIfoldMap);

// ---- building a result vector ----

void VectorHandLoopMap(benchmark::State& state) {
    const auto& v = vec();
    for (auto _ : state) {
        std::vector<Int> out;
        out.reserve(v.size());
        for (std::size_t i = 0; i < v.size(); ++i) out.push_back(static_cast<Int>(i) + v[i]);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(VectorHandLoopMap);

void VectorImap(benchmark::State& state) {
    const auto& v = vec();
    for (auto _ : state) {
        auto out = nerrow::imap([](Int i, Int x) { return i + x; }, v);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(VectorImap);

void VectorHandLoopTraverseOptional(benchmark::State& state) {
    const auto& v = vec();
    for (auto _ : state) {
        std::optional<std::vector<Int>> result;
        std::vector<Int> out;
        out.reserve(v.size());
        bool ok = true;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (v[i] < 0) {
                ok = false;
                break;
            }
            out.push_back(static_cast<Int>(i) + v[i]);
        }
        if (ok) result = std::move(out);
        benchmark::DoNotOptimize(result->data());
    }
}
BENCHMARK(VectorHandLoopTraverseOptional);

void VectorItraverseOptional(benchmark::State& state) {
    const auto& v = vec();
    for (auto _ : state) {
        auto r = nerrow::itraverse([](Int i, Int x) { return x < 0 ? std::optional<Int>() : std::optional<Int>(i + x); }, v);
        benchmark::DoNotOptimize(r->data());
    }
}
BENCHMARK(VectorItraverseOptional);

// ---- early stop on an unbounded list ----

void UnboundedIfoldrStopAt10(benchmark::State& state) {
    auto nats = core::List<Int>::iterate([](Int n) { return n + 1; }, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            nerrow::ifoldr([](Int i, Int x, const core::Lazy<Int>& rest) { return i == 10 ? x : rest.force(); }, Int{-1}, nats));
}
BENCHMARK(UnboundedIfoldrStopAt10);

// ---- default itraverse (Indexing) against the direct list loop ----

void ListItraverseDirect(benchmark::State& state) {
    auto l = core::List<Int>(std::vector<Int>(vec().begin(), vec().begin() + 10'000));
    for (auto _ : state) {
        auto r = nerrow::itraverse([](Int i, Int x) { return std::optional<Int>(i + x); }, l);
        benchmark::DoNotOptimize(r->null());
    }
}
BENCHMARK(ListItraverseDirect);

void ListItraverseDefaultIndexing(benchmark::State& state) {
    using D = nerrow::TraversableWithIndexDefaults<core::ListK, nerrow::TraversableWithIndex<core::ListK>>;
    auto l = core::List<Int>(std::vector<Int>(vec().begin(), vec().begin() + 10'000));
    for (auto _ : state) {
        auto r = D::itraverse([](Int i, Int x) { return std::optional<Int>(i + x); }, l);
        benchmark::DoNotOptimize(r->null());
    }
}
BENCHMARK(ListItraverseDefaultIndexing);

// ---- keyed containers ----

void StdMapHandLoop(benchmark::State& state) {
    const auto& m = stdmap();
    for (auto _ : state) {
        Int acc = 0;
        for (const auto& [k, x] : m) acc += k * x;
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(StdMapHandLoop);

const core::Map<Int, Int>& coremap() {
    static const core::Map<Int, Int> m = [] {
        std::vector<std::pair<Int, Int>> kvs;
        for (Int i = 0; i < N; ++i) kvs.emplace_back(i, i % 13);
        return core::Map<Int, Int>::fromList(kvs);
    }();
    return m;
}

// Iterating the core::Map itself, to separate the container's walk from
// the fold.
void CoreMapHandLoop(benchmark::State& state) {
    const auto& m = coremap();
    for (auto _ : state) {
        Int acc = 0;
        for (const auto& [k, x] : m) acc += k * x;
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(CoreMapHandLoop);

void CoreMapIfoldMap(benchmark::State& state) {
    const auto& m = coremap();
    for (auto _ : state)
        benchmark::DoNotOptimize(nerrow::ifoldMap([](Int k, Int x) { return core::Additive<Int>{k * x}; }, m).value);
}
BENCHMARK(CoreMapIfoldMap);

void StdMapIfoldMap(benchmark::State& state) {
    const auto& m = stdmap();
    for (auto _ : state)
        benchmark::DoNotOptimize(nerrow::ifoldMap([](Int k, Int x) { return core::Additive<Int>{k * x}; }, m).value);
}
BENCHMARK(StdMapIfoldMap);

}  // namespace

BENCHMARK_MAIN();
