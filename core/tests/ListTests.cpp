#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Core/CellPool.h"
#include "Core/Error.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/FunctorTypes.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"

using core::List;
using core::NonEmpty;

TEST(List, BuildsFromVectorsAndInitializerLists) {
    List<int> xs{1, 2, 3};
    EXPECT_EQ(xs.toVector(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(List<int>(std::vector<int>{4, 5}).toVector(), (std::vector<int>{4, 5}));
    EXPECT_TRUE(List<int>().null());
    EXPECT_EQ(xs.length(), 3u);
    EXPECT_EQ(xs.head(), 1);
    EXPECT_EQ(xs.tail().toVector(), (std::vector<int>{2, 3}));
    EXPECT_EQ(core::cons(0, xs).toVector(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_THROW(List<int>().head(), core::Error);
}

TEST(List, GeneratorsAreUnboundedAndOnDemand) {
    auto nats = List<std::int64_t>::iterate([](std::int64_t n) { return n + 1; }, 0);
    EXPECT_EQ(nats.take(5).toVector(), (std::vector<std::int64_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(nats.drop(1000).head(), 1000);
    EXPECT_EQ(List<int>::repeat(7).take(3).toVector(), (std::vector<int>{7, 7, 7}));
    EXPECT_EQ(List<char>::replicate(2, 'x').toVector(), (std::vector<char>{'x', 'x'}));
    auto countdown = List<int>::unfoldr(
        [](int n) -> std::optional<std::pair<int, int>> {
            if (n == 0) return std::nullopt;
            return std::pair{n, n - 1};
        },
        3);
    EXPECT_EQ(countdown.toVector(), (std::vector<int>{3, 2, 1}));
}

TEST(List, CellsAreProducedOnceAndShared) {
    int produced = 0;
    auto xs = List<int>::unfoldr(
        [&](int n) -> std::optional<std::pair<int, int>> {
            ++produced;
            return std::pair{n, n + 1};
        },
        0);
    EXPECT_EQ(produced, 0);
    auto first = xs.take(3).toVector();
    auto copy = xs;
    auto again = copy.take(3).toVector();
    EXPECT_EQ(first, again);
    EXPECT_EQ(produced, 3);
}

TEST(List, EqualityAndOrderAreLexicographic) {
    EXPECT_EQ((List<int>{1, 2}), (List<int>{1, 2}));
    EXPECT_NE((List<int>{1, 2}), (List<int>{1, 2, 3}));
    EXPECT_LT((List<int>{1, 2}), (List<int>{1, 3}));
    EXPECT_LT((List<int>{1, 2}), (List<int>{1, 2, 0}));
    EXPECT_GT((List<int>{2}), (List<int>{1, 9, 9}));
    // Comparison stops at the first difference, even on unbounded lists.
    auto ones = List<int>::repeat(1);
    EXPECT_NE(ones, List<int>::cons(1, List<int>::repeat(2)));
}

// A step behaves as an optional head-and-rest whatever the head's size,
// alignment or ownership, though it keeps no separate flag: a cell of ints
// is a 16-byte header and 16 bytes of step.
namespace {
struct alignas(16) Wide {
    std::int64_t a, b;
    bool operator==(const Wide&) const = default;
};
template <class A>
void checkSteps(A x) {
    using L = core::List<A>;
    using Step = typename L::Step;
    const Step end;
    EXPECT_FALSE(end.has_value());
    EXPECT_FALSE(Step(std::nullopt));
    EXPECT_THROW(end.value(), std::bad_optional_access);
    Step one(typename L::Cons{x, L{x}});
    ASSERT_TRUE(one);
    EXPECT_EQ(one->head, x);
    EXPECT_EQ(one.value().tail.head(), x);
    Step copy = one;
    Step moved = std::move(copy);
    EXPECT_EQ((*moved).head, x);
    EXPECT_TRUE(moved->tail.tail().null());
    copy = end;
    EXPECT_FALSE(copy);
    copy = moved;
    EXPECT_EQ(copy->head, x);
    moved.reset();
    EXPECT_FALSE(moved);
    EXPECT_FALSE(one->tail.null());  // untouched by its copies
    // An evaluated empty tail is still a step with a value.
    Step lastCell(typename L::Cons{x, L()});
    EXPECT_TRUE(lastCell);
    EXPECT_TRUE(lastCell->tail.null());
    L xs{x, x, x};
    EXPECT_EQ(xs.toVector(), std::vector<A>(3, x));
}
}  // namespace
TEST(List, StepsWorkForEveryKindOfHead) {
    checkSteps<char>('c');
    checkSteps<int>(-7);
    checkSteps<std::int64_t>(std::int64_t{1} << 40);
    checkSteps<std::string>(std::string(50, 's'));
    checkSteps<Wide>(Wide{1, 2});
    checkSteps<std::shared_ptr<int>>(std::make_shared<int>(3));
    EXPECT_EQ(sizeof(core::detail::LazyState<core::List<int>::Step>), 32u);
    EXPECT_EQ(sizeof(core::detail::LazyState<core::List<std::int64_t>::Step>), 32u);
}

TEST(List, TenMillionCellsInConstantStack) {
    constexpr std::int64_t n = 10'000'000;
    List<std::int64_t> xs;
    for (std::int64_t i = n; i > 0; --i) xs = List<std::int64_t>::cons(i, std::move(xs));
    EXPECT_EQ(xs.foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; }, std::int64_t{0}),
              n * (n + 1) / 2);
    xs = List<std::int64_t>();  // destroyed here, without recursion
    // A lazily produced one, forced by a strict fold and dropped.
    auto lazy = List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, 1).take(n);
    EXPECT_EQ(lazy.foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; }, std::int64_t{0}),
              n * (n + 1) / 2);
}

// Lists whose cells are still deferred functions that hold the previous
// list (appends, nested takes) are freed in constant stack, also after the
// first cell was forced.
TEST(List, TenMillionDeferredAppendsAndTakesDropInConstantStack) {
    constexpr std::int64_t n = 10'000'000;
    {
        List<std::int64_t> xs;
        for (std::int64_t i = 0; i < n; ++i) xs = xs.append(List<std::int64_t>::cons(i, {}));
    }
    {
        List<std::int64_t> xs = List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, 0);
        for (std::int64_t i = 0; i < n; ++i) xs = xs.take(static_cast<std::size_t>(n + 5 - i));
    }
    // Forcing the head of a million nested appends leaves a million
    // deferred appends behind it.
    List<std::int64_t> ys;
    for (std::int64_t i = 0; i < 1'000'000; ++i) ys = ys.append(List<std::int64_t>::cons(i, {}));
    EXPECT_EQ(ys.head(), 0);
    EXPECT_EQ(ys.drop(3).head(), 3);
}

