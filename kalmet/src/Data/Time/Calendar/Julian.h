#pragma once
// The proleptic Julian calendar: every fourth year is a leap year, with no
// century rule. Dates convert to and from the same Day values as the
// Gregorian calendar (1582-10-15 Gregorian is 1582-10-05 Julian).
#include <optional>

#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Gregorian.h"
#include "Data/Time/Calendar/OrdinalDate.h"

namespace kalmet {

// True when the year is a Julian leap year (divisible by 4).
bool isJulianLeapYear(const Year& year);

// The Julian year and day of year of a day.
OrdinalDate toJulianYearAndDay(const Day& day);
// The day of a Julian year and day of year, clipped to 1..365 (366).
Day fromJulianYearAndDay(const Year& year, DayOfYear dayOfYear);
// As fromJulianYearAndDay, or nothing when the day of year is out of range.
std::optional<Day> fromJulianYearAndDayValid(const Year& year, DayOfYear dayOfYear);

// The Julian year, month and day of a day.
YearMonthDay toJulian(const Day& day);
// The day of a Julian date; month clipped to 1..12, day to the month.
Day fromJulian(const Year& year, MonthOfYear month, DayOfMonth day);
// The day of a Julian date, or nothing when the month or day is out of range.
std::optional<Day> fromJulianValid(const Year& year, MonthOfYear month, DayOfMonth day);
// The number of days in a month (clipped to 1..12) of a Julian year.
DayOfMonth julianMonthLength(const Year& year, MonthOfYear month);

}  // namespace kalmet
