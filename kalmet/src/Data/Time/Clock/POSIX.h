#pragma once
// POSIX time: seconds since 1970-01-01 00:00 UTC, every day counted as
// 86400 s (a leap second shares its POSIX second with the next one).
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Clock/DiffTime.h"
#include "Data/Time/Clock/UTCTime.h"

namespace kalmet {

// Seconds since the POSIX epoch.
using POSIXTime = NominalDiffTime;

// 1970-01-01, the day of the POSIX epoch.
inline Day systemEpochDay() { return Day(core::Integer(40587)); }
// The length of a POSIX day: 86400 s.
inline NominalDiffTime posixDayLength() { return nominalDay(); }

// The POSIX time of a UTC instant; a time of day in a leap second counts
// as the end of the day.
POSIXTime utcTimeToPOSIXSeconds(const UTCTime& t);
// The UTC instant of a POSIX time.
UTCTime posixSecondsToUTCTime(const POSIXTime& t);

// The current POSIX time, read from the system clock.
POSIXTime getPOSIXTime();

}  // namespace kalmet
