#pragma once
// Times of day: hour, minute and seconds (below 61, so that a leap second
// fits), and their conversions to and from the time since midnight and the
// fraction of a day.
//
//   auto t = kalmet::makeTimeOfDayValid(23, 59, kalmet::Pico::fromSeconds(60));  // a leap second
//   kalmet::timeOfDayToTime(kalmet::midday) == kalmet::secondsToDiffTime(43200)
#include <compare>
#include <cstdint>
#include <optional>

#include "Core/Rational.h"
#include "Data/Time/Clock/DiffTime.h"

namespace kalmet {

// A time of day: hour 0..23, minute 0..59, seconds 0 to below 61.
struct TimeOfDay {
    core::Int hour = 0;
    core::Int minute = 0;
    Pico seconds;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
    friend std::strong_ordering operator<=>(const TimeOfDay& a, const TimeOfDay& b) noexcept {
        if (auto c = a.hour <=> b.hour; c != 0) return c;
        if (auto c = a.minute <=> b.minute; c != 0) return c;
        return a.seconds <=> b.seconds;
    }
};

// 00:00:00.
extern const TimeOfDay midnight;
// 12:00:00.
extern const TimeOfDay midday;

// The time of day, or nothing when a field is out of range.
std::optional<TimeOfDay> makeTimeOfDayValid(core::Int hour, core::Int minute, const Pico& seconds);

namespace detail {
TimeOfDay timeToTimeOfDaySlow(const DiffTime& sinceMidnight);

// Hour, minute, whole second and picoseconds within the second of a time
// since midnight of 0 to below 24 hours, in picoseconds: one division of
// the 64-bit count, the rest in 32 bits.
struct ClockFields {
    core::Int hour;
    core::Int minute;
    core::Int second;
    core::Int picoseconds;
};
constexpr core::Int picosPerMinute = 60 * picosPerSecond;
constexpr core::Int picosPerHour = 60 * picosPerMinute;
constexpr core::Int picosPerDay = 24 * picosPerHour;
[[gnu::always_inline]] constexpr ClockFields clockFields(core::Int ps) noexcept {
    const auto u = static_cast<std::uint64_t>(ps);
    const std::uint64_t seconds = u / picosPerSecond;
    const auto secondOfDay = static_cast<std::uint32_t>(seconds);
    const std::uint32_t hour = secondOfDay / 3600, rest = secondOfDay % 3600;
    return {hour, rest / 60, rest % 60, static_cast<core::Int>(u - seconds * picosPerSecond)};
}
}  // namespace detail

// The time of day a length of time after midnight. A whole day or more
// gives 23:59 with seconds of 60 or more (the time within a leap second);
// a negative length is taken modulo a day.
inline TimeOfDay timeToTimeOfDay(const DiffTime& sinceMidnight) {
    const core::Integer& ps = sinceMidnight.picoseconds();
    if (ps.isSmall() && ps.unsafeInt() >= 0 && ps.unsafeInt() < detail::picosPerDay) [[likely]] {
        const detail::ClockFields c = detail::clockFields(ps.unsafeInt());
        return {c.hour, c.minute, Pico::fromPicoseconds(c.second * detail::picosPerSecond + c.picoseconds)};
    }
    return detail::timeToTimeOfDaySlow(sinceMidnight);
}
// The time since midnight of a time of day.
DiffTime timeOfDayToTime(const TimeOfDay& t);

// The time of day at a fraction of the day (0 to 1), rounding down to the
// picosecond.
TimeOfDay dayFractionToTimeOfDay(const core::Rational& fraction);
// The fraction of the day that has passed at a time of day.
core::Rational timeOfDayToDayFraction(const TimeOfDay& t);

}  // namespace kalmet
