#include "Data/Time/LocalTime/LocalTime.h"

namespace kalmet {

namespace {

constexpr core::Int picosPerMinute = 60 * detail::picosPerSecond;

// Minutes since midnight of an hour and minute shifted by `shift` minutes,
// split into a day offset and the minutes within that day.
struct Shifted {
    core::Int days;
    core::Int minutes;
};
Shifted shiftMinutes(core::Int hour, core::Int minute, core::Int shift, bool subtract) {
    // Hours and minutes of a TimeOfDay are small; the zone offset may be
    // any Int, so it is split into whole days and minutes first (and
    // negated in that form, which cannot overflow).
    core::Int shiftDays = detail::floorDiv(shift, 1440);
    core::Int shiftMinutes = detail::floorMod(shift, 1440);
    if (subtract) {
        shiftDays = shiftMinutes == 0 ? -shiftDays : -shiftDays - 1;
        shiftMinutes = shiftMinutes == 0 ? 0 : 1440 - shiftMinutes;
    }
    const core::Int total = hour * 60 + minute + shiftMinutes;
    return {shiftDays + detail::floorDiv(total, 1440), detail::floorMod(total, 1440)};
}

}  // namespace

UTCTime detail::localTimeToUTCSlow(const TimeZone& zone, const LocalTime& t) {
    const Shifted s = shiftMinutes(t.timeOfDay.hour, t.timeOfDay.minute, zone.minutes, true);
    const core::Integer ps = core::Integer(s.minutes * picosPerMinute) + t.timeOfDay.seconds.picoseconds();
    return {addDays(core::Integer(s.days), t.day), DiffTime::fromPicoseconds(ps)};
}

LocalTime utcToLocalTime(const TimeZone& zone, const UTCTime& t) {
    const TimeOfDay tod = timeToTimeOfDay(t.dayTime);
    const Shifted s = shiftMinutes(tod.hour, tod.minute, zone.minutes, false);
    return {addDays(core::Integer(s.days), t.day), TimeOfDay{s.minutes / 60, s.minutes % 60, tod.seconds}};
}

ZonedTime utcToZonedTime(const TimeZone& zone, const UTCTime& t) { return {utcToLocalTime(zone, t), zone}; }

UTCTime zonedTimeToUTC(const ZonedTime& t) { return localTimeToUTC(t.zone, t.localTime); }

LocalTime addLocalTime(const NominalDiffTime& d, const LocalTime& t) {
    return utcToLocalTime(TimeZone{}, addUTCTime(d, localTimeToUTC(TimeZone{}, t)));
}

NominalDiffTime diffLocalTime(const LocalTime& a, const LocalTime& b) {
    return diffUTCTime(localTimeToUTC(TimeZone{}, a), localTimeToUTC(TimeZone{}, b));
}

LocalTime ut1ToLocalTime(const core::Rational& longitude, const UniversalTime& t) {
    // Local mean time runs ahead of UT1 by longitude / 360 of a day.
    const core::Rational localMjd = t.modJulianDate() + longitude / core::Rational(360);
    const core::Integer day = core::div(localMjd.numerator(), localMjd.denominator());
    const core::Rational fraction = localMjd - core::Rational(day);
    return {Day(day), dayFractionToTimeOfDay(fraction)};
}

UniversalTime localTimeToUT1(const core::Rational& longitude, const LocalTime& t) {
    return UniversalTime(core::Rational(t.day.toModifiedJulianDay()) + timeOfDayToDayFraction(t.timeOfDay) -
                         longitude / core::Rational(360));
}

}  // namespace kalmet
