#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Core/Array.h"
#include "Core/Seq.h"

using core::Array;
using core::Int;
using core::Integer;

namespace {
using B = std::pair<Int, Int>;
using IntArray = Array<Int, Int>;
using CharArray = Array<Int, char>;
using UArray = Array<Int, core::Char>;

std::string errorOf(auto&& f) {
    try {
        f();
    } catch (const core::Error& e) {
        return e.what();
    }
    return "no error";
}
}  // namespace

TEST(IxRanges, IntegersCharactersBoolsAndIntegers) {
    EXPECT_EQ(core::range(B{1, 3}), (std::vector<Int>{1, 2, 3}));
    EXPECT_TRUE(core::range(B{3, 1}).empty());
    EXPECT_EQ(core::rangeSize(B{3, 1}), 0);
    EXPECT_EQ(core::index(B{-2, 2}, Int{-2}), 0);
    EXPECT_EQ(core::index(B{-2, 2}, Int{2}), 4);
    EXPECT_TRUE(core::inRange(B{-2, 2}, Int{0}));
    EXPECT_FALSE(core::inRange(B{-2, 2}, Int{3}));
    EXPECT_EQ(errorOf([] { core::index(B{1, 3}, Int{5}); }), "Ix.index: index 5 out of range (1,3)");
    EXPECT_EQ(core::range(std::pair{'a', 'd'}), (std::vector<char>{'a', 'b', 'c', 'd'}));
    EXPECT_EQ(core::range(std::pair{false, true}), (std::vector<bool>{false, true}));
    EXPECT_EQ(core::rangeSize(std::pair<std::uint8_t, std::uint8_t>{0, 255}), 256);
    EXPECT_EQ(core::rangeSize(std::pair<std::int8_t, std::int8_t>{-128, 127}), 256);
    EXPECT_EQ(core::rangeSize(std::pair<Int, Int>{INT64_MIN + 1, INT64_MIN + 3}), 3);
    EXPECT_EQ(errorOf([] { core::rangeSize(std::pair<Int, Int>{INT64_MIN, INT64_MAX}); }), "Ix.rangeSize: range too large");
    EXPECT_EQ(core::range(std::pair{Integer(-1), Integer(1)}), (std::vector<Integer>{Integer(-1), Integer(0), Integer(1)}));
    EXPECT_EQ(core::index(std::pair{Integer(10), Integer(20)}, Integer(15)), 5);
    EXPECT_EQ(core::rangeSize(std::pair{core::unit, core::unit}), 1);
}

