// Lists, NonEmpty, ZipList, std::vector and std::map: orders, indices,
// laziness and constant-stack strict folds.
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
using nt::Strings;

TEST(ListKinds, EveryOperationVisitsInOrderWithPositions) {
    nt::expectOrders(List<char>{'a', 'b', 'c'}, {"0:a", "1:b", "2:c"});
    nt::expectOrders(NonEmpty<char>('a', List<char>{'b', 'c'}), {"0:a", "1:b", "2:c"});
    nt::expectOrders(core::ZipList<char>{List<char>{'a', 'b'}}, {"0:a", "1:b"});
    nt::expectOrders(std::vector<char>{'x', 'y', 'z'}, {"0:x", "1:y", "2:z"});
    nt::expectOrders(List<char>{}, {});
    nt::expectOrders(std::vector<char>{}, {});
}

TEST(ListKinds, MapVisitsInKeyOrderWithTheKey) {
    std::map<Int, char> m{{2, 'y'}, {1, 'x'}, {-5, 'n'}};
    nt::expectOrders(m, {"-5:n", "1:x", "2:y"});
    auto doubled = nerrow::imap([](Int k, char c) { return std::string(static_cast<std::size_t>(k + 6), c); }, m);
    EXPECT_EQ(doubled.at(1), "xxxxxxx");
    auto t = nerrow::itraverse([](Int k, char c) { return k > 0 ? std::optional<Int>(k * 10 + (c - 'a')) : std::nullopt; },
                               std::map<Int, char>{{1, 'a'}, {2, 'b'}});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->at(2), 21);
}

TEST(ListKinds, ImapIsLazyOnUnboundedLists) {
    auto nats = List<Int>::iterate([](Int n) { return n + 1; }, 0);
    int calls = 0;
    auto ys = nerrow::imap(
        [&calls](Int i, Int x) {
            ++calls;
            return i * 1000 + x;
        },
        nats);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ys.take(3).toVector(), (std::vector<Int>{0, 1001, 2002}));
    EXPECT_EQ(calls, 3);
}

TEST(ListKinds, IfoldrStopsWhenTheRestIsNotDemanded) {
    auto nats = List<Int>::iterate([](Int n) { return n + 1; }, 0);
    Int r = nerrow::ifoldr([](Int i, Int x, const Lazy<Int>&) { return i + x + 7; }, Int{0}, nats);
    EXPECT_EQ(r, 7);
    // Stop at the element with index 10.
    Int s = nerrow::ifoldr([](Int i, Int x, const Lazy<Int>& rest) { return i == 10 ? x : rest.force(); }, Int{-1}, nats);
    EXPECT_EQ(s, 10);
    // NonEmpty hands the tail over deferred as well.
    NonEmpty<Int> ne(5, nats);
    EXPECT_EQ(nerrow::ifoldr([](Int i, Int x, const Lazy<Int>& rest) { return i == 2 ? x : rest.force(); }, Int{0}, ne), 1);
}

TEST(ListKinds, IfoldlStrictOnEmptyReturnsTheStart) {
    EXPECT_EQ(nerrow::ifoldlStrict([](Int, int acc, int x) { return acc + x; }, 42, List<int>{}), 42);
    EXPECT_EQ(nerrow::ifoldMapStrict([](Int, int) { return std::string("x"); }, List<int>{}), "");
}

TEST(ListKinds, ArgumentOrders) {
    // ifoldl: index, accumulator, element; ifoldr: index, element, accumulator.
    List<std::string> xs{"a", "b"};
    auto l = nerrow::ifoldl([](Int i, std::string acc, const std::string& x) { return "(" + acc + std::to_string(i) + x + ")"; },
                            std::string("z"), xs);
    EXPECT_EQ(l, "((z0a)1b)");
    auto r = nerrow::ifoldr(
        [](Int i, const std::string& x, const Lazy<std::string>& acc) { return "(" + std::to_string(i) + x + acc.force() + ")"; },
        std::string("z"), xs);
    EXPECT_EQ(r, "(0a(1bz))");
    auto rs = nerrow::ifoldrStrict([](Int i, const std::string& x, std::string acc) { return "(" + std::to_string(i) + x + acc + ")"; },
                                   std::string("z"), xs);
    EXPECT_EQ(rs, "(0a(1bz))");
}

TEST(ListKinds, StrictFoldsOfTenMillionRunInConstantStack) {
    const Int n = 10'000'000;
    auto xs = List<Int>::iterate([](Int k) { return k + 1; }, 0).take(static_cast<std::size_t>(n));
    Int s = nerrow::ifoldlStrict([](Int i, Int acc, Int x) { return acc + (i == x ? 1 : 0); }, Int{0}, xs);
    EXPECT_EQ(s, n);
    auto m = nerrow::ifoldMapStrict([](Int i, Int) { return core::Additive<Int>{i}; }, xs);
    EXPECT_EQ(m.value, n * (n - 1) / 2);
    NonEmpty<Int> ne(0, xs);
    EXPECT_EQ(nerrow::ifoldlStrict([](Int i, Int, Int) { return i; }, Int{0}, ne), n);
    EXPECT_EQ(nerrow::ifoldMapStrict([](Int, Int) { return core::Additive<Int>{1}; }, ne).value, n + 1);
}

