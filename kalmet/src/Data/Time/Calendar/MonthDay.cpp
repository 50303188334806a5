#include "Data/Time/Calendar/MonthDay.h"

namespace kalmet {

static_assert(detail::daysBeforeMonth(false, 3) == 59 && detail::daysBeforeMonth(true, 3) == 60);
static_assert(detail::daysBeforeMonth(false, 12) == 334 && detail::monthLengthOf(false, 12) == 31);
static_assert(detail::monthLengthOf(false, 9) == 30 && detail::monthLengthOf(true, 2) == 29);

MonthAndDay dayOfYearToMonthAndDay(bool isLeap, DayOfYear dayOfYear) noexcept {
    const core::Int yd = clip(1, isLeap ? 366 : 365, dayOfYear);
    // The month is the last one that starts on or before the day; a first
    // guess from the mean month length is off by at most one.
    core::Int m = (yd - 1) / 31 + 1;
    if (m < 12 && detail::daysBeforeMonth(isLeap, m + 1) < yd) ++m;
    return {m, yd - detail::daysBeforeMonth(isLeap, m)};
}

}  // namespace kalmet
