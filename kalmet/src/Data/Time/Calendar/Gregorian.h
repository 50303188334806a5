#pragma once
// The proleptic Gregorian calendar: dates as (year, month, day), month
// lengths, and adding months and years with clipping or roll-over.
//
//   auto d = kalmet::fromGregorian(2024, 2, 29);
//   auto [y, m, dd] = kalmet::toGregorian(d);          // 2024, 2, 29
//   kalmet::addGregorianYearsClip(1, d);               // 2025-02-28
//   kalmet::addGregorianYearsRollOver(1, d);           // 2025-03-01
#include <compare>
#include <optional>

#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/MonthDay.h"
#include "Data/Time/Calendar/OrdinalDate.h"

namespace kalmet {

// A date as its year, month of year and day of month. Ordered as dates.
struct YearMonthDay {
    Year year;
    MonthOfYear month;
    DayOfMonth day;
    friend bool operator==(const YearMonthDay&, const YearMonthDay&) = default;
    friend std::strong_ordering operator<=>(const YearMonthDay&, const YearMonthDay&) = default;
};

// The year, month and day of a day.
YearMonthDay toGregorian(const Day& day);

// The day of a year, month and day; the month is clipped to 1..12 and the
// day to 1..the month's length.
Day fromGregorian(const Year& year, MonthOfYear month, DayOfMonth day);

// The day of a year, month and day, or nothing when the month or day is out
// of range.
std::optional<Day> fromGregorianValid(const Year& year, MonthOfYear month, DayOfMonth day);

// The number of days in a month (clipped to 1..12) of a year.
DayOfMonth gregorianMonthLength(const Year& year, MonthOfYear month);

// Adds n months (n may be negative). "Clip" moves a day past the end of the
// resulting month back to its last day (Jan 31 + 1 month = Feb 28 or 29);
// "RollOver" carries the excess into the next month (Jan 31 + 1 month =
// Mar 3 or Mar 2).
Day addGregorianMonthsClip(const core::Integer& n, const Day& day);
Day addGregorianMonthsRollOver(const core::Integer& n, const Day& day);
// Adds n years, clipping or rolling over 29 February like the months above.
Day addGregorianYearsClip(const core::Integer& n, const Day& day);
Day addGregorianYearsRollOver(const core::Integer& n, const Day& day);

}  // namespace kalmet
