#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Core/Monoids.h"
#include "Core/Seq.h"

using core::Int;
using core::Seq;

namespace {
std::vector<Int> iota(Int lo, Int hi) {
    std::vector<Int> v;
    for (Int i = lo; i < hi; ++i) v.push_back(i);
    return v;
}
std::string errorOf(auto&& f) {
    try {
        f();
    } catch (const core::Error& e) {
        return e.what();
    }
    return "no error";
}
}  // namespace

TEST(SeqBasics, EndsIndexAndIteration) {
    Seq<Int> s{1, 2, 3};
    s = core::snocSeq(std::move(s), Int{4});
    s = core::consSeq(Int{0}, std::move(s));
    EXPECT_EQ(s.toVector(), (std::vector<Int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(s.at(2), 2);
    EXPECT_EQ(core::index(s, 4), 4);
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 4);
    EXPECT_EQ(errorOf([&] { s.at(5); }), "Seq.index: position 5 out of bounds (size 5)");
    EXPECT_EQ(errorOf([&] { s.at(-1); }), "Seq.index: position -1 out of bounds (size 5)");
    EXPECT_EQ(errorOf([] { Seq<Int>().front(); }), "Seq.front: empty sequence");
    EXPECT_FALSE(s.lookup(7).has_value());
    // Persistence: pushing onto a shared value leaves it untouched.
    Seq<Int> t = s;
    Seq<Int> u = t.pushBack(9);
    Seq<Int> w = t.pushBack(8);
    EXPECT_EQ(t.size(), 5u);
    EXPECT_EQ(u.back(), 9);
    EXPECT_EQ(w.back(), 8);
    // Random-access iterators.
    std::vector<Int> back(s.begin(), s.end());
    EXPECT_EQ(back, s.toVector());
    EXPECT_EQ(*(s.begin() + 3), 3);
    EXPECT_EQ(s.end() - s.begin(), 5);
    std::vector<Int> rev(std::make_reverse_iterator(s.end()), std::make_reverse_iterator(s.begin()));
    EXPECT_EQ(rev, (std::vector<Int>{4, 3, 2, 1, 0}));
    static_assert(std::random_access_iterator<Seq<Int>::const_iterator>);
    EXPECT_TRUE(std::ranges::is_sorted(s));
}

TEST(SeqBasics, SplitConcatUpdateAndReverse) {
    auto s = Seq<Int>::fromVector(iota(0, 1000));
    auto [l, r] = s.splitAt(337);
    EXPECT_EQ(l.toVector(), iota(0, 337));
    EXPECT_EQ(r.toVector(), iota(337, 1000));
    EXPECT_EQ(l.append(r), s);
    EXPECT_EQ(s.take(5).toVector(), iota(0, 5));
    EXPECT_EQ(s.drop(995).toVector(), iota(995, 1000));
    EXPECT_EQ(s.take(-3).size(), 0u);
    EXPECT_EQ(s.drop(5000).size(), 0u);
    auto u = s.update(500, -1);
    EXPECT_EQ(u.at(500), -1);
    EXPECT_EQ(s.at(500), 500);
    EXPECT_EQ(s.update(1000, 7), s);
    EXPECT_EQ(s.adjust([](Int x) { return x * 10; }, 3).at(3), 30);
    EXPECT_EQ(s.insertAt(2, 99).take(4).toVector(), (std::vector<Int>{0, 1, 99, 2}));
    EXPECT_EQ(s.deleteAt(0).front(), 1);
    EXPECT_EQ(core::reverse(Seq<Int>{1, 2, 3}).toVector(), (std::vector<Int>{3, 2, 1}));
    EXPECT_TRUE(u.valid());
    EXPECT_EQ(core::combine(Seq<Int>{1}, Seq<Int>{2, 3}), (Seq<Int>{1, 2, 3}));
    EXPECT_EQ(core::Monoid<Seq<Int>>::mempty().size(), 0u);
}

TEST(SeqIndexed, MapFoldTraverseWithPositions) {
    Seq<std::string> s{"a", "b", "c"};
    auto m = core::mapWithIndex([](Int i, const std::string& x) { return x + std::to_string(i); }, s);
    EXPECT_EQ(m.toVector(), (std::vector<std::string>{"a0", "b1", "c2"}));
    auto r = core::foldrWithIndex(
        [](Int i, const std::string& x, const core::Lazy<std::string>& rest) { return std::to_string(i) + x + rest.force(); },
        std::string("."), s);
    EXPECT_EQ(r, "0a1b2c.");
    // The rest is deferred: stopping early never reaches the later elements.
    int calls = 0;
    auto big = Seq<Int>::fromVector(iota(0, 100000));
    Int firstOver = core::foldrWithIndex(
        [&calls](Int, Int x, const core::Lazy<Int>& rest) {
            ++calls;
            return x > 10 ? x : rest.force();
        },
        Int{-1}, big);
    EXPECT_EQ(firstOver, 11);
    EXPECT_EQ(calls, 12);
    auto l = core::foldlWithIndex([](std::string acc, Int i, const std::string& x) { return acc + x + std::to_string(i); },
                                  std::string(), s);
    EXPECT_EQ(l, "a0b1c2");
    auto fm = core::foldMapWithIndex([](Int i, const std::string& x) { return std::to_string(i) + x; }, s);
    EXPECT_EQ(fm, "0a1b2c");
    auto t = core::traverseWithIndex([](Int i, const std::string& x) { return std::pair<std::string, Int>(x, i * 2); }, s);
    EXPECT_EQ(t.first, "abc");
    EXPECT_EQ(t.second.toVector(), (std::vector<Int>{0, 2, 4}));
}

TEST(SeqInterfaces, FunctorFoldableApplicativeMonad) {
    Seq<Int> s{3, 1, 2};
    EXPECT_EQ(core::fmap([](Int x) { return x + 1; }, s), (Seq<Int>{4, 2, 3}));
    EXPECT_EQ(core::sum(s), 6);
    EXPECT_EQ(core::maximum(s), 3);
    EXPECT_EQ(core::length(s), 3);
    EXPECT_EQ(core::toList(s).toVector(), (std::vector<Int>{3, 1, 2}));
    EXPECT_EQ(core::foldrStrict([](Int x, std::string acc) { return acc + std::to_string(x); }, std::string(), s), "213");
    auto ok = core::traverse([](Int x) { return std::optional<Int>(x); }, s);
    EXPECT_EQ(ok, std::optional<Seq<Int>>(s));
    EXPECT_EQ(core::liftA2([](Int a, Int b) { return a * 10 + b; }, Seq<Int>{1, 2}, Seq<Int>{3, 4}), (Seq<Int>{13, 14, 23, 24}));
    EXPECT_EQ(core::bind(Seq<Int>{1, 2}, [](Int x) { return Seq<Int>{x, x}; }), (Seq<Int>{1, 1, 2, 2}));
    EXPECT_EQ(core::pure<core::SeqK>(Int{7}), Seq<Int>{7});
    EXPECT_LT((Seq<Int>{1, 2}), (Seq<Int>{1, 2, 0}));
    EXPECT_LT((Seq<Int>{1, 2}), (Seq<Int>{1, 3}));
    EXPECT_EQ(core::compare1(s, s), core::EQ);
}

TEST(SeqText, FromListFormRoundTrips) {
    EXPECT_EQ(core::show(Seq<Int>{1, 2}), "fromList [1,2]");
    EXPECT_EQ(core::show(Seq<Int>{}), "fromList []");
    EXPECT_EQ(core::show(std::optional<Seq<Int>>(Seq<Int>{-1})), "Just (fromList [-1])");
    EXPECT_EQ(core::read<Seq<Int>>("fromList [1,2]"), (Seq<Int>{1, 2}));
    EXPECT_EQ(core::read<Seq<Int>>(" ( fromList [ 1 , (-2) ] ) "), (Seq<Int>{1, -2}));
    EXPECT_FALSE(core::read<Seq<Int>>("fromList").has_value());
    EXPECT_FALSE(core::read<Seq<Int>>("fromListx [1]").has_value());
    EXPECT_EQ(core::read<std::optional<Seq<Int>>>("Just (fromList [])"), std::optional<Seq<Int>>(Seq<Int>{}));
    EXPECT_FALSE(core::read<std::optional<Seq<Int>>>("Just fromList []").has_value());
}

TEST(SeqHashingAndBytes, AsAListOfTheElements) {
    Seq<Int> s{5, 6, 7};
    EXPECT_EQ(core::hash(s), core::hash(std::vector<Int>{5, 6, 7}));
    auto h = [](std::uint64_t salt, Int x) { return core::hashWithSalt(salt, x); };
    EXPECT_EQ(core::liftHashWithSalt(h, 9, s), core::hashWithSalt(9, s));
    EXPECT_EQ(core::encode(s), core::encode(std::vector<Int>{5, 6, 7}));
    EXPECT_EQ(core::decode<Seq<Int>>(core::encode(s)).value(), s);
    EXPECT_EQ(core::decode<Seq<Int>>(core::encode(Int{1} << 40)).error(), "Not enough bytes");
    EXPECT_EQ(core::decode<Seq<Int>>(core::encode(Int{-1})).error(), "Negative length");
}

TEST(SeqSoundness, TenMillionElementsBuiltFoldedAndDropped) {
    constexpr Int n = 10'000'000;
    Seq<Int> s;
    for (Int i = 0; i < n / 2; ++i) s = core::snocSeq(std::move(s), i);
    for (Int i = 1; i <= n / 2; ++i) s = core::consSeq(-i, std::move(s));
    ASSERT_EQ(s.length(), n);
    EXPECT_TRUE(s.valid());
    EXPECT_EQ(s.at(0), -(n / 2));
    EXPECT_EQ(s.at(n - 1), n / 2 - 1);
    EXPECT_EQ(core::foldlStrict([](Int acc, Int x) { return acc + x; }, Int{0}, s), -(n / 2));
    auto [l, r] = s.splitAt(n / 3);
    EXPECT_EQ(l.size() + r.size(), static_cast<std::size_t>(n));
    EXPECT_EQ(r.append(l).at(n - n / 3), s.at(0));
    { Seq<Int> drop = std::move(s); }
    SUCCEED();
}

RC_GTEST_PROP(SeqProperties, AgreeWithAVectorModelAfterRandomOperations, ()) {
    Seq<Int> s;
    std::vector<Int> model;
    const int steps = *rc::gen::inRange(0, 120);
    for (int k = 0; k < steps; ++k) {
        const int op = *rc::gen::inRange(0, 10);
        const Int x = *rc::gen::inRange<Int>(-1000, 1000);
        const Int n = static_cast<Int>(model.size());
        const Int i = *rc::gen::inRange<Int>(-2, n + 3);
        const Int ci = std::clamp<Int>(i, 0, n);
        switch (op) {
            case 0:
                s = core::snocSeq(std::move(s), x), model.push_back(x);
                break;
            case 1:
                s = core::consSeq(x, std::move(s)), model.insert(model.begin(), x);
                break;
            case 2: {
                // Pushing on a shared copy must not change the original.
                Seq<Int> keep = s;
                Seq<Int> pushed = s.pushBack(x).pushFront(x);
                RC_ASSERT(keep.toVector() == model);
                RC_ASSERT(pushed.size() == model.size() + 2);
                break;
            }
            case 3: {
                std::vector<Int> extra = *rc::gen::container<std::vector<Int>>(rc::gen::inRange<Int>(0, 9));
                s = s.append(Seq<Int>::fromVector(extra));
                model.insert(model.end(), extra.begin(), extra.end());
                break;
            }
            case 4: {
                auto [l, r] = s.splitAt(i);
                RC_ASSERT(l.toVector() == std::vector<Int>(model.begin(), model.begin() + ci));
                RC_ASSERT(r.toVector() == std::vector<Int>(model.begin() + ci, model.end()));
                RC_ASSERT(l.valid() && r.valid());
                s = r.append(l);
                std::rotate(model.begin(), model.begin() + ci, model.end());
                break;
            }
            case 5:
                s = s.update(i, x);
                if (i >= 0 && i < n) model[static_cast<std::size_t>(i)] = x;
                break;
            case 6:
                s = s.insertAt(i, x);
                model.insert(model.begin() + ci, x);
                break;
            case 7:
                s = s.deleteAt(i);
                if (i >= 0 && i < n) model.erase(model.begin() + i);
                break;
            case 8:
                s = s.reverse();
                std::reverse(model.begin(), model.end());
                break;
            default:
                s = s.take(i).append(s.drop(i));
                break;
        }
        RC_ASSERT(s.valid());
        RC_ASSERT(s.size() == model.size());
    }
    RC_ASSERT(s.toVector() == model);
    for (std::size_t k = 0; k < model.size(); ++k) RC_ASSERT(s.at(static_cast<Int>(k)) == model[k]);
    RC_ASSERT(std::vector<Int>(s.begin(), s.end()) == model);
    RC_ASSERT(core::read<Seq<Int>>(core::show(s)) == std::optional<Seq<Int>>(s));
    RC_ASSERT(core::decode<Seq<Int>>(core::encode(s)).value() == s);
}

TEST(SeqSoundness, SharedValuesAreReadAndExtendedFromManyThreads) {
    const auto s = Seq<Int>::fromVector(iota(0, 5000)).pushBack(5000).pushFront(-1);
    std::vector<std::thread> threads;
    std::vector<Int> sums(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&s, &sums, t] {
            for (int round = 0; round < 50; ++round) {
                Seq<Int> mine = s.pushBack(t).pushFront(t);
                sums[static_cast<std::size_t>(t)] += mine.at(0) + mine.back() + s.at(2500) +
                                                      core::foldlStrict([](Int a, Int x) { return a + x; }, Int{0}, s.take(10));
            }
        });
    }
    for (auto& th : threads) th.join();
    for (int t = 0; t < 4; ++t) EXPECT_EQ(sums[static_cast<std::size_t>(t)], 50 * (2 * t + 2499 + 35));
    EXPECT_EQ(s.size(), 5002u);
    EXPECT_EQ(s.back(), 5000);
}
