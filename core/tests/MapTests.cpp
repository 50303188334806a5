#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <ranges>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Core/Map.h"
#include "Core/Monoids.h"

using core::Int;
using core::Lazy;
using core::Map;

namespace {
using IMap = Map<Int, std::string>;
using II = Map<Int, Int>;
using IC = Map<Int, char>;
using IB = Map<Int, bool>;
using OptII = std::optional<II>;

template <class K, class V>
std::vector<std::pair<K, V>> entries(const std::map<K, V>& m) {
    return {m.begin(), m.end()};
}
template <class F>
std::string errorOf(F f) {
    try {
        f();
    } catch (const core::Error& e) {
        return e.what();
    }
    return "no error";
}
}  // namespace

static_assert(std::ranges::bidirectional_range<IMap>);
static_assert(std::bidirectional_iterator<IMap::const_iterator>);
static_assert(std::is_same_v<core::KindOfT<IB>, core::OrdMapK<Int>>);

TEST(MapBasics, BuildLookupAndUpdate) {
    IMap m{{3, "c"}, {1, "a"}, {2, "b"}, {1, "z"}};  // the later 1 wins
    EXPECT_EQ(m.size(), 3u);
    EXPECT_EQ(m.lookup(1), std::optional<std::string>("z"));
    EXPECT_EQ(m.lookup(4), std::nullopt);
    EXPECT_TRUE(m.member(2));
    EXPECT_FALSE(m.member(0));
    EXPECT_EQ(m.keys(), (std::vector<Int>{1, 2, 3}));
    EXPECT_EQ(m.elems(), (std::vector<std::string>{"z", "b", "c"}));

    auto m2 = m.insert(0, "o").insertWith([](const std::string& n, const std::string& o) { return n + o; }, 3, "x");
    EXPECT_EQ(m2.toAscList(), (std::vector<std::pair<Int, std::string>>{{0, "o"}, {1, "z"}, {2, "b"}, {3, "xc"}}));
    // The original is untouched.
    EXPECT_EQ(m.toAscList(), (std::vector<std::pair<Int, std::string>>{{1, "z"}, {2, "b"}, {3, "c"}}));

    auto m3 = m2.erase(1).adjust([](const std::string& s) { return s + "!"; }, 2).adjust([](auto s) { return s; }, 9);
    EXPECT_EQ(m3.toAscList(), (std::vector<std::pair<Int, std::string>>{{0, "o"}, {2, "b!"}, {3, "xc"}}));
    EXPECT_EQ(m3.erase(42), m3);

    auto grow = [](std::optional<std::string> v) { return std::optional<std::string>(v ? *v + "+" : "new"); };
    auto kill = [](std::optional<std::string>) { return std::optional<std::string>(); };
    EXPECT_EQ(m3.alter(grow, 0).lookup(0), std::optional<std::string>("o+"));
    EXPECT_EQ(m3.alter(grow, 7).lookup(7), std::optional<std::string>("new"));
    EXPECT_FALSE(m3.alter(kill, 0).member(0));
    EXPECT_EQ(m3.alter(kill, 99), m3);

    EXPECT_EQ(m3.lookupMin(), (std::optional<std::pair<const Int, std::string>>({0, "o"})));
    EXPECT_EQ(m3.lookupMax(), (std::optional<std::pair<const Int, std::string>>({3, "xc"})));
    EXPECT_EQ(IMap().lookupMin(), std::nullopt);
    EXPECT_EQ(m3.lookupLT(2)->first, 0);
    EXPECT_EQ(m3.lookupGE(1)->first, 2);
    EXPECT_EQ(m3.lookupGT(3), std::nullopt);
    EXPECT_EQ(m3.elemAt(1).first, 2);
    EXPECT_EQ(m3.lookupIndex(3), std::optional<std::size_t>(2));
    EXPECT_EQ(errorOf([&] { (void)m3.at(5); }), "Map.at: key is not an element of the map");
    EXPECT_TRUE(IMap::empty().null());
    EXPECT_EQ(IMap::singleton(5, "five").toAscList(), (std::vector<std::pair<Int, std::string>>{{5, "five"}}));
}

