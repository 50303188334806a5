#include "Data/Time/FromText.h"

#include <bit>
#include <cstring>
#include <optional>
#include <ostream>

#include "Data/Time/Calendar/MonthDay.h"
#include "Data/Time/Calendar/OrdinalDate.h"

namespace tarvel {

// ---------------------------------------------------------------- Message

namespace {

// The escaped character form of an ASCII character: printable ones stand
// for themselves (the backslash and the quote are escaped), control
// characters as their escape or mnemonic.
void appendEscaped(std::string& out, unsigned char c) {
    static constexpr std::string_view controls[32] = {
        "\\NUL", "\\SOH", "\\STX", "\\ETX", "\\EOT", "\\ENQ", "\\ACK", "\\a",
        "\\b",   "\\t",   "\\n",   "\\v",   "\\f",   "\\r",   "\\SO",  "\\SI",
        "\\DLE", "\\DC1", "\\DC2", "\\DC3", "\\DC4", "\\NAK", "\\SYN", "\\ETB",
        "\\CAN", "\\EM",  "\\SUB", "\\ESC", "\\FS",  "\\GS",  "\\RS",  "\\US"};
    out += '\'';
    if (c < 32) out += controls[c];
    else if (c == 127) out += "\\DEL";
    else if (c == '\\') out += "\\\\";
    else if (c == '\'') out += "\\'";
    else out += static_cast<char>(c);
    out += '\'';
}

// A picosecond count as seconds with exactly twelve decimals.
void appendPicoseconds(std::string& out, core::Int ps) {
    // The magnitude as unsigned, so that the most negative count is exact.
    unsigned long long m = static_cast<unsigned long long>(ps);
    if (ps < 0) {
        out += '-';
        m = 0ULL - m;
    }
    out += std::to_string(m / 1'000'000'000'000ULL);
    std::string frac = std::to_string(m % 1'000'000'000'000ULL);
    out += '.';
    out.append(12 - frac.size(), '0');
    out += frac;
}

}  // namespace

void Message::appendTo(std::string& out) const {
    const std::string_view phrase(phrase_, phraseSize_);
    switch (kind_) {
        case Kind::Text:
            out += phrase;
            return;
        case Kind::End:
            out += "Unexpected end-of-input, expecting ";
            out += phrase;
            return;
        case Kind::Char:
            out += "Unexpected '";
            for (std::uint8_t i = 0; i < charSize_; ++i) out += static_cast<char>((char_ >> (8 * i)) & 0xFF);
            out += "', expecting ";
            out += phrase;
            return;
        case Kind::Escaped:
            out += "Unexpected ";
            appendEscaped(out, static_cast<unsigned char>(char_ & 0xFF));
            out += ", expecting ";
            out += phrase;
            return;
        case Kind::Fields:
            out += phrase;
            out += '(';
            if (hasYear_) year_.appendTo(out);
            for (std::uint8_t i = 0; i < intCount_; ++i) {
                if (hasYear_ || i > 0) out += ',';
                if (lastIsPicoseconds_ && i + 1 == intCount_) appendPicoseconds(out, ints_[i]);
                else out += std::to_string(ints_[i]);
            }
            out += ')';
            return;
    }
}

std::string Message::str() const {
    std::string out;
    appendTo(out);
    return out;
}

std::ostream& operator<<(std::ostream& out, const Message& m) { return out << m.str(); }

namespace {

using core::Int;
using kalmet::Year;

// ------------------------------------------------------------ the reader
//
// The input is read front to back through a cursor over its bytes; every
// step consumes what it matched and leaves the cursor on the rest. A step
// that fails stores its one message in `err` and returns false; the first
// failure ends the parse.

struct Cursor {
    const unsigned char* p;
    const unsigned char* e;
    bool atEnd() const noexcept { return p == e; }
};

Cursor cursorOf(const Input& in) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(in.bytes().data());
    return {p, p + in.bytes().size()};
}

constexpr int endOfInput = -1;
constexpr int failed = -2;

bool isDigit(int c) noexcept { return static_cast<unsigned>(c - '0') <= 9; }

// Look-ahead over fixed shapes: the common inputs are checked several bytes
// at a time without consuming anything; when a shape does not match, the
// byte-by-byte steps take over at the same position, so every message and
// the order of checks stay those of the steps.
constexpr bool littleEndian = std::endian::native == std::endian::little;

// The N bytes at p as a little-endian number, read with loads of the
// sizes the processor has (a copy into a zeroed word would stall on
// store forwarding).
template <class T>
T loadAs(const unsigned char* p) noexcept {
    T x;
    std::memcpy(&x, p, sizeof x);
    return x;
}
template <std::size_t N>
std::uint64_t loadBytes(const unsigned char* p) noexcept {
    static_assert(N >= 1 && N <= 8);
    if constexpr (N == 8) return loadAs<std::uint64_t>(p);
    else if constexpr (N == 4) return loadAs<std::uint32_t>(p);
    else if constexpr (N > 4) return loadAs<std::uint32_t>(p) | (loadBytes<N - 4>(p + 4) << 32);
    else if constexpr (N >= 2) return loadAs<std::uint16_t>(p) | (N > 2 ? std::uint64_t{p[2]} << 16 : 0);
    else return p[0];
}

// Four decimal digits at p (p has at least four bytes).
inline bool fourDigitsAt(const unsigned char* p) noexcept {
    const auto x = static_cast<std::uint32_t>(loadBytes<4>(p));
    return (x & 0xF0F0F0F0u) == 0x30303030u && ((x + 0x06060606u) & 0xF0F0F0F0u) == 0x30303030u;
}

inline Int twoDigitsAt(const unsigned char* p) noexcept { return 10 * (p[0] & 0x0F) + (p[1] & 0x0F); }

// The messages of the failure paths: each holds the parts of its text
// (see Message), so building one costs a few stores.

Message nonAscii() noexcept { return Message::text("Non-ASCII character"); }

Message unexpectedEnd(std::string_view expecting) noexcept { return Message::unexpectedEnd(expecting); }

// "Unexpected 'c', expecting <phrase>", with the character's bytes raw.
Message unexpectedChars(std::string_view c, std::string_view expecting) noexcept {
    return Message::unexpected(c, expecting);
}

Message unexpectedChar(int c, std::string_view expecting) noexcept {
    const char ch = static_cast<char>(c);
    return unexpectedChars(std::string_view(&ch, 1), expecting);
}

// unconsAscii: the next character if it is ASCII (the cursor moves past
// it); endOfInput when the input is exhausted (the length test comes
// first); failed, with "Non-ASCII character", on a byte of 0x80 or above.
[[gnu::always_inline]] inline int unconsAscii(Cursor& in, Message& err) {
    if (in.atEnd()) return endOfInput;
    const unsigned char b = *in.p;
    if (b >= 0x80) [[unlikely]] {
        err = nonAscii();
        return failed;
    }
    ++in.p;
    return b;
}

// requireEnd: succeeds on an exhausted input, else reports the next
// character, decoded whole from UTF-8 (an invalid sequence shows as
// U+FFFD, as in a core::Text). The rare multi-byte case is out of line.
[[gnu::cold, gnu::noinline]] void failBeforeMultibyte(Cursor in, Message& err) {
    const std::string_view rest(reinterpret_cast<const char*>(in.p), static_cast<std::size_t>(in.e - in.p));
    const auto d = core::utf8::decode(rest);
    err = unexpectedChars(d ? rest.substr(0, d->size) : std::string_view("\xEF\xBF\xBD"), "end-of-input");
}

inline bool requireEnd(const Cursor& in, Message& err) {
    if (in.atEnd()) return true;
    if (*in.p < 0x80) err = unexpectedChar(*in.p, "end-of-input");
    else failBeforeMultibyte(in, err);
    return false;
}

// Reads one character that must be `want`, with the messages of a position
// whose phrase is `expecting`.
[[gnu::always_inline]] inline bool expectChar(Cursor& in, char want, std::string_view expecting, Message& err) {
    const int c = unconsAscii(in, err);
    if (c == want) return true;
    if (c == endOfInput) err = unexpectedEnd(expecting);
    else if (c != failed) err = unexpectedChar(c, expecting);
    return false;
}

// One decimal digit of a two-digit field.
[[gnu::always_inline]] inline bool readDigit(Cursor& in, Int& out, Message& err) {
    const int c = unconsAscii(in, err);
    if (isDigit(c)) {
        out = c & 0x0F;
        return true;
    }
    if (c == endOfInput) err = unexpectedEnd("a digit");
    else if (c != failed) err = unexpectedChar(c, "a digit");
    return false;
}

// readTwoDigits: exactly two decimal digits, 00..99; the first is checked
// before the second is read.
[[gnu::always_inline]] inline bool readTwoDigits(Cursor& in, Int& out, Message& err) {
    Int hi, lo;
    if (!readDigit(in, hi, err) || !readDigit(in, lo, err)) [[unlikely]] return false;
    out = 10 * hi + lo;
    return true;
}

// The value of a run of n decimal digits: machine arithmetic up to 18
// digits (computed while scanning), the general conversion beyond.
constexpr std::size_t maxSmallDigits = 18;

Message unexpectedYearStart(int c) noexcept {
    return Message::unexpectedEscaped(static_cast<char>(c), "-, +, or a digit");
}

Message shortYear() noexcept { return Message::text("expected year with at least 4 digits"); }

[[gnu::noinline]] Year bigDigits(const unsigned char* start, std::size_t n, bool negative) {
    Year y = core::Integer::fromDigits(std::string_view(reinterpret_cast<const char*>(start), n));
    return negative ? -y : y;
}

// parseYear_: the year step. An optional sign and a digit run of at least
// four digits. On success the cursor rests on the character that ended the
// run (an ASCII non-digit) or at the end of the input; the caller's next
// step decides what may follow.
inline bool parseYear_(Cursor& in, Year& year, Message& err) {
    const int first = unconsAscii(in, err);
    if (first == failed) [[unlikely]] return false;
    if (first == endOfInput) [[unlikely]] {
        err = unexpectedEnd("-, +, or a digit");
        return false;
    }
    const bool negative = first == '-';
    if (first != '-' && first != '+') {
        if (!isDigit(first)) [[unlikely]] {
            err = unexpectedYearStart(first);
            return false;
        }
        --in.p;  // the digit starts the run
    }
    const unsigned char* start = in.p;
    Int v = 0;
    if (in.e - in.p >= 4 && fourDigitsAt(in.p)) {
        v = 1000 * (in.p[0] & 0x0F) + 100 * (in.p[1] & 0x0F) + twoDigitsAt(in.p + 2);
        in.p += 4;
    }
    while (!in.atEnd()) {
        const unsigned char b = *in.p;
        if (isDigit(b)) {
            if (static_cast<std::size_t>(in.p - start) < maxSmallDigits) v = 10 * v + (b & 0x0F);
            ++in.p;
            continue;
        }
        if (b >= 0x80) [[unlikely]] {
            err = nonAscii();
            return false;
        }
        break;
    }
    const auto n = static_cast<std::size_t>(in.p - start);
    if (n < 4) [[unlikely]] {
        err = shortYear();
        return false;
    }
    if (n <= maxSmallDigits) year = Year(negative ? -v : v);
    else year = bigDigits(start, n, negative);
    return true;
}

// A prefix and the tuple text form of calendar fields, the year first:
// "(" fields joined by "," ")".
inline Message withFields(std::string_view prefix, const Year& y, Int m) {
    return Message::fields(prefix, &y, {m});
}
inline Message withFields(std::string_view prefix, const Year& y, Int m, Int d) {
    return Message::fields(prefix, &y, {m, d});
}

// The separator after a year, shared by months, days and quarters.
inline bool dashAfterYear(Cursor& in, Message& err) {
    return expectChar(in, '-', "a dash after a year part", err);
}

// The common shape YYYY-MM-DD (ten bytes at p): four digits, '-',
// two digits, '-', two digits.
inline bool shortDateShape(const unsigned char* p) noexcept {
    if constexpr (!littleEndian) return false;
    const std::uint64_t x = loadBytes<8>(p);
    const std::uint64_t t = loadBytes<2>(p + 8);
    return (x & 0xFFF0F0FFF0F0F0F0ull) == 0x2D30302D30303030ull &&
           ((x + 0x0006060006060606ull) & 0x00F0F000F0F0F0F0ull) == 0x0030300030303030ull &&
           (t & 0xF0F0u) == 0x3030u && ((t + 0x0606u) & 0xF0F0u) == 0x3030u;
}

// The fields of a date of that shape, and its day of the year when the
// date is in the calendar. A four-digit year always lies in the range where
// the calendar's machine-integer forms apply.
struct ShortDate {
    Int year, month, day;
    std::optional<kalmet::DayOfYear> dayOfYear;
};
[[gnu::always_inline]] inline ShortDate readShortDate(const unsigned char* p) noexcept {
    // The digits of "YYYY-MM-" as nibbles; multiplying by 10 and adding the
    // next byte leaves 10 b0 + b1, 10 b2 + b3 and 10 b5 + b6 in bytes 0, 2
    // and 5 (no byte carries: every sum is at most 99).
    const std::uint64_t digits = loadBytes<8>(p) & 0x000F0F000F0F0F0Full;
    const std::uint64_t pairs = digits * 10 + (digits >> 8);
    const Int y = static_cast<Int>((pairs & 0xFF) * 100 + ((pairs >> 16) & 0xFF));
    const Int m = static_cast<Int>((pairs >> 40) & 0xFF);
    const Int d = twoDigitsAt(p + 8);
    return {y, m, d, kalmet::monthAndDayToDayOfYearValid(kalmet::detail::isLeapYearInt(y), m, d)};
}

// The Day of a date of that shape, or its "invalid day" message: the same
// checks, in the same order, as the steps of parseDate and requireEnd give
// for such an input.
[[gnu::always_inline]] inline Result<kalmet::Day> shortDate(const unsigned char* p) {
    const ShortDate s = readShortDate(p);
    if (s.dayOfYear) [[likely]]
        return Result<kalmet::Day>::right(kalmet::Day(kalmet::detail::ordinalToMjdFourDigits(s.year, *s.dayOfYear)));
    return Result<kalmet::Day>::left(withFields("invalid day:", Year(s.year), s.month, s.day));
}

// The calendar date: year '-' MM '-' DD, validated against the calendar.
[[gnu::noinline]] bool parseDateSteps(Cursor& in, kalmet::Day& day, Message& err);

[[gnu::always_inline]] inline bool parseDate(Cursor& in, kalmet::Day& day, Message& err) {
    if (in.e - in.p >= 10 && shortDateShape(in.p)) {
        // Four digits and '-' end the year run: the steps would read exactly
        // these fields, with the same checks.
        const ShortDate s = readShortDate(in.p);
        in.p += 10;
        if (s.dayOfYear) [[likely]] {
            day = kalmet::Day(kalmet::detail::ordinalToMjdFourDigits(s.year, *s.dayOfYear));
            return true;
        }
        err = withFields("invalid day:", Year(s.year), s.month, s.day);
        return false;
    }
    return parseDateSteps(in, day, err);
}

bool parseDateSteps(Cursor& in, kalmet::Day& day, Message& err) {
    Year y;
    Int m, d;
    if (!parseYear_(in, y, err)) [[unlikely]]
        return false;
    if (littleEndian && in.e - in.p >= 6 &&
        (loadBytes<6>(in.p) & 0xF0F0FFF0F0FFull) == 0x30302D30302Dull &&
        ((loadBytes<6>(in.p) + 0x060600060600ull) & 0xF0F000F0F000ull) == 0x303000303000ull) {
        // "-MM-DD"
        m = twoDigitsAt(in.p + 1);
        d = twoDigitsAt(in.p + 4);
        in.p += 6;
    } else if (!dashAfterYear(in, err) || !readTwoDigits(in, m, err) || !expectChar(in, '-', "a dash, -", err) ||
               !readTwoDigits(in, d, err)) [[unlikely]] {
        return false;
    }
    const bool leap = kalmet::isLeapYear(y);
    if (const auto yd = kalmet::monthAndDayToDayOfYearValid(leap, m, d)) {
        if (auto r = kalmet::fromOrdinalDateValid(y, *yd)) {
            day = std::move(*r);
            return true;
        }
    }
    [[unlikely]] err = withFields("invalid day:", y, m, d);
    return false;
}

// The quarter letter and digit.
inline bool parseQuarterLetterDigit(Cursor& in, kalmet::QuarterOfYear& q, Message& err) {
    const int c = unconsAscii(in, err);
    if (c == failed) [[unlikely]] return false;
    if (c == endOfInput) [[unlikely]] {
        err = unexpectedEnd("QuarterOfYear");
        return false;
    }
    if (c != 'Q' && c != 'q') [[unlikely]] {
        err = unexpectedChar(c, "QuarterOfYear");
        return false;
    }
    const int d = unconsAscii(in, err);
    if (d == failed) [[unlikely]] return false;
    if (d == endOfInput) [[unlikely]] {
        err = unexpectedEnd("Quarter digit");
        return false;
    }
    if (d < '1' || d > '4') [[unlikely]] {
        err = unexpectedChar(d, "QuarterOfYear digit");
        return false;
    }
    q = static_cast<kalmet::QuarterOfYear>(d - '0');
    return true;
}

// ----------------------------------------------------------- time steps

// "HH:MM" at p (five bytes).
inline bool hourMinuteShape(const unsigned char* p) noexcept {
    const std::uint64_t x = loadBytes<5>(p);
    return (x & 0xF0F0FFF0F0ull) == 0x30303A3030ull && ((x + 0x0606000606ull) & 0xF0F000F0F0ull) == 0x3030003030ull;
}
// ":SS" at p (three bytes).
inline bool colonSecondsShape(const unsigned char* p) noexcept {
    const std::uint64_t x = loadBytes<3>(p);
    return (x & 0xF0F0FFull) == 0x30303Aull && ((x + 0x060600ull) & 0xF0F000ull) == 0x303000ull;
}

constexpr Int powersOfTen[13] = {1,         10,         100,         1000,         10000,         100000,      1000000,
                                 10000000,  100000000,  1000000000,  10000000000,  100000000000,  1000000000000};

// The fields of a time of day as read; seconds in picoseconds.
struct TimeFields {
    Int hour = 0;
    Int minute = 0;
    Int picoseconds = 0;
};

// The value of eight decimal digits held as byte values 0..9, the first
// (most significant) in the lowest byte: pairs, then quadruples, then the
// whole, each step one multiplication.
inline std::uint64_t eightDigitsValue(std::uint64_t digits) noexcept {
    digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFull;
    digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFull;
    return (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFull;
}

// readFraction: the decimals after the seconds' dot. Scans the digit run
// (a non-ASCII byte fails at once), checks its count, and gives the
// fraction scaled to twelve decimals (picoseconds). The first eight bytes
// are looked at together: a run of varying length would otherwise end in a
// mispredicted branch on most inputs. The caller has read at least
// "HH:MM:SS." from the input, so the eight bytes that end at the input's
// end (when fewer than eight remain) all lie within it.
inline bool readFraction(Cursor& in, Int& picoseconds, Message& err) {
    const unsigned char* start = in.p;
    Int v = 0;
    if (littleEndian && !in.atEnd()) {
        const auto remaining = in.e - in.p;
        const unsigned char* window = remaining >= 8 ? in.p : in.e - 8;
        // The bytes from the cursor on, lowest first; past the end zeros,
        // which are no digits.
        const std::uint64_t bytes = loadBytes<8>(window) >> (8 * (in.p - window));
        const std::uint64_t values = bytes ^ 0x3030303030303030ull;  // digits become 0..9
        // High bit set in every byte that is no digit (a carry only runs
        // upwards from such a byte, so the lowest flag is right).
        const std::uint64_t nonDigits = ((values + 0x7676767676767676ull) | values) & 0x8080808080808080ull;
        if (nonDigits != 0) {
            const int n = std::countr_zero(nonDigits) >> 3;
            in.p += n;
            if (!in.atEnd() && *in.p >= 0x80) [[unlikely]] {
                err = nonAscii();
                return false;
            }
            if (n == 0) [[unlikely]] {
                err = Message::text("Expecting at least one decimal after a dot");
                return false;
            }
            // The n digits moved to the top, zeros (leading) below.
            picoseconds = static_cast<Int>(eightDigitsValue(values << (64 - 8 * n))) * powersOfTen[12 - n];
            return true;
        }
        v = static_cast<Int>(eightDigitsValue(values));
        in.p += 8;
    }
    while (!in.atEnd()) {
        const unsigned char b = *in.p;
        if (isDigit(b)) {
            if (in.p - start < 12) v = 10 * v + (b & 0x0F);
            ++in.p;
            continue;
        }
        if (b >= 0x80) [[unlikely]] {
            err = nonAscii();
            return false;
        }
        break;
    }
    const auto n = in.p - start;
    if (n == 0) [[unlikely]] {
        err = Message::text("Expecting at least one decimal after a dot");
        return false;
    }
    if (n > 12) [[unlikely]] {
        err = Message::text("Unexpectedly over twelve decimals");
        return false;
    }
    picoseconds = v * powersOfTen[12 - n];
    return true;
}

// Peeks at the character after a field of the time: true with `c` set (the
// cursor stays on it) or at the end (c = endOfInput); false with "Non-ASCII
// character" for a byte of 0x80 or above.
[[gnu::always_inline]] inline bool peekAscii(const Cursor& in, int& c, Message& err) {
    if (in.atEnd()) {
        c = endOfInput;
        return true;
    }
    if (*in.p >= 0x80) [[unlikely]] {
        err = nonAscii();
        return false;
    }
    c = *in.p;
    return true;
}

// The time of day: HH ':' MM [':' SS ['.' decimals]]. On success the time
// is complete and the cursor rests at the end or on the ASCII character
// that follows it (not consumed); the fields are not yet validated.
[[gnu::always_inline]] inline bool readTime(Cursor& in, TimeFields& t, Message& err) {
    Int hour, minute;
    if (in.e - in.p >= 5 && hourMinuteShape(in.p)) {
        hour = twoDigitsAt(in.p);
        minute = twoDigitsAt(in.p + 3);
        in.p += 5;
    } else if (!readTwoDigits(in, hour, err) || !expectChar(in, ':', "a colon, :", err) ||
               !readTwoDigits(in, minute, err)) [[unlikely]] {
        return false;
    }
    t.hour = hour;
    t.minute = minute;
    t.picoseconds = 0;
    int c;
    if (!peekAscii(in, c, err)) [[unlikely]]
        return false;
    if (c != ':') return true;
    Int seconds;
    if (in.e - in.p >= 3 && colonSecondsShape(in.p)) {
        seconds = twoDigitsAt(in.p + 1);
        in.p += 3;
    } else {
        ++in.p;
        if (!readTwoDigits(in, seconds, err)) [[unlikely]]
            return false;
    }
    t.picoseconds = seconds * kalmet::detail::picosPerSecond;
    if (!peekAscii(in, c, err)) [[unlikely]]
        return false;
    if (c != '.') return true;
    ++in.p;
    Int fraction = 0;
    if (!readFraction(in, fraction, err)) [[unlikely]]
        return false;
    t.picoseconds += fraction;
    return true;
}

inline Message invalidTime(Int hour, Int minute, Int picoseconds) {
    return Message::fields("Invalid time of day:", nullptr, {hour, minute, picoseconds}, true);
}

// Hours below 24 and minutes below 60, then seconds below 61 (a leap
// second fits).
inline bool validateTime(const TimeFields& t, Message& err) {
    const Int hour = t.hour, minute = t.minute, picoseconds = t.picoseconds;
    if (hour < 24 && minute < 60 && picoseconds < 61 * kalmet::detail::picosPerSecond) [[likely]]
        return true;
    err = invalidTime(hour, minute, picoseconds);
    return false;
}

inline kalmet::TimeOfDay toTimeOfDay(const TimeFields& t) {
    return kalmet::TimeOfDay{t.hour, t.minute, kalmet::Pico::fromPicoseconds(t.picoseconds)};
}

// hhmm: the offset after the zone's sign. HH, then at the end nothing
// more, else ':' MM or MM; then the end of the input; then the ranges.
inline bool hhmm(Cursor& in, bool negative, Int& offsetMinutes, Message& err) {
    Int hours, minutes = 0;
    if (in.e - in.p == 5 && hourMinuteShape(in.p)) {
        hours = twoDigitsAt(in.p);
        minutes = twoDigitsAt(in.p + 3);
        in.p += 5;
    } else {
        if (!readTwoDigits(in, hours, err)) [[unlikely]]
            return false;
        if (!in.atEnd()) {
            const int c = unconsAscii(in, err);
            if (c == failed) [[unlikely]]
                return false;
            if (c == ':') {
                if (!readTwoDigits(in, minutes, err)) [[unlikely]]
                    return false;
            } else if (isDigit(c)) {
                Int second;
                if (!readDigit(in, second, err)) [[unlikely]]
                    return false;
                minutes = 10 * (c & 0x0F) + second;
            } else [[unlikely]] {
                err = unexpectedChar(c, "colon or a digit");
                return false;
            }
            if (!requireEnd(in, err)) [[unlikely]]
                return false;
        }
    }
    if (hours >= 24 || minutes >= 60) [[unlikely]] {
        err = Message::fields("Invalid TimeZone:", nullptr, {hours, minutes});
        return false;
    }
    const Int offset = hours * 60 + minutes;
    offsetMinutes = negative ? -offset : offset;
    return true;
}

constexpr std::string_view zonePhrase = "timezone: Z, +HH:MM or -HH:MM";

// The zone after a complete time of a UTC or zoned time: the cursor rests
// at the end or on an ASCII character.
[[gnu::always_inline]] inline bool zoneAfterTime(Cursor& in, Int& offsetMinutes, Message& err) {
    if (in.atEnd()) [[unlikely]] {
        err = unexpectedEnd("timezone");
        return false;
    }
    const int c = *in.p++;
    if (c == 'Z') return requireEnd(in, err);
    if (c == '+' || c == '-') return hhmm(in, c == '-', offsetMinutes, err);
    err = unexpectedChar(c, zonePhrase);
    return false;
}

// The date, the separator and the time of a timestamp, validated.
[[gnu::always_inline]] inline bool readTimestamp(Cursor& in, kalmet::Day& day, TimeFields& t, Message& err) {
    if (!parseDate(in, day, err)) [[unlikely]]
        return false;
    const int sep = unconsAscii(in, err);
    if (sep != 'T' && sep != ' ') [[unlikely]] {
        if (sep == endOfInput) err = unexpectedEnd("a day separator, T or space");
        else if (sep != failed) err = unexpectedChar(sep, "a day separator, T or space");
        return false;
    }
    return readTime(in, t, err) && validateTime(t, err);
}

}  // namespace

// ---------------------------------------------------------- date parsers

Result<Year> parseYear(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    Year y;
    if (!parseYear_(in, y, err)) [[unlikely]] return Result<Year>::left(std::move(err));
    // The digit run stopped at an ASCII non-digit or at the end.
    if (!in.atEnd()) [[unlikely]] return Result<Year>::left(unexpectedChar(*in.p, "end-of-input"));
    return Result<Year>::right(std::move(y));
}

Result<kalmet::Month> parseMonth(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    Year y;
    Int m;
    if (!parseYear_(in, y, err) || !dashAfterYear(in, err) || !readTwoDigits(in, m, err))
        return Result<kalmet::Month>::left(std::move(err));
    if (m < 1 || m > 12) [[unlikely]] return Result<kalmet::Month>::left(withFields("invalid month:", y, m));
    if (!requireEnd(in, err)) [[unlikely]] return Result<kalmet::Month>::left(std::move(err));
    return Result<kalmet::Month>::right(kalmet::YearMonth(std::move(y), m));
}

namespace {
[[gnu::noinline]] Result<kalmet::Day> parseDaySteps(Cursor in) {
    Message err;
    kalmet::Day d;
    if (!parseDate(in, d, err) || !requireEnd(in, err)) [[unlikely]]
        return Result<kalmet::Day>::left(std::move(err));
    return Result<kalmet::Day>::right(std::move(d));
}
}  // namespace

Result<kalmet::Day> parseDay(Input input) {
    const Cursor in = cursorOf(input);
    // The common shape YYYY-MM-DD is recognised in one look (nothing is
    // consumed by looking); every other input goes through the steps.
    if (in.e - in.p == 10 && shortDateShape(in.p)) return shortDate(in.p);
    return parseDaySteps(in);
}

Result<kalmet::Quarter> parseQuarter(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    Year y;
    kalmet::QuarterOfYear q;
    if (!parseYear_(in, y, err) || !dashAfterYear(in, err) || !parseQuarterLetterDigit(in, q, err) ||
        !requireEnd(in, err))
        return Result<kalmet::Quarter>::left(std::move(err));
    return Result<kalmet::Quarter>::right(kalmet::YearQuarter(std::move(y), q));
}

Result<kalmet::QuarterOfYear> parseQuarterOfYear(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    kalmet::QuarterOfYear q;
    if (!parseQuarterLetterDigit(in, q, err) || !requireEnd(in, err)) [[unlikely]]
        return Result<kalmet::QuarterOfYear>::left(std::move(err));
    return Result<kalmet::QuarterOfYear>::right(q);
}

}  // namespace tarvel

