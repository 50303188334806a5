// Runs every ISO 8601 parser (dates, times, zones, timestamps) on arbitrary
// bytes. Beyond not crashing,
// hanging or reading out of bounds, each result is checked against an
// independent matcher of the grammar written here from scratch: a parser
// returns Right exactly for inputs the grammar accepts and whose fields lie
// in the calendar, and the value it returns is the one the text spells.
// Every value obtained is also rendered back to ISO 8601 and parsed again,
// which must give the same value.
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
#include "Data/Time/ToText.h"

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

struct Time {
    int hour, minute;
    long long picoseconds;
};

// HH ":" MM [":" SS ["." 1 to 12 digits]] with the fields in range.
std::optional<Time> time(Reader& r) {
    auto h = r.two();
    if (!h || !r.lit(':')) return std::nullopt;
    auto m = r.two();
    if (!m) return std::nullopt;
    long long ps = 0;
    if (r.lit(':')) {
        auto sec = r.two();
        if (!sec) return std::nullopt;
        ps = *sec * 1'000'000'000'000LL;
        if (r.lit('.')) {
            long long scale = 100'000'000'000LL;
            int n = 0;
            while (!r.end() && digit(r.s[r.i])) {
                if (++n > 12) return std::nullopt;
                ps += (r.s[r.i++] - '0') * scale;
                scale /= 10;
            }
            if (n == 0) return std::nullopt;
        }
    }
    if (*h > 23 || *m > 59 || ps >= 61'000'000'000'000LL) return std::nullopt;
    return Time{*h, *m, ps};
}

// "Z" or a sign, HH and optionally MM or ":" MM, in range: the offset.
std::optional<int> zone(Reader& r) {
    if (r.lit('Z')) return 0;
    int sign;
    if (r.lit('+')) sign = 1;
    else if (r.lit('-')) sign = -1;
    else return std::nullopt;
    auto h = r.two();
    if (!h) return std::nullopt;
    int m = 0;
    if (!r.end()) {
        r.lit(':');
        auto mm = r.two();
        if (!mm) return std::nullopt;
        m = *mm;
    }
    if (*h > 23 || m > 59) return std::nullopt;
    return sign * (*h * 60 + m);
}

struct Stamp {
    Date date;
    Time time;
};

std::optional<Stamp> stamp(Reader& r) {
    auto d = date(r);
    if (!d || !(r.lit('T') || r.lit(' '))) return std::nullopt;
    auto t = time(r);
    if (!t) return std::nullopt;
    return Stamp{*d, *t};
}

bool sameLocal(const kalmet::LocalTime& l, const Stamp& s) {
    return kalmet::toGregorian(l.day) == (kalmet::YearMonthDay{s.date.year, s.date.month, s.date.day}) &&
           l.timeOfDay.hour == s.time.hour && l.timeOfDay.minute == s.time.minute &&
           l.timeOfDay.seconds.picoseconds() == core::Integer(static_cast<core::Int>(s.time.picoseconds));
}

template <class T>
void checkLeft(const tarvel::Result<T>& r) {
    if (r.isLeft()) check(!r.left().str().empty(), "empty message");
}

// A value a parser gave, rendered and parsed again by the same parser, is
// the same value; the text is ASCII and identical through every form of
// the renderer.
template <class T, class Parse>
void checkRoundTrip(const tarvel::Result<T>& r, Parse parse, const char* what) {
    if (!r) return;
    const std::string text = tarvel::toString(*r);
    for (unsigned char c : text) check(c < 0x80, "rendered text is ASCII");
    check(tarvel::toText(*r).view() == text, "toText agrees with toString");
    const auto again = parse(tarvel::Input(text));
    if (!again || !(*again == *r)) fail(what);
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
        checkRoundTrip(r, tarvel::parseYear, "parseYear round trip");
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
        checkRoundTrip(r, tarvel::parseMonth, "parseMonth round trip");
    }
    {
        const auto r = tarvel::parseDay(input);
        checkLeft(r);
        Reader m{s};
        const auto d = date(m);
        const bool ok = d && m.end();
        check(r.isRight() == ok, "parseDay accepts exactly the grammar");
        if (ok) check(kalmet::toGregorian(*r) == (kalmet::YearMonthDay{d->year, d->month, d->day}), "parseDay value");
        checkRoundTrip(r, tarvel::parseDay, "parseDay round trip");
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
        checkRoundTrip(r, tarvel::parseQuarter, "parseQuarter round trip");
    }
    {
        const auto r = tarvel::parseQuarterOfYear(input);
        checkLeft(r);
        Reader m{s};
        const auto q = m.quarter();
        const bool ok = q && m.end();
        check(r.isRight() == ok, "parseQuarterOfYear accepts exactly the grammar");
        if (ok) check(kalmet::fromQuarterOfYear(*r) == *q, "parseQuarterOfYear value");
        checkRoundTrip(r, tarvel::parseQuarterOfYear, "parseQuarterOfYear round trip");
    }
    {
        const auto r = tarvel::parseTimeOfDay(input);
        checkLeft(r);
        Reader m{s};
        const auto t = time(m);
        const bool ok = t && m.end();
        check(r.isRight() == ok, "parseTimeOfDay accepts exactly the grammar");
        if (ok)
            check(r->hour == t->hour && r->minute == t->minute &&
                      r->seconds.picoseconds() == core::Integer(static_cast<core::Int>(t->picoseconds)),
                  "parseTimeOfDay value");
        checkRoundTrip(r, tarvel::parseTimeOfDay, "parseTimeOfDay round trip");
    }
    {
        const auto r = tarvel::parseTimeZone(input);
        checkLeft(r);
        Reader m{s};
        const auto z = zone(m);
        const bool ok = z && m.end();
        check(r.isRight() == ok, "parseTimeZone accepts exactly the grammar");
        if (ok) check(*r == kalmet::minutesToTimeZone(*z), "parseTimeZone value");
        checkRoundTrip(r, tarvel::parseTimeZone, "parseTimeZone round trip");
    }
    {
        const auto r = tarvel::parseLocalTime(input);
        checkLeft(r);
        Reader m{s};
        const auto st = stamp(m);
        const bool ok = st && m.end();
        check(r.isRight() == ok, "parseLocalTime accepts exactly the grammar");
        if (ok) check(sameLocal(*r, *st), "parseLocalTime value");
        checkRoundTrip(r, tarvel::parseLocalTime, "parseLocalTime round trip");
    }
    {
        const auto u = tarvel::parseUTCTime(input);
        const auto r = tarvel::parseZonedTime(input);
        checkLeft(u);
        checkLeft(r);
        Reader m{s};
        const auto st = stamp(m);
        const auto z = st ? zone(m) : std::nullopt;
        const bool ok = z && m.end();
        check(r.isRight() == ok, "parseZonedTime accepts exactly the grammar");
        check(u.isRight() == ok, "parseUTCTime accepts exactly the grammar");
        if (ok) {
            check(sameLocal(r->localTime, *st) && r->zone == kalmet::minutesToTimeZone(*z), "parseZonedTime value");
            check(*u == kalmet::zonedTimeToUTC(*r), "parseUTCTime value");
            if (st->time.picoseconds < 60'000'000'000'000LL)
                check(kalmet::utcToLocalTime(r->zone, *u) == r->localTime, "parseUTCTime instant");
        }
        checkRoundTrip(r, tarvel::parseZonedTime, "parseZonedTime round trip");
        checkRoundTrip(u, tarvel::parseUTCTime, "parseUTCTime round trip");
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
