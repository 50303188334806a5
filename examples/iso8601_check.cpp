// iso8601-check: checks ISO 8601 dates, times and timestamps given on the
// command line (or, without arguments, one per line on standard input).
// For each it prints the value it denotes rendered back as ISO 8601 (a
// timestamp with a zone also as its UTC instant), or the parser's exact
// error message. With --strict it exits non-zero when any input was
// rejected.
//
//   $ iso8601-check 2000-02-29 2000-Q2 2000-02-30 2000-01-01T23:30-01:00
//   2000-02-29: 2000-02-29 (day)
//   2000-Q2: 2000-q2 (quarter)
//   2000-02-30: error (day): invalid day:(2000,2,30)
//   2000-01-01T23:30-01:00: 2000-01-01T23:30:00-01:00 = 2000-01-02T00:30:00Z (zoned time)
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "Core/Text.h"
#include "Data/Time.h"
#include "Data/Time/FromText.h"
#include "Data/Time/ToText.h"

namespace {

// Which value the text is meant to be, judged by its shape: a leading
// quarter letter, a colon after two digits, a zone designator, the
// separators after the year's digits, a time after the date.
enum class Kind { Year, Month, Day, Quarter, QuarterOfYear, TimeOfDay, TimeZone, LocalTime, ZonedTime };

bool looksZoned(std::string_view s, std::size_t timeStart) {
    const std::size_t z = s.find_first_of("Z+-", timeStart);
    return z != std::string_view::npos;
}

Kind guessKind(std::string_view s) {
    if (!s.empty() && (s[0] == 'Q' || s[0] == 'q')) return Kind::QuarterOfYear;
    if (s.size() >= 3 && s[2] == ':') return Kind::TimeOfDay;
    if (s == "Z" || (s.size() >= 4 && (s[0] == '+' || s[0] == '-') && s[3] == ':')) return Kind::TimeZone;
    if (const std::size_t sep = s.find_first_of("T ", 1); sep != std::string_view::npos)
        return looksZoned(s, sep + 1) ? Kind::ZonedTime : Kind::LocalTime;
    std::size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == s.size()) return Kind::Year;
    if (s[i] != '-') return s.find('-') == std::string_view::npos ? Kind::Year : Kind::Day;
    ++i;
    if (i < s.size() && (s[i] == 'Q' || s[i] == 'q')) return Kind::Quarter;
    return s.find('-', i) == std::string_view::npos && s.size() - i <= 2 ? Kind::Month : Kind::Day;
}

// The ISO 8601 text of a parsed value; a zoned time also as its UTC
// instant.
template <class T>
std::string show(const T& value) {
    return tarvel::toString(value);
}
std::string show(const kalmet::ZonedTime& value) {
    return tarvel::toString(value) + " = " + tarvel::toString(kalmet::zonedTimeToUTC(value));
}

template <class T>
int report(const std::string& line, const char* what, const tarvel::Result<T>& r) {
    if (r) {
        std::printf("%s: %s (%s)\n", line.c_str(), show(*r).c_str(), what);
        return 0;
    }
    std::printf("%s: error (%s): %s\n", line.c_str(), what, r.left().str().c_str());
    return 1;
}

int check(const std::string& line) {
    const core::Text text(line);
    switch (guessKind(line)) {
        case Kind::Year:
            return report(line, "year", tarvel::parseYear(text));
        case Kind::Month:
            return report(line, "month", tarvel::parseMonth(text));
        case Kind::Quarter:
            return report(line, "quarter", tarvel::parseQuarter(text));
        case Kind::QuarterOfYear:
            return report(line, "quarter of year", tarvel::parseQuarterOfYear(text));
        case Kind::TimeOfDay:
            return report(line, "time of day", tarvel::parseTimeOfDay(text));
        case Kind::TimeZone:
            return report(line, "time zone", tarvel::parseTimeZone(text));
        case Kind::LocalTime:
            return report(line, "local time", tarvel::parseLocalTime(text));
        case Kind::ZonedTime:
            return report(line, "zoned time", tarvel::parseZonedTime(text));
        case Kind::Day:
            break;
    }
    return report(line, "day", tarvel::parseDay(text));
}

}  // namespace

int main(int argc, char** argv) {
    int failures = 0;
    bool strict = false;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--strict") {
            strict = true;
            continue;
        }
        ++inputs;
        failures += check(argv[i]);
    }
    if (inputs == 0) {
        std::string line;
        while (std::getline(std::cin, line)) failures += check(line);
    }
    return strict && failures > 0 ? 1 : 0;
}