TEST(List, SharedBetweenThreads) {
    auto nats = List<int>::iterate([](int v) { return v + 1; }, 0).take(20000);
    std::vector<std::thread> ts;
    std::vector<long> sums(4);
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&, t] { sums[t] = nats.foldlStrict([](long a, int x) { return a + x; }, 0L); });
    for (auto& t : ts) t.join();
    for (long s : sums) EXPECT_EQ(s, 20000L * 19999 / 2);
}

// Lazy producers take apart the cells of a source list that nothing else
// holds, instead of sharing their tails; a source that is held elsewhere
// must come through whole, whichever list is walked first and on whichever
// thread.
TEST(List, ProducersLeaveASourceHeldElsewhereWhole) {
    auto from = [](std::int64_t start) {
        return List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, start);
    };
    const std::vector<std::int64_t> oneToSix{1, 2, 3, 4, 5, 6};
    const auto src = from(1).take(6);
    auto doubled = core::fmap([](std::int64_t x) { return 2 * x; }, src);
    auto firstFour = src.take(4);
    auto sums = core::zipWith([](std::int64_t a, std::int64_t b) { return a + b; }, src, src.take(3));
    std::vector<std::int64_t> seen;
    std::thread walker([&] { seen = doubled.toVector(); });
    EXPECT_EQ(firstFour.toVector(), (std::vector<std::int64_t>{1, 2, 3, 4}));
    EXPECT_EQ(sums.toVector(), (std::vector<std::int64_t>{2, 4, 6}));
    walker.join();
    EXPECT_EQ(seen, (std::vector<std::int64_t>{2, 4, 6, 8, 10, 12}));
    EXPECT_EQ(src.toVector(), oneToSix);
    // Sources no one else holds: chains of producers over temporaries.
    auto chained = core::fmap([](std::int64_t x) { return x * x; },
                              core::zipWith([](std::int64_t a, std::int64_t b) { return b - a; }, from(0).take(100),
                                            from(1).take(6).take(5)));
    EXPECT_EQ(chained.toVector(), (std::vector<std::int64_t>{1, 1, 1, 1, 1}));
    EXPECT_EQ(core::fmap([](std::int64_t x) { return x + 1; }, from(0)).take(6).toVector(), oneToSix);
    EXPECT_THROW(List<int>::tailOf(List<int>()), core::Error);
    // A held handle and a given-up one to the same cells.
    List<int> shared{7, 8, 9};
    List<int> copy = shared;
    EXPECT_EQ(List<int>::tailOf(std::move(copy)).toVector(), (std::vector<int>{8, 9}));
    EXPECT_EQ(shared.toVector(), (std::vector<int>{7, 8, 9}));
    List<int> alone{7, 8, 9};
    EXPECT_EQ(List<int>::tailOf(std::move(alone)).toVector(), (std::vector<int>{8, 9}));
}

