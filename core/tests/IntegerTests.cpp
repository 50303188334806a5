// core::Integer checked against GMP on values of every size, with the
// 64-bit boundaries (where the inline and heap forms meet) in every
// operation.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "Core/Error.h"
#include "Core/Integer.h"
#include "Core/IntegerGmp.h"
#include "NumberPrinting.h"

using core::Integer;

namespace {

mpz_class pow2(unsigned k) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 2, k);
    return r;
}

// Values where the representation changes, plus a few clearly inside each
// form.
std::vector<mpz_class> boundaries() {
    const mpz_class m63 = pow2(63), m64 = pow2(64);
    std::vector<mpz_class> v = {0,           1,           2,           7,          pow2(31),
                                pow2(32) - 1, m63 - 2,    m63 - 1,     m63,        m63 + 1,
                                m64 - 1,     m64,         m64 + 1,     pow2(127) - 1, pow2(128),
                                pow2(300) + 12345};
    const std::size_t n = v.size();
    for (std::size_t i = 1; i < n; ++i) v.push_back(-v[i]);
    v.push_back(-m63 - 1);  // -2^63 - 1; -2^63 is -(m63) above
    return v;
}

// Independent route from GMP to Integer: decimal text.
Integer viaText(const mpz_class& m) {
    auto r = Integer::fromString(m.get_str());
    EXPECT_TRUE(r.has_value()) << m.get_str();
    return r.value_or(Integer());
}

// The result has the value `want` and is in canonical form.
::testing::AssertionResult same(const Integer& got, const mpz_class& want) {
    const std::string g = got.toString(), w = want.get_str();
    if (g != w) return ::testing::AssertionFailure() << "got " << g << ", want " << w;
    if (got.isSmall() != (want.fits_slong_p() != 0))
        return ::testing::AssertionFailure() << w << " held in the wrong form";
    if (core::toMpzClass(got) != want) return ::testing::AssertionFailure() << "toMpzClass differs for " << w;
    return ::testing::AssertionSuccess();
}

mpz_class gmpOp(void (*f)(mpz_ptr, mpz_srcptr, mpz_srcptr), const mpz_class& a, const mpz_class& b) {
    mpz_class r;
    f(r.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
    return r;
}

// Every binary and unary operation on one pair, against GMP.
void checkPair(const mpz_class& ma, const mpz_class& mb) {
    SCOPED_TRACE("a = " + ma.get_str() + ", b = " + mb.get_str());
    const Integer a = viaText(ma), b = viaText(mb);
    EXPECT_TRUE(same(a + b, ma + mb));
    EXPECT_TRUE(same(a - b, ma - mb));
    EXPECT_TRUE(same(a * b, ma * mb));
    EXPECT_TRUE(same(-a, -ma));
    EXPECT_TRUE(same(core::abs(a), abs(ma)));
    EXPECT_EQ(a.signum(), sgn(ma));
    EXPECT_EQ(a == b, ma == mb);
    EXPECT_EQ(a != b, ma != mb);
    EXPECT_EQ(a < b, ma < mb);
    EXPECT_EQ(a >= b, ma >= mb);
    EXPECT_EQ((a <=> b) < 0, cmp(ma, mb) < 0);
    EXPECT_TRUE(same(gcd(a, b), gmpOp(mpz_gcd, ma, mb)));
    EXPECT_EQ(a.toInt().has_value(), ma.fits_slong_p() != 0);
    if (a.toInt()) {
        EXPECT_EQ(*a.toInt(), ma.get_si());
    }
    if (mb == 0) return;
    EXPECT_TRUE(same(quot(a, b), gmpOp(mpz_tdiv_q, ma, mb)));
    EXPECT_TRUE(same(rem(a, b), gmpOp(mpz_tdiv_r, ma, mb)));
    EXPECT_TRUE(same(div(a, b), gmpOp(mpz_fdiv_q, ma, mb)));
    EXPECT_TRUE(same(mod(a, b), gmpOp(mpz_fdiv_r, ma, mb)));
    auto [q, r] = quotRem(a, b);
    EXPECT_TRUE(same(q, gmpOp(mpz_tdiv_q, ma, mb)));
    EXPECT_TRUE(same(r, gmpOp(mpz_tdiv_r, ma, mb)));
    auto [d, m] = divMod(a, b);
    EXPECT_TRUE(same(d, gmpOp(mpz_fdiv_q, ma, mb)));
    EXPECT_TRUE(same(m, gmpOp(mpz_fdiv_r, ma, mb)));
}

// Random value with a random bit length up to maxBits; half the time a
// power of two nudged by a little, to land on limb and Int edges.
mpz_class randomValue(gmp_randclass& rnd, std::mt19937_64& g, unsigned maxBits) {
    const unsigned bits = static_cast<unsigned>(g() % (maxBits + 1));
    mpz_class v = (g() % 2) ? mpz_class(rnd.get_z_bits(bits)) : pow2(bits) + static_cast<long>(g() % 5) - 2;
    return (g() % 2) ? -v : v;
}

}  // namespace

