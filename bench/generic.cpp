// The generic folds and traversals against hand-written loops over a
// std::vector of one million elements:
//  - foldr (lazy right fold demanding every rest), foldl' (foldlStrict),
//    foldMap (in the Additive monoid) and traverse (in Identity, in
//    std::optional and in Either), each over a core::List and a
//    std::vector (the List traversal's result is walked, so a lazy result
//    pays for its cells);
//  - the matching loop over the std::vector;
//  - traverse in std::optional over a List and over a std::vector of 10,000
//    to one million elements (TraverseOptionalSized): whether the ratio
//    comes from the work per element or from a List's cells outgrowing
//    the cache, where the vector's elements still fit.
// Read the results as ratios of the generic operation to its loop.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <numeric>
#include <optional>
#include <vector>

#include "Core/Foldable.h"
#include "Core/FunctorTypes.h"
#include "Core/Monoids.h"
#include "Core/NonEmpty.h"
#include "Core/Traversable.h"

namespace {

constexpr std::int64_t n = 1'000'000;

const std::vector<std::int64_t>& vec() {
    static const std::vector<std::int64_t> v = [] {
        std::vector<std::int64_t> out(n);
        std::iota(out.begin(), out.end(), 1);
        return out;
    }();
    return v;
}
const core::List<std::int64_t>& list() {
    static const core::List<std::int64_t> l(vec());
    return l;
}

// ---- foldr -----------------------------------------------------------------

auto plusRest = [](std::int64_t x, const core::Lazy<std::int64_t>& rest) { return x + rest.force(); };

void FoldrList(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::foldr(plusRest, std::int64_t{0}, list()));
}
BENCHMARK(FoldrList)->Unit(benchmark::kMillisecond)->UseRealTime();
void FoldrVector(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::foldr(plusRest, std::int64_t{0}, vec()));
}
BENCHMARK(FoldrVector)->Unit(benchmark::kMillisecond)->UseRealTime();
void FoldrLoop(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t acc = 0;
        const auto& v = vec();
        for (auto i = v.rbegin(); i != v.rend(); ++i) acc = *i + acc;
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(FoldrLoop)->Unit(benchmark::kMillisecond);

// ---- foldl' ------------------------------------------------------------------

auto step = [](std::int64_t acc, std::int64_t x) { return acc * 31 + x; };

void FoldlStrictList(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::foldlStrict(step, std::int64_t{0}, list()));
}
BENCHMARK(FoldlStrictList)->Unit(benchmark::kMillisecond);
void FoldlStrictVector(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::foldlStrict(step, std::int64_t{0}, vec()));
}
BENCHMARK(FoldlStrictVector)->Unit(benchmark::kMillisecond);
void FoldlStrictLoop(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (std::int64_t x : vec()) acc = acc * 31 + x;
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(FoldlStrictLoop)->Unit(benchmark::kMillisecond);

// ---- foldMap -------------------------------------------------------------------

auto additive = [](std::int64_t x) { return core::Additive<std::int64_t>{x * 3}; };

void FoldMapList(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::foldMap(additive, list()).value);
}
BENCHMARK(FoldMapList)->Unit(benchmark::kMillisecond);
void FoldMapVector(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::foldMap(additive, vec()).value);
}
BENCHMARK(FoldMapVector)->Unit(benchmark::kMillisecond);
void FoldMapLoop(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t acc = 0;
        for (std::int64_t x : vec()) acc += x * 3;
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(FoldMapLoop)->Unit(benchmark::kMillisecond);

// ---- traverse ------------------------------------------------------------------

auto inIdentity = [](std::int64_t x) { return core::Identity<std::int64_t>{x + 1}; };
auto inOptional = [](std::int64_t x) { return x >= 0 ? std::optional<std::int64_t>(x + 1) : std::nullopt; };

void TraverseIdentityList(benchmark::State& state) {
    for (auto _ : state) {
        auto r = core::traverse(inIdentity, list());
        // The Identity traversal of a List is lazy: walk it.
        benchmark::DoNotOptimize(core::foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; },
                                                   std::int64_t{0}, std::move(r.value)));
    }
}
BENCHMARK(TraverseIdentityList)->Unit(benchmark::kMillisecond);
void TraverseIdentityVector(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inIdentity, vec()).value.data());
}
BENCHMARK(TraverseIdentityVector)->Unit(benchmark::kMillisecond);
void TraverseIdentityLoop(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::int64_t> out;
        out.reserve(vec().size());
        for (std::int64_t x : vec()) out.push_back(x + 1);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(TraverseIdentityLoop)->Unit(benchmark::kMillisecond);

void TraverseOptionalList(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inOptional, list()).has_value());
}
BENCHMARK(TraverseOptionalList)->Unit(benchmark::kMillisecond);
void TraverseOptionalNonEmpty(benchmark::State& state) {
    static const core::NonEmpty<std::int64_t> ne = core::NonEmpty<std::int64_t>::fromVector(vec());
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inOptional, ne).has_value());
}
BENCHMARK(TraverseOptionalNonEmpty)->Unit(benchmark::kMillisecond);

using EitherI = core::Either<int, std::int64_t>;
auto inEither = [](std::int64_t x) { return x >= 0 ? EitherI::right(x + 1) : EitherI::left(0); };
void TraverseEitherList(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inEither, list()).isRight());
}
BENCHMARK(TraverseEitherList)->Unit(benchmark::kMillisecond);
void TraverseEitherVector(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inEither, vec()).isRight());
}
BENCHMARK(TraverseEitherVector)->Unit(benchmark::kMillisecond);
void TraverseOptionalVector(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inOptional, vec()).has_value());
}
BENCHMARK(TraverseOptionalVector)->Unit(benchmark::kMillisecond);
void TraverseOptionalLoop(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::int64_t> values;
        values.reserve(vec().size());
        bool ok = true;
        for (std::int64_t x : vec()) {
            auto y = inOptional(x);
            if (!y) {
                ok = false;
                break;
            }
            values.push_back(*y);
        }
        std::optional<std::vector<std::int64_t>> out;
        if (ok) out = std::move(values);
        benchmark::DoNotOptimize(out.has_value() ? out->data() : nullptr);
    }
}
BENCHMARK(TraverseOptionalLoop)->Unit(benchmark::kMillisecond);

// The same traversal at several sizes; the containers are built once per
// size, outside the timed loop.
void TraverseOptionalSizedList(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const core::List<std::int64_t> xs(std::vector<std::int64_t>(vec().begin(), vec().begin() + size));
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inOptional, xs).has_value());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(TraverseOptionalSizedList)->Arg(10'000)->Arg(100'000)->Arg(1'000'000);
void TraverseOptionalSizedVector(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::vector<std::int64_t> xs(vec().begin(), vec().begin() + size);
    for (auto _ : state) benchmark::DoNotOptimize(core::traverse(inOptional, xs).has_value());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(TraverseOptionalSizedVector)->Arg(10'000)->Arg(100'000)->Arg(1'000'000);

}  // namespace

BENCHMARK_MAIN();
