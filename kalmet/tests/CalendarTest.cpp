// Calendar values and conversions: known dates, clipping and validation,
// agreement with std::chrono within its range, and exactness for years far
// outside any machine range.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <chrono>
#include <string>

#include "Data/Time/Calendar.h"
#include "Data/Time/Calendar/Easter.h"
#include "Data/Time/Calendar/Julian.h"
#include "Data/Time/Calendar/WeekDate.h"

using namespace kalmet;
using core::Integer;

namespace {

Integer big(const char* digits) { return *Integer::fromString(digits); }

Day mjd(core::Int n) { return Day(Integer(n)); }

// A year anywhere from -10^30 to 10^30, with small years well represented.
rc::Gen<Year> genYear() {
    return rc::gen::oneOf(
        rc::gen::map(rc::gen::inRange<core::Int>(-3000, 3000), [](core::Int y) { return Year(y); }),
        rc::gen::map(rc::gen::pair(rc::gen::inRange(1, 31), rc::gen::arbitrary<bool>()),
                     [](std::pair<int, bool> p) {
                         std::string s = p.second ? "-" : "";
                         for (int i = 0; i < p.first; ++i) s += static_cast<char>('0' + (i * 7 + p.first * 3) % 10);
                         return *Integer::fromString(s);
                     }),
        rc::gen::map(rc::gen::pair(rc::gen::arbitrary<core::Int>(), rc::gen::arbitrary<core::Int>()),
                     [](std::pair<core::Int, core::Int> p) {
                         return Integer(p.first) * Integer(p.second) + Integer(p.second);
                     }));
}

// The std::chrono date of a day count since 1970-01-01 (MJD 40587).
std::chrono::year_month_day chronoDate(core::Int mjdNumber) {
    return std::chrono::year_month_day(std::chrono::sys_days(std::chrono::days(mjdNumber - 40587)));
}

}  // namespace

TEST(Days, KnownDayNumbers) {
    EXPECT_EQ(fromGregorian(1858, 11, 17), mjd(0));
    EXPECT_EQ(fromGregorian(2000, 1, 1), mjd(51544));
    EXPECT_EQ(fromGregorian(1970, 1, 1), mjd(40587));
    EXPECT_EQ(fromGregorian(1, 1, 1), mjd(-678575));
    EXPECT_EQ(fromGregorian(0, 12, 31), mjd(-678576));
    EXPECT_EQ(toGregorian(mjd(-678576)), (YearMonthDay{Year(0), 12, 31}));
    EXPECT_EQ(toGregorian(mjd(-678941)), (YearMonthDay{Year(0), 1, 1}));  // year 0 is a leap year
    EXPECT_EQ(toGregorian(mjd(-678942)), (YearMonthDay{Year(-1), 12, 31}));
    EXPECT_EQ(diffDays(fromGregorian(2000, 3, 1), fromGregorian(2000, 2, 28)), Integer(2));
    EXPECT_EQ(addDays(Integer(-1), fromGregorian(2000, 1, 1)), fromGregorian(1999, 12, 31));
    EXPECT_LT(fromGregorian(-1, 12, 31), fromGregorian(0, 1, 1));
}

TEST(Days, LeapYears) {
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_FALSE(isLeapYear(2023));
    EXPECT_TRUE(isLeapYear(0));
    EXPECT_TRUE(isLeapYear(-4));
    EXPECT_FALSE(isLeapYear(-100));
    EXPECT_TRUE(isLeapYear(-400));
    EXPECT_TRUE(isLeapYear(big("1000000000000000000000000000000")));
    EXPECT_FALSE(isLeapYear(big("1000000000000000000000000000100")));
    EXPECT_TRUE(isLeapYear(big("-1000000000000000000000000000004")));
    EXPECT_FALSE(isLeapYear(big("-1000000000000000000000000000001")));
}

