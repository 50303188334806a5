#pragma once
// Month and day of year: converting between a day of the year and a
// (month, day of month) pair, given whether the year is a leap year.
#include <optional>

#include "Data/Time/Calendar/Days.h"

namespace kalmet {

namespace detail {
// Days before the first of each month (index 1..12), common and leap years.
inline constexpr core::Int daysBeforeMonth[2][13] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};
inline constexpr core::Int monthLengths[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
}  // namespace detail

// The number of days in a month (clipped to 1..12) of a common or leap year.
inline DayOfMonth monthLength(bool isLeap, MonthOfYear month) noexcept {
    return detail::monthLengths[isLeap][detail::clip(1, 12, month)];
}

// The day of the year of a month and day; the month is clipped to 1..12 and
// the day to the month's length.
inline DayOfYear monthAndDayToDayOfYear(bool isLeap, MonthOfYear month, DayOfMonth day) noexcept {
    const core::Int m = detail::clip(1, 12, month);
    const core::Int d = detail::clip(1, detail::monthLengths[isLeap][m], day);
    return detail::daysBeforeMonth[isLeap][m] + d;
}

// The day of the year of a month and day, or nothing when the month is
// outside 1..12 or the day outside 1..the month's length.
inline std::optional<DayOfYear> monthAndDayToDayOfYearValid(bool isLeap, MonthOfYear month,
                                                            DayOfMonth day) noexcept {
    if (month < 1 || month > 12) return std::nullopt;
    if (day < 1 || day > detail::monthLengths[isLeap][month]) return std::nullopt;
    return detail::daysBeforeMonth[isLeap][month] + day;
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
