#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cctype>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Core/Classes.h"
#include "Core/Foldable.h"
#include "Core/Num.h"

using core::List;
using core::Ordering;

namespace {
// Ordered by key only, so a tie shows which argument was returned.
struct Keyed {
    int key;
    char tag;
    friend bool operator<(const Keyed& a, const Keyed& b) { return a.key < b.key; }
};
Ordering fromStd(std::strong_ordering o) {
    return core::toOrdering(o);
}
}  // namespace

TEST(Ord, CompareAndTheTieRulesOfMaxAndMin) {
    EXPECT_EQ(core::compare(1, 2), core::LT);
    EXPECT_EQ(core::compare(std::string("b"), std::string("a")), core::GT);
    EXPECT_EQ(core::compare(Keyed{1, 'a'}, Keyed{1, 'b'}), core::EQ);  // through < only
    // max returns its second argument on a tie, min its first.
    EXPECT_EQ(core::max(Keyed{1, 'a'}, Keyed{1, 'b'}).tag, 'b');
    EXPECT_EQ(core::min(Keyed{1, 'a'}, Keyed{1, 'b'}).tag, 'a');
    EXPECT_EQ(core::max(Keyed{2, 'a'}, Keyed{1, 'b'}).tag, 'a');
    EXPECT_EQ(core::min(Keyed{2, 'a'}, Keyed{1, 'b'}).tag, 'b');
    auto byLength = core::comparing([](const std::string& s) { return s.size(); });
    EXPECT_EQ(byLength(std::string("abc"), std::string("z")), core::GT);
}

RC_GTEST_PROP(LiftedClasses, AgreeWithTheTypesOwnComparisons,
              (const std::vector<int>& a, const std::vector<int>& b, int x, int y, bool fa, bool fb)) {
    RC_ASSERT(core::eq1(a, b) == (a == b));
    RC_ASSERT(core::compare1(a, b) == fromStd(a <=> b));
    RC_ASSERT(core::eq1(List<int>(a), List<int>(b)) == (a == b));
    RC_ASSERT(core::compare1(List<int>(a), List<int>(b)) == fromStd(a <=> b));
    std::optional<int> oa = fa ? std::optional<int>(x) : std::nullopt, ob = fb ? std::optional<int>(y) : std::nullopt;
    RC_ASSERT(core::compare1(oa, ob) == fromStd(oa <=> ob));
    using E = core::Either<int, int>;
    E ea = fa ? E::right(x) : E::left(x), eb = fb ? E::right(y) : E::left(y);
    RC_ASSERT(core::compare1(ea, eb) == fromStd(ea <=> eb));
    RC_ASSERT(core::compare2(ea, eb) == fromStd(ea <=> eb));
    RC_ASSERT(core::eq2(ea, eb) == (ea == eb));
    auto pa = std::pair(x, y), pb = std::pair(y, x);
    RC_ASSERT(core::compare2(pa, pb) == fromStd(pa <=> pb));
    RC_ASSERT(core::compare1(pa, pb) == fromStd(pa <=> pb));
    core::Compose<core::VectorK, core::OptionalK, int> ca{{oa, x}}, cb{{ob, y}};
    RC_ASSERT(core::compare1(ca, cb) == fromStd(ca.value <=> cb.value));
    RC_ASSERT(core::eq1(ca, cb) == (ca == cb));
    core::NonEmpty<int> na(x, List<int>(a)), nb(y, List<int>(b));
    RC_ASSERT(core::compare1(na, nb) == fromStd(na <=> nb));
    core::Product<core::VectorK, core::OptionalK, int> qa{a, oa}, qb{b, ob};
    RC_ASSERT(core::compare1(qa, qb) == fromStd(qa <=> qb));
}

