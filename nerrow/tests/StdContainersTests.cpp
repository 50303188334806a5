// std::deque, std::array and std::span: positions as indices, the same order
// in every operation, the plain operations when the index is dropped, and
// std::array keeping its size.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <array>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "Support.h"

using core::Int;
using core::Lazy;
using core::List;
using nt::Strings;

TEST(StdContainers, EveryOperationVisitsInOrderWithPositions) {
    nt::expectOrders(std::deque<char>{'a', 'b', 'c'}, {"0:a", "1:b", "2:c"});
    nt::expectOrders(std::deque<char>{}, {});
    nt::expectOrders(std::array<char, 3>{'x', 'y', 'z'}, {"0:x", "1:y", "2:z"});
    nt::expectOrders(std::array<char, 0>{}, {});
}

TEST(StdContainers, SpanFoldsInOrderWithPositions) {
    const std::vector<char> v{'p', 'q', 'r'};
    std::span<const char> s(v);
    const Strings expected{"0:p", "1:q", "2:r"};
    Strings viaFoldl = nerrow::ifoldlStrict(
        [](const Int& i, Strings acc, char c) {
            acc.push_back(nt::str(i) + ":" + nt::str(c));
            return acc;
        },
        Strings{}, s);
    EXPECT_EQ(viaFoldl, expected);
    Strings viaFoldr = nerrow::ifoldr(
        [](const Int& i, char c, const Lazy<Strings>& rest) {
            Strings r{nt::str(i) + ":" + nt::str(c)};
            for (const auto& x : rest.force()) r.push_back(x);
            return r;
        },
        Strings{}, s);
    EXPECT_EQ(viaFoldr, expected);
    EXPECT_EQ(nerrow::ifoldMap([](Int i, char c) { return Strings{nt::str(i) + ":" + nt::str(c)}; }, s), expected);
    // A mutable, fixed-extent span folds the same way.
    std::array<int, 3> a{5, 6, 7};
    std::span<int, 3> fixed(a);
    EXPECT_EQ(nerrow::ifoldlStrict([](Int i, Int acc, int x) { return acc * 10 + i * x; }, Int{0}, fixed), 0 * 5 * 100 + 6 * 10 + 14);
    EXPECT_EQ(core::length(fixed), 3);
    EXPECT_EQ(core::sum(fixed.subspan<1>()), 13);
}

TEST(StdContainers, SpanLazyRightFoldOutlivesTheViewedElements) {
    List<Int> products;
    {
        std::vector<int> v{1, 2, 3};
        // Each cell of the result demands the rest of the fold only when read.
        products = nerrow::ifoldr(
            [](Int i, int x, const Lazy<List<Int>>& rest) {
                return List<Int>::cons(i * x, List<Int>::lazy([rest] { return rest.force(); }));
            },
            List<Int>(), std::span<const int>(v));
        v.assign(3, -1);
    }
    // The deferred rests read their own copy of the elements.
    EXPECT_EQ(products.toVector(), (std::vector<Int>{0, 2, 6}));
}

TEST(StdContainers, TraversalsStopAtTheFirstFailure) {
    std::deque<int> d{1, 2, -3, 4};
    std::vector<Int> seen;
    auto check = [&seen](Int i, int x) {
        seen.push_back(i);
        return x > 0 ? std::optional<int>(x * 2) : std::nullopt;
    };
    EXPECT_FALSE(nerrow::itraverse(check, d));
    EXPECT_EQ(seen, (std::vector<Int>{0, 1, 2}));
    seen.clear();
    std::array<int, 4> a{1, 2, 3, -4};
    EXPECT_FALSE(nerrow::itraverse(check, a));
    EXPECT_EQ(seen, (std::vector<Int>{0, 1, 2, 3}));
    seen.clear();
    auto ok = nerrow::itraverse(check, std::array<int, 3>{3, 2, 1});
    ASSERT_TRUE(ok);
    EXPECT_EQ(*ok, (std::array<int, 3>{6, 4, 2}));
    auto okd = nerrow::itraverse(check, std::deque<int>{7});
    ASSERT_TRUE(okd);
    EXPECT_EQ(*okd, std::deque<int>{14});
}

