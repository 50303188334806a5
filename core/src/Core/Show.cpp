#include "Core/Show.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "Core/Lex.h"

namespace core {

void showStringLiteral(std::string_view s, std::string& out) {
    out += '"';
    std::optional<utf8::Decoded> cur = utf8::decode(s);
    std::size_t i = 0;
    while (i < s.size()) {
        // Invalid bytes (possible only in a std::string) show as U+FFFD.
        const Char c = cur ? cur->c : 0xFFFD;
        const std::size_t n = cur ? cur->size : 1;
        i += n;
        std::optional<utf8::Decoded> next = utf8::decode(s.substr(i));
        std::optional<Char> nextChar;
        if (i < s.size()) nextChar = next ? next->c : 0xFFFD;
        appendLitChar(out, c, nextChar, true);
        cur = next;
    }
    out += '"';
}

void showCharLiteral(Char c, std::string& out) {
    out += '\'';
    appendLitChar(out, c, std::nullopt, false);
    out += '\'';
}

void Show<Char>::showList(const std::vector<Char>& cs, std::string& out) {
    out += '"';
    for (std::size_t i = 0; i < cs.size(); ++i)
        appendLitChar(out, cs[i], i + 1 < cs.size() ? std::optional<Char>(cs[i + 1]) : std::nullopt, true);
    out += '"';
}

void showDouble(int d, double x, std::string& out) {
    if (std::isnan(x)) {
        out += "NaN";
        return;
    }
    if (x < 0 || (x == 0 && std::signbit(x))) {
        showParen(d > 6, out, [&] {
            out += '-';
            showDouble(0, -x, out);
        });
        return;
    }
    if (std::isinf(x)) {
        out += "Infinity";
        return;
    }
    if (x == 0) {
        out += "0.0";
        return;
    }
    // Shortest digits that read back exactly: x = 0.d1d2... * 10^e.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
    std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t epos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, epos))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const long e = std::strtol(std::string(sci.substr(epos + 1)).c_str(), nullptr, 10) + 1;
    if (e < 0 || e > 7) {
        out += digits[0];
        out += '.';
        out += digits.size() > 1 ? digits.substr(1) : std::string("0");
        out += 'e';
        out += std::to_string(e - 1);
    } else if (e == 0) {
        out += "0.";
        out += digits;
    } else {
        const auto ue = static_cast<std::size_t>(e);
        std::string intPart = digits.substr(0, std::min(ue, digits.size()));
        while (intPart.size() < ue) intPart += '0';
        std::string frac = digits.size() > ue ? digits.substr(ue) : std::string("0");
        out += intPart;
        out += '.';
        out += frac;
    }
}

}  // namespace core
