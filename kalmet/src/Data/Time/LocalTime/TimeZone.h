#pragma once
// Time zones: an offset from UTC in minutes (positive east), whether the
// zone is a summer-only one, and its name (possibly empty).
//
//   kalmet::minutesToTimeZone(330)          // +05:30, no name
//   kalmet::timeZoneOffsetString(kalmet::hoursToTimeZone(-8)) == "-0800"
#include <string>

#include "Core/Types.h"

namespace kalmet {

struct TimeZone {
    core::Int minutes = 0;
    bool summerOnly = false;
    std::string name;
    friend bool operator==(const TimeZone&, const TimeZone&) = default;
};

// UTC: offset 0, not summer-only, named "UTC". This is the zone that
// formatTime writes for a UTCTime and that %Z reads from "UTC". It is not
// equal to utcTimeZone, the zone without a name that an offset "Z" or
// "+00:00" reads as (parseTimeZone("Z") == utcTimeZone, != utc()):
// equality compares names too. Compare offsets (zone.minutes == 0) to ask
// whether a zone is UTC whatever its name.
TimeZone utc();
// UTC without a name: offset 0, not summer-only, name "". Reading the
// offsets "Z", "+0000" or "+00:00" yields exactly this zone.
inline const TimeZone utcTimeZone{0, false, {}};
// A zone of the given offset in minutes, not summer-only, with no name.
inline TimeZone minutesToTimeZone(core::Int minutes) { return TimeZone{minutes, false, {}}; }
// A zone of the given offset in hours, not summer-only, with no name.
inline TimeZone hoursToTimeZone(core::Int hours) { return minutesToTimeZone(hours * 60); }

// The offset as "+HHMM" or "-HHMM" (more hour digits when needed).
std::string timeZoneOffsetString(const TimeZone& zone);
// The offset with a separator between hours and minutes, e.g. "+05:30".
std::string timeZoneOffsetString(const TimeZone& zone, char separator);

}  // namespace kalmet
