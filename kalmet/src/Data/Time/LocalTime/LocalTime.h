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

namespace detail {
UTCTime localTimeToUTCSlow(const TimeZone& zone, const LocalTime& t);

// localTimeToUTC on machine integers: a day number below smallDayBound, an
// hour and minute in range, picoseconds from 0 to below smallDayBound and a
// zone offset within a day either way, so the carry is at most a day.
inline UTCTime localFieldsToUTC(core::Int mjd, core::Int hour, core::Int minute, core::Int picoseconds,
                                core::Int zoneMinutes) {
    core::Int minutes = hour * 60 + minute - zoneMinutes;  // -1439 .. 2878
    const core::Int days = minutes < 0 ? -1 : (minutes >= 1440 ? 1 : 0);
    minutes -= days * 1440;
    return UTCTime{Day(core::Integer(mjd + days)),
                   DiffTime::fromPicoseconds(core::Integer(minutes * 60 * picosPerSecond + picoseconds))};
}
}  // namespace detail

// The UTC instant at which a local time holds in a zone: the zone's minutes
// are subtracted, carrying into the neighbouring day where needed.
inline UTCTime localTimeToUTC(const TimeZone& zone, const LocalTime& t) {
    const core::Integer& mjd = t.day.toModifiedJulianDay();
    const core::Integer& ps = t.timeOfDay.seconds.picoseconds();
    const TimeOfDay& tod = t.timeOfDay;
    if (detail::isSmallDay(mjd) && ps.isSmall() && ps.unsafeInt() >= 0 && ps.unsafeInt() < detail::smallDayBound &&
        tod.hour >= 0 && tod.hour < 24 && tod.minute >= 0 && tod.minute < 60 && zone.minutes > -1440 &&
        zone.minutes < 1440) [[likely]]
        return detail::localFieldsToUTC(mjd.unsafeInt(), tod.hour, tod.minute, ps.unsafeInt(), zone.minutes);
    return detail::localTimeToUTCSlow(zone, t);
}

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