TEST(MapBasics, SplitAndSetOperations) {
    auto m = II::fromList(std::vector<std::pair<Int, Int>>{{1, 10}, {3, 30}, {5, 50}, {7, 70}});
    auto [lo, hi] = m.split(5);
    EXPECT_EQ(lo.keys(), (std::vector<Int>{1, 3}));
    EXPECT_EQ(hi.keys(), (std::vector<Int>{7}));
    auto [lo2, mid, hi2] = m.splitLookup(4);
    EXPECT_EQ(mid, std::nullopt);
    EXPECT_EQ(lo2.size() + hi2.size(), 4u);

    II other{{3, 3}, {4, 4}, {7, 7}};
    EXPECT_EQ(m.union_(other).toAscList(),
              (std::vector<std::pair<Int, Int>>{{1, 10}, {3, 30}, {4, 4}, {5, 50}, {7, 70}}));
    EXPECT_EQ(m.unionWith([](Int a, Int b) { return a + b; }, other).lookup(7), std::optional<Int>(77));
    IMap names{{3, "three"}, {5, "five"}, {9, "nine"}};
    auto joined = m.intersectionWith([](Int v, const std::string& s) { return s + std::to_string(v); }, names);
    EXPECT_EQ(joined.toAscList(), (std::vector<std::pair<Int, std::string>>{{3, "three30"}, {5, "five50"}}));
    EXPECT_EQ(m.difference(names).keys(), (std::vector<Int>{1, 7}));
    EXPECT_EQ(m.intersection(names).keys(), (std::vector<Int>{3, 5}));
    EXPECT_EQ(m.filterWithKey([](Int k, Int v) { return k > 1 && v < 70; }).keys(), (std::vector<Int>{3, 5}));
    EXPECT_EQ(m.take(2).keys(), (std::vector<Int>{1, 3}));
    EXPECT_EQ(m.drop(3).keys(), (std::vector<Int>{7}));
    auto [yes, no] = m.partitionWithKey([](Int k, Int) { return k % 3 == 1; });
    EXPECT_EQ(yes.keys(), (std::vector<Int>{1, 7}));
    EXPECT_EQ(no.keys(), (std::vector<Int>{3, 5}));
    EXPECT_TRUE(m.take(2).isSubmapOfBy([](Int a, Int b) { return a == b; }, m));
    EXPECT_FALSE(m.isSubmapOfBy([](Int a, Int b) { return a == b; }, m.take(2)));
}

TEST(MapBasics, IteratorsWalkBothWays) {
    IC m;
    for (Int k : {5, 1, 9, 3, 7}) m = m.insert(k, static_cast<char>('a' + k));
    std::vector<Int> fwd, back;
    for (const auto& [k, v] : m) fwd.push_back(k);
    for (auto it = m.rbegin(); it != m.rend(); ++it) back.push_back(it->first);
    EXPECT_EQ(fwd, (std::vector<Int>{1, 3, 5, 7, 9}));
    EXPECT_EQ(back, (std::vector<Int>{9, 7, 5, 3, 1}));
    auto it = m.end();
    --it;
    EXPECT_EQ(it->first, 9);
    --it;
    --it;
    EXPECT_EQ(it->first, 5);
    ++it;
    EXPECT_EQ(it->first, 7);
    EXPECT_EQ(m.lowerBound(4)->first, 5);
    EXPECT_EQ(m.lowerBound(10), m.end());
    EXPECT_EQ(std::ranges::distance(m), 5);
    auto big = std::ranges::find_if(m, [](const auto& kv) { return kv.first > 4; });
    EXPECT_EQ(big->first, 5);
    EXPECT_EQ(IC().begin(), IC().end());
}

