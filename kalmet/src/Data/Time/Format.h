#pragma once
// Date-time formatting: writing values by a format text (formatTime),
// reading them back (parseTime, readTime, readsTime and the general forms
// of Data/Time/Format/Parse.h), the locale of names and formats, and the
// format language (Data/Time/Format/Directives.h, docs/time-format.md).
//
//   const auto& en = kalmet::defaultTimeLocale();
//   std::string s = kalmet::formatTime(en, "%a %d %b %Y", day);        // "Thu 29 Feb 2024"
//   std::optional<kalmet::Day> d = kalmet::parseTime<kalmet::Day>(en, "%Y-%m-%d", " 2024-02-29 ");
//   kalmet::LocalTime t = kalmet::readTime<kalmet::LocalTime>(en, "%F %T", "2024-02-29 12:00:00");
//   auto reader = kalmet::readsTime<kalmet::Day>(en, "%F");
//   reader(core::Text("2024-02-29 and more"))   // {(2024-02-29, " and more")}
//
// parseTime and readTime accept white space around the input, readsTime
// before the value (what follows it is the rest).
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Core/Error.h"
#include "Core/Text.h"
#include "Data/Time/Format/Directives.h"
#include "Data/Time/Format/Format.h"
#include "Data/Time/Format/Locale.h"
#include "Data/Time/Format/Parse.h"

namespace kalmet {

// The value the whole input gives by the format, with white space accepted
// before and after it; nothing when the input does not match or its fields
// do not name one value (see parseTimeMultipleM).
template <ParseTimeTarget T>
std::optional<T> parseTime(const TimeLocale& locale, std::string_view format, std::string_view input) {
    auto r = parseTimeMultipleM<T>(true, locale, {{std::string(format), std::string(input)}});
    if (!r) return std::nullopt;
    return *r;
}

// The same value; raises core::Error with a message that names the input,
// the format and what went wrong when there is none.
template <ParseTimeTarget T>
T readTime(const TimeLocale& locale, std::string_view format, std::string_view input) {
    return parseTimeOrError<T>(true, locale, format, input);
}

// A reader in the list-of-successes form: the input to the list of
// (value, rest of the input).
template <class T>
using ReadS = std::function<std::vector<std::pair<T, core::Text>>(const core::Text&)>;

// The reader of the format, skipping white space before the value (see
// readSTime). It holds copies of the locale and the format.
template <ParseTimeTarget T>
ReadS<T> readsTime(const TimeLocale& locale, std::string format) {
    return [locale, format = std::move(format)](const core::Text& input) {
        return readSTime<T>(true, locale, format, input);
    };
}

}  // namespace kalmet