namespace tarvel {

// ---------------------------------------------------------- time parsers

Result<kalmet::TimeOfDay> parseTimeOfDay(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    TimeFields t;
    if (!readTime(in, t, err)) [[unlikely]]
        return Result<kalmet::TimeOfDay>::left(std::move(err));
    // A stray character is reported before the time is validated.
    if (!in.atEnd()) [[unlikely]]
        return Result<kalmet::TimeOfDay>::left(unexpectedChar(*in.p, "end-of-input"));
    if (!validateTime(t, err)) [[unlikely]]
        return Result<kalmet::TimeOfDay>::left(std::move(err));
    return Result<kalmet::TimeOfDay>::right(toTimeOfDay(t));
}

Result<kalmet::TimeZone> parseTimeZone(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    Int minutes = 0;
    const int c = unconsAscii(in, err);
    bool ok;
    if (c == 'Z') ok = requireEnd(in, err);
    else if (c == '+' || c == '-') ok = hhmm(in, c == '-', minutes, err);
    else if (c == endOfInput) ok = false, err = unexpectedEnd(zonePhrase);
    else if (c == failed) ok = false;
    else ok = false, err = unexpectedChar(c, zonePhrase);
    if (!ok) [[unlikely]]
        return Result<kalmet::TimeZone>::left(std::move(err));
    return Result<kalmet::TimeZone>::right(kalmet::minutesToTimeZone(minutes));
}

Result<kalmet::LocalTime> parseLocalTime(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    kalmet::Day day;
    TimeFields t;
    if (!readTimestamp(in, day, t, err)) [[unlikely]]
        return Result<kalmet::LocalTime>::left(std::move(err));
    // The time was validated first; what remains must be nothing.
    if (!in.atEnd()) [[unlikely]]
        return Result<kalmet::LocalTime>::left(unexpectedChar(*in.p, "end-of-input"));
    return Result<kalmet::LocalTime>::right(kalmet::LocalTime{std::move(day), toTimeOfDay(t)});
}

Result<kalmet::UTCTime> parseUTCTime(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    kalmet::Day day;
    TimeFields t;
    Int zoneMinutes = 0;
    if (!readTimestamp(in, day, t, err) || !zoneAfterTime(in, zoneMinutes, err)) [[unlikely]]
        return Result<kalmet::UTCTime>::left(std::move(err));
    // The time is validated and the zone within a day: localTimeToUTC's
    // machine-integer form applies whenever the day number is small.
    const core::Integer& mjd = day.toModifiedJulianDay();
    if (kalmet::detail::isSmallDay(mjd)) [[likely]]
        return Result<kalmet::UTCTime>::right(
            kalmet::detail::localFieldsToUTC(mjd.unsafeInt(), t.hour, t.minute, t.picoseconds, zoneMinutes));
    return Result<kalmet::UTCTime>::right(kalmet::localTimeToUTC(kalmet::minutesToTimeZone(zoneMinutes),
                                              kalmet::LocalTime{std::move(day), toTimeOfDay(t)}));
}

Result<kalmet::ZonedTime> parseZonedTime(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    kalmet::Day day;
    TimeFields t;
    Int zoneMinutes = 0;
    if (!readTimestamp(in, day, t, err) || !zoneAfterTime(in, zoneMinutes, err)) [[unlikely]]
        return Result<kalmet::ZonedTime>::left(std::move(err));
    return Result<kalmet::ZonedTime>::right(
        kalmet::ZonedTime{kalmet::LocalTime{std::move(day), toTimeOfDay(t)}, kalmet::minutesToTimeZone(zoneMinutes)});
}

}  // namespace tarvel