TEST(IntegerArithmetic, EveryPairOfBoundaryValuesMatchesGmp) {
    const auto vs = boundaries();
    for (const auto& a : vs)
        for (const auto& b : vs) checkPair(a, b);
}

TEST(IntegerArithmetic, RandomValuesOfEverySizeMatchGmp) {
    gmp_randclass rnd(gmp_randinit_default);
    rnd.seed(20240601);
    std::mt19937_64 g(7);
    for (unsigned maxBits : {8u, 40u, 63u, 64u, 65u, 70u, 130u, 700u})
        for (int i = 0; i < 400; ++i) checkPair(randomValue(rnd, g, maxBits), randomValue(rnd, g, maxBits));
}

TEST(IntegerArithmetic, DivisionByZeroRaises) {
    for (const Integer& a : {Integer(0), Integer(5), Integer(INT64_MIN), viaText(pow2(200))}) {
        const Integer zero;
        auto expectRaise = [](auto&& f) {
            try {
                f();
                ADD_FAILURE() << "no exception";
            } catch (const core::Error& e) {
                EXPECT_STREQ(e.what(), "divide by zero");
            }
        };
        expectRaise([&] { (void)quot(a, zero); });
        expectRaise([&] { (void)rem(a, zero); });
        expectRaise([&] { (void)quotRem(a, zero); });
        expectRaise([&] { (void)core::div(a, zero); });
        expectRaise([&] { (void)core::mod(a, zero); });
        expectRaise([&] { (void)core::divMod(a, zero); });
    }
}

TEST(IntegerArithmetic, Int64MinEdgeCases) {
    const Integer mn(INT64_MIN), m1(-1);
    EXPECT_TRUE(same(quot(mn, m1), pow2(63)));
    EXPECT_TRUE(same(core::div(mn, m1), pow2(63)));
    EXPECT_TRUE(same(rem(mn, m1), 0));
    EXPECT_TRUE(same(core::mod(mn, m1), 0));
    EXPECT_TRUE(same(-mn, pow2(63)));
    EXPECT_TRUE(same(-(-mn), -pow2(63)));
    EXPECT_TRUE(same(core::abs(mn), pow2(63)));
    EXPECT_TRUE(same(mn * m1, pow2(63)));
    EXPECT_TRUE(same(gcd(mn, Integer(0)), pow2(63)));
    EXPECT_TRUE(same(gcd(mn, mn), pow2(63)));
}

TEST(IntegerRepresentation, ResultsThatShrinkBecomeSmall) {
    const Integer big = Integer(INT64_MAX) + 1;
    EXPECT_FALSE(big.isSmall());
    EXPECT_TRUE((big - 1).isSmall());
    EXPECT_TRUE((big + Integer(INT64_MIN)).isSmall());
    const Integer huge = big * big * big;
    EXPECT_TRUE(quot(huge, big * big) == big);
    EXPECT_TRUE(quot(huge, huge).isSmall());
    EXPECT_TRUE((huge - huge).isSmall());
    EXPECT_TRUE(rem(huge, big).isSmall());
    EXPECT_EQ(Integer(INT64_MAX) + 1 - 1, Integer(INT64_MAX));  // equality relies on the canonical form
    EXPECT_TRUE(same(Integer(UINT64_MAX), pow2(64) - 1));
    EXPECT_TRUE(Integer(std::uint64_t{INT64_MAX}).isSmall());
    EXPECT_TRUE(same(Integer::fromUnsigned(std::uint64_t{1} << 63), pow2(63)));
}

TEST(IntegerRepresentation, CopiesAndMovesOwnTheirValue) {
    Integer a = viaText(pow2(100) + 3);
    Integer b = a;
    b += 1;
    EXPECT_TRUE(same(a, pow2(100) + 3));
    EXPECT_TRUE(same(b, pow2(100) + 4));
    Integer c = std::move(b);
    EXPECT_TRUE(same(c, pow2(100) + 4));
    const Integer& alias = a;
    a = alias;  // self-assignment keeps the value
    EXPECT_TRUE(same(a, pow2(100) + 3));
    a = Integer(5);
    EXPECT_TRUE(same(a, 5));
    c = a;
    EXPECT_TRUE(same(c, 5));
    c *= viaText(pow2(80));
    c -= viaText(pow2(80));
    EXPECT_TRUE(same(c, 4 * pow2(80)));
}

