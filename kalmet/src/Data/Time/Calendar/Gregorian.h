#pragma once
// The proleptic Gregorian calendar: dates as (year, month, day), month
// lengths, and adding months and years with clipping or roll-over.
//
//   auto d = kalmet::fromGregorian(2024, 2, 29);
//   auto [y, m, dd] = kalmet::toGregorian(d);          // 2024, 2, 29
//   kalmet::addGregorianYearsClip(1, d);               // 2025-02-28
//   kalmet::addGregorianYearsRollOver(1, d);           // 2025-03-01
#include <compare>
#include <cstdint>
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

namespace detail {

// Year, month and day of a Modified Julian Day number of magnitude below
// smallDayBound, with machine integers. Counts days from 0000-03-01, so
// that the leap day ends the counted year, shifted by whole 400-year cycles
// of 146097 days so that the count is never negative. The century, the
// year within it, and the month and day within the year each come from one
// multiplication and shift (Euclidean affine forms of the calendar);
// only the century step needs 64 bits.
struct SmallYearMonthDay {
    core::Int year;
    MonthOfYear month;
    DayOfMonth day;
};
[[gnu::always_inline]] constexpr SmallYearMonthDay gregorianOfSmallDay(core::Int mjd) noexcept {
    constexpr std::uint64_t cycles = 1'000'000'000'000;  // 146097 * cycles > smallDayBound
    const std::uint64_t n = static_cast<std::uint64_t>(mjd + 678881) + cycles * 146097;
    // Century (of 36524 or 36525 days) and day within it.
    const std::uint64_t n1 = 4 * n + 3;
    const std::uint64_t century = n1 / 146097;
    const auto dayOfCentury = static_cast<std::uint32_t>(n1 - century * 146097) / 4;
    // Year within the century and day within the year (from 1 March).
    const std::uint64_t p2 = std::uint64_t{2939745} * (4 * dayOfCentury + 3);
    const auto yearOfCentury = static_cast<std::uint32_t>(p2 >> 32);
    const std::uint32_t dayOfYear = static_cast<std::uint32_t>(p2) / 11758980;
    // Month (3 = March .. 14 = February of the next year) and day.
    const std::uint32_t n3 = 2141 * dayOfYear + 197913;
    const std::uint32_t month = n3 >> 16;
    const std::uint32_t day = (n3 & 0xFFFF) / 2141 + 1;
    const bool nextYear = dayOfYear >= 306;  // January or February
    const core::Int year = static_cast<core::Int>(100 * century - 400 * cycles) + yearOfCentury + nextYear;
    return {year, nextYear ? month - 12 : month, day};
}

YearMonthDay toGregorianBig(const Day& day);

}  // namespace detail

// The year, month and day of a day.
inline YearMonthDay toGregorian(const Day& day) {
    const core::Integer& mjd = day.toModifiedJulianDay();
    if (detail::isSmallDay(mjd)) [[likely]] {
        const detail::SmallYearMonthDay g = detail::gregorianOfSmallDay(mjd.unsafeInt());
        return {Year(g.year), g.month, g.day};
    }
    return detail::toGregorianBig(day);
}

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
