#pragma once
// Clocks in general: lengths of time (DiffTime, NominalDiffTime), UTC
// instants and mean solar time, and reading the current time. POSIX, system
// and TAI clocks are in Data/Time/Clock/POSIX.h, System.h and TAI.h.
#include "Data/Time/Clock/DiffTime.h"
#include "Data/Time/Clock/POSIX.h"
#include "Data/Time/Clock/System.h"
#include "Data/Time/Clock/UTCTime.h"