// Appending hands its sources down the chain rather than sharing them at
// every cell: a source held elsewhere must still come through whole, also
// while another thread walks an append of it, and the second list is looked
// at only once the first is used up.
TEST(List, AppendLeavesItsSourcesWholeAndReadsTheSecondOnlyWhenNeeded) {
    auto from = [](std::int64_t start) {
        return List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, start);
    };
    const auto src = from(1).take(4);
    const auto twice = src.append(src.take(2));
    std::vector<std::int64_t> seen;
    std::thread walker([&] { seen = twice.toVector(); });
    EXPECT_EQ(src.append(List<std::int64_t>{9}).toVector(), (std::vector<std::int64_t>{1, 2, 3, 4, 9}));
    walker.join();
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 2, 3, 4, 1, 2}));
    EXPECT_EQ(src.toVector(), (std::vector<std::int64_t>{1, 2, 3, 4}));
    // Temporaries, empty lists, unbounded lists on either side.
    EXPECT_EQ(from(1).take(3).append(from(10).take(2)).toVector(), (std::vector<std::int64_t>{1, 2, 3, 10, 11}));
    EXPECT_EQ(List<int>{1}.append(List<int>{2}).append(List<int>()).append(List<int>{3, 4}).toVector(),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(List<int>().append(List<int>{5}).toVector(), (std::vector<int>{5}));
    EXPECT_TRUE(List<int>().append(List<int>()).null());
    EXPECT_EQ(from(1).append(List<std::int64_t>{0}).take(3).toVector(), (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(List<std::int64_t>{0}.append(from(1)).take(3).toVector(), (std::vector<std::int64_t>{0, 1, 2}));
    // The deferred second list is computed once, and not before the first
    // list is used up.
    int computed = 0;
    const auto more = core::defer([&computed] {
        ++computed;
        return List<int>{7, 8};
    });
    const auto xs = List<int>{1, 2}.appendLazy(more);
    EXPECT_EQ(xs.take(2).toVector(), (std::vector<int>{1, 2}));
    EXPECT_EQ(computed, 0);
    EXPECT_EQ(xs.toVector(), (std::vector<int>{1, 2, 7, 8}));
    EXPECT_EQ(List<int>{3}.appendLazy(more).toVector(), (std::vector<int>{3, 7, 8}));
    EXPECT_EQ(computed, 1);
}

// A right fold whose result is a plain value walks the list without taking
// counts on its cells; the rests it hands out must still own what they
// read. Here the function keeps every rest and demands none, the fold
// returns, the only handle to the lazily made list is dropped, and the kept
// rests are then forced in turn, each by two threads at once, reaching
// cells that were never made before the list was dropped.
TEST(List, RestsKeptPastARightFoldStillReadTheirListOnAnyThread) {
    constexpr std::int64_t n = 300;
    std::mutex m;
    std::vector<core::Lazy<std::int64_t>> kept;
    auto keep = [&](std::int64_t x, const core::Lazy<std::int64_t>& rest) {
        std::lock_guard<std::mutex> g(m);
        kept.push_back(rest);
        return x;
    };
    auto restAt = [&](std::size_t i) {
        std::lock_guard<std::mutex> g(m);
        return kept.at(i);
    };
    auto forcedByTwo = [](const core::Lazy<std::int64_t>& r) {
        std::int64_t a = -1, b = -1;
        std::thread t1([&] { a = r.force(); });
        std::thread t2([&] { b = r.force(); });
        t1.join();
        t2.join();
        EXPECT_EQ(a, b);
        return a;
    };
    for (bool withStart : {true, false}) {
        kept.clear();
        std::int64_t first = 0;
        {
            auto xs = List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, 1).take(n);
            first = withStart ? core::foldr(keep, std::int64_t{-7}, xs) : core::foldr1(keep, xs);
        }
        EXPECT_EQ(first, 1);
        // The rest after element i gives element i + 1 (and keeps its own
        // rest); after the last one, foldr gives its start value.
        for (std::int64_t i = 1; i < n; ++i) EXPECT_EQ(forcedByTwo(restAt(static_cast<std::size_t>(i - 1))), i + 1);
        if (withStart) {
            EXPECT_EQ(forcedByTwo(restAt(static_cast<std::size_t>(n - 1))), -7);
        }
        std::lock_guard<std::mutex> g(m);
        EXPECT_EQ(kept.size(), static_cast<std::size_t>(withStart ? n : n - 1));
    }
}

// Cells are carved from the allocating thread's slabs; they may be freed by
// any thread, and outlive the thread that made them. Lists built on
// threads that end are dropped here while other threads build and drop
// their own, over several rounds so that memory handed back is reused; any
// mix-up of cells would show as a wrong sum or a sanitizer report.
TEST(List, CellsMadeOnOneThreadAreFreedOnAnotherAndReused) {
    constexpr std::int64_t n = 20000;
    const std::int64_t expected = n * (n + 1) / 2;
    auto build = [](std::int64_t from) {
        List<std::int64_t> xs;
        for (std::int64_t i = n; i >= 1; --i) xs = List<std::int64_t>::cons(from + i, std::move(xs));
        return xs;
    };
    auto sum = [](const List<std::int64_t>& xs) {
        return xs.foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; }, std::int64_t{0});
    };
    for (int round = 0; round < 4; ++round) {
        std::vector<List<std::int64_t>> made(3);
        std::vector<std::thread> ts;
        for (std::size_t t = 0; t < made.size(); ++t) ts.emplace_back([&, t] { made[t] = build(0); });
        for (auto& t : ts) t.join();  // the makers have ended
        // Two threads drop the others' lists while building their own; the
        // third list is dropped here.
        std::vector<std::int64_t> sums(2);
        std::thread a([&] {
            auto own = build(1);
            sums[0] = sum(made[0]) + sum(own) - n;
            made[0] = List<std::int64_t>();
        });
        std::thread b([&] {
            auto own = build(2);
            sums[1] = sum(made[1]) + sum(own) - 2 * n;
            made[1] = List<std::int64_t>();
        });
        EXPECT_EQ(sum(made[2]), expected);
        made[2] = List<std::int64_t>();
        a.join();
        b.join();
        EXPECT_EQ(sums[0], 2 * expected);
        EXPECT_EQ(sums[1], 2 * expected);
        // Deferred values of every size class, made and forced here.
        auto big = core::defer([] { return std::array<std::int64_t, 12>{1, 2, 3}; });
        auto small = core::defer([] { return 'c'; });
        EXPECT_EQ(big.force()[2] + small.force(), 3 + 'c');
    }
}

