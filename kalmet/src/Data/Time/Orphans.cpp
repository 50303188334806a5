#include "Data/Time/Orphans.h"

#include <numeric>

#include "Core/Rational.h"

namespace kalmet::detail {

std::uint64_t hashSecondsFraction(std::uint64_t salt, const core::Integer& picoseconds) {
    if (picoseconds.isSmall()) {
        // Reduced on machine integers: the denominator divides 10^12.
        const core::Int ps = picoseconds.unsafeInt();
        if (ps > INT64_MIN) {
            const core::Int g = std::gcd(ps < 0 ? -ps : ps, picosPerSecond);
            return core::hashInt(core::hashInt(salt, ps / g), picosPerSecond / g);
        }
    }
    return core::hashWithSalt(salt, core::Rational(picoseconds, core::Integer(picosPerSecond)));
}

}  // namespace kalmet::detail
