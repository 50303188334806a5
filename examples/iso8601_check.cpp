// iso8601-check: checks ISO 8601 dates given on the command line (or,
// without arguments, one per line on standard input). For each it prints
// the value it denotes, or the parser's exact error message, and exits
// non-zero when any input was rejected.
//
//   $ iso8601-check 2000-02-29 2000-Q2 2000-02-30
//   2000-02-29: 2000-02-29 (day)
//   2000-Q2: 2000-Q2 (quarter)
//   2000-02-30: error (day): invalid day:(2000,2,30)
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "Core/Text.h"
#include "Data/Time/Calendar.h"
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

// Which value the text is meant to be, judged by its shape: a leading
// quarter letter, or the separators after the year's digits.
enum class Kind { Year, Month, Day, Quarter, QuarterOfYear };

Kind guessKind(std::string_view s) {
    if (!s.empty() && (s[0] == 'Q' || s[0] == 'q')) return Kind::QuarterOfYear;
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
        case Kind::Day:
            break;
    }
    return report(line, "day", tarvel::parseDay(text), showDay);
}

}  // namespace

int main(int argc, char** argv) {
    int failures = 0;
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) failures += check(argv[i]);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) failures += check(line);
    }
    return failures == 0 ? 0 : 1;
}
