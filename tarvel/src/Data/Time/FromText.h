#pragma once
// Strict parsers of ISO 8601 extended-format dates.
//
//   auto d = tarvel::parseDay("2000-02-29");       // Right: the Day
//   auto e = tarvel::parseDay("2000-02-30");       // Left: "invalid day:(2000,2,30)"
//   if (d) use(*d); else report(e.left().view());
//
// Each parser reads the whole input in one forward pass, with no
// backtracking and nothing trimmed or case-folded (only the quarter letter
// may be 'Q' or 'q'), and returns either the value or exactly one message
// naming what went wrong first. On success nothing but the result is
// allocated (for years that fit in 64 bits); the input is never copied.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "Core/Either.h"
#include "Core/Text.h"
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Quarter.h"

namespace tarvel {

// A parser's error message. Short messages (all of them except those that
// quote a year of many digits) are held inline, so a failing parse does not
// allocate either. Compares equal to the std::string_view of its text.
class Message {
public:
    Message() noexcept = default;
    explicit Message(std::string_view text) : Message({text}) {}
    // The concatenation of the parts.
    Message(std::initializer_list<std::string_view> parts);
    Message(const Message& o) { copyFrom(o); }
    Message& operator=(const Message& o) {
        if (this != &o) copyFrom(o);
        return *this;
    }

    std::string_view view() const noexcept {
        return heap_ ? std::string_view(*heap_) : std::string_view(inline_, size_);
    }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }

    friend bool operator==(const Message& a, const Message& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const Message& a, std::string_view b) noexcept { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& out, const Message& m);

private:
    static constexpr std::size_t inlineCapacity = 104;
    void copyFrom(const Message& o);

    std::shared_ptr<const std::string> heap_;  // set when the text is longer than inlineCapacity
    std::uint32_t size_ = 0;
    char inline_[inlineCapacity];
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
    Input(const char* s) noexcept : bytes_(s) {}
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

}  // namespace tarvel