TEST(Days, ClippingAndValidation) {
    EXPECT_EQ(fromGregorian(2001, 2, 29), fromGregorian(2001, 2, 28));
    EXPECT_EQ(fromGregorian(2000, 13, 1), fromGregorian(2000, 12, 1));
    EXPECT_EQ(fromGregorian(2000, 0, 0), fromGregorian(2000, 1, 1));
    EXPECT_EQ(fromGregorian(2000, 4, 31), fromGregorian(2000, 4, 30));
    EXPECT_FALSE(fromGregorianValid(2001, 2, 29));
    EXPECT_TRUE(fromGregorianValid(2000, 2, 29));
    EXPECT_FALSE(fromGregorianValid(2000, 13, 1));
    EXPECT_FALSE(fromGregorianValid(2000, 1, 0));
    EXPECT_FALSE(fromGregorianValid(2000, 6, 31));
    EXPECT_EQ(gregorianMonthLength(1900, 2), 28);
    EXPECT_EQ(gregorianMonthLength(2000, 2), 29);
    EXPECT_EQ(fromOrdinalDate(2001, 366), fromGregorian(2001, 12, 31));
    EXPECT_EQ(fromOrdinalDate(2001, -5), fromGregorian(2001, 1, 1));
    EXPECT_FALSE(fromOrdinalDateValid(2001, 366));
    EXPECT_TRUE(fromOrdinalDateValid(2000, 366));
    EXPECT_FALSE(fromOrdinalDateValid(2000, 0));
    EXPECT_EQ(monthAndDayToDayOfYear(true, 3, 1), 61);
    EXPECT_EQ(monthAndDayToDayOfYear(false, 3, 1), 60);
    EXPECT_FALSE(monthAndDayToDayOfYearValid(false, 2, 29));
    EXPECT_EQ(monthAndDayToDayOfYearValid(true, 2, 29), 60);
    EXPECT_FALSE(monthAndDayToDayOfYearValid(true, 0, 1));
}

TEST(Days, DayOfYearAndMonthDayAgree) {
    for (bool leap : {false, true}) {
        const int days = leap ? 366 : 365;
        for (int yd = 1; yd <= days; ++yd) {
            const MonthAndDay md = dayOfYearToMonthAndDay(leap, yd);
            ASSERT_EQ(monthAndDayToDayOfYearValid(leap, md.month, md.day), yd) << yd;
        }
        EXPECT_EQ(dayOfYearToMonthAndDay(leap, 0), (MonthAndDay{1, 1}));
        EXPECT_EQ(dayOfYearToMonthAndDay(leap, 400), (MonthAndDay{12, 31}));
    }
}

RC_GTEST_PROP(Days, GregorianAgreesWithChrono, ()) {
    // std::chrono covers years -32767..32767.
    const auto n = *rc::gen::inRange<core::Int>(-12000000, 11000000);
    const auto c = chronoDate(n);
    const YearMonthDay g = toGregorian(mjd(n));
    RC_ASSERT(g.year == Year(static_cast<int>(c.year())));
    RC_ASSERT(g.month == static_cast<core::Int>(static_cast<unsigned>(c.month())));
    RC_ASSERT(g.day == static_cast<core::Int>(static_cast<unsigned>(c.day())));
    RC_ASSERT(fromGregorian(g.year, g.month, g.day) == mjd(n));
    const auto weekday = std::chrono::weekday(std::chrono::sys_days(std::chrono::days(n - 40587)));
    RC_ASSERT(fromDayOfWeek(dayOfWeek(mjd(n))) == static_cast<core::Int>(weekday.iso_encoding()));
    const auto m = *rc::gen::inRange<core::Int>(-12000000, 11000000);
    const auto chronoDiff = (std::chrono::sys_days(chronoDate(n)) - std::chrono::sys_days(chronoDate(m))).count();
    RC_ASSERT(diffDays(mjd(n), mjd(m)) == Integer(chronoDiff));
}

// The machine-integer conversion of a day agrees with the unbounded one
// (through ordinal dates) up to its bound and at the dates around 1 March,
// where its counting year starts.
TEST(Days, MachineAndUnboundedGregorianAgree) {
    const auto agree = [](core::Int n) {
        const detail::SmallYearMonthDay s = detail::gregorianOfSmallDay(n);
        return detail::toGregorianBig(mjd(n)) == (YearMonthDay{Year(s.year), s.month, s.day});
    };
    const core::Int bound = detail::smallDayBound;
    for (core::Int n : {-bound + 1, bound - 1, core::Int{0}, core::Int{-678575}, core::Int{-678576}}) {
        for (core::Int k = -800; k <= 800; ++k)
            if (n + k > -bound && n + k < bound) {
                EXPECT_TRUE(agree(n + k)) << n + k;
            }
    }
    // Every day of two 400-year cycles around year 0.
    for (core::Int n = -678576 - 146097; n < -678576 + 146097; ++n) ASSERT_TRUE(agree(n)) << n;
    EXPECT_EQ(toGregorian(mjd(bound - 1)), detail::toGregorianBig(mjd(bound - 1)));
    EXPECT_EQ(toGregorian(mjd(bound)), detail::toGregorianBig(mjd(bound)));
}

