#pragma once
// Local time: times of day, time zones, local and zoned times and their
// relation to UTC.
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"