TEST(LiftedClasses, UseTheGivenElementFunctions) {
    // Equality of lists modulo 10 and a reversed order.
    auto mod10 = [](int a, int b) { return a % 10 == b % 10; };
    EXPECT_TRUE(core::liftEq(mod10, List<int>{1, 12}, List<int>{11, 2}));
    EXPECT_FALSE(core::liftEq(mod10, List<int>{1, 12}, List<int>{11}));
    auto reversed = [](int a, int b) { return core::compare(b, a); };
    EXPECT_EQ(core::liftCompare(reversed, std::vector<int>{1, 5}, std::vector<int>{1, 3}), core::LT);
    // Elements of different types.
    auto sameLength = [](const std::string& s, int n) { return static_cast<int>(s.size()) == n; };
    EXPECT_TRUE(core::liftEq(sameLength, std::optional<std::string>("abc"), std::optional<int>(3)));
    // Const compares only its constant; Proxy is always equal; Sum orders InL first.
    EXPECT_EQ(core::compare1(core::Const<int, std::string>{1}, core::Const<int, std::string>{2}), core::LT);
    EXPECT_EQ(core::compare1(core::Proxy<int>{}, core::Proxy<int>{}), core::EQ);
    auto l = core::InL<core::ListK>(std::vector<int>{9});
    auto r = core::InR<core::VectorK>(List<int>{0});
    EXPECT_EQ(core::compare1(l, decltype(l){r.value}), core::LT);
    // Two-parameter forms with two element functions.
    auto caseless = [](char a, char b) { return std::tolower(a) == std::tolower(b); };
    EXPECT_TRUE(core::liftEq2(caseless, mod10, std::pair('A', 3), std::pair('a', 13)));
    EXPECT_EQ(core::liftCompare2(reversed, reversed, std::pair(1, 2), std::pair(1, 3)), core::GT);
}

TEST(Num, FixedWidthArithmeticWrapsAndDivisionIsChecked) {
    using I = std::int64_t;
    constexpr I lo = std::numeric_limits<I>::min(), hi = std::numeric_limits<I>::max();
    EXPECT_EQ(core::plus(hi, I{1}), lo);
    EXPECT_EQ(core::times(hi, I{2}), I{-2});
    EXPECT_EQ(core::negate(lo), lo);
    EXPECT_EQ(core::abs(lo), lo);
    EXPECT_EQ(core::signum(I{-5}), -1);
    EXPECT_EQ(core::quot(I{-7}, I{2}), -3);
    EXPECT_EQ(core::rem(I{-7}, I{2}), -1);
    EXPECT_EQ(core::div(I{-7}, I{2}), -4);
    EXPECT_EQ(core::mod(I{-7}, I{2}), 1);
    EXPECT_EQ(core::mod(I{7}, I{-2}), -1);
    EXPECT_EQ(core::divMod(I{7}, I{-2}), (std::pair<I, I>(-4, -1)));
    EXPECT_THROW(core::div(I{1}, I{0}), core::Error);
    try {
        core::quot(lo, I{-1});
        ADD_FAILURE() << "no overflow error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "arithmetic overflow");
    }
    try {
        core::mod(I{3}, I{0});
        ADD_FAILURE() << "no division error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "divide by zero");
    }
    EXPECT_EQ(core::fromInteger<I>(core::Integer::pow(core::Integer(2), 64) + core::Integer(5)), 5);
    EXPECT_EQ(core::fromInteger<I>(core::Integer::pow(core::Integer(2), 63)), lo);
    EXPECT_EQ(core::toInteger(I{-9}), core::Integer(-9));
    EXPECT_EQ(core::toRational(I{3}), core::Rational(3));
    EXPECT_EQ(core::sum(std::vector<core::Integer>{core::Integer(hi), core::Integer(hi)}),
              core::Integer(hi) * core::Integer(2));
    EXPECT_EQ(core::product(std::vector<core::Rational>{core::Rational(1, 2), core::Rational(2, 3)}),
              core::Rational(1, 3));
    // Enumerations stop at their ends.
    EXPECT_EQ(core::succ(core::LT), core::EQ);
    EXPECT_THROW(core::succ(core::GT), core::Error);
    EXPECT_THROW(core::pred(false), core::Error);
    EXPECT_THROW(core::succ(hi), core::Error);
    EXPECT_THROW(core::toEnum<char32_t>(0x110000), core::Error);
    EXPECT_EQ(core::fromEnum(true), 1);
    EXPECT_EQ(core::toEnum<std::int8_t>(-128), std::int8_t{-128});
    EXPECT_THROW(core::toEnum<std::int8_t>(128), core::Error);
}

RC_GTEST_PROP(Num, DivModAndQuotRemReconstructTheDividend, (std::int64_t a, std::int64_t b)) {
    RC_PRE(b != 0 && !(a == std::numeric_limits<std::int64_t>::min() && b == -1));
    auto [q, r] = core::quotRem(a, b);
    RC_ASSERT(q * b + r == a);
    RC_ASSERT(r == 0 || (r < 0) == (a < 0));
    auto [d, m] = core::divMod(a, b);
    RC_ASSERT(core::plus(core::times(d, b), m) == a);
    RC_ASSERT(m == 0 || (m < 0) == (b < 0));
    RC_ASSERT(core::toInteger(d) == core::div(core::Integer(a), core::Integer(b)));
}
