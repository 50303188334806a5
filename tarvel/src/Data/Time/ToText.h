#pragma once
// ISO 8601 extended-format text of calendar and clock values: the exact
// forms the parsers of Data/Time/FromText.h read back to the same value.
//
//   core::Builder b;
//   tarvel::buildUTCTime(t, b);          // appends "2000-01-02T00:30:00Z"
//   core::Builder c = tarvel::buildDay(kalmet::fromGregorian(5, 1, 1));  // "0005-01-01"
//   core::Text text = tarvel::toText(zoned);        // "2000-01-01T12:00:00+01:00"
//   std::string s = tarvel::toString(kalmet::midday);  // "12:00:00"
//
// The forms:
//   year          0000 to 0999 for 0..999, -0001 to -0999 for -1..-999, plain
//                 decimal digits (with '-' when negative) for every other
//                 year, of any size: "2000", "0005", "-0001", "12345", "-1000"
//   month         year "-" MM                            "1999-12"
//   day           year "-" MM "-" DD                     "2000-02-29"
//   quarter       year "-q" digit                        "2021-q3"
//   quarter only  "q" digit                              "q1"
//   time of day   HH ":" MM ":" SS, then "." and the fraction of the second
//                 in groups of three digits, trailing all-zero groups
//                 dropped (none when the fraction is 0):
//                 "00:00:00", "23:59:60.500", "01:02:03.000000000001"
//   zone          "Z" for offset 0 (whatever the zone's name or summer
//                 flag), else sign HH ":" MM: "+05:30", "-00:01"
//   local time    day "T" time of day
//   UTC time      day "T" time of day "Z"; a time within a leap second is
//                 written 23:59:60 and more
//   zoned time    local time, then the zone
//
// The summer flag and name of a zone are not written: parsed back, a zone
// has only its offset. All output is ASCII.
//
// Values outside the calendar's valid ranges never fail: a field of a time
// of day or zone beyond two digits is written in full decimal ("100", "-1"),
// negative seconds with a '-', and the time since midnight of a UTC time
// below 0 or at 86401 s and beyond is first carried into the neighbouring
// days. Such text is not necessarily accepted by the parsers.
#include <charconv>
#include <cstddef>
#include <string>

