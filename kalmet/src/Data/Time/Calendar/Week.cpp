#include "Data/Time/Calendar/Week.h"

namespace kalmet {

DayOfWeek dayOfWeek(const Day& day) {
    // Day 0 (1858-11-17) was a Wednesday.
    const core::Integer& mjd = day.toModifiedJulianDay();
    if (mjd.isSmall()) return toDayOfWeek(detail::floorMod(mjd.unsafeInt(), 7) + 3);
    return toDayOfWeek(mod(mjd, core::Integer(7)).unsafeInt() + 3);
}

Day firstDayOfWeekOnAfter(DayOfWeek dw, const Day& day) {
    return addDays(core::Integer(dayOfWeekDiff(dw, dayOfWeek(day))), day);
}

}  // namespace kalmet
