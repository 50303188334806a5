#include "Data/Time/ToText.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "Data/Time/Calendar/Gregorian.h"

namespace tarvel {

namespace {

using core::Int;
using kalmet::Year;

constexpr Int second = 1'000'000'000'000;
constexpr Int dayPicos = 86400 * second;

// ------------------------------------------------------------------ sinks
//
// Every renderer writes through a sink with the interface of core::Builder
// that it uses: reserve(n) gives room for n bytes, commit(k) keeps the
// first k written, append(text) adds a whole piece. StringSink does the
// same over a std::string, so that toString builds no chunk.

struct StringSink {
    std::string& s;
    std::size_t mark = 0;
    char* reserve(std::size_t n) {
        mark = s.size();
        s.resize(mark + n);
        return s.data() + mark;
    }
    void commit(std::size_t n) { s.resize(mark + n); }
    void append(std::string_view piece) { s.append(piece); }
};

// ------------------------------------------------------ fixed-width pieces

inline char* digit(char* p, Int d) noexcept {
    *p = static_cast<char>('0' + d);
    return p + 1;
}
// n in 0..99.
inline char* digits2(char* p, Int n) noexcept {
    p[0] = static_cast<char>('0' + n / 10);
    p[1] = static_cast<char>('0' + n % 10);
    return p + 2;
}
// n in 0..999, with leading zeros.
inline char* digits3(char* p, Int n) noexcept {
    p[0] = static_cast<char>('0' + n / 100);
    p[1] = static_cast<char>('0' + n / 10 % 10);
    p[2] = static_cast<char>('0' + n % 10);
    return p + 3;
}

// The most bytes an Int takes in decimal ("-9223372036854775808").
constexpr std::size_t maxIntDigits = 20;

inline char* decimal(char* p, Int n) noexcept { return std::to_chars(p, p + maxIntDigits, n).ptr; }

// A field of a time of day or zone: two digits for 0..99, any other value
// in full decimal (never for valid values).
inline char* field2(char* p, Int n) noexcept { return n >= 0 && n <= 99 ? digits2(p, n) : decimal(p, n); }

// A year held in an Int: four digits for 0..999, '-' and four digits for
// -999..-1, plain decimal otherwise.
inline char* smallYear(char* p, Int y) noexcept {
    if (y >= 0 && y <= 999) {
        *p = '0';
        return digits3(p + 1, y);
    }
    if (y < 0 && y >= -999) {
        p[0] = '-';
        p[1] = '0';
        return digits3(p + 2, -y);
    }
    return decimal(p, y);
}

// Reserves room for the year and `tail` more bytes, writes the year and
// returns where the tail goes; `start` is where this reservation begins.
// Only a year beyond 64 bits is written through the general decimal form
// of an Integer, as a piece of its own.
template <class Sink>
inline char* startWithYear(Sink& out, const Year& y, std::size_t tail, char*& start) {
    if (y.isSmall()) [[likely]] {
        start = out.reserve(maxIntDigits + tail);
        return smallYear(start, y.unsafeInt());
    }
    out.append(y.toString());
    start = out.reserve(tail);
    return start;
}

template <class Sink>
inline void finish(Sink& out, const char* start, const char* end) {
    out.commit(static_cast<std::size_t>(end - start));
}

// The short form of v < 10^6: three digits, and three more unless they
// would all be zero.
inline char* shortGroups(char* p, Int v) noexcept {
    p = digits3(p, v / 1000);
    return v % 1000 != 0 ? digits3(p, v % 1000) : p;
}

// "." and a fraction of a second of 1 to 10^12 - 1 picoseconds, in groups
// of three digits with the trailing all-zero groups dropped.
inline char* fraction(char* p, Int frac) noexcept {
    *p++ = '.';
    const Int high = frac / 1'000'000, low = frac % 1'000'000;
    if (low == 0) return shortGroups(p, high);
    p = digits3(p, high / 1000);
    p = digits3(p, high % 1000);
    return shortGroups(p, low);
}

// "HH:MM:SS.ffffffffffff"
constexpr std::size_t maxTime = 21;

inline bool fastTime(Int h, Int m, const core::Integer& ps) noexcept {
    return static_cast<std::uint64_t>(h) <= 99 && static_cast<std::uint64_t>(m) <= 99 && ps.isSmall() &&
           static_cast<std::uint64_t>(ps.unsafeInt()) < static_cast<std::uint64_t>(100 * second);
}

// A time of day whose fields pass fastTime.
inline char* timeFields(char* p, Int h, Int m, Int ps) noexcept {
    p = digits2(p, h);
    *p++ = ':';
    p = digits2(p, m);
    *p++ = ':';
    p = digits2(p, ps / second);
    const Int frac = ps % second;
    return frac != 0 ? fraction(p, frac) : p;
}

// Any time of day: fields beyond two digits in full, negative seconds with
// a '-', whole seconds of any size.
[[gnu::noinline]] std::string generalTime(Int h, Int m, const core::Integer& ps) {
    char buf[2 * maxIntDigits + 2];
    char* p = field2(buf, h);
    *p++ = ':';
    p = field2(p, m);
    *p++ = ':';
    std::string s(buf, p);
    const bool negative = ps.signum() < 0;
    const auto [whole, frac] = core::quotRem(negative ? -ps : ps, core::Integer(second));
    if (negative) s += '-';
    if (whole < core::Integer(10)) s += '0';
    whole.appendTo(s);
    if (frac.signum() != 0) {
        char f[16];
        s.append(f, fraction(f, frac.unsafeInt()));
    }
    return s;
}

// Writes a time of day at p when it passes fastTime; otherwise commits what
// precedes p, appends the general form, and reserves `tail` bytes anew.
template <class Sink>
inline char* timeAt(Sink& out, char*& start, char* p, const kalmet::TimeOfDay& t, std::size_t tail) {
    const core::Integer& ps = t.seconds.picoseconds();
    if (fastTime(t.hour, t.minute, ps)) [[likely]]
        return timeFields(p, t.hour, t.minute, ps.unsafeInt());
    finish(out, start, p);
    out.append(generalTime(t.hour, t.minute, ps));
    start = out.reserve(tail);
    return start;
}

// "Z", or sign, hours, ':' and two minute digits; the hours take two
// digits for a valid zone and up to 18 beyond ("+153722867280912930:07").
constexpr std::size_t maxZone = 22;

inline char* zoneAt(char* p, Int minutes) noexcept {
    if (minutes == 0) {
        *p = 'Z';
        return p + 1;
    }
    *p++ = minutes < 0 ? '-' : '+';
    // The magnitude as unsigned, so that the most negative offset is exact.
    const std::uint64_t a =
        minutes < 0 ? 0 - static_cast<std::uint64_t>(minutes) : static_cast<std::uint64_t>(minutes);
    const std::uint64_t hours = a / 60;
    p = hours <= 99 ? digits2(p, static_cast<Int>(hours)) : std::to_chars(p, p + maxIntDigits, hours).ptr;
    *p++ = ':';
    return digits2(p, static_cast<Int>(a % 60));
}

// ------------------------------------------------------------- renderers

// year "-" MM "-" DD, with room for `tail` more bytes after it.
template <class Sink>
inline char* dateAt(Sink& out, const kalmet::Day& day, std::size_t tail, char*& start) {
    const kalmet::YearMonthDay g = kalmet::toGregorian(day);
    char* p = startWithYear(out, g.year, 6 + tail, start);
    *p++ = '-';
    p = digits2(p, g.month);
    *p++ = '-';
    return digits2(p, g.day);
}

template <class Sink>
void putYear(Sink& out, const Year& y) {
    char* start;
    char* p = startWithYear(out, y, 0, start);
    finish(out, start, p);
}

template <class Sink>
void putMonth(Sink& out, const kalmet::Month& m) {
    const auto [year, month] = kalmet::toYearMonth(m);
    char* start;
    char* p = startWithYear(out, year, 3, start);
    *p++ = '-';
    finish(out, start, digits2(p, month));
}

template <class Sink>
void putDay(Sink& out, const kalmet::Day& d) {
    char* start;
    char* p = dateAt(out, d, 0, start);
    finish(out, start, p);
}

// "q" and the quarter's digit (a value outside 1..4, which no QuarterOfYear
// built from Q1..Q4 has, in decimal).
inline char* quarterAt(char* p, kalmet::QuarterOfYear q) noexcept {
    *p++ = 'q';
    const Int n = kalmet::fromQuarterOfYear(q);
    return n >= 1 && n <= 4 ? digit(p, n) : decimal(p, n);
}
constexpr std::size_t maxQuarterOfYear = 4;

template <class Sink>
void putQuarterOfYear(Sink& out, kalmet::QuarterOfYear q) {
    char* start = out.reserve(maxQuarterOfYear);
    finish(out, start, quarterAt(start, q));
}

template <class Sink>
void putQuarter(Sink& out, const kalmet::Quarter& q) {
    const auto [year, quarter] = kalmet::toYearQuarter(q);
    char* start;
    char* p = startWithYear(out, year, 1 + maxQuarterOfYear, start);
    *p++ = '-';
    finish(out, start, quarterAt(p, quarter));
}

template <class Sink>
void putTimeOfDay(Sink& out, const kalmet::TimeOfDay& t) {
    char* start = out.reserve(maxTime);
    char* p = timeAt(out, start, start, t, 0);
    finish(out, start, p);
}

template <class Sink>
void putTimeZone(Sink& out, const kalmet::TimeZone& z) {
    char* start = out.reserve(maxZone);
    finish(out, start, zoneAt(start, z.minutes));
}

// day "T" time of day, then the zone's designator when `zoneMinutes` is
// given ('Z' for 0).
template <class Sink>
void putDayTime(Sink& out, const kalmet::Day& day, const kalmet::TimeOfDay& t, const Int* zoneMinutes) {
    const std::size_t zoneRoom = zoneMinutes ? maxZone : 0;
    char* start;
    char* p = dateAt(out, day, 1 + maxTime + zoneRoom, start);
    *p++ = 'T';
    p = timeAt(out, start, p, t, zoneRoom);
    if (zoneMinutes) p = zoneAt(p, *zoneMinutes);
    finish(out, start, p);
}

template <class Sink>
void putLocalTime(Sink& out, const kalmet::LocalTime& t) {
    putDayTime(out, t.day, t.timeOfDay, nullptr);
}

template <class Sink>
void putZonedTime(Sink& out, const kalmet::ZonedTime& t) {
    putDayTime(out, t.localTime.day, t.localTime.timeOfDay, &t.zone.minutes);
}

template <class Sink>
void putUTCTime(Sink& out, const kalmet::UTCTime& t) {
    static constexpr Int zero = 0;
    const core::Integer& ps = t.dayTime.picoseconds();
    if (ps.isSmall() && ps.unsafeInt() >= 0 && ps.unsafeInt() < dayPicos + second) [[likely]] {
        // Within the day, or within a leap second at its end (23:59:60.x).
        putDayTime(out, t.day, kalmet::timeToTimeOfDay(t.dayTime), &zero);
        return;
    }
    // Not a valid time since midnight: carried into the neighbouring days.
    auto [days, rest] = core::divMod(ps, core::Integer(dayPicos));
    putDayTime(out, kalmet::addDays(days, t.day), kalmet::timeToTimeOfDay(kalmet::DiffTime::fromPicoseconds(rest)),
               &zero);
}

// The three other forms of each renderer.
template <class T, void (*PutB)(core::Builder&, const T&), void (*PutS)(StringSink&, const T&)>
struct Forms {
    static core::Builder builder(const T& x) {
        core::Builder b;
        PutB(b, x);
        return b;
    }
    static std::string string(const T& x) {
        std::string s;
        StringSink sink{s};
        PutS(sink, x);
        return s;
    }
    static core::Text text(const T& x) { return core::Text(string(x)); }
};

// QuarterOfYear is passed by value; wrap it so that every renderer has the
// const T& shape.
template <class Sink>
void putQuarterOfYearRef(Sink& out, const kalmet::QuarterOfYear& q) {
    putQuarterOfYear(out, q);
}

#define TARVEL_FORMS(T, put) Forms<T, put<core::Builder>, put<StringSink>>

using YearForms = TARVEL_FORMS(Year, putYear);
using MonthForms = TARVEL_FORMS(kalmet::Month, putMonth);
using DayForms = TARVEL_FORMS(kalmet::Day, putDay);
using QuarterForms = TARVEL_FORMS(kalmet::Quarter, putQuarter);
using QuarterOfYearForms = TARVEL_FORMS(kalmet::QuarterOfYear, putQuarterOfYearRef);
using TimeOfDayForms = TARVEL_FORMS(kalmet::TimeOfDay, putTimeOfDay);
using TimeZoneForms = TARVEL_FORMS(kalmet::TimeZone, putTimeZone);
using LocalTimeForms = TARVEL_FORMS(kalmet::LocalTime, putLocalTime);
using UTCTimeForms = TARVEL_FORMS(kalmet::UTCTime, putUTCTime);
using ZonedTimeForms = TARVEL_FORMS(kalmet::ZonedTime, putZonedTime);

#undef TARVEL_FORMS

}  // namespace

void buildYear(const kalmet::Year& year, core::Builder& out) { putYear(out, year); }
void buildMonth(const kalmet::Month& month, core::Builder& out) { putMonth(out, month); }
void buildDay(const kalmet::Day& day, core::Builder& out) { putDay(out, day); }
void buildQuarter(const kalmet::Quarter& quarter, core::Builder& out) { putQuarter(out, quarter); }
void buildQuarterOfYear(kalmet::QuarterOfYear quarter, core::Builder& out) { putQuarterOfYear(out, quarter); }
void buildTimeOfDay(const kalmet::TimeOfDay& time, core::Builder& out) { putTimeOfDay(out, time); }
void buildTimeZone(const kalmet::TimeZone& zone, core::Builder& out) { putTimeZone(out, zone); }
void buildLocalTime(const kalmet::LocalTime& time, core::Builder& out) { putLocalTime(out, time); }
void buildUTCTime(const kalmet::UTCTime& time, core::Builder& out) { putUTCTime(out, time); }
void buildZonedTime(const kalmet::ZonedTime& time, core::Builder& out) { putZonedTime(out, time); }

core::Builder buildYear(const kalmet::Year& year) { return YearForms::builder(year); }
core::Builder buildMonth(const kalmet::Month& month) { return MonthForms::builder(month); }
core::Builder buildDay(const kalmet::Day& day) { return DayForms::builder(day); }
core::Builder buildQuarter(const kalmet::Quarter& quarter) { return QuarterForms::builder(quarter); }
core::Builder buildQuarterOfYear(kalmet::QuarterOfYear quarter) { return QuarterOfYearForms::builder(quarter); }
core::Builder buildTimeOfDay(const kalmet::TimeOfDay& time) { return TimeOfDayForms::builder(time); }
core::Builder buildTimeZone(const kalmet::TimeZone& zone) { return TimeZoneForms::builder(zone); }
core::Builder buildLocalTime(const kalmet::LocalTime& time) { return LocalTimeForms::builder(time); }
core::Builder buildUTCTime(const kalmet::UTCTime& time) { return UTCTimeForms::builder(time); }
core::Builder buildZonedTime(const kalmet::ZonedTime& time) { return ZonedTimeForms::builder(time); }

core::Text toText(const kalmet::Year& year) { return YearForms::text(year); }
core::Text toText(const kalmet::Month& month) { return MonthForms::text(month); }
core::Text toText(const kalmet::Day& day) { return DayForms::text(day); }
core::Text toText(const kalmet::Quarter& quarter) { return QuarterForms::text(quarter); }
core::Text toText(kalmet::QuarterOfYear quarter) { return QuarterOfYearForms::text(quarter); }
core::Text toText(const kalmet::TimeOfDay& time) { return TimeOfDayForms::text(time); }
core::Text toText(const kalmet::TimeZone& zone) { return TimeZoneForms::text(zone); }
core::Text toText(const kalmet::LocalTime& time) { return LocalTimeForms::text(time); }
core::Text toText(const kalmet::UTCTime& time) { return UTCTimeForms::text(time); }
core::Text toText(const kalmet::ZonedTime& time) { return ZonedTimeForms::text(time); }

std::string toString(const kalmet::Year& year) { return YearForms::string(year); }
std::string toString(const kalmet::Month& month) { return MonthForms::string(month); }
std::string toString(const kalmet::Day& day) { return DayForms::string(day); }
std::string toString(const kalmet::Quarter& quarter) { return QuarterForms::string(quarter); }
std::string toString(kalmet::QuarterOfYear quarter) { return QuarterOfYearForms::string(quarter); }
std::string toString(const kalmet::TimeOfDay& time) { return TimeOfDayForms::string(time); }
std::string toString(const kalmet::TimeZone& zone) { return TimeZoneForms::string(zone); }
std::string toString(const kalmet::LocalTime& time) { return LocalTimeForms::string(time); }
std::string toString(const kalmet::UTCTime& time) { return UTCTimeForms::string(time); }
std::string toString(const kalmet::ZonedTime& time) { return ZonedTimeForms::string(time); }

}  // namespace tarvel
