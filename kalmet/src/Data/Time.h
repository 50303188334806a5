#pragma once
// The date-time values as a whole: the calendar, clocks and local time.
#include "Data/Time/Calendar.h"
#include "Data/Time/Clock.h"
#include "Data/Time/LocalTime.h"
