// Recursion schemes against hand-written recursion:
//  - cata summing a list-shaped Fix of one million elements, against a
//    recursive sum over a hand-written shared_ptr list;
//  - refold of the same sum from a seed (no list is built), against a
//    hand-written recursive sum of n..1; the allocations per layer are
//    counted with a replaced operator new (counter "allocs/layer");
//  - cata evaluating a balanced expression tree of one million nodes,
//    against a hand-written recursive evaluator over a std::variant tree.
// Every recursion here is a million levels deep (the list cases), so the
// benchmarks run on a thread with a 1 GB stack: the hand-written baselines
// would overflow an ordinary stack, and the schemes then never need to
// move to fresh stack segments either.
#include <benchmark/benchmark.h>
#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>
#include <variant>

#include "Data/Fix.h"

// ---- Allocation counting ----------------------------------------------------

namespace {
std::atomic<std::uint64_t> allocations{0};
}  // namespace

// GCC cannot see that these replacements pair malloc with free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kSize = 1000000;

// ---- Lists --------------------------------------------------------------------

using pomrel::ListF;
using IntList = pomrel::Fix<pomrel::ListFK<int>>;

struct Node {
    int v;
    std::shared_ptr<const Node> next;
};

long nodeSum(const Node* n) { return n ? n->v + nodeSum(n->next.get()) : 0; }

long sumAlg(const ListF<int, long>& l) { return l.isNil() ? 0 : l.head() + l.tail(); }
ListF<int, int> countdown(int n) { return n <= 0 ? ListF<int, int>() : ListF<int, int>(n, n - 1); }
// The seed is kept opaque at every level, so the compiler cannot replace
// the recursion by a closed formula (it may still turn it into a loop).
long handCountdown(int n) {
    if (n <= 0) return 0;
    benchmark::DoNotOptimize(n);
    return n + handCountdown(n - 1);
}

void CataSumFixList(benchmark::State& state) {
    IntList xs = ListF<int, IntList>();
    for (int i = 0; i < kSize; ++i) xs = ListF<int, IntList>(i & 0xFF, xs);
    for (auto _ : state) benchmark::DoNotOptimize(pomrel::cata(sumAlg, xs));
    state.SetItemsProcessed(state.iterations() * kSize);
}
BENCHMARK(CataSumFixList)->Unit(benchmark::kMillisecond);

void RecursiveSumSharedPtrList(benchmark::State& state) {
    std::shared_ptr<const Node> xs;
    for (int i = 0; i < kSize; ++i) xs = std::make_shared<const Node>(Node{i & 0xFF, xs});
    for (auto _ : state) benchmark::DoNotOptimize(nodeSum(xs.get()));
    state.SetItemsProcessed(state.iterations() * kSize);
    // Tear the list down iteratively (its own destructor would recurse).
    while (xs && xs.use_count() == 1) xs = std::shared_ptr<const Node>(xs->next);
}
BENCHMARK(RecursiveSumSharedPtrList)->Unit(benchmark::kMillisecond);

void RefoldSumFromSeed(benchmark::State& state) {
    std::uint64_t allocs = 0;
    for (auto _ : state) {
        const std::uint64_t before = allocations.load(std::memory_order_relaxed);
        benchmark::DoNotOptimize(pomrel::refold(sumAlg, countdown, kSize));
        allocs += allocations.load(std::memory_order_relaxed) - before;
    }
    state.SetItemsProcessed(state.iterations() * kSize);
    state.counters["allocs/layer"] = static_cast<double>(allocs) / static_cast<double>(state.iterations()) / kSize;
}
BENCHMARK(RefoldSumFromSeed)->Unit(benchmark::kMillisecond);

void HandRecursiveSumFromSeed(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(handCountdown(kSize));
    state.SetItemsProcessed(state.iterations() * kSize);
}
BENCHMARK(HandRecursiveSumFromSeed)->Unit(benchmark::kMillisecond);

// Building the list as an unfold, then folding it: one deferred layer per
// element (counter "allocs/layer").
void AnaThenCataSum(benchmark::State& state) {
    std::uint64_t allocs = 0;
    for (auto _ : state) {
        const std::uint64_t before = allocations.load(std::memory_order_relaxed);
        benchmark::DoNotOptimize(pomrel::cata(sumAlg, pomrel::ana(countdown, kSize)));
        allocs += allocations.load(std::memory_order_relaxed) - before;
    }
    state.SetItemsProcessed(state.iterations() * kSize);
    state.counters["allocs/layer"] = static_cast<double>(allocs) / static_cast<double>(state.iterations()) / kSize;
}
BENCHMARK(AnaThenCataSum)->Unit(benchmark::kMillisecond);