TEST(ListKinds, ItraverseRunsEffectsFrontToBackAndStopsAtFailure) {
    std::vector<int> seen;
    auto r = nerrow::itraverse(
        [&seen](Int i, int x) {
            seen.push_back(x);
            return i == 1 ? std::optional<int>() : std::optional<int>(x);
        },
        List<int>{7, 8, 9});
    EXPECT_FALSE(r);
    EXPECT_EQ(seen, (std::vector<int>{7, 8}));
    auto e = nerrow::itraverse([](Int i, int x) { return core::Either<std::string, Int>::right(i + x); },
                               NonEmpty<int>(1, List<int>{1, 1}));
    ASSERT_TRUE(e);
    EXPECT_EQ(e.value().toVector(), (std::vector<Int>{1, 2, 3}));
    // Identity: a lazy map, fine on an unbounded list.
    auto nats = List<Int>::iterate([](Int n) { return n + 1; }, 0);
    auto id = nerrow::itraverse([](Int i, Int x) { return core::Identity<Int>{i + x}; }, nats);
    EXPECT_EQ(id.value.take(3).toVector(), (std::vector<Int>{0, 2, 4}));
}

TEST(ListKinds, NonEmptyFoldsWithoutAnEmptyCase) {
    NonEmpty<std::string> xs("a", List<std::string>{"b", "c"});
    auto tag = [](Int i, const std::string& x) { return x + std::to_string(i); };
    EXPECT_EQ(nerrow::ifoldMap1(tag, xs), "a0b1c2");
    EXPECT_EQ(nerrow::ifoldMap1Strict(tag, xs), "a0b1c2");
    auto g = [](Int i, const std::string& x, const Lazy<std::string>& b) { return "(" + x + std::to_string(i) + b.force() + ")"; };
    EXPECT_EQ(nerrow::ifoldrMap1(tag, g, xs), "(a0(b1c2))");
    auto gs = [](Int i, const std::string& x, std::string b) { return "(" + x + std::to_string(i) + b + ")"; };
    EXPECT_EQ(nerrow::ifoldrMap1Strict(tag, gs, xs), "(a0(b1c2))");
    auto gl = [](Int i, std::string b, const std::string& x) { return "(" + b + x + std::to_string(i) + ")"; };
    EXPECT_EQ(nerrow::ifoldlMap1Strict(tag, gl, xs), "((a0b1)c2)");
    EXPECT_EQ(nerrow::ifoldlMap1(tag, gl, xs), "((a0b1)c2)");
}

TEST(ListKinds, OneElementNonEmptyNeverCallsG) {
    NonEmpty<int> one(5);
    auto f = [](Int i, int x) { return static_cast<Int>(x) * 10 + i; };
    auto never = [](auto&&...) -> Int { throw std::runtime_error("g called"); };
    EXPECT_EQ(nerrow::ifoldrMap1(f, never, one), 50);
    EXPECT_EQ(nerrow::ifoldlMap1(f, never, one), 50);
    EXPECT_EQ(nerrow::ifoldrMap1Strict(f, never, one), 50);
    EXPECT_EQ(nerrow::ifoldlMap1Strict(f, never, one), 50);
}

TEST(ListKinds, NonEmptyIfoldrMap1IsLazyInTheRest) {
    NonEmpty<Int> ne(0, List<Int>::iterate([](Int n) { return n + 1; }, 1));
    Int r = nerrow::ifoldrMap1([](Int, Int x) { return x; }, [](Int i, Int x, const Lazy<Int>& b) { return i == 3 ? x : b.force(); }, ne);
    EXPECT_EQ(r, 3);
}

// Dropping the index gives the plain operation.
RC_GTEST_PROP(ListKindsLaws, DroppingTheIndexGivesThePlainOperations, (const std::vector<int>& raw)) {
    const std::vector<int> v = nt::small(raw);
    auto h = [](int x) { return static_cast<Int>(x) * 3 - 1; };
    List<int> xs(v);
    RC_ASSERT(nerrow::imap([&](Int, int x) { return h(x); }, xs) == core::fmap(h, xs));
    RC_ASSERT(nerrow::imap([&](Int, int x) { return h(x); }, v) == core::fmap(h, v));
    auto toList = [](int x) { return List<int>{x, x}; };
    RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return toList(x); }, xs) == core::foldMap(toList, xs));
    RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return toList(x); }, v) == core::foldMap(toList, v));
    auto eff = [](int x) { return x % 7 == 3 ? std::optional<Int>() : std::optional<Int>(x); };
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return eff(x); }, xs) == core::traverse(eff, xs));
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return eff(x); }, v) == core::traverse(eff, v));
    auto logf = [](int x) { return nt::logged(std::to_string(x), x + 1); };
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return logf(x); }, xs) == core::traverse(logf, xs));
    if (!v.empty()) {
        auto ne = NonEmpty<int>::fromVector(v);
        RC_ASSERT(nerrow::imap([&](Int, int x) { return h(x); }, ne) == core::fmap(h, ne));
        RC_ASSERT(nerrow::itraverse([&](Int, int x) { return logf(x); }, ne) == core::traverse(logf, ne));
        RC_ASSERT(nerrow::ifoldMap1([](Int, int x) { return List<int>{x}; }, ne) == ne.toList());
    }
    std::map<int, int> m;
    for (int x : v) m[x] = x * 2;
    RC_ASSERT(nerrow::imap([&](int, int x) { return h(x); }, m) == core::fmap(h, m));
    RC_ASSERT(nerrow::itraverse([&](int, int x) { return logf(x); }, m) == core::traverse(logf, m));
}

// The indices are the positions 0, 1, 2, ... for every sequence kind.
RC_GTEST_PROP(ListKindsLaws, IndicesArePositions, (const std::vector<int>& raw)) {
    const std::vector<int> v = nt::small(raw);
    auto pos = nerrow::itoList(v);
    Int k = 0;
    for (const auto& [i, x] : pos) {
        RC_ASSERT(i == k);
        RC_ASSERT(x == v[static_cast<std::size_t>(k)]);
        ++k;
    }
    RC_ASSERT(k == static_cast<Int>(v.size()));
    RC_ASSERT(nerrow::itoList(List<int>(v)) == pos);
}