RC_GTEST_PROP(Days, GregorianRoundTripsForAnyYear, ()) {
    const Year y = *genYear();
    const auto m = *rc::gen::inRange<core::Int>(1, 13);
    const auto d = *rc::gen::inRange<core::Int>(1, 32);
    const Day day = fromGregorian(y, m, d);
    const YearMonthDay g = toGregorian(day);
    const core::Int len = gregorianMonthLength(y, m);
    RC_ASSERT(g == (YearMonthDay{y, m, d <= len ? d : len}));
    RC_ASSERT(fromGregorianValid(y, m, d).has_value() == (d <= len));
    // 400 years later is 146097 days later; the next day is one day later.
    RC_ASSERT(diffDays(fromGregorian(y + Integer(400), m, d), day) == Integer(146097));
    const OrdinalDate o = toOrdinalDate(day);
    RC_ASSERT(o.year == y);
    RC_ASSERT(fromOrdinalDate(o.year, o.dayOfYear) == day);
    const Day next = addDays(Integer(1), day);
    RC_ASSERT(toOrdinalDate(next).dayOfYear == (o.dayOfYear == (isLeapYear(y) ? 366 : 365) ? 1 : o.dayOfYear + 1));
    RC_ASSERT(dayOfWeekDiff(dayOfWeek(next), dayOfWeek(day)) == 1);
}

TEST(Months, AddingMonthsAndYears) {
    const Day jan31 = fromGregorian(2001, 1, 31);
    EXPECT_EQ(addGregorianMonthsClip(1, jan31), fromGregorian(2001, 2, 28));
    EXPECT_EQ(addGregorianMonthsRollOver(1, jan31), fromGregorian(2001, 3, 3));
    EXPECT_EQ(addGregorianMonthsClip(-2, jan31), fromGregorian(2000, 11, 30));
    EXPECT_EQ(addGregorianMonthsClip(-13, jan31), fromGregorian(1999, 12, 31));
    EXPECT_EQ(addGregorianMonthsRollOver(13, fromGregorian(2000, 1, 31)), fromGregorian(2001, 3, 3));
    const Day leapDay = fromGregorian(2000, 2, 29);
    EXPECT_EQ(addGregorianYearsClip(1, leapDay), fromGregorian(2001, 2, 28));
    EXPECT_EQ(addGregorianYearsRollOver(1, leapDay), fromGregorian(2001, 3, 1));
    EXPECT_EQ(addGregorianYearsClip(4, leapDay), fromGregorian(2004, 2, 29));
    const Integer n = big("1000000000000000000000000");
    EXPECT_EQ(toGregorian(addGregorianYearsClip(n, leapDay)), (YearMonthDay{n + Integer(2000), 2, 29}));
    EXPECT_EQ(toGregorian(addGregorianMonthsClip(n * Integer(12) + Integer(1), jan31)),
              (YearMonthDay{n + Integer(2001), 2, 28}));
}

TEST(Months, YearMonthAndMonthDay) {
    const Month m = YearMonth(2024, 2);
    EXPECT_EQ(m.count(), Integer(2024 * 12 + 1));
    auto [y, moy] = YearMonth(m);
    EXPECT_EQ(y, Year(2024));
    EXPECT_EQ(moy, 2);
    EXPECT_EQ(YearMonth(Month(YearMonth(-1, 12))), YearMonth(-1, 12));
    EXPECT_EQ(Month(YearMonth(-1, 12)).count(), Integer(-1));
    EXPECT_EQ(Month(YearMonth(2000, 13)), Month(YearMonth(2000, 12)));  // clipped
    EXPECT_EQ(addMonths(1, Month(YearMonth(1999, 12))), Month(YearMonth(2000, 1)));
    EXPECT_EQ(diffMonths(Month(YearMonth(2000, 1)), Month(YearMonth(1999, 1))), Integer(12));

    const Day d = MonthDay(m, 29);
    EXPECT_EQ(d, fromGregorian(2024, 2, 29));
    EXPECT_EQ(MonthDay(d), MonthDay(m, 29));
    EXPECT_EQ(Day(MonthDay(Month(YearMonth(2023, 2)), 31)), fromGregorian(2023, 2, 28));
    const Year huge = big("-123456789012345678901234567890");
    EXPECT_EQ(YearMonth(Month(YearMonth(huge, 7))), YearMonth(huge, 7));
    EXPECT_EQ(MonthDay(Day(MonthDay(Month(YearMonth(huge, 2)), 29))).day, isLeapYear(huge) ? 29 : 28);
}

