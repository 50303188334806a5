#pragma once
// Reading dates, times and zones by a format text of strftime directives
// (the language is described in Data/Time/Format/Directives.h and
// docs/time-format.md). The wrappers parseTime, readTime and readsTime of
// Data/Time/Format.h are what most callers want; these are the general
// forms they are built on.
//
//   auto d = kalmet::parseTimeMultipleM<kalmet::Day>(true, kalmet::defaultTimeLocale(),
//                                                    {{"%Y-%m-%d", " 2024-02-29 "}});
//   // Right: 2024-02-29
//   auto t = kalmet::parseTimeMultipleM<kalmet::LocalTime>(false, kalmet::defaultTimeLocale(),
//                                                          {{"%F", "2024-02-29"}, {"%R", "12:30"}});
//   // Right: 2024-02-29 12:30:00
//
// What the fields read must contain, by the type read:
//   Day        a date: a year with a month and day of month, a year with a
//              day of the year, an ISO week-numbering year with an ISO week
//              and a weekday, or a year with a %U or %W week and a weekday;
//              or %s with a zone (%z or %Z)
//   Month      a year and a month, or a date
//   Quarter    a year and a month, or a date (the quarter they fall in)
//   DayOfWeek  a weekday (%u %w %a %A), or a date
//   TimeOfDay  an hour: %H or %k, or %I or %l with %p; the minutes and
//              seconds are 0 when absent (seconds without minutes are an
//              error); or %s with a zone
//   LocalTime  a date and a time of day
//   ZonedTime  a date, a time of day and a zone
//   UTCTime    %s, or a date and a time of day in the zone read, in UTC when
//              none is read
//   TimeZone   a zone: %z, %Ez or %Z
// Every field read must agree with the value: a weekday, week, day of the
// year, century or two-digit year that is not the date's, %H and %I or %p
// that disagree, a field read twice with two values, %z and %Z with two
// offsets, or %s that is not the instant of the date and time read all
// fail. Fields beyond what the type needs are checked all the same
// (reading a TimeOfDay from "2024-02-30 12:00" fails on the date). A
// %s with local fields or a local type needs a zone to relate them.
#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "Core/Either.h"
#include "Core/Text.h"
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Quarter.h"
#include "Data/Time/Calendar/Week.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/Format/Locale.h"
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet {

namespace detail {

using ParsedTime = std::variant<Day, Month, Quarter, DayOfWeek, TimeOfDay, LocalTime, ZonedTime, UTCTime, TimeZone>;

template <class T, std::size_t I = 0>
constexpr std::size_t parsedIndex() {
    if constexpr (I == std::variant_size_v<ParsedTime>) return I;
    else if constexpr (std::same_as<T, std::variant_alternative_t<I, ParsedTime>>) return I;
    else return parsedIndex<T, I + 1>();
}

core::Either<std::string, ParsedTime> parseTimeMultiple(std::size_t target, bool acceptWS, const TimeLocale& locale,
                                                        const std::vector<std::pair<std::string, std::string>>& pairs);
std::vector<std::pair<ParsedTime, core::Text>> readSTimeAny(std::size_t target, bool acceptWS,
                                                            const TimeLocale& locale, std::string_view format,
                                                            const core::Text& input);

}  // namespace detail

// The types a format can be read into: Day, Month, Quarter, DayOfWeek,
// TimeOfDay, LocalTime, ZonedTime, UTCTime and TimeZone.
template <class T>
concept ParseTimeTarget = detail::parsedIndex<T>() < std::variant_size_v<detail::ParsedTime>;

// Reads each input by its format, the whole input (when acceptWS, white
// space before and after it too), and builds the value from the fields of
// all of them together; Left with a message naming the first thing that
// did not match, the field that contradicts another, or what is missing.
template <ParseTimeTarget T>
core::Either<std::string, T> parseTimeMultipleM(bool acceptWS, const TimeLocale& locale,
                                                const std::vector<std::pair<std::string, std::string>>& pairs) {
    auto r = detail::parseTimeMultiple(detail::parsedIndex<T>(), acceptWS, locale, pairs);
    if (!r) return core::Left(r.left());
    return core::Right(std::get<T>(*r));
}

// Reads the whole input by the format; raises core::Error with the message
// of parseTimeMultipleM when it does not give a value.
template <ParseTimeTarget T>
T parseTimeOrError(bool acceptWS, const TimeLocale& locale, std::string_view format, std::string_view input) {
    auto r = parseTimeMultipleM<T>(acceptWS, locale, {{std::string(format), std::string(input)}});
    if (!r) throw core::Error(r.left());
    return *r;
}

// Reads the format from the front of the input (after white space when
// acceptWS): the list of (value, rest of the input), empty when the front
// does not match or its fields do not give a value. The reading is
// deterministic, so the list has at most one element; the rest shares the
// input's bytes.
template <ParseTimeTarget T>
std::vector<std::pair<T, core::Text>> readSTime(bool acceptWS, const TimeLocale& locale, std::string_view format,
                                                const core::Text& input) {
    std::vector<std::pair<T, core::Text>> out;
    for (auto& [v, rest] : detail::readSTimeAny(detail::parsedIndex<T>(), acceptWS, locale, format, input))
        out.emplace_back(std::get<T>(std::move(v)), std::move(rest));
    return out;
}

}  // namespace kalmet
