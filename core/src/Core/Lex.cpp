#include "Core/Lex.h"

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <unordered_map>


#include "Core/Stack.h"
#include "Core/Text.h"

namespace core {

thread_local int detail::ReaderDepth::depth = 0;
thread_local bool detail::ReaderDepth::exceeded = false;

namespace detail {
namespace {
struct ParseMemoHash {
    std::size_t operator()(const ParseMemoKey& k) const noexcept {
        std::size_t h = std::hash<const void*>()(k.reader);
        const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(std::hash<const void*>()(k.type));
        mix(std::hash<const void*>()(k.in));
        mix(k.size);
        mix(k.pos);
        mix(static_cast<std::size_t>(k.prec));
        return h;
    }
};
struct ParseMemoEntry {
    std::shared_ptr<const void> results;
    std::shared_ptr<const void> reader;
};
thread_local ParseMemo* parseMemo = nullptr;
}  // namespace

class ParseMemo {
public:
    std::unordered_map<ParseMemoKey, ParseMemoEntry, ParseMemoHash> entries;
};

ParseMemo* currentParseMemo() noexcept {
    return parseMemo;
}
void setCurrentParseMemo(ParseMemo* m) noexcept {
    parseMemo = m;
}
ParseMemo* newParseMemo() {
    return new ParseMemo;
}
void deleteParseMemo(ParseMemo* m) noexcept {
    delete m;
}
const std::shared_ptr<const void>* findParses(ParseMemo& m, const ParseMemoKey& k) {
    auto it = m.entries.find(k);
    return it == m.entries.end() ? nullptr : &it->second.results;
}
void storeParses(ParseMemo& m, const ParseMemoKey& k, std::shared_ptr<const void> results,
                 std::shared_ptr<const void> reader) {
    m.entries.insert_or_assign(k, ParseMemoEntry{std::move(results), std::move(reader)});
}
}  // namespace detail

void detail::runReaderOnFreshStack(void (*call)(void*), void* arg) {
    // The segment starts at this thread's nesting depth and reports back
    // whether the limit was reached there.
    struct Job {
        void (*call)(void*);
        void* arg;
        int depth;
        ParseMemo* memo;
        bool exceeded;
    } job{call, arg, ReaderDepth::depth, parseMemo, false};
    const bool ran = runOnFreshStack(
        [](void* p) {
            auto* j = static_cast<Job*>(p);
            ReaderDepth::depth = j->depth;
            parseMemo = j->memo;
            struct Report {
                Job* j;
                ~Report() { j->exceeded = ReaderDepth::exceeded; }
            } report{j};
            j->call(j->arg);
        },
        &job);
    // No thread to continue on: the reader fails as if nested too deep.
    if (!ran || job.exceeded) ReaderDepth::exceeded = true;
}

bool detail::stackHasRoom() noexcept {
    constexpr std::size_t margin = 512 * 1024;
    return stackLeft() > margin;
}

std::size_t detail::decodeAt(std::string_view in, std::size_t pos, Char& out) noexcept {
    if (pos >= in.size()) return 0;
    if (auto d = utf8::decode(in.substr(pos))) {
        out = d->c;
        return d->size;
    }
    out = 0xFFFD;
    return 1;
}

namespace {

template <class T>
Parses<T> one(T x, std::size_t rest) {
    Parses<T> out;
    out.push_back({std::move(x), rest});
    return out;
}

bool isSpace(Char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0xA0; }
bool isDigit(Char c) { return c >= '0' && c <= '9'; }
bool isOctDigit(Char c) { return c >= '0' && c <= '7'; }
bool isHexDigit(Char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isAlpha(Char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isIdStart(Char c) { return isAlpha(c) || c == '_'; }
bool isIdChar(Char c) { return isAlpha(c) || isDigit(c) || c == '_' || c == '\''; }
bool isSymbolChar(Char c) { return c < 0x80 && std::strchr("!@#$%&*+./<=>?\\^|:-~", static_cast<int>(c)) && c != 0; }
bool isPuncChar(Char c) { return c < 0x80 && c != 0 && std::strchr(",;()[]{}`", static_cast<int>(c)); }

int digitValue(Char c) {
    if (isDigit(c)) return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    return static_cast<int>(c - 'A' + 10);
}

// Bytes of ASCII characters satisfying pred from pos.
template <class P>
std::size_t asciiRun(std::string_view in, std::size_t pos, P pred) {
    std::size_t i = pos;
    while (i < in.size() && static_cast<unsigned char>(in[i]) < 0x80 && pred(static_cast<Char>(in[i]))) ++i;
    return i - pos;
}

std::size_t skipWhite(std::string_view in, std::size_t pos) {
    for (;;) {
        Char c = 0;
        std::size_t n = detail::decodeAt(in, pos, c);
        if (n == 0) return pos;
        if (isSpace(c)) {
            pos += n;
            continue;
        }
        // A line comment: two or more dashes not followed by a symbol character.
        if (c == '-' && pos + 1 < in.size() && in[pos + 1] == '-') {
            std::size_t d = asciiRun(in, pos, [](Char x) { return x == '-'; });
            Char after = 0;
            if (detail::decodeAt(in, pos + d, after) == 0 || !isSymbolChar(after)) {
                std::size_t nl = in.find('\n', pos);
                pos = nl == std::string_view::npos ? in.size() : nl + 1;
                continue;
            }
        }
        return pos;
    }
}

constexpr std::array<const char*, 34> asciiNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS", "HT",  "LF", "VT",
    "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
    "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",  "SP",  "DEL"};

// Reads the escape after a backslash at pos. Returns bytes consumed (0 on
// failure). `empty` is set for "\&" and gaps, which stand for no character
// (strings only).
std::size_t lexEscape(std::string_view in, std::size_t pos, Char& out, bool& empty) {
    empty = false;
    if (pos >= in.size()) return 0;
    const char c = in[pos];
    switch (c) {
        case 'a': out = 7; return 1;
        case 'b': out = 8; return 1;
        case 'f': out = 12; return 1;
        case 'n': out = 10; return 1;
        case 'r': out = 13; return 1;
        case 't': out = 9; return 1;
        case 'v': out = 11; return 1;
        case '\\': out = '\\'; return 1;
        case '"': out = '"'; return 1;
        case '\'': out = '\''; return 1;
        case '&': empty = true; return 1;
        default: break;
    }
    if (c == '^') {
        if (pos + 1 < in.size() && in[pos + 1] >= '@' && in[pos + 1] <= '_') {
            out = static_cast<Char>(in[pos + 1] - '@');
            return 2;
        }
        return 0;
    }
    if (isDigit(static_cast<Char>(c)) || c == 'o' || c == 'x') {
        int base = 10;
        std::size_t start = pos;
        if (c == 'o') base = 8, ++start;
        if (c == 'x') base = 16, ++start;
        auto ok = [base](Char d) { return base == 8 ? isOctDigit(d) : base == 16 ? isHexDigit(d) : isDigit(d); };
        std::size_t n = asciiRun(in, start, ok);
        if (n == 0) return 0;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i) {
            v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digitValue(static_cast<Char>(in[start + i])));
            if (v > 0x10FFFF) return 0;
        }
        out = static_cast<Char>(v);
        return start + n - pos;
    }
    if (isSpace(static_cast<Char>(c))) {  // a gap: white space closed by a backslash
        std::size_t i = pos + asciiRun(in, pos, isSpace);
        if (i < in.size() && in[i] == '\\') {
            empty = true;
            return i + 1 - pos;
        }
        return 0;
    }
    // Mnemonics, longest first so that "SOH" is not read as "SO" then "H".
    std::size_t best = 0;
    for (std::size_t k = 0; k < asciiNames.size(); ++k) {
        std::string_view name = asciiNames[k];
        if (name.size() > best && in.substr(pos, name.size()) == name) {
            best = name.size();
            out = k == 32 ? 32 : k == 33 ? 127 : static_cast<Char>(k);
        }
    }
    return best;
}

// A character of a literal at pos: returns bytes consumed, 0 on failure.
std::size_t lexLitChar(std::string_view in, std::size_t pos, Char& out, bool& empty) {
    empty = false;
    std::size_t n = detail::decodeAt(in, pos, out);
    if (n == 0) return 0;
    if (out != '\\') return n;
    std::size_t e = lexEscape(in, pos + 1, out, empty);
    return e == 0 ? 0 : e + 1;
}

std::optional<std::pair<Lexeme, std::size_t>> lexToken(std::string_view in, std::size_t pos) {
    Char c = 0;
    std::size_t n = detail::decodeAt(in, pos, c);
    if (n == 0) return std::pair{Lexeme{}, pos};
    if (c == '\'') {
        Char ch = 0;
        bool empty = false;
        // An unescaped quote cannot be the character itself.
        if (pos + 1 < in.size() && in[pos + 1] == '\'') return std::nullopt;
        std::size_t m = lexLitChar(in, pos + 1, ch, empty);
        if (m == 0 || empty) return std::nullopt;
        std::size_t end = pos + 1 + m;
        if (end >= in.size() || in[end] != '\'') return std::nullopt;
        Lexeme l;
        l.kind = Lexeme::Kind::Char;
        l.ch = ch;
        return std::pair{std::move(l), end + 1};
    }
    if (c == '"') {
        std::string s;
        std::size_t i = pos + 1;
        for (;;) {
            if (i >= in.size()) return std::nullopt;
            if (in[i] == '"') break;
            Char ch = 0;
            bool empty = false;
            std::size_t m = lexLitChar(in, i, ch, empty);
            if (m == 0) return std::nullopt;
            if (!empty) utf8::append(s, ch);
            i += m;
        }
        Lexeme l;
        l.kind = Lexeme::Kind::String;
        l.text = std::move(s);
        return std::pair{std::move(l), i + 1};
    }
    if (isPuncChar(c)) return std::pair{Lexeme::punc(in.substr(pos, 1)), pos + 1};
    if (isSymbolChar(c)) {
        std::size_t m = asciiRun(in, pos, isSymbolChar);
        std::string_view sym = in.substr(pos, m);
        static constexpr std::string_view reserved[] = {"..", "::", "=", "\\", "|", "<-", "->", "@", "~", "=>"};
        for (auto r : reserved)
            if (sym == r) return std::pair{Lexeme::punc(sym), pos + m};
        return std::pair{Lexeme::symbol(sym), pos + m};
    }
    if (isIdStart(c)) {
        std::size_t m = asciiRun(in, pos, isIdChar);
        return std::pair{Lexeme::identifier(in.substr(pos, m)), pos + m};
    }
    if (isDigit(c)) {
        Lexeme l;
        l.kind = Lexeme::Kind::Number;
        // 0x.. and 0o.. numbers.
        if (c == '0' && pos + 2 < in.size() && (in[pos + 1] == 'x' || in[pos + 1] == 'X' || in[pos + 1] == 'o' || in[pos + 1] == 'O')) {
            const bool hex = in[pos + 1] == 'x' || in[pos + 1] == 'X';
            std::size_t m = asciiRun(in, pos + 2, hex ? isHexDigit : isOctDigit);
            if (m > 0) {
                l.number.base = hex ? 16 : 8;
                l.number.digits = std::string(in.substr(pos + 2, m));
                return std::pair{std::move(l), pos + 2 + m};
            }
        }
        std::size_t m = asciiRun(in, pos, isDigit);
        l.number.digits = std::string(in.substr(pos, m));
        std::size_t i = pos + m;
        if (i + 1 < in.size() && in[i] == '.' && isDigit(static_cast<Char>(in[i + 1]))) {
            std::size_t f = asciiRun(in, i + 1, isDigit);
            l.number.fraction = std::string(in.substr(i + 1, f));
            i += 1 + f;
        }
        if (i < in.size() && (in[i] == 'e' || in[i] == 'E')) {
            std::size_t j = i + 1;
            bool neg = false;
            if (j < in.size() && (in[j] == '+' || in[j] == '-')) neg = in[j] == '-', ++j;
            std::size_t e = asciiRun(in, j, isDigit);
            if (e > 0) {
                Integer x = Integer::fromDigits(in.substr(j, e));
                l.number.exponent = neg ? -x : x;
                i = j + e;
            }
        }
        return std::pair{std::move(l), i};
    }
    return std::nullopt;
}

}  // namespace

