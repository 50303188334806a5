#pragma once
// TimeLocale: the names and formats that writing (formatTime) and reading
// (parseTime and its relatives) of dates and times by a format text use.
//
//   const kalmet::TimeLocale& en = kalmet::defaultTimeLocale();
//   en.months[1].first == "February"; en.wDays[0].second == "Sun"
#include <string>
#include <utility>
#include <vector>

#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet {

struct TimeLocale {
    // The days of the week as (full name, abbreviation), Sunday first: the
    // index is the %w number. Read by %a and %A.
    std::vector<std::pair<std::string, std::string>> wDays;
    // The months as (full name, abbreviation), January first. Read by %b,
    // %B and %h.
    std::vector<std::pair<std::string, std::string>> months;
    // The texts of the two halves of the day, before noon and after it (%p).
    std::pair<std::string, std::string> amPm;
    // The formats that %c, %x, %X and %r stand for: date and time, date,
    // time, and time on the 12-hour clock.
    std::string dateTimeFmt;
    std::string dateFmt;
    std::string timeFmt;
    std::string time12Fmt;
    // The zones %Z reads by name.
    std::vector<TimeZone> knownTimeZones;

    friend bool operator==(const TimeLocale&, const TimeLocale&) = default;
};

// The usual English names: "Sunday"/"Sun" to "Saturday"/"Sat",
// "January"/"Jan" to "December"/"Dec", "AM"/"PM"; the formats
// "%a %b %e %H:%M:%S %Z %Y", "%m/%d/%y", "%H:%M:%S" and "%I:%M:%S %p"; and
// the zones UT and GMT (offset 0), EST, EDT, CST, CDT, MST, MDT, PST and PDT
// of North America (the daylight-saving ones summer-only).
const TimeLocale& defaultTimeLocale();

}  // namespace kalmet
