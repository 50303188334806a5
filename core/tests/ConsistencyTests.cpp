// Operations that the interfaces define in terms of each other must agree,
// whichever of them an implementation supplies directly.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Core/Prelude.h"

using core::Lazy;
using core::List;
using core::NonEmpty;

RC_GTEST_PROP(Consistency, Foldable1AgreesWithFoldable, (int h, const std::vector<int>& t)) {
    NonEmpty<int> ne(h, List<int>(t));
    auto shown = [](int x) { return std::to_string(x) + ";"; };
    RC_ASSERT(core::foldMap1(shown, ne) == core::foldMap(shown, ne));
    RC_ASSERT(core::foldMap1Strict(shown, ne) == core::foldMapStrict(shown, ne));
    RC_ASSERT(core::toNonEmpty(ne).toVector() == core::toList(ne).toVector());
    RC_ASSERT(core::maximum1(ne) == core::maximum(ne));
    RC_ASSERT(core::minimum1(ne) == core::minimum(ne));
    RC_ASSERT(core::head1(ne) == h);
    RC_ASSERT(core::last1(ne) == (t.empty() ? h : t.back()));
    auto cat = [](int x, const Lazy<std::string>& r) { return std::to_string(x) + "," + r.force(); };
    std::vector<int> all{h};
    all.insert(all.end(), t.begin(), t.end());
    std::string expected;
    for (std::size_t i = 0; i + 1 < all.size(); ++i) expected += std::to_string(all[i]) + ",";
    expected += shown(all.back());
    RC_ASSERT(core::foldrMap1(shown, cat, ne) == expected);
    auto catStrict = [](int x, std::string acc) { return std::to_string(x) + "," + acc; };
    RC_ASSERT(core::foldrMap1Strict(shown, catStrict, ne) == core::foldrMap1(shown, cat, ne));
    auto snoc = [](std::string acc, int x) { return acc + "," + std::to_string(x); };
    RC_ASSERT(core::foldlMap1(shown, snoc, ne) == core::foldlMap1Strict(shown, snoc, ne));
    auto sub = [](int a, int b) { return core::minus(a, b); };  // wraps instead of overflowing
    RC_ASSERT(core::foldl1(sub, ne) == core::foldlMap1([](int x) { return x; }, sub, ne));
}

RC_GTEST_PROP(Consistency, FoldsAgreeOnEveryFoldable, (const std::vector<int>& v, int x, bool flag)) {
    // The defaults (used by Compose and Reverse) against the direct folds.
    auto same = [&](const auto& t, const std::vector<int>& expected) {
        auto snoc = [](std::vector<int> acc, int y) {
            acc.push_back(y);
            return acc;
        };
        auto cons = [](int y, const Lazy<std::vector<int>>& r) {
            std::vector<int> out{y};
            const auto& rest = r.force();
            out.insert(out.end(), rest.begin(), rest.end());
            return out;
        };
        RC_ASSERT(core::foldl(snoc, std::vector<int>(), t) == expected);
        RC_ASSERT(core::foldr(cons, std::vector<int>(), t) == expected);
        RC_ASSERT(core::toList(t).toVector() == expected);
        RC_ASSERT(core::length(t) == static_cast<core::Int>(expected.size()));
        RC_ASSERT(core::null(t) == expected.empty());
        RC_ASSERT(core::elem(x, t) == (std::find(expected.begin(), expected.end(), x) != expected.end()));
        RC_ASSERT(core::foldMap([](int y) { return std::vector<int>{y}; }, t) == expected);
        std::int64_t sum = 0;
        for (int y : expected) sum += y;
        RC_ASSERT(static_cast<std::int64_t>(core::foldlStrict([](std::int64_t a, int y) { return a + y; },
                                                              std::int64_t{0}, t)) == sum);
    };
    std::vector<int> rev(v.rbegin(), v.rend());
    same(v, v);
    same(core::Reverse<core::VectorK, int>{v}, rev);
    same(core::Compose<core::OptionalK, core::ListK, int>{flag ? std::optional<List<int>>(List<int>(v)) : std::nullopt},
         flag ? v : std::vector<int>());
    std::vector<int> withX = v;
    withX.push_back(x);
    same(core::Product<core::VectorK, core::IdentityK, int>{v, {x}}, withX);
    std::map<int, int> m;
    for (std::size_t i = 0; i < v.size(); ++i) m[static_cast<int>(i)] = v[i];
    same(m, v);
}