TEST(IxRanges, PairsAndTuplesAreRowMajor) {
    using P = std::pair<Int, Int>;
    std::pair<P, P> b{{0, 0}, {1, 2}};
    EXPECT_EQ(core::range(b), (std::vector<P>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(core::rangeSize(b), 6);
    EXPECT_EQ(core::index(b, P{1, 1}), 4);
    EXPECT_FALSE(core::inRange(b, P{2, 0}));
    EXPECT_EQ(core::rangeSize(std::pair<P, P>{{0, 3}, {1, 2}}), 0);
    using T = std::tuple<Int, char, bool>;
    std::pair<T, T> tb{{0, 'a', false}, {1, 'b', true}};
    auto r = core::range(tb);
    ASSERT_EQ(r.size(), 8u);
    EXPECT_EQ(r[1], (T{0, 'a', true}));
    EXPECT_EQ(r[2], (T{0, 'b', false}));
    for (std::size_t k = 0; k < r.size(); ++k) EXPECT_EQ(core::index(tb, r[k]), static_cast<Int>(k));
    EXPECT_EQ(errorOf([&] { core::index(b, P{5, 0}); }), "Ix.index: index (5,0) out of range ((0,0),(1,2))");
}

TEST(ArrayBuilding, ListArrayArrayAccumArrayAndUpdate) {
    auto a = core::listArray(B{1, 3}, {'a', 'b', 'c'});
    EXPECT_EQ(a.at(1), 'a');
    EXPECT_EQ(a[3], 'c');
    EXPECT_EQ(a.bounds(), (B{1, 3}));
    EXPECT_EQ(core::indices(a), (std::vector<Int>{1, 2, 3}));
    EXPECT_EQ(core::elems(a), (std::vector<char>{'a', 'b', 'c'}));
    EXPECT_EQ(core::assocs(a), (std::vector<std::pair<Int, char>>{{1, 'a'}, {2, 'b'}, {3, 'c'}}));
    EXPECT_EQ(errorOf([&] { a.at(4); }), "Array.at: index 4 out of range (1,3)");
    EXPECT_EQ(errorOf([&] { a.at(-1); }), "Array.at: index -1 out of range (1,3)");
    EXPECT_FALSE(a.lookup(0).has_value());
    // An unbounded list gives only what the bounds need.
    auto nats = core::List<Int>::iterate([](Int n) { return n + 1; }, 0);
    EXPECT_EQ(core::elems(core::listArray(B{0, 4}, nats)), (std::vector<Int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(errorOf([] { core::listArray(B{0, 4}, std::vector<Int>{1, 2}); }), "listArray: not enough elements");
    auto b = core::array(B{0, 2}, {std::pair<Int, std::string>{2, "z"}, {0, "x"}, {1, "y"}, {2, "w"}});
    EXPECT_EQ(core::elems(b), (std::vector<std::string>{"x", "y", "w"}));
    EXPECT_EQ(errorOf([] { core::array(B{0, 2}, {std::pair<Int, Int>{0, 1}, {1, 1}}); }), "array: undefined element at index 2");
    EXPECT_EQ(errorOf([] { core::array(B{0, 2}, {std::pair<Int, Int>{7, 1}}); }), "array: index 7 out of range (0,2)");
    std::vector<std::pair<Int, Int>> votes{{1, 1}, {3, 1}, {1, 1}, {2, 5}};
    auto hist = core::accumArray([](Int acc, Int x) { return acc + x; }, Int{0}, B{0, 3}, votes);
    EXPECT_EQ(core::elems(hist), (std::vector<Int>{0, 2, 5, 1}));
    auto c = core::update(a, {std::pair<Int, char>{2, 'x'}});
    EXPECT_EQ(core::elems(c), (std::vector<char>{'a', 'x', 'c'}));
    EXPECT_EQ(core::elems(a), (std::vector<char>{'a', 'b', 'c'}));
    EXPECT_EQ(errorOf([&] { core::update(a, {std::pair<Int, char>{9, 'x'}}); }), "update: index 9 out of range (1,3)");
    auto acc = core::accum([](char, char y) { return y; }, a, std::vector<std::pair<Int, char>>{{1, 'q'}});
    EXPECT_EQ(acc.at(1), 'q');
    // Two dimensions, row-major.
    using P = std::pair<Int, Int>;
    auto m = core::listArray(std::pair<P, P>{{0, 0}, {1, 2}}, std::vector<Int>{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(m.at(P{1, 0}), 4);
    EXPECT_EQ(errorOf([&] { m.at(P{0, 3}); }), "Array.at: index (0,3) out of range ((0,0),(1,2))");
}

TEST(ArrayInterfaces, MapFoldTraverseCompare) {
    auto a = core::listArray(B{1, 3}, std::vector<Int>{3, 1, 2});
    auto d = core::fmap([](Int x) { return x * 2; }, a);
    EXPECT_EQ(d.bounds(), a.bounds());
    EXPECT_EQ(core::elems(d), (std::vector<Int>{6, 2, 4}));
    EXPECT_EQ(core::sum(a), 6);
    EXPECT_EQ(core::length(a), 3);
    EXPECT_EQ(core::toList(a).toVector(), (std::vector<Int>{3, 1, 2}));
    EXPECT_EQ(core::foldr([](Int x, const core::Lazy<std::string>& r) { return std::to_string(x) + r.force(); }, std::string(), a), "312");
    auto t = core::traverse([](Int x) { return x > 0 ? std::optional<Int>(x + 1) : std::nullopt; }, a);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(core::elems(*t), (std::vector<Int>{4, 2, 3}));
    EXPECT_EQ(t->bounds(), a.bounds());
    EXPECT_EQ(a, core::listArray(B{1, 3}, std::vector<Int>{3, 1, 2}));
    EXPECT_NE(a, core::listArray(B{0, 2}, std::vector<Int>{3, 1, 2}));
    EXPECT_EQ(core::listArray(B{1, 0}, std::vector<Int>{}), core::listArray(B{5, 0}, std::vector<Int>{}));
    // By assocs: the first index decides before the elements.
    EXPECT_LT(core::listArray(B{0, 0}, std::vector<Int>{9}), core::listArray(B{1, 1}, std::vector<Int>{0}));
    EXPECT_LT(core::listArray(B{1, 2}, std::vector<Int>{1, 2}), core::listArray(B{1, 3}, std::vector<Int>{1, 2, 0}));
    EXPECT_EQ(core::compare1(a, a), core::EQ);
}

TEST(ArrayText, ShowsAndReadsTheArrayForm) {
    auto a = core::listArray(B{1, 3}, {U'a', U'b', U'c'});
    EXPECT_EQ(core::show(a), "array (1,3) [(1,'a'),(2,'b'),(3,'c')]");
    EXPECT_EQ(core::show(std::optional(core::listArray(B{-1, -1}, {Int{-5}}))), "Just (array (-1,-1) [(-1,-5)])");
    EXPECT_EQ(core::read<UArray>("array (1,3) [(1,'a'),(2,'b'),(3,'c')]"), a);
    EXPECT_EQ(core::read<UArray>(" ( array (1,3) [(3,'c'),(1,'a'),(2,'b')] ) "), a);
    EXPECT_FALSE(core::read<UArray>("array (1,3) [(1,'a'),(2,'b')]").has_value());
    EXPECT_FALSE(core::read<UArray>("array (1,3) [(1,'a'),(2,'b'),(4,'c')]").has_value());
    EXPECT_FALSE(core::read<UArray>("array (1,3) [(1,'a'),(1,'b'),(3,'c')]").has_value());
    EXPECT_EQ(core::read<IntArray>("array (1,0) []"), core::listArray(B{1, 0}, std::vector<Int>{}));
}

TEST(ArrayHashingAndBytes, BoundsThenElements) {
    auto a = core::listArray(B{1, 2}, std::vector<Int>{7, 8});
    const std::uint64_t s = core::defaultSalt;
    std::uint64_t expected = core::hashWithSalt(s, B{1, 2});
    expected = core::hashInt(core::hashInt(core::hashInt(expected, 7), 8), 2);
    EXPECT_EQ(core::hash(a), expected);
    EXPECT_EQ(core::hash(core::listArray(B{1, 0}, std::vector<Int>{})), core::hash(core::listArray(B{9, 0}, std::vector<Int>{})));
    auto h = [](std::uint64_t salt, Int x) { return core::hashWithSalt(salt, x); };
    EXPECT_EQ(core::liftHashWithSalt(h, 3, a), core::hashWithSalt(3, a));

    std::string bytes = core::encode(a);
    EXPECT_EQ(bytes, core::encode(B{1, 2}) + core::encode(std::vector<Int>{7, 8}));
    EXPECT_EQ(core::decode<IntArray>(bytes).value(), a);
    // Bounds that disagree with the count.
    std::string wrong = core::encode(B{1, 3}) + core::encode(std::vector<Int>{7, 8});
    EXPECT_EQ(core::decode<IntArray>(wrong).error(), "Array bounds and element count disagree");
    std::string tooBig = core::encode(B{INT64_MIN, INT64_MAX}) + core::encode(std::vector<Int>{});
    EXPECT_EQ(core::decode<IntArray>(tooBig).error(), "Array bounds and element count disagree");
    std::string hugeCount = core::encode(B{1, 2}) + core::encode(Int{1} << 62);
    EXPECT_EQ(core::decode<IntArray>(hugeCount).error(), "Not enough bytes");
    EXPECT_EQ(core::decode<IntArray>(bytes.substr(0, bytes.size() - 1)).error(), "Not enough bytes");
}

RC_GTEST_PROP(ArrayProperties, AgreeWithAVectorModel, ()) {
    const Int lo = *rc::gen::inRange<Int>(-20, 20);
    const Int n = *rc::gen::inRange<Int>(0, 30);
    const B b{lo, lo + n - 1};
    std::vector<Int> model = *rc::gen::container<std::vector<Int>>(static_cast<std::size_t>(n), rc::gen::inRange<Int>(-99, 99));
    auto a = core::listArray(b, model);
    RC_ASSERT(a.size() == model.size());
    for (Int k = 0; k < n; ++k) RC_ASSERT(a.at(lo + k) == model[static_cast<std::size_t>(k)]);
    const int updates = *rc::gen::inRange(0, 10);
    std::vector<std::pair<Int, Int>> ps;
    for (int u = 0; u < updates && n > 0; ++u) {
        Int i = lo + *rc::gen::inRange<Int>(0, n);
        Int x = *rc::gen::inRange<Int>(-99, 99);
        ps.emplace_back(i, x);
        model[static_cast<std::size_t>(i - lo)] = x;
    }
    auto u = core::update(a, ps);
    RC_ASSERT(core::elems(u) == model);
    RC_ASSERT(core::read<IntArray>(core::show(u)) == std::optional<IntArray>(u));
    RC_ASSERT(core::decode<IntArray>(core::encode(u)).value() == u);
    RC_ASSERT((core::hash(u) == core::hash(core::listArray(b, model))));
}

TEST(ArraySoundness, MovedFromValuesStaySafe) {
    auto a = core::listArray(B{1, 3}, std::vector<Int>{1, 2, 3});
    auto b = std::move(a);
    EXPECT_EQ(b.at(2), 2);
    EXPECT_EQ(errorOf([&] { (void)a.at(2); }), "Array.at: index 2 out of range (1,3)");
    EXPECT_TRUE(a.elems().empty());
    core::Seq<Int> s{1, 2};
    core::Seq<Int> t = std::move(s);
    EXPECT_EQ(s.size(), 0u);
    EXPECT_EQ(t.size(), 2u);
}
