// Traversals of List and NonEmpty in the strict applicatives, which build
// their result in one pass: the same results, effects in the same order and
// the same early stop as the generic traversal (checked against the
// traversal of the same elements in a std::vector), in constant stack.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/FunctorTypes.h"
#include "Core/Monoids.h"
#include "Core/NonEmpty.h"
#include "Core/State.h"
#include "Core/Traversable.h"

using core::List;
using core::NonEmpty;

namespace {
using E = core::Either<std::string, int>;
// Arithmetic on the random elements wraps (unsigned arithmetic, converted
// back modulo 2^32), so no input overflows.
int wrapping(unsigned v) { return static_cast<int>(v); }
unsigned bits(int x) { return static_cast<unsigned>(x); }
std::optional<int> noThirteen(int x) {
    return x == 13 ? std::nullopt : std::optional<int>(wrapping(bits(x) * 2u));
}
E leftAtThirteen(int x) {
    return x == 13 ? E::left("13 found") : E::right(wrapping(bits(x) - 1u));
}
std::pair<std::string, int> logOf(int x) {
    return {std::to_string(x) + ";", wrapping(bits(x) * 3u)};
}
core::StateL<int, int> numberL(int x) {
    return {[x](int s) { return std::pair<int, int>(s + 1, wrapping(bits(s) * 100u + bits(x))); }};
}
core::StateR<int, int> numberR(int x) {
    return {[x](int s) { return std::pair<int, int>(s + 1, wrapping(bits(s) * 100u + bits(x))); }};
}
}  // namespace

RC_GTEST_PROP(TraverseList, StrictApplicativesAgreeWithTheVectorTraversal, (std::vector<int> v)) {
    const List<int> xs(v);
    auto asList = [](const std::vector<int>& w) { return List<int>(w); };

    auto o = core::traverse(noThirteen, xs);
    auto ov = core::traverse(noThirteen, v);
    RC_ASSERT(o.has_value() == ov.has_value());
    if (o) RC_ASSERT(*o == asList(*ov));

    auto e = core::traverse(leftAtThirteen, xs);
    auto ev = core::traverse(leftAtThirteen, v);
    RC_ASSERT(e.isLeft() == ev.isLeft());
    if (e.isLeft())
        RC_ASSERT(e.left() == ev.left());
    else
        RC_ASSERT(e.right() == asList(ev.right()));

    auto w = core::traverse(logOf, xs);
    auto wv = core::traverse(logOf, v);
    RC_ASSERT(w.first == wv.first);
    RC_ASSERT(w.second == asList(wv.second));

    auto [sl, rl] = core::runStateL(core::traverse(numberL, xs), 7);
    auto [slv, rlv] = core::runStateL(core::traverse(numberL, v), 7);
    RC_ASSERT(sl == slv);
    RC_ASSERT(rl == asList(rlv));
    auto [sr, rr] = core::runStateR(core::traverse(numberR, xs), 7);
    auto [srv, rrv] = core::runStateR(core::traverse(numberR, v), 7);
    RC_ASSERT(sr == srv);
    RC_ASSERT(rr == asList(rrv));

    if (!v.empty()) {
        const NonEmpty<int> ne = NonEmpty<int>::fromVector(v);
        auto on = core::traverse(noThirteen, ne);
        RC_ASSERT(on.has_value() == ov.has_value());
        if (on) RC_ASSERT(on->toVector() == *ov);
        auto wn = core::traverse(logOf, ne);
        RC_ASSERT(wn.first == wv.first);
        RC_ASSERT(wn.second.toVector() == wv.second);
        auto [srn, rrn] = core::runStateR(core::traverse(numberR, ne), 7);
        RC_ASSERT(srn == srv);
        RC_ASSERT(rrn.toVector() == rrv);
    }
}

TEST(TraverseList, StateRunsEffectsInOrderAndFailuresStopUnboundedLists) {
    // StateL numbers the elements front to back, StateR back to front; both
    // keep the list's order.
    auto [sl, rl] = core::runStateL(core::traverse(numberL, List<int>{1, 2, 3}), 0);
    EXPECT_EQ(sl, 3);
    EXPECT_EQ(rl.toVector(), (std::vector<int>{1, 102, 203}));
    auto [sr, rr] = core::runStateR(core::traverse(numberR, List<int>{1, 2, 3}), 0);
    EXPECT_EQ(sr, 3);
    EXPECT_EQ(rr.toVector(), (std::vector<int>{201, 102, 3}));

    // The function is called up to the first failure, and no further.
    int calls = 0;
    auto nats = List<int>::iterate([](int n) { return n + 1; }, 0);
    auto counted = [&](int x) {
        ++calls;
        return noThirteen(x);
    };
    EXPECT_EQ(core::traverse(counted, nats), std::nullopt);
    EXPECT_EQ(calls, 14);
    EXPECT_EQ(core::traverse(leftAtThirteen, nats).left(), "13 found");
    EXPECT_EQ(core::mapM(leftAtThirteen, NonEmpty<int>(1, nats)).left(), "13 found");
    EXPECT_EQ(core::sequenceA(List<std::optional<int>>{1, std::nullopt}), std::nullopt);
    EXPECT_EQ(core::sequence(List<std::optional<int>>{1, 2})->toVector(), (std::vector<int>{1, 2}));
    EXPECT_EQ(core::sequenceA(List<std::optional<int>>()), std::optional<List<int>>(List<int>()));
}

TEST(TraverseList, TenMillionElementsInStateAndWriterInConstantStack) {
    constexpr std::int64_t n = 10'000'000;
    auto xs = List<std::int64_t>::iterate([](std::int64_t v) { return v + 1; }, 1).take(n);
    auto step = [](std::int64_t x) {
        return core::StateL<std::int64_t, std::int64_t>{
            [x](std::int64_t s) { return std::pair<std::int64_t, std::int64_t>(s + x, s); }};
    };
    auto [total, prefixes] = core::runStateL(core::traverse(step, xs), std::int64_t{0});
    EXPECT_EQ(total, n * (n + 1) / 2);
    EXPECT_EQ(prefixes.drop(3).head(), 6);
    auto w = core::traverse([](std::int64_t x) { return std::pair<core::Additive<std::int64_t>, std::int64_t>({x}, -x); }, xs);
    EXPECT_EQ(w.first.value, n * (n + 1) / 2);
    EXPECT_EQ(w.second.head(), -1);
}
