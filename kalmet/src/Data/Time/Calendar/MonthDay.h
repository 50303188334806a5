#pragma once
// Month and day of year: converting between a day of the year and a
// (month, day of month) pair, given whether the year is a leap year.
#include <cstdint>
#include <optional>

#include "Data/Time/Calendar/Days.h"

namespace kalmet {

namespace detail {
// Month lengths and the days before each month, by formula: a table would
// be one more indirection through the shared library in the parsers' hot
// path. Both take a month already in 1..12.
constexpr core::Int monthLengthOf(bool isLeap, core::Int m) noexcept {
    // 30 or 31 by the alternation that flips at August; February is 2 or 1
    // shorter than 30. Written without branches: month and day come from
    // the input and are not predictable.
    return 30 + ((m + (m >> 3)) & 1) - (m == 2) * (2 - isLeap);
}
constexpr core::Int daysBeforeMonth(bool isLeap, core::Int m) noexcept {
    // (367 m - 362) / 12, the division done as (x * 43691) >> 19, exact for
    // x <= 4042.
    const std::uint64_t x = 367 * static_cast<std::uint64_t>(m) - 362;
    return static_cast<core::Int>((x * 43691) >> 19) - (m > 2) * (2 - isLeap);
}
}  // namespace detail

// The number of days in a month (clipped to 1..12) of a common or leap year.
inline DayOfMonth monthLength(bool isLeap, MonthOfYear month) noexcept {
    return detail::monthLengthOf(isLeap, clip(1, 12, month));
}

// The day of the year of a month and day; the month is clipped to 1..12 and
// the day to the month's length.
inline DayOfYear monthAndDayToDayOfYear(bool isLeap, MonthOfYear month, DayOfMonth day) noexcept {
    const core::Int m = clip(1, 12, month);
    const core::Int d = clip(1, detail::monthLengthOf(isLeap, m), day);
    return detail::daysBeforeMonth(isLeap, m) + d;
}

// The day of the year of a month and day, or nothing when the month is
// outside 1..12 or the day outside 1..the month's length.
inline std::optional<DayOfYear> monthAndDayToDayOfYearValid(bool isLeap, MonthOfYear month,
                                                            DayOfMonth day) noexcept {
    if (month < 1 || month > 12) return std::nullopt;
    if (day < 1 || day > detail::monthLengthOf(isLeap, month)) return std::nullopt;
    return detail::daysBeforeMonth(isLeap, month) + day;
}

// A month of the year and a day of that month.
struct MonthAndDay {
    MonthOfYear month;
    DayOfMonth day;
    friend bool operator==(const MonthAndDay&, const MonthAndDay&) = default;
};

// The month and day of a day of the year, clipped to 1..365 (366 in a leap
// year).
MonthAndDay dayOfYearToMonthAndDay(bool isLeap, DayOfYear dayOfYear) noexcept;

}  // namespace kalmet
