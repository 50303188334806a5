#pragma once
// Conversions between the date-time values and std::chrono.
//
//   using namespace std::chrono;
//   kalmet::Day d = kalmet::sysDaysToDay(sys_days{2024y / February / 29});
//   std::optional<sys_days> sd = kalmet::dayToSysDays(d);
//   auto t = kalmet::utcTimeToSysTime<milliseconds>(u);       // exact, or nothing
//   auto f = kalmet::utcTimeToSysTimeFloor<seconds>(u);       // rounded down, or nothing
//   kalmet::UTCTime back = kalmet::sysTimeToUTCTime(*t);
//
// Nothing is clamped or wrapped. A value that the target cannot hold is
// reported as an empty optional:
//   - beyond the range of the target's count (its `rep`), or of
//     std::chrono::year (-32767 to 32767) for year_month_day;
//   - for the exact forms, an instant or length that is not a whole number
//     of the target's ticks (0.5 ms as seconds), or a UTC instant inside a
//     leap second (std::chrono's system and local clocks have none);
//   - the Floor forms round towards the past (std::chrono::floor), so
//     -0.5 ms is -1 ms, and count a leap second as the end of its day (as
//     POSIX time does: 23:59:60.5 is the next midnight).
// From std::chrono to the values every conversion is exact; a duration
// whose tick is not a whole number of picoseconds (finer than the values'
// resolution) is refused at compile time: std::chrono::floor it first.
// Counts must be integral (no floating-point durations).
#include <chrono>
#include <cstdint>
#include <optional>
#include <ratio>
#include <type_traits>
#include <utility>

#include "Core/Integer.h"
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Clock/DiffTime.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/LocalTime/LocalTime.h"

