#pragma once
// The calendar's type names: Year, MonthOfYear, DayOfMonth, DayOfYear,
// WeekOfYear, Day, DayOfWeek, Month, Quarter and QuarterOfYear.
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Quarter.h"
#include "Data/Time/Calendar/Week.h"
