// Conversions to and from std::chrono: exact round trips across +-10^4
// years, agreement with std::chrono's own calendar, values out of range or
// resolution reported as nothing, and the checked constructors.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <chrono>

#include "Data/Time.h"
#include "Data/Time/Chrono.h"

using namespace kalmet;
using namespace std::chrono;
using core::Int;
using core::Integer;

namespace {
constexpr Int second = 1'000'000'000'000;
constexpr Int dayPs = 86400 * second;

// Days from year -10000 to 10000 (Modified Julian Days).
rc::Gen<Day> anyDay() {
    return rc::gen::map(rc::gen::inRange<Int>(-4'331'000, 3'334'000), [](Int n) { return Day(Integer(n)); });
}
}  // namespace

RC_GTEST_PROP(Chrono, DaysAgreeWithTheStandardCalendar, ()) {
    const Day d = *anyDay();
    const auto sd = dayToSysDays(d);
    RC_ASSERT(sd.has_value());
    RC_ASSERT(sysDaysToDay(*sd) == d);
    const YearMonthDay g = toGregorian(d);
    const year_month_day ymd{sys_days(*sd)};
    RC_ASSERT(static_cast<int>(ymd.year()) == static_cast<int>(g.year.unsafeInt()));
    RC_ASSERT(static_cast<unsigned>(ymd.month()) == static_cast<unsigned>(g.month));
    RC_ASSERT(static_cast<unsigned>(ymd.day()) == static_cast<unsigned>(g.day));
    RC_ASSERT(dayToYearMonthDay(d) == std::optional(ymd));
    RC_ASSERT(yearMonthDayToDay(ymd) == std::optional(d));
}

RC_GTEST_PROP(Chrono, InstantsRoundTripExactly, ()) {
    const Day d = *anyDay();
    const Int us = *rc::gen::inRange<Int>(0, 86400'000'000);
    const UTCTime t{d, DiffTime::fromPicoseconds(Integer(us * 1'000'000))};
    const auto micro = utcTimeToSysTime<microseconds>(t);
    RC_ASSERT(micro.has_value());
    RC_ASSERT(sysTimeToUTCTime(*micro) == t);
    // Seconds hold it only when it is a whole second; Floor rounds down.
    const auto secs = utcTimeToSysTime<seconds>(t);
    RC_ASSERT(secs.has_value() == (us % 1'000'000 == 0));
    const auto floored = utcTimeToSysTimeFloor<seconds>(t);
    RC_ASSERT(floored == std::optional(floor<seconds>(*micro)));
    const LocalTime l = utcToLocalTime(utcTimeZone, t);
    const auto lp = localTimeToLocalTimePoint<microseconds>(l);
    RC_ASSERT(lp.has_value() && lp->time_since_epoch() == micro->time_since_epoch());
    RC_ASSERT(localTimePointToLocalTime(*lp) == l);
    const auto len = toChronoDuration<microseconds>(diffUTCTime(t, UTCTime{systemEpochDay(), DiffTime()}));
    RC_ASSERT(len == std::optional(micro->time_since_epoch()));
    RC_ASSERT(durationToNominalDiffTime(*len) == diffUTCTime(t, UTCTime{systemEpochDay(), DiffTime()}));
}

