// core::Integer on values that fit in 64 bits, side by side with int64_t
// and with GMP's mpz_class (both as expression temporaries and as mpz_add
// into preallocated results, GMP's cheapest form).
//
// Each benchmark walks arrays of varied values and hands every result to
// DoNotOptimize, so nothing folds to a constant and all variants do the
// same scalar work per element. Heap allocations are counted both through
// the global operator new and through GMP's allocator, and reported per
// operation as the counter "allocs".
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <gmpxx.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "Core/Integer.h"

namespace {

std::atomic<std::uint64_t> allocations{0};

void* countedMalloc(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}

void* gmpAlloc(std::size_t n) { return countedMalloc(n); }
void* gmpRealloc(void* p, std::size_t, std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    void* q = std::realloc(p, n);
    if (!q) std::abort();
    return q;
}
void gmpFree(void* p, std::size_t) { std::free(p); }

const bool gmpHooked = [] {
    mp_set_memory_functions(gmpAlloc, gmpRealloc, gmpFree);
    return true;
}();

constexpr std::size_t N = 4096;

// Varied values in +-2^30, so that sums and products stay within 64 bits.
std::vector<std::int64_t> values(std::uint64_t seed) {
    std::mt19937_64 g(seed);
    std::vector<std::int64_t> v(N);
    for (auto& x : v) x = static_cast<std::int64_t>(g() % (std::uint64_t{1} << 31)) - (std::int64_t{1} << 30);
    return v;
}

template <class T>
std::vector<T> convert(const std::vector<std::int64_t>& v) {
    std::vector<T> out;
    out.reserve(v.size());
    for (auto x : v) out.emplace_back(static_cast<long>(x));
    return out;
}

// Runs `body` over the arrays and reports allocations per element.
template <class F>
void run(benchmark::State& state, F body) {
    const std::uint64_t before = allocations.load();
    for (auto _ : state)
        for (std::size_t i = 0; i < N; ++i) body(i);
    const double ops = static_cast<double>(state.iterations()) * N;
    state.counters["allocs"] = static_cast<double>(allocations.load() - before) / ops;
    state.SetItemsProcessed(static_cast<std::int64_t>(ops));
}

enum class Op { Add, Mul, Less };

template <Op op, class A>
auto apply(const A& a, const A& b) {
    if constexpr (op == Op::Add)
        return a + b;
    else if constexpr (op == Op::Mul)
        return a * b;
    else
        return a < b;
}

template <Op op>
void int64(benchmark::State& state) {
    const auto a = values(1), b = values(2);
    run(state, [&](std::size_t i) {
        auto r = apply<op>(a[i], b[i]);
        benchmark::DoNotOptimize(r);
    });
}

template <Op op>
void integer(benchmark::State& state) {
    const auto a = convert<core::Integer>(values(1)), b = convert<core::Integer>(values(2));
    run(state, [&](std::size_t i) {
        auto r = apply<op>(a[i], b[i]);
        benchmark::DoNotOptimize(r);
    });
}

template <Op op>
void mpzClass(benchmark::State& state) {
    const auto a = convert<mpz_class>(values(1)), b = convert<mpz_class>(values(2));
    run(state, [&](std::size_t i) {
        if constexpr (op == Op::Less) {
            bool r = a[i] < b[i];
            benchmark::DoNotOptimize(r);
        } else {
            mpz_class r = apply<op>(a[i], b[i]);
            benchmark::DoNotOptimize(r);
        }
    });
}

// GMP at its cheapest: results written into integers allocated up front.
template <Op op>
void mpzInPlace(benchmark::State& state) {
    const auto a = convert<mpz_class>(values(1)), b = convert<mpz_class>(values(2));
    std::vector<mpz_class> out = convert<mpz_class>(values(3));
    for (auto& o : out) o *= std::int64_t{1} << 30;  // room for a product: no reallocation in the loop
    run(state, [&](std::size_t i) {
        if constexpr (op == Op::Add)
            mpz_add(out[i].get_mpz_t(), a[i].get_mpz_t(), b[i].get_mpz_t());
        else
            mpz_mul(out[i].get_mpz_t(), a[i].get_mpz_t(), b[i].get_mpz_t());
        benchmark::DoNotOptimize(out[i]);
    });
}

}  // namespace

// Every allocation made through new/delete, including those of the core
// library (a replacement operator new serves the whole program).
void* operator new(std::size_t n) { return countedMalloc(n); }
void* operator new[](std::size_t n) { return countedMalloc(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

BENCHMARK(int64<Op::Add>)->Name("Add/int64");
BENCHMARK(integer<Op::Add>)->Name("Add/Integer");
BENCHMARK(mpzClass<Op::Add>)->Name("Add/mpz_class");
BENCHMARK(mpzInPlace<Op::Add>)->Name("Add/mpz_add_in_place");
BENCHMARK(int64<Op::Mul>)->Name("Mul/int64");
BENCHMARK(integer<Op::Mul>)->Name("Mul/Integer");
BENCHMARK(mpzClass<Op::Mul>)->Name("Mul/mpz_class");
BENCHMARK(mpzInPlace<Op::Mul>)->Name("Mul/mpz_mul_in_place");
BENCHMARK(int64<Op::Less>)->Name("Less/int64");
BENCHMARK(integer<Op::Less>)->Name("Less/Integer");
BENCHMARK(mpzClass<Op::Less>)->Name("Less/mpz_class");

BENCHMARK_MAIN();