TEST(Quarters, YearQuarter) {
    const Quarter q = YearQuarter(2000, Q2);
    EXPECT_EQ(q.count(), Integer(8001));
    EXPECT_EQ(YearQuarter(q), YearQuarter(2000, Q2));
    EXPECT_EQ(YearQuarter(Quarter(YearQuarter(-1, Q4))), YearQuarter(-1, Q4));
    EXPECT_EQ(Quarter(YearQuarter(-1, Q4)).count(), Integer(-1));
    EXPECT_LT(Q1, Q4);
    EXPECT_EQ(monthOfYearQuarter(3), Q1);
    EXPECT_EQ(monthOfYearQuarter(4), Q2);
    EXPECT_EQ(monthOfYearQuarter(12), Q4);
    EXPECT_EQ(dayQuarter(fromGregorian(2000, 8, 15)), Quarter(YearQuarter(2000, Q3)));
    EXPECT_EQ(addQuarters(1, Quarter(YearQuarter(1999, Q4))), Quarter(YearQuarter(2000, Q1)));
    EXPECT_EQ(diffQuarters(Quarter(YearQuarter(2001, Q1)), Quarter(YearQuarter(2000, Q1))), Integer(4));
    const Year huge = big("98765432109876543210987654321");
    EXPECT_EQ(YearQuarter(Quarter(YearQuarter(-huge, Q3))), YearQuarter(-huge, Q3));
}

TEST(WeekDates, KnownWeekDates) {
    EXPECT_EQ(toWeekDate(fromGregorian(2005, 1, 1)), (WeekDate{Year(2004), 53, 6}));
    EXPECT_EQ(toWeekDate(fromGregorian(2008, 12, 29)), (WeekDate{Year(2009), 1, 1}));
    EXPECT_EQ(toWeekDate(fromGregorian(2010, 1, 3)), (WeekDate{Year(2009), 53, 7}));
    EXPECT_EQ(toWeekDate(fromGregorian(2024, 6, 15)), (WeekDate{Year(2024), 24, 6}));
    EXPECT_EQ(isoWeeksInYear(2009), 53);
    EXPECT_EQ(isoWeeksInYear(2010), 52);
    EXPECT_EQ(isoWeeksInYear(2020), 53);  // leap year starting on a Wednesday
    EXPECT_TRUE(fromWeekDateValid(2009, 53, 1));
    EXPECT_FALSE(fromWeekDateValid(2010, 53, 1));
    EXPECT_FALSE(fromWeekDateValid(2010, 1, 8));
    EXPECT_FALSE(fromWeekDateValid(2010, 0, 1));
    EXPECT_EQ(fromWeekDate(2010, 53, 9), fromWeekDate(2010, 52, 7));
    EXPECT_EQ(dayOfWeek(fromGregorian(2000, 1, 1)), Saturday);
    EXPECT_EQ(firstDayOfWeekOnAfter(Monday, fromGregorian(2000, 1, 1)), fromGregorian(2000, 1, 3));
    EXPECT_EQ(firstDayOfWeekOnAfter(Saturday, fromGregorian(2000, 1, 1)), fromGregorian(2000, 1, 1));
    EXPECT_EQ(toDayOfWeek(0), Sunday);
    EXPECT_EQ(toDayOfWeek(-6), Monday);
}

RC_GTEST_PROP(WeekDates, RoundTripForAnyYear, ()) {
    const Day day = fromGregorian(*genYear(), *rc::gen::inRange<core::Int>(1, 13), *rc::gen::inRange<core::Int>(1, 29));
    const WeekDate w = toWeekDate(day);
    RC_ASSERT(w.week >= 1 && w.week <= isoWeeksInYear(w.year));
    RC_ASSERT(w.dayOfWeek == fromDayOfWeek(dayOfWeek(day)));
    RC_ASSERT(fromWeekDate(w.year, w.week, w.dayOfWeek) == day);
    RC_ASSERT(fromWeekDateValid(w.year, w.week, w.dayOfWeek) == std::optional<Day>(day));
}

TEST(Julian, KnownDates) {
    EXPECT_EQ(fromJulian(1582, 10, 5), fromGregorian(1582, 10, 15));
    EXPECT_EQ(fromJulian(1858, 11, 5), mjd(0));
    EXPECT_EQ(toJulian(fromGregorian(2000, 1, 1)), (YearMonthDay{Year(1999), 12, 19}));
    EXPECT_EQ(toJulian(fromGregorian(0, 12, 30)), (YearMonthDay{Year(1), 1, 1}));  // two days apart before 100
    EXPECT_TRUE(fromJulianValid(1900, 2, 29));
    EXPECT_FALSE(fromGregorianValid(1900, 2, 29));
    EXPECT_FALSE(fromJulianValid(1901, 2, 29));
    EXPECT_EQ(julianMonthLength(1900, 2), 29);
    EXPECT_TRUE(isJulianLeapYear(-4));
    EXPECT_FALSE(isJulianLeapYear(big("100000000000000000000001")));
    EXPECT_EQ(fromJulianYearAndDay(1901, 366), fromJulianYearAndDay(1901, 365));
    EXPECT_FALSE(fromJulianYearAndDayValid(1901, 366));
}

