#include "Data/Time/ToText.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Data/Time/Calendar/Gregorian.h"
#include "Data/Time/LocalTime/TimeOfDay.h"

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

// BufferSink writes into a caller's [first, last) and never past it: a
// reservation that fits what is left is handed out in place; one that does
// not goes to a scratch area on the stack and is copied in on commit if what
// was actually written fits. Nothing is allocated.
struct BufferSink {
    static constexpr std::size_t scratchBytes = 96;
    char* cur;
    char* last;
    bool overflow = false;
    bool inPlace = false;
    char scratch[scratchBytes];
    std::string spill;  // only for a reservation larger than the scratch (none today)

    BufferSink(char* first, char* end) noexcept : cur(first), last(end) {}
    std::size_t room() const noexcept { return static_cast<std::size_t>(last - cur); }
    char* reserve(std::size_t n) {
        inPlace = !overflow && room() >= n;
        if (inPlace) return cur;
        if (n <= scratchBytes) return scratch;
        spill.assign(n, '\0');
        return spill.data();
    }
    void commit(std::size_t n) {
        if (inPlace) {
            cur += n;
            return;
        }
        if (!overflow && n <= room()) {
            std::memcpy(cur, spill.empty() ? scratch : spill.data(), n);
            cur += n;
        } else {
            overflow = true;
        }
        spill.clear();
    }
    void append(std::string_view piece) {
        if (!overflow && piece.size() <= room()) {
            std::memcpy(cur, piece.data(), piece.size());
            cur += piece.size();
        } else {
            overflow = true;
        }
    }
    std::to_chars_result result() const noexcept {
        return overflow ? std::to_chars_result{last, std::errc::value_too_large} : std::to_chars_result{cur, std::errc()};
    }
};

// ------------------------------------------------------ fixed-width pieces

inline char* digit(char* p, Int d) noexcept {
    *p = static_cast<char>('0' + d);
    return p + 1;
}

// "00" to "99": two digits are copied at once.
constexpr char digitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The digit helpers take unsigned 32-bit values: their divisions by
// constants are the cheapest the processor has. The helpers of the
// timestamp's fast path are always inlined, so that it is one function.
using U32 = std::uint32_t;

// n in 0..99.
[[gnu::always_inline]] inline char* digits2(char* p, U32 n) noexcept {
    std::memcpy(p, digitPairs + 2 * n, 2);
    return p + 2;
}
// n in 0..9999, with leading zeros.
[[gnu::always_inline]] inline char* digits4(char* p, U32 n) noexcept { return digits2(digits2(p, n / 100), n % 100); }
// n in 0..999999, with leading zeros.
[[gnu::always_inline]] inline char* digits6(char* p, U32 n) noexcept { return digits2(digits4(p, n / 100), n % 100); }

// The most bytes an Int takes in decimal ("-9223372036854775808").
constexpr std::size_t maxIntDigits = 20;

inline char* decimal(char* p, Int n) noexcept { return std::to_chars(p, p + maxIntDigits, n).ptr; }

// A field of a time of day or zone: two digits for 0..99, any other value
// in full decimal (never for valid values).
inline char* field2(char* p, Int n) noexcept {
    return n >= 0 && n <= 99 ? digits2(p, static_cast<U32>(n)) : decimal(p, n);
}

