#pragma once
// The system clock: the one place where the libraries ask the operating
// system for something (the current time and the local time zone).
#include <compare>
#include <cstdint>
#include <optional>

#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet {

// Seconds and nanoseconds since 1970-01-01 00:00 UTC, as the system counts.
struct SystemTime {
    core::Int seconds = 0;
    std::uint32_t nanoseconds = 0;  // 0 to 999999999
    friend bool operator==(const SystemTime&, const SystemTime&) = default;
    friend auto operator<=>(const SystemTime&, const SystemTime&) = default;
};

// Now, as the system clock has it.
SystemTime getSystemTime();
// The UTC instant of a system time.
UTCTime systemToUTCTime(const SystemTime& t);
// The system time of a UTC instant (nanoseconds rounded down, towards the
// past), or nothing when its seconds do not fit the 64-bit count (before
// -292277022657-01-27T08:29:52Z or after 292277026596-12-04T15:30:07Z):
// such an instant is reported, never clamped to the nearest count.
std::optional<SystemTime> utcToSystemTime(const UTCTime& t);

// Now, in UTC.
UTCTime getCurrentTime();
// The zone the system is set to at a UTC instant (offset, summer flag and
// abbreviation), or UTC when the system cannot tell.
TimeZone getTimeZone(const UTCTime& t);
// The zone the system is set to now.
TimeZone getCurrentTimeZone();
// Now, in the system's zone.
ZonedTime getZonedTime();

}  // namespace kalmet
