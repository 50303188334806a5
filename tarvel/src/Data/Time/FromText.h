#pragma once
// Strict parsers of ISO 8601 extended-format dates, times of day, time
// zones and timestamps.
//
//   auto d = tarvel::parseDay("2000-02-29");       // Right: the Day
//   auto e = tarvel::parseDay("2000-02-30");       // Left: "invalid day:(2000,2,30)"
//   if (d) use(*d); else report(e.left().str());
//
// Each parser reads the whole input in one forward pass, with no
// backtracking and nothing trimmed or case-folded (only the quarter letter
// may be 'Q' or 'q'), and returns either the value or exactly one message
// naming what went wrong first. Nothing is allocated while the values fit
// in 64 bits (a day count does for years up to about 2.5e16 either way),
// on success or on failure; the input is never copied.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>

#include "Core/Either.h"
#include "Core/Text.h"
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Quarter.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace tarvel {

// A parser's error message. It holds what the text is made of (a fixed
// phrase, the offending character, the fields of an out-of-range value) and
// writes the text when asked, so that a failing parse neither allocates nor
// copies text (except for a year beyond 64 bits, which is kept whole).
// Compares equal to the std::string_view of its text.
class Message {
public:
    // The empty message.
    Message() noexcept = default;
    // A fixed text with static storage duration (a string literal).
    static Message text(std::string_view literal) noexcept { return Message(Kind::Text, literal); }
    // "Unexpected end-of-input, expecting " + expecting (a literal).
    static Message unexpectedEnd(std::string_view expecting) noexcept {
        return Message(Kind::End, expecting);
    }
    // "Unexpected '" + the character + "', expecting " + expecting (a
    // literal); the character is given as its UTF-8 bytes (1 to 4).
    static Message unexpected(std::string_view utf8Char, std::string_view expecting) noexcept {
        Message m(Kind::Char, expecting);
        const std::size_t n = utf8Char.size() < 4 ? utf8Char.size() : 4;
        std::uint32_t bytes = 0;
        for (std::size_t i = 0; i < n; ++i) bytes |= std::uint32_t{static_cast<unsigned char>(utf8Char[i])} << (8 * i);
        m.charSize_ = static_cast<std::uint8_t>(n);
        m.char_ = bytes;
        return m;
    }
    // "Unexpected " + the ASCII character in escaped form + ", expecting " +
    // expecting (a literal).
    static Message unexpectedEscaped(char c, std::string_view expecting) noexcept {
        Message m(Kind::Escaped, expecting);
        m.charSize_ = 1;
        m.char_ = static_cast<unsigned char>(c);
        return m;
    }
    // prefix (a literal) + "(" + fields joined by "," + ")". The year, when
    // given, comes first; when `lastIsPicoseconds`, the last field is a
    // picosecond count written as seconds with twelve decimals.
    static Message fields(std::string_view prefix, const core::Integer* year, std::initializer_list<core::Int> ints,
                          bool lastIsPicoseconds = false) {
        Message m(Kind::Fields, prefix);
        if (year) {
            m.hasYear_ = true;
            m.year_ = *year;
        }
        for (core::Int v : ints)
            if (m.intCount_ < 3) m.ints_[m.intCount_++] = v;
        m.lastIsPicoseconds_ = lastIsPicoseconds;
        return m;
    }

    // The text.
    std::string str() const;
    operator std::string() const { return str(); }
    // Appends the text to `out`.
    void appendTo(std::string& out) const;

    friend bool operator==(const Message& a, const Message& b) { return a.str() == b.str(); }
    friend bool operator==(const Message& a, std::string_view b) { return a.str() == b; }
    friend std::ostream& operator<<(std::ostream& out, const Message& m);

private:
    enum class Kind : std::uint8_t { Text, End, Char, Escaped, Fields };
    Message(Kind k, std::string_view phrase) noexcept
        : phrase_(phrase.data()), phraseSize_(static_cast<std::uint32_t>(phrase.size())), kind_(k) {}

    const char* phrase_ = "";
    std::uint32_t phraseSize_ = 0;
    Kind kind_ = Kind::Text;
    std::uint8_t charSize_ = 0;  // bytes of char_ used (Char, Escaped)
    std::uint8_t intCount_ = 0;  // entries of ints_ used (Fields)
    bool hasYear_ = false;
    bool lastIsPicoseconds_ = false;
    std::uint32_t char_ = 0;     // the character's UTF-8 bytes, first byte lowest
    core::Int ints_[3] = {};
    core::Integer year_;
};

// What every parser returns: the message or the value.
template <class T>
using Result = core::Either<Message, T>;

// The text a parser reads: the bytes of a core::Text, a std::string_view, a
// std::string or a C string, viewed in place and never copied. A
// std::string_view that is not valid UTF-8 reads as the core::Text built
// from it would (each invalid sequence as U+FFFD).
class Input {
public:
    Input(const core::Text& t) noexcept : bytes_(t.view()) {}
    Input(std::string_view s) noexcept : bytes_(s) {}
    Input(const std::string& s) noexcept : bytes_(s) {}
    // A null pointer reads as the empty text.
    Input(const char* s) noexcept : bytes_(s ? std::string_view(s) : std::string_view()) {}
    std::string_view bytes() const noexcept { return bytes_; }

private:
    std::string_view bytes_;
};

// A year: an optional '+' or '-' and at least four digits (any number more,
// leading zeros allowed), e.g. "2000", "-0001", "+12345".
Result<kalmet::Year> parseYear(Input input);
// A year, '-' and a two-digit month: "2000-01".
Result<kalmet::Month> parseMonth(Input input);
// A calendar date: year '-' MM '-' DD, e.g. "2000-02-29".
Result<kalmet::Day> parseDay(Input input);
// A year, '-', 'Q' or 'q' and a quarter digit 1..4: "2000-Q2".
Result<kalmet::Quarter> parseQuarter(Input input);
// 'Q' or 'q' and a quarter digit 1..4: "Q3".
Result<kalmet::QuarterOfYear> parseQuarterOfYear(Input input);

// A time of day: HH ":" MM, optionally ":" SS, optionally (after SS) "."
// and one to twelve decimals. Seconds up to 60.999999999999 (a leap second)
// are accepted: "12:30", "23:59:60.5".
Result<kalmet::TimeOfDay> parseTimeOfDay(Input input);
// A zone: "Z" (offset 0, no name), or '+' or '-' and HH, optionally
// followed by MM or ":" MM: "+05:30", "-0800", "+01".
Result<kalmet::TimeZone> parseTimeZone(Input input);
// A calendar date, 'T' or a space, and a time of day:
// "2000-01-01T12:00:00.5".
Result<kalmet::LocalTime> parseLocalTime(Input input);
// A local time followed by a zone, converted to UTC (the zone's offset
// carried into the neighbouring day where needed):
// "2000-01-01T23:30-01:00" is 2000-01-02 00:30 UTC.
Result<kalmet::UTCTime> parseUTCTime(Input input);
// A local time followed by a zone, both kept as written.
Result<kalmet::ZonedTime> parseZonedTime(Input input);

}  // namespace tarvel