// The slabs of a dropped list are emptied and leave use (kept for reuse or
// returned), except at most the one the thread is filling.
TEST(List, DroppedListsGiveTheirSlabsBack) {
    if (!core::detail::cellPoolEnabled) GTEST_SKIP() << "cells come from the general allocator here";
    const std::size_t before = core::detail::cellPoolUsage().slabsInUse;
    {
        List<std::int64_t> xs;
        for (std::int64_t i = 0; i < 400000; ++i) xs = List<std::int64_t>::cons(i, std::move(xs));
        // 400,000 live cells of at least 32 bytes occupy over 190 slabs of
        // 64 KB, whether they filled new slabs or free blocks of slabs that
        // earlier tests in this process left in use.
        EXPECT_GT(core::detail::cellPoolUsage().slabsInUse, 190u);
    }
    EXPECT_LE(core::detail::cellPoolUsage().slabsInUse, before + 1);
}

// A pipeline of lazy producers over temporaries, folded strictly, holds a
// few cells at a time: no stage keeps what an earlier one produced.
TEST(List, PipelinesOverTemporariesFreeWhatTheyHaveRead) {
    if (!core::detail::cellPoolEnabled) GTEST_SKIP() << "cells come from the general allocator here";
    constexpr std::int64_t n = 1'000'000;
    const std::size_t before = core::detail::cellPoolUsage().slabsInUse;
    std::size_t most = before;
    std::int64_t count = 0;
    auto sumWatching = [&](std::int64_t acc, std::int64_t x) {
        if (++count % 10'000 == 0) most = std::max(most, core::detail::cellPoolUsage().slabsInUse);
        return acc + x;
    };
    auto nats = [] { return List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, 1); };
    const std::int64_t sum = core::foldlStrict(sumWatching, std::int64_t{0},
                                               nats().take(n).append(List<std::int64_t>{-1}).take(n + 1));
    EXPECT_EQ(sum, n * (n + 1) / 2 - 1);
    // Kept cells would fill well over a thousand 64 KB slabs.
    EXPECT_LE(most, before + 8);
    count = 0;
    most = before;
    const std::int64_t lazySum = core::foldlStrict(
        sumWatching, std::int64_t{0},
        nats().take(n).appendLazy(core::defer([] { return List<std::int64_t>{-1}; })));
    EXPECT_EQ(lazySum, n * (n + 1) / 2 - 1);
    EXPECT_LE(most, before + 8);
}

TEST(NonEmpty, HeadAndTail) {
    NonEmpty<int> xs(1, List<int>{2, 3});
    EXPECT_EQ(xs.toVector(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(xs.length(), 3u);
    EXPECT_FALSE(NonEmpty<int>::fromList(List<int>()).has_value());
    EXPECT_EQ(NonEmpty<int>::fromList(List<int>{5, 6})->head, 5);
    EXPECT_THROW(NonEmpty<int>::fromVector({}), core::Error);
    EXPECT_LT(NonEmpty<int>(1), NonEmpty<int>(1, List<int>{0}));
}

// Lists are ordered exactly when their elements are; asking does not need
// the element type to be complete before the list is used (a tree holding a
// list of trees is named before it is complete).
namespace {
struct Unordered {
    int x;
    bool operator==(const Unordered&) const = default;
};
struct SelfListed {
    core::List<SelfListed> children;
    int label = 0;
};
}  // namespace
static_assert(std::three_way_comparable<core::List<int>>);
static_assert(!std::three_way_comparable<core::List<Unordered>>);
static_assert(sizeof(core::List<SelfListed>) > 0);
