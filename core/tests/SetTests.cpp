#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Core/Set.h"

using core::Int;
using core::Lazy;
using core::Set;

namespace {
using ISet = Set<Int>;
using CSet = Set<core::Char>;
using OptISet = std::optional<ISet>;
}  // namespace

static_assert(std::ranges::bidirectional_range<ISet>);
static_assert(std::is_same_v<std::ranges::range_reference_t<ISet>, const Int&>);

TEST(SetBasics, MembershipUpdatesAndOrder) {
    ISet s{5, 1, 3, 1, 5};
    EXPECT_EQ(s.toAscList(), (std::vector<Int>{1, 3, 5}));
    EXPECT_EQ(s.size(), 3u);
    EXPECT_TRUE(s.member(3));
    EXPECT_FALSE(s.member(2));
    auto t = s.insert(2).erase(5).insert(3);
    EXPECT_EQ(t.toAscList(), (std::vector<Int>{1, 2, 3}));
    EXPECT_EQ(s.toAscList(), (std::vector<Int>{1, 3, 5}));
    EXPECT_EQ(s.erase(4).root().get(), s.root().get());  // nothing rebuilt
    EXPECT_EQ(s.lookupMin(), std::optional<Int>(1));
    EXPECT_EQ(s.lookupMax(), std::optional<Int>(5));
    EXPECT_EQ(s.lookupGT(3), std::optional<Int>(5));
    EXPECT_EQ(s.lookupLE(0), std::nullopt);
    EXPECT_EQ(s.toDescList(), (std::vector<Int>{5, 3, 1}));
    EXPECT_EQ(s.map([](Int x) { return x / 2; }).toAscList(), (std::vector<Int>{0, 1, 2}));
    auto [lo, found, hi] = s.splitMember(3);
    EXPECT_TRUE(found);
    EXPECT_EQ(lo, ISet{1});
    EXPECT_EQ(hi, ISet{5});
    EXPECT_TRUE(ISet::empty().null());
    EXPECT_EQ(*ISet::singleton(4).begin(), 4);
    EXPECT_TRUE((ISet{1, 2} < ISet{1, 3}));
    EXPECT_TRUE((ISet{} < ISet{0}));
}

TEST(SetBasics, FoldsStopEarly) {
    ISet s;
    for (Int i = 0; i < 50000; ++i) s = s.insert(i);
    int calls = 0;
    auto r = s.foldr(
        [&calls](Int x, const Lazy<Int>& rest) {
            ++calls;
            return x == 4 ? x : rest.force();
        },
        core::now(Int{-1}));
    EXPECT_EQ(r, 4);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(core::foldlStrict([](Int a, Int x) { return a + x; }, Int{0}, s), Int{50000} * 49999 / 2);
    EXPECT_EQ(core::length(s), 50000);
    EXPECT_EQ(core::maximum(s), 49999);
}

TEST(SetProperties, RandomOperationsAgreeWithStdSet) {
    std::mt19937_64 rng(4242);
    for (int round = 0; round < 30; ++round) {
        std::set<Int> model;
        ISet s;
        const Int range = round % 2 ? 40 : 4000;
        for (int step = 0; step < 500; ++step) {
            const Int x = static_cast<Int>(rng() % static_cast<std::uint64_t>(2 * range + 1)) - range;
            if (rng() % 3) {
                s = s.insert(x);
                model.insert(x);
            } else {
                s = s.erase(x);
                model.erase(x);
            }
            ASSERT_TRUE(s.valid());
            ASSERT_EQ(s.size(), model.size());
            ASSERT_EQ(s.member(x), model.count(x) == 1);
        }
        ASSERT_EQ(s.toAscList(), (std::vector<Int>(model.begin(), model.end())));
        std::set<Int> other;
        for (int i = 0; i < 200; ++i) other.insert(static_cast<Int>(rng() % static_cast<std::uint64_t>(2 * range + 1)) - range);
        ISet o = ISet::fromList(other);
        std::vector<Int> u, in, d;
        std::set_union(model.begin(), model.end(), other.begin(), other.end(), std::back_inserter(u));
        std::set_intersection(model.begin(), model.end(), other.begin(), other.end(), std::back_inserter(in));
        std::set_difference(model.begin(), model.end(), other.begin(), other.end(), std::back_inserter(d));
        ASSERT_TRUE(s.union_(o).valid() && s.intersection(o).valid() && s.difference(o).valid());
        ASSERT_EQ(s.union_(o).toAscList(), u);
        ASSERT_EQ(s.intersection(o).toAscList(), in);
        ASSERT_EQ(s.difference(o).toAscList(), d);
        ASSERT_EQ(s.intersection(o).isSubsetOf(o), true);
        ASSERT_EQ(s.difference(o).disjoint(o), true);
    }
}

