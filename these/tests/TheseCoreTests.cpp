#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Data/These.h"
#include "Data/These/Combinators.h"

using core::List;
using these::That;
using these::These;
using these::This;

using TIC = These<int, char>;

TEST(These, BuildingNeedsNoTypeNamesWhereTheyAreDeduced) {
    TIC a = This(1);
    TIC b = That('x');
    auto c = These(1, 'x');
    static_assert(std::is_same_v<decltype(c), TIC>);
    EXPECT_EQ(a.index(), 0);
    EXPECT_EQ(b.index(), 1);
    EXPECT_EQ(c.index(), 2);
    EXPECT_EQ(c.left(), 1);
    EXPECT_EQ(c.right(), 'x');
    EXPECT_THROW(a.right(), core::Error);
    EXPECT_THROW(b.left(), core::Error);
}

TEST(These, ConstructionNeverEvaluatesFields) {
    int calls = 0;
    These<int, int> t(core::defer([&] { return ++calls; }), core::defer([&] { return calls += 10; }));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(t.right(), 10);
    EXPECT_EQ(t.left(), 11);
    EXPECT_EQ(t.left(), 11);
    EXPECT_EQ(calls, 11);
}

TEST(These, Eliminators) {
    auto showIt = [](const TIC& t) {
        return these::these([](int a) { return std::to_string(a); }, [](char b) { return std::string(1, b); },
                            [](int a, char b) { return std::to_string(a) + b; }, t);
    };
    EXPECT_EQ(showIt(This(5)), "5");
    EXPECT_EQ(showIt(That('y')), "y");
    EXPECT_EQ(showIt(These(5, 'y')), "5y");
    EXPECT_EQ(these::fromThese(0, 'x', TIC(This(5))), std::make_pair(5, 'x'));
    EXPECT_EQ(these::fromThese(0, 'x', TIC(That('y'))), std::make_pair(0, 'y'));

    int calls = 0;
    auto plus = [&](int a, int b) {
        ++calls;
        return a + b;
    };
    EXPECT_EQ(these::mergeThese(plus, These(2, 3)), 5);
    EXPECT_EQ(these::mergeThese(plus, These<int, int>(This(2))), 2);
    EXPECT_EQ(calls, 1);
}

TEST(These, MergeTheseWithHandsOverUnevaluatedResults) {
    auto twice = [](int x) { return 2 * x; };
    auto id = [](int x) { return x; };
    EXPECT_EQ(these::mergeTheseWith(twice, id, [](int a, int b) { return a - b; }, These(4, 3)), 5);
    int gCalls = 0;
    auto counted = [&](int x) {
        ++gCalls;
        return x;
    };
    auto firstOnly = [](const core::Lazy<int>& a, const core::Lazy<int>&) { return a.force(); };
    EXPECT_EQ(these::mergeTheseWith(twice, counted, firstOnly, These(4, 3)), 8);
    EXPECT_EQ(gCalls, 0);
}

