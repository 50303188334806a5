#pragma once
// Days of the week.
#include <cstdint>

#include "Data/Time/Calendar/Days.h"

namespace kalmet {

// Monday to Sunday, ordered so, numbered 1 (Monday) to 7 (Sunday).
enum class DayOfWeek : std::uint8_t {
    Monday = 1,
    Tuesday = 2,
    Wednesday = 3,
    Thursday = 4,
    Friday = 5,
    Saturday = 6,
    Sunday = 7,
};
inline constexpr DayOfWeek Monday = DayOfWeek::Monday;
inline constexpr DayOfWeek Tuesday = DayOfWeek::Tuesday;
inline constexpr DayOfWeek Wednesday = DayOfWeek::Wednesday;
inline constexpr DayOfWeek Thursday = DayOfWeek::Thursday;
inline constexpr DayOfWeek Friday = DayOfWeek::Friday;
inline constexpr DayOfWeek Saturday = DayOfWeek::Saturday;
inline constexpr DayOfWeek Sunday = DayOfWeek::Sunday;

// The number of a day of the week: Monday 1 ... Sunday 7.
constexpr core::Int fromDayOfWeek(DayOfWeek d) noexcept { return static_cast<core::Int>(d); }
// The day of the week of a number taken modulo 7, where 0 and 7 are Sunday,
// 1 Monday and 6 Saturday.
constexpr DayOfWeek toDayOfWeek(core::Int n) noexcept {
    const core::Int r = detail::floorMod(n, 7);
    return static_cast<DayOfWeek>(r == 0 ? 7 : r);
}

// The day of the week of a day.
DayOfWeek dayOfWeek(const Day& day);

// How many days from b forward to a: 0 to 6.
constexpr core::Int dayOfWeekDiff(DayOfWeek a, DayOfWeek b) noexcept {
    return detail::floorMod(fromDayOfWeek(a) - fromDayOfWeek(b), 7);
}

// The first day on or after `day` that falls on the given day of the week.
Day firstDayOfWeekOnAfter(DayOfWeek dw, const Day& day);

}  // namespace kalmet
