// The free functions derived from ifoldMap, ifoldr and itraverse: results,
// effect orders, accumulator directions and early stops.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Support.h"

using core::Int;
using core::Lazy;
using core::List;
using core::NonEmpty;
using core::Unit;
using nt::Strings;

using nt::naturals;

TEST(DerivedFolds, OnAContainerWithoutElements) {
    List<int> none;
    auto p = [](Int, int) { return true; };
    EXPECT_FALSE(nerrow::iany(p, none));
    EXPECT_TRUE(nerrow::iall(p, none));
    EXPECT_TRUE(nerrow::inone(p, none));
    EXPECT_FALSE(nerrow::ifind(p, none).has_value());
    EXPECT_TRUE(nerrow::itoList(none).null());
    EXPECT_TRUE(nerrow::iconcatMap([](Int, int x) { return List<int>{x}; }, none).null());
    int calls = 0;
    auto t = nerrow::itraverse_([&calls](Int, int x) { ++calls; return nt::logged("x", x); }, none);
    EXPECT_EQ(t, (nt::Log<Unit>{Strings{}, core::unit}));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(nerrow::ifoldrM([](Int, int, int b) { return std::optional<int>(b + 1); }, 9, none), std::optional<int>(9));
    EXPECT_EQ(nerrow::ifoldlM([](Int, int b, int) { return std::optional<int>(b + 1); }, 9, none), std::optional<int>(9));
    auto l = nerrow::imapAccumL([](Int, int s, int x) { return std::pair<int, int>(s + x, s); }, 4, std::vector<int>{});
    EXPECT_EQ(l.first, 4);
    EXPECT_TRUE(l.second.empty());
    EXPECT_EQ(nerrow::imapAccumLStrict([](Int, int s, int x) { return std::pair<int, int>(s + x, s); }, 4, std::vector<int>{}),
              (std::pair<int, std::vector<int>>(4, {})));
    auto r = nerrow::imapAccumR([](Int, int s, int x) { return std::pair<int, int>(s + x, s); }, 4, List<int>{});
    EXPECT_EQ(r.first, 4);
    EXPECT_TRUE(r.second.null());
}

TEST(DerivedFolds, SearchesStopAtTheFirstDecidingElement) {
    Int examined = 0;
    EXPECT_TRUE(nerrow::iany([&examined](Int i, Int) { ++examined; return i == 2; }, naturals()));
    EXPECT_EQ(examined, 3);
    examined = 0;
    EXPECT_FALSE(nerrow::iall([&examined](Int i, Int) { ++examined; return i < 4; }, naturals()));
    EXPECT_EQ(examined, 5);
    examined = 0;
    auto found = nerrow::ifind([&examined](Int, Int x) { ++examined; return x * x > 50; }, naturals());
    EXPECT_EQ(found, (std::optional<std::pair<Int, Int>>({8, 8})));
    EXPECT_EQ(examined, 9);
    EXPECT_FALSE(nerrow::inone([](Int, Int x) { return x == 7; }, naturals()));
    EXPECT_TRUE(nerrow::none([](Int x) { return x > 9; }, List<Int>{1, 2, 3}));
    EXPECT_EQ(nerrow::ifind([](Int i, char) { return i == 2; }, List<char>{'a', 'b', 'c', 'd'}),
              (std::optional<std::pair<Int, char>>({2, 'c'})));
    EXPECT_EQ(nerrow::iconcatMap([](Int i, Int x) { return List<Int>{i, x}; }, naturals()).take(5).toVector(),
              (std::vector<Int>{0, 0, 1, 1, 2}));
}

TEST(DerivedFolds, ItoListOfAMapAnOptionalAndANonEmpty) {
    std::map<Int, char> m{{2, 'y'}, {1, 'x'}};
    EXPECT_EQ(nerrow::itoList(m).toVector(), (std::vector<std::pair<Int, char>>{{1, 'x'}, {2, 'y'}}));
    EXPECT_EQ(nerrow::itoList(std::optional<char>('x')).toVector(), (std::vector<std::pair<Unit, char>>{{core::unit, 'x'}}));
    EXPECT_EQ(nerrow::itoList(NonEmpty<char>('a', List<char>{'b', 'c'})).toVector(),
              (std::vector<std::pair<Int, char>>{{0, 'a'}, {1, 'b'}, {2, 'c'}}));
    EXPECT_EQ(nerrow::itoList(naturals()).take(2).toVector(), (std::vector<std::pair<Int, Int>>{{0, 0}, {1, 1}}));
}

