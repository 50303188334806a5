#pragma once
// The format language of formatTime (writing) and parseTime, readTime,
// readsTime and their relatives (reading): the strftime directives, read
// back by the same format. docs/time-format.md has the full description
// with examples.
//
// A format is text in which '%' starts a directive; every other character
// is written as it is, and read as itself, except white space, which reads
// any run of white space (also none).
//
// A directive is '%', any of the flags, a width, 'E' or 'O', and a letter:
//   flags  '-'  no padding           '_'  pad with spaces
//          '0'  pad with zeros       '^'  names in upper case
//          '#'  names in the opposite case (an all-upper-case name in lower
//               case, any other in upper case)
//   width  the least number of digits of a number (a sign comes on top)
//          or of characters of a name, at most 1000; zeros go between the
//          sign and the digits, spaces before the sign or the name
//   ('#' takes precedence over '^'; the last padding flag counts)
//   E, O   accepted and ignored, except in %Ez
//
//   date       %Y  year, at least 4 digits ("0005", "-0005", "12345")
//              %C  century: year divided by 100, rounded down (2 digits)
//              %y  year modulo 100 (2 digits)
//              %G  ISO week-numbering year, %g its last two digits
//              %m  month 01-12        %d  day of month 01-31
//              %e  day of month, space-padded " 1"-"31"
//              %j  day of year 001-366
//              %B  full month name    %b, %h  abbreviated month name
//   week       %u  day of week 1-7 (Monday 1)
//              %w  day of week 0-6 (Sunday 0)
//              %a  abbreviated day name, %A  full day name
//              %U  week of year 00-53, weeks starting on Sunday, week 1
//                  starting on the year's first Sunday
//              %W  the same with weeks starting on Monday
//              %V  ISO week of the ISO week-numbering year 01-53
//   time       %H  hour 00-23         %k  hour, space-padded " 0"-"23"
//              %I  hour 01-12         %l  hour 1-12, space-padded
//              %M  minute 00-59       %S  second 00-60 (60: a leap second)
//              %q  the fraction of the second as 12 digits (picoseconds);
//                  a width gives that many digits ("%3q": milliseconds)
//              %Q  '.' and the fraction's decimals without trailing zeros,
//                  nothing for a whole second; a width caps the decimals
//              %p  the day half, "AM" or "PM" (locale); %P in lower case
//   zone       %z  offset "+HHMM"     %Ez  offset "+HH:MM"
//              %Z  the zone's name, or "+HHMM" for a zone without one
//   instant    %s  whole seconds since 1970-01-01 00:00 UTC (rounded down)
//   composite  %F  = %Y-%m-%d         %T  = %H:%M:%S
//              %D  = %m/%d/%y         %R  = %H:%M
//              %c, %x, %X, %r  the locale's date-and-time, date, time and
//                  12-hour time formats
//              (flags '^' and '#' apply to each part; padding and width do
//              not apply to composites)
//   text       %%  '%'   %n  newline   %t  tab (both read any white space)
//
// Reading takes the same directives:
//   - numbers: a field padded with spaces may start with spaces, which
//     count towards its width (the digits take the rest of it; a blank of
//     the format just before it reads only one white-space character); %Y, %G,
//     %C and %s take a sign ('-' or '+') and any number of digits, unless
//     the next directive is a number too, in which case they take at most
//     their usual width (4, 4, 2); every other number takes one digit up to
//     its width (the width given, or its usual one). Each must lie in its
//     range above.
//   - names (months, days, day halves) in any letter case, full or
//     abbreviated, the longest that matches; they may start with spaces.
//   - %z, %Ez and %Z take "Z", or a sign, two hour digits (below 24) and
//     optionally two minute digits (below 60), with or without ':'; %Z
//     takes a name of the locale's known zones or "UTC" as well.
//   - %Q takes an optional '.' and 1 to 12 decimals; %q 1 to 12 decimals.
//   - %y alone gives 1969-2068 (69-99 are 19xx, 00-68 20xx), %g alike;
//     with %C they give C * 100 + y.
// The fields read must name one value of the requested type and must not
// contradict each other (a weekday that is not the date's, %H and %p that
// disagree, ...); which fields suffice for each type is listed with
// parseTimeMultipleM in Data/Time/Format/Parse.h.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Core/Either.h"
#include "Data/Time/Format/Locale.h"

namespace kalmet::detail {

// One piece of a compiled format.
struct FormatItem {
    enum class Kind : std::uint8_t {
        Literal,    // `letter` written and read as itself
        Space,      // `letter` (a white-space character) written; reads any white space
        Directive,  // a directive with the letter `letter`
    };
    Kind kind = Kind::Literal;
    char letter = 0;
    char pad = 0;            // 0 (the directive's default), '-', '_' or '0'
    bool upper = false;      // '^'
    bool swapCase = false;   // '#'
    bool colon = false;      // %Ez
    int width = -1;          // -1: the directive's default
};

// The longest width a directive may give.
inline constexpr int maxFormatWidth = 1000;

// The items of a format, with the composites (%F %T %D %R %c %x %X %r)
// replaced by their parts, or a message naming what is wrong: a '%' at the
// end, an unknown directive, a width above maxFormatWidth, locale formats
// that refer to each other without end, or an expansion of more than 65536
// items.
core::Either<std::string, std::vector<FormatItem>> compileFormat(const TimeLocale& locale, std::string_view format);

// True for the directives whose text starts with a digit (or a sign or
// spaces before the digits): the numbers.
bool isNumberDirective(char letter) noexcept;

// ASCII white space.
constexpr bool isSpace(char c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace kalmet::detail
