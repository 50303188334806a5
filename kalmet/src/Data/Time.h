#pragma once
// The date-time values as a whole: the calendar, clocks and local time,
// with their hashes (Data/Time/Orphans.h).
#include "Data/Time/Calendar.h"
#include "Data/Time/Clock.h"
#include "Data/Time/LocalTime.h"
#include "Data/Time/Orphans.h"
