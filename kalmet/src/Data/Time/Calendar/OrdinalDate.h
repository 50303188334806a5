#pragma once
// Ordinal dates: a year and a day of that year, and the Gregorian leap-year
// rule.
#include <cstdint>
#include <optional>

#include "Data/Time/Calendar/Days.h"

namespace kalmet {

namespace detail {
// y is divisible by 25: multiplying by the inverse of 25 modulo 2^64 maps
// the multiples of 25 (and only them) into a short range. Written out
// because the compiler falls back to a slow division in blocks it guesses
// to be rarely run.
constexpr bool divisibleBy25(core::Int y) noexcept {
    return static_cast<std::uint64_t>(y) * 0x8F5C28F5C28F5C29ull + 0x051EB851EB851EB8ull <= 0x0A3D70A3D70A3D70ull;
}
// Divisible by 4, and by 25 only when also by 16 (that is, by 400). The
// masks read two's complement negatives correctly. Bitwise operators, not
// short-circuit ones: one year in four is a leap year, a branch on it
// would be mispredicted often.
constexpr bool isLeapYearInt(core::Int y) noexcept {
    return ((y & 3) == 0) & (!divisibleBy25(y) | ((y & 15) == 0));
}
bool isLeapYearBig(const Year& y);
// Day number of an ordinal date of a year below smallYearBound; dayOfYear
// already within the year.
// x / 25 for x < 2^63, by multiplication: the compiler would do the same
// for a constant divisor, but not in blocks it guesses to be rarely run.
constexpr std::uint64_t div25(std::uint64_t x) noexcept {
    return static_cast<std::uint64_t>((static_cast<unsigned __int128>(x) * 11805916207174113035ull) >> 68);
}
constexpr core::Int ordinalToMjd(core::Int year, core::Int dayOfYear) noexcept {
    // The days before the year are 365 y + y/4 - y/100 + y/400 (flooring)
    // for y = year - 1. Shifting y by a whole number of 400-year cycles
    // makes it non-negative, so the divisions are plain unsigned ones.
    constexpr std::uint64_t cycles = 2'500'000'000'000;  // 400 * cycles = 10^15 years
    const auto y = static_cast<std::uint64_t>(year - 1 + 400 * static_cast<core::Int>(cycles));
    const std::uint64_t quads = y >> 2;
    const std::uint64_t centuries = div25(quads);
    const std::uint64_t days = 365 * y + quads - centuries + (centuries >> 2) - 146097 * cycles;
    return static_cast<core::Int>(days) + dayOfYear - 678576;
}
// ordinalToMjd for a year of at most four digits (0 to 9999), the common
// case of parsed dates: 32-bit arithmetic, the divisions by 100 as a
// multiplication exact in this range.
constexpr core::Int ordinalToMjdFourDigits(core::Int year, core::Int dayOfYear) noexcept {
    const auto y = static_cast<std::uint32_t>(year + 399);  // year - 1 + 400, never negative
    const std::uint32_t centuries = (y * 5243u) >> 19;      // y / 100 for y < 43699
    const std::uint32_t days = 365 * y + (y >> 2) - centuries + (centuries >> 2);
    return static_cast<core::Int>(days) - 146097 + dayOfYear - 678576;
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
    const core::Int yd = clip(1, isLeapYear(year) ? 366 : 365, dayOfYear);
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
