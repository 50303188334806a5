#include "Data/Time/Chrono.h"

#include "Core/Num.h"
#include "Data/Time/Calendar/Gregorian.h"
#include "Data/Time/Clock/POSIX.h"

namespace kalmet {

namespace detail {

namespace {
const core::Integer picosPerSecondI(picosPerSecond);
const core::Integer picosPerDayI = core::Integer(picosPerSecond) * core::Integer(86400);
}  // namespace

std::optional<core::Int> picosecondsToTicks(const core::Integer& picoseconds, std::intmax_t num, std::intmax_t den,
                                            bool floor) {
    // ticks = picoseconds * den / (num * 10^12)
    const core::Integer n = picoseconds * core::Integer(static_cast<core::Int>(den));
    const core::Integer d = core::Integer(static_cast<core::Int>(num)) * picosPerSecondI;
    auto [q, r] = core::divMod(n, d);
    if (!floor && r.signum() != 0) return std::nullopt;
    if (!q.isSmall()) return std::nullopt;
    return q.unsafeInt();
}

core::Integer ticksToPicoseconds(const core::Integer& ticks, std::intmax_t num, std::intmax_t den) {
    return core::quot(ticks * core::Integer(static_cast<core::Int>(num)) * picosPerSecondI,
                      core::Integer(static_cast<core::Int>(den)));
}

std::optional<core::Integer> picosecondsSinceEpoch(const Day& day, const core::Integer& sinceMidnight, bool exact) {
    core::Integer time = sinceMidnight;
    if (time >= picosPerDayI) {
        if (exact) return std::nullopt;  // a leap second: no such instant
        time = picosPerDayI;
    }
    return diffDays(day, systemEpochDay()) * picosPerDayI + time;
}

std::pair<Day, core::Integer> dayAndTimeOfPicoseconds(const core::Integer& picoseconds) {
    auto [days, rest] = core::divMod(picoseconds, picosPerDayI);
    return {addDays(days, systemEpochDay()), std::move(rest)};
}

}  // namespace detail

std::optional<std::chrono::sys_days> dayToSysDays(const Day& d) {
    using Rep = std::chrono::days::rep;
    const core::Integer n = diffDays(d, systemEpochDay());
    if (!n.isSmall() || !std::in_range<Rep>(n.unsafeInt())) return std::nullopt;
    return std::chrono::sys_days(std::chrono::days(static_cast<Rep>(n.unsafeInt())));
}

Day sysDaysToDay(std::chrono::sys_days d) {
    return addDays(core::Integer(static_cast<core::Int>(d.time_since_epoch().count())), systemEpochDay());
}

std::optional<std::chrono::year_month_day> dayToYearMonthDay(const Day& d) {
    const YearMonthDay g = toGregorian(d);
    const int lo = static_cast<int>(std::chrono::year::min()), hi = static_cast<int>(std::chrono::year::max());
    if (g.year < core::Integer(lo) || g.year > core::Integer(hi)) return std::nullopt;
    return std::chrono::year_month_day(std::chrono::year(static_cast<int>(g.year.unsafeInt())),
                                       std::chrono::month(static_cast<unsigned>(g.month)),
                                       std::chrono::day(static_cast<unsigned>(g.day)));
}

std::optional<Day> yearMonthDayToDay(const std::chrono::year_month_day& ymd) {
    if (!ymd.ok()) return std::nullopt;
    return fromGregorianValid(Year(static_cast<core::Int>(static_cast<int>(ymd.year()))),
                              static_cast<MonthOfYear>(static_cast<unsigned>(ymd.month())),
                              static_cast<DayOfMonth>(static_cast<unsigned>(ymd.day())));
}

}  // namespace kalmet