namespace kalmet {

namespace detail {

// Picoseconds (an exact count) to ticks of num/den seconds: exactly, or
// rounded towards minus infinity when `floor`; nothing when not exact (and
// not `floor`) or when the count is not an Int.
std::optional<core::Int> picosecondsToTicks(const core::Integer& picoseconds, std::intmax_t num, std::intmax_t den,
                                            bool floor);
// Ticks of num/den seconds to picoseconds; the tick must be a whole number
// of picoseconds (checked at compile time by the callers).
core::Integer ticksToPicoseconds(const core::Integer& ticks, std::intmax_t num, std::intmax_t den);
// The picoseconds since 1970-01-01 00:00 of a day and a time since its
// midnight; nothing when `exact` and the time is in a leap second (86400 s
// or more), else a leap second counts as the end of the day.
std::optional<core::Integer> picosecondsSinceEpoch(const Day& day, const core::Integer& sinceMidnight, bool exact);
// The day and the picoseconds since its midnight of picoseconds since
// 1970-01-01 00:00.
std::pair<Day, core::Integer> dayAndTimeOfPicoseconds(const core::Integer& picoseconds);

template <class Period>
constexpr bool wholePicoseconds() {
    // Period * 10^12 is a whole number: num * 10^12 divisible by den.
    using U = unsigned __int128;
    return static_cast<U>(Period::num) * static_cast<U>(1'000'000'000'000) % static_cast<U>(Period::den) == 0;
}

template <class Duration>
std::optional<Duration> ticksOf(const core::Integer& picoseconds, bool floor) {
    using Rep = typename Duration::rep;
    using Period = typename Duration::period;
    static_assert(std::is_integral_v<Rep>, "kalmet converts to durations with an integral count only");
    const auto ticks = picosecondsToTicks(picoseconds, Period::num, Period::den, floor);
    if (!ticks || !std::in_range<Rep>(*ticks)) return std::nullopt;
    return Duration(static_cast<Rep>(*ticks));
}

template <class Rep, class Period>
core::Integer picosecondsOf(const std::chrono::duration<Rep, Period>& d) {
    static_assert(std::is_integral_v<Rep>, "kalmet converts from durations with an integral count only");
    static_assert(wholePicoseconds<Period>(),
                  "the duration's tick is not a whole number of picoseconds: std::chrono::floor it first");
    return ticksToPicoseconds(core::Integer(static_cast<core::Int>(d.count())), Period::num, Period::den);
}

}  // namespace detail

// ---- Days ----------------------------------------------------------------

// The sys_days of a day, or nothing beyond the range of its count.
std::optional<std::chrono::sys_days> dayToSysDays(const Day& d);
// The day of a sys_days.
Day sysDaysToDay(std::chrono::sys_days d);
// The year_month_day of a day, or nothing outside the years -32767..32767.
std::optional<std::chrono::year_month_day> dayToYearMonthDay(const Day& d);
// The day of a year_month_day, or nothing when it is not a valid date
// (!ymd.ok(), such as February 30).
std::optional<Day> yearMonthDayToDay(const std::chrono::year_month_day& ymd);

// ---- UTC instants --------------------------------------------------------

// The sys_time of a UTC instant, exact, or nothing (see above).
template <class Duration>
std::optional<std::chrono::sys_time<Duration>> utcTimeToSysTime(const UTCTime& t) {
    const auto ps = detail::picosecondsSinceEpoch(t.day, t.dayTime.picoseconds(), true);
    if (!ps) return std::nullopt;
    const auto d = detail::ticksOf<Duration>(*ps, false);
    if (!d) return std::nullopt;
    return std::chrono::sys_time<Duration>(*d);
}
// The sys_time of a UTC instant rounded down to the duration's tick (a
// leap second counts as the end of its day), or nothing beyond its range.
template <class Duration>
std::optional<std::chrono::sys_time<Duration>> utcTimeToSysTimeFloor(const UTCTime& t) {
    const auto ps = detail::picosecondsSinceEpoch(t.day, t.dayTime.picoseconds(), false);
    const auto d = detail::ticksOf<Duration>(*ps, true);
    if (!d) return std::nullopt;
    return std::chrono::sys_time<Duration>(*d);
}
// The UTC instant of a sys_time, exact.
template <class Duration>
UTCTime sysTimeToUTCTime(const std::chrono::sys_time<Duration>& t) {
    auto [day, ps] = detail::dayAndTimeOfPicoseconds(detail::picosecondsOf(t.time_since_epoch()));
    return UTCTime{std::move(day), DiffTime::fromPicoseconds(std::move(ps))};
}

// ---- Local times ---------------------------------------------------------

// The local_time of a local time, exact, or nothing (see above; seconds of
// 60 or more have no local_time).
template <class Duration>
std::optional<std::chrono::local_time<Duration>> localTimeToLocalTimePoint(const LocalTime& t) {
    const auto ps = detail::picosecondsSinceEpoch(t.day, timeOfDayToTime(t.timeOfDay).picoseconds(), true);
    if (!ps) return std::nullopt;
    const auto d = detail::ticksOf<Duration>(*ps, false);
    if (!d) return std::nullopt;
    return std::chrono::local_time<Duration>(*d);
}
// The same rounded down to the duration's tick, or nothing beyond its range.
template <class Duration>
std::optional<std::chrono::local_time<Duration>> localTimeToLocalTimePointFloor(const LocalTime& t) {
    const auto ps = detail::picosecondsSinceEpoch(t.day, timeOfDayToTime(t.timeOfDay).picoseconds(), false);
    const auto d = detail::ticksOf<Duration>(*ps, true);
    if (!d) return std::nullopt;
    return std::chrono::local_time<Duration>(*d);
}
// The local time of a local_time, exact.
template <class Duration>
LocalTime localTimePointToLocalTime(const std::chrono::local_time<Duration>& t) {
    auto [day, ps] = detail::dayAndTimeOfPicoseconds(detail::picosecondsOf(t.time_since_epoch()));
    return LocalTime{std::move(day), timeToTimeOfDay(DiffTime::fromPicoseconds(std::move(ps)))};
}

// ---- Lengths of time -----------------------------------------------------

// The duration of a DiffTime or NominalDiffTime, exact, or nothing.
template <class Duration, class Tag>
std::optional<Duration> toChronoDuration(const detail::PicoValue<Tag>& t) {
    return detail::ticksOf<Duration>(t.picoseconds(), false);
}
// The same rounded down to the duration's tick, or nothing beyond its range.
template <class Duration, class Tag>
std::optional<Duration> toChronoDurationFloor(const detail::PicoValue<Tag>& t) {
    return detail::ticksOf<Duration>(t.picoseconds(), true);
}
// The DiffTime and NominalDiffTime of a duration, exact.
template <class Rep, class Period>
DiffTime durationToDiffTime(const std::chrono::duration<Rep, Period>& d) {
    return DiffTime::fromPicoseconds(detail::picosecondsOf(d));
}
template <class Rep, class Period>
NominalDiffTime durationToNominalDiffTime(const std::chrono::duration<Rep, Period>& d) {
    return NominalDiffTime::fromPicoseconds(detail::picosecondsOf(d));
}

}  // namespace kalmet