std::optional<Integer> LexNumber::toInteger() const {
    if (fraction || exponent) return std::nullopt;
    if (base == 10) return Integer::fromDigits(digits);
    Integer v;
    for (char d : digits) v = v * Integer(base) + Integer(digitValue(static_cast<Char>(d)));
    return v;
}

std::string LexNumber::toDecimalString() const {
    std::string s = digits;
    if (fraction) {
        s += '.';
        s += *fraction;
    }
    if (exponent) {
        s += 'e';
        exponent->appendTo(s);
    }
    return s;
}

Reader<Char> getP() {
    return Reader<Char>([](std::string_view in, std::size_t pos, int) {
        Char c = 0;
        std::size_t n = detail::decodeAt(in, pos, c);
        return n == 0 ? Parses<Char>{} : one(c, pos + n);
    });
}

Reader<std::string_view> lookP() {
    return Reader<std::string_view>(
        [](std::string_view in, std::size_t pos, int) { return one(in.substr(pos), pos); });
}

Reader<Unit> eofP() {
    return Reader<Unit>([](std::string_view in, std::size_t pos, int) {
        return pos >= in.size() ? one(Unit{}, pos) : Parses<Unit>{};
    });
}

Reader<Char> charP(Char c) {
    return satisfy([c](Char x) { return x == c; });
}

