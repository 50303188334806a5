#pragma once
// core::Rational: an exact fraction of two Integers.
//
// The value is always held in lowest terms with a positive denominator, so
// equal fractions have equal numerators and denominators. A zero
// denominator, whether given to the constructor or reached by dividing by
// zero, raises core::Error "Ratio has zero denominator".
#include <compare>
#include <concepts>
#include <string>
#include <utility>

#include "Core/Integer.h"

namespace core {

class Rational {
public:
    // Zero.
    Rational() = default;
    // The whole number n (that is n % 1).
    Rational(const Integer& n) : num_(n) {}
    Rational(Integer&& n) noexcept : num_(std::move(n)) {}
    template <std::integral T>
    Rational(T n) : num_(n) {}
    // n / d in lowest terms with a positive denominator.
    Rational(Integer n, Integer d);

    static Rational fromInteger(Integer n) { return Rational(std::move(n)); }

    const Integer& numerator() const noexcept { return num_; }
    // Always positive.
    const Integer& denominator() const noexcept { return den_; }
    // -1, 0 or 1.
    int signum() const noexcept { return num_.signum(); }
    bool isInteger() const noexcept { return den_ == 1; }

    friend Rational operator+(const Rational& x, const Rational& y);
    friend Rational operator-(const Rational& x, const Rational& y);
    friend Rational operator*(const Rational& x, const Rational& y);
    // Raises core::Error "Ratio has zero denominator" when y is zero.
    friend Rational operator/(const Rational& x, const Rational& y);
    friend Rational operator-(const Rational& x) { return Rational(-x.num_, x.den_, Reduced{}); }
    Rational& operator+=(const Rational& y) { return *this = *this + y; }
    Rational& operator-=(const Rational& y) { return *this = *this - y; }
    Rational& operator*=(const Rational& y) { return *this = *this * y; }
    Rational& operator/=(const Rational& y) { return *this = *this / y; }

    // Lowest terms make equality a comparison of the parts.
    friend bool operator==(const Rational&, const Rational&) = default;
    friend std::strong_ordering operator<=>(const Rational& x, const Rational& y);

    friend Rational abs(const Rational& x) { return x.signum() < 0 ? -x : x; }
    // 1 / x; raises core::Error "Ratio has zero denominator" when x is zero.
    friend Rational recip(const Rational& x);

    // Rounding to a whole number: toward negative infinity, toward positive
    // infinity, toward zero, and to the nearest (halves to the even one).
    Integer floor() const;
    Integer ceiling() const;
    Integer truncate() const;
    Integer round() const;
    // The whole part (truncated toward zero) and the rest, which has the
    // sign of the value and magnitude below one: x == whole + rest.
    std::pair<Integer, Rational> properFraction() const;

    // "n % d", for example "3 % 4", "-3 % 4" and "5 % 1".
    std::string toString() const;
    void appendTo(std::string& out) const;

private:
    struct Reduced {};
    // Parts already in lowest terms with d > 0.
    Rational(Integer n, Integer d, Reduced) noexcept : num_(std::move(n)), den_(std::move(d)) {}

    Integer num_;
    Integer den_{1};
};

// Namespace-scope declarations so that qualified calls find the friends.
Rational abs(const Rational& x);
Rational recip(const Rational& x);

}  // namespace core
