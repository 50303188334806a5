#include "Data/Time/Calendar/Julian.h"

#include "Data/Time/Calendar/MonthDay.h"

namespace kalmet {

namespace {

// The Julian calendar repeats every 4 years, which hold 1461 days; day
// -678577 is 1 January of the Julian year 1.
constexpr core::Int epochOffset = 678577;

// Day number of a Julian ordinal date, year small.
constexpr core::Int julianToMjd(core::Int year, core::Int dayOfYear) noexcept {
    const core::Int y = year - 1;
    return dayOfYear + 365 * y + detail::floorDiv(y, 4) - 678578;
}

// Year (1..4) and day of year of day b (0 <= b < 1461) of a 4-year cycle.
OrdinalDate inCycle(core::Int q, core::Int b) noexcept {
    const core::Int y = b / 365 < 3 ? b / 365 : 3;
    return {Year(q * 4 + y + 1), b - 365 * y + 1};
}

}  // namespace

bool isJulianLeapYear(const Year& year) {
    if (year.isSmall()) return year.unsafeInt() % 4 == 0;
    return mod(year, Year(4)) == Year(0);
}

OrdinalDate toJulianYearAndDay(const Day& day) {
    const core::Integer& mjd = day.toModifiedJulianDay();
    if (detail::isSmallDay(mjd)) {
        const core::Int a = mjd.unsafeInt() + epochOffset;
        return inCycle(detail::floorDiv(a, 1461), detail::floorMod(a, 1461));
    }
    auto [q, b] = divMod(mjd + core::Integer(epochOffset), core::Integer(1461));
    OrdinalDate o = inCycle(0, b.unsafeInt());
    return {q * Year(4) + o.year, o.dayOfYear};
}

namespace {
Day julianOrdinalToDay(const Year& year, DayOfYear yd) {
    if (detail::isSmallYear(year)) return Day(julianToMjd(year.unsafeInt(), yd));
    auto [q, r] = divMod(year, Year(4));
    return Day(q * core::Integer(1461) + core::Integer(julianToMjd(r.unsafeInt(), yd)));
}
}  // namespace

Day fromJulianYearAndDay(const Year& year, DayOfYear dayOfYear) {
    return julianOrdinalToDay(year, clip(1, isJulianLeapYear(year) ? 366 : 365, dayOfYear));
}

std::optional<Day> fromJulianYearAndDayValid(const Year& year, DayOfYear dayOfYear) {
    if (dayOfYear < 1 || dayOfYear > (isJulianLeapYear(year) ? 366 : 365)) return std::nullopt;
    return julianOrdinalToDay(year, dayOfYear);
}

YearMonthDay toJulian(const Day& day) {
    OrdinalDate o = toJulianYearAndDay(day);
    const MonthAndDay md = dayOfYearToMonthAndDay(isJulianLeapYear(o.year), o.dayOfYear);
    return {std::move(o.year), md.month, md.day};
}

Day fromJulian(const Year& year, MonthOfYear month, DayOfMonth day) {
    return julianOrdinalToDay(year, monthAndDayToDayOfYear(isJulianLeapYear(year), month, day));
}

std::optional<Day> fromJulianValid(const Year& year, MonthOfYear month, DayOfMonth day) {
    const auto yd = monthAndDayToDayOfYearValid(isJulianLeapYear(year), month, day);
    if (!yd) return std::nullopt;
    return julianOrdinalToDay(year, *yd);
}

DayOfMonth julianMonthLength(const Year& year, MonthOfYear month) {
    return monthLength(isJulianLeapYear(year), month);
}

}  // namespace kalmet
