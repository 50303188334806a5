#pragma once
// Interoperation between core::Integer and GMP, for code that talks to GMP
// directly. Including this header requires GMP's headers, and a program
// that uses it must link GMP itself (the core library links it privately).
#include <gmp.h>
#include <gmpxx.h>

#include "Core/Integer.h"

namespace core {

namespace detail {
// The heap form of an Integer whose value does not fit in an Int.
struct BigInt {
    mpz_t v;
};
}  // namespace detail

// Stores the value in `out`, which the caller has initialised.
void toMpz(const Integer& x, mpz_t out);
// The Integer of the same value.
Integer fromMpz(const mpz_t x);
mpz_class toMpzClass(const Integer& x);
Integer fromMpzClass(const mpz_class& x);

// Read-only GMP view of the heap form, or nullptr when the value is held
// inline (x.isSmall()). Valid while `x` lives and is not assigned to.
inline mpz_srcptr bigMpz(const Integer& x) noexcept {
    return x.bigRep() ? x.bigRep()->v : nullptr;
}

}  // namespace core
