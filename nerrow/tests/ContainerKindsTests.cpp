// The persistent containers (Map, IntMap, Seq, Tree, Array) and the
// structural building blocks: index types, orders and indices, laziness,
// and the dropping-the-index laws.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "Support.h"

using core::Int;
using core::Lazy;
using core::List;
using core::Unit;
using core::Void;
using nt::Strings;

TEST(KeyedContainers, MapAndIntMapVisitInKeyOrderWithTheKey) {
    core::Map<Int, char> m{{2, 'y'}, {1, 'x'}};
    nt::expectOrders(m, {"1:x", "2:y"});
    core::IntMap<char> im{{-5, 'a'}, {3, 'c'}, {-1, 'b'}};
    nt::expectOrders(im, {"-5:a", "-1:b", "3:c"});
    static_assert(std::is_same_v<nerrow::IndexT<core::IntMapK>, Int>);
    auto m2 = nerrow::imap([](Int k, char c) { return std::string(1, c) + std::to_string(k); }, m);
    EXPECT_EQ(m2.lookup(2), std::optional<std::string>("y2"));
    auto t = nerrow::itraverse([](Int k, char c) { return k > 0 ? std::optional<char>(c) : std::nullopt; }, im);
    EXPECT_FALSE(t.has_value());
    core::Map<std::string, int> named{{"b", 2}, {"a", 1}};
    EXPECT_EQ(nerrow::ifoldl([](const std::string& k, std::string acc, int v) { return acc + k + std::to_string(v); }, std::string(), named),
              "a1b2");
    EXPECT_EQ(nerrow::itoList(named).toVector(), (std::vector<std::pair<std::string, int>>{{"a", 1}, {"b", 2}}));
    EXPECT_EQ(nerrow::ifind([](const std::string& k, int) { return k == "b"; }, named),
              (std::optional<std::pair<std::string, int>>({"b", 2})));
}

TEST(KeyedContainers, SeqUsesPositions) {
    core::Seq<char> s{'p', 'q', 'r'};
    nt::expectOrders(s, {"0:p", "1:q", "2:r"});
    auto m = nerrow::imap([](Int i, char c) { return std::string(1, c) + std::to_string(i); }, s);
    EXPECT_EQ(m.at(2), "r2");
    EXPECT_EQ(nerrow::ifoldr([](Int i, char c, const Lazy<Int>& rest) { return c == 'q' ? i : rest.force(); }, Int{-1}, s), 1);
    auto t = nerrow::itraverse([](Int i, char c) { return nt::logged(std::to_string(i), c); }, s);
    EXPECT_EQ(t.first, (Strings{"0", "1", "2"}));
    nt::expectOrders(core::Seq<char>{}, {});
}

TEST(TreeKind, IndicesArePathsInPreOrder) {
    auto t = core::Node('r', {core::Node('a', {core::Node('c')}), core::Node('b', {core::Node('d'), core::Node('e')})});
    nt::expectOrders(t, {"[]:r", "[0]:a", "[0,0]:c", "[1]:b", "[1,0]:d", "[1,1]:e"});
    auto small = core::Node('r', {core::Node('x'), core::Node('y')});
    EXPECT_EQ(nerrow::itoList(small).toVector(),
              (std::vector<std::pair<List<Int>, char>>{{List<Int>{}, 'r'}, {List<Int>{0}, 'x'}, {List<Int>{1}, 'y'}}));
    auto m = nerrow::imap([](const List<Int>& p, char c) { return nt::str(p) + c; }, t);
    EXPECT_EQ(m.rootLabel, "[]r");
    EXPECT_EQ(m.subForest.tail().head().subForest.head().rootLabel, "[1,0]d");
}

TEST(TreeKind, ImapAndIfoldrWorkOnAnUnboundedTree) {
    // Every node has the children n+1, n+2, ...: unbounded in breadth and depth.
    auto t = core::unfoldTree([](Int n) { return std::pair<Int, List<Int>>(n, List<Int>::iterate([](Int k) { return k + 1; }, n + 1)); },
                              Int{0});
    auto m = nerrow::imap([](const List<Int>& p, Int x) { return static_cast<Int>(p.length()) * 100 + x; }, t);
    EXPECT_EQ(m.subForest.head().subForest.head().rootLabel, 202);
    // The first label 3 in pre-order: 0, 1, 2, 3 along the leftmost path.
    auto path = nerrow::ifind([](const List<Int>&, Int x) { return x == 3; }, t);
    ASSERT_TRUE(path);
    EXPECT_EQ(path->first, (List<Int>{0, 0, 0}));
}

