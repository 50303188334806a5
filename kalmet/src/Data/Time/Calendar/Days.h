#pragma once
// Days: the Day type (a calendar date held as a count of days) and the
// integer types that name the parts of a date.
//
//   kalmet::Day d(core::Integer(51544));   // 2000-01-01
//   kalmet::addDays(1, d);                 // 2000-01-02
//   kalmet::diffDays(kalmet::addDays(7, d), d) == 7
#include <compare>
#include <utility>

#include "Core/Integer.h"
#include "Core/Types.h"
#include "Data/Time/Calendar/Private.h"

namespace kalmet {

// A year of the proleptic Gregorian calendar, without bound either way; the
// year before 1 is 0, the one before that -1.
using Year = core::Integer;
// Month of the year, 1 (January) to 12.
using MonthOfYear = core::Int;
// Day of the month, 1 to 31.
using DayOfMonth = core::Int;
// Day of the year, 1 to 365, or 366 in a leap year.
using DayOfYear = core::Int;
// ISO week of the year, 1 to 52 or 53.
using WeekOfYear = core::Int;

// A calendar date, held as its Modified Julian Day number: 1858-11-17 is
// day 0, the next day 1. Unbounded both ways; every date of the proleptic
// Gregorian calendar has one.
class Day {
public:
    // 1858-11-17.
    Day() noexcept = default;
    explicit Day(core::Integer modifiedJulianDay) noexcept : mjd_(std::move(modifiedJulianDay)) {}

    // The Modified Julian Day number.
    const core::Integer& toModifiedJulianDay() const noexcept { return mjd_; }

    friend bool operator==(const Day& a, const Day& b) noexcept { return a.mjd_ == b.mjd_; }
    friend std::strong_ordering operator<=>(const Day& a, const Day& b) noexcept {
        return a.mjd_ <=> b.mjd_;
    }

private:
    core::Integer mjd_;
};

// The Modified Julian Day number of a day.
inline const core::Integer& toModifiedJulianDay(const Day& d) noexcept { return d.toModifiedJulianDay(); }

// The day n days after d (before it when n is negative).
inline Day addDays(const core::Integer& n, const Day& d) { return Day(d.toModifiedJulianDay() + n); }

// The number of days from b to a: a - b.
inline core::Integer diffDays(const Day& a, const Day& b) {
    return a.toModifiedJulianDay() - b.toModifiedJulianDay();
}

namespace detail {

// Flooring division and its remainder (the remainder takes the sign of the
// divisor); b must be positive.
constexpr core::Int floorDiv(core::Int a, core::Int b) noexcept {
    const core::Int q = a / b;
    return (a % b < 0) ? q - 1 : q;
}
constexpr core::Int floorMod(core::Int a, core::Int b) noexcept {
    const core::Int r = a % b;
    return r < 0 ? r + b : r;
}

// Years and day numbers whose magnitude stays below these bounds are
// computed with machine integers; anything larger goes through Integer
// arithmetic (exact for any value).
inline constexpr core::Int smallYearBound = 1'000'000'000'000'000;     // 10^15
inline constexpr core::Int smallDayBound = 100'000'000'000'000'000;    // 10^17

inline bool isSmallYear(const core::Integer& y) noexcept {
    return y.isSmall() && y.unsafeInt() > -smallYearBound && y.unsafeInt() < smallYearBound;
}
inline bool isSmallDay(const core::Integer& d) noexcept {
    return d.isSmall() && d.unsafeInt() > -smallDayBound && d.unsafeInt() < smallDayBound;
}

}  // namespace detail

}  // namespace kalmet