Reader<std::string_view> stringP(std::string_view s) {
    return Reader<std::string_view>([s = std::string(s)](std::string_view in, std::size_t pos, int) {
        if (in.substr(pos, s.size()) == s) return one(in.substr(pos, s.size()), pos + s.size());
        return Parses<std::string_view>{};
    });
}

Reader<Char> satisfy(std::function<bool(Char)> pred) {
    return Reader<Char>([pred = std::move(pred)](std::string_view in, std::size_t pos, int) {
        Char c = 0;
        std::size_t n = detail::decodeAt(in, pos, c);
        if (n == 0 || !pred(c)) return Parses<Char>{};
        return one(c, pos + n);
    });
}

Reader<std::string_view> munch(std::function<bool(Char)> pred) {
    return Reader<std::string_view>([pred = std::move(pred)](std::string_view in, std::size_t pos, int) {
        std::size_t i = pos;
        Char c = 0;
        while (std::size_t n = detail::decodeAt(in, i, c)) {
            if (!pred(c)) break;
            i += n;
        }
        return one(in.substr(pos, i - pos), i);
    });
}

Reader<std::string_view> munch1(std::function<bool(Char)> pred) {
    auto m = munch(std::move(pred));
    return Reader<std::string_view>([m](std::string_view in, std::size_t pos, int p) {
        auto r = m(in, pos, p);
        if (r.empty() || r.front().value.empty()) return Parses<std::string_view>{};
        return r;
    });
}

