// Text form, byte encoding, hashing and the lifted comparisons of These.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Data/These.h"

using core::Int;
using these::That;
using these::These;
using these::This;

using TII = These<Int, Int>;
using TSI = These<std::string, Int>;

namespace {
TSI make(int shape, const std::string& a, Int b) {
    switch (((shape % 3) + 3) % 3) {
        case 0: return This(a);
        case 1: return That(b);
        default: return These(a, b);
    }
}
template <class T>
std::optional<T> readAt(int d, std::string_view s) {
    for (auto& [v, rest] : core::readsPrec<T>(d, s))
        if (rest.empty()) return v;
    return std::nullopt;
}
std::string bytes(std::initializer_list<int> bs) {
    std::string out;
    for (int b : bs) out.push_back(static_cast<char>(b));
    return out;
}
// The Int mixing of the hashing rules, written out: four 16-bit chunks,
// most significant first, each as s = s * 0x100000001B3 ^ chunk.
std::uint64_t mixInt(std::uint64_t s, std::int64_t v) {
    const auto u = static_cast<std::uint64_t>(v);
    const std::uint64_t chunks[4] = {(u >> 48) & 0xFFFF, (u >> 32) & 0xFFFF, (u >> 16) & 0xFFFF, u & 0xFFFF};
    for (std::uint64_t c : chunks) s = (s * 0x100000001B3ULL) ^ c;
    return s;
}
}  // namespace

TEST(TheseTextForm, ShowPutsFieldsAtPrecedenceEleven) {
    EXPECT_EQ(core::show(These<Int, std::optional<Int>>(These(Int{1}, std::optional<Int>(2)))), "These 1 (Just 2)");
    EXPECT_EQ(core::show(TII(This(Int{-1}))), "This (-1)");
    EXPECT_EQ(core::show(std::optional<These<Int, char>>(These<Int, char>(That('x')))), "Just (That 'x')");
    std::string out;
    core::showsPrec(11, TII(That(Int{3})), out);
    EXPECT_EQ(out, "(That 3)");
    EXPECT_EQ(core::show(These<TII, Int>(These(TII(This(Int{1})), Int{2}))), "These (This 1) 2");
    EXPECT_EQ(core::show(std::vector<TII>{This(Int{1}), These(Int{2}, Int{-3})}), "[This 1,These 2 (-3)]");
    EXPECT_EQ(core::show(These<std::string, char>(These(std::string("a\"b\n"), '\''))), "These \"a\\\"b\\n\" '\\''");
}

TEST(TheseTextForm, ReadAcceptsParenthesesAndWholeIdentifiersOnly) {
    const TII v = These(Int{1}, Int{2});
    EXPECT_EQ(core::read<TII>("These 1 2"), v);
    EXPECT_EQ(core::read<TII>("(These 1 2)"), v);
    EXPECT_EQ(core::read<TII>(" ( ( These  1\t2 ) ) "), v);
    EXPECT_EQ(core::read<TII>("This (-4)"), TII(This(Int{-4})));
    EXPECT_FALSE(core::read<TII>("These 1"));  // no right value
    EXPECT_FALSE(core::read<TII>("This -4"));  // negative field needs parentheses
    EXPECT_FALSE(core::read<TII>("Thise 1"));
    EXPECT_FALSE(core::read<TII>("These1 2"));  // one identifier, not These then 1
    EXPECT_FALSE(core::read<TII>("This1"));
    EXPECT_FALSE(readAt<TII>(11, "That 3"));
    EXPECT_EQ(readAt<TII>(11, "(That 3)"), TII(That(Int{3})));
    EXPECT_EQ(readAt<TII>(10, "That 3"), TII(That(Int{3})));
    auto list = core::readList<TII>("[This 1,That 2, These 3 4]");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].first, (std::vector<TII>{This(Int{1}), That(Int{2}), These(Int{3}, Int{4})}));
}

