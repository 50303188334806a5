#include "Data/Time/LocalTime/TimeOfDay.h"

namespace kalmet {

using detail::picosPerDay;
using detail::picosPerHour;
using detail::picosPerMinute;

const TimeOfDay midnight{0, 0, Pico()};
const TimeOfDay midday{12, 0, Pico()};

std::optional<TimeOfDay> makeTimeOfDayValid(core::Int hour, core::Int minute, const Pico& seconds) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return std::nullopt;
    if (seconds.picoseconds().signum() < 0 || seconds.picoseconds() >= core::Integer(61 * detail::picosPerSecond))
        return std::nullopt;
    return TimeOfDay{hour, minute, seconds};
}

TimeOfDay detail::timeToTimeOfDaySlow(const DiffTime& sinceMidnight) {
    const core::Integer& ps = sinceMidnight.picoseconds();
    if (ps >= core::Integer(picosPerDay))
        return {23, 59, Pico::fromPicoseconds(ps - core::Integer(picosPerDay - picosPerMinute))};
    // A negative length: counted back from midnight within the day before.
    const ClockFields c = clockFields(core::mod(ps, core::Integer(picosPerDay)).unsafeInt());
    return {c.hour, c.minute, Pico::fromPicoseconds(c.second * picosPerSecond + c.picoseconds)};
}

DiffTime timeOfDayToTime(const TimeOfDay& t) {
    return DiffTime::fromPicoseconds(core::Integer(t.hour * picosPerHour + t.minute * picosPerMinute) +
                                     t.seconds.picoseconds());
}

TimeOfDay dayFractionToTimeOfDay(const core::Rational& fraction) {
    return timeToTimeOfDay(DiffTime::fromRational(fraction * core::Rational(86400)));
}

core::Rational timeOfDayToDayFraction(const TimeOfDay& t) {
    return timeOfDayToTime(t).toRational() / core::Rational(86400);
}

}  // namespace kalmet