// A year held in an Int: four digits for 0..999, '-' and four digits for
// -999..-1, plain decimal otherwise (for 1000..9999 also four digits).
[[gnu::always_inline]] inline char* smallYear(char* p, Int y) noexcept {
    if (static_cast<std::uint64_t>(y) <= 9999) return digits4(p, static_cast<U32>(y));
    if (y < 0 && y >= -999) {
        *p = '-';
        return digits4(p + 1, static_cast<U32>(-y));
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

// "." and a fraction of a second of 1 to 10^12 - 1 picoseconds, in groups
// of three digits with the trailing all-zero groups dropped: all twelve
// digits are written, then the text is cut after the last group that is
// not all zero.
[[gnu::always_inline]] inline char* fraction(char* p, std::uint64_t frac) noexcept {
    *p = '.';
    const auto high = static_cast<U32>(frac / 1'000'000);
    const auto low = static_cast<U32>(frac - std::uint64_t{high} * 1'000'000);
    digits6(digits6(p + 1, high), low);
    const int groups = low != 0 ? (low % 1000 != 0 ? 4 : 3) : (high % 1000 != 0 ? 2 : 1);
    return p + 1 + 3 * groups;
}

// "HH:MM:SS.ffffffffffff"
constexpr std::size_t maxTime = 21;

inline bool fastTime(Int h, Int m, const core::Integer& ps) noexcept {
    return static_cast<std::uint64_t>(h) <= 99 && static_cast<std::uint64_t>(m) <= 99 && ps.isSmall() &&
           static_cast<std::uint64_t>(ps.unsafeInt()) < static_cast<std::uint64_t>(100 * second);
}

// A time of day of two-digit fields, whole seconds and a fraction below a
// second in picoseconds.
[[gnu::always_inline]] inline char* clockAt(char* p, Int h, Int m, Int s, Int frac) noexcept {
    p = digits2(p, static_cast<U32>(h));
    *p++ = ':';
    p = digits2(p, static_cast<U32>(m));
    *p++ = ':';
    p = digits2(p, static_cast<U32>(s));
    return frac != 0 ? fraction(p, static_cast<std::uint64_t>(frac)) : p;
}

// A time of day whose fields pass fastTime.
inline char* timeFields(char* p, Int h, Int m, Int ps) noexcept {
    const auto u = static_cast<std::uint64_t>(ps);
    const std::uint64_t s = u / second;
    return clockAt(p, h, m, static_cast<Int>(s), static_cast<Int>(u - s * second));
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
        s.append(f, fraction(f, static_cast<std::uint64_t>(frac.unsafeInt())));
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

[[gnu::always_inline]] inline char* zoneAt(char* p, Int minutes) noexcept {
    if (minutes == 0) {
        *p = 'Z';
        return p + 1;
    }
    *p++ = minutes < 0 ? '-' : '+';
    // The magnitude as unsigned, so that the most negative offset is exact.
    const std::uint64_t a =
        minutes < 0 ? 0 - static_cast<std::uint64_t>(minutes) : static_cast<std::uint64_t>(minutes);
    if (a < 6000) [[likely]] {
        const auto m = static_cast<U32>(a);
        p = digits2(p, m / 60);
        *p++ = ':';
        return digits2(p, m % 60);
    }
    p = std::to_chars(p, p + maxIntDigits, a / 60).ptr;
    *p++ = ':';
    return digits2(p, static_cast<U32>(a % 60));
}

// ------------------------------------------------------------- renderers

// year "-" MM "-" DD, with room for `tail` more bytes after it.
template <class Sink>
inline char* dateAt(Sink& out, const kalmet::Day& day, std::size_t tail, char*& start) {
    const kalmet::YearMonthDay g = kalmet::toGregorian(day);
    char* p = startWithYear(out, g.year, 6 + tail, start);
    *p++ = '-';
    p = digits2(p, static_cast<U32>(g.month));
    *p++ = '-';
    return digits2(p, static_cast<U32>(g.day));
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
    finish(out, start, digits2(p, static_cast<U32>(month)));
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

// The common case of a timestamp in one reservation: a day number below
// kalmet's machine-integer bound and a time of day that passes fastTime.
// Writes day "T" time of day, then the zone's designator when
// `zoneMinutes` is given ('Z' for 0).
template <class Sink>
[[gnu::always_inline]] inline void fastDayTime(Sink& out, Int mjd, Int h, Int m, Int s, Int frac,
                                               const Int* zoneMinutes) {
    char* const start = out.reserve(maxIntDigits + 7 + maxTime + maxZone);
    const kalmet::detail::SmallYearMonthDay g = kalmet::detail::gregorianOfSmallDay(mjd);
    char* p = smallYear(start, g.year);
    *p++ = '-';
    p = digits2(p, static_cast<U32>(g.month));
    *p++ = '-';
    p = digits2(p, static_cast<U32>(g.day));
    *p++ = 'T';
    p = clockAt(p, h, m, s, frac);
    if (zoneMinutes) p = zoneAt(p, *zoneMinutes);
    finish(out, start, p);
}

// The same for any day and time of day.
template <class Sink>
[[gnu::noinline]] void generalDayTime(Sink& out, const kalmet::Day& day, const kalmet::TimeOfDay& t,
                                      const Int* zoneMinutes) {
    const std::size_t zoneRoom = zoneMinutes ? maxZone : 0;
    char* start;
    char* p = dateAt(out, day, 1 + maxTime + zoneRoom, start);
    *p++ = 'T';
    p = timeAt(out, start, p, t, zoneRoom);
    if (zoneMinutes) p = zoneAt(p, *zoneMinutes);
    finish(out, start, p);
}

template <class Sink>
inline void putDayTime(Sink& out, const kalmet::Day& day, const kalmet::TimeOfDay& t, const Int* zoneMinutes) {
    const core::Integer& mjd = day.toModifiedJulianDay();
    const core::Integer& ps = t.seconds.picoseconds();
    if (kalmet::detail::isSmallDay(mjd) && fastTime(t.hour, t.minute, ps)) [[likely]] {
        const auto u = static_cast<std::uint64_t>(ps.unsafeInt());
        const std::uint64_t s = u / second;
        fastDayTime(out, mjd.unsafeInt(), t.hour, t.minute, static_cast<Int>(s), static_cast<Int>(u - s * second),
                    zoneMinutes);
    } else
        generalDayTime(out, day, t, zoneMinutes);
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
    const core::Integer& mjd = t.day.toModifiedJulianDay();
    const core::Integer& ps = t.dayTime.picoseconds();
    if (kalmet::detail::isSmallDay(mjd) && ps.isSmall() && ps.unsafeInt() >= 0 && ps.unsafeInt() < dayPicos)
        [[likely]] {
        const kalmet::detail::ClockFields c = kalmet::detail::clockFields(ps.unsafeInt());
        fastDayTime(out, mjd.unsafeInt(), c.hour, c.minute, c.second, c.picoseconds, &zero);
        return;
    }
    if (ps.isSmall() && ps.unsafeInt() >= 0 && ps.unsafeInt() < dayPicos + second) {
        // Within the day, or within a leap second at its end (23:59:60.x).
        putDayTime(out, t.day, kalmet::timeToTimeOfDay(t.dayTime), &zero);
        return;
    }
    // Not a valid time since midnight: carried into the neighbouring days.
    auto [days, rest] = core::divMod(ps, core::Integer(dayPicos));
    putDayTime(out, kalmet::addDays(days, t.day), kalmet::timeToTimeOfDay(kalmet::DiffTime::fromPicoseconds(rest)),
               &zero);
}

// The other forms of each renderer.
template <class T, void (*PutB)(core::Builder&, const T&), void (*PutS)(StringSink&, const T&),
          void (*PutC)(BufferSink&, const T&)>
struct Forms {
    static std::to_chars_result chars(char* first, char* last, const T& x) {
        BufferSink sink{first, last};
        PutC(sink, x);
        return sink.result();
    }
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

#define TARVEL_FORMS(T, put) Forms<T, put<core::Builder>, put<StringSink>, put<BufferSink>>

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

std::to_chars_result toChars(char* first, char* last, const kalmet::Year& year) {
    return YearForms::chars(first, last, year);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::Month& month) {
    return MonthForms::chars(first, last, month);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::Day& day) {
    return DayForms::chars(first, last, day);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::Quarter& quarter) {
    return QuarterForms::chars(first, last, quarter);
}
std::to_chars_result toChars(char* first, char* last, kalmet::QuarterOfYear quarter) {
    return QuarterOfYearForms::chars(first, last, quarter);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::TimeOfDay& time) {
    return TimeOfDayForms::chars(first, last, time);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::TimeZone& zone) {
    return TimeZoneForms::chars(first, last, zone);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::LocalTime& time) {
    return LocalTimeForms::chars(first, last, time);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::UTCTime& time) {
    return UTCTimeForms::chars(first, last, time);
}
std::to_chars_result toChars(char* first, char* last, const kalmet::ZonedTime& time) {
    return ZonedTimeForms::chars(first, last, time);
}

}  // namespace tarvel
