// iso8601-check: checks ISO 8601 dates, times and timestamps given on the
// command line (or, without arguments, one per line on standard input).
// For each it prints the value it denotes (a timestamp with a zone as its
// UTC instant), or the parser's exact error message. With --strict it
// exits non-zero when any input was rejected.
//
//   $ iso8601-check 2000-02-29 2000-Q2 2000-02-30 2000-01-01T23:30-01:00
//   2000-02-29: 2000-02-29 (day)
//   2000-Q2: 2000-Q2 (quarter)
//   2000-02-30: error (day): invalid day:(2000,2,30)
//   2000-01-01T23:30-01:00: 2000-01-02T00:30:00Z (UTC time)
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "Core/Text.h"
#include "Data/Time.h"
#include "Data/Time/FromText.h"

namespace {

// A year as the grammar writes it: a '-' when negative, at least 4 digits.
std::string showYear(const kalmet::Year& y) {
    std::string digits = (y.signum() < 0 ? -y : y).toString();
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return (y.signum() < 0 ? "-" : "") + digits;
}

std::string twoDigits(core::Int v) {
    return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

std::string showDay(const kalmet::Day& d) {
    const kalmet::YearMonthDay g = kalmet::toGregorian(d);
    return showYear(g.year) + "-" + twoDigits(g.month) + "-" + twoDigits(g.day);
}

std::string showMonth(const kalmet::Month& m) {
    const kalmet::YearMonth ym(m);
    return showYear(ym.year) + "-" + twoDigits(ym.month);
}

std::string showQuarter(const kalmet::Quarter& q) {
    const kalmet::YearQuarter yq(q);
    return showYear(yq.year) + "-Q" + std::to_string(kalmet::fromQuarterOfYear(yq.quarter));
}

std::string showTimeOfDay(const kalmet::TimeOfDay& t) {
    std::string secs = t.seconds.toString();  // "SS.ffffffffffff"
    while (secs.back() == '0') secs.pop_back();
    if (secs.back() == '.') secs.pop_back();
    if (secs.size() < 2 || secs[1] == '.') secs.insert(0, 1, '0');
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + secs;
}

std::string showLocalTime(const kalmet::LocalTime& t) { return showDay(t.day) + "T" + showTimeOfDay(t.timeOfDay); }

std::string showUTCTime(const kalmet::UTCTime& t) {
    return showLocalTime(kalmet::utcToLocalTime(kalmet::TimeZone{}, t)) + "Z";
}

std::string showTimeZone(const kalmet::TimeZone& z) { return kalmet::timeZoneOffsetString(z, ':'); }

// Which value the text is meant to be, judged by its shape: a leading
// quarter letter, a colon after two digits, a zone designator, the
// separators after the year's digits, a time after the date.
enum class Kind { Year, Month, Day, Quarter, QuarterOfYear, TimeOfDay, TimeZone, LocalTime, UTCTime };

bool looksZoned(std::string_view s, std::size_t timeStart) {
    const std::size_t z = s.find_first_of("Z+-", timeStart);
    return z != std::string_view::npos;
}

Kind guessKind(std::string_view s) {
    if (!s.empty() && (s[0] == 'Q' || s[0] == 'q')) return Kind::QuarterOfYear;
    if (s.size() >= 3 && s[2] == ':') return Kind::TimeOfDay;
    if (s == "Z" || (s.size() >= 4 && (s[0] == '+' || s[0] == '-') && s[3] == ':')) return Kind::TimeZone;
    if (const std::size_t sep = s.find_first_of("T ", 1); sep != std::string_view::npos)
        return looksZoned(s, sep + 1) ? Kind::UTCTime : Kind::LocalTime;
    std::size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == s.size()) return Kind::Year;
    if (s[i] != '-') return s.find('-') == std::string_view::npos ? Kind::Year : Kind::Day;
    ++i;
    if (i < s.size() && (s[i] == 'Q' || s[i] == 'q')) return Kind::Quarter;
    return s.find('-', i) == std::string_view::npos && s.size() - i <= 2 ? Kind::Month : Kind::Day;
}

template <class T, class Show>
int report(const std::string& line, const char* what, const tarvel::Result<T>& r, Show show) {
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
            return report(line, "year", tarvel::parseYear(text), showYear);
        case Kind::Month:
            return report(line, "month", tarvel::parseMonth(text), showMonth);
        case Kind::Quarter:
            return report(line, "quarter", tarvel::parseQuarter(text), showQuarter);
        case Kind::QuarterOfYear:
            return report(line, "quarter of year", tarvel::parseQuarterOfYear(text), [](kalmet::QuarterOfYear q) {
                return "Q" + std::to_string(kalmet::fromQuarterOfYear(q));
            });
        case Kind::TimeOfDay:
            return report(line, "time of day", tarvel::parseTimeOfDay(text), showTimeOfDay);
        case Kind::TimeZone:
            return report(line, "time zone", tarvel::parseTimeZone(text), showTimeZone);
        case Kind::LocalTime:
            return report(line, "local time", tarvel::parseLocalTime(text), showLocalTime);
        case Kind::UTCTime:
            return report(line, "UTC time", tarvel::parseUTCTime(text), showUTCTime);
        case Kind::Day:
            break;
    }
    return report(line, "day", tarvel::parseDay(text), showDay);
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
