#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Core/Hashable.h"

using core::Either;
using core::hash;
using core::hashInt;
using core::Int;
using core::Integer;
using core::List;
using core::NonEmpty;
using core::Text;

namespace {
constexpr std::uint64_t S = core::defaultSalt;
constexpr std::uint64_t P = core::hashPrime;

// A random valid Unicode scalar value, biased towards ASCII.
rc::Gen<core::Char> genChar() {
    return rc::gen::oneOf(rc::gen::inRange<core::Char>(0x20, 0x7F), rc::gen::inRange<core::Char>(0x80, 0xD800),
                          rc::gen::inRange<core::Char>(0xE000, 0x110000));
}
std::string utf8Of(const std::vector<core::Char>& cs) {
    std::string s;
    for (core::Char c : cs) core::utf8::append(s, c);
    return s;
}
}  // namespace

// The Int rule step by step. Multiplying the default salt by the prime
// four times gives
//   S*P      = 0xAF63BD4C8601B7DF
//   S*P^2    = 0x08328807B4EB6FED
//   S*P^3    = 0xD94D12186C0F2FB7
//   S*P^4    = 0x4D25767F9DCE13F5
// and for an Int whose top three chunks are zero, only the last xor shows.
TEST(Hashable, IntsFollowTheChunkRule) {
    EXPECT_EQ(S * P, 0xAF63BD4C8601B7DFULL);
    EXPECT_EQ(S * P * P * P * P, 0x4D25767F9DCE13F5ULL);
    EXPECT_EQ(hash(Int{0}), 0x4D25767F9DCE13F5ULL);  // S*P^4 ^ 0
    EXPECT_EQ(hash(Int{1}), 0x4D25767F9DCE13F4ULL);  // S*P^4 ^ 1
    // -1: every chunk is 0xFFFF: ((((S*P)^F)*P^F)*P^F)*P^F.
    std::uint64_t s = S;
    for (int i = 0; i < 4; ++i) s = (s * P) ^ 0xFFFF;
    EXPECT_EQ(s, 0xF9836E5B0BBD3129ULL);
    EXPECT_EQ(hash(Int{-1}), 0xF9836E5B0BBD3129ULL);
    // 2^63-1: chunks 7FFF FFFF FFFF FFFF.
    EXPECT_EQ(hash(INT64_MAX), 0x1C0370D1EC89B129ULL);
    // -2^63: chunks 8000 0000 0000 0000.
    EXPECT_EQ(hash(INT64_MIN), 0x8FA5740B9E7893F5ULL);
    // A salt other than the default.
    EXPECT_EQ(core::hashWithSalt(0, Int{7}), 7u);
    EXPECT_EQ(core::hashWithSalt(1, Int{0}), P * P * P * P);
}

TEST(Hashable, AlternativeIndexEqualsIntForSmallIndices) {
    for (std::uint64_t salt : {S, std::uint64_t{0}, std::uint64_t{1}, ~std::uint64_t{0}, std::uint64_t{0x123456789ABCDEF}})
        for (Int i = 0; i <= 65535; ++i) ASSERT_EQ(core::hashIndex(salt, static_cast<std::uint64_t>(i)), hashInt(salt, i));
    // Beyond 65535 the two differ: the index is no longer a single chunk.
    EXPECT_NE(core::hashIndex(S, 65536), hashInt(S, 65536));
}

TEST(Hashable, OtherIntegralTypesBoolCharAndEnumsHashAsInts) {
    EXPECT_EQ(hash(true), 0x4D25767F9DCE13F4ULL);  // the Int 1
    EXPECT_EQ(hash(false), hash(Int{0}));
    EXPECT_EQ(hash(static_cast<std::uint8_t>(200)), hash(Int{200}));
    EXPECT_EQ(hash(static_cast<short>(-5)), hash(Int{-5}));
    EXPECT_EQ(hash(U'é'), hash(Int{0xE9}));
    EXPECT_EQ(hash(std::uint64_t{INT64_MAX}), hash(INT64_MAX));
    EXPECT_EQ(hash(core::GT), hash(Int{2}));
    EXPECT_EQ(hash(core::unit), hash(Int{0}));
    // Unsigned values above the Int range hash as the Integer of the value.
    EXPECT_EQ(hash(UINT64_MAX), hash(Integer::fromUnsigned(UINT64_MAX)));
    EXPECT_EQ(hash(std::uint64_t{1} << 63), hash(Integer::fromUnsigned(std::uint64_t{1} << 63)));
}

