// iso8601-check: checks ISO 8601 dates, times, zones and timestamps.
//
//   iso8601-check [--as KIND] [--json] [--quiet] [VALUE...]
//
// Each VALUE (or, when none is given or a VALUE is "-", each line of standard
// input) is parsed as KIND, one of the ten parsers of the library, or, by
// default, as the kind its shape suggests (see guessKind below). For every
// value one line is printed: the value rendered back as canonical ISO 8601
// (a zoned time also as its UTC instant), or the parser's message with the
// column (in characters) of the offending character. Exit status: 0 when every value is
// valid, 1 when any is not, 2 on a usage error.
//
//   $ iso8601-check 2000-02-29 2000-Q2 2000-02-30 2000-01-01T23:30-01:00x
//   2000-02-29: 2000-02-29 (day)
//   2000-Q2: 2000-q2 (quarter)
//   2000-02-30: error (day): invalid day:(2000,2,30)
//   2000-01-01T23:30-01:00x: error (zoned-time) at column 23: Unexpected 'x', expecting end-of-input
//
// Lines read from standard input may end in CRLF; the carriage return is not
// part of the value. Control characters and NUL bytes in a value are printed
// escaped (\t, \r, \n, \xHH), so every value takes exactly one output line.
// Standard input is read line by line, so a stream of any length is checked
// in constant memory.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Data/Time.h"
#include "Data/Time/FromText.h"
#include "Data/Time/ToText.h"

#ifndef SUITE_VERSION
#define SUITE_VERSION "unknown"
#endif