RC_GTEST_PROP(Consistency, BifoldsAgree, (int a, const std::string& s, bool flag)) {
    auto f = [](int x) { return std::to_string(x); };
    auto g = [](const std::string& t) { return "<" + t + ">"; };
    auto viaFoldr = [&](const auto& p) {
        return core::bifoldr([&](int x, const Lazy<std::string>& r) { return f(x) + r.force(); },
                             [&](const std::string& t, const Lazy<std::string>& r) { return g(t) + r.force(); },
                             std::string(), p);
    };
    auto viaFoldl = [&](const auto& p) {
        return core::bifoldl([&](std::string acc, int x) { return acc + f(x); },
                             [&](std::string acc, const std::string& t) { return acc + g(t); }, std::string(), p);
    };
    auto p = std::pair(a, s);
    auto e = flag ? core::Either<int, std::string>::left(a) : core::Either<int, std::string>::right(s);
    RC_ASSERT(core::bifoldMap(f, g, p) == viaFoldr(p));
    RC_ASSERT(core::bifoldMap(f, g, p) == viaFoldl(p));
    RC_ASSERT(core::bifoldMap(f, g, e) == viaFoldr(e));
    RC_ASSERT(core::bifoldMap(f, g, e) == viaFoldl(e));
    RC_ASSERT(core::bifoldMap1(f, g, e) == core::bifoldMap(f, g, e));
    // bimap is first after second.
    auto inc = [](int x) { return x % 1000 + 1; };
    RC_ASSERT(core::bimap(inc, g, e) == core::first(inc, core::second(g, e)));
}

RC_GTEST_PROP(Consistency, EnumRoundTripsAndBounds, (std::int8_t small, core::Int n)) {
    RC_ASSERT(core::toEnum<std::int8_t>(core::fromEnum(small)) == small);
    RC_ASSERT(core::toEnum<core::Int>(core::fromEnum(n)) == n);
    RC_ASSERT(core::toEnum<core::Ordering>(core::fromEnum(core::Ordering::GT)) == core::GT);
    if (small != std::numeric_limits<std::int8_t>::min()) RC_ASSERT(core::succ(core::pred(small)) == small);
    // Narrow types follow the same division rules as Int.
    if (small != 0 && !(small == -128)) {
        RC_ASSERT(static_cast<int>(core::div(std::int8_t{-7}, small)) ==
                  static_cast<int>(core::div(core::Int{-7}, static_cast<core::Int>(small))));
    }
}

TEST(Consistency, NarrowOverflowAndMissingImplementations) {
    EXPECT_THROW(core::quot(std::int8_t{-128}, std::int8_t{-1}), core::Error);
    EXPECT_EQ(core::plus(std::int8_t{127}, std::int8_t{1}), std::int8_t{-128});
    EXPECT_EQ(core::times(std::uint16_t{300}, std::uint16_t{300}), std::uint16_t(90000 % 65536));
    // Traversals of a map keep its keys.
    std::map<std::string, int> m{{"a", 1}, {"b", 2}};
    auto doubled = core::traverse([](int x) { return std::optional<int>(x * 2); }, m);
    EXPECT_EQ(doubled, (std::optional<std::map<std::string, int>>({{"a", 2}, {"b", 4}})));
    EXPECT_EQ(core::fmap([](int x) { return x + 1; }, m).at("b"), 3);
}

// What exists and what does not, checked at compile time.
static_assert(core::IsTraversable<core::MapK<int>>);
static_assert(!core::IsApplicative<core::MapK<int>>);
static_assert(!core::IsFoldable<core::FunctionK<int>>);
static_assert(!core::IsMonoid<NonEmpty<int>>);
static_assert(core::IsSemigroup<NonEmpty<int>>);
static_assert(!core::IsMonad<core::ZipListK>);
static_assert(core::IsDistributive<core::ComposeK<core::IdentityK, core::FunctionK<int>>>);
static_assert(!core::IsDistributive<core::ListK>);
static_assert(core::IsBifoldable1<core::PairK2> && !core::IsBifoldable1<core::TaggedK2>);
static_assert(core::IsArrowLoop<core::FunctionA> && !core::IsArrowLoop<core::KleisliK<core::OptionalK>>);
static_assert(core::IsFoldable1<core::ComposeK<core::NonEmptyK, core::IdentityK>> && !core::IsFoldable1<core::ListK>);
