#pragma once
// Ordinal dates: a year and a day of that year, and the Gregorian leap-year
// rule.
#include <optional>

#include "Data/Time/Calendar/Days.h"

namespace kalmet {

namespace detail {
constexpr bool isLeapYearInt(core::Int y) noexcept {
    return (y % 4 == 0) && (y % 100 != 0 || y % 400 == 0);
}
bool isLeapYearBig(const Year& y);
// Day number of an ordinal date of a year below smallYearBound; dayOfYear
// already within the year.
constexpr core::Int ordinalToMjd(core::Int year, core::Int dayOfYear) noexcept {
    const core::Int y = year - 1;
    return dayOfYear + 365 * y + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400) - 678576;
}
Day fromOrdinalDateBig(const Year& year, DayOfYear dayOfYear);
}  // namespace detail

// True when the year is a leap year of the proleptic Gregorian calendar:
// divisible by 4, and not by 100 unless also by 400.
inline bool isLeapYear(const Year& year) {
    if (year.isSmall()) return detail::isLeapYearInt(year.unsafeInt());
    return detail::isLeapYearBig(year);
}

// A year and a day of that year.
struct OrdinalDate {
    Year year;
    DayOfYear dayOfYear;
    friend bool operator==(const OrdinalDate&, const OrdinalDate&) = default;
};

// The year and day of year of a day.
OrdinalDate toOrdinalDate(const Day& day);

// The day of an ordinal date; the day of year is clipped to 1..365 (366 in a
// leap year).
inline Day fromOrdinalDate(const Year& year, DayOfYear dayOfYear) {
    const core::Int yd = detail::clip(1, isLeapYear(year) ? 366 : 365, dayOfYear);
    if (detail::isSmallYear(year)) return Day(detail::ordinalToMjd(year.unsafeInt(), yd));
    return detail::fromOrdinalDateBig(year, yd);
}

// The day of an ordinal date, or nothing when the day of year is outside
// the year.
inline std::optional<Day> fromOrdinalDateValid(const Year& year, DayOfYear dayOfYear) {
    if (dayOfYear < 1 || dayOfYear > (isLeapYear(year) ? 366 : 365)) return std::nullopt;
    if (detail::isSmallYear(year)) return Day(detail::ordinalToMjd(year.unsafeInt(), dayOfYear));
    return detail::fromOrdinalDateBig(year, dayOfYear);
}

}  // namespace kalmet