Reader<Unit> skipSpaces() {
    return Reader<Unit>([](std::string_view in, std::size_t pos, int) {
        return one(Unit{}, pos + asciiRun(in, pos, isSpace));
    });
}

Reader<Unit> skipSpacesAndComments() {
    return Reader<Unit>([](std::string_view in, std::size_t pos, int) { return one(Unit{}, skipWhite(in, pos)); });
}

Reader<Lexeme> lexP() {
    return Reader<Lexeme>([](std::string_view in, std::size_t pos, int) {
        auto t = lexToken(in, skipWhite(in, pos));
        if (!t) return Parses<Lexeme>{};
        return one(std::move(t->first), t->second);
    });
}

Reader<Unit> expectP(Lexeme l) {
    return Reader<Unit>([l = std::move(l)](std::string_view in, std::size_t pos, int) {
        auto t = lexToken(in, skipWhite(in, pos));
        if (!t || !(t->first == l)) return Parses<Unit>{};
        return one(Unit{}, t->second);
    });
}

Reader<Unit> punc(std::string_view s) { return expectP(Lexeme::punc(s)); }
Reader<Unit> ident(std::string_view s) { return expectP(Lexeme::identifier(s)); }
Reader<Unit> symbol(std::string_view s) { return expectP(Lexeme::symbol(s)); }

Reader<Char> lexChar() {
    return Reader<Char>([](std::string_view in, std::size_t pos, int) {
        Char c = 0;
        bool empty = false;
        std::size_t n = lexLitChar(in, pos, c, empty);
        if (n == 0 || empty) return Parses<Char>{};
        return one(c, pos + n);
    });
}

void appendLitChar(std::string& out, Char c, std::optional<Char> next, bool inString) {
    auto u = static_cast<std::uint32_t>(c);
    if (u > 127) {
        out += '\\';
        out += std::to_string(u);
        if (next && isDigit(*next)) out += "\\&";
        return;
    }
    if (u == 127) {
        out += "\\DEL";
        return;
    }
    if (c == '\\') {
        out += "\\\\";
        return;
    }
    if (inString && c == '"') {
        out += "\\\"";
        return;
    }
    if (!inString && c == '\'') {
        out += "\\'";
        return;
    }
    if (u >= 32) {
        out += static_cast<char>(u);
        return;
    }
    switch (u) {
        case 7: out += "\\a"; return;
        case 8: out += "\\b"; return;
        case 9: out += "\\t"; return;
        case 10: out += "\\n"; return;
        case 11: out += "\\v"; return;
        case 12: out += "\\f"; return;
        case 13: out += "\\r"; return;
        case 14:
            out += "\\SO";
            if (next && *next == 'H') out += "\\&";
            return;
        default:
            out += '\\';
            out += asciiNames[u];
            return;
    }
}

}  // namespace core