TEST(DerivedFolds, MonadicFoldsCallInTheirDirections) {
    List<char> xs{'a', 'b', 'c'};
    auto l = nerrow::ifoldlM(
        [](Int i, std::string acc, char x) { return nt::logged(std::string(1, x), acc + std::to_string(i) + x); }, std::string(">"), xs);
    EXPECT_EQ(l.first, (Strings{"a", "b", "c"}));
    EXPECT_EQ(l.second, ">0a1b2c");
    auto r = nerrow::ifoldrM(
        [](Int i, char x, std::string acc) { return nt::logged(std::string(1, x), acc + std::to_string(i) + x); }, std::string("<"), xs);
    EXPECT_EQ(r.first, (Strings{"c", "b", "a"}));
    EXPECT_EQ(r.second, "<2c1b0a");
    // ifoldlM stops with the monad: the elements after a failure are not looked at.
    Int examined = 0;
    auto stop = nerrow::ifoldlM(
        [&examined](Int i, Int acc, Int x) {
            ++examined;
            return i == 3 ? std::optional<Int>() : std::optional<Int>(acc + x);
        },
        Int{0}, naturals());
    EXPECT_FALSE(stop.has_value());
    EXPECT_EQ(examined, 4);
}

TEST(DerivedEffects, TraverseAndMapMDiscardResultsInOrder) {
    List<int> xs{1, 2, 3};
    auto t = nerrow::itraverse_([](Int i, int x) { return nt::logged(std::to_string(i) + "=" + std::to_string(x), x * 2.5); }, xs);
    EXPECT_EQ(t.first, (Strings{"0=1", "1=2", "2=3"}));
    EXPECT_EQ(t.second, core::unit);
    auto m = nerrow::imapM_([](Int i, int) { return nt::logged(std::to_string(i), std::string("r")); }, xs);
    EXPECT_EQ(m.first, (Strings{"0", "1", "2"}));
    auto f2 = nerrow::ifor_(std::vector<int>{5}, [](Int i, int x) { return nt::logged(std::to_string(i + x), 0); });
    EXPECT_EQ(f2.first, (Strings{"5"}));
    auto m2 = nerrow::iforM_(std::vector<int>{5}, [](Int i, int x) { return nt::logged(std::to_string(i * x), 0); });
    EXPECT_EQ(m2.first, (Strings{"0"}));
}

TEST(DerivedEffects, ItraverseUnderscoreStopsAtAFailingEffect) {
    Strings ran;
    auto r = nerrow::itraverse_(
        [&ran](Int i, char c) {
            ran.push_back(std::string(1, c));
            return i == 1 ? std::optional<int>() : std::optional<int>(1);
        },
        List<char>{'a', 'b', 'c'});
    EXPECT_FALSE(r.has_value());
    EXPECT_EQ(ran, (Strings{"a", "b"}));
    ran.clear();
    auto e = nerrow::imapM_(
        [&ran](Int i, char c) {
            ran.push_back(std::string(1, c));
            return i == 1 ? core::Either<std::string, int>::left("no") : core::Either<std::string, int>::right(1);
        },
        std::vector<char>{'a', 'b', 'c'});
    EXPECT_TRUE(e.isLeft());
    EXPECT_EQ(e.unsafeLeft(), "no");
    EXPECT_EQ(ran, (Strings{"a", "b"}));
}

