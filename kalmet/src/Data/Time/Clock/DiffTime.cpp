#include "Data/Time/Clock/DiffTime.h"

namespace kalmet::detail {

std::string picosecondsToText(const core::Integer& ps) {
    const bool negative = ps.signum() < 0;
    const auto [whole, frac] = core::quotRem(negative ? -ps : ps, core::Integer(picosPerSecond));
    std::string out = negative ? "-" : "";
    whole.appendTo(out);
    const std::string f = frac.toString();
    out += '.';
    out.append(12 - f.size(), '0');
    out += f;
    return out;
}

}  // namespace kalmet::detail
