#include "Data/Time/FromText.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <ostream>

#include "Data/Time/Calendar/MonthDay.h"
#include "Data/Time/Calendar/OrdinalDate.h"

namespace tarvel {

// ---------------------------------------------------------------- Message

Message::Message(std::initializer_list<std::string_view> parts) {
    std::size_t total = 0;
    for (std::string_view p : parts) total += p.size();
    if (total <= inlineCapacity) {
        char* out = inline_;
        for (std::string_view p : parts) {
            if (!p.empty()) std::memcpy(out, p.data(), p.size());
            out += p.size();
        }
        size_ = static_cast<std::uint32_t>(total);
        return;
    }
    std::string s;
    s.reserve(total);
    for (std::string_view p : parts) s.append(p);
    heap_ = std::make_shared<const std::string>(std::move(s));
}

void Message::copyFrom(const Message& o) {
    heap_ = o.heap_;
    size_ = o.size_;
    if (!heap_ && size_ != 0) std::memcpy(inline_, o.inline_, size_);
}

std::ostream& operator<<(std::ostream& out, const Message& m) { return out << m.view(); }

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

// Messages are assembled only on the failure path, out of line.

[[gnu::cold, gnu::noinline]] Message nonAscii() { return Message("Non-ASCII character"); }

[[gnu::cold, gnu::noinline]] Message unexpectedEnd(std::string_view expecting) {
    return Message({"Unexpected end-of-input, expecting ", expecting});
}

// "Unexpected 'c', expecting <phrase>", with the character's bytes raw.
[[gnu::cold, gnu::noinline]] Message unexpectedChars(std::string_view c, std::string_view expecting) {
    return Message({"Unexpected '", c, "', expecting ", expecting});
}

[[gnu::cold, gnu::noinline]] Message unexpectedChar(int c, std::string_view expecting) {
    const char ch = static_cast<char>(c);
    return unexpectedChars(std::string_view(&ch, 1), expecting);
}

// The escaped character form of an ASCII character: printable ones stand
// for themselves (the backslash and the quote are escaped), control
// characters as their escape or mnemonic.
std::string_view escapedAscii(int c, char (&buf)[1]) noexcept {
    static constexpr std::string_view controls[32] = {
        "\\NUL", "\\SOH", "\\STX", "\\ETX", "\\EOT", "\\ENQ", "\\ACK", "\\a",
        "\\b",   "\\t",   "\\n",   "\\v",   "\\f",   "\\r",   "\\SO",  "\\SI",
        "\\DLE", "\\DC1", "\\DC2", "\\DC3", "\\DC4", "\\NAK", "\\SYN", "\\ETB",
        "\\CAN", "\\EM",  "\\SUB", "\\ESC", "\\FS",  "\\GS",  "\\RS",  "\\US"};
    if (c < 32) return controls[c];
    if (c == 127) return "\\DEL";
    if (c == '\\') return "\\\\";
    if (c == '\'') return "\\'";
    buf[0] = static_cast<char>(c);
    return std::string_view(buf, 1);
}

// Decimal text of an Int into a caller's buffer.
std::string_view decimal(Int v, char (&buf)[24]) noexcept {
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string_view(buf, static_cast<std::size_t>(r.ptr - buf));
}

// unconsAscii: the next character if it is ASCII (the cursor moves past
// it); endOfInput when the input is exhausted (the length test comes
// first); failed, with "Non-ASCII character", on a byte of 0x80 or above.
inline int unconsAscii(Cursor& in, Message& err) {
    if (in.atEnd()) return endOfInput;
    const unsigned char b = *in.p;
    if (b >= 0x80) {
        err = nonAscii();
        return failed;
    }
    ++in.p;
    return b;
}

// requireEnd: succeeds on an exhausted input, else reports the next
// character, decoded whole from UTF-8 (an invalid sequence shows as
// U+FFFD, as in a core::Text).
[[gnu::cold, gnu::noinline]] Message unexpectedBeforeEnd(const Cursor& in) {
    const std::string_view rest(reinterpret_cast<const char*>(in.p), static_cast<std::size_t>(in.e - in.p));
    const auto d = core::utf8::decode(rest);
    return unexpectedChars(d ? rest.substr(0, d->size) : std::string_view("\xEF\xBF\xBD"), "end-of-input");
}

inline bool requireEnd(const Cursor& in, Message& err) {
    if (in.atEnd()) return true;
    err = unexpectedBeforeEnd(in);
    return false;
}

// Reads one character that must be `want`, with the messages of a position
// whose phrase is `expecting`.
inline bool expectChar(Cursor& in, char want, std::string_view expecting, Message& err) {
    const int c = unconsAscii(in, err);
    if (c == want) return true;
    if (c == endOfInput) err = unexpectedEnd(expecting);
    else if (c != failed) err = unexpectedChar(c, expecting);
    return false;
}

// One decimal digit of a two-digit field.
inline bool readDigit(Cursor& in, Int& out, Message& err) {
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
inline bool readTwoDigits(Cursor& in, Int& out, Message& err) {
    Int hi, lo;
    if (!readDigit(in, hi, err) || !readDigit(in, lo, err)) return false;
    out = 10 * hi + lo;
    return true;
}

// The value of a run of n decimal digits: machine arithmetic up to 18
// digits (computed while scanning), the general conversion beyond.
constexpr std::size_t maxSmallDigits = 18;

// parseYear_: the year step. An optional sign and a digit run of at least
// four digits. On success the cursor rests on the character that ended the
// run (an ASCII non-digit) or at the end of the input; the caller's next
// step decides what may follow.
[[gnu::cold, gnu::noinline]] Message unexpectedYearStart(int c) {
    char buf[1];
    return Message({"Unexpected ", "'", escapedAscii(c, buf), "'", ", expecting -, +, or a digit"});
}

[[gnu::cold, gnu::noinline]] Message shortYear() { return Message("expected year with at least 4 digits"); }

[[gnu::noinline]] Year bigDigits(const unsigned char* start, std::size_t n, bool negative) {
    Year y = core::Integer::fromDigits(std::string_view(reinterpret_cast<const char*>(start), n));
    return negative ? -y : y;
}

inline bool parseYear_(Cursor& in, Year& year, Message& err) {
    const int first = unconsAscii(in, err);
    if (first == failed) return false;
    if (first == endOfInput) {
        err = unexpectedEnd("-, +, or a digit");
        return false;
    }
    const bool negative = first == '-';
    if (first != '-' && first != '+') {
        if (!isDigit(first)) {
            err = unexpectedYearStart(first);
            return false;
        }
        --in.p;  // the digit starts the run
    }
    const unsigned char* start = in.p;
    Int v = 0;
    while (!in.atEnd()) {
        const unsigned char b = *in.p;
        if (isDigit(b)) {
            if (static_cast<std::size_t>(in.p - start) < maxSmallDigits) v = 10 * v + (b & 0x0F);
            ++in.p;
            continue;
        }
        if (b >= 0x80) {
            err = nonAscii();
            return false;
        }
        break;
    }
    const auto n = static_cast<std::size_t>(in.p - start);
    if (n < 4) {
        err = shortYear();
        return false;
    }
    if (n <= maxSmallDigits) year = Year(negative ? -v : v);
    else year = bigDigits(start, n, negative);
    return true;
}

// The tuple text form of calendar fields: "(" fields joined by "," ")".
[[gnu::cold, gnu::noinline]] Message withFields(std::string_view prefix, const Year& y, Int m) {
    char bm[24];
    return Message({prefix, "(", y.toString(), ",", decimal(m, bm), ")"});
}
[[gnu::cold, gnu::noinline]] Message withFields(std::string_view prefix, const Year& y, Int m, Int d) {
    char bm[24], bd[24];
    return Message({prefix, "(", y.toString(), ",", decimal(m, bm), ",", decimal(d, bd), ")"});
}

// The separator after a year, shared by months, days and quarters.
inline bool dashAfterYear(Cursor& in, Message& err) {
    return expectChar(in, '-', "a dash after a year part", err);
}

// The calendar date: year '-' MM '-' DD, validated against the calendar.
inline bool parseDate(Cursor& in, kalmet::Day& day, Message& err) {
    Year y;
    Int m, d;
    if (!parseYear_(in, y, err) || !dashAfterYear(in, err) || !readTwoDigits(in, m, err) ||
        !expectChar(in, '-', "a dash, -", err) || !readTwoDigits(in, d, err))
        return false;
    const bool leap = kalmet::isLeapYear(y);
    if (const auto yd = kalmet::monthAndDayToDayOfYearValid(leap, m, d)) {
        if (auto r = kalmet::fromOrdinalDateValid(y, *yd)) {
            day = std::move(*r);
            return true;
        }
    }
    err = withFields("invalid day:", y, m, d);
    return false;
}

// The quarter letter and digit.
inline bool parseQuarterLetterDigit(Cursor& in, kalmet::QuarterOfYear& q, Message& err) {
    const int c = unconsAscii(in, err);
    if (c == failed) return false;
    if (c == endOfInput) {
        err = unexpectedEnd("QuarterOfYear");
        return false;
    }
    if (c != 'Q' && c != 'q') {
        err = unexpectedChar(c, "QuarterOfYear");
        return false;
    }
    const int d = unconsAscii(in, err);
    if (d == failed) return false;
    if (d == endOfInput) {
        err = unexpectedEnd("Quarter digit");
        return false;
    }
    if (d < '1' || d > '4') {
        err = unexpectedChar(d, "QuarterOfYear digit");
        return false;
    }
    q = static_cast<kalmet::QuarterOfYear>(d - '0');
    return true;
}

}  // namespace

// ---------------------------------------------------------- date parsers

Result<Year> parseYear(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    Year y;
    if (!parseYear_(in, y, err)) return core::Left(std::move(err));
    // The digit run stopped at an ASCII non-digit or at the end.
    if (!in.atEnd()) return core::Left(unexpectedChar(*in.p, "end-of-input"));
    return core::Right(std::move(y));
}

Result<kalmet::Month> parseMonth(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    Year y;
    Int m;
    if (!parseYear_(in, y, err) || !dashAfterYear(in, err) || !readTwoDigits(in, m, err))
        return core::Left(std::move(err));
    if (m < 1 || m > 12) return core::Left(withFields("invalid month:", y, m));
    if (!requireEnd(in, err)) return core::Left(std::move(err));
    return core::Right(kalmet::Month(kalmet::YearMonth(std::move(y), m)));
}

Result<kalmet::Day> parseDay(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    kalmet::Day d;
    if (!parseDate(in, d, err) || !requireEnd(in, err)) return core::Left(std::move(err));
    return core::Right(std::move(d));
}

Result<kalmet::Quarter> parseQuarter(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    Year y;
    kalmet::QuarterOfYear q;
    if (!parseYear_(in, y, err) || !dashAfterYear(in, err) || !parseQuarterLetterDigit(in, q, err) ||
        !requireEnd(in, err))
        return core::Left(std::move(err));
    return core::Right(kalmet::Quarter(kalmet::YearQuarter(std::move(y), q)));
}

Result<kalmet::QuarterOfYear> parseQuarterOfYear(Input input) {
    Cursor in = cursorOf(input);
    Message err;
    kalmet::QuarterOfYear q;
    if (!parseQuarterLetterDigit(in, q, err) || !requireEnd(in, err)) return core::Left(std::move(err));
    return core::Right(q);
}

}  // namespace tarvel
