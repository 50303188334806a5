#include "Data/Time/Orphans.h"

#include <algorithm>
#include <bit>

#include "Core/Rational.h"

namespace kalmet::detail {

std::uint64_t hashSecondsFractionBig(std::uint64_t salt, const core::Integer& picoseconds) {
    return core::hashWithSalt(salt, core::Rational(picoseconds, core::Integer(picosPerSecond)));
}

}  // namespace kalmet::detail