TEST(IntegerText, RejectsMalformedText) {
    for (const char* bad : {"", "+", "-", "1a", " 1", "1 ", "--1", "+-1", "0x10", "1_000", "1.0", "\xd9\xa1"})
        EXPECT_FALSE(Integer::fromString(bad).has_value()) << '"' << bad << '"';
    // Embedded NUL is not a terminator.
    EXPECT_FALSE(Integer::fromString(std::string_view("12\0" "3", 4)).has_value());
    EXPECT_FALSE(Integer::fromString(std::string(30, '1') + "x").has_value());
}

TEST(IntegerText, AcceptsSignsAndLeadingZeros) {
    EXPECT_TRUE(same(*Integer::fromString("+0"), 0));
    EXPECT_TRUE(same(*Integer::fromString("-0"), 0));
    EXPECT_TRUE(same(*Integer::fromString("+007"), 7));
    EXPECT_TRUE(same(*Integer::fromString("-9223372036854775808"), -pow2(63)));
    EXPECT_TRUE(same(*Integer::fromString("9223372036854775808"), pow2(63)));
    EXPECT_TRUE(same(*Integer::fromString("-9223372036854775809"), -pow2(63) - 1));
    EXPECT_TRUE(same(*Integer::fromString("18446744073709551616"), pow2(64)));
    EXPECT_TRUE(same(*Integer::fromString(std::string(40, '0') + "42"), 42));
    EXPECT_TRUE(same(*Integer::fromString("-" + std::string(40, '0') + "9223372036854775808"), -pow2(63)));
    EXPECT_EQ(Integer(-5).toString(), "-5");
    EXPECT_EQ(Integer(INT64_MIN).toString(), "-9223372036854775808");
}

TEST(IntegerText, FromDigitsChecksItsInput) {
    EXPECT_TRUE(same(Integer::fromDigits("0"), 0));
    EXPECT_TRUE(same(Integer::fromDigits("999999999999999999"), mpz_class("999999999999999999")));
    EXPECT_TRUE(same(Integer::fromDigits("9223372036854775807"), pow2(63) - 1));
    EXPECT_TRUE(same(Integer::fromDigits("9223372036854775808"), pow2(63)));
    EXPECT_THROW(Integer::fromDigits(""), core::Error);
    EXPECT_THROW(Integer::fromDigits("12a"), core::Error);
    EXPECT_THROW(Integer::fromDigits("-1"), core::Error);
    EXPECT_THROW(Integer::fromDigits(std::string(25, '1') + " "), core::Error);
}

TEST(IntegerText, ThousandsOfDigitsRoundTrip) {
    std::mt19937_64 g(99);
    for (std::size_t len : {19u, 20u, 100u, 2500u, 9000u}) {
        std::string s(1, static_cast<char>('1' + g() % 9));
        while (s.size() < len) s += static_cast<char>('0' + g() % 10);
        for (const std::string& t : {s, "-" + s}) {
            const auto x = Integer::fromString(t);
            ASSERT_TRUE(x.has_value());
            EXPECT_EQ(x->toString(), t);
            EXPECT_TRUE(same(*x, mpz_class(t)));
            EXPECT_TRUE(same(*x * *x, mpz_class(t) * mpz_class(t)));
        }
        std::string out = "x=";
        Integer::fromDigits(s).appendTo(out);
        EXPECT_EQ(out, "x=" + s);
    }
}

TEST(IntegerPowers, MatchGmp) {
    for (unsigned n = 0; n <= 45; ++n) EXPECT_TRUE(same(Integer::pow10(n), mpz_class("1" + std::string(n, '0'))));
    for (const auto& mb : boundaries()) {
        if (abs(mb) > pow2(70)) continue;
        for (unsigned long e : {0ul, 1ul, 2ul, 3ul, 31ul, 62ul, 63ul, 64ul, 65ul, 130ul}) {
            mpz_class want;
            mpz_pow_ui(want.get_mpz_t(), mb.get_mpz_t(), e);
            EXPECT_TRUE(same(Integer::pow(viaText(mb), e), want)) << mb.get_str() << "^" << e;
        }
    }
    EXPECT_TRUE(same(Integer::pow(-2, 63), -pow2(63)));  // the one power of two that stays small
    EXPECT_TRUE(same(Integer::pow(-1, ULONG_MAX), -1));
    EXPECT_TRUE(same(Integer::pow(0, ULONG_MAX), 0));
    EXPECT_THROW(Integer::pow(2, ULONG_MAX), core::Error);
    EXPECT_THROW(Integer::pow10(UINT_MAX), core::Error);
}

