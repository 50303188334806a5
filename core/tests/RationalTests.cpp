// core::Rational: lowest terms, sign of the denominator, the zero
// denominator, arithmetic against GMP's rationals, and rounding.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Core/Error.h"
#include "Core/IntegerGmp.h"
#include "NumberPrinting.h"
#include "Core/Rational.h"

using core::Integer;
using core::Rational;

namespace {

Integer I(const char* text) { return *Integer::fromString(text); }

std::string str(const mpq_class& q) { return q.get_num().get_str() + " % " + q.get_den().get_str(); }

mpq_class toMpq(const Rational& r) {
    mpq_class q(core::toMpzClass(r.numerator()), core::toMpzClass(r.denominator()));
    q.canonicalize();
    return q;
}

void expectZeroDenominator(const std::function<void()>& f) {
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "Ratio has zero denominator");
    }
}

// Parts of every size, including the 64-bit edges.
std::vector<Integer> parts() {
    std::vector<Integer> v = {Integer(1),         Integer(2),           Integer(3),  Integer(6),
                              Integer(10),        Integer(INT64_MAX),   I("9223372036854775808"),
                              I("18446744073709551616"), I("340282366920938463463374607431768211297"),
                              Integer(4096) * 3 * 5 * 7};
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) v.push_back(-v[i]);
    v.push_back(Integer(INT64_MIN));
    v.push_back(Integer(0));
    return v;
}

}  // namespace

TEST(RationalForm, ReducedWithPositiveDenominator) {
    EXPECT_EQ(Rational(6, -4).toString(), "-3 % 2");
    EXPECT_EQ(Rational(-6, -4).toString(), "3 % 2");
    EXPECT_EQ(Rational(0, -5).toString(), "0 % 1");
    EXPECT_EQ(Rational(3, 4).toString(), "3 % 4");
    EXPECT_EQ(Rational(-3, 4).toString(), "-3 % 4");
    EXPECT_EQ(Rational(5).toString(), "5 % 1");
    EXPECT_EQ(Rational().toString(), "0 % 1");
    EXPECT_EQ(Rational(INT64_MIN, -1).toString(), "9223372036854775808 % 1");
    EXPECT_EQ(Rational(INT64_MIN, INT64_MIN).toString(), "1 % 1");
    EXPECT_EQ(Rational(2, INT64_MIN).toString(), "-1 % 4611686018427387904");
    EXPECT_EQ(Rational(1, INT64_MIN).toString(), "-1 % 9223372036854775808");
    EXPECT_TRUE(Rational(1, INT64_MIN).denominator().signum() > 0);
    EXPECT_EQ(Rational(6, 4), Rational(-3, -2));
    EXPECT_EQ(Rational::fromInteger(7), Rational(14, 2));
    EXPECT_TRUE(Rational(14, 2).isInteger());
    // Every pair of parts, big or small, against GMP's canonical form.
    for (const Integer& n : parts())
        for (const Integer& d : parts()) {
            if (d.signum() == 0) continue;
            mpq_class want(core::toMpzClass(n), core::toMpzClass(d));
            want.canonicalize();
            const Rational r(n, d);
            EXPECT_EQ(r.toString(), str(want));
            EXPECT_EQ(r.numerator().isSmall(), want.get_num().fits_slong_p() != 0);  // results stay canonical
        }
}

TEST(RationalForm, ZeroDenominatorRaises) {
    expectZeroDenominator([] { Rational(1, 0); });
    expectZeroDenominator([] { Rational(0, 0); });
    expectZeroDenominator([] { Rational(I("100000000000000000000000"), 0); });
    expectZeroDenominator([] { (void)(Rational(1, 2) / Rational(0)); });
    expectZeroDenominator([] { (void)recip(Rational(0, 7)); });
    Rational x(1, 3);
    expectZeroDenominator([&] { x /= 0; });
    EXPECT_EQ(x, Rational(1, 3));
}

TEST(RationalArithmetic, MatchesGmp) {
    const auto ps = parts();
    std::vector<Rational> xs;
    for (std::size_t i = 0; i < ps.size(); ++i)
        for (std::size_t j = i; j < ps.size(); j += 3)
            if (ps[j].signum() != 0) xs.emplace_back(ps[i], ps[j]);
    for (const Rational& x : xs)
        for (const Rational& y : xs) {
            SCOPED_TRACE(x.toString() + " and " + y.toString());
            const mpq_class qx = toMpq(x), qy = toMpq(y);
            EXPECT_EQ((x + y).toString(), str(qx + qy));
            EXPECT_EQ((x - y).toString(), str(qx - qy));
            EXPECT_EQ((x * y).toString(), str(qx * qy));
            if (y.signum() != 0) {
                EXPECT_EQ((x / y).toString(), str(qx / qy));
            }
            EXPECT_EQ(x == y, qx == qy);
            EXPECT_EQ(x < y, qx < qy);
            EXPECT_EQ(x > y, qx > qy);
        }
}

