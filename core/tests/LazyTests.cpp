#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Core/CellPool.h"
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

// A deferred value compares with plain values through its value, forcing
// it, whichever side it is on.
TEST(Lazy, ComparesWithPlainValuesByItsValue) {
    int calls = 0;
    auto name = core::defer([&] {
        ++calls;
        return std::string("abc");
    });
    EXPECT_TRUE(name == "abc");
    EXPECT_TRUE(std::string("abc") == name);
    EXPECT_TRUE(name != "abd");
    EXPECT_FALSE(name == "abd");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(core::now(7), 7);
    EXPECT_NE(7L, core::now(8));
}

TEST(Lazy, ReleasesTheCapturedFunctionAfterEvaluation) {
    auto captured = std::make_shared<int>(7);
    std::weak_ptr<int> watch = captured;
    auto x = core::defer([c = std::move(captured)] { return *c + 1; });
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(x.force(), 8);
    EXPECT_TRUE(watch.expired());
}

// The function may be kept in the bytes where its value goes: whichever of
// the two is larger, the value comes out whole and the function's captures
// are released, on success and on failure; a value whose move may throw
// keeps the function apart.
namespace {
struct ThrowingMove {
    std::string text;
    explicit ThrowingMove(std::string t) : text(std::move(t)) {}
    ThrowingMove(const ThrowingMove&) = default;
    ThrowingMove(ThrowingMove&& o) noexcept(false) : text(std::move(o.text)) {}
};
}  // namespace
TEST(Lazy, KeepsTheFunctionWhereTheValueGoesAndReleasesIt) {
    auto captured = std::make_shared<int>(5);
    std::weak_ptr<int> watch = captured;
    const std::array<long, 8> wide{1, 2, 3, 4, 5, 6, 7, 8};
    auto small = core::defer([c = captured, wide] { return static_cast<char>('a' + *c + wide[7]); });
    auto failing = core::defer([c = captured, wide]() -> char { throw std::runtime_error(std::to_string(wide[0])); });
    captured.reset();
    EXPECT_EQ(small.force(), 'n');
    EXPECT_FALSE(watch.expired());  // still held by the failing one
    EXPECT_THROW(failing.force(), std::runtime_error);
    EXPECT_TRUE(watch.expired());

    auto wideValue = core::defer([n = 3] { return std::string(40, static_cast<char>('0' + n)); });
    EXPECT_EQ(wideValue.force(), std::string(40, '3'));
    auto throwingMove = core::defer([s = std::string("kept apart")] { return ThrowingMove(s); });
    EXPECT_EQ(throwingMove.force().text, "kept apart");
    EXPECT_EQ(throwingMove.force().text, "kept apart");

    // A function of two pointers and a 24-byte value share 24 bytes after
    // the 16-byte header.
    struct TwoPointers {
        void* a;
        void* b;
        std::array<long, 3> operator()() const { return {}; }
    };
    EXPECT_LE(sizeof(core::detail::LazyThunk<std::array<long, 3>, TwoPointers>), 40u);
}

// A computed value with nothing to destroy is freed without its
// destructors; every other kind of state still goes through them. Many
// rounds of each, so that a block freed to the wrong place or not at all
// shows as pool growth, a wrong value or a sanitizer report.
TEST(Lazy, EveryKindOfStateIsFreedTheRightWay) {
    struct alignas(64) Wide {
        long v[8];
    };
    auto watched = std::make_shared<int>(1);
    const std::size_t slabsBefore = core::detail::cellPoolUsage().slabsInUse;
    long sum = 0;
    for (int i = 0; i < 200000; ++i) {
        auto computed = core::defer([i] { return i; });           // plain once done
        auto ready = core::now(static_cast<long>(i));              // plain from the start
        auto aligned = core::defer([i] { return Wide{{i, 0, 0, 0, 0, 0, 0, 1}}; });  // not a pool block
        auto holding = core::defer([w = watched] { return *w; });  // dropped pending: its capture goes
        sum += computed.force() + ready.force() + aligned.force().v[0] + aligned.force().v[7];
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&aligned.force()) % 64, 0u);
    }
    EXPECT_EQ(sum, 3L * (200000L * 199999 / 2) + 200000);
    EXPECT_EQ(watched.use_count(), 1);
    EXPECT_LE(core::detail::cellPoolUsage().slabsInUse, slabsBefore + 2);
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