TEST(Chrono, OutOfRangeOrResolutionIsReported) {
    const UTCTime epoch{systemEpochDay(), DiffTime()};
    EXPECT_EQ(utcTimeToSysTime<nanoseconds>(epoch), std::optional(sys_time<nanoseconds>(nanoseconds(0))));
    // 1 ps after the epoch: not a whole nanosecond.
    const UTCTime onePs{systemEpochDay(), DiffTime::fromPicoseconds(Integer(1))};
    EXPECT_EQ(utcTimeToSysTime<nanoseconds>(onePs), std::nullopt);
    EXPECT_EQ(utcTimeToSysTimeFloor<nanoseconds>(onePs), std::optional(sys_time<nanoseconds>(nanoseconds(0))));
    // Half a millisecond before the epoch rounds down to -1 ms.
    const UTCTime before = addUTCTime(NominalDiffTime::fromPicoseconds(Integer(-500'000'000)), epoch);
    EXPECT_EQ(utcTimeToSysTimeFloor<milliseconds>(before), std::optional(sys_time<milliseconds>(milliseconds(-1))));
    // Nanoseconds in 64 bits end in 2262; the year 3000 is beyond them.
    const UTCTime y3000{fromGregorian(3000, 1, 1), DiffTime()};
    EXPECT_EQ(utcTimeToSysTime<nanoseconds>(y3000), std::nullopt);
    EXPECT_EQ(utcTimeToSysTimeFloor<nanoseconds>(y3000), std::nullopt);
    EXPECT_TRUE(utcTimeToSysTime<seconds>(y3000));
    // A 32-bit count of seconds ends in 2038.
    EXPECT_EQ(utcTimeToSysTime<duration<std::int32_t>>(UTCTime{fromGregorian(2038, 1, 20), DiffTime()}), std::nullopt);
    EXPECT_TRUE(utcTimeToSysTime<duration<std::int32_t>>(UTCTime{fromGregorian(2038, 1, 19), DiffTime()}));
    EXPECT_EQ(utcTimeToSysTime<seconds>(UTCTime{Day(Integer::pow10(20)), DiffTime()}), std::nullopt);
    // A leap second has no sys_time; Floor counts it as the next midnight.
    const Day leapDay = fromGregorian(2016, 12, 31);
    const UTCTime leap{leapDay, DiffTime::fromPicoseconds(Integer(dayPs + second / 2))};
    EXPECT_EQ(utcTimeToSysTime<milliseconds>(leap), std::nullopt);
    EXPECT_EQ(utcTimeToSysTimeFloor<seconds>(leap), std::optional(sys_time<seconds>(sys_days(2017y / January / 1))));
    EXPECT_EQ(localTimeToLocalTimePoint<seconds>(LocalTime{leapDay, TimeOfDay{23, 59, Pico::fromSeconds(60)}}),
              std::nullopt);
    // Days and calendar dates beyond their types.
    EXPECT_EQ(dayToSysDays(Day(Integer::pow10(30))), std::nullopt);
    EXPECT_EQ(dayToYearMonthDay(fromGregorian(32768, 1, 1)), std::nullopt);
    EXPECT_EQ(dayToYearMonthDay(fromGregorian(-32768, 12, 31)), std::nullopt);
    EXPECT_TRUE(dayToYearMonthDay(fromGregorian(32767, 12, 31)));
    EXPECT_EQ(yearMonthDayToDay(2023y / February / 29), std::nullopt);
    EXPECT_EQ(yearMonthDayToDay(2024y / February / 29), std::optional(fromGregorian(2024, 2, 29)));
    // Lengths of time.
    EXPECT_EQ(toChronoDuration<milliseconds>(DiffTime::fromPicoseconds(Integer(1'500'000'000'000))),
              std::optional(milliseconds(1500)));
    EXPECT_EQ(toChronoDuration<seconds>(DiffTime::fromPicoseconds(Integer(1'500'000'000'000))), std::nullopt);
    EXPECT_EQ(toChronoDurationFloor<seconds>(DiffTime::fromPicoseconds(Integer(-1'500'000'000'000))),
              std::optional(seconds(-2)));
    EXPECT_EQ(toChronoDuration<hours>(DiffTime::fromSeconds(7200)), std::optional(hours(2)));
    EXPECT_EQ(toChronoDuration<nanoseconds>(DiffTime::fromSeconds(Integer::pow10(12))), std::nullopt);
    EXPECT_EQ(durationToDiffTime(duration<Int, std::pico>(7)), DiffTime::fromPicoseconds(Integer(7)));
    EXPECT_EQ(durationToDiffTime(years(1)), DiffTime::fromSeconds(31556952));
    EXPECT_EQ(durationToDiffTime(duration<Int, std::ratio<1, 4>>(-3)), DiffTime::fromPicoseconds(Integer(-750'000'000'000)));
}

TEST(CheckedConstructors, NothingWhereTheConstructorWouldClip) {
    EXPECT_EQ(fromYearMonthValid(2024, 2), std::optional(fromYearMonth(2024, 2)));
    EXPECT_EQ(fromYearMonthValid(2024, 0), std::nullopt);
    EXPECT_EQ(fromYearMonthValid(2024, 13), std::nullopt);
    EXPECT_EQ(fromMonthDayValid(fromYearMonth(2024, 2), 29), std::optional(fromGregorian(2024, 2, 29)));
    EXPECT_EQ(fromMonthDayValid(fromYearMonth(2023, 2), 29), std::nullopt);
    EXPECT_EQ(fromMonthDayValid(fromYearMonth(2023, 2), 0), std::nullopt);
    EXPECT_EQ(toQuarterOfYearValid(1), std::optional(Q1));
    EXPECT_EQ(toQuarterOfYearValid(4), std::optional(Q4));
    EXPECT_EQ(toQuarterOfYearValid(0), std::nullopt);
    EXPECT_EQ(toQuarterOfYearValid(5), std::nullopt);
    EXPECT_EQ(fromYearQuarterValid(-1, Q4), std::optional(fromYearQuarter(-1, Q4)));
    EXPECT_EQ(fromYearQuarterValid(-1, static_cast<QuarterOfYear>(7)), std::nullopt);
    EXPECT_EQ(fromYearQuarterValid(2000, Int{3}), std::optional(fromYearQuarter(2000, Q3)));
    EXPECT_EQ(fromYearQuarterValid(2000, Int{0}), std::nullopt);
}
