#include "Data/Time/Calendar/WeekDate.h"

#include "Data/Time/Calendar/OrdinalDate.h"
#include "Data/Time/Calendar/Week.h"

namespace kalmet {

WeekDate toWeekDate(const Day& day) {
    // The Thursday of the day's week lies in the week-numbering year, and
    // its day of the year gives the week.
    const core::Int dow = fromDayOfWeek(dayOfWeek(day));
    OrdinalDate thursday = toOrdinalDate(addDays(core::Integer(4 - dow), day));
    return {std::move(thursday.year), (thursday.dayOfYear - 1) / 7 + 1, dow};
}

WeekOfYear isoWeeksInYear(const Year& year) {
    // A year has 53 weeks when it starts on a Thursday, or is a leap year
    // starting on a Wednesday.
    const DayOfWeek jan1 = dayOfWeek(fromOrdinalDate(year, 1));
    return (jan1 == Thursday || (jan1 == Wednesday && isLeapYear(year))) ? 53 : 52;
}

namespace {
Day weekDateToDay(const Year& year, WeekOfYear week, core::Int dow) {
    // 4 January always lies in week 1.
    const Day jan4 = fromOrdinalDate(year, 4);
    const core::Int offset = 7 * (week - 1) + (dow - 1) - (fromDayOfWeek(dayOfWeek(jan4)) - 1);
    return addDays(core::Integer(offset), jan4);
}
}  // namespace

Day fromWeekDate(const Year& year, WeekOfYear week, core::Int dayOfWeek) {
    return weekDateToDay(year, clip(1, isoWeeksInYear(year), week), clip(1, 7, dayOfWeek));
}

std::optional<Day> fromWeekDateValid(const Year& year, WeekOfYear week, core::Int dayOfWeek) {
    if (dayOfWeek < 1 || dayOfWeek > 7 || week < 1 || week > isoWeeksInYear(year)) return std::nullopt;
    return weekDateToDay(year, week, dayOfWeek);
}

}  // namespace kalmet
