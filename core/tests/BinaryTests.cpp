#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Core/Binary.h"

using core::Either;
using core::Int;
using core::Integer;
using core::List;
using core::NonEmpty;
using core::Text;
using core::Unit;

namespace {

std::string bytes(std::initializer_list<int> bs) {
    std::string s;
    for (int b : bs) s.push_back(static_cast<char>(b));
    return s;
}
// An Int as its 8 bytes.
std::string int8(Int v) {
    core::Encoder e;
    e.putInt(v);
    return e.take();
}

template <class T>
std::string failureOf(std::string_view input) {
    auto r = core::decode<T>(input);
    return r ? std::string("(decoded)") : r.error();
}

// Encodes x and checks the whole contract on the bytes: they decode to an
// equal value that re-encodes to the same bytes, every proper prefix fails
// with "Not enough bytes", and an extra byte fails as trailing input.
template <class T, class Eq = std::equal_to<>>
void checkRoundTrip(const T& x, Eq eq = {}) {
    const std::string enc = core::encode(x);
    auto back = core::decode<T>(enc);
    RC_ASSERT(back.has_value());
    RC_ASSERT(eq(*back, x));
    RC_ASSERT(core::encode(*back) == enc);
    for (std::size_t k = 0; k < enc.size(); ++k) {
        auto r = core::decode<T>(std::string_view(enc).substr(0, k));
        RC_ASSERT(!r.has_value());
        RC_ASSERT(r.error() == std::string("Not enough bytes"));
    }
    auto extra = core::decode<T>(enc + 'x');
    RC_ASSERT(!extra.has_value());
    RC_ASSERT(extra.error() == std::string("Not all input consumed"));
}

// Random values of the shared types.
core::Char anyChar() {
    return *rc::gen::oneOf(rc::gen::inRange<core::Char>(0, 0x80), rc::gen::inRange<core::Char>(0x80, 0xD800),
                           rc::gen::inRange<core::Char>(0xE000, 0x110000));
}
Text anyText() {
    const auto n = *rc::gen::inRange(0, 12);
    core::Builder b;
    for (int i = 0; i < n; ++i) b.appendChar(anyChar());
    return b.build();
}
// Small Ints, values at the edges of the Int range, and multi-limb values
// of either sign.
Integer anyInteger() {
    switch (*rc::gen::inRange(0, 3)) {
        case 0:
            return Integer(*rc::gen::arbitrary<Int>());
        case 1: {
            const Int edge = *rc::gen::element(INT64_MIN, INT64_MAX);
            return Integer(edge) + Integer(*rc::gen::inRange<Int>(-3, 4));
        }
        default: {
            Integer x = Integer::fromUnsigned(*rc::gen::arbitrary<std::uint64_t>());
            const int limbs = *rc::gen::inRange(0, 4);
            for (int i = 0; i < limbs; ++i)
                x = x * Integer::pow(Integer(2), 64) + Integer::fromUnsigned(*rc::gen::arbitrary<std::uint64_t>());
            return *rc::gen::arbitrary<bool>() ? -x : x;
        }
    }
}
template <class A, class F>
std::vector<A> vectorOf(F any, int maxLen = 6) {
    const auto n = *rc::gen::inRange(0, maxLen);
    std::vector<A> v;
    for (int i = 0; i < n; ++i) v.push_back(any());
    return v;
}

}  // namespace

