#pragma once
// Times of day: hour, minute and seconds (below 61, so that a leap second
// fits), and their conversions to and from the time since midnight and the
// fraction of a day.
//
//   auto t = kalmet::makeTimeOfDayValid(23, 59, kalmet::Pico::fromSeconds(60));  // a leap second
//   kalmet::timeOfDayToTime(kalmet::midday) == kalmet::secondsToDiffTime(43200)
#include <compare>
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

// The time of day a length of time after midnight. A whole day or more
// gives 23:59 with seconds of 60 or more (the time within a leap second).
TimeOfDay timeToTimeOfDay(const DiffTime& sinceMidnight);
// The time since midnight of a time of day.
DiffTime timeOfDayToTime(const TimeOfDay& t);

// The time of day at a fraction of the day (0 to 1), rounding down to the
// picosecond.
TimeOfDay dayFractionToTimeOfDay(const core::Rational& fraction);
// The fraction of the day that has passed at a time of day.
core::Rational timeOfDayToDayFraction(const TimeOfDay& t);

}  // namespace kalmet