TEST(MapKeyed, FoldsAndTraversal) {
    II m{{1, 10}, {2, 20}, {3, 30}};
    auto listed = core::foldrWithKey(
        [](Int k, Int v, const Lazy<std::string>& rest) { return std::to_string(k) + ":" + std::to_string(v) + " " + *rest; },
        std::string("."), m);
    EXPECT_EQ(listed, "1:10 2:20 3:30 .");
    EXPECT_EQ(core::foldlWithKey([](std::string acc, Int k, Int) { return acc + std::to_string(k); }, std::string(), m),
              "123");
    EXPECT_EQ(core::foldrWithKeyStrict([](Int k, Int, std::string acc) { return acc + std::to_string(k); },
                                       std::string(), m),
              "321");
    auto summed = core::foldMapWithKey([](Int k, Int v) { return core::Additive<Int>{k * v}; }, m);
    EXPECT_EQ(summed.value, 140);
    auto doubled = core::mapWithKey([](Int k, Int v) { return std::to_string(k + v); }, m);
    EXPECT_EQ(doubled.elems(), (std::vector<std::string>{"11", "22", "33"}));

    auto ok = core::traverseWithKey([](Int k, Int v) { return std::optional<Int>(k + v); }, m);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->toAscList(), (std::vector<std::pair<Int, Int>>{{1, 11}, {2, 22}, {3, 33}}));
    std::vector<Int> seen;
    auto stop = core::traverseWithKey(
        [&seen](Int k, Int v) {
            seen.push_back(k);
            return k == 2 ? std::optional<Int>() : std::optional<Int>(v);
        },
        m);
    EXPECT_FALSE(stop);
    EXPECT_EQ(seen, (std::vector<Int>{1, 2}));
}

TEST(MapKeyed, RightFoldStopsEarlyWithoutWalkingTheRest) {
    II m;
    for (Int i = 0; i < 100000; ++i) m = m.insert(i, i);
    int calls = 0;
    auto firstOver = m.foldrWithKey(
        [&calls](Int k, Int, const Lazy<Int>& rest) {
            ++calls;
            return k >= 10 ? k : rest.force();
        },
        Int{-1});
    EXPECT_EQ(firstOver, 10);
    EXPECT_EQ(calls, 11);
    // Any-like monoid stops too.
    auto any = core::foldMapWithKey([](Int k, Int) { return core::Any{k == 3}; }, m);
    EXPECT_TRUE(any.value);
}

