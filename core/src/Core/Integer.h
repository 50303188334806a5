#pragma once
// core::Integer: a signed integer without bound.
//
// Every value that fits in 64 bits is held inline and every operation on
// such values runs without touching the heap; only larger values allocate a
// GMP integer. The representation is canonical: a value is "big" exactly
// when it does not fit in an Int, so equality and hashing never need to
// look at both forms of one number.
#include <compare>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Core/Types.h"

namespace core {

namespace detail {
struct BigInt;  // a heap GMP integer; defined in Integer.cpp
BigInt* bigCopy(const BigInt*);
void bigFree(BigInt*) noexcept;
}  // namespace detail

class Integer {
public:
    constexpr Integer() noexcept = default;
    // Every built-in integral type converts implicitly and exactly.
    template <std::signed_integral T>
    constexpr Integer(T v) noexcept : small_(static_cast<Int>(v)) {}
    template <std::unsigned_integral T>
    Integer(T v) {
        if (static_cast<unsigned long long>(v) <= static_cast<unsigned long long>(INT64_MAX))
            small_ = static_cast<Int>(v);
        else
            *this = fromUnsigned(static_cast<unsigned long long>(v));
    }

    Integer(const Integer& o) : small_(o.small_), big_(o.big_ ? detail::bigCopy(o.big_) : nullptr) {}
    Integer(Integer&& o) noexcept : small_(o.small_), big_(std::exchange(o.big_, nullptr)) {}
    Integer& operator=(const Integer& o) {
        if (this != &o) {
            detail::BigInt* b = o.big_ ? detail::bigCopy(o.big_) : nullptr;
            if (big_) detail::bigFree(big_);
            small_ = o.small_;
            big_ = b;
        }
        return *this;
    }
    Integer& operator=(Integer&& o) noexcept {
        if (this != &o) {
            if (big_) detail::bigFree(big_);
            small_ = o.small_;
            big_ = std::exchange(o.big_, nullptr);
        }
        return *this;
    }
    ~Integer() {
        if (big_) detail::bigFree(big_);
    }

    // Decimal text: an optional '-' or '+' followed by one or more digits
    // (leading zeros allowed, any length). Anything else gives nullopt.
    static std::optional<Integer> fromString(std::string_view text);
    // A non-empty run of the digits '0'..'9' only, any length: the fast
    // path of digit parsers that have already checked their input. Text
    // that is not such a run raises core::Error.
    static Integer fromDigits(std::string_view digits);
    static Integer fromUnsigned(unsigned long long v);
    // 10 to the power n.
    static Integer pow10(unsigned n);
    // b to the power e (e >= 0); 0^0 is 1. For both powers, a result too
    // large to hold (beyond about 2^32 bits) raises core::Error instead of
    // exhausting memory.
    static Integer pow(const Integer& b, unsigned long e);

    // Plain decimal with a leading '-' when negative.
    std::string toString() const;
    // Appends the decimal text to `out`.
    void appendTo(std::string& out) const;

    // True when the value fits in an Int (and is held inline).
    bool isSmall() const noexcept { return big_ == nullptr; }
    // The value as an Int, or nullopt when it does not fit.
    std::optional<Int> toInt() const noexcept {
        if (big_) return std::nullopt;
        return small_;
    }
    // The value as an Int; precondition isSmall().
    Int unsafeInt() const noexcept { return small_; }
    // The nearest double (ties to even); infinite when out of range.
    double toDouble() const noexcept;

    // -1, 0 or 1.
    int signum() const noexcept;

    friend Integer operator+(const Integer& a, const Integer& b) {
        Int r;
        if (bothSmall(a, b) && !__builtin_add_overflow(a.small_, b.small_, &r)) return Integer(r);
        return addSlow(a, b);
    }
    friend Integer operator-(const Integer& a, const Integer& b) {
        Int r;
        if (bothSmall(a, b) && !__builtin_sub_overflow(a.small_, b.small_, &r)) return Integer(r);
        return subSlow(a, b);
    }
    friend Integer operator*(const Integer& a, const Integer& b) {
        Int r;
        if (bothSmall(a, b) && !__builtin_mul_overflow(a.small_, b.small_, &r)) return Integer(r);
        return mulSlow(a, b);
    }
    friend Integer operator-(const Integer& a) {
        if (!a.big_ && a.small_ != INT64_MIN) return Integer(-a.small_);
        return negSlow(a);
    }
    Integer& operator+=(const Integer& b) { return *this = *this + b; }
    Integer& operator-=(const Integer& b) { return *this = *this - b; }
    Integer& operator*=(const Integer& b) { return *this = *this * b; }

    friend bool operator==(const Integer& a, const Integer& b) noexcept {
        if (bothSmall(a, b)) return a.small_ == b.small_;
        if (!a.big_ || !b.big_) return false;  // canonical: big never equals small
        return cmpSlow(a, b) == 0;
    }
    friend std::strong_ordering operator<=>(const Integer& a, const Integer& b) noexcept {
        if (bothSmall(a, b)) return a.small_ <=> b.small_;
        return cmpSlow(a, b) <=> 0;
    }

    // Truncating division (rounds toward zero); quot/rem by zero raise
    // core::Error "divide by zero".
    friend Integer quot(const Integer& a, const Integer& b);
    friend Integer rem(const Integer& a, const Integer& b);
    friend std::pair<Integer, Integer> quotRem(const Integer& a, const Integer& b);
    // Flooring division (rounds toward negative infinity); the remainder has
    // the sign of the divisor.
    friend Integer div(const Integer& a, const Integer& b);
    friend Integer mod(const Integer& a, const Integer& b);
    friend std::pair<Integer, Integer> divMod(const Integer& a, const Integer& b);
    friend Integer abs(const Integer& a) { return a.signum() < 0 ? -a : a; }
    // Greatest common divisor, never negative.
    friend Integer gcd(const Integer& a, const Integer& b);

    // Read-only access to the heap form, for code that talks to GMP
    // directly (see Core/IntegerGmp.h); nullptr when isSmall().
    const detail::BigInt* bigRep() const noexcept { return big_; }
    // Takes ownership of a heap form, normalising it to the inline form
    // when it fits.
    static Integer adopt(detail::BigInt* rep);

private:
    // One test for both operands (a single branch on the hot path).
    static bool bothSmall(const Integer& a, const Integer& b) noexcept {
        return (reinterpret_cast<std::uintptr_t>(a.big_) | reinterpret_cast<std::uintptr_t>(b.big_)) == 0;
    }
    static Integer addSlow(const Integer&, const Integer&);
    static Integer subSlow(const Integer&, const Integer&);
    static Integer mulSlow(const Integer&, const Integer&);
    static Integer negSlow(const Integer&);
    static int cmpSlow(const Integer&, const Integer&) noexcept;

    Int small_ = 0;                  // the value when big_ is null
    detail::BigInt* big_ = nullptr;  // owned; set only when the value does not fit in an Int
};

// Namespace-scope declarations of the friends above, so that qualified
// calls such as core::quot(a, b) find them as well as unqualified ones.
Integer quot(const Integer& a, const Integer& b);
Integer rem(const Integer& a, const Integer& b);
std::pair<Integer, Integer> quotRem(const Integer& a, const Integer& b);
Integer div(const Integer& a, const Integer& b);
Integer mod(const Integer& a, const Integer& b);
std::pair<Integer, Integer> divMod(const Integer& a, const Integer& b);
Integer abs(const Integer& a);
Integer gcd(const Integer& a, const Integer& b);

}  // namespace core