namespace {

enum class Kind {
    Auto,
    Year,
    Month,
    Day,
    Quarter,
    QuarterOfYear,
    TimeOfDay,
    TimeZone,
    LocalTime,
    UTCTime,
    ZonedTime
};

struct KindName {
    Kind kind;
    const char* name;
};
constexpr KindName kindNames[] = {
    {Kind::Auto, "auto"},
    {Kind::Year, "year"},
    {Kind::Month, "month"},
    {Kind::Day, "day"},
    {Kind::Quarter, "quarter"},
    {Kind::QuarterOfYear, "quarter-of-year"},
    {Kind::TimeOfDay, "time-of-day"},
    {Kind::TimeZone, "time-zone"},
    {Kind::LocalTime, "local-time"},
    {Kind::UTCTime, "utc-time"},
    {Kind::ZonedTime, "zoned-time"},
};

const char* nameOf(Kind k) {
    for (const auto& n : kindNames)
        if (n.kind == k) return n.name;
    return "?";
}
std::optional<Kind> kindNamed(std::string_view s) {
    for (const auto& n : kindNames)
        if (s == n.name) return n.kind;
    return std::nullopt;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
std::size_t digitsFrom(std::string_view s, std::size_t i) {
    std::size_t j = i;
    while (j < s.size() && isDigit(s[j])) ++j;
    return j - i;
}

// The kind a value's shape suggests. The rule, in order:
//  1. "Z", or a sign followed by HH, HHMM or HH:MM and nothing else: a time
//     zone ("+05:30", "+0530", "-08"). A signed year in this shape needs
//     five or more digits, or --as year.
//  2. "Q" or "q" first: a quarter of the year ("Q3").
//  3. two digits and ':': a time of day ("12:30:00").
//  4. otherwise an optional sign and the year's digits, then:
//     - nothing more: six digits are a month and eight a day written
//       without separators (reported as such, since only the extended
//       format is accepted); any other count is a year;
//     - '-' and 'Q' or 'q': a quarter ("2000-Q2");
//     - 'T', 't' or ' ' after the date: a timestamp, zoned when a 'Z', 'z',
//       '+' or '-' follows the time's first character, local otherwise;
//     - a second '-': a day; one '-' only: a month.
//  5. anything else is read as a day, whose message is usually the most
//     helpful.
Kind guessKind(std::string_view s) {
    if (s == "Z") return Kind::TimeZone;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        const std::size_t n = digitsFrom(s, 1);
        if (n == s.size() - 1 && (n == 2 || n == 4)) return Kind::TimeZone;
        if (n == 2 && s.size() == 6 && s[3] == ':' && digitsFrom(s, 4) == 2) return Kind::TimeZone;
    }
    if (!s.empty() && (s[0] == 'Q' || s[0] == 'q')) return Kind::QuarterOfYear;
    if (s.size() >= 3 && isDigit(s[0]) && isDigit(s[1]) && s[2] == ':') return Kind::TimeOfDay;
    const std::size_t start = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    const std::size_t yearDigits = digitsFrom(s, start);
    std::size_t i = start + yearDigits;
    if (yearDigits == 0) return Kind::Day;
    if (i == s.size()) {
        if (start == 0 && yearDigits == 6) return Kind::Month;
        if (start == 0 && yearDigits == 8) return Kind::Day;
        return Kind::Year;
    }
    if (s[i] != '-') return Kind::Day;
    ++i;
    if (i < s.size() && (s[i] == 'Q' || s[i] == 'q')) return Kind::Quarter;
    const std::size_t sep = s.find_first_of("Tt ", i);
    if (sep != std::string_view::npos) {
        // The time's first character may itself be a digit only; a sign or
        // 'Z' after it starts the zone.
        return s.find_first_of("Zz+-", sep + 2) != std::string_view::npos ? Kind::ZonedTime : Kind::LocalTime;
    }
    return s.find('-', i) == std::string_view::npos ? Kind::Month : Kind::Day;
}

// The outcome of checking one value.
struct Outcome {
    Kind kind;
    bool valid;
    std::string rendered;  // canonical text, or the message
    std::string utc;       // a zoned time's UTC instant
    std::size_t column;    // 1-based column of the offending character, 0 if none
};

template <class T>
void renderInto(Outcome& o, const T& v) {
    o.rendered = tarvel::toString(v);
}
void renderInto(Outcome& o, const kalmet::ZonedTime& v) {
    o.rendered = tarvel::toString(v);
    o.utc = tarvel::toString(kalmet::zonedTimeToUTC(v));
}

// Runs the parser of kind k on s and keeps only whether it failed at a
// character (rather than at the end or on a value out of range).
bool failsAtCharacter(Kind k, std::string_view s);

template <class T>
Outcome finish(Kind k, std::string_view s, const tarvel::Result<T>& r) {
    Outcome o{k, r.isRight(), {}, {}, 0};
    if (o.valid) {
        renderInto(o, *r);
        return o;
    }
    o.rendered = r.left().str();
    // The parsers read in one forward pass, so the offending character is the
    // first one whose prefix already fails at a character.
    if (failsAtCharacter(k, s))
        for (std::size_t n = 1; n <= s.size(); ++n)
            if (failsAtCharacter(k, s.substr(0, n))) {
                // Columns count characters: the offending one is the
                // character whose last byte completed the failing prefix.
                std::size_t column = 0;
                for (std::size_t i = 0; i < n; ++i)
                    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++column;
                o.column = column;
                break;
            }
    return o;
}

template <class F>
auto withParser(Kind k, std::string_view s, F&& f) {
    switch (k) {
        case Kind::Year: return f(k, s, tarvel::parseYear(s));
        case Kind::Month: return f(k, s, tarvel::parseMonth(s));
        case Kind::Quarter: return f(k, s, tarvel::parseQuarter(s));
        case Kind::QuarterOfYear: return f(k, s, tarvel::parseQuarterOfYear(s));
        case Kind::TimeOfDay: return f(k, s, tarvel::parseTimeOfDay(s));
        case Kind::TimeZone: return f(k, s, tarvel::parseTimeZone(s));
        case Kind::LocalTime: return f(k, s, tarvel::parseLocalTime(s));
        case Kind::UTCTime: return f(k, s, tarvel::parseUTCTime(s));
        case Kind::ZonedTime: return f(k, s, tarvel::parseZonedTime(s));
        case Kind::Day:
        case Kind::Auto: break;
    }
    return f(Kind::Day, s, tarvel::parseDay(s));
}

bool failsAtCharacter(Kind k, std::string_view s) {
    return withParser(k, s, [](Kind, std::string_view, const auto& r) {
        if (r.isRight()) return false;
        const std::string m = r.left().str();
        return (m.rfind("Unexpected ", 0) == 0 && m.rfind("Unexpected end-of-input", 0) != 0) ||
               m == "Non-ASCII character";
    });
}

Outcome check(Kind requested, std::string_view s) {
    const Kind k = requested == Kind::Auto ? guessKind(s) : requested;
    return withParser(k, s, [](Kind kk, std::string_view ss, const auto& r) { return finish(kk, ss, r); });
}

// ---- Output ----------------------------------------------------------------

// A value as it is shown in plain output: printable bytes as they are,
// control characters escaped.
void appendShown(std::string& out, std::string_view s) {
    static const char hex[] = "0123456789abcdef";
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    out += "\\x";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += ch;
                }
        }
    }
}

