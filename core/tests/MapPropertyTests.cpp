// Random operation sequences on core::Map checked against std::map, with
// the tree's order, size and balance invariants checked after each step;
// and the soundness properties: persistence, sharing between threads,
// very large maps.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "Core/Map.h"

using core::Int;
using core::Map;

namespace {
using IMap = Map<Int, Int>;

std::vector<std::pair<Int, Int>> entries(const std::map<Int, Int>& m) { return {m.begin(), m.end()}; }

std::map<Int, Int> randomModel(std::mt19937_64& rng, int n, Int range) {
    std::map<Int, Int> m;
    std::uniform_int_distribution<Int> key(-range, range);
    for (int i = 0; i < n; ++i) m[key(rng)] = static_cast<Int>(rng() % 1000);
    return m;
}
IMap fromModel(const std::map<Int, Int>& m) { return IMap::fromList(m); }
}  // namespace

TEST(MapProperties, RandomOperationsAgreeWithStdMap) {
    std::mt19937_64 rng(12345);
    for (int round = 0; round < 40; ++round) {
        std::map<Int, Int> model;
        IMap m;
        std::vector<std::pair<IMap, std::map<Int, Int>>> versions;
        const Int range = round % 2 ? 50 : 5000;
        std::uniform_int_distribution<Int> key(-range, range);
        for (int step = 0; step < 400; ++step) {
            const Int k = key(rng);
            const Int v = static_cast<Int>(rng() % 1000);
            switch (rng() % 7) {
                case 0:
                case 1:
                    m = m.insert(k, v);
                    model[k] = v;
                    break;
                case 2:
                    m = m.erase(k);
                    model.erase(k);
                    break;
                case 3:
                    m = m.insertWith([](Int n, Int o) { return n * 1000 + o; }, k, v);
                    if (auto it = model.find(k); it != model.end())
                        it->second = v * 1000 + it->second;
                    else
                        model[k] = v;
                    break;
                case 4:
                    m = m.adjust([](Int x) { return x + 1; }, k);
                    if (auto it = model.find(k); it != model.end()) ++it->second;
                    break;
                case 5:
                    m = m.alter([v](std::optional<Int> x) { return x ? std::optional<Int>() : std::optional<Int>(v); }, k);
                    if (model.count(k))
                        model.erase(k);
                    else
                        model[k] = v;
                    break;
                default:
                    m = m.deleteMin();
                    if (!model.empty()) model.erase(model.begin());
                    break;
            }
            ASSERT_TRUE(m.valid()) << "round " << round << " step " << step;
            ASSERT_EQ(m.size(), model.size());
            ASSERT_EQ(m.lookup(k), model.count(k) ? std::optional<Int>(model[k]) : std::nullopt);
            if (step % 50 == 0) versions.emplace_back(m, model);
        }
        ASSERT_EQ(m.toAscList(), entries(model));
        // Older versions are untouched by later updates.
        for (const auto& [old, oldModel] : versions) ASSERT_EQ(old.toAscList(), entries(oldModel));
    }
}

