#include "Data/Time/Clock/System.h"

#include <ctime>

#include "Data/Time/Clock/POSIX.h"

namespace kalmet {

SystemTime getSystemTime() {
    std::timespec ts{};
    std::timespec_get(&ts, TIME_UTC);
    return {static_cast<core::Int>(ts.tv_sec), static_cast<std::uint32_t>(ts.tv_nsec)};
}

UTCTime systemToUTCTime(const SystemTime& t) {
    return posixSecondsToUTCTime(POSIXTime::fromPicoseconds(
        core::Integer(t.seconds) * core::Integer(detail::picosPerSecond) +
        core::Integer(static_cast<core::Int>(t.nanoseconds) * 1000)));
}

std::optional<SystemTime> utcToSystemTime(const UTCTime& t) {
    const auto [s, ps] = core::divMod(utcTimeToPOSIXSeconds(t).picoseconds(), core::Integer(detail::picosPerSecond));
    if (!s.isSmall()) return std::nullopt;  // beyond the 64-bit second count
    return SystemTime{s.unsafeInt(), static_cast<std::uint32_t>(ps.unsafeInt() / 1000)};
}

UTCTime getCurrentTime() { return systemToUTCTime(getSystemTime()); }

TimeZone getTimeZone(const UTCTime& t) {
    const std::optional<SystemTime> st = utcToSystemTime(t);
    if (!st) return utc();  // beyond what the system can tell
    const std::time_t when = static_cast<std::time_t>(st->seconds);
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) return utc();
    return TimeZone{static_cast<core::Int>(local.tm_gmtoff / 60), local.tm_isdst > 0,
                    local.tm_zone ? local.tm_zone : ""};
}

TimeZone getCurrentTimeZone() { return getTimeZone(getCurrentTime()); }

ZonedTime getZonedTime() {
    const UTCTime now = getCurrentTime();
    return utcToZonedTime(getTimeZone(now), now);
}

}  // namespace kalmet