// Two values computed on two threads, each demanding the other once both
// have started: the thread that closes the cycle raises, and the other one
// receives the same failure through the value it waits for. Run with a
// watchdog, so a deadlock fails the test instead of hanging it.
namespace {
struct CycleRun {
    std::atomic<int> started{0};
    std::vector<std::optional<core::Lazy<int>>> values;
    std::vector<std::string> outcomes;
    std::atomic<int> finished{0};
};

// n values, value i demanding value (i + 1) % n, each forced on a thread of
// its own; returns false if they did not all finish within the time limit.
bool runCycle(const std::shared_ptr<CycleRun>& run, int n) {
    run->values.resize(n);
    run->outcomes.resize(n);
    for (int i = 0; i < n; ++i)
        run->values[i].emplace(core::defer([raw = run.get(), i, n]() -> int {
            raw->started.fetch_add(1);
            while (raw->started.load() < n) std::this_thread::yield();
            return raw->values[(i + 1) % n]->force() + 1;
        }));
    for (int i = 0; i < n; ++i)
        std::thread([run, i] {
            try {
                run->values[i]->force();
                run->outcomes[i] = "no error";
            } catch (const core::Error& e) {
                run->outcomes[i] = e.what();
            }
            run->finished.fetch_add(1);
        }).detach();
    for (int waited = 0; waited < 1000 && run->finished.load() < n; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return run->finished.load() == n;
}
}  // namespace

TEST(Lazy, CycleAcrossThreadsRaisesInsteadOfDeadlocking) {
    for (int n : {2, 3}) {
        for (int round = 0; round < 5; ++round) {
            // Shared with the threads, and kept alive if they hang.
            auto run = std::make_shared<CycleRun>();
            if (!runCycle(run, n)) {
                new std::shared_ptr<CycleRun>(run);  // the blocked threads still use it
                FAIL() << "deferred values demanding each other across " << n << " threads deadlocked";
            }
            for (int i = 0; i < n; ++i) EXPECT_EQ(run->outcomes[i], "deferred value depends on itself") << i;
        }
    }
}

// Waiting for a value another thread computes is not a cycle: the waiting
// thread gets the value.
TEST(Lazy, WaitingForAnotherThreadWithoutACycleSucceeds) {
    std::atomic<bool> started{false}, release{false};
    auto slow = core::defer([&] {
        started.store(true);
        while (!release.load()) std::this_thread::yield();
        return 5;
    });
    auto outer = core::defer([&, slow] { return slow.force() * 2; });
    std::thread t([&] { slow.force(); });
    while (!started.load()) std::this_thread::yield();
    std::thread u([&] { EXPECT_EQ(outer.force(), 10); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    release.store(true);
    t.join();
    u.join();
}

// Threads racing along one chain of deferred values meet at its frontier
// again and again: each value is still computed once, every thread sees
// every result, and a thread that waits is woken when the value is ready.
TEST(Lazy, ThreadsRacingAlongOneChainComputeEachValueOnce) {
    struct Cell {
        long value;
        core::Lazy<std::shared_ptr<const Cell>> next;
    };
    using Next = core::Lazy<std::shared_ptr<const Cell>>;
    constexpr long n = 20'000;
    std::atomic<long> calls{0};
    // next(k) computes cell k, whose successor is deferred in turn.
    struct Make {
        std::atomic<long>* calls;
        Next operator()(long k) const {
            Make self = *this;
            return Next::fromFunction([self, k] {
                self.calls->fetch_add(1, std::memory_order_relaxed);
                return std::make_shared<const Cell>(Cell{k, self(k + 1)});
            });
        }
    };
    Next first = Make{&calls}(0);
    std::vector<long> sums(4, 0);
    std::vector<std::thread> ts;
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&sums, first, t] {
            long sum = 0;
            std::shared_ptr<const Cell> c = first.force();
            for (long k = 0; k < n; ++k) {
                sum += c->value;
                c = c->next.force();
            }
            sums[t] = sum;
        });
    for (auto& t : ts) t.join();
    EXPECT_EQ(calls.load(), n + 1);
    for (long s : sums) EXPECT_EQ(s, n * (n - 1) / 2);
}

// Chains of deferred values that were never forced are freed in constant
// stack, whatever the functions capture.
TEST(Lazy, TenMillionUnforcedChainIsDroppedInConstantStack) {
    constexpr long n = 10'000'000;
    core::Lazy<long> v = core::now(0L);
    for (long i = 0; i < n; ++i) v = core::defer([p = v] { return *p + 1; });
    v = core::now(0L);  // the chain is freed here
    // The same through fields, which hold small values inline.
    core::LazyField<long> f(0L);
    for (long i = 0; i < n; ++i) f = core::LazyField<long>(core::defer([p = f] { return *p + 1; }));
    f = core::LazyField<long>(0L);
    // A chain that is partly forced: the forced part holds no function.
    core::Lazy<long> w = core::now(0L);
    for (long i = 0; i < 100'000; ++i) w = core::defer([p = w] { return *p + 1; });
    EXPECT_EQ(w.force(), 100'000);
    for (long i = 0; i < n; ++i) w = core::defer([p = w] { return *p + 1; });
    w = core::now(0L);
    EXPECT_EQ(v.force() + f.force() + w.force(), 0);
}