// A JSON string literal. Bytes that are not valid UTF-8 are written as
// U+FFFD so that the output is always valid JSON.
void appendJson(std::string& out, std::string_view s) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            switch (c) {
                case '"': out += "\\\""; break;
                case '\\': out += "\\\\"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                case '\t': out += "\\t"; break;
                default:
                    if (c < 0x20 || c == 0x7f) {
                        out += "\\u00";
                        out += hex[c >> 4];
                        out += hex[c & 15];
                    } else {
                        out += static_cast<char>(c);
                    }
            }
            ++i;
            continue;
        }
        // Length of a well-formed UTF-8 sequence starting here, 0 if none.
        std::size_t n = 0;
        if (c >= 0xC2 && c <= 0xDF) n = 2;
        else if (c >= 0xE0 && c <= 0xEF) n = 3;
        else if (c >= 0xF0 && c <= 0xF4) n = 4;
        bool ok = n != 0 && i + n <= s.size();
        for (std::size_t j = 1; ok && j < n; ++j) ok = (static_cast<unsigned char>(s[i + j]) & 0xC0) == 0x80;
        if (ok && n == 3) {
            const auto c1 = static_cast<unsigned char>(s[i + 1]);
            ok = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0);
        }
        if (ok && n == 4) {
            const auto c1 = static_cast<unsigned char>(s[i + 1]);
            ok = !(c == 0xF0 && c1 < 0x90) && !(c == 0xF4 && c1 >= 0x90);
        }
        if (ok) {
            out.append(s.substr(i, n));
            i += n;
        } else {
            out += "\\ufffd";
            ++i;
        }
    }
    out += '"';
}

void appendPlain(std::string& out, std::string_view input, const Outcome& o) {
    appendShown(out, input);
    out += ": ";
    if (o.valid) {
        out += o.rendered;
        if (!o.utc.empty()) {
            out += " = ";
            out += o.utc;
        }
        out += " (";
        out += nameOf(o.kind);
        out += ")\n";
        return;
    }
    out += "error (";
    out += nameOf(o.kind);
    out += ')';
    if (o.column != 0) {
        out += " at column ";
        out += std::to_string(o.column);
    }
    out += ": ";
    appendShown(out, o.rendered);
    out += '\n';
}

void appendJsonLine(std::string& out, std::string_view input, const Outcome& o) {
    out += "{\"input\":";
    appendJson(out, input);
    out += ",\"kind\":\"";
    out += nameOf(o.kind);
    out += "\",\"valid\":";
    if (o.valid) {
        out += "true,\"value\":";
        appendJson(out, o.rendered);
        if (!o.utc.empty()) {
            out += ",\"utc\":";
            appendJson(out, o.utc);
        }
    } else {
        out += "false,\"error\":";
        appendJson(out, o.rendered);
        if (o.column != 0) {
            out += ",\"column\":";
            out += std::to_string(o.column);
        }
    }
    out += "}\n";
}

struct Options {
    Kind kind = Kind::Auto;
    bool json = false;
    bool quiet = false;
};

