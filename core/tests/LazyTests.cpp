#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "Core/Error.h"
#include "Core/Lazy.h"

TEST(Lazy, RunsOnceOnFirstDemand) {
    int calls = 0;
    auto x = core::defer([&] { return ++calls * 10; });
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(x.evaluated());
    auto copy = x;
    EXPECT_EQ(copy.force(), 10);
    EXPECT_EQ(x.force(), 10);
    EXPECT_EQ(*x, 10);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(x.evaluated());
    EXPECT_TRUE(core::now(3).evaluated());
}

TEST(Lazy, ReleasesTheCapturedFunctionAfterEvaluation) {
    auto captured = std::make_shared<int>(7);
    std::weak_ptr<int> watch = captured;
    auto x = core::defer([c = std::move(captured)] { return *c + 1; });
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(x.force(), 8);
    EXPECT_TRUE(watch.expired());
}

TEST(Lazy, ForcedFromEightThreadsRunsOnce) {
    for (int round = 0; round < 50; ++round) {
        std::atomic<int> calls{0};
        std::atomic<bool> go{false};
        auto x = core::defer([&] {
            calls.fetch_add(1);
            std::this_thread::yield();
            return std::vector<int>(100, round);
        });
        std::vector<std::thread> ts;
        std::atomic<int> sum{0};
        for (int t = 0; t < 8; ++t)
            ts.emplace_back([&, x] {
                while (!go.load()) std::this_thread::yield();
                sum.fetch_add(x.force()[99]);
            });
        go.store(true);
        for (auto& t : ts) t.join();
        EXPECT_EQ(calls.load(), 1);
        EXPECT_EQ(sum.load(), 8 * round);
    }
}

TEST(Lazy, SelfDependencyRaisesInsteadOfDeadlocking) {
    std::optional<core::Lazy<int>> self;
    self.emplace(core::defer([&]() -> int { return self->force() + 1; }));
    try {
        self->force();
        FAIL() << "expected core::Error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "deferred value depends on itself");
    }
    // The failure is remembered: a second demand raises the same error.
    EXPECT_THROW(self->force(), core::Error);
}

TEST(Lazy, AFailureIsRethrownOnEveryDemand) {
    int calls = 0;
    auto x = core::defer([&]() -> int {
        ++calls;
        throw std::runtime_error("boom");
    });
    EXPECT_THROW(x.force(), std::runtime_error);
    EXPECT_THROW(x.force(), std::runtime_error);
    EXPECT_EQ(calls, 1);
}
