#pragma once
// The calendar as a whole: days, the Gregorian calendar, ordinal dates,
// months and days of the year, days of the week, months and quarters. ISO
// week dates, the Julian calendar and Easter are in their own modules
// (Data/Time/Calendar/WeekDate.h, Julian.h, Easter.h).
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Gregorian.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/MonthDay.h"
#include "Data/Time/Calendar/OrdinalDate.h"
#include "Data/Time/Calendar/Quarter.h"
#include "Data/Time/Calendar/Types.h"
#include "Data/Time/Calendar/Week.h"