TEST(SetInterfaces, TextBinaryHashAndMonoid) {
    EXPECT_EQ(core::show(ISet{2, -1}), "fromList [-1,2]");
    EXPECT_EQ(core::show(CSet{U'b', U'a'}), "fromList \"ab\"");
    EXPECT_EQ(core::show(OptISet(ISet{1})), "Just (fromList [1])");
    EXPECT_EQ(core::read<ISet>("fromList [3,1,3]"), ISet({1, 3}));
    EXPECT_EQ(core::read<CSet>("fromList \"ba\""), CSet({U'a', U'b'}));
    EXPECT_EQ(core::read<OptISet>(" Just ( fromList [ ] ) "), OptISet(ISet()));
    EXPECT_FALSE(core::read<ISet>("fromList 1"));

    ISet s{-3, 8};
    EXPECT_EQ(core::encode(s), core::encode(std::vector<Int>{-3, 8}));
    EXPECT_EQ(core::decode<ISet>(core::encode(s)).value(), s);
    EXPECT_EQ(core::decode<ISet>(core::encode(std::vector<Int>{8, -3})).error(), "Set elements not strictly ascending");
    EXPECT_EQ(core::decode<ISet>(core::encode(std::vector<Int>{1, 1})).error(), "Set elements not strictly ascending");
    EXPECT_EQ(core::decode<Set<core::Unit>>(core::encode(std::vector<core::Unit>(2))).error(),
              "Set elements not strictly ascending");

    std::uint64_t h = core::hashInt(core::defaultSalt, 2);
    h = core::hashInt(core::hashInt(h, -3), 8);
    EXPECT_EQ(core::hash(s), h);
    EXPECT_EQ(core::combine(ISet{1}, ISet{2}), ISet({1, 2}));
    EXPECT_TRUE(core::mempty<ISet>().null());
    EXPECT_TRUE(core::eq1(ISet{1, 2}, ISet{2, 1}));
    // The lifted forms with the element's own hash and reader are the plain ones.
    EXPECT_EQ(core::liftHashWithSalt(core::detail::hashElement, core::defaultSalt, s), h);
    const auto lifted = core::liftReadPrec<core::SetK, Int>(core::readPrec<Int>(), core::readListPrec<Int>());
    const auto fromLifted = lifted.run("fromList [8,-3,8]");
    ASSERT_EQ(fromLifted.size(), 1u);
    EXPECT_EQ(fromLifted[0].first, s);
    EXPECT_TRUE(lifted.run("fromList").empty());
}

namespace {
// Equal by key only, so that tests can see which of equal elements is kept.
struct Tagged {
    int key;
    char tag;
    friend bool operator<(const Tagged& a, const Tagged& b) { return a.key < b.key; }
    friend bool operator==(const Tagged& a, const Tagged& b) { return a.key == b.key; }
};
}  // namespace

TEST(SetBasics, LaterEqualElementsReplaceEarlierOnes) {
    auto s = Set<Tagged>::fromList(std::vector<Tagged>{{1, 'a'}, {2, 'b'}, {1, 'c'}});
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s.begin()->tag, 'c');
    EXPECT_EQ(s.insert(Tagged{2, 'z'}).lookupMax()->tag, 'z');
    // Union and intersection keep the left operand's elements.
    auto other = Set<Tagged>::fromList(std::vector<Tagged>{{2, 'x'}, {3, 'y'}});
    EXPECT_EQ(s.union_(other).elemAt(1).tag, 'b');
    EXPECT_EQ(other.union_(s).elemAt(1).tag, 'x');
    EXPECT_EQ(s.intersection(other).begin()->tag, 'b');
}