TEST(DerivedTraversals, ImapMAndIfor) {
    auto r = nerrow::imapM([](Int i, int x) { return x > 0 ? std::optional<Int>(i * x) : std::nullopt; }, List<int>{1, 2, 3});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->toVector(), (std::vector<Int>{0, 2, 6}));
    EXPECT_FALSE(nerrow::iforM(std::vector<int>{1, -1}, [](Int, int x) { return x > 0 ? std::optional<int>(x) : std::nullopt; }));
    auto w = nerrow::imapM([](Int i, char c) { return nt::logged(std::string(1, c), i); }, NonEmpty<char>('p', List<char>{'q'}));
    EXPECT_EQ(w.first, (Strings{"p", "q"}));
    EXPECT_EQ(nerrow::ifor(std::vector<int>{4, 5}, [](Int i, int x) { return core::Identity<Int>{i + x}; }).value,
              (std::vector<Int>{4, 6}));
}

TEST(DerivedTraversals, MapAccumThreadsTheStateInBothDirections) {
    auto step = [](Int, int s, int x) { return std::pair<int, int>(s + x, s); };
    auto l = nerrow::imapAccumL(step, 0, List<int>{1, 2, 3});
    EXPECT_EQ(l.first, 6);
    EXPECT_EQ(l.second.toVector(), (std::vector<int>{0, 1, 3}));
    auto r = nerrow::imapAccumR(step, 0, List<int>{1, 2, 3});
    EXPECT_EQ(r.first, 6);
    EXPECT_EQ(r.second.toVector(), (std::vector<int>{5, 3, 0}));
    // The index is passed first, and the container keeps its order.
    auto withIndex = nerrow::imapAccumR([](Int i, std::string s, char c) { return std::pair<std::string, std::string>(s + c, std::to_string(i) + s); },
                                        std::string(), std::vector<char>{'a', 'b', 'c'});
    EXPECT_EQ(withIndex.first, "cba");
    EXPECT_EQ(withIndex.first, std::string("cba"));
    EXPECT_EQ(withIndex.second, (std::vector<std::string>{"0cb", "1c", "2"}));
    // Through the default itraverse of a combined kind.
    auto p = core::Pair(List<int>{1, 2}, std::optional<int>(3));
    auto anyStep = [](const auto&, int s, int x) { return std::pair<int, int>(s + x, s); };
    auto pl = nerrow::imapAccumL(anyStep, 0, p);
    EXPECT_EQ(pl.first, 6);
    EXPECT_EQ(pl.second.second, std::optional<int>(3));
    auto pr = nerrow::imapAccumR(anyStep, 0, p);
    EXPECT_EQ(pr.second.first.toVector(), (std::vector<int>{5, 3}));
    EXPECT_EQ(pr.second.second, std::optional<int>(0));
    // The strict forms give the same results with a plain final state.
    EXPECT_EQ(nerrow::imapAccumLStrict(step, 0, List<int>{1, 2, 3}).second.toVector(), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(nerrow::imapAccumRStrict(step, 0, List<int>{1, 2, 3}).first, 6);
    // NonEmpty and ZipList keep their shape and indices.
    auto ne = nerrow::imapAccumL([](Int i, int s, int x) { return std::pair<int, int>(s + x, s * 10 + int(i)); }, 0,
                                 NonEmpty<int>(1, List<int>{2, 3}));
    EXPECT_EQ(ne.first.force(), 6);
    EXPECT_EQ(ne.second.head, 0);
    EXPECT_EQ(ne.second.tail.toVector(), (std::vector<int>{11, 32}));
    auto zl = nerrow::imapAccumR(step, 0, core::ZipList<int>{List<int>{1, 2, 3}});
    EXPECT_EQ(zl.first.force(), 6);
    EXPECT_EQ(zl.second.value.toVector(), (std::vector<int>{5, 3, 0}));
}

TEST(DerivedTraversals, MapAccumRunsAStepOnlyWhenItsElementOrStateIsDemanded) {
    int calls = 0;
    auto count = [&calls](Int i, Int s, Int x) {
        ++calls;
        return std::pair<Int, Int>(s + x, s * 100 + i);
    };
    // Left to right over an unbounded list: the first elements are there.
    auto [total, ys] = nerrow::imapAccumL(count, Int{0}, naturals());
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ys.take(4).toVector(), (std::vector<Int>{0, 1, 102, 303}));
    EXPECT_EQ(calls, 4);
    EXPECT_FALSE(total.evaluated());

    // Every step runs once, whichever of the state and the elements is
    // demanded first.
    calls = 0;
    auto l = nerrow::imapAccumL(count, Int{5}, List<Int>{1, 2, 3});
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(l.first.force(), 11);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(l.second.toVector(), (std::vector<Int>{500, 601, 802}));
    EXPECT_EQ(calls, 3);

    // Right to left: the first element needs every later step, so the whole
    // run is deferred, then shared by the state and the elements.
    calls = 0;
    auto r = nerrow::imapAccumR(count, Int{0}, List<Int>{1, 2, 3});
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(r.second.head(), 500);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(r.first.force(), 6);
    EXPECT_EQ(r.second.toVector(), (std::vector<Int>{500, 301, 2}));
    EXPECT_EQ(calls, 3);

    // NonEmpty's head is a plain field: its step runs at the call, the
    // tail's on demand.
    calls = 0;
    auto ne = nerrow::imapAccumL(count, Int{0}, NonEmpty<Int>(7, naturals()));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ne.second.tail.head(), 701);
    EXPECT_EQ(calls, 2);

    // A failing step raises when its result is demanded, not before.
    auto failing = nerrow::imapAccumL(
        [](Int i, int s, int x) {
            if (i == 2) throw core::Error("step failed");
            return std::pair<int, int>(s + x, s);
        },
        0, List<int>{1, 2, 3});
    EXPECT_EQ(failing.second.take(2).toVector(), (std::vector<int>{0, 1}));
    EXPECT_THROW(failing.first.force(), core::Error);
}

