#pragma once
// Lets GoogleTest print Integers and Rationals in failure messages.
#include <ostream>

#include "Core/Integer.h"
#include "Core/Rational.h"

namespace core {
inline void PrintTo(const Integer& x, std::ostream* os) { *os << x.toString(); }
inline void PrintTo(const Rational& x, std::ostream* os) { *os << x.toString(); }
}  // namespace core