TEST(Binary, KnownEncodings) {
    EXPECT_EQ(core::encode(Int{1}), bytes({0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(core::encode(Int{-1}), std::string(8, '\xFF'));
    EXPECT_EQ(core::encode(Int{0x0102030405060708}), bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(core::encode(INT64_MIN), bytes({0x80, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(core::encode(std::int16_t{-2}), bytes({0xFF, 0xFE}));
    EXPECT_EQ(core::encode(std::uint32_t{0xA0B0C0D0}), bytes({0xA0, 0xB0, 0xC0, 0xD0}));
    EXPECT_EQ(core::encode(true), bytes({1}));
    EXPECT_EQ(core::encode(U'\u00e9'), "\xC3\xA9");
    EXPECT_EQ(core::encode(U'\U0001F600'), "\xF0\x9F\x98\x80");
    EXPECT_EQ(core::encode(core::Char{0xD800}), "\xEF\xBF\xBD");  // not a scalar value: U+FFFD
    EXPECT_EQ(core::encode(1.0), bytes({0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(core::encode(core::GT), bytes({2}));
    EXPECT_EQ(core::encode(core::unit), "");
    // Lists: the count as an Int, then the elements.
    EXPECT_EQ(core::encode(List<Int>{1, 2}), int8(2) + int8(1) + int8(2));
    EXPECT_EQ(core::encode(std::vector<Int>{}), int8(0));
    EXPECT_EQ(core::encode(NonEmpty<bool>(true, {false})), int8(2) + bytes({1, 0}));
    EXPECT_EQ(core::encode(Text("ab")), int8(2) + "ab");
    EXPECT_EQ(core::encode(Text("\xC3\xA9")), int8(2) + "\xC3\xA9");  // length in bytes
    EXPECT_EQ(core::encode(std::string("ab")), core::encode(Text("ab")));
    EXPECT_EQ(core::encode(std::optional<Int>()), bytes({0}));
    EXPECT_EQ(core::encode(std::optional<bool>(false)), bytes({1, 0}));
    EXPECT_EQ((core::encode(Either<bool, Int>(core::Left(true)))), bytes({0, 1}));
    EXPECT_EQ((core::encode(Either<bool, Int>(core::Right(Int{3})))), bytes({1}) + int8(3));
    EXPECT_EQ((core::encode(std::pair<bool, Int>(true, 3))), bytes({1}) + int8(3));
    EXPECT_EQ((core::encode(std::tuple<bool, Unit, bool>(true, core::unit, false))), bytes({1, 0}));
}

TEST(Binary, IntegersUseTheIntFormWhenTheyFit) {
    EXPECT_EQ(core::encode(Integer(-5)), bytes({0}) + int8(-5));
    EXPECT_EQ(core::encode(Integer(INT64_MIN)), bytes({0}) + int8(INT64_MIN));
    // 2^63: tag 1, sign 0, 8 magnitude bytes 80 00 .. 00.
    EXPECT_EQ(core::encode(Integer(INT64_MAX) + 1), bytes({1, 0}) + int8(8) + bytes({0x80, 0, 0, 0, 0, 0, 0, 0}));
    // -(2^64): tag 1, sign 1, 9 bytes 01 00 .. 00.
    EXPECT_EQ(core::encode(-Integer::pow(Integer(2), 64)), bytes({1, 1}) + int8(9) + "\x01" + std::string(8, '\0'));
    EXPECT_EQ(core::encode(core::Rational(Integer(2), Integer(-4))), core::encode(Integer(-1)) + core::encode(Integer(2)));
}

TEST(Binary, MalformedInputFailsWithAMessage) {
    EXPECT_EQ(failureOf<bool>(bytes({2})), "Invalid Bool value");
    EXPECT_EQ(failureOf<core::Ordering>(bytes({3})), "Invalid Ordering value");
    EXPECT_EQ(failureOf<std::optional<Int>>(bytes({2})), "Invalid Maybe tag");
    EXPECT_EQ((failureOf<Either<Int, Int>>(bytes({0xFF}))), "Invalid Either tag");
    EXPECT_EQ(failureOf<core::Void>(""), "Void has no values");
    EXPECT_EQ(failureOf<List<core::Void>>(int8(1)), "Not enough bytes");
    EXPECT_EQ(failureOf<List<core::Void>>(int8(0)), "(decoded)");
    // Integers: bad tag, bad sign, and every non-canonical big form.
    EXPECT_EQ(failureOf<Integer>(bytes({2})), "Invalid Integer tag");
    EXPECT_EQ(failureOf<Integer>(bytes({1, 2}) + int8(8) + std::string(8, '\x7F')), "Invalid Integer sign");
    EXPECT_EQ(failureOf<Integer>(bytes({1, 0}) + int8(0)), "Non-canonical Integer");
    EXPECT_EQ(failureOf<Integer>(bytes({1, 0}) + int8(1) + "\x05"), "Non-canonical Integer");
    EXPECT_EQ(failureOf<Integer>(bytes({1, 0}) + int8(9) + std::string(1, '\0') + std::string(8, '\xFF')),
              "Non-canonical Integer");  // leading zero byte
    EXPECT_EQ(failureOf<Integer>(bytes({1, 1}) + int8(8) + "\x80" + std::string(7, '\0')),
              "Non-canonical Integer");  // -2^63 fits an Int
    EXPECT_EQ(failureOf<Integer>(bytes({1, 0}) + int8(-1)), "Negative length");
    EXPECT_EQ(failureOf<Integer>(bytes({1, 0}) + int8(INT64_MAX)), "Not enough bytes");
    // Rationals: only positive denominators in lowest terms.
    const auto I = [](Int v) { return core::encode(Integer(v)); };
    EXPECT_EQ(failureOf<core::Rational>(I(1) + I(0)), "Invalid Rational");
    EXPECT_EQ(failureOf<core::Rational>(I(1) + I(-2)), "Invalid Rational");
    EXPECT_EQ(failureOf<core::Rational>(I(2) + I(4)), "Invalid Rational");
    EXPECT_EQ(failureOf<core::Rational>(I(0) + I(2)), "Invalid Rational");
    EXPECT_TRUE(core::decode<core::Rational>(I(0) + I(1)).has_value());
    // Text: invalid UTF-8 of every kind; std::string takes any bytes.
    for (std::string bad : {"\xFF", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\x80"}) {
        const std::string enc = int8(static_cast<Int>(bad.size())) + bad;
        EXPECT_EQ(failureOf<Text>(enc), "Invalid UTF-8 in Text") << bad;
        EXPECT_EQ(core::decode<std::string>(enc).value(), bad);
    }
    // Char: bad lead or continuation bytes, overlong and surrogate forms.
    for (std::string bad : {"\x80", "\xFF", "\xC3\x41", "\xC0\xAF", "\xED\xA0\x80", "\xF5\x80\x80\x80"})
        EXPECT_EQ(failureOf<core::Char>(bad), "Invalid Char") << bad;
    EXPECT_EQ(failureOf<core::Char>("\xF0\x9F\x98"), "Not enough bytes");
    // NonEmpty needs at least one element.
    EXPECT_EQ(failureOf<NonEmpty<Int>>(int8(0)), "Empty NonEmpty");
    // The first failure inside a structure is the one reported.
    EXPECT_EQ((failureOf<std::tuple<bool, bool, std::optional<bool>>>(bytes({1, 0, 7}))), "Invalid Maybe tag");
    EXPECT_EQ(failureOf<List<bool>>(int8(3) + bytes({1, 2, 0})), "Invalid Bool value");
}

TEST(Binary, CountsAreCheckedBeforeAnythingIsAllocated) {
    // Negative and absurd counts fail at once, without reserving memory.
    EXPECT_EQ(failureOf<List<Int>>(int8(-1)), "Negative length");
    EXPECT_EQ(failureOf<std::vector<Int>>(int8(INT64_MIN)), "Negative length");
    EXPECT_EQ(failureOf<std::vector<Int>>(int8(INT64_MAX)), "Not enough bytes");
    EXPECT_EQ(failureOf<Text>(int8(INT64_MAX) + "abc"), "Not enough bytes");
    EXPECT_EQ(failureOf<std::string>(int8(1) + ""), "Not enough bytes");
    EXPECT_EQ(failureOf<NonEmpty<Text>>(int8(Int{1} << 40)), "Not enough bytes");
    // Elements that encode to nothing: any count up to the decoder's
    // allowance, summed over the whole input.
    auto units = core::decode<std::vector<Unit>>(int8(1000));
    ASSERT_TRUE(units.has_value());
    EXPECT_EQ(units->size(), 1000u);
    EXPECT_EQ(failureOf<List<Unit>>(int8(INT64_MAX)), "Too many empty elements");
    EXPECT_EQ((failureOf<std::vector<std::pair<Unit, std::tuple<>>>>(int8(Int{1} << 40))), "Too many empty elements");
    // Many lists of units cannot add up to more than the allowance either.
    const Int half = static_cast<Int>(core::Decoder::maxEmptyElements / 2);
    EXPECT_TRUE(core::decode<std::vector<std::vector<Unit>>>(int8(2) + int8(half) + int8(half)).has_value());
    EXPECT_EQ(failureOf<std::vector<std::vector<Unit>>>(int8(3) + int8(half) + int8(half) + int8(1)),
              "Too many empty elements");
    // A list of a type that takes bytes may not claim more elements than
    // there are bytes, even nested.
    EXPECT_EQ(failureOf<std::vector<std::optional<Unit>>>(int8(3) + bytes({0, 1})), "Not enough bytes");
}

TEST(Binary, DecoderReadsWithinItsSpan) {
    const std::vector<std::uint8_t> buf{0, 0, 0, 0, 0, 0, 0, 42, 9};
    core::Decoder d{std::span<const std::uint8_t>(buf)};
    EXPECT_EQ(*d.getInt(), 42);
    EXPECT_EQ(d.position(), 8u);
    EXPECT_FALSE(d.getBytes(2).has_value());  // a failed read does not move
    EXPECT_EQ(d.remaining(), 1u);
    EXPECT_EQ(*d.getByte(), 9);
    EXPECT_TRUE(d.atEnd());
    EXPECT_FALSE(d.getByte().has_value());
    EXPECT_EQ(core::decode<Int>(std::span<const std::uint8_t>(buf.data(), 8)).value(), 42);
    EXPECT_EQ(core::decode<Unit>("").has_value(), true);
    // get reads one value and leaves the rest for the next.
    const std::string two = core::encode(Text("x")) + core::encode(Int{5});
    core::Decoder d2(two);
    EXPECT_EQ(core::get<Text>(d2).value(), Text("x"));
    EXPECT_EQ(core::get<Int>(d2).value(), 5);
    EXPECT_TRUE(d2.atEnd());
    static_assert(core::BinaryType<std::tuple<Integer, List<std::optional<Text>>, Either<core::Rational, Unit>>>);
    static_assert(!core::BinaryType<std::vector<long double>>);
}

// Round trips for every implementation, with every proper prefix failing.
RC_GTEST_PROP(Binary, IntegralTypesRoundTrip, ()) {
    checkRoundTrip(*rc::gen::arbitrary<Int>());
    checkRoundTrip(*rc::gen::arbitrary<std::int8_t>());
    checkRoundTrip(*rc::gen::arbitrary<std::uint16_t>());
    checkRoundTrip(*rc::gen::arbitrary<std::int32_t>());
    checkRoundTrip(*rc::gen::arbitrary<std::uint64_t>());
    checkRoundTrip(*rc::gen::arbitrary<char>());
    checkRoundTrip(*rc::gen::arbitrary<bool>());
    checkRoundTrip(*rc::gen::element(core::LT, core::EQ, core::GT));
    checkRoundTrip(core::unit);
}

RC_GTEST_PROP(Binary, FloatingPointRoundTripsBitForBit, (std::uint64_t bits, std::uint32_t bits32)) {
    const auto sameBits = [](auto a, auto b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    checkRoundTrip(std::bit_cast<double>(bits), sameBits);
    checkRoundTrip(std::bit_cast<float>(bits32), sameBits);
}

RC_GTEST_PROP(Binary, CharsTextsAndStringsRoundTrip, (const std::string& anyBytes)) {
    checkRoundTrip(anyChar());
    checkRoundTrip(anyText());
    checkRoundTrip(anyBytes);  // any bytes at all, valid UTF-8 or not
    const Text t = anyText();
    RC_ASSERT(core::decode<std::string>(core::encode(t)).value() == t.str());
}

RC_GTEST_PROP(Binary, IntegersAndRationalsRoundTrip, ()) {
    checkRoundTrip(anyInteger());
    Integer d = anyInteger();
    if (d == Integer(0)) d = Integer(1);
    checkRoundTrip(core::Rational(anyInteger(), d));
}

RC_GTEST_PROP(Binary, ContainersRoundTrip, ()) {
    const auto ints = vectorOf<Int>([] { return *rc::gen::arbitrary<Int>(); });
    checkRoundTrip(ints);
    checkRoundTrip(List<Int>(ints));
    checkRoundTrip(NonEmpty<Int>(*rc::gen::arbitrary<Int>(), List<Int>(ints)));
    checkRoundTrip(List<Text>(vectorOf<Text>(anyText)));
    checkRoundTrip(vectorOf<Unit>([] { return core::unit; }));
    checkRoundTrip(std::vector<bool>(*rc::gen::container<std::vector<bool>>(rc::gen::arbitrary<bool>())));
    const auto nested = vectorOf<std::vector<Integer>>([] { return vectorOf<Integer>(anyInteger, 3); }, 4);
    checkRoundTrip(List<std::vector<Integer>>(nested));
}

RC_GTEST_PROP(Binary, OptionalsEithersPairsAndTuplesRoundTrip, ()) {
    const bool b = *rc::gen::arbitrary<bool>();
    checkRoundTrip(b ? std::optional<Text>(anyText()) : std::nullopt);
    using E = Either<Text, std::optional<Int>>;
    checkRoundTrip(b ? E(core::Left(anyText())) : E(core::Right(std::optional<Int>(*rc::gen::arbitrary<Int>()))));
    checkRoundTrip(Either<Int, Int>(core::Right(*rc::gen::arbitrary<Int>())));
    checkRoundTrip(std::pair<Integer, Text>(anyInteger(), anyText()));
    checkRoundTrip(std::tuple<>());
    checkRoundTrip(std::tuple<bool, Unit, core::Char, std::optional<Integer>>(b, core::unit, anyChar(),
                                                                                std::optional<Integer>(anyInteger())));
}
