#pragma once
// Formatting hooks: fmt::formatter (when the fmt library is available) and
// std::formatter (when the standard library has <format>) for the
// date-time values. An empty format writes ISO 8601 (kalmet::isoText); the
// text after the colon is a formatTime format (docs/time-format.md):
//
//   fmt::format("{}", day)                 // "2024-02-29"
//   fmt::format("{:%d %B %Y}", day)        // "29 February 2024"
//   fmt::format("{:%H:%M}", utcTime)       // "12:34"
//   std::format("{:%FT%T%Q%Ez}", zoned)    // where <format> exists
//
// A format the value cannot write (%H of a Day) throws fmt::format_error
// (std::format_error) with formatTime's message. Quarter, QuarterOfYear,
// DiffTime and NominalDiffTime take only the empty format.
//
// The hooks are header-only: this header needs fmt's headers only when fmt
// is used, and nothing of fmt is linked into kalmet itself.
#include <algorithm>
#include <string>
#include <string_view>

#include "Core/Error.h"
#include "Data/Time/Print.h"

#if __has_include(<fmt/format.h>)
#include <fmt/format.h>
#define KALMET_HAS_FMT 1
#endif
#if __has_include(<format>)
#include <format>
#endif

namespace kalmet::detail {
// Keeps the format between ':' and the closing '}' of a replacement field;
// `end` is where '}' (or the end) is. '{' and '}' cannot appear in it.
template <class It>
constexpr It takeFormat(It begin, It end, std::string_view& pattern) {
    It it = begin;
    while (it != end && *it != '}') ++it;
    pattern = std::string_view(begin, it);
    return it;
}

// What the fmt and std formatters of a value T share: parse keeps the text
// after the colon, format writes the value with it (formatWith), and a
// format the value cannot write is raised as the library's error type E.
template <class T, class E>
struct TimeFormatter {
    std::string_view pattern;
    template <class ParseCtx>
    constexpr auto parse(ParseCtx& ctx) {
        return takeFormat(ctx.begin(), ctx.end(), pattern);
    }
    template <class Ctx>
    auto format(const T& x, Ctx& ctx) const {
        std::string s;
        try {
            s = kalmet::formatWith(pattern, x);
        } catch (const core::Error& e) {
            throw E(e.what());
        }
        return std::copy(s.begin(), s.end(), ctx.out());
    }
};
}  // namespace kalmet::detail

#define KALMET_FORMATTERS(T)                                                                       \
    KALMET_FMT_FORMATTER(T)                                                                        \
    KALMET_STD_FORMATTER(T)

#ifdef KALMET_HAS_FMT
#define KALMET_FMT_FORMATTER(T) \
    template <>                 \
    struct fmt::formatter<T> : kalmet::detail::TimeFormatter<T, fmt::format_error> {};
#else
#define KALMET_FMT_FORMATTER(T)
#endif

#if defined(__cpp_lib_format)
#define KALMET_STD_FORMATTER(T) \
    template <>                 \
    struct std::formatter<T, char> : kalmet::detail::TimeFormatter<T, std::format_error> {};
#else
#define KALMET_STD_FORMATTER(T)
#endif

KALMET_FORMATTERS(kalmet::Day)
KALMET_FORMATTERS(kalmet::Month)
KALMET_FORMATTERS(kalmet::Quarter)
KALMET_FORMATTERS(kalmet::QuarterOfYear)
KALMET_FORMATTERS(kalmet::DayOfWeek)
KALMET_FORMATTERS(kalmet::TimeOfDay)
KALMET_FORMATTERS(kalmet::LocalTime)
KALMET_FORMATTERS(kalmet::UTCTime)
KALMET_FORMATTERS(kalmet::ZonedTime)
KALMET_FORMATTERS(kalmet::TimeZone)
KALMET_FORMATTERS(kalmet::DiffTime)
KALMET_FORMATTERS(kalmet::NominalDiffTime)

#undef KALMET_FORMATTERS
#undef KALMET_FMT_FORMATTER
#undef KALMET_STD_FORMATTER