#include "Core/Text.h"
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Quarter.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace tarvel {

// Each renderer appends the value's text to `out`; the fixed-width pieces
// are written straight into the builder's current chunk.
void buildYear(const kalmet::Year& year, core::Builder& out);
void buildMonth(const kalmet::Month& month, core::Builder& out);
void buildDay(const kalmet::Day& day, core::Builder& out);
void buildQuarter(const kalmet::Quarter& quarter, core::Builder& out);
void buildQuarterOfYear(kalmet::QuarterOfYear quarter, core::Builder& out);
void buildTimeOfDay(const kalmet::TimeOfDay& time, core::Builder& out);
void buildTimeZone(const kalmet::TimeZone& zone, core::Builder& out);
void buildLocalTime(const kalmet::LocalTime& time, core::Builder& out);
void buildUTCTime(const kalmet::UTCTime& time, core::Builder& out);
void buildZonedTime(const kalmet::ZonedTime& time, core::Builder& out);

// The same, each into a new builder that holds just the value's text.
core::Builder buildYear(const kalmet::Year& year);
core::Builder buildMonth(const kalmet::Month& month);
core::Builder buildDay(const kalmet::Day& day);
core::Builder buildQuarter(const kalmet::Quarter& quarter);
core::Builder buildQuarterOfYear(kalmet::QuarterOfYear quarter);
core::Builder buildTimeOfDay(const kalmet::TimeOfDay& time);
core::Builder buildTimeZone(const kalmet::TimeZone& zone);
core::Builder buildLocalTime(const kalmet::LocalTime& time);
core::Builder buildUTCTime(const kalmet::UTCTime& time);
core::Builder buildZonedTime(const kalmet::ZonedTime& time);

// The text of a value as a core::Text or a std::string. A Year (an
// Integer) is written as a year: toString(kalmet::Year(5)) is "0005".
core::Text toText(const kalmet::Year& year);
core::Text toText(const kalmet::Month& month);
core::Text toText(const kalmet::Day& day);
core::Text toText(const kalmet::Quarter& quarter);
core::Text toText(kalmet::QuarterOfYear quarter);
core::Text toText(const kalmet::TimeOfDay& time);
core::Text toText(const kalmet::TimeZone& zone);
core::Text toText(const kalmet::LocalTime& time);
core::Text toText(const kalmet::UTCTime& time);
core::Text toText(const kalmet::ZonedTime& time);

std::string toString(const kalmet::Year& year);
std::string toString(const kalmet::Month& month);
std::string toString(const kalmet::Day& day);
std::string toString(const kalmet::Quarter& quarter);
std::string toString(kalmet::QuarterOfYear quarter);
std::string toString(const kalmet::TimeOfDay& time);
std::string toString(const kalmet::TimeZone& zone);
std::string toString(const kalmet::LocalTime& time);
std::string toString(const kalmet::UTCTime& time);
std::string toString(const kalmet::ZonedTime& time);

// Into a buffer the caller owns, in the style of std::to_chars: writes the
// text into [first, last) and returns the end of what was written with an
// empty error code, or {last, std::errc::value_too_large} when the text does
// not fit (the buffer's contents are then unspecified). Never writes at or
// past `last`; allocates nothing for values that fit 64 bits:
//
//   char buf[tarvel::maxUTCTimeChars];
//   auto [end, ec] = tarvel::toChars(buf, buf + sizeof buf, t);
//   if (ec == std::errc()) log(std::string_view(buf, end - buf));
std::to_chars_result toChars(char* first, char* last, const kalmet::Year& year);
std::to_chars_result toChars(char* first, char* last, const kalmet::Month& month);
std::to_chars_result toChars(char* first, char* last, const kalmet::Day& day);
std::to_chars_result toChars(char* first, char* last, const kalmet::Quarter& quarter);
std::to_chars_result toChars(char* first, char* last, kalmet::QuarterOfYear quarter);
std::to_chars_result toChars(char* first, char* last, const kalmet::TimeOfDay& time);
std::to_chars_result toChars(char* first, char* last, const kalmet::TimeZone& zone);
std::to_chars_result toChars(char* first, char* last, const kalmet::LocalTime& time);
std::to_chars_result toChars(char* first, char* last, const kalmet::UTCTime& time);
std::to_chars_result toChars(char* first, char* last, const kalmet::ZonedTime& time);

// The longest text toChars writes for a value whose year fits an Int (and,
// for times of day, whose hour and minute are below 100 and seconds below
// 100, as every valid time has), so that a buffer of this size always
// suffices: the year "-9223372036854775808" is 20 bytes, a time of day
// "HH:MM:SS.ffffffffffff" 21, a zone 22 (an hour offset beyond 64-bit
// minutes' sixtieth is written in full).
inline constexpr std::size_t maxYearChars = 20;
inline constexpr std::size_t maxMonthChars = maxYearChars + 3;
inline constexpr std::size_t maxDayChars = maxYearChars + 6;
inline constexpr std::size_t maxQuarterChars = maxYearChars + 3;
inline constexpr std::size_t maxQuarterOfYearChars = 2;
inline constexpr std::size_t maxTimeOfDayChars = 21;
inline constexpr std::size_t maxTimeZoneChars = 22;
inline constexpr std::size_t maxLocalTimeChars = maxDayChars + 1 + maxTimeOfDayChars;
inline constexpr std::size_t maxUTCTimeChars = maxLocalTimeChars + 1;
inline constexpr std::size_t maxZonedTimeChars = maxLocalTimeChars + maxTimeZoneChars;

}  // namespace tarvel