TEST(MapInterfaces, GenericFunctionsSeeValuesInKeyOrder) {
    II m{{3, 30}, {1, 10}, {2, 20}};
    EXPECT_EQ(core::fmap([](Int v) { return v + 1; }, m).elems(), (std::vector<Int>{11, 21, 31}));
    EXPECT_EQ(core::foldr([](Int v, const Lazy<Int>& r) { return v - *r; }, Int{0}, m), 10 - (20 - 30));
    EXPECT_EQ(core::foldlStrict([](Int a, Int v) { return a * 100 + v; }, Int{0}, m), 102030);
    EXPECT_EQ(core::length(m), 3);
    EXPECT_EQ(core::sum(m), 60);
    EXPECT_EQ(core::toList(m).toVector(), (std::vector<Int>{10, 20, 30}));
    auto t = core::traverse([](Int v) { return std::optional<Int>(v / 10); }, m);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->toAscList(), (std::vector<std::pair<Int, Int>>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(core::combine(II{{1, 1}}, II{{1, 2}, {2, 2}}).toAscList(),
              (std::vector<std::pair<Int, Int>>{{1, 1}, {2, 2}}));
    EXPECT_TRUE(core::mempty<II>().null());

    EXPECT_TRUE((II{{1, 1}} < II{{1, 2}}));
    EXPECT_TRUE((II{{1, 1}} < II{{1, 1}, {0, 5}}) == false);
    EXPECT_TRUE((II{} < II{{0, 0}}));
    EXPECT_TRUE(core::eq1(II{{1, 1}}, II{{1, 1}}));
    EXPECT_EQ(core::compare1(II{{1, 1}}, II{{2, 0}}), core::LT);
}

TEST(MapTextForms, ShowAndReadBack) {
    IMap m{{2, "b"}, {1, "a"}};
    EXPECT_EQ(core::show(m), "fromList [(1,\"a\"),(2,\"b\")]");
    EXPECT_EQ(core::show(II()), "fromList []");
    EXPECT_EQ(core::show(OptII(II{{-1, -2}})), "Just (fromList [(-1,-2)])");
    EXPECT_EQ(core::read<IMap>(" fromList [ (1 , \"a\") ,(2,\"b\")] "), m);
    EXPECT_EQ(core::read<IMap>("((fromList [(2,\"b\"),(1,\"a\")]))"), m);
    EXPECT_EQ(core::read<II>("fromList [(1,1),(1,2)]"), (II{{1, 2}}));
    EXPECT_EQ(core::read<OptII>("Just (fromList [])"),
              OptII(II()));
    EXPECT_FALSE(core::read<OptII>("Just fromList []"));
    EXPECT_FALSE(core::read<II>("fromList[(1,2)"));
    EXPECT_FALSE(core::read<II>("fromListx [(1,2)]"));
}

TEST(MapBinary, RoundTripAndHostileInput) {
    IMap m{{-5, "neg"}, {7, "seven"}};
    std::string bytes = core::encode(m);
    EXPECT_EQ(bytes.size(), 8u + 2 * 8 + (8 + 3) + (8 + 5));
    EXPECT_EQ(core::decode<IMap>(bytes).value(), m);

    core::Encoder e;
    e.putCount(2);
    core::put<Int>(e, 7);
    core::put<Int>(e, 1);
    core::put<Int>(e, 3);
    core::put<Int>(e, 2);
    EXPECT_EQ(core::decode<II>(e.bytes()).error(), "Map keys not strictly ascending");
    core::Encoder dup;
    dup.putCount(2);
    for (int i = 0; i < 2; ++i) {
        core::put<Int>(dup, 4);
        core::put<Int>(dup, i);
    }
    EXPECT_EQ(core::decode<II>(dup.bytes()).error(), "Map keys not strictly ascending");
    core::Encoder huge;
    huge.putInt(core::Int{1} << 60);
    EXPECT_EQ(core::decode<II>(huge.bytes()).error(), "Not enough bytes");
    core::Encoder neg;
    neg.putInt(-1);
    EXPECT_EQ(core::decode<II>(neg.bytes()).error(), "Negative length");
}

TEST(MapHashing, SizeThenEntriesInKeyOrder) {
    IB m{{2, true}, {1, false}};
    std::uint64_t s = core::hashInt(core::defaultSalt, 2);
    s = core::hashWithSalt(core::hashWithSalt(s, Int{1}), false);
    s = core::hashWithSalt(core::hashWithSalt(s, Int{2}), true);
    EXPECT_EQ(core::hash(m), s);
    EXPECT_EQ(core::hash(IB()), core::hashInt(core::defaultSalt, 0));
    EXPECT_EQ(core::liftHashWithSalt(core::detail::hashElement, 7, m), core::hashWithSalt(7, m));
    // Equal maps built in different orders hash alike.
    EXPECT_EQ(core::hash(IB{{1, false}, {2, true}}), core::hash(m));
    EXPECT_EQ(std::hash<IB>()(m), static_cast<std::size_t>(core::hash(m)));
}

TEST(MapInterfaces, LiftedOverKeysAndValues) {
    II a{{1, 10}, {2, 20}};
    II b{{-1, 10}, {-2, 20}};
    auto absEq = [](Int x, Int y) { return x == y || x == -y; };
    EXPECT_TRUE(core::liftEq2(absEq, absEq, a, II{{1, 10}, {2, -20}}));
    EXPECT_FALSE(core::liftEq2(absEq, absEq, a, II{{1, 10}}));
    EXPECT_EQ(core::compare2(a, b), core::GT);
    std::string out;
    auto sp = [](int, Int x, std::string& o) { o += "#" + std::to_string(x); };
    auto sl = [](const auto&, std::string&) {};
    core::liftShowsPrec2(sp, sl, sp, sl, 11, a, out);
    EXPECT_EQ(out, "(fromList [(#1,#10),(#2,#20)])");
    out.clear();
    core::liftShowsPrec(sp, sl, 0, a, out);
    EXPECT_EQ(out, "fromList [(1,#10),(2,#20)]");
    auto r = core::liftReadsPrec<core::OrdMapK<Int>, Int>(core::readPrec<Int>(), core::readListPrec<Int>(), 0,
                                                           "fromList [(2,3)] rest");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].first, (II{{2, 3}}));
}