// Checks one value and writes its line; returns whether it was valid.
bool checkOne(const Options& opt, std::string_view input, std::string& out) {
    const Outcome o = check(opt.kind, input);
    if (!opt.quiet) {
        out.clear();
        if (opt.json) appendJsonLine(out, input, o);
        else appendPlain(out, input, o);
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    return o.valid;
}

// Checks every line of standard input; returns the number of invalid ones.
long checkStdin(const Options& opt, std::string& out) {
    long invalid = 0;
    std::string line;
    char buf[1 << 16];
    bool pending = false;  // `line` holds an unterminated part
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, stdin);
        if (n == 0) break;
        std::string_view chunk(buf, n);
        for (;;) {
            const std::size_t nl = chunk.find('\n');
            if (nl == std::string_view::npos) {
                if (!chunk.empty()) {
                    line.append(chunk);
                    pending = true;
                }
                break;
            }
            std::string_view value;
            if (pending) {
                line.append(chunk.substr(0, nl));
                value = line;
            } else {
                value = chunk.substr(0, nl);
            }
            if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
            if (!checkOne(opt, value, out)) ++invalid;
            line.clear();
            pending = false;
            chunk.remove_prefix(nl + 1);
        }
    }
    if (pending) {
        std::string_view value = line;
        if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
        if (!checkOne(opt, value, out)) ++invalid;
    }
    return invalid;
}

void usage(std::FILE* to) {
    std::fputs(
        "Usage: iso8601-check [--as KIND] [--json] [--quiet] [VALUE...]\n"
        "Checks ISO 8601 values given as arguments, or one per line on standard\n"
        "input when no VALUE is given or a VALUE is '-'.\n"
        "\n"
        "  --as KIND   parse every value as KIND: auto (the default: judged by the\n"
        "              value's shape), year, month, day, quarter, quarter-of-year,\n"
        "              time-of-day, time-zone, local-time, utc-time, zoned-time\n"
        "  --json      print one JSON object per value\n"
        "  --quiet     print nothing; only the exit status tells\n"
        "  --help      print this help and exit\n"
        "  --version   print the version and exit\n"
        "\n"
        "Exit status: 0 if every value is valid, 1 if any is not, 2 on a usage error.\n",
        to);
}

int usageError(const std::string& what) {
    std::fprintf(stderr, "iso8601-check: %s\nTry 'iso8601-check --help'.\n", what.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    static char outBuf[1 << 16];
    std::setvbuf(stdout, outBuf, _IOFBF, sizeof outBuf);
    Options opt;
    // Options may come anywhere before "--"; everything else is a value (a
    // lone "-" means standard input; "-0001" and "-05:00" are values).
    std::vector<std::string_view> values;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-' || a[1] != '-') {
            values.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help") {
            usage(stdout);
            return 0;
        } else if (a == "--version") {
            std::printf("iso8601-check %s\n", SUITE_VERSION);
            return 0;
        } else if (a == "--json") {
            opt.json = true;
        } else if (a == "--quiet") {
            opt.quiet = true;
        } else if (a == "--as" || a.rfind("--as=", 0) == 0) {
            std::string_view name;
            if (a == "--as") {
                if (i + 1 >= argc) return usageError("--as needs a KIND");
                name = argv[++i];
            } else {
                name = a.substr(5);
            }
            const auto k = kindNamed(name);
            if (!k) return usageError("unknown KIND '" + std::string(name) + "'");
            opt.kind = *k;
        } else {
            return usageError("unknown option '" + std::string(a) + "'");
        }
    }
    if (opt.json && opt.quiet) return usageError("--json and --quiet exclude each other");

    std::string out;
    long invalid = 0;
    if (values.empty()) {
        invalid = checkStdin(opt, out);
    } else {
        for (std::string_view a : values) {
            if (a == "-") invalid += checkStdin(opt, out);
            else if (!checkOne(opt, a, out)) ++invalid;
        }
    }
    if (std::fflush(stdout) != 0) return 2;
    return invalid > 0 ? 1 : 0;
}
