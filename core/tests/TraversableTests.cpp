#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/FunctorTypes.h"
#include "Core/Monoids.h"
#include "Core/State.h"
#include "Core/Traversable.h"

using core::List;

namespace {
using Log = std::pair<std::string, int>;
std::optional<int> halveEven(int x) {
    return x % 5 == 0 ? std::nullopt : std::optional<int>(x / 2);
}
Log logged(int y) {
    return {std::to_string(y) + ",", y + 1};
}

// traverse Identity = Identity, and
// traverse (Compose . fmap g . f) = Compose . fmap (traverse g) . traverse f.
template <class T>
void checkTraversalLaws(const T& t) {
    using core::Compose;
    using core::OptionalK;
    using core::PairK;
    auto id = core::traverse([](int x) { return core::Identity<int>{x}; }, t);
    RC_ASSERT(id.value == t);

    auto composed = core::traverse(
        [](int x) { return Compose<OptionalK, PairK<std::string>, int>{core::fmap(logged, halveEven(x))}; }, t);
    auto outer = core::traverse(halveEven, t);
    auto expected = core::fmap([](const T& inner) { return core::traverse(logged, inner); }, outer);
    RC_ASSERT(composed.value == expected);

    // In Const, traverse is foldMap.
    auto viaConst = core::traverse([](int x) { return core::Const<std::string, bool>{std::to_string(x)}; }, t);
    RC_ASSERT(viaConst.value == core::foldMap([](int x) { return std::to_string(x); }, t));
}
}  // namespace

RC_GTEST_PROP(TraversableLaws, IdentityCompositionAndConst, (bool flag)) {
    // Small enough that adding one cannot overflow.
    const auto v = *rc::gen::container<std::vector<int>>(rc::gen::inRange(-100000, 100000));
    const int x = *rc::gen::inRange(-100000, 100000);
    checkTraversalLaws(v);
    checkTraversalLaws(List<int>(v));
    checkTraversalLaws(flag ? std::optional<int>(x) : std::nullopt);
    checkTraversalLaws(flag ? core::Either<std::string, int>::right(x) : core::Either<std::string, int>::left("l"));
    checkTraversalLaws(core::NonEmpty<int>(x, List<int>(v)));
    checkTraversalLaws(std::pair<char, int>('p', x));
    checkTraversalLaws(core::Identity<int>{x});
    checkTraversalLaws(core::Compose<core::VectorK, core::ListK, int>{{List<int>(v), List<int>{x}}});
    checkTraversalLaws(core::Product<core::VectorK, core::OptionalK, int>{v, std::optional<int>(x)});
    checkTraversalLaws(core::ZipList<int>{List<int>(v)});
    std::map<int, int> m;
    for (int e : v) m[e] = e + x;
    checkTraversalLaws(m);
}

TEST(Traversable, IdentityAndConstWorkOnUnboundedLists) {
    auto nats = List<int>::iterate([](int n) { return n + 1; }, 0);
    // In Identity the result is produced on demand.
    auto doubled = core::traverse([](int x) { return core::Identity<int>{x * 2}; }, nats);
    EXPECT_EQ(doubled.value.take(4).toVector(), (std::vector<int>{0, 2, 4, 6}));
    // In Const with a monoid that stops early, the traversal stops too.
    auto found = core::traverse([](int x) { return core::Const<core::Any, core::Unit>{core::Any{x == 1234}}; }, nats);
    EXPECT_TRUE(found.value.value);
    auto firstBig = core::traverse(
        [](int x) { return core::Const<core::First<int>, int>{{x > 99 ? std::optional<int>(x) : std::nullopt}}; }, nats);
    EXPECT_EQ(firstBig.value.value, std::optional<int>(100));
}

