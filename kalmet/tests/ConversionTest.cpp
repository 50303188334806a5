// Month, day and quarter conversions to and from plain pairs: the values
// of the constructors they stand for, their clipping of out-of-range parts,
// and round trips over years beyond 64 bits.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>

#include "Data/Time/Calendar.h"

using namespace kalmet;
using core::Integer;

namespace {

Year bigYear(const std::string& digits) { return *Integer::fromString(digits); }

// Years from -10^30 to 10^30, most of them small.
rc::Gen<Year> years() {
    return rc::gen::oneOf(rc::gen::map(rc::gen::inRange<core::Int>(-5000, 5000), [](core::Int y) { return Year(y); }),
                          rc::gen::map(rc::gen::container<std::string>(30, rc::gen::inRange<char>('0', ':')),
                                       [](std::string s) { return bigYear(s); }),
                          rc::gen::map(rc::gen::container<std::string>(30, rc::gen::inRange<char>('0', ':')),
                                       [](std::string s) { return -bigYear(s); }));
}

}  // namespace

TEST(MonthConversions, TakeApartWhatTheyBuild) {
    EXPECT_EQ(toYearMonth(fromYearMonth(2024, 2)), std::make_pair(Year(2024), MonthOfYear(2)));
    EXPECT_EQ(fromYearMonth(2024, 2), Month(YearMonth(2024, 2)));
    EXPECT_EQ(toYearMonth(fromYearMonth(0, 1)), std::make_pair(Year(0), MonthOfYear(1)));
    EXPECT_EQ(toYearMonth(fromYearMonth(-1, 12)), std::make_pair(Year(-1), MonthOfYear(12)));
    // Consecutive months across the start of year 0.
    EXPECT_EQ(addMonths(1, fromYearMonth(-1, 12)), fromYearMonth(0, 1));

    EXPECT_EQ(toMonthDay(fromGregorian(2024, 2, 29)), std::make_pair(fromYearMonth(2024, 2), DayOfMonth(29)));
    EXPECT_EQ(fromMonthDay(fromYearMonth(2024, 2), 29), fromGregorian(2024, 2, 29));
    EXPECT_EQ(toMonthDay(fromGregorian(-1, 12, 31)), std::make_pair(fromYearMonth(-1, 12), DayOfMonth(31)));
}

TEST(MonthConversions, OutOfRangePartsAreClipped) {
    EXPECT_EQ(fromYearMonth(2000, 13), fromYearMonth(2000, 12));
    EXPECT_EQ(fromYearMonth(2000, 0), fromYearMonth(2000, 1));
    EXPECT_EQ(fromYearMonth(2000, -40), fromYearMonth(2000, 1));
    EXPECT_EQ(fromMonthDay(fromYearMonth(2023, 2), 29), fromGregorian(2023, 2, 28));
    EXPECT_EQ(fromMonthDay(fromYearMonth(2024, 2), 30), fromGregorian(2024, 2, 29));
    EXPECT_EQ(fromMonthDay(fromYearMonth(2024, 4), 0), fromGregorian(2024, 4, 1));
    EXPECT_EQ(fromMonthDay(fromYearMonth(2024, 4), 31), fromGregorian(2024, 4, 30));
}

TEST(QuarterConversions, TakeApartWhatTheyBuild) {
    EXPECT_EQ(toYearQuarter(fromYearQuarter(-1, Q4)), std::make_pair(Year(-1), Q4));
    EXPECT_EQ(toYearQuarter(fromYearQuarter(2021, Q3)), std::make_pair(Year(2021), Q3));
    EXPECT_EQ(fromYearQuarter(2000, Q2), Quarter(YearQuarter(2000, Q2)));
    EXPECT_EQ(addQuarters(1, fromYearQuarter(-1, Q4)), fromYearQuarter(0, Q1));
    // A quarter number outside 1..4 is clipped as YearQuarter clips it.
    EXPECT_EQ(fromYearQuarter(2000, static_cast<QuarterOfYear>(0)), fromYearQuarter(2000, Q1));
    EXPECT_EQ(fromYearQuarter(2000, static_cast<QuarterOfYear>(9)), fromYearQuarter(2000, Q4));
}

RC_GTEST_PROP(MonthConversions, RoundTripForEveryYear, ()) {
    const Year y = *years();
    const MonthOfYear m = *rc::gen::inRange<MonthOfYear>(1, 13);
    RC_ASSERT(toYearMonth(fromYearMonth(y, m)) == std::make_pair(y, m));
    const Month month = fromYearMonth(y, m);
    const DayOfMonth d = *rc::gen::inRange<DayOfMonth>(1, gregorianMonthLength(y, m) + 1);
    const Day day = fromMonthDay(month, d);
    RC_ASSERT(day == fromGregorian(y, m, d));
    RC_ASSERT(toMonthDay(day) == std::make_pair(month, d));
}

RC_GTEST_PROP(QuarterConversions, RoundTripForEveryYear, ()) {
    const Year y = *years();
    const auto q = static_cast<QuarterOfYear>(*rc::gen::inRange(1, 5));
    RC_ASSERT(toYearQuarter(fromYearQuarter(y, q)) == std::make_pair(y, q));
    // The quarter of any month of it is the quarter itself.
    const MonthOfYear m = 3 * (fromQuarterOfYear(q) - 1) + *rc::gen::inRange<MonthOfYear>(1, 4);
    RC_ASSERT(monthQuarter(fromYearMonth(y, m)) == fromYearQuarter(y, q));
}