TEST(ArrayKind, IndicesFollowTheBounds) {
    auto a = core::listArray(std::pair<Int, Int>{1, 3}, {'a', 'b', 'c'});
    nt::expectOrders(a, {"1:a", "2:b", "3:c"});
    auto m = nerrow::imap([](Int i, char c) { return std::string(1, c) + std::to_string(i); }, a);
    EXPECT_EQ(m.bounds(), (std::pair<Int, Int>{1, 3}));
    EXPECT_EQ(m.at(3), "c3");
    auto t = nerrow::itraverse([](Int i, char c) { return i < 3 ? std::optional<char>(c) : std::nullopt; }, a);
    EXPECT_FALSE(t.has_value());
    auto ok = nerrow::itraverse([](Int i, char c) { return nt::logged(std::to_string(i), c); }, a);
    EXPECT_EQ(ok.second.bounds(), a.bounds());
    auto pairs = core::listArray(std::pair<std::pair<Int, Int>, std::pair<Int, Int>>{{0, 0}, {1, 1}}, {'w', 'x', 'y', 'z'});
    nt::expectOrders(pairs, {"(0,0):w", "(0,1):x", "(1,0):y", "(1,1):z"});
}

TEST(BuildingBlocks, MirrorTheirCounterparts) {
    nt::expectOrders(core::Par1<char>{'p'}, {"():p"});
    nt::expectOrders(core::Rec1<core::ListK, char>{List<char>{'a', 'b'}}, {"0:a", "1:b"});
    core::Comp1<core::ListK, core::ListK, char> c{List<List<char>>{List<char>{'a', 'b'}, List<char>{'c'}}};
    nt::expectOrders(c, {"(0,0):a", "(0,1):b", "(1,0):c"});
    nt::expectOrders(core::prod1(List<char>{'a', 'b'}, List<char>{'c'}), {"L0:a", "L1:b", "R0:c"});
    nt::expectOrders(core::R1<core::ListK>(core::Par1<char>{'z'}), {"R():z"});
    static_assert(std::is_same_v<nerrow::IndexT<core::K1K<int>>, Void>);
    auto k = nerrow::imap([](const Void&, char) { return 1.5; }, core::K1<int, char>{4});
    EXPECT_EQ(k.value, 4);
    EXPECT_EQ(nerrow::ifoldMap([](const Void&, char) { return std::string("x"); }, core::U1<char>{}), "");
    static_assert(nerrow::IsTraversableWithIndex<core::V1K>);
}

RC_GTEST_PROP(ContainerLaws, DroppingTheIndexGivesThePlainOperations, (const std::vector<int>& raw)) {
    const std::vector<int> v = nt::small(raw);
    auto h = [](int x) { return x * 5 - 2; };
    auto ms = [](int x) { return std::to_string(x) + ","; };
    auto logf = [](int x) { return nt::logged(std::to_string(x), x + 3); };
    auto s = core::Seq<int>::fromVector(v);
    RC_ASSERT(nerrow::imap([&](Int, int x) { return h(x); }, s) == core::fmap(h, s));
    RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return ms(x); }, s) == core::foldMap(ms, s));
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return logf(x); }, s) == core::traverse(logf, s));
    core::Map<int, int> m;
    core::IntMap<int> im;
    for (int x : v) {
        m = m.insert(x, x * 3);
        im = im.insert(x, x - 1);
    }
    RC_ASSERT(nerrow::imap([&](int, int x) { return h(x); }, m) == core::fmap(h, m));
    RC_ASSERT(nerrow::ifoldMap([&](int, int x) { return ms(x); }, m) == core::foldMap(ms, m));
    RC_ASSERT(nerrow::itraverse([&](int, int x) { return logf(x); }, m) == core::traverse(logf, m));
    RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return ms(x); }, im) == core::foldMap(ms, im));
    RC_ASSERT(nerrow::itraverse([&](Int, int x) { return logf(x); }, im) == core::traverse(logf, im));
    if (!v.empty()) {
        auto a = core::listArray(std::pair<Int, Int>{-2, static_cast<Int>(v.size()) - 3}, v);
        RC_ASSERT(nerrow::imap([&](Int, int x) { return h(x); }, a) == core::fmap(h, a));
        RC_ASSERT(nerrow::ifoldMap([&](Int, int x) { return ms(x); }, a) == core::foldMap(ms, a));
        RC_ASSERT(nerrow::itraverse([&](Int, int x) { return logf(x); }, a) == core::traverse(logf, a));
        // A tree: the first element at the root, the others as a chain of
        // first children with a leaf sibling each.
        core::Tree<int> t = core::Node(v.back());
        for (std::size_t k = v.size() - 1; k > 0; --k) t = core::Node(v[k - 1], {t, core::Node(v[k - 1] + 1)});
        RC_ASSERT(nerrow::imap([&](const List<Int>&, int x) { return h(x); }, t) == core::fmap(h, t));
        RC_ASSERT(nerrow::ifoldMap([&](const List<Int>&, int x) { return ms(x); }, t) == core::foldMap(ms, t));
        RC_ASSERT(nerrow::itraverse([&](const List<Int>&, int x) { return logf(x); }, t) == core::traverse(logf, t));
        auto o = nt::orders(t);
        RC_ASSERT(o.fromToList == o.fromItraverse);
        RC_ASSERT(o.fromToList == o.fromIfoldlStrict);
    }
}