TEST(Traversable, EffectsRunInOrderAndShortCircuitTheResult) {
    std::vector<int> v{1, 2, 3};
    EXPECT_EQ(core::traverse(logged, v), (std::pair<std::string, std::vector<int>>("1,2,3,", {2, 3, 4})));
    EXPECT_EQ(core::traverse(halveEven, std::vector<int>{2, 4}), std::optional<std::vector<int>>({1, 2}));
    EXPECT_EQ(core::traverse(halveEven, std::vector<int>{2, 10, 4}), std::nullopt);
    // A failure ends the traversal, also of an unbounded list.
    auto nats = List<int>::iterate([](int n) { return n + 1; }, 1);
    EXPECT_EQ(core::traverse(halveEven, nats), std::nullopt);
    using E = core::Either<std::string, int>;
    auto upTo = [](int n) { return n < 3 ? E::right(n) : E::left("at " + std::to_string(n)); };
    EXPECT_EQ(core::traverse(upTo, nats).left(), "at 3");
    EXPECT_EQ(core::traverse(upTo, std::vector<int>{1, 2}).right(), (std::vector<int>{1, 2}));
    EXPECT_EQ(core::sequenceA(std::vector<std::optional<int>>{1, 2}), std::optional<std::vector<int>>({1, 2}));
    EXPECT_EQ(core::mapM(halveEven, List<int>{4})->toVector(), std::vector<int>{2});
    EXPECT_EQ(core::sequence(std::optional<std::vector<int>>({1, 2})).size(), 2u);
    // Every combination in the List applicative.
    auto choices = core::traverse([](int x) { return List<int>{x, -x}; }, std::vector<int>{1, 2});
    EXPECT_EQ(choices.length(), 4u);
    EXPECT_EQ(choices.drop(1).head(), (std::vector<int>{1, -2}));
    // Reverse traverses last to first but keeps the shape.
    auto rev = core::traverse(logged, core::Reverse<core::VectorK, int>{v});
    EXPECT_EQ(rev.first, "3,2,1,");
    EXPECT_EQ(rev.second.value, (std::vector<int>{2, 3, 4}));
    // traverse_ keeps only the effects.
    EXPECT_EQ(core::traverse_(logged, List<int>{7, 8}), (std::pair<std::string, core::Unit>("7,8,", core::unit)));
    EXPECT_EQ(core::for_(std::vector<int>{5}, halveEven), std::nullopt);
    EXPECT_EQ(core::sequenceA_(std::vector<std::optional<int>>{1, 2}), std::optional<core::Unit>(core::unit));
}

TEST(Traversable, MapAccumThreadsStateBothWays) {
    auto running = [](int s, int x) { return std::pair<int, int>(s + x, s); };
    auto l = core::mapAccumL(running, 0, std::vector<int>{1, 2, 3});
    EXPECT_EQ(l.first, 6);
    EXPECT_EQ(l.second, (std::vector<int>{0, 1, 3}));
    auto r = core::mapAccumR(running, 0, List<int>{1, 2, 3});
    EXPECT_EQ(r.first, 6);
    EXPECT_EQ(r.second.toVector(), (std::vector<int>{5, 3, 0}));
    // Through the state applicatives for other structures.
    core::Compose<core::OptionalK, core::VectorK, int> c{std::vector<int>{1, 2, 3}};
    auto cl = core::mapAccumL(running, 10, c);
    EXPECT_EQ(cl.first, 16);
    EXPECT_EQ(cl.second.value, std::optional<std::vector<int>>({10, 11, 13}));
    auto cr = core::mapAccumR(running, 10, c);
    EXPECT_EQ(cr.second.value, std::optional<std::vector<int>>({15, 13, 10}));
}

// A product is traversed left part first: the caller's function is called on
// the elements in fold order, not only combined in that order.
TEST(Traversable, ProductCallsTheFunctionOnTheFirstPartFirst) {
    core::Product<core::VectorK, core::OptionalK, int> p{std::vector<int>{1, 2}, std::optional<int>(3)};
    std::vector<int> calls;
    auto r = core::traverse(
        [&calls](int x) {
            calls.push_back(x);
            return std::optional<int>(x * 10);
        },
        p);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->first, (std::vector<int>{10, 20}));
    EXPECT_EQ(r->second, std::optional<int>(30));
    EXPECT_EQ(calls, (std::vector<int>{1, 2, 3}));
}
