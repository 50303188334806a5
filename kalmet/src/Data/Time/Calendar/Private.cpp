#include "Data/Time/Calendar/Private.h"

#include <cstdint>

#include "Core/Text.h"

namespace kalmet {

std::string showPadded(const PadOption& pad, std::string_view s) {
    const Pad* p = std::get_if<Pad>(&pad);
    if (p == nullptr) return std::string(s);
    const std::size_t length = core::utf8::valid(s) ? core::utf8::length(s) : s.size();
    std::string out;
    if (p->width > 0 && static_cast<std::uint64_t>(p->width) > length) {
        std::string fill;
        core::utf8::append(fill, p->fill);
        const std::size_t n = static_cast<std::size_t>(p->width) - length;
        out.reserve(n * fill.size() + s.size());
        for (std::size_t i = 0; i < n; ++i) out += fill;
    }
    out += s;
    return out;
}

std::string ShowPadded<core::Integer>::showPaddedNum(const PadOption& pad, const core::Integer& x) {
    if (std::holds_alternative<NoPad>(pad)) return x.toString();
    if (x.signum() < 0) {
        std::string out(1, '-');
        out += showPaddedNum(pad, -x);
        return out;
    }
    return showPadded(pad, x.toString());
}

std::string ShowPadded<core::Int>::showPaddedNum(const PadOption& pad, core::Int x) {
    if (std::holds_alternative<NoPad>(pad)) return std::to_string(x);
    if (x == INT64_MIN) return std::to_string(x);  // its negation is not an Int
    if (x < 0) {
        std::string out(1, '-');
        out += showPaddedNum(pad, -x);
        return out;
    }
    return showPadded(pad, std::to_string(x));
}

std::string show2Fixed(const Pico& x) {
    const core::Integer& ps = x.picoseconds();
    const bool negative = ps.signum() < 0;
    const auto [whole, frac] = core::quotRem(negative ? -ps : ps, core::Integer(detail::picosPerSecond));
    std::string out = negative ? "-" : "";
    out += whole.toString();
    std::string digits = frac.toString();
    digits.insert(0, 12 - digits.size(), '0');
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (!digits.empty()) {
        out += '.';
        out += digits;
    }
    // Below 10 (every negative value included) gets a leading "0".
    if (ps < core::Integer(10 * detail::picosPerSecond)) out.insert(0, 1, '0');
    return out;
}

}  // namespace kalmet