TEST(TheseTextForm, LiftedFormsUseTheSuppliedElementOperations) {
    // Right values printed and read as hexadecimal-ish tokens "#n".
    auto sp = [](int, const Int& x, std::string& out) { out += "#" + std::to_string(x); };
    auto sl = [](const std::vector<Int>&, std::string&) {};
    std::string out;
    core::liftShowsPrec(sp, sl, 11, TII(These(Int{-1}, Int{5})), out);
    EXPECT_EQ(out, "(These (-1) #5)");
    out.clear();
    core::liftShowsPrec2(sp, sl, sp, sl, 0, TII(This(Int{7})), out);
    EXPECT_EQ(out, "This #7");

    auto rp = core::readPrec<Int>();
    auto rl = core::readListPrec<Int>();
    auto r1 = core::liftReadsPrec<these::TheseK<Int>, Int>(rp, rl, 0, "These 1 2");
    ASSERT_EQ(r1.size(), 1u);
    EXPECT_EQ(r1[0].first, TII(These(Int{1}, Int{2})));
    EXPECT_TRUE((core::liftReadsPrec2<these::TheseK2, Int, Int>(rp, rl, rp, rl, 11, "That 2").empty()));
    auto r2 = core::liftReadList2<these::TheseK2, Int, Int>(rp, rl, rp, rl, "[(That 2)]");
    ASSERT_EQ(r2.size(), 1u);
    EXPECT_EQ(r2[0].first, std::vector<TII>{TII(That(Int{2}))});
}

TEST(TheseComparison, LiftedFormsFollowIndexThenLeftThenRight) {
    auto cmpRev = [](const Int& a, const Int& b) { return core::compare(b, a); };
    EXPECT_EQ(core::liftCompare(cmpRev, TII(These(Int{1}, Int{1})), TII(These(Int{1}, Int{2}))), core::GT);
    EXPECT_EQ(core::liftCompare(cmpRev, TII(This(Int{5})), TII(That(Int{0}))), core::LT);
    EXPECT_EQ(core::liftCompare2(cmpRev, cmpRev, TII(These(Int{1}, Int{9})), TII(These(Int{2}, Int{0}))), core::GT);
    EXPECT_EQ(core::compare(TII(These(Int{1}, Int{9})), TII(These(Int{2}, Int{0}))), core::LT);
    EXPECT_EQ(core::compare(TII(That(Int{5})), TII(These(Int{0}, Int{0}))), core::LT);
    // The right values are not looked at when the left ones differ.
    int rightCalls = 0;
    auto countEq = [&](const Int& a, const Int& b) {
        ++rightCalls;
        return a == b;
    };
    EXPECT_FALSE(core::liftEq(countEq, TII(These(Int{1}, Int{2})), TII(These(Int{3}, Int{2}))));
    EXPECT_EQ(rightCalls, 0);
    EXPECT_TRUE(core::liftEq2(countEq, countEq, TII(These(Int{1}, Int{2})), TII(These(Int{1}, Int{2}))));
    EXPECT_EQ(rightCalls, 2);
    EXPECT_FALSE(core::liftEq(countEq, TII(This(Int{1})), TII(That(Int{1}))));
    // max keeps the second of equal arguments, min the first.
    TII a(core::defer([] { return Int{1}; }), Int{2}), b(core::defer([] { return Int{1}; }), Int{2});
    EXPECT_TRUE(core::max(a, b).leftField().sameAs(b.leftField()));
    EXPECT_TRUE(core::min(a, b).leftField().sameAs(a.leftField()));
}

