#pragma once
// ISO 8601 week dates: a week-numbering year, a week of that year and a day
// of the week. Week 1 is the week (Monday to Sunday) that holds the year's
// first Thursday, so the week-numbering year can differ from the calendar
// year for a few days around 1 January.
#include <optional>

#include "Data/Time/Calendar/Days.h"

namespace kalmet {

// A week-numbering year, an ISO week (1..53) and a day of the week
// (1 = Monday .. 7 = Sunday).
struct WeekDate {
    Year year;
    WeekOfYear week;
    core::Int dayOfWeek;
    friend bool operator==(const WeekDate&, const WeekDate&) = default;
};

// The ISO week date of a day.
WeekDate toWeekDate(const Day& day);

// The number of ISO weeks (52 or 53) of a week-numbering year.
WeekOfYear isoWeeksInYear(const Year& year);

// The day of a week date; the day of the week is clipped to 1..7 and the
// week to 1..the year's number of weeks.
Day fromWeekDate(const Year& year, WeekOfYear week, core::Int dayOfWeek);

// The day of a week date, or nothing when the week or day is out of range.
std::optional<Day> fromWeekDateValid(const Year& year, WeekOfYear week, core::Int dayOfWeek);

}  // namespace kalmet
