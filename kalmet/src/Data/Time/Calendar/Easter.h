#pragma once
// Easter dates: the Gregorian (Western) and the Orthodox Easter Sunday of a
// year, both returned as Day values (so both read in the Gregorian
// calendar through toGregorian).
#include "Data/Time/Calendar/Days.h"

namespace kalmet {

// The first Sunday strictly after a day.
Day sundayAfter(const Day& day);

// Easter Sunday of a year by the Gregorian computus.
Day gregorianEaster(const Year& year);

// Easter Sunday of a year by the Julian computus of the Orthodox churches.
Day orthodoxEaster(const Year& year);

}  // namespace kalmet