TEST(StdContainers, ArrayKeepsItsSizeAndNeedsNoDefaultConstructor) {
    struct NoDefault {
        Int v;
        explicit NoDefault(Int x) : v(x) {}
    };
    std::array<char, 4> a{'a', 'b', 'c', 'd'};
    std::array<NoDefault, 4> m = nerrow::imap([](Int i, char c) { return NoDefault(i * 100 + c); }, a);
    static_assert(std::tuple_size_v<decltype(m)> == 4);
    EXPECT_EQ(m[0].v, 'a');
    EXPECT_EQ(m[3].v, 300 + 'd');
    auto t = nerrow::itraverse([](Int i, char c) { return nt::logged(nt::str(i), NoDefault(i + c)); }, a);
    static_assert(std::is_same_v<decltype(t.second), std::array<NoDefault, 4>>);
    EXPECT_EQ(t.first, (Strings{"0", "1", "2", "3"}));
    EXPECT_EQ(t.second[2].v, 2 + 'c');
    std::array<int, 2> p = core::fmap([](char c) { return c - 'a'; }, std::array<char, 2>{'c', 'a'});
    EXPECT_EQ(p, (std::array<int, 2>{2, 0}));
}

// Dropping the index gives the plain operation.
RC_GTEST_PROP(StdContainersLaws, DroppingTheIndexGivesThePlainOperations, (const std::vector<int>& raw)) {
    const std::vector<int> v = nt::small(raw);
    const std::deque<int> d(v.begin(), v.end());
    std::array<int, 5> a{};
    for (std::size_t k = 0; k < a.size() && k < v.size(); ++k) a[k] = v[k];
    auto h = [](int x) { return static_cast<Int>(x) * 3 - 1; };
    RC_ASSERT(nerrow::imap([&](Int, int x) { return h(x); }, d) == core::fmap(h, d));
    RC_ASSERT(nerrow::imap([&](Int, int x) { return h(x); }, a) == core::fmap(h, a));
    auto twice = [](int x) { return List<int>{x, x}; };
    RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return twice(x); }, d) == core::foldMap(twice, d));
    RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return twice(x); }, a) == core::foldMap(twice, a));
    RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return twice(x); }, std::span<const int>(v)) ==
              core::foldMap(twice, v));
    auto sub = [](Int acc, int x) { return (acc * 3 - x) % 1000003; };
    RC_ASSERT(nerrow::ifoldlStrict([&](Int, Int acc, int x) { return sub(acc, x); }, Int{1}, d) ==
              core::foldlStrict(sub, Int{1}, v));
    RC_ASSERT(core::foldlStrict(sub, Int{1}, std::span<const int>(v)) == core::foldlStrict(sub, Int{1}, v));
    auto rsub = [](int x, Int acc) { return (acc * 3 - x) % 1000003; };
    RC_ASSERT(core::foldrStrict(rsub, Int{1}, d) == core::foldrStrict(rsub, Int{1}, v));
    RC_ASSERT(nerrow::ifoldrStrict([&](Int, int x, Int acc) { return rsub(x, acc); }, Int{1}, std::span<const int>(v)) ==
              core::foldrStrict(rsub, Int{1}, v));
    auto eff = [](int x) { return x % 7 == 3 ? std::optional<Int>() : std::optional<Int>(x); };
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return eff(x); }, d) == core::traverse(eff, d));
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return eff(x); }, a) == core::traverse(eff, a));
    auto logf = [](int x) { return nt::logged(std::to_string(x), x + 1); };
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return logf(x); }, d) == core::traverse(logf, d));
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return logf(x); }, a) == core::traverse(logf, a));
    // And the plain traversal of a deque agrees with the vector's.
    auto td = core::traverse(logf, d);
    auto tv = core::traverse(logf, v);
    RC_ASSERT(td.first == tv.first);
    RC_ASSERT(std::vector<int>(td.second.begin(), td.second.end()) == tv.second);
    RC_ASSERT(core::toList(d) == List<int>(v));
    RC_ASSERT(nerrow::itoList(d) == nerrow::itoList(v));
    RC_ASSERT(nerrow::itoList(std::span<const int>(v)) == nerrow::itoList(v));
}
