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

// UTC: offset 0, not summer-only, named "UTC".
TimeZone utc();
// A zone of the given offset in minutes, not summer-only, with no name.
inline TimeZone minutesToTimeZone(core::Int minutes) { return TimeZone{minutes, false, {}}; }
// A zone of the given offset in hours, not summer-only, with no name.
inline TimeZone hoursToTimeZone(core::Int hours) { return minutesToTimeZone(hours * 60); }

// The offset as "+HHMM" or "-HHMM" (more hour digits when needed).
std::string timeZoneOffsetString(const TimeZone& zone);
// The offset with a separator between hours and minutes, e.g. "+05:30".
std::string timeZoneOffsetString(const TimeZone& zone, char separator);

}  // namespace kalmet
