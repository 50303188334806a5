#include "Data/Format.h"

namespace kalmet {

namespace detail {

void formatShowBadValue() { core::raise("formatShow: bad value"); }

// The message of core::readEither for text that does not read.
void numberNoParse() { core::raise("no parse"); }

std::string noParseOf(std::string_view s) {
    std::string out = "no parse of ";
    core::showStringLiteral(s, out);
    return out;
}

std::string multipleParsesOf(std::string_view s) {
    std::string out = "multiple parses of ";
    core::showStringLiteral(s, out);
    return out;
}

std::optional<std::string> showNumberText(SignOption sign, std::optional<core::Int> digits, std::string_view s) {
    std::string out;
    if (!s.empty() && s.front() == '-') {
        if (sign == NoSign) return std::nullopt;
        out += '-';
        s.remove_prefix(1);
    } else if (sign == PosNegSign) {
        out += '+';
    }
    const std::size_t point = s.find('.');
    const std::string_view whole = s.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : s.substr(point);
    if (digits && *digits > 0 && static_cast<std::size_t>(*digits) > whole.size())
        out.append(static_cast<std::size_t>(*digits) - whole.size(), '0');
    out += whole;
    out += trimTrailing(fraction);
    return out;
}

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::vector<NumberText> readNumberTexts(SignOption sign, std::optional<core::Int> digits, bool fraction,
                                        std::string_view in, std::size_t pos) {
    // The signs, in the order of their alternatives.
    std::vector<std::pair<bool, std::size_t>> signs;
    switch (sign) {
        case SignOption::NoSign: signs.push_back({false, pos}); break;
        case SignOption::NegSign:
            signs.push_back({false, pos});
            if (pos < in.size() && in[pos] == '-') signs.push_back({true, pos + 1});
            break;
        case SignOption::PosNegSign:
            if (pos < in.size() && (in[pos] == '+' || in[pos] == '-')) signs.push_back({in[pos] == '-', pos + 1});
            break;
    }
    std::vector<NumberText> out;
    for (const auto& [negative, start] : signs) {
        std::size_t run = 0;  // the digits available at start
        while (start + run < in.size() && isDigit(in[start + run])) ++run;
        // The integer digit counts to try: exactly the count, or 1..run.
        std::size_t lo = 1, hi = run;
        if (digits) {
            const std::size_t n = *digits > 0 ? static_cast<std::size_t>(*digits) : 0;
            if (n > run) continue;
            lo = hi = n;
        }
        for (std::size_t len = lo; len <= hi; ++len) {
            const std::size_t end = start + len;
            const std::string_view whole = in.substr(start, len);
            out.push_back({negative, whole, {}, end});
            if (!fraction) continue;
            if (end < in.size() && (in[end] == '.' || in[end] == ',')) {
                std::size_t f = 0;
                while (end + 1 + f < in.size() && isDigit(in[end + 1 + f])) ++f;
                for (std::size_t k = 1; k <= f; ++k) out.push_back({negative, whole, in.substr(end + 1, k), end + 1 + k});
            }
        }
    }
    return out;
}

}  // namespace detail

std::string trimTrailing(std::string_view x) {
    while (!x.empty() && x.back() == '0') x.remove_suffix(1);
    if (x == ".") return std::string();
    return std::string(x);
}

Format<core::Unit> literalFormat(std::string s) {
    core::Reader<core::Unit> r = core::mapP([](const std::string_view&) { return core::Unit{}; }, core::stringP(s));
    return MkFormat<core::Unit>([s](const core::Unit&) { return std::optional<std::string>(s); }, std::move(r));
}

}  // namespace kalmet

namespace core {

void Show<kalmet::Pico>::showsPrec(int d, const kalmet::Pico& x, std::string& out) {
    const bool negative = x.picoseconds().signum() < 0;
    if (negative && d > 6) out += '(';
    out += x.toString();
    if (negative && d > 6) out += ')';
}

Reader<kalmet::Pico> Read<kalmet::Pico>::readPrec() {
    // "-"? digits ("." digits)?, taken whole (one reading), as a number
    // token: parentheses around a negative value are accepted.
    Reader<kalmet::Pico> body([](std::string_view in, std::size_t pos, int prec) {
        std::size_t p = pos;
        while (p < in.size() && (in[p] == ' ' || (in[p] >= '\t' && in[p] <= '\r'))) ++p;
        const bool negative = p < in.size() && in[p] == '-';
        if (negative && prec > 6) return Parses<kalmet::Pico>{};
        if (negative) ++p;
        const std::size_t start = p;
        while (p < in.size() && in[p] >= '0' && in[p] <= '9') ++p;
        if (p == start) return Parses<kalmet::Pico>{};
        core::Integer ps = core::Integer::fromDigits(in.substr(start, p - start)) *
                           core::Integer(kalmet::detail::picosPerSecond);
        if (p + 1 < in.size() && in[p] == '.' && in[p + 1] >= '0' && in[p + 1] <= '9') {
            ++p;
            const std::size_t f = p;
            while (p < in.size() && in[p] >= '0' && in[p] <= '9') ++p;
            std::string twelve(in.substr(f, std::min<std::size_t>(p - f, 12)));
            twelve.resize(12, '0');
            ps = ps + core::Integer::fromDigits(twelve);
        }
        if (negative) ps = -ps;
        return Parses<kalmet::Pico>{{kalmet::Pico::fromPicoseconds(std::move(ps)), p}};
    });
    return parens(body);
}

}  // namespace core
