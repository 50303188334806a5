#include "Data/Time/Clock/TAI.h"

namespace kalmet {

namespace {

const core::Integer& dayPicos() {
    static const core::Integer v(86400 * detail::picosPerSecond);
    return v;
}

// The TAI instant at which a UTC day starts.
std::optional<AbsoluteTime> dayStart(const LeapSecondMap& table, const Day& day) {
    const auto leap = table(day);
    if (!leap) return std::nullopt;
    return AbsoluteTime(DiffTime::fromPicoseconds(day.toModifiedJulianDay() * dayPicos() +
                                                  core::Integer(*leap) * core::Integer(detail::picosPerSecond)));
}

}  // namespace

std::optional<DiffTime> utcDayLength(const LeapSecondMap& table, const Day& day) {
    const auto today = table(day);
    const auto tomorrow = table(addDays(core::Integer(1), day));
    if (!today || !tomorrow) return std::nullopt;
    return DiffTime::fromSeconds(core::Integer(86400) + core::Integer(*tomorrow) - core::Integer(*today));
}

std::optional<AbsoluteTime> utcToTAITime(const LeapSecondMap& table, const UTCTime& t) {
    const auto len = utcDayLength(table, t.day);
    const auto start = dayStart(table, t.day);
    if (!len || !start) return std::nullopt;
    // A time past the end of the day (no leap second that day) is clipped.
    return addAbsoluteTime(t.dayTime < *len ? t.dayTime : *len, *start);
}

std::optional<UTCTime> taiToUTCTime(const LeapSecondMap& table, const AbsoluteTime& t) {
    // Start from the day the instant would fall on without leap seconds and
    // move until the instant lies within the day. Offsets of a real table
    // settle in a step or two; the bound keeps a table whose offsets jump
    // about from looping for ever.
    Day day(core::div(t.sinceEpoch().picoseconds(), dayPicos()));
    for (int step = 0; step < 64; ++step) {
        const auto start = dayStart(table, day);
        const auto len = utcDayLength(table, day);
        if (!start || !len || len->picoseconds().signum() <= 0) return std::nullopt;
        const DiffTime since = diffAbsoluteTime(t, *start);
        const core::Integer shift = core::div(since.picoseconds(), len->picoseconds());
        if (shift.signum() == 0) return UTCTime{day, since};
        day = addDays(shift, day);
    }
    return std::nullopt;
}

}  // namespace kalmet
