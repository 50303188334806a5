#pragma once
// Local times (a day and a time of day, in no particular zone), zoned times
// (a local time and the zone it holds in), and their relation to UTC.
//
//   auto u = kalmet::localTimeToUTC(kalmet::minutesToTimeZone(-60),
//                                    kalmet::LocalTime{kalmet::fromGregorian(2000, 1, 1), {23, 30, {}}});
//   // u is 2000-01-02 00:30 UTC
#include <compare>

#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Clock/DiffTime.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet {

// A day and a time of day.
struct LocalTime {
    Day day;
    TimeOfDay timeOfDay;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
    friend std::strong_ordering operator<=>(const LocalTime& a, const LocalTime& b) noexcept {
        if (auto c = a.day <=> b.day; c != 0) return c;
        return a.timeOfDay <=> b.timeOfDay;
    }
};

// A local time and the zone in which it holds.
struct ZonedTime {
    LocalTime localTime;
    TimeZone zone;
    friend bool operator==(const ZonedTime&, const ZonedTime&) = default;
};

// The UTC instant at which a local time holds in a zone: the zone's minutes
// are subtracted, carrying into the neighbouring day where needed.
UTCTime localTimeToUTC(const TimeZone& zone, const LocalTime& t);
// The local time in a zone at a UTC instant.
LocalTime utcToLocalTime(const TimeZone& zone, const UTCTime& t);

// The zoned time of a UTC instant in a zone.
ZonedTime utcToZonedTime(const TimeZone& zone, const UTCTime& t);
// The UTC instant of a zoned time.
UTCTime zonedTimeToUTC(const ZonedTime& t);

// The local time d after t (days of 86400 s), and the difference a - b.
LocalTime addLocalTime(const NominalDiffTime& d, const LocalTime& t);
NominalDiffTime diffLocalTime(const LocalTime& a, const LocalTime& b);

// Mean solar time at a longitude (degrees east) and back.
LocalTime ut1ToLocalTime(const core::Rational& longitude, const UniversalTime& t);
UniversalTime localTimeToUT1(const core::Rational& longitude, const LocalTime& t);

}  // namespace kalmet
