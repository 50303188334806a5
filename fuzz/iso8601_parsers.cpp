// Runs every ISO 8601 parser on arbitrary bytes. Beyond not crashing,
// hanging or reading out of bounds, each result is checked against an
// independent matcher of the grammar written here from scratch: a parser
// returns Right exactly for inputs the grammar accepts and whose fields lie
// in the calendar, and the value it returns is the one the text spells.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "Core/Integer.h"
#include "Core/Text.h"
#include "Data/Time/Calendar.h"
#include "Data/Time/FromText.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "iso8601_parsers: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// A plain reading of the grammar over a string: each matcher consumes a
// prefix at position i and reports whether it matched.
struct Reader {
    std::string_view s;
    std::size_t i = 0;
    bool end() const { return i == s.size(); }
    bool lit(char c) {
        if (i < s.size() && s[i] == c) return ++i, true;
        return false;
    }
    std::optional<int> two() {
        if (i + 2 <= s.size() && digit(s[i]) && digit(s[i + 1])) {
            const int v = (s[i] - '0') * 10 + (s[i + 1] - '0');
            i += 2;
            return v;
        }
        return std::nullopt;
    }
    std::optional<core::Integer> year() {
        const std::size_t start = i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        const std::size_t digits = i;
        while (i < s.size() && digit(s[i])) ++i;
        if (i - digits < 4) return std::nullopt;
        return core::Integer::fromString(s.substr(start, i - start));
    }
    std::optional<int> quarter() {
        if (!(lit('Q') || lit('q'))) return std::nullopt;
        if (i < s.size() && s[i] >= '1' && s[i] <= '4') return s[i++] - '0';
        return std::nullopt;
    }
};

bool leap(const core::Integer& y) {
    const core::Int r = core::mod(y, core::Integer(400)).unsafeInt();
    return r % 4 == 0 && (r % 100 != 0 || r == 0);
}

int daysIn(const core::Integer& y, int m) {
    static const int len[] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : len[m];
}

struct Date {
    core::Integer year;
    int month, day;
};

// year "-" MM "-" DD with the fields in the calendar.
std::optional<Date> date(Reader& r) {
    auto y = r.year();
    if (!y || !r.lit('-')) return std::nullopt;
    auto m = r.two();
    if (!m || !r.lit('-')) return std::nullopt;
    auto d = r.two();
    if (!d || *m < 1 || *m > 12 || *d < 1 || *d > daysIn(*y, *m)) return std::nullopt;
    return Date{*y, *m, *d};
}

template <class T>
void checkLeft(const tarvel::Result<T>& r) {
    if (r.isLeft()) check(!r.left().str().empty(), "empty message");
}

void run(std::string_view s, const tarvel::Input& input) {
    {
        const auto r = tarvel::parseYear(input);
        checkLeft(r);
        Reader m{s};
        const auto y = m.year();
        const bool ok = y && m.end();
        check(r.isRight() == ok, "parseYear accepts exactly the grammar");
        if (ok) check(*r == *y, "parseYear value");
    }
    {
        const auto r = tarvel::parseMonth(input);
        checkLeft(r);
        Reader m{s};
        auto y = m.year();
        const bool dash = y && m.lit('-');
        const auto mo = dash ? m.two() : std::nullopt;
        const bool ok = mo && *mo >= 1 && *mo <= 12 && m.end();
        check(r.isRight() == ok, "parseMonth accepts exactly the grammar");
        if (ok) check(*r == kalmet::Month(kalmet::YearMonth(*y, *mo)), "parseMonth value");
    }
    {
        const auto r = tarvel::parseDay(input);
        checkLeft(r);
        Reader m{s};
        const auto d = date(m);
        const bool ok = d && m.end();
        check(r.isRight() == ok, "parseDay accepts exactly the grammar");
        if (ok) check(kalmet::toGregorian(*r) == (kalmet::YearMonthDay{d->year, d->month, d->day}), "parseDay value");
    }
    {
        const auto r = tarvel::parseQuarter(input);
        checkLeft(r);
        Reader m{s};
        auto y = m.year();
        const bool dash = y && m.lit('-');
        const auto q = dash ? m.quarter() : std::nullopt;
        const bool ok = q && m.end();
        check(r.isRight() == ok, "parseQuarter accepts exactly the grammar");
        if (ok)
            check(*r == kalmet::Quarter(kalmet::YearQuarter(*y, static_cast<kalmet::QuarterOfYear>(*q))),
                  "parseQuarter value");
    }
    {
        const auto r = tarvel::parseQuarterOfYear(input);
        checkLeft(r);
        Reader m{s};
        const auto q = m.quarter();
        const bool ok = q && m.end();
        check(r.isRight() == ok, "parseQuarterOfYear accepts exactly the grammar");
        if (ok) check(kalmet::fromQuarterOfYear(*r) == *q, "parseQuarterOfYear value");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Keep single inputs short enough that a year of thousands of digits
    // is still converted quickly.
    if (size > 4096) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Raw bytes through the string_view overloads (possibly invalid UTF-8),
    // and the same bytes as a core::Text (invalid sequences replaced).
    run(bytes, tarvel::Input(bytes));
    const core::Text text(bytes);
    run(text.view(), tarvel::Input(text));
    return 0;
}
