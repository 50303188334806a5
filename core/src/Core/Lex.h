#pragma once
// The standard lexer for text forms: identifiers, operator symbols,
// punctuation, numbers, character and string literals. White space and
// line comments ("--" to the end of the line) are skipped before each token.
//
//   core::lexP()           reads one token (a Lexeme)
//   core::expectP(lexeme)  reads one token and requires it to be that one
//   core::ident("Just")    a whole identifier token, so "Justx" never matches
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Core/Integer.h"
#include "Core/ReadP.h"
#include "Core/Types.h"

namespace core {

// A number as written: its base (8, 10 or 16), its integer digits, the
// digits of its fraction and its exponent (decimal numbers only).
struct LexNumber {
    int base = 10;
    std::string digits;
    std::optional<std::string> fraction;
    std::optional<Integer> exponent;

    // The value if it is a whole number written without fraction or exponent.
    std::optional<Integer> toInteger() const;
    // digits, fraction and exponent as a decimal text that strtod accepts.
    std::string toDecimalString() const;
    friend bool operator==(const LexNumber&, const LexNumber&) = default;
};

struct Lexeme {
    enum class Kind : std::uint8_t { Char, String, Punc, Ident, Symbol, Number, End };
    Kind kind = Kind::End;
    std::string text;  // Punc, Ident, Symbol: the token; String: the decoded UTF-8 contents
    Char ch = 0;       // Char: the decoded character
    LexNumber number;  // Number

    static Lexeme punc(std::string_view s) { return {Kind::Punc, std::string(s), 0, {}}; }
    static Lexeme identifier(std::string_view s) { return {Kind::Ident, std::string(s), 0, {}}; }
    static Lexeme symbol(std::string_view s) { return {Kind::Symbol, std::string(s), 0, {}}; }
    friend bool operator==(const Lexeme&, const Lexeme&) = default;
};

// Skips white space and line comments; one result.
Reader<Unit> skipSpacesAndComments();
// One token after white space; the end of the input is the End token.
Reader<Lexeme> lexP();
// One token that must equal `l`.
Reader<Unit> expectP(Lexeme l);
Reader<Unit> punc(std::string_view s);
Reader<Unit> ident(std::string_view s);
Reader<Unit> symbol(std::string_view s);
// Reads a character or string literal body escape at the given position
// (exposed for tests and for readers of custom literal forms).
Reader<Char> lexChar();

// Escapes a character the way character and string literals write it.
// `inString` selects which quote is escaped; `next` is the following
// character, needed to protect numeric escapes ("\1234" vs "\123\&4") and
// "\SO" before "H".
void appendLitChar(std::string& out, Char c, std::optional<Char> next, bool inString);

}  // namespace core