TEST(DerivedTraversals, MapAccumOnALongListRunsInConstantStack) {
    auto xs = List<Int>::iterate([](Int k) { return k + 1; }, 0).take(1'000'000);
    auto l = nerrow::imapAccumL([](Int i, Int s, Int) { return std::pair<Int, Int>(s + i, s); }, Int{0}, xs);
    EXPECT_EQ(l.first, Int{999'999} * 1'000'000 / 2);
    auto r = nerrow::imapAccumR([](Int, Int s, Int x) { return std::pair<Int, Int>(s + 1, x); }, Int{0}, xs);
    EXPECT_EQ(r.first, 1'000'000);
    // Walking the elements first, then forcing the state, then dropping
    // both: loops over a million shared steps.
    auto walked = nerrow::imapAccumL([](Int, Int s, Int x) { return std::pair<Int, Int>(s + x, x); }, Int{0}, xs);
    EXPECT_EQ(walked.second.drop(999'999).head(), 999'999);
    EXPECT_EQ(walked.first.force(), Int{999'999} * 1'000'000 / 2);
}

RC_GTEST_PROP(DerivedLaws, ItoListAgreesWithTheFoldsAndTheTraversal, (const std::vector<int>& raw)) {
    const std::vector<int> v = nt::small(raw);
    List<int> xs(v);
    auto pairs = nerrow::itoList(xs).toVector();
    std::vector<std::pair<Int, int>> viaFoldl = nerrow::ifoldlStrict(
        [](Int i, std::vector<std::pair<Int, int>> acc, int x) {
            acc.emplace_back(i, x);
            return acc;
        },
        std::vector<std::pair<Int, int>>{}, xs);
    RC_ASSERT(pairs == viaFoldl);
    auto viaTraverse = nerrow::itraverse([](Int i, int x) { return std::pair<std::vector<std::pair<Int, int>>, int>({{i, x}}, x); }, xs);
    RC_ASSERT(pairs == viaTraverse.first);
    auto target = v.empty() ? 0 : v[v.size() / 2];
    auto found = nerrow::ifind([&](Int, int x) { return x == target; }, xs);
    RC_ASSERT(found.has_value() == !v.empty());
    RC_ASSERT(nerrow::iany([&](Int, int x) { return x == target; }, xs) == !v.empty());
    RC_ASSERT(nerrow::iall([](Int i, int) { return i >= 0; }, xs));
}
