// Padded numbers, clipping and division by a divisor that need not be
// whole.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>

#include "Core/Error.h"
#include "Data/Time/Calendar/Private.h"

using namespace kalmet;
using core::Int;
using core::Integer;
using core::Rational;

TEST(PaddedNumbers, WidthIsAMinimumAndTheSignStandsOutside) {
    EXPECT_EQ(showPadded(Pad{2, U'0'}, ""), "00");
    EXPECT_EQ(showPadded(Pad{2, U'0'}, "123"), "123");
    EXPECT_EQ(showPadded(NoPad{}, "7"), "7");
    EXPECT_EQ(showPadded(Pad{3, U'é'}, "ab"), "éab");  // the width counts characters
    EXPECT_EQ(showPadded(Pad{-4, U'0'}, "1"), "1");
    EXPECT_EQ(show3(Int{7}), "007");
    EXPECT_EQ(show3(Int{-7}), "-007");
    EXPECT_EQ(showPaddedNum(NoPad{}, Int{-7}), "-7");
    EXPECT_EQ(show2(Int{-5}), "-05");
    EXPECT_EQ(show4(Int{-5}), "-0005");
    EXPECT_EQ(show2(Int{123}), "123");
    EXPECT_EQ(show2(Int{INT64_MIN}), "-9223372036854775808");
    EXPECT_EQ(show4(Int{INT64_MIN + 1}), "-9223372036854775807");
    EXPECT_EQ(showPaddedNum(Pad{5, U' '}, Int{-42}), "-   42");
    EXPECT_EQ(show2(Integer(-5)), "-05");
    EXPECT_EQ(show4(-Integer::pow10(20)), "-100000000000000000000");
    EXPECT_EQ(show3(Integer(0)), "000");
    static_assert(ShowPaddedType<Int> && ShowPaddedType<Integer> && !ShowPaddedType<double>);
}

RC_GTEST_PROP(PaddedNumbers, IntAndIntegerAgree, (Int x, std::uint8_t w)) {
    const PadOption p = Pad{w % 24, U'0'};
    if (x != INT64_MIN) RC_ASSERT(showPaddedNum(p, x) == showPaddedNum(p, Integer(x)));
    RC_ASSERT(std::stoll(showPaddedNum(p, x)) == x);
}

TEST(PaddedNumbers, SecondsWithTrimmedDecimals) {
    const auto s = [](Int ps) { return show2Fixed(Pico::fromPicoseconds(Integer(ps))); };
    EXPECT_EQ(s(5'000'000'000'000), "05");
    EXPECT_EQ(s(5'500'000'000'000), "05.5");
    EXPECT_EQ(s(12'250'000'000'000), "12.25");
    EXPECT_EQ(s(1), "00.000000000001");
    EXPECT_EQ(s(10'000'000'000'000), "10");
    EXPECT_EQ(s(9'999'000'000'000), "09.999");
    EXPECT_EQ(s(0), "00");
    EXPECT_EQ(s(-1'500'000'000'000), "0-1.5");  // below 10, so a "0" in front
    EXPECT_EQ(s(60'000'000'000'010), "60.00000000001");
}

TEST(Clipping, LowerBoundFirst) {
    EXPECT_EQ(mod100(Int{-1}), 99);
    EXPECT_EQ(div100(Int{-1}), -1);
    EXPECT_EQ(div100(Int{199}), 1);
    EXPECT_EQ(mod100(Integer(-101)), Integer(99));
    EXPECT_EQ(div100(-Integer::pow10(30)), -Integer::pow10(28));
    EXPECT_EQ(clip(1, 12, Int{0}), 1);
    EXPECT_EQ(clip(1, 12, Int{13}), 12);
    EXPECT_EQ(clip(1, 12, Int{12}), 12);
    EXPECT_EQ(clip(10, 5, Int{3}), 10);  // lo > hi: below lo gives lo
    EXPECT_EQ(clip(10, 5, Int{12}), 5);
    EXPECT_EQ(clipValid(1, 12, Int{12}), std::optional<Int>(12));
    EXPECT_EQ(clipValid(1, 12, Int{0}), std::nullopt);
    EXPECT_EQ(clipValid(1, 12, Int{13}), std::nullopt);
    EXPECT_EQ(clipValid(Integer(1), Integer(2), Integer(2)), std::optional(Integer(2)));
}

TEST(DivisionBy, DivisorFirstTruncatedTowardsZero) {
    EXPECT_EQ(quotBy(Int{7}, Int{-10}), Integer(-1));
    EXPECT_EQ(remBy(Int{7}, Int{-10}), -3);
    EXPECT_EQ(quotBy<Int>(Rational(1), Rational(-1, 2)), 0);
    EXPECT_EQ(quotBy<Int>(Rational(1), Rational(29, 10)), 2);
    const auto qr = quotRemBy<Int>(Rational(5, 2), Rational(7));
    EXPECT_EQ(qr.first, 2);
    EXPECT_EQ(qr.second, Rational(2));
    // Lengths of time: 7 s by 2.5 s.
    const auto [q, r] = quotRemBy(DiffTime::fromPicoseconds(Integer(2'500'000'000'000)), DiffTime::fromSeconds(7));
    EXPECT_EQ(q, Integer(2));
    EXPECT_EQ(r, DiffTime::fromSeconds(2));
    try {
        (void)quotBy(Int{0}, Int{5});
        FAIL() << "no error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "Ratio has zero denominator");
    }
    EXPECT_THROW((void)remBy(Rational(0), Rational(1)), core::Error);
    EXPECT_THROW((void)quotRemBy(DiffTime(), DiffTime::fromSeconds(1)), core::Error);
}

RC_GTEST_PROP(DivisionBy, RemainderHasTheSignOfNAndIsSmallerThanD, (Int n, Int d)) {
    RC_PRE(d != 0 && n > INT64_MIN / 2 && n < INT64_MAX / 2 && d > INT64_MIN / 2 && d < INT64_MAX / 2);
    const auto [q, r] = quotRemBy<Int>(d, n);
    RC_ASSERT(q * d + r == n);
    RC_ASSERT(r == 0 || (r < 0) == (n < 0));
    RC_ASSERT((r < 0 ? -r : r) < (d < 0 ? -d : d));
    RC_ASSERT(remBy(d, n) == r);
}
