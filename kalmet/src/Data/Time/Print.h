#pragma once
// Writing the date-time values as text without naming a format: ISO 8601
// by default (isoText, operator<<), or the formatTime language when the
// caller gives a format (formatWith, used by the fmt and std::format
// hooks of Data/Time/Fmt.h).
//
//   kalmet::isoText(kalmet::fromGregorian(2024, 2, 29))   // "2024-02-29"
//   std::cout << utcTime;                                 // 2024-02-29T12:00:00.5Z
//   kalmet::formatWith("%d/%m/%Y", day)               // "29/02/2024"
//
// The ISO 8601 forms (years of at least four digits, with a sign when
// negative; the seconds' fraction without trailing zeros):
//   Day            2024-02-29          Month          2024-02
//   Quarter        2024-Q1             QuarterOfYear  Q1
//   TimeOfDay      12:34:56.5          LocalTime      2024-02-29T12:34:56.5
//   UTCTime        2024-02-29T12:34:56.5Z
//   ZonedTime      2024-02-29T12:34:56.5+05:30 ("Z" for offset 0)
//   TimeZone       +05:30, or Z for offset 0
// and, where ISO 8601 has no form of its own:
//   DayOfWeek      the English name, "Thursday"
//   DiffTime, NominalDiffTime   seconds with the unit, "1.5s", "-0.25s"
#include <iosfwd>
#include <string>
#include <string_view>

#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Quarter.h"
#include "Data/Time/Calendar/Week.h"
#include "Data/Time/Clock/DiffTime.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet {

std::string isoText(const Day& x);
std::string isoText(const Month& x);
std::string isoText(const Quarter& x);
std::string isoText(QuarterOfYear x);
std::string isoText(DayOfWeek x);
std::string isoText(const TimeOfDay& x);
std::string isoText(const LocalTime& x);
std::string isoText(const UTCTime& x);
std::string isoText(const ZonedTime& x);
std::string isoText(const TimeZone& x);
std::string isoText(const DiffTime& x);
std::string isoText(const NominalDiffTime& x);

// The value written by `format`: isoText when it is empty, else formatTime
// with the default locale (types that formatTime does not write, such as
// Quarter and DiffTime, accept only the empty format). Raises core::Error
// for a format that does not suit the value (%H of a Day).
std::string formatWith(std::string_view format, const Day& x);
std::string formatWith(std::string_view format, const Month& x);
std::string formatWith(std::string_view format, const Quarter& x);
std::string formatWith(std::string_view format, QuarterOfYear x);
std::string formatWith(std::string_view format, DayOfWeek x);
std::string formatWith(std::string_view format, const TimeOfDay& x);
std::string formatWith(std::string_view format, const LocalTime& x);
std::string formatWith(std::string_view format, const UTCTime& x);
std::string formatWith(std::string_view format, const ZonedTime& x);
std::string formatWith(std::string_view format, const TimeZone& x);
std::string formatWith(std::string_view format, const DiffTime& x);
std::string formatWith(std::string_view format, const NominalDiffTime& x);

// isoText on a stream.
std::ostream& operator<<(std::ostream& os, const Day& x);
std::ostream& operator<<(std::ostream& os, const Month& x);
std::ostream& operator<<(std::ostream& os, const Quarter& x);
std::ostream& operator<<(std::ostream& os, QuarterOfYear x);
std::ostream& operator<<(std::ostream& os, DayOfWeek x);
std::ostream& operator<<(std::ostream& os, const TimeOfDay& x);
std::ostream& operator<<(std::ostream& os, const LocalTime& x);
std::ostream& operator<<(std::ostream& os, const UTCTime& x);
std::ostream& operator<<(std::ostream& os, const ZonedTime& x);
std::ostream& operator<<(std::ostream& os, const TimeZone& x);
std::ostream& operator<<(std::ostream& os, const DiffTime& x);
std::ostream& operator<<(std::ostream& os, const NominalDiffTime& x);

}  // namespace kalmet