TEST(Hashable, IntegersBeyondIntMixSignLimbsAndCount) {
    EXPECT_EQ(hash(Integer(42)), hash(Int{42}));
    EXPECT_EQ(hash(Integer(INT64_MIN)), hash(INT64_MIN));
    // 2^64: sign 1, limbs [0, 1] (least significant first), count 2.
    const Integer two64 = *Integer::fromString("18446744073709551616");
    EXPECT_EQ(hash(two64), hashInt(hashInt(hashInt(hashInt(S, 1), 0), 1), 2));
    EXPECT_EQ(hash(two64), 0x32D748215C66E847ULL);
    EXPECT_EQ(hash(-two64), 0xB48E35A2235838CAULL);  // sign -1, same limbs
    // 2^63 is one limb 0x8000000000000000.
    EXPECT_EQ(hash(Integer(INT64_MAX) + 1), 0xF7A7C0E728B39A75ULL);
    EXPECT_EQ(hash(Integer::fromUnsigned(UINT64_MAX)), 0x25CBC7F4C028D4E9ULL);
}

TEST(Hashable, RationalsHashNumeratorThenDenominator) {
    core::Rational r(Integer(6), Integer(-4));  // -3/2
    EXPECT_EQ(hash(r), hashInt(hashInt(S, -3), 2));
    EXPECT_EQ(hash(core::Rational(5)), hashInt(hashInt(S, 5), 1));
}

// "ab": 'a' is 0x61, 'b' is 0x62, then the length 2.
//   after 'a': S*P^4 ^ 0x61                   = 0x4D25767F9DCE1394
//   after 'b': (that)*P^4 ^ 0x62              = 0x0ACCC9097DBDC6B6
//   length 2:  (that)*P^4 ^ 2                 = 0xD8021D72DE193514
TEST(Hashable, TextsHashTheirCodePointsThenTheirLength) {
    EXPECT_EQ(hashInt(S, 0x61), 0x4D25767F9DCE1394ULL);
    EXPECT_EQ(hashInt(hashInt(S, 0x61), 0x62), 0x0ACCC9097DBDC6B6ULL);
    EXPECT_EQ(hash(Text("ab")), 0xD8021D72DE193514ULL);
    EXPECT_EQ(hash(std::string("ab")), 0xD8021D72DE193514ULL);
    EXPECT_EQ(hash(List<core::Char>{U'a', U'b'}), 0xD8021D72DE193514ULL);
    EXPECT_EQ(hash(Text()), hash(Int{0}));
    // Multi-byte characters count once each.
    EXPECT_EQ(hash(Text("\xC3\xA9")), hashInt(hashInt(S, 0xE9), 1));
    // Invalid bytes in a std::string hash as Text's repair of them.
    for (std::string bad : {"\xFF", "a\xC3", "\xE2\x82x", "\xED\xA0\x80", "\xC0\xAF"})
        EXPECT_EQ(hash(bad), hash(Text(bad))) << bad;
    EXPECT_EQ(hash(std::string("\xFF")), hashInt(hashInt(S, 0xFFFD), 1));
}