RC_GTEST_PROP(Julian, RoundTripForAnyYear, ()) {
    const Year y = *genYear();
    const auto m = *rc::gen::inRange<core::Int>(1, 13);
    const auto d = *rc::gen::inRange<core::Int>(1, 30);
    const Day day = fromJulian(y, m, d);
    const core::Int len = julianMonthLength(y, m);
    RC_ASSERT(toJulian(day) == (YearMonthDay{y, m, d <= len ? d : len}));
    RC_ASSERT(diffDays(fromJulian(y + Integer(4), m, d <= 28 ? d : 28), fromJulian(y, m, d <= 28 ? d : 28)) ==
              Integer(1461));
}

TEST(Easter, KnownDates) {
    EXPECT_EQ(gregorianEaster(2024), fromGregorian(2024, 3, 31));
    EXPECT_EQ(gregorianEaster(2025), fromGregorian(2025, 4, 20));
    EXPECT_EQ(gregorianEaster(2000), fromGregorian(2000, 4, 23));
    EXPECT_EQ(gregorianEaster(1818), fromGregorian(1818, 3, 22));
    EXPECT_EQ(gregorianEaster(2038), fromGregorian(2038, 4, 25));
    EXPECT_EQ(orthodoxEaster(2024), fromGregorian(2024, 5, 5));
    EXPECT_EQ(orthodoxEaster(2025), fromGregorian(2025, 4, 20));
    EXPECT_EQ(orthodoxEaster(2000), fromGregorian(2000, 4, 30));
    EXPECT_EQ(sundayAfter(fromGregorian(2024, 3, 31)), fromGregorian(2024, 4, 7));
    EXPECT_EQ(sundayAfter(fromGregorian(2024, 3, 30)), fromGregorian(2024, 3, 31));
}

RC_GTEST_PROP(Easter, IsASundayInSpringForAnyYear, ()) {
    const Year y = *genYear();
    const Day g = gregorianEaster(y);
    RC_ASSERT(dayOfWeek(g) == Sunday);
    const YearMonthDay gd = toGregorian(g);
    RC_ASSERT(gd.year == y);
    RC_ASSERT((gd.month == 3 && gd.day >= 22) || (gd.month == 4 && gd.day <= 25));
    const Day o = orthodoxEaster(y);
    RC_ASSERT(dayOfWeek(o) == Sunday);
    const YearMonthDay od = toJulian(o);
    RC_ASSERT(od.year == y);
    RC_ASSERT((od.month == 3 && od.day >= 22) || (od.month == 4 && od.day <= 25));
}

TEST(Days, MachineAndUnboundedArithmeticMeetSeamlessly) {
    // Years and day numbers on both sides of the bounds where the
    // calculations switch from machine integers to Integer.
    for (const char* y : {"999999999999998", "999999999999999", "1000000000000000", "1000000000000001",
                          "-999999999999999", "-1000000000000000", "-1000000000000001", "9223372036854775807",
                          "9223372036854775808", "-9223372036854775808", "-9223372036854775809"}) {
        const Year year = big(y);
        for (core::Int m : {1, 2, 12}) {
            const Day first = fromGregorian(year, m, 1);
            EXPECT_EQ(toGregorian(first), (YearMonthDay{year, m, 1})) << y;
            EXPECT_EQ(toGregorian(addDays(Integer(-1), first)).day, m == 1 ? 31 : gregorianMonthLength(year, m - 1)) << y;
            EXPECT_EQ(toJulian(fromJulian(year, m, 1)), (YearMonthDay{year, m, 1})) << y;
        }
        const Day next = fromGregorian(year + Integer(1), 1, 1);
        EXPECT_EQ(diffDays(next, fromGregorian(year, 1, 1)), Integer(isLeapYear(year) ? 366 : 365)) << y;
    }
    for (const char* d : {"99999999999999999", "100000000000000000", "-99999999999999999", "-100000000000000000"}) {
        const Day day(big(d));
        const OrdinalDate o = toOrdinalDate(day);
        EXPECT_EQ(fromOrdinalDate(o.year, o.dayOfYear), day) << d;
        EXPECT_EQ(diffDays(addDays(Integer(1), day), day), Integer(1));
        const OrdinalDate j = toJulianYearAndDay(day);
        EXPECT_EQ(fromJulianYearAndDay(j.year, j.dayOfYear), day) << d;
    }
}
