// Bidirectional formats: what each combinator writes and reads, the
// whole-input rule with its two failure messages, and read-after-write
// round trips over random values.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>

#include "Core/Error.h"
#include "Data/Format.h"

using namespace kalmet;
using core::Int;
using core::Integer;
using core::Unit;

namespace {

template <class T>
std::string failure(const core::Either<std::string, T>& r) {
    return r ? std::string("<Right>") : r.left();
}

std::string raised(const std::function<void()>& f) {
    try {
        f();
    } catch (const core::Error& e) {
        return e.what();
    }
    return "<nothing raised>";
}

const Format<Int> int2 = integerFormat<Int>(NoSign, 2);

}  // namespace

TEST(NumberFormats, WriteSide) {
    EXPECT_EQ(formatShow(integerFormat<Int>(NegSign, 2), Int{-5}), "-05");
    EXPECT_EQ(formatShow(integerFormat<Int>(PosNegSign, 2), Int{5}), "+05");
    EXPECT_EQ(formatShow(integerFormat<Int>(PosNegSign, 2), Int{-5}), "-05");
    EXPECT_EQ(raised([] { formatShow(integerFormat<Int>(NoSign, 2), Int{-5}); }), "formatShow: bad value");
    EXPECT_EQ(formatShowM(integerFormat<Int>(NoSign, 2), Int{-5}), std::nullopt);
    EXPECT_EQ(formatShow(int2, Int{123}), "123");
    EXPECT_EQ(formatShow(integerFormat<Integer>(NegSign, std::nullopt), -Integer::pow10(25)),
              "-10000000000000000000000000");
    EXPECT_EQ(formatShow(integerFormat<Int>(NoSign, 0), Int{0}), "0");
    EXPECT_EQ(showNumber<Int>(NegSign, 4, INT64_MIN), "-9223372036854775808");
    const auto dec = decimalFormat<Pico>(NoSign, 2);
    EXPECT_EQ(formatShow(dec, Pico::fromPicoseconds(Integer(5'500'000'000'000))), "05.5");
    EXPECT_EQ(formatShow(dec, Pico::fromSeconds(5)), "05");
    EXPECT_EQ(formatShow(decimalFormat<Pico>(NegSign, 3), Pico::fromPicoseconds(Integer(-50'000'000'000))), "-000.05");
    EXPECT_EQ(trimTrailing(".500"), ".5");
    EXPECT_EQ(trimTrailing(".000"), "");
    EXPECT_EQ(trimTrailing(".05"), ".05");
    EXPECT_EQ(trimTrailing("."), "");
    EXPECT_EQ(trimTrailing(""), "");
    EXPECT_EQ(trimTrailing("100"), "1");
}

TEST(NumberFormats, ReadSideAndTheWholeInputRule) {
    EXPECT_EQ(failure(formatParseM(int2, "123")), "no parse of \"123\"");
    EXPECT_EQ(formatParseM(int2, "07"), (core::Either<std::string, Int>(core::Right(Int{7}))));
    EXPECT_EQ(formatParseM<std::optional<Int>>(int2, "7"), std::nullopt);
    EXPECT_EQ(formatParseM<std::optional<Int>>(int2, "07"), std::optional<Int>(7));
    const auto dec = decimalFormat<Pico>(NoSign, 2);
    EXPECT_EQ(*formatParseM(dec, "05,5"), Pico::fromPicoseconds(Integer(5'500'000'000'000)));
    EXPECT_EQ(*formatParseM(dec, "05.5"), *formatParseM(dec, "05,5"));
    EXPECT_EQ(failure(formatParseM(dec, "05.")), "no parse of \"05.\"");
    const auto any = integerFormat<Int>(NoSign, std::nullopt);
    EXPECT_EQ(failure(formatParseM(pPair(any, any), "123")), "multiple parses of \"123\"");
    EXPECT_EQ(*formatParseM(pPair(any, int2), "12345"), (std::pair<Int, Int>{123, 45}));
    // Signs: NegSign reads with and without "-", PosNegSign needs one.
    EXPECT_EQ(*formatParseM(integerFormat<Int>(NegSign, 2), "-05"), -5);
    EXPECT_EQ(*formatParseM(integerFormat<Int>(NegSign, 2), "05"), 5);
    EXPECT_EQ(failure(formatParseM(integerFormat<Int>(PosNegSign, 2), "05")), "no parse of \"05\"");
    EXPECT_EQ(*formatParseM(integerFormat<Int>(PosNegSign, 2), "+05"), 5);
    // Only ASCII digits; the message quotes the input as a string literal.
    EXPECT_EQ(failure(formatParseM(any, "\xd9\xa3")), "no parse of \"\\1635\"");
    EXPECT_EQ(failure(formatParseM(any, "1\n\"")), "no parse of \"1\\n\\\"\"");
    // An integer type rejects a fraction with its reader's error.
    EXPECT_EQ(raised([] { (void)formatParseM(decimalFormat<Int>(NoSign, std::nullopt), "1.5"); }), "no parse");
    EXPECT_EQ(*formatParseM(decimalFormat<double>(NegSign, std::nullopt), "-2,25"), -2.25);
    // Digits too many for the type: its reader rejects them, and so does the
    // format (they used to wrap to an unrelated number that did not write
    // back as read).
    EXPECT_EQ(*formatParseM(any, "9223372036854775807"), Int{9223372036854775807});
    EXPECT_EQ(*formatParseM(any, "0009223372036854775807"), Int{9223372036854775807});
    EXPECT_EQ(raised([&] { (void)formatParseM(any, "9223372036854775808"); }), "no parse");
    EXPECT_EQ(raised([] { (void)formatParseM(integerFormat<std::int8_t>(NegSign, std::nullopt), "-300"); }),
              "no parse");
    EXPECT_EQ(*formatParseM(integerFormat<Integer>(NoSign, std::nullopt), "99999999999999999999"),
              Integer::fromDigits("99999999999999999999"));
}

TEST(Combinators, LiteralsCasesAndSpecialCases) {
    const auto lit = literalFormat("ab");
    EXPECT_EQ(formatShow(lit, Unit{}), "ab");
    EXPECT_TRUE(formatParseM(lit, "ab"));
    EXPECT_EQ(failure(formatParseM(lit, "a")), "no parse of \"a\"");
    EXPECT_TRUE(formatParseM(literalFormat(""), ""));

    const auto none = casesFormat<Int>({});
    EXPECT_EQ(formatShowM(none, Int{0}), std::nullopt);
    EXPECT_EQ(failure(formatParseM(none, "")), "no parse of \"\"");
    // Committed choice in list order: "a" wins over "ab", so "ab" fails.
    const auto cases = casesFormat<Int>({{1, "a"}, {2, "ab"}, {3, "b"}, {1, "x"}});
    EXPECT_EQ(formatShow(cases, Int{1}), "a");
    EXPECT_EQ(*formatParseM(cases, "x"), 1);
    EXPECT_EQ(failure(formatParseM(cases, "ab")), "no parse of \"ab\"");
    EXPECT_EQ(formatShowM(cases, Int{4}), std::nullopt);

    const auto opt = optionalFormat(Int{0}, integerFormat<Int>(NoSign, std::nullopt));
    EXPECT_EQ(formatShow(opt, Int{0}), "");
    EXPECT_EQ(*formatParseM(opt, ""), 0);
    EXPECT_EQ(formatShow(opt, Int{7}), "7");
    EXPECT_EQ(*formatParseM(opt, "7"), 7);
    // Symmetric choice: "0" reads both through the special case "0" and f.
    const auto special = specialCaseFormat<Int>({0, "0"}, int2);
    EXPECT_EQ(formatShow(special, Int{0}), "0");
    EXPECT_EQ(*formatParseM(special, "0"), 0);
    EXPECT_EQ(*formatParseM(special, "00"), 0);
    const auto showOnly = specialCaseShowFormat<Int>({0, "none"}, int2);
    EXPECT_EQ(formatShow(showOnly, Int{0}), "none");
    EXPECT_EQ(failure(formatParseM(showOnly, "none")), "no parse of \"none\"");
}

TEST(Combinators, Signs) {
    const auto m = mandatorySignFormat<Int>();
    EXPECT_EQ(formatShow(m, Int{0}), "+");
    EXPECT_EQ(formatShow(m, Int{1}), "+");
    EXPECT_EQ(formatShow(m, Int{-1}), "-");
    EXPECT_EQ(formatShowM(m, Int{2}), std::nullopt);
    EXPECT_EQ(*formatParseM(m, "+"), 1);
    EXPECT_EQ(*formatParseM(m, "-"), -1);
    EXPECT_FALSE(formatParseM(m, ""));
    const auto o = optionalSignFormat<Int>();
    EXPECT_EQ(formatShow(o, Int{1}), "");
    EXPECT_EQ(formatShow(o, Int{0}), "");
    EXPECT_EQ(formatShow(o, Int{-1}), "-");
    EXPECT_EQ(*formatParseM(o, ""), 1);
    EXPECT_EQ(*formatParseM(o, "+"), 1);
    EXPECT_EQ(*formatParseM(o, "-"), -1);
    // Committed: after a sign the empty sign is not tried.
    const auto signed2 = pPair(o, int2);
    EXPECT_EQ(*formatParseM(signed2, "-07"), (std::pair<Int, Int>{-1, 7}));
}

TEST(Combinators, MappingFilteringAndSums) {
    const auto month = clipFormat<Int>({1, 12}, int2);
    EXPECT_EQ(formatShow(month, Int{12}), "12");
    EXPECT_EQ(formatShowM(month, Int{13}), std::nullopt);
    EXPECT_EQ(failure(formatParseM(month, "13")), "no parse of \"13\"");
    EXPECT_EQ(*formatParseM(month, "01"), 1);

    const auto even = filterFormat([](const Int& x) { return x % 2 == 0; }, int2);
    EXPECT_EQ(formatShowM(even, Int{3}), std::nullopt);
    EXPECT_FALSE(formatParseM(even, "03"));

    const auto doubled = isoMap([](const Int& x) { return x * 2; }, [](const Int& y) { return y / 2; }, int2);
    EXPECT_EQ(formatShow(doubled, Int{14}), "07");
    EXPECT_EQ(*formatParseM(doubled, "07"), 14);

    // Written only for values that have a half; read values mapped back.
    const auto halves = mapMFormat(
        [](const Int& x) { return x < 50 ? std::optional<Int>(x * 2) : std::nullopt; },
        [](const Int& y) { return y % 2 == 0 ? std::optional<Int>(y / 2) : std::nullopt; }, int2);
    EXPECT_EQ(formatShow(halves, Int{14}), "07");
    EXPECT_EQ(formatShowM(halves, Int{15}), std::nullopt);
    EXPECT_EQ(*formatParseM(halves, "07"), 14);
    EXPECT_FALSE(formatParseM(halves, "60"));

    enum class Colour { Red, Green, Blue };
    (void)Colour::Green;
    const auto ordering = enumMap<core::Ordering>(integerFormat<Int>(NoSign, 1));
    EXPECT_EQ(formatShow(ordering, core::Ordering::GT), "2");
    EXPECT_EQ(*formatParseM(ordering, "0"), core::Ordering::LT);

    const auto either = pEither(literalFormat("x"), int2);
    using E = core::Either<Unit, Int>;
    EXPECT_EQ(formatShow(either, E(core::Left(Unit{}))), "x");
    EXPECT_EQ(formatShow(either, E(core::Right(Int{4}))), "04");
    EXPECT_EQ(*formatParseM(either, "04"), E(core::Right(Int{4})));
    EXPECT_EQ(*formatParseM(either, "x"), E(core::Left(Unit{})));
    // Symmetric choice: both sides reading the same text is ambiguous.
    EXPECT_EQ(failure(formatParseM(pEither(int2, int2), "04")), "multiple parses of \"04\"");
    EXPECT_FALSE(formatParseM(pVoid(), ""));
    EXPECT_FALSE(formatParseM(pEither(pVoid(), int2), "")) ;
    EXPECT_EQ(*formatParseM(pEither(pVoid(), int2), "05"), (core::Either<core::Void, Int>(core::Right(Int{5}))));

    const auto unit = pUnit();
    EXPECT_EQ(formatShow(unit, Unit{}), "");
    EXPECT_TRUE(formatParseM(unit, ""));
    const auto bracketed = pLeft(pRight(literalFormat("["), int2), literalFormat("]"));
    EXPECT_EQ(formatShow(bracketed, Int{3}), "[03]");
    EXPECT_EQ(*formatParseM(bracketed, "[42]"), 42);
    // The defaults of the interface give the same formats.
    const auto viaDefaults = ProductishDefaults<FormatK, Productish<FormatK>>::pLeft(
        ProductishDefaults<FormatK, Productish<FormatK>>::pRight(literalFormat("["), int2), literalFormat("]"));
    EXPECT_EQ(formatShow(viaDefaults, Int{3}), "[03]");
    EXPECT_EQ(*formatParseM(viaDefaults, "[42]"), 42);
}

// ---------------------------------------------------------- round trips

namespace {
// A digit count that reads back: with a count, exactly that many digits
// are read, so it must not be below the digits written. None or at least
// `digits` (the number of digits of the integer part).
std::optional<Int> countFor(std::size_t digits, std::uint8_t w) {
    if (w % 3 == 0) return std::nullopt;
    return static_cast<Int>(digits) + w % 4;
}
std::size_t digitsOf(const Integer& x) { return (x.signum() < 0 ? -x : x).toString().size(); }

template <class T>
void roundTrips(const Format<T>& f, const T& x) {
    const auto text = formatShowM(f, x);
    RC_ASSERT(text.has_value());
    const auto back = formatParseM(f, *text);
    if (!back) RC_FAIL(back.left());
    RC_ASSERT(*back == x);
}
}  // namespace

RC_GTEST_PROP(FormatRoundTrip, Integers, (Int x, std::uint8_t w)) {
    RC_PRE(x != INT64_MIN);  // its negation is not an Int
    const std::optional<Int> width = countFor(digitsOf(Integer(x)), w);
    roundTrips(integerFormat<Int>(NegSign, width), x);
    roundTrips(integerFormat<Int>(PosNegSign, width), x);
    if (x >= 0) roundTrips(integerFormat<Int>(NoSign, width), x);
    const Integer cube = Integer(x) * Integer(x) * Integer(x);
    roundTrips(integerFormat<Integer>(NegSign, countFor(digitsOf(cube), w)), cube);
}

RC_GTEST_PROP(FormatRoundTrip, Decimals, (Int ps, std::uint8_t w)) {
    const Pico p = Pico::fromPicoseconds(Integer(ps));
    const std::optional<Int> width = countFor(digitsOf(core::quot(Integer(ps), Integer(1'000'000'000'000))), w);
    roundTrips(decimalFormat<Pico>(NegSign, width), p);
    roundTrips(decimalFormat<Pico>(PosNegSign, width), p);
}

RC_GTEST_PROP(FormatRoundTrip, ProductsSumsCasesAndSigns, (Int y, std::uint8_t m, bool left, std::int8_t s)) {
    const auto ym = pPair(pLeft(integerFormat<Int>(NegSign, 4), literalFormat("-")), int2);
    roundTrips(ym, std::pair<Int, Int>{y % 10000, m % 100});
    const auto sum = pEither(pRight(literalFormat("L"), integerFormat<Int>(NegSign, std::nullopt)),
                             pRight(literalFormat("R"), int2));
    using E = core::Either<Int, Int>;
    roundTrips(sum, left ? E(core::Left(y)) : E(core::Right(Int{m % 100})));
    const auto cases = casesFormat<Int>({{0, "zero"}, {1, "one"}, {2, "two"}});
    roundTrips(cases, Int{m % 3});
    const Int sign = s < 0 ? -1 : 1;
    roundTrips(mandatorySignFormat<Int>(), sign);
    roundTrips(optionalSignFormat<Int>(), sign);
    roundTrips(pPair(optionalSignFormat<Int>(), int2), std::pair<Int, Int>{sign, m % 100});
    roundTrips(pRight(literalFormat(std::string(m % 4, '#')), int2), Int{m % 100});
}