// ---- Expression trees -----------------------------------------------------------

template <class R>
struct Bin {
    char op;  // '+' or '*'
    R left, right;
};
template <class R>
struct ExprF {
    std::variant<long, Bin<R>> v;
};
struct ExprFK {
    template <class R>
    using apply = ExprF<R>;
};

}  // namespace

namespace core {
template <class R>
struct KindOf<ExprF<R>> {
    using kind = ExprFK;
    using arg = R;
};
template <>
struct Functor<ExprFK> : FunctorDefaults<ExprFK, Functor<ExprFK>> {
    template <class F, class R>
    static auto fmap(F&& f, const ExprF<R>& e) {
        using S = Result<F&, const R&>;
        if (e.v.index() == 0) return ExprF<S>{std::get<0>(e.v)};
        const Bin<R>& b = std::get<1>(e.v);
        S l = f(b.left);
        S r = f(b.right);
        return ExprF<S>{Bin<S>{b.op, std::move(l), std::move(r)}};
    }
};
}  // namespace core

namespace {

using Expr = pomrel::Fix<ExprFK>;

struct VExpr;
using VPtr = std::shared_ptr<const VExpr>;
struct VBin {
    char op;
    VPtr left, right;
};
struct VExpr {
    std::variant<long, VBin> v;
};

long vEval(const VExpr& e) {
    if (e.v.index() == 0) return std::get<0>(e.v);
    const VBin& b = std::get<1>(e.v);
    long l = vEval(*b.left);
    long r = vEval(*b.right);
    return b.op == '+' ? l + r : l * r;
}

long evalAlg(const ExprF<long>& e) {
    if (e.v.index() == 0) return std::get<0>(e.v);
    const Bin<long>& b = std::get<1>(e.v);
    return b.op == '+' ? b.left + b.right : b.left * b.right;
}

// A balanced tree with n nodes: leaves 1..3, operators alternating.
Expr buildExpr(int n, int depth) {
    if (n <= 1) return ExprF<Expr>{static_cast<long>(depth % 3 + 1)};
    int rest = n - 1;
    return ExprF<Expr>{Bin<Expr>{depth % 2 ? '*' : '+', buildExpr(rest / 2, depth + 1), buildExpr(rest - rest / 2, depth + 1)}};
}
VPtr buildVExpr(int n, int depth) {
    if (n <= 1) return std::make_shared<const VExpr>(VExpr{static_cast<long>(depth % 3 + 1)});
    int rest = n - 1;
    return std::make_shared<const VExpr>(
        VExpr{VBin{depth % 2 ? '*' : '+', buildVExpr(rest / 2, depth + 1), buildVExpr(rest - rest / 2, depth + 1)}});
}

void CataEvalExprTree(benchmark::State& state) {
    Expr e = buildExpr(kSize, 0);
    for (auto _ : state) benchmark::DoNotOptimize(pomrel::cata(evalAlg, e));
    state.SetItemsProcessed(state.iterations() * kSize);
}
BENCHMARK(CataEvalExprTree)->Unit(benchmark::kMillisecond);

void RecursiveEvalVariantTree(benchmark::State& state) {
    VPtr e = buildVExpr(kSize, 0);
    for (auto _ : state) benchmark::DoNotOptimize(vEval(*e));
    state.SetItemsProcessed(state.iterations() * kSize);
}
BENCHMARK(RecursiveEvalVariantTree)->Unit(benchmark::kMillisecond);

struct Args {
    int argc;
    char** argv;
    int rc;
};

void* runAll(void* p) {
    auto* a = static_cast<Args*>(p);
    benchmark::Initialize(&a->argc, a->argv);
    if (benchmark::ReportUnrecognizedArguments(a->argc, a->argv)) {
        a->rc = 1;
        return nullptr;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    Args args{argc, argv, 0};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, std::size_t{1} << 30);
    pthread_t t;
    if (pthread_create(&t, &attr, &runAll, &args) != 0) return 2;
    pthread_join(t, nullptr);
    pthread_attr_destroy(&attr);
    return args.rc;
}
