#include "Core/Rational.h"

#include "Core/Error.h"

namespace core {

namespace {

[[noreturn]] void zeroDenominator() { raise("Ratio has zero denominator"); }

}  // namespace

Rational::Rational(Integer n, Integer d) {
    const int ds = d.signum();
    if (ds == 0) zeroDenominator();
    Integer g = gcd(n, d);
    if (g != 1) {
        n = quot(n, g);
        d = quot(d, g);
    }
    if (ds < 0) {
        n = -n;
        d = -d;
    }
    num_ = std::move(n);
    den_ = std::move(d);
}

// a/b + c/d with g = gcd(b, d): the sum is t / ((b/g) d) where
// t = a (d/g) + c (b/g), and only gcd(t, g) can still divide both parts.
// Working with b/g and d/g keeps the intermediate products small.
Rational operator+(const Rational& x, const Rational& y) {
    if (x.den_ == 1 && y.den_ == 1) return Rational(x.num_ + y.num_, Integer(1), Rational::Reduced{});
    Integer g = gcd(x.den_, y.den_);
    if (g == 1) return Rational(x.num_ * y.den_ + y.num_ * x.den_, x.den_ * y.den_, Rational::Reduced{});
    Integer xd = quot(x.den_, g);
    Integer t = x.num_ * quot(y.den_, g) + y.num_ * xd;
    Integer g2 = gcd(t, g);
    if (g2 == 1) return Rational(std::move(t), xd * y.den_, Rational::Reduced{});
    return Rational(quot(t, g2), xd * quot(y.den_, g2), Rational::Reduced{});
}

Rational operator-(const Rational& x, const Rational& y) { return x + (-y); }

// (a/b)(c/d): cancelling gcd(a, d) and gcd(c, b) first leaves the product
// in lowest terms.
Rational operator*(const Rational& x, const Rational& y) {
    if (x.den_ == 1 && y.den_ == 1) return Rational(x.num_ * y.num_, Integer(1), Rational::Reduced{});
    Integer g1 = gcd(x.num_, y.den_);
    Integer g2 = gcd(y.num_, x.den_);
    return Rational(quot(x.num_, g1) * quot(y.num_, g2), quot(x.den_, g2) * quot(y.den_, g1),
                    Rational::Reduced{});
}

Rational recip(const Rational& x) {
    const int s = x.num_.signum();
    if (s == 0) zeroDenominator();
    if (s < 0) return Rational(-x.den_, -x.num_, Rational::Reduced{});
    return Rational(x.den_, x.num_, Rational::Reduced{});
}

Rational operator/(const Rational& x, const Rational& y) { return x * recip(y); }

std::strong_ordering operator<=>(const Rational& x, const Rational& y) {
    if (x.den_ == y.den_) return x.num_ <=> y.num_;
    const int sx = x.signum(), sy = y.signum();
    if (sx != sy) return sx <=> sy;
    return x.num_ * y.den_ <=> y.num_ * x.den_;
}

Integer Rational::floor() const { return div(num_, den_); }

Integer Rational::ceiling() const {
    auto [q, r] = divMod(num_, den_);
    return r.signum() == 0 ? std::move(q) : q + 1;
}

Integer Rational::truncate() const { return quot(num_, den_); }

Integer Rational::round() const {
    auto [q, r] = divMod(num_, den_);  // 0 <= r < den
    const auto c = r * 2 <=> den_;
    if (c < 0) return std::move(q);
    if (c > 0 || mod(q, 2) != 0) return q + 1;
    return std::move(q);
}

std::pair<Integer, Rational> Rational::properFraction() const {
    auto [q, r] = quotRem(num_, den_);
    // gcd(r, den) == gcd(num, den) == 1, so the rest is in lowest terms
    // (and r == 0 only when den == 1).
    return {std::move(q), Rational(std::move(r), den_, Reduced{})};
}

std::string Rational::toString() const {
    std::string out;
    appendTo(out);
    return out;
}

void Rational::appendTo(std::string& out) const {
    num_.appendTo(out);
    out += " % ";
    den_.appendTo(out);
}

}  // namespace core