TEST(These, PartitionsKeepInputOrder) {
    List<TIC> xs{This(1), These(2, 'b'), That('c'), This(3)};
    auto [as, bs, abs] = these::partitionThese(xs);
    EXPECT_EQ(as.toVector(), (std::vector<int>{1, 3}));
    EXPECT_EQ(bs.toVector(), (std::vector<char>{'c'}));
    EXPECT_EQ(abs.toVector(), (std::vector<std::pair<int, char>>{{2, 'b'}}));
    auto [hs, ts] = these::partitionHereThere(xs);
    EXPECT_EQ(hs.toVector(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ts.toVector(), (std::vector<char>{'b', 'c'}));
    auto [e1, e2, e3] = these::partitionThese(List<TIC>());
    EXPECT_TRUE(e1.null() && e2.null() && e3.null());
}

TEST(These, PartitionsWorkOnUnboundedLists) {
    // This 0, That 1, These 2 2, This 3, ... without end.
    auto gen = List<These<int, int>>::unfoldr(
        [](int n) -> std::optional<std::pair<These<int, int>, int>> {
            These<int, int> t = n % 3 == 0 ? These<int, int>(This(n)) : n % 3 == 1 ? These<int, int>(That(n)) : These(n, n);
            return std::pair{t, n + 1};
        },
        0);
    auto [as, bs, abs] = these::partitionThese(gen);
    EXPECT_EQ(as.take(3).toVector(), (std::vector<int>{0, 3, 6}));
    EXPECT_EQ(abs.head(), std::make_pair(2, 2));
    auto [hs, ts] = these::partitionHereThere(gen);
    EXPECT_EQ(ts.take(4).toVector(), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(these::catThis(gen).drop(1000).head(), 3000);
}

TEST(These, PartitionEithersNE) {
    using E = core::Either<char, int>;
    core::NonEmpty<E> xs(E(core::Right(1)), List<E>{E(core::Left('a')), E(core::Right(2))});
    auto r = these::partitionEithersNE(xs);
    ASSERT_TRUE(r.isThese());
    EXPECT_EQ(r.left().toVector(), (std::vector<char>{'a'}));
    EXPECT_EQ(r.right().toVector(), (std::vector<int>{1, 2}));
    auto l = these::partitionEithersNE(core::NonEmpty<E>(E(core::Left('a'))));
    ASSERT_TRUE(l.isThis());
    EXPECT_EQ(l.left().toVector(), (std::vector<char>{'a'}));
    auto rr = these::partitionEithersNE(core::NonEmpty<E>(E(core::Right(1)), List<E>{E(core::Right(2))}));
    ASSERT_TRUE(rr.isThat());
    EXPECT_EQ(rr.right().toVector(), (std::vector<int>{1, 2}));
}

TEST(These, DistributionOverPairs) {
    using P = std::pair<int, int>;
    auto u1 = these::undistrThesePair(std::pair<TIC, TIC>(These(1, 'z'), These(2, 'd')));
    EXPECT_EQ(u1, (These<P, char>(These(P(1, 2), 'z'))));
    auto u2 = these::undistrThesePair(std::pair<TIC, TIC>(This(1), That('d')));
    EXPECT_EQ(u2, (These<P, char>(That('d'))));
    auto u3 = these::undistrThesePair(std::pair<TIC, TIC>(That('z'), These(2, 'd')));
    EXPECT_EQ(u3, (These<P, char>(That('z'))));
    auto u4 = these::undistrThesePair(std::pair<TIC, TIC>(These(1, 'z'), That('d')));
    EXPECT_EQ(u4, (These<P, char>(That('z'))));

    These<P, char> t = These(P(1, 2), 'z');
    auto [l, r] = these::distrThesePair(t);
    EXPECT_EQ(l, TIC(These(1, 'z')));
    EXPECT_EQ(r, TIC(These(2, 'z')));
    // That z goes to both sides as the input's own field.
    These<P, char> z = That(core::defer([] { return 'q'; }));
    auto [zl, zr] = these::distrThesePair(z);
    EXPECT_TRUE(zl.rightField().sameAs(z.rightField()));
    EXPECT_TRUE(zr.rightField().sameAs(z.rightField()));

    using PC = std::pair<int, char>;
    auto up = these::undistrPairThese(These<PC, PC>(These(PC(1, 'z'), PC(2, 'd'))));
    EXPECT_EQ(up.first, (These<int, int>(These(1, 2))));
    EXPECT_EQ(up.second, 'z');
    auto dp = these::distrPairThese(std::pair<These<int, int>, char>(These(1, 2), 'z'));
    EXPECT_EQ(dp, (These<PC, PC>(These(PC(1, 'z'), PC(2, 'z')))));
}

TEST(These, AssocAndSwapRoundTripOnEveryShape) {
    using Inner = These<int, char>;
    using T = These<Inner, std::string>;
    std::vector<T> shapes = {This(Inner(This(1))), This(Inner(That('b'))), This(Inner(These(1, 'b'))),
                             That(std::string("z")), T(These(Inner(This(1)), std::string("z"))),
                             T(These(Inner(That('b')), std::string("z"))), T(These(Inner(These(1, 'b')), std::string("z")))};
    for (const T& x : shapes) {
        EXPECT_EQ(these::unassocThese(these::assocThese(x)), x);
        auto y = these::assocThese(x);
        EXPECT_EQ(these::assocThese(these::unassocThese(y)), y);
        EXPECT_EQ(these::swapThese(these::swapThese(x)), x);
    }
    EXPECT_EQ(these::assocThese(T(These(Inner(That('b')), std::string("z")))),
              (These<int, These<char, std::string>>(That(These<char, std::string>(These('b', std::string("z")))))));
}

TEST(These, PredicatesAndSelectors) {
    std::vector<TIC> all = {This(1), That('b'), These(1, 'b')};
    for (const auto& t : all) {
        EXPECT_EQ(these::isThis(t) + these::isThat(t) + these::isThese(t), 1);
        EXPECT_EQ(these::hasHere(t), !these::isThat(t));
        EXPECT_EQ(these::hasThere(t), !these::isThis(t));
    }
    EXPECT_EQ(these::justHere(all[2]), std::optional<int>(1));
    EXPECT_EQ(these::justThere(all[0]), std::nullopt);
    EXPECT_EQ(these::justThis(all[2]), std::nullopt);
    EXPECT_EQ(these::justThese(all[2]), (std::optional<std::pair<int, char>>(std::pair(1, 'b'))));
    List<TIC> xs{This(1), These(2, 'b')};
    EXPECT_EQ(these::catThese(xs).toVector(), (std::vector<std::pair<int, char>>{{2, 'b'}}));
    EXPECT_EQ(these::catHere(xs).toVector(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(these::catThat(xs).null());
    EXPECT_TRUE(these::catHere(List<TIC>()).null());
}

TEST(These, MapsDeferTheirFunctionsAndShareUntouchedValues) {
    int calls = 0;
    auto inc = [&](int x) {
        ++calls;
        return x + 1;
    };
    These<int, int> t(core::defer([] { return 1; }), core::defer([] { return 2; }));
    auto m = these::bimapThese(inc, inc, t);
    auto h = these::mapHere(inc, t);
    auto r = these::mapThere(inc, t);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(m.left(), 2);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(m.left(), 2);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(h.rightField().sameAs(t.rightField()));
    EXPECT_TRUE(r.leftField().sameAs(t.leftField()));

    // Single-alternative maps return other alternatives unchanged, uncalled.
    These<int, int> that = That(core::defer([] { return 7; }));
    auto same = these::mapThis(inc, that);
    EXPECT_TRUE(same.rightField().sameAs(that.rightField()));
    EXPECT_EQ(these::mapThat(inc, that).right(), 8);
    EXPECT_EQ(calls, 2);

    int pairCalls = 0;
    auto swapPair = [&](std::pair<int, int> p) {
        ++pairCalls;
        return std::pair<int, int>(p.second, p.first);
    };
    auto mt = these::mapThese(swapPair, t);
    EXPECT_EQ(pairCalls, 0);
    EXPECT_EQ(mt.left(), 2);
    EXPECT_EQ(mt.right(), 1);
    EXPECT_EQ(pairCalls, 1);
}

TEST(These, ComparisonFollowsAlternativeIndexThenFields) {
    using TII = These<int, int>;
    EXPECT_LT(TII(This(5)), TII(That(0)));
    EXPECT_LT(TII(That(5)), TII(These(0, 0)));
    EXPECT_LT(TII(These(1, 9)), TII(These(2, 0)));
    EXPECT_EQ(TII(These(1, 2)), TII(These(1, 2)));
    EXPECT_NE(TII(This(1)), TII(That(1)));
}
