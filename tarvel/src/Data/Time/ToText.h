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

}  // namespace tarvel