TEST(IntegerConversion, ToDoubleRoundsToNearestEven) {
    gmp_randclass rnd(gmp_randinit_default);
    rnd.seed(5);
    std::mt19937_64 g(5);
    std::vector<mpz_class> xs = boundaries();
    // Exact halfway cases between neighbouring doubles above 2^64.
    xs.push_back(pow2(64) + pow2(11));
    xs.push_back(pow2(64) + 3 * pow2(11));
    xs.push_back(pow2(64) + pow2(11) + 1);
    for (int i = 0; i < 500; ++i) xs.push_back(randomValue(rnd, g, 1000));
    for (const auto& x : xs) {
        const double d = viaText(x).toDouble();
        ASSERT_TRUE(std::isfinite(d));
        auto dist = [&](double y) { return mpz_class(abs(x - mpz_class(y))); };
        const mpz_class e = dist(d), up = dist(std::nextafter(d, INFINITY)), down = dist(std::nextafter(d, -INFINITY));
        EXPECT_TRUE(e <= up && e <= down) << x.get_str();
        if (e != 0 && (e == up || e == down)) {
            int exp;
            const double mant = std::frexp(d, &exp);
            EXPECT_EQ(std::fmod(std::ldexp(mant, 53), 2.0), 0.0) << "tie not to even: " << x.get_str();
        }
    }
    EXPECT_EQ(viaText(pow2(1024)).toDouble(), INFINITY);
    EXPECT_EQ(viaText(-pow2(5000)).toDouble(), -INFINITY);
}

TEST(IntegerConversion, GmpInterop) {
    for (const auto& m : boundaries()) {
        const Integer x = core::fromMpzClass(m);
        EXPECT_TRUE(same(x, m));
        mpz_t out;
        mpz_init(out);
        core::toMpz(x, out);
        EXPECT_EQ(mpz_cmp(out, m.get_mpz_t()), 0);
        EXPECT_TRUE(same(core::fromMpz(out), m));
        mpz_clear(out);
        EXPECT_EQ(core::bigMpz(x) == nullptr, x.isSmall());
    }
}

namespace {

// Arbitrary Integers as decimal text (so that counterexamples print):
// machine-sized, near the 64-bit edges, or several limbs long.
rc::Gen<std::string> genValue() {
    return rc::gen::oneOf(
        rc::gen::map(rc::gen::arbitrary<std::int64_t>(), [](std::int64_t v) { return std::to_string(v); }),
        rc::gen::map(rc::gen::pair(rc::gen::inRange(-3, 4), rc::gen::element(-1, 1)),
                     [](std::pair<int, int> p) { return mpz_class(p.second * pow2(63) + p.first).get_str(); }),
        rc::gen::map(rc::gen::pair(rc::gen::container<std::vector<std::uint64_t>>(rc::gen::arbitrary<std::uint64_t>()),
                                   rc::gen::arbitrary<bool>()),
                     [](const std::pair<std::vector<std::uint64_t>, bool>& p) {
                         mpz_class r;
                         for (std::uint64_t limb : p.first) r = r * pow2(64) + mpz_class(static_cast<unsigned long>(limb));
                         if (p.second) r = -r;
                         return r.get_str();
                     }));
}

}  // namespace

RC_GTEST_PROP(IntegerLaws, OperationsAgreeWithGmp, ()) {
    const mpz_class ma(*genValue()), mb(*genValue());
    const Integer a = core::fromMpzClass(ma), b = core::fromMpzClass(mb);
    // Compared as text: RapidCheck prints the operands of a failed check.
    RC_ASSERT((a + b).toString() == mpz_class(ma + mb).get_str());
    RC_ASSERT((a * b).toString() == mpz_class(ma * mb).get_str());
    RC_ASSERT((a - b).toString() == mpz_class(ma - mb).get_str());
    RC_ASSERT(((a <=> b) < 0) == (ma < mb));
    if (mb != 0) {
        auto [q, r] = divMod(a, b);
        RC_ASSERT(q * b + r == a);
        RC_ASSERT(r.signum() == 0 || r.signum() == b.signum());
        RC_ASSERT(core::abs(r) < core::abs(b));
        RC_ASSERT(q.toString() == gmpOp(mpz_fdiv_q, ma, mb).get_str());
    }
}

RC_GTEST_PROP(IntegerLaws, TextRoundTrip, ()) {
    const Integer x = core::fromMpzClass(mpz_class(*genValue()));
    const auto back = Integer::fromString(x.toString());
    RC_ASSERT(back.has_value());
    RC_ASSERT(*back == x);
    RC_ASSERT(back->isSmall() == x.isSmall());
}