TEST(MapProperties, SetOperationsAgreeWithStdMap) {
    std::mt19937_64 rng(777);
    for (int round = 0; round < 60; ++round) {
        const Int range = 1 + static_cast<Int>(rng() % 300);
        auto a = randomModel(rng, static_cast<int>(rng() % 200), range);
        auto b = randomModel(rng, static_cast<int>(rng() % 200), range);
        IMap ma = fromModel(a), mb = fromModel(b);
        ASSERT_TRUE(ma.valid());

        std::map<Int, Int> uni = a, inter, diff, sum = b;
        for (const auto& [k, v] : b) uni.emplace(k, v);  // left-biased
        for (const auto& [k, v] : a) {
            if (b.count(k)) inter[k] = v * 10 + b.at(k);
            else diff[k] = v;
            sum[k] = b.count(k) ? v + b.at(k) : v;
        }
        auto u = ma.union_(mb);
        auto i = ma.intersectionWith([](Int x, Int y) { return x * 10 + y; }, mb);
        auto d = ma.difference(mb);
        auto s = ma.unionWith([](Int x, Int y) { return x + y; }, mb);
        for (const IMap* r : {&u, &i, &d, &s}) ASSERT_TRUE(r->valid());
        ASSERT_EQ(u.toAscList(), entries(uni));
        ASSERT_EQ(i.toAscList(), entries(inter));
        ASSERT_EQ(d.toAscList(), entries(diff));
        ASSERT_EQ(s.toAscList(), entries(sum));

        const Int pivot = static_cast<Int>(rng() % (2 * range + 1)) - range;
        auto [lo, mid, hi] = ma.splitLookup(pivot);
        ASSERT_TRUE(lo.valid() && hi.valid());
        std::map<Int, Int> below(a.begin(), a.lower_bound(pivot)), above(a.upper_bound(pivot), a.end());
        ASSERT_EQ(lo.toAscList(), entries(below));
        ASSERT_EQ(hi.toAscList(), entries(above));
        ASSERT_EQ(mid, a.count(pivot) ? std::optional<Int>(a.at(pivot)) : std::nullopt);

        auto even = ma.filterWithKey([](Int k, Int v) { return (k + v) % 2 == 0; });
        ASSERT_TRUE(even.valid());
        std::map<Int, Int> evenModel;
        for (const auto& [k, v] : a)
            if ((k + v) % 2 == 0) evenModel[k] = v;
        ASSERT_EQ(even.toAscList(), entries(evenModel));

        const std::size_t n = rng() % (a.size() + 2);
        ASSERT_TRUE(ma.take(n).valid() && ma.drop(n).valid());
        ASSERT_EQ(ma.take(n).size() + ma.drop(n).size(), a.size());
        ASSERT_EQ(ma.take(n).union_(ma.drop(n)), ma);

        // Walking backwards from the end visits the entries in reverse.
        std::vector<std::pair<Int, Int>> back;
        for (auto it = ma.end(); it != ma.begin();) {
            --it;
            back.emplace_back(it->first, it->second);
        }
        ASSERT_EQ(back, ma.toDescList());
    }
}

TEST(MapSoundness, ReadersOnManyThreadsShareOneMap) {
    IMap m;
    for (Int i = 0; i < 20000; ++i) m = m.insert(i * 7 % 20011, i);
    std::vector<std::thread> threads;
    std::vector<Int> sums(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([m, t, &sums] {
            // Each thread also builds its own versions from the shared one.
            IMap mine = m;
            for (Int i = 0; i < 2000; ++i) mine = mine.insert(100000 + t * 10000 + i, i).erase(i * 3);
            Int s = 0;
            for (const auto& kv : m) s += kv.second;
            sums[static_cast<std::size_t>(t)] = s + static_cast<Int>(mine.size());
        });
    for (auto& th : threads) th.join();
    Int expected = 0;
    for (Int i = 0; i < 20000; ++i) expected += i;
    for (Int s : sums) EXPECT_GT(s, expected);
    EXPECT_EQ(m.size(), 20000u);
    EXPECT_TRUE(m.valid());
}

TEST(MapSoundness, TenMillionEntriesBuildFoldAndDropInConstantStack) {
    std::vector<std::pair<Int, Int>> kvs;
    const Int n = 10'000'000;
    kvs.reserve(static_cast<std::size_t>(n));
    for (Int i = 0; i < n; ++i) kvs.emplace_back(i, i);
    {
        IMap big = IMap::fromDistinctAscList(std::move(kvs));
        IMap bigger = big.insert(n, n).erase(0);  // shares almost all nodes
        EXPECT_EQ(big.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(bigger.foldlWithKey([](Int acc, Int, Int v) { return acc + v; }, Int{0}), n * (n + 1) / 2);
        EXPECT_EQ(core::foldrWithKey([](Int k, Int, const core::Lazy<Int>&) { return k; }, Int{-1}, big), 0);
    }  // both dropped here
}
