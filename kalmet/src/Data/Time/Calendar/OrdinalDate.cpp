#include "Data/Time/Calendar/OrdinalDate.h"

namespace kalmet {

static_assert(detail::divisibleBy25(0) && detail::divisibleBy25(-25) && detail::divisibleBy25(1000));
static_assert(!detail::divisibleBy25(1) && !detail::divisibleBy25(-24) && !detail::divisibleBy25(INT64_MIN));
static_assert(detail::divisibleBy25(INT64_MIN + 8) && detail::divisibleBy25(INT64_MAX - 7));
static_assert(detail::isLeapYearInt(-400) && !detail::isLeapYearInt(-100) && detail::isLeapYearInt(2000));
static_assert([] {
    for (core::Int y = 0; y <= 9999; ++y)
        for (core::Int yd : {1, 60, 365})
            if (detail::ordinalToMjdFourDigits(y, yd) != detail::ordinalToMjd(y, yd)) return false;
    return true;
}());
static_assert(detail::div25(0) == 0 && detail::div25(24) == 0 && detail::div25(25) == 1);
static_assert(detail::div25(9223372036854775807ull) == 9223372036854775807ull / 25);
static_assert(detail::div25(9223372036854775799ull) == 9223372036854775799ull / 25);

namespace {

// The Gregorian calendar repeats every 400 years, which hold 146097 days.
constexpr core::Int cycleYears = 400;
constexpr core::Int cycleDays = 146097;

// Year and day of year of the day b (0 <= b < 146097) of a 400-year cycle
// that starts on 1 January of a year 1 (mod 400).
struct SmallOrdinal {
    core::Int year;  // relative year, counted from 1 at the cycle's start
    core::Int dayOfYear;
};
constexpr SmallOrdinal ordinalInCycle(core::Int b) noexcept {
    const core::Int cent = b / 36524 < 3 ? b / 36524 : 3;
    const core::Int c = b - cent * 36524;
    const core::Int quad = c / 1461;
    const core::Int d = c % 1461;
    const core::Int y = d / 365 < 3 ? d / 365 : 3;
    return {cent * 100 + quad * 4 + y + 1, d - y * 365 + 1};
}

}  // namespace

namespace detail {

bool isLeapYearBig(const Year& y) { return isLeapYearInt(mod(y, Year(cycleYears)).unsafeInt()); }

Day fromOrdinalDateBig(const Year& year, DayOfYear dayOfYear) {
    // year = 400 q + r: the days of q whole cycles plus those of year r.
    auto [q, r] = divMod(year, Year(cycleYears));
    return Day(q * core::Integer(cycleDays) + core::Integer(ordinalToMjd(r.unsafeInt(), dayOfYear)));
}

}  // namespace detail

OrdinalDate toOrdinalDate(const Day& day) {
    const core::Integer& mjd = day.toModifiedJulianDay();
    // Count days from 0001-01-01 (day -678575), split into 400-year cycles.
    if (detail::isSmallDay(mjd)) {
        const core::Int a = mjd.unsafeInt() + 678575;
        const core::Int q = detail::floorDiv(a, cycleDays);
        const SmallOrdinal o = ordinalInCycle(detail::floorMod(a, cycleDays));
        return {Year(q * cycleYears + o.year), o.dayOfYear};
    }
    auto [q, b] = divMod(mjd + core::Integer(678575), core::Integer(cycleDays));
    const SmallOrdinal o = ordinalInCycle(b.unsafeInt());
    return {q * core::Integer(cycleYears) + core::Integer(o.year), o.dayOfYear};
}

}  // namespace kalmet