TEST(RationalArithmetic, SignsAndMixedOperands) {
    EXPECT_EQ(-Rational(3, 4), Rational(-3, 4));
    EXPECT_EQ(abs(Rational(-3, 4)), Rational(3, 4));
    EXPECT_EQ(Rational(-3, 4).signum(), -1);
    EXPECT_EQ(Rational(0, 4).signum(), 0);
    EXPECT_EQ(recip(Rational(-3, 4)), Rational(-4, 3));
    EXPECT_EQ(Rational(1, 2) + 1, Rational(3, 2));
    EXPECT_EQ(Integer(2) * Rational(1, 4), Rational(1, 2));
    EXPECT_TRUE(Rational(1, 3) < Rational(1, 2));
    EXPECT_TRUE(Rational(-1, 2) < Rational(-1, 3));
    EXPECT_TRUE(Rational(7, 2) > 3);
    Rational acc;
    for (int k = 1; k <= 10; ++k) acc += Rational(1, k * (k + 1));  // telescopes to 1 - 1/11
    EXPECT_EQ(acc, Rational(10, 11));
}

TEST(RationalRounding, HalvesAndSigns) {
    struct Case {
        Rational x;
        int floor, ceiling, truncate, round;
    };
    const Case cases[] = {
        {Rational(5, 2), 2, 3, 2, 2},      {Rational(7, 2), 3, 4, 3, 4},      {Rational(-5, 2), -3, -2, -2, -2},
        {Rational(-7, 2), -4, -3, -3, -4}, {Rational(1, 2), 0, 1, 0, 0},      {Rational(-1, 2), -1, 0, 0, 0},
        {Rational(7, 3), 2, 3, 2, 2},      {Rational(-7, 3), -3, -2, -2, -2}, {Rational(8, 3), 2, 3, 2, 3},
        {Rational(-8, 3), -3, -2, -2, -3}, {Rational(4), 4, 4, 4, 4},         {Rational(0), 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x.toString());
        EXPECT_EQ(c.x.floor(), c.floor);
        EXPECT_EQ(c.x.ceiling(), c.ceiling);
        EXPECT_EQ(c.x.truncate(), c.truncate);
        EXPECT_EQ(c.x.round(), c.round);
    }
    // Picoseconds to whole seconds: a big numerator near the 64-bit edge.
    const Rational ps(Integer(INT64_MAX) * 1000 + 500, 1000);
    EXPECT_EQ(ps.round(), Integer(INT64_MAX) + 1);  // INT64_MAX is odd: the half goes up
    EXPECT_EQ(ps.floor(), Integer(INT64_MAX));
}

namespace {

rc::Gen<Rational> genRational() {
    return rc::gen::map(rc::gen::pair(rc::gen::arbitrary<std::int64_t>(), rc::gen::inRange<std::int64_t>(1, INT64_MAX)),
                        [](std::pair<std::int64_t, std::int64_t> p) {
                            // Scaled up to go past 64 bits now and then.
                            return Rational(Integer(p.first) * (p.first % 3 == 0 ? Integer(INT64_MAX) : Integer(1)),
                                            p.second);
                        });
}

}  // namespace

RC_GTEST_PROP(RationalLaws, RoundingStaysWithinHalf, ()) {
    const Rational x = *genRational();
    const Integer r = x.round();
    const Rational err = abs(x - r);
    RC_ASSERT(err <= Rational(1, 2));
    if (err == Rational(1, 2)) RC_ASSERT(core::mod(r, 2) == 0);
    RC_ASSERT(Rational(x.floor()) <= x);
    RC_ASSERT(x < Rational(x.floor() + 1));
    RC_ASSERT(x.ceiling() - x.floor() == (x.isInteger() ? 0 : 1));
}

RC_GTEST_PROP(RationalLaws, ProperFractionSplitsTheValue, ()) {
    const Rational x = *genRational();
    const auto [whole, rest] = x.properFraction();
    RC_ASSERT(Rational(whole) + rest == x);
    RC_ASSERT(abs(rest) < Rational(1));
    RC_ASSERT(rest.signum() == 0 || rest.signum() == x.signum());
    RC_ASSERT(whole == x.truncate());
}

RC_GTEST_PROP(RationalLaws, FieldLaws, ()) {
    const Rational a = *genRational(), b = *genRational(), c = *genRational();
    RC_ASSERT((a + b) + c == a + (b + c));
    RC_ASSERT(a * (b + c) == a * b + a * c);
    RC_ASSERT(a - a == Rational(0));
    if (b.signum() != 0) RC_ASSERT((a / b) * b == a);
}
