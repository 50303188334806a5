#include "Data/Time/Calendar/Month.h"

#include "Data/Time/Calendar/Gregorian.h"

namespace kalmet {

YearMonth::YearMonth(const Month& m) : year(), month(1) {
    const core::Integer& c = m.count();
    if (c.isSmall()) {
        year = Year(detail::floorDiv(c.unsafeInt(), 12));
        month = detail::floorMod(c.unsafeInt(), 12) + 1;
    } else {
        auto [y, r] = divMod(c, core::Integer(12));
        year = std::move(y);
        month = r.unsafeInt() + 1;
    }
}

YearMonth::operator Month() const {
    return Month(year * core::Integer(12) + core::Integer(clip(1, 12, month) - 1));
}

MonthDay::MonthDay(const Day& d) : month(), day(1) {
    YearMonthDay g = toGregorian(d);
    month = YearMonth(std::move(g.year), g.month);
    day = g.day;
}

MonthDay::operator Day() const {
    const YearMonth ym(month);
    return fromGregorian(ym.year, ym.month, day);
}

Month dayMonth(const Day& d) { return MonthDay(d).month; }

Month fromYearMonth(Year year, MonthOfYear month) { return YearMonth(std::move(year), month); }

std::optional<Month> fromYearMonthValid(Year year, MonthOfYear month) {
    if (!clipValid(1, 12, month)) return std::nullopt;
    return fromYearMonth(std::move(year), month);
}

std::optional<Day> fromMonthDayValid(const Month& month, DayOfMonth day) {
    const YearMonth ym(month);
    return fromGregorianValid(ym.year, ym.month, day);
}

std::pair<Year, MonthOfYear> toYearMonth(const Month& m) {
    YearMonth ym(m);
    return {std::move(ym.year), ym.month};
}

Day fromMonthDay(Month month, DayOfMonth day) { return MonthDay(std::move(month), day); }

std::pair<Month, DayOfMonth> toMonthDay(const Day& d) {
    MonthDay md(d);
    return {std::move(md.month), md.day};
}

}  // namespace kalmet
