#pragma once
// formatTime: a date, time or zone written by a format text of strftime
// directives (the language is described in Data/Time/Format/Directives.h
// and docs/time-format.md).
//
//   const auto& en = kalmet::defaultTimeLocale();
//   kalmet::formatTime(en, "%A %-d %B %Y", kalmet::fromGregorian(2024, 2, 29))
//       == "Thursday 29 February 2024"
//   kalmet::formatTime(en, "%FT%T%Q%Ez", zoned)  == "2024-02-29T12:34:56.5+05:30"
//
// Each value supplies the directives its type has the information for:
//   Day          the date and week directives
//   Month        %Y %C %y %m %B %b %h
//   TimeOfDay    the time directives
//   LocalTime    the date, week and time directives
//   UTCTime      as LocalTime (in UTC), the zone directives (zone "UTC",
//                offset +0000) and %s
//   ZonedTime    as LocalTime, its zone, and %s of its instant
//   TimeZone     the zone directives
//   DayOfWeek    %u %w %a %A
// A directive the value cannot supply (%H of a Day), an unknown directive,
// a width above 1000, a locale without the names or formats a directive
// needs, and a format that ends inside a directive raise core::Error with
// a message that names it: the format is the caller's, not input.
#include <string>
#include <string_view>

#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Week.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/Format/Locale.h"
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet {

std::string formatTime(const TimeLocale& locale, std::string_view format, const Day& day);
std::string formatTime(const TimeLocale& locale, std::string_view format, const Month& month);
std::string formatTime(const TimeLocale& locale, std::string_view format, const TimeOfDay& time);
std::string formatTime(const TimeLocale& locale, std::string_view format, const LocalTime& time);
std::string formatTime(const TimeLocale& locale, std::string_view format, const UTCTime& time);
std::string formatTime(const TimeLocale& locale, std::string_view format, const ZonedTime& time);
std::string formatTime(const TimeLocale& locale, std::string_view format, const TimeZone& zone);
std::string formatTime(const TimeLocale& locale, std::string_view format, DayOfWeek day);

}  // namespace kalmet
