#include "Data/Time/Calendar/Gregorian.h"

namespace kalmet {

static_assert(detail::gregorianOfSmallDay(51544).year == 2000 && detail::gregorianOfSmallDay(51544).month == 1 &&
              detail::gregorianOfSmallDay(51544).day == 1);
static_assert(detail::gregorianOfSmallDay(-678942).year == -1 && detail::gregorianOfSmallDay(-678942).day == 31);

YearMonthDay detail::toGregorianBig(const Day& day) {
    OrdinalDate o = toOrdinalDate(day);
    const MonthAndDay md = dayOfYearToMonthAndDay(isLeapYear(o.year), o.dayOfYear);
    return {std::move(o.year), md.month, md.day};
}

Day fromGregorian(const Year& year, MonthOfYear month, DayOfMonth day) {
    return fromOrdinalDate(year, monthAndDayToDayOfYear(isLeapYear(year), month, day));
}

std::optional<Day> fromGregorianValid(const Year& year, MonthOfYear month, DayOfMonth day) {
    const auto yd = monthAndDayToDayOfYearValid(isLeapYear(year), month, day);
    if (!yd) return std::nullopt;
    return fromOrdinalDateValid(year, *yd);
}

DayOfMonth gregorianMonthLength(const Year& year, MonthOfYear month) {
    return monthLength(isLeapYear(year), month);
}

namespace {

// Year and month n months after (year, month), month in 1..12.
struct YM {
    Year year;
    MonthOfYear month;
};
YM addMonthsTo(const core::Integer& n, const Year& year, MonthOfYear month) {
    const core::Integer count = year * core::Integer(12) + core::Integer(month - 1) + n;
    if (count.isSmall()) {
        const core::Int c = count.unsafeInt();
        return {Year(detail::floorDiv(c, 12)), detail::floorMod(c, 12) + 1};
    }
    auto [y, m] = divMod(count, core::Integer(12));
    return {std::move(y), m.unsafeInt() + 1};
}

// The day `day` of a month, with days past the month's end carried into the
// following days.
Day rollOver(const Year& year, MonthOfYear month, DayOfMonth day) {
    return addDays(core::Integer(day - 1), fromGregorian(year, month, 1));
}

}  // namespace

Day addGregorianMonthsClip(const core::Integer& n, const Day& day) {
    const YearMonthDay g = toGregorian(day);
    const YM ym = addMonthsTo(n, g.year, g.month);
    return fromGregorian(ym.year, ym.month, g.day);
}

Day addGregorianMonthsRollOver(const core::Integer& n, const Day& day) {
    const YearMonthDay g = toGregorian(day);
    const YM ym = addMonthsTo(n, g.year, g.month);
    return rollOver(ym.year, ym.month, g.day);
}

Day addGregorianYearsClip(const core::Integer& n, const Day& day) {
    const YearMonthDay g = toGregorian(day);
    return fromGregorian(g.year + n, g.month, g.day);
}

Day addGregorianYearsRollOver(const core::Integer& n, const Day& day) {
    const YearMonthDay g = toGregorian(day);
    return rollOver(g.year + n, g.month, g.day);
}

}  // namespace kalmet
