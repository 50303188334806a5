#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Core/IntMap.h"
#include "Core/Map.h"
#include "Core/Monoids.h"

using core::Int;
using core::IntMap;
using core::Lazy;

namespace {
using SMap = IntMap<std::string>;
using IIMap = IntMap<Int>;
using OptIIMap = std::optional<IIMap>;
using SM = core::Map<Int, std::string>;
constexpr Int minInt = std::numeric_limits<Int>::min();
constexpr Int maxInt = std::numeric_limits<Int>::max();
}  // namespace

static_assert(std::ranges::bidirectional_range<SMap>);
static_assert(std::is_same_v<core::KindOfT<IntMap<bool>>, core::IntMapK>);

TEST(IntMapOrder, NegativeKeysComeFirst) {
    IIMap m{{3, 30}, {-5, -50}, {-1, -10}, {maxInt, 1}, {minInt, 2}, {0, 0}};
    EXPECT_EQ(m.keys(), (std::vector<Int>{minInt, -5, -1, 0, 3, maxInt}));
    std::vector<Int> order;
    core::foldrWithKey(
        [&order](Int k, Int, const Lazy<core::Unit>& rest) {
            order.push_back(k);
            return rest.force();
        },
        core::unit, m);
    EXPECT_EQ(order, m.keys());
    EXPECT_EQ(core::foldlWithKey([](Int acc, Int k, Int v) { return acc + (k == minInt ? v : 0); }, Int{0}, m), 2);
    EXPECT_EQ(m.lookupMin()->first, minInt);
    EXPECT_EQ(m.lookupLT(0)->first, -1);
    auto [neg, pos] = m.split(0);
    EXPECT_EQ(neg.size(), 3u);
    EXPECT_EQ(pos.keys(), (std::vector<Int>{3, maxInt}));
    // Failures name the type the caller used.
    auto message = [](auto&& f) {
        try {
            f();
        } catch (const core::Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { (void)m.at(7); }), "IntMap.at: key is not an element of the map");
    EXPECT_EQ(message([&] { (void)m.elemAt(6); }), "IntMap.elemAt: index out of range");
}

TEST(IntMapOperations, AgreeWithStdMapUnderRandomUpdates) {
    std::mt19937_64 rng(99);
    std::map<Int, Int> model;
    IIMap m;
    for (int step = 0; step < 3000; ++step) {
        const Int k = static_cast<Int>(rng() % 2001) - 1000;
        switch (rng() % 4) {
            case 0:
            case 1:
                m = m.insert(k, step);
                model[k] = step;
                break;
            case 2:
                m = m.erase(k);
                model.erase(k);
                break;
            default:
                m = m.insertWith([](Int n, Int o) { return n + o; }, k, 1);
                model[k] += 1;
                break;
        }
        ASSERT_TRUE(m.valid());
        ASSERT_EQ(m.size(), model.size());
    }
    EXPECT_EQ(m.toAscList(), (std::vector<std::pair<Int, Int>>(model.begin(), model.end())));
    IIMap other = IIMap::fromList(std::vector<std::pair<Int, Int>>{{-1000, 7}, {0, 7}, {5000, 7}});
    auto u = m.union_(other);
    EXPECT_EQ(u.size(), model.size() + (model.count(-1000) ? 0 : 1) + (model.count(0) ? 0 : 1) + 1);
    EXPECT_EQ(m.intersection(other).size(), (model.count(-1000) ? 1u : 0u) + (model.count(0) ? 1u : 0u));
}

TEST(IntMapInterfaces, TextBinaryHashAndMonoid) {
    SMap m{{-2, "neg"}, {10, "ten"}};
    EXPECT_EQ(core::show(m), "fromList [(-2,\"neg\"),(10,\"ten\")]");
    EXPECT_EQ(core::show(OptIIMap(IIMap{{1, -1}})), "Just (fromList [(1,-1)])");
    EXPECT_EQ(core::read<SMap>("fromList [(10,\"ten\"),(-2,\"neg\")]"), m);
    EXPECT_EQ(core::read<OptIIMap>("Just (fromList [(-3,4)])"), OptIIMap(IIMap{{-3, 4}}));
    EXPECT_FALSE(core::read<IIMap>("fromList [(1,2),]"));

    EXPECT_EQ(core::decode<SMap>(core::encode(m)).value(), m);
    core::Encoder e;
    e.putCount(2);
    core::put<Int>(e, 5);
    core::put<Int>(e, 0);
    core::put<Int>(e, -5);
    core::put<Int>(e, 0);
    EXPECT_EQ(core::decode<IIMap>(e.bytes()).error(), "IntMap keys not strictly ascending");
    // Same bytes as the equivalent Map.
    EXPECT_EQ(core::encode(m), core::encode(SM{{-2, "neg"}, {10, "ten"}}));
    EXPECT_EQ(core::hash(m), core::hash(SM{{-2, "neg"}, {10, "ten"}}));

    EXPECT_EQ(core::combine(IIMap{{1, 1}}, IIMap{{1, 9}, {2, 2}}), (IIMap{{1, 1}, {2, 2}}));
    EXPECT_EQ(core::fmap([](Int v) { return v * 2; }, IIMap{{-1, 1}, {1, 2}}), (IIMap{{-1, 2}, {1, 4}}));
    EXPECT_EQ(core::foldMap([](Int v) { return core::Additive<Int>{v}; }, IIMap{{-1, 1}, {1, 2}}).value, 3);
    auto t = core::traverseWithKey([](Int k, Int v) { return std::optional<Int>(k * v); }, IIMap{{-2, 3}, {4, 5}});
    EXPECT_EQ(t, OptIIMap(IIMap{{-2, -6}, {4, 20}}));
    EXPECT_EQ(core::mapWithKey([](Int k, Int) { return std::to_string(k); }, IIMap{{-7, 0}}).elems(),
              std::vector<std::string>{"-7"});
}