TEST(TheseBinary, TagIsAnEightByteBigEndianInt) {
    EXPECT_EQ(core::encode(These<Int, std::uint8_t>(That(std::uint8_t{7}))), bytes({0, 0, 0, 0, 0, 0, 0, 1, 7}));
    EXPECT_EQ(core::encode(TII(This(Int{1}))), bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(core::encode(These<std::uint8_t, std::uint8_t>(These(std::uint8_t{1}, std::uint8_t{2}))),
              bytes({0, 0, 0, 0, 0, 0, 0, 2, 1, 2}));
    EXPECT_EQ(core::encode(std::vector<These<std::uint8_t, Int>>{This(std::uint8_t{9})}),
              bytes({0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 9}));
}

TEST(TheseBinary, BadTagsAndTruncationFailWithoutAValue) {
    using T8 = These<std::uint8_t, std::uint8_t>;
    auto three = core::decode<T8>(bytes({0, 0, 0, 0, 0, 0, 0, 3, 1}));
    ASSERT_FALSE(three);
    EXPECT_EQ(three.error(), "Invalid These index");
    auto minusOne = core::decode<T8>(bytes({0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 1}));
    ASSERT_FALSE(minusOne);
    EXPECT_EQ(minusOne.error(), "Invalid These index");
    auto big = core::decode<T8>(bytes({1, 0, 0, 0, 0, 0, 0, 2, 1, 1}));
    ASSERT_FALSE(big);
    EXPECT_EQ(big.error(), "Invalid These index");
    auto shortTag = core::decode<T8>(bytes({0, 0, 0}));
    ASSERT_FALSE(shortTag);
    EXPECT_EQ(shortTag.error(), "Not enough bytes");
    auto noRight = core::decode<T8>(bytes({0, 0, 0, 0, 0, 0, 0, 2, 1}));
    ASSERT_FALSE(noRight);
    EXPECT_EQ(noRight.error(), "Not enough bytes");
    auto extra = core::decode<T8>(bytes({0, 0, 0, 0, 0, 0, 0, 1, 1, 1}));
    ASSERT_FALSE(extra);
    EXPECT_EQ(extra.error(), "Not all input consumed");
}

TEST(TheseHash, IndexIsMixedBeforeTheValues) {
    const std::uint64_t salt = 0xCBF29CE484222325ULL;
    const std::uint64_t p4 = 0x9FFAAC085635BC91ULL;
    EXPECT_EQ(core::hash(TII(This(Int{1}))), mixInt(salt * p4, 1));
    EXPECT_EQ(core::hash(TII(That(Int{1}))), mixInt((salt * p4) ^ 1, 1));
    EXPECT_EQ(core::hash(TII(These(Int{-2}, Int{70000}))), mixInt(mixInt((salt * p4) ^ 2, -2), 70000));
    EXPECT_EQ(core::hashWithSalt(42, TII(These(Int{3}, Int{4}))), mixInt(mixInt((42 * p4) ^ 2, 3), 4));
    EXPECT_NE(core::hash(TII(This(Int{1}))), core::hash(TII(That(Int{1}))));
    // A text right value: its code points, then its length.
    const std::uint64_t s1 = (salt * p4) ^ 1;
    EXPECT_EQ(core::hash(TSI(These<std::string, Int>::makeThis(std::string("ab")))),
              mixInt(mixInt(mixInt(salt * p4, 'a'), 'b'), 2));
    EXPECT_EQ(core::hash(These<Int, std::string>(That(std::string("")))), mixInt(s1, 0));
    // Lifted forms with the element hashes give the same values.
    auto h = [](std::uint64_t s, const Int& x) { return core::hashWithSalt(s, x); };
    EXPECT_EQ(core::liftHashWithSalt(h, 7, TII(These(Int{1}, Int{2}))), core::hashWithSalt(7, TII(These(Int{1}, Int{2}))));
    auto zero = [](std::uint64_t s, const Int&) { return s; };
    EXPECT_EQ(core::liftHashWithSalt2(zero, h, 7, TII(These(Int{1}, Int{2}))), mixInt((7 * p4) ^ 2, 2));
}

RC_GTEST_PROP(TheseRoundTrips, ReadShowAndDecodeEncode, (int shape, int inner, const std::string& raw, Int b, Int c)) {
    using Nested = These<TSI, Int>;
    // Texts of valid UTF-8: ASCII (control characters, quotes and
    // backslashes included) with a two-byte character now and then.
    std::string a;
    for (char ch : raw) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            a += "\xC3\xA9";
        else
            a += ch;
    }
    TSI t = make(shape, a, b);
    RC_ASSERT(core::read<TSI>(core::show(t)) == t);
    auto tBack = core::decode<TSI>(core::encode(t));
    RC_ASSERT(tBack.isRight() && tBack.value() == t);
    Nested n = (inner & 1) ? Nested(This(t)) : (inner & 2) ? Nested(That(c)) : Nested(These(t, c));
    RC_ASSERT(core::read<Nested>(core::show(n)) == n);
    auto back = core::decode<Nested>(core::encode(n));
    RC_ASSERT(back.isRight() && back.value() == n);
    std::vector<Nested> many{n, Nested(That(b)), n};
    RC_ASSERT(core::read<std::vector<Nested>>(core::show(many)) == many);
    RC_ASSERT(core::decode<std::vector<Nested>>(core::encode(many)).value() == many);
    // Equal values hash alike; different alternatives of equal fields do not collide here.
    RC_ASSERT(core::hash(n) == core::hash(Nested(n)));
}
