// Evaluation rules that hold at scale: long contexts built and dropped in
// constant stack, positions computed once even when several threads read
// them, deferred work in the transformers.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Control/Comonad.h"
#include "Control/Comonad/Env.h"
#include "Control/Comonad/Store.h"

using core::List;
using core::NonEmpty;

namespace {

// Ten million positions; a million under AddressSanitizer, whose shadow
// memory and slower allocation make the larger run take minutes (the
// constant-stack property is the same at either size).
#if defined(__SANITIZE_ADDRESS__)
constexpr long longChain = 1'000'000;
#else
constexpr long longChain = 10'000'000;
#endif

TEST(LongContexts, ExtendOverTenMillionPositionsRunsInConstantStack) {
    constexpr long n = longChain;
    NonEmpty<long> xs(0, List<long>::iterate([](long i) { return i + 1; }, 1).take(n - 1));
    {
        auto r = comonad::extend([](const NonEmpty<long>& w) { return w.head * 2; }, xs);
        long total = r.head;
        long count = 1;
        for (long x : r.tail) {
            total += x;
            ++count;
        }
        EXPECT_EQ(count, n);
        EXPECT_EQ(total, n * (n - 1));
    }  // the extended list is dropped here, cell by cell
    {
        // A duplicate whose positions share the original's cells.
        auto d = comonad::duplicate(xs);
        long last = 0;
        for (const auto& suffix : d.tail) last = suffix.head;
        EXPECT_EQ(last, n - 1);
    }
    // An extension that nobody reads holds one deferred cell.
    auto unread = comonad::extend([](const NonEmpty<long>& w) { return w.head; }, xs);
    EXPECT_EQ(unread.head, 0);
}

TEST(SharedPositions, EachPositionIsComputedOnceAcrossThreads) {
    constexpr int n = 2'000;
    std::vector<int> v(n);
    for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = i;
    std::atomic<int> calls{0};
    auto r = comonad::extend(
        [&calls](const NonEmpty<int>& w) {
            ++calls;
            return w.head + 1;
        },
        NonEmpty<int>::fromVector(v));
    auto reader = [&r] {
        long s = 0;
        for (int x : r.tail) s += x;
        return s;
    };
    long a = 0, b = 0;
    std::thread t1([&] { a = reader(); });
    std::thread t2([&] { b = reader(); });
    t1.join();
    t2.join();
    EXPECT_EQ(a, b);
    EXPECT_EQ(calls, n);
}

TEST(DeferredWork, StoreAndEnvComputeOnlyWhatIsAskedFor) {
    int calls = 0;
    auto w = comonad::store([&calls](int s) { ++calls; return s * 2; }, 5);
    auto e = comonad::extend([](const comonad::Store<int, int>& v) { return comonad::extract(v) + 1; }, w);
    auto d = comonad::duplicate(e);
    auto m = core::fmap([](int x) { return x * 10; }, e);
    EXPECT_EQ(calls, 0);  // nothing has been read yet
    EXPECT_EQ(comonad::peek(4, comonad::peek(3, d)), 9);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(comonad::extract(m), 110);
    EXPECT_EQ(calls, 2);
    // EnvT's extend only runs its function on the positions of the inner
    // NonEmpty that are read.
    int envCalls = 0;
    comonad::EnvT<std::string, core::NonEmptyK, int> ew{"e", NonEmpty<int>(1, List<int>::repeat(2))};
    auto ex = comonad::extend([&envCalls](const comonad::EnvT<std::string, core::NonEmptyK, int>& v) {
        ++envCalls;
        return comonad::extract(v) + static_cast<int>(v.env.size());
    }, ew);
    EXPECT_EQ(envCalls, 1);
    EXPECT_EQ(ex.inner.tail.drop(9).head(), 3);
    EXPECT_EQ(envCalls, 11);
}

}  // namespace
