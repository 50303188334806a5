#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "Core/Foldable.h"
#include "Core/Foldable1.h"
#include "Core/Functor.h"
#include "Core/FunctorTypes.h"
#include "Core/Monoids.h"

using core::Lazy;
using core::List;
using core::NonEmpty;

namespace {
List<std::int64_t> naturals() {
    return List<std::int64_t>::iterate([](std::int64_t n) { return n + 1; }, 0);
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
// Compared by key only, so that ties show which element was kept.
struct Tagged {
    int key;
    char tag;
    friend bool operator<(const Tagged& a, const Tagged& b) { return a.key < b.key; }
};
}  // namespace

TEST(Foldable, FoldrStopsAtOnceOnAnUnboundedList) {
    // The function ignores the rest: only the first cell is looked at.
    EXPECT_EQ(core::foldr([](std::int64_t x, const Lazy<std::int64_t>&) { return x; }, std::int64_t{-1}, naturals()),
              0);
    // It stops where the function stops demanding.
    auto firstOver = [](std::int64_t x, const Lazy<std::int64_t>& rest) { return x > 500 ? x : rest.force(); };
    EXPECT_EQ(core::foldr(firstOver, std::int64_t{-1}, naturals()), 501);
    EXPECT_TRUE(core::any([](std::int64_t x) { return x == 1000; }, naturals()));
    EXPECT_FALSE(core::all([](std::int64_t x) { return x < 10; }, naturals()));
    EXPECT_TRUE(core::elem(std::int64_t{42}, naturals()));
    EXPECT_FALSE(core::null(naturals()));
    // foldMap with a monoid that can stop early, and foldr1.
    EXPECT_TRUE(core::foldMap([](std::int64_t x) { return core::Any{x == 77}; }, naturals()).value);
    EXPECT_EQ(core::foldr1([](std::int64_t x, const Lazy<std::int64_t>&) { return x; }, naturals().drop(3)), 3);
    // A lazily built result: toList of a mapped unbounded list.
    auto firstFive = core::toList(core::fmap([](std::int64_t x) { return x * x; }, naturals())).take(5);
    EXPECT_EQ(firstFive.toVector(), (std::vector<std::int64_t>{0, 1, 4, 9, 16}));
}

TEST(Foldable, DeepRightFoldsDoNotOverflowTheStack) {
    // A right fold that demands every rest nests 300000 demands deep, far
    // more than a thread's stack holds; and one that stops late in an
    // unbounded list.
    constexpr std::int64_t n = 300'000;
    std::vector<std::int64_t> v(n);
    std::iota(v.begin(), v.end(), 1);
    auto plus = [](std::int64_t x, const Lazy<std::int64_t>& rest) { return x + rest.force(); };
    EXPECT_EQ(core::foldr(plus, std::int64_t{0}, v), n * (n + 1) / 2);
    EXPECT_EQ(core::foldr(plus, std::int64_t{0}, naturals().take(n)), n * (n - 1) / 2);
    auto firstOver = [](std::int64_t x, const Lazy<std::int64_t>& rest) { return x > 200'000 ? x : rest.force(); };
    EXPECT_EQ(core::foldr(firstOver, std::int64_t{-1}, naturals()), 200'001);
    EXPECT_EQ(core::foldr1([](std::int64_t x, const Lazy<std::int64_t>& rest) { return std::max(x, rest.force()); }, v),
              n);
    // A failure deep inside is rethrown to the caller.
    auto failAt = [](std::int64_t x, const Lazy<std::int64_t>& rest) -> std::int64_t {
        if (x == 250'000) core::raise("stop");
        return rest.force();
    };
    EXPECT_THROW(core::foldr(failAt, std::int64_t{0}, v), core::Error);
}

TEST(Foldable, TenMillionMappedElementsFoldStrictly) {
    constexpr std::int64_t n = 10'000'000;
    auto mapped = core::fmap([](std::int64_t x) { return x * 2; }, naturals().take(n));
    // The temporary list is released as it is folded.
    EXPECT_EQ(core::foldlStrict([](std::int64_t a, std::int64_t x) { return a + x; }, std::int64_t{0}, std::move(mapped)),
              n * (n - 1));
}

TEST(Foldable, EmptyStructuresRaiseTheirMessages) {
    const std::vector<int> none;
    auto sub = [](int a, int b) { return a - b; };
    auto subLazy = [](int a, const Lazy<int>& b) { return a - b.force(); };
    EXPECT_EQ(errorOf([&] { core::foldr1(subLazy, none); }), "foldr1: empty structure");
    EXPECT_EQ(errorOf([&] { core::foldl1(sub, none); }), "foldl1: empty structure");
    EXPECT_EQ(errorOf([&] { core::maximum(none); }), "maximum: empty structure");
    EXPECT_EQ(errorOf([&] { core::minimum(none); }), "minimum: empty structure");
    // The same messages from the defaults (Compose uses them) and from List.
    core::Compose<core::ListK, core::OptionalK, int> empty{List<std::optional<int>>{std::nullopt}};
    EXPECT_EQ(errorOf([&] { core::foldr1(subLazy, empty); }), "foldr1: empty structure");
    EXPECT_EQ(errorOf([&] { core::foldl1(sub, empty); }), "foldl1: empty structure");
    EXPECT_EQ(errorOf([&] { core::maximum(empty); }), "maximum: empty structure");
    EXPECT_EQ(errorOf([&] { core::minimum(List<int>()); }), "minimum: empty structure");
    EXPECT_EQ(errorOf([&] { core::foldr1(subLazy, std::optional<int>()); }), "foldr1: empty structure");
}

TEST(Foldable, MaximumKeepsTheLaterTieAndMinimumTheEarlier) {
    std::vector<Tagged> xs{{1, 'a'}, {3, 'b'}, {0, 'c'}, {3, 'd'}, {0, 'e'}};
    EXPECT_EQ(core::maximum(xs).tag, 'd');
    EXPECT_EQ(core::minimum(xs).tag, 'c');
    NonEmpty<Tagged> ne = NonEmpty<Tagged>::fromVector(xs);
    EXPECT_EQ(core::maximum1(ne).tag, 'd');
    EXPECT_EQ(core::minimum1(ne).tag, 'c');
}

TEST(Foldable, OperationsAgreeAcrossContainers) {
    std::vector<int> v{3, 1, 4, 1, 5};
    List<int> l(v);
    std::map<std::string, int> m{{"a", 3}, {"b", 1}, {"c", 4}, {"d", 1}, {"e", 5}};
    auto digits = [](std::string acc, int x) { return acc + std::to_string(x); };
    for (const auto& s : {core::foldl(digits, std::string(), v), core::foldl(digits, std::string(), l),
                          core::foldl(digits, std::string(), m)})
        EXPECT_EQ(s, "31415");
    auto rdigits = [](int x, std::string acc) { return acc + std::to_string(x); };
    EXPECT_EQ(core::foldrStrict(rdigits, std::string(), v), "51413");
    EXPECT_EQ(core::foldrStrict(rdigits, std::string(), l), "51413");
    EXPECT_EQ(core::sum(v), 14);
    EXPECT_EQ(core::product(l), 60);
    EXPECT_EQ(core::length(m), 5);
    EXPECT_EQ(core::maximum(m), 5);
    EXPECT_EQ(core::foldl1([](int a, int b) { return a - b; }, l), 3 - 1 - 4 - 1 - 5);
    EXPECT_EQ(core::foldr1([](int a, const Lazy<int>& b) { return a - b.force(); }, v), 3 - (1 - (4 - (1 - 5))));
    EXPECT_EQ(core::fold(std::vector<std::string>{"ab", "", "c"}), "abc");
    EXPECT_EQ(core::foldMapStrict([](int x) { return core::Additive<int>{x}; }, l).value, 14);
    // Zero- and one-element structures.
    EXPECT_EQ(core::sum(std::optional<int>(7)), 7);
    EXPECT_EQ(core::length(std::optional<int>()), 0);
    EXPECT_EQ(core::length(core::Either<std::string, int>::left("no")), 0);
    EXPECT_EQ(core::toList(core::Either<std::string, int>::right(2)).toVector(), std::vector<int>{2});
    EXPECT_EQ(core::sum(std::pair<std::string, int>("w", 4)), 4);
    EXPECT_TRUE(core::null(core::Const<int, double>{5}));
    EXPECT_TRUE(core::null(core::Proxy<int>{}));
}

TEST(Foldable, CombinatorsFoldInTheirOrder) {
    using core::ListK;
    using core::VectorK;
    auto toVec = [](const auto& t) { return core::toList(t).toVector(); };
    core::Product<ListK, VectorK, int> p{List<int>{1, 2}, std::vector<int>{3}};
    EXPECT_EQ(toVec(p), (std::vector<int>{1, 2, 3}));
    core::Compose<VectorK, ListK, int> c{{List<int>{1}, List<int>{}, List<int>{2, 3}}};
    EXPECT_EQ(toVec(c), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::length(c), 3);
    core::Reverse<VectorK, int> r{{1, 2, 3}};
    EXPECT_EQ(toVec(r), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(core::foldl([](int acc, int x) { return acc * 10 + x; }, 0, r), 321);
    auto s = core::InR<ListK>(std::vector<int>{4, 5});
    EXPECT_EQ(toVec(s), (std::vector<int>{4, 5}));
    EXPECT_EQ(toVec(core::Backwards<ListK, int>{List<int>{6, 7}}), (std::vector<int>{6, 7}));
    EXPECT_EQ(toVec(core::ZipList<int>{List<int>{8}}), std::vector<int>{8});
}

RC_GTEST_PROP(FoldableLaws, FoldsAgreeWithLoops, (const std::vector<int>& v)) {
    List<int> l(v);
    // Unsigned, so that the arithmetic wraps instead of overflowing.
    std::uint64_t loop = 0;
    for (int x : v) loop = loop * 3 + static_cast<std::uint64_t>(x);
    auto step = [](std::uint64_t acc, int x) { return acc * 3 + static_cast<std::uint64_t>(x); };
    RC_ASSERT(core::foldlStrict(step, std::uint64_t{0}, v) == loop);
    RC_ASSERT(core::foldlStrict(step, std::uint64_t{0}, l) == loop);
    // foldr builds the list back; foldMap into a list is the same list.
    auto consBack = [](int x, const Lazy<List<int>>& rest) { return List<int>::cons(x, rest.force()); };
    RC_ASSERT(core::foldr(consBack, List<int>(), v).toVector() == v);
    RC_ASSERT(core::foldMap([](int x) { return List<int>{x}; }, v).toVector() == v);
    RC_ASSERT(core::toList(v).toVector() == v);
    RC_ASSERT(core::length(l) == static_cast<core::Int>(v.size()));
    RC_ASSERT(core::null(l) == v.empty());
}
