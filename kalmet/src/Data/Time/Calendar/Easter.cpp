#include "Data/Time/Calendar/Easter.h"

#include "Data/Time/Calendar/Gregorian.h"
#include "Data/Time/Calendar/Julian.h"
#include "Data/Time/Calendar/Week.h"

namespace kalmet {

namespace {

using detail::floorDiv;
using detail::floorMod;

struct MonthDayPair {
    core::Int month;
    core::Int day;
};

// The anonymous Gregorian algorithm, with flooring division so that it
// holds for every year, negative ones included.
MonthDayPair gregorianEasterDate(core::Int y) {
    const core::Int a = floorMod(y, 19);
    const core::Int b = floorDiv(y, 100);
    const core::Int c = floorMod(y, 100);
    const core::Int d = floorDiv(b, 4);
    const core::Int e = floorMod(b, 4);
    const core::Int f = floorDiv(b + 8, 25);
    const core::Int g = floorDiv(b - f + 1, 3);
    const core::Int h = floorMod(19 * a + b - d - g + 15, 30);
    const core::Int i = floorDiv(c, 4);
    const core::Int k = floorMod(c, 4);
    const core::Int l = floorMod(32 + 2 * e + 2 * i - h - k, 7);
    const core::Int m = floorDiv(a + 11 * h + 22 * l, 451);
    const core::Int n = h + l - 7 * m + 114;
    return {n / 31, n % 31 + 1};
}

// The Julian computus; the result is a date of the Julian calendar.
MonthDayPair julianEasterDate(core::Int y) {
    const core::Int a = floorMod(y, 4);
    const core::Int b = floorMod(y, 7);
    const core::Int c = floorMod(y, 19);
    const core::Int d = floorMod(19 * c + 15, 30);
    const core::Int e = floorMod(2 * a + 4 * b - d + 34, 7);
    const core::Int n = d + e + 114;
    return {n / 31, n % 31 + 1};
}

// The Gregorian dates of Easter repeat every 5,700,000 years (a whole
// number of 400-year cycles); the Julian ones every 532 years (a whole
// number of 4-year Julian cycles). Larger years are reduced first.
constexpr core::Int gregorianPeriod = 5'700'000;
constexpr core::Int julianPeriod = 532;

}  // namespace

Day sundayAfter(const Day& day) {
    return addDays(core::Integer(7 - dayOfWeekDiff(dayOfWeek(day), Sunday)), day);
}

Day gregorianEaster(const Year& year) {
    if (detail::isSmallYear(year)) {
        const MonthDayPair md = gregorianEasterDate(year.unsafeInt());
        return fromGregorian(year, md.month, md.day);
    }
    auto [q, r] = divMod(year, Year(gregorianPeriod));
    const MonthDayPair md = gregorianEasterDate(r.unsafeInt());
    // One period holds 5,700,000 / 400 cycles of 146097 days.
    const core::Integer shift = q * core::Integer(gregorianPeriod / 400 * 146097);
    return addDays(shift, fromGregorian(r, md.month, md.day));
}

Day orthodoxEaster(const Year& year) {
    if (detail::isSmallYear(year)) {
        const MonthDayPair md = julianEasterDate(year.unsafeInt());
        return fromJulian(year, md.month, md.day);
    }
    auto [q, r] = divMod(year, Year(julianPeriod));
    const MonthDayPair md = julianEasterDate(r.unsafeInt());
    const core::Integer shift = q * core::Integer(julianPeriod / 4 * 1461);
    return addDays(shift, fromJulian(r, md.month, md.day));
}

}  // namespace kalmet