TEST(Hashable, ListsPairsOptionalsEithersAndTuples) {
    EXPECT_EQ(hash(List<Int>()), hash(Int{0}));  // only the length
    EXPECT_EQ(hash(std::vector<Int>()), hash(Int{0}));
    // [1,2,3]: 1, 2, 3, then the length 3.
    EXPECT_EQ(hash(List<Int>{1, 2, 3}), 0x30D77E22C5DA0366ULL);
    EXPECT_EQ(hash(std::vector<Int>{1, 2, 3}), 0x30D77E22C5DA0366ULL);
    EXPECT_EQ(hash(NonEmpty<Int>(1, {2, 3})), 0x30D77E22C5DA0366ULL);
    // (1, True): the Int 1, then the Int 1.
    EXPECT_EQ(hash(std::pair<Int, bool>(1, true)), 0x08CD4C29D1E47D35ULL);
    EXPECT_EQ(hash(std::tuple<Int, bool>(1, true)), 0x08CD4C29D1E47D35ULL);
    EXPECT_EQ(hash(std::tuple<>()), S);
    EXPECT_EQ(hash(std::optional<Int>()), hashInt(S, 0));
    EXPECT_EQ(hash(std::optional<Int>(5)), hashInt(hashInt(S, 1), 5));
    EXPECT_EQ((hash(Either<Int, Int>(core::Left(Int{1})))), hashInt(hashInt(S, 0), 1));
    EXPECT_EQ((hash(Either<Int, Int>(core::Right(Int{1})))), hashInt(hashInt(S, 1), 1));
    // Order and nesting matter.
    EXPECT_NE(hash(List<Int>{1, 2}), hash(List<Int>{2, 1}));
    EXPECT_NE(hash(List<List<Int>>{{1}, {}}), hash(List<List<Int>>{{}, {1}}));
}

TEST(Hashable, HasherKeysUnorderedContainers) {
    std::unordered_map<Text, int, core::Hasher> m;
    m[Text("one")] = 1;
    m[Text("two")] = 2;
    EXPECT_EQ(m.at(Text("two")), 2);
    std::unordered_set<Integer, core::Hasher> s{Integer(1), *Integer::fromString("100000000000000000000")};
    EXPECT_TRUE(s.count(*Integer::fromString("100000000000000000000")));
    static_assert(core::HashableType<std::pair<Text, std::optional<List<Integer>>>>);
    static_assert(!core::HashableType<double>);
    static_assert(!core::HashableType<std::vector<double>>);
}

RC_GTEST_PROP(Hashable, EqualIntegersHashEqual, ()) {
    // Values around the edges of the Int range, built by arithmetic and
    // by parsing their decimal text.
    const Int base = *rc::gen::element(INT64_MIN, Int{0}, INT64_MAX);
    const Int k = *rc::gen::inRange<Int>(-3, 4);
    const Int m = *rc::gen::inRange<Int>(0, 3);
    Integer a = (Integer(base) + Integer(k)) * Integer::pow(Integer(2), static_cast<unsigned long>(m * 40));
    const auto b = Integer::fromString(a.toString());
    RC_ASSERT(b.has_value());
    RC_ASSERT(*b == a);
    RC_ASSERT(hash(*b) == hash(a));
    if (auto i = a.toInt()) RC_ASSERT(hash(a) == hash(*i));
}

RC_GTEST_PROP(Hashable, EqualTextsHashEqual, ()) {
    const auto pre = *rc::gen::container<std::vector<core::Char>>(genChar());
    const auto cs = *rc::gen::container<std::vector<core::Char>>(genChar());
    // The same text built directly, through a Builder, and as a slice of
    // a longer text.
    Text direct(utf8Of(cs));
    core::Builder b;
    for (core::Char c : cs) b.appendChar(c);
    Text whole(utf8Of(pre) + utf8Of(cs) + "tail");
    Text slice = whole.sliceBytes(utf8Of(pre).size(), utf8Of(cs).size());
    RC_ASSERT(direct == b.build());
    RC_ASSERT(direct == slice);
    RC_ASSERT(hash(direct) == hash(b.build()));
    RC_ASSERT(hash(direct) == hash(slice));
    RC_ASSERT(hash(direct) == hash(utf8Of(cs)));
    RC_ASSERT(hash(direct) == hash(List<core::Char>(cs)));
}

RC_GTEST_PROP(Hashable, ListsVectorsAndNonEmptiesAgree, (const std::vector<Int>& xs, Int x)) {
    RC_ASSERT(hash(List<Int>(xs)) == hash(xs));
    std::vector<Int> ys{x};
    ys.insert(ys.end(), xs.begin(), xs.end());
    RC_ASSERT(hash(NonEmpty<Int>(x, List<Int>(xs))) == hash(ys));
    // Tuples and pairs of the same components agree.
    RC_ASSERT(hash(std::pair(x, xs)) == hash(std::tuple(x, xs)));
}
