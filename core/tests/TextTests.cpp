#include <gtest/gtest.h>

#include <string>

#include "Core/Text.h"

using core::Builder;
using core::Text;

TEST(Text, LengthsInCodePointsAndBytes) {
    Text t("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // a é € 😀
    EXPECT_EQ(t.sizeBytes(), 10u);
    EXPECT_EQ(t.length(), 4u);
    EXPECT_EQ(t.chars(), (std::vector<core::Char>{U'a', U'\u00e9', U'\u20ac', U'\U0001F600'}));
    EXPECT_EQ(Text().length(), 0u);
    EXPECT_TRUE(Text("").empty());
}

TEST(Text, SlicesShareStorageAndKeepOffsets) {
    Text t("2000-01-01T00:00Z");
    Text rest = t.dropBytes(5);
    EXPECT_TRUE(rest.sharesStorageWith(t));
    EXPECT_EQ(rest.offset(), 5u);
    EXPECT_EQ(rest.view(), "01-01T00:00Z");
    Text mid = rest.sliceBytes(3, 2);
    EXPECT_EQ(mid.offset(), 8u);
    EXPECT_EQ(mid.view(), "01");
    // Out-of-range cuts are clamped, never read outside the bytes.
    EXPECT_EQ(t.dropBytes(100).sizeBytes(), 0u);
    EXPECT_EQ(t.sliceBytes(16, 100).view(), "Z");
    EXPECT_EQ(t.takeBytes(4).view(), "2000");
}

TEST(Text, CodePointSlices) {
    Text t("\xC3\xA9t\xC3\xA9");  // été
    EXPECT_EQ(t.take(1).view(), "\xC3\xA9");
    EXPECT_EQ(t.drop(1).view(), "t\xC3\xA9");
    EXPECT_EQ(t.drop(5).view(), "");
}

TEST(Text, InvalidUtf8IsRepairedOrRejected) {
    EXPECT_FALSE(Text::fromUtf8("\xC3").has_value());           // truncated
    EXPECT_FALSE(Text::fromUtf8("\xC0\x80").has_value());       // overlong
    EXPECT_FALSE(Text::fromUtf8("\xED\xA0\x80").has_value());   // surrogate
    EXPECT_FALSE(Text::fromUtf8("\xF4\x90\x80\x80").has_value());  // above U+10FFFF
    EXPECT_TRUE(Text::fromUtf8("\xF4\x8F\xBF\xBF").has_value());
    Text fixed("a\xFF" "b");
    EXPECT_EQ(fixed.view(), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(fixed.length(), 3u);
}

TEST(Text, DecodeNeverReadsPastTheEnd) {
    std::string s = "\xF0\x9F\x98\x80";
    for (std::size_t n = 0; n < 4; ++n) EXPECT_FALSE(core::utf8::decode(std::string_view(s.data(), n)).has_value());
    auto d = core::utf8::decode(s);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->c, U'\U0001F600');
    EXPECT_EQ(d->size, 4u);
}

TEST(Text, OrderIsCodePointOrder) {
    EXPECT_LT(Text("a"), Text("b"));
    EXPECT_LT(Text("z"), Text("\xC3\xA9"));
    EXPECT_LT(Text("ab"), Text("abc"));
    EXPECT_EQ(Text("abc").dropBytes(1), Text("bc"));
    EXPECT_EQ((Text("ab") + Text("cd")).view(), "abcd");
}

TEST(Builder, AppendsAcrossChunkBoundaries) {
    Builder b;
    std::string expect;
    for (int i = 0; i < 3000; ++i) {
        std::string piece = std::to_string(i) + ",";
        b.append(piece);
        expect += piece;
    }
    b.appendChar(U'\u20ac');
    expect += "\xE2\x82\xAC";
    ASSERT_GT(expect.size(), 2 * Builder::chunkSize);
    EXPECT_EQ(b.sizeBytes(), expect.size());
    EXPECT_EQ(b.str(), expect);
    EXPECT_EQ(b.build().view(), expect);

    // A piece larger than a chunk, and builders appended to builders.
    Builder big;
    big.append(std::string(3 * Builder::chunkSize + 7, 'x'));
    Builder both = b + big;
    EXPECT_EQ(both.str(), expect + std::string(3 * Builder::chunkSize + 7, 'x'));
    both.append(both);
    EXPECT_EQ(both.sizeBytes(), 2 * (expect.size() + 3 * Builder::chunkSize + 7));
    EXPECT_EQ(Builder().build().sizeBytes(), 0u);
}

TEST(Builder, DirectWritesJoinTheOtherPieces) {
    Builder b;
    std::string expect;
    for (int i = 0; i < 1000; ++i) {
        // Reserve more than is written, so that chunks end with unused room.
        char* p = b.reserve(40);
        const std::string piece = std::to_string(i) + ";";
        for (std::size_t k = 0; k < piece.size(); ++k) p[k] = piece[k];
        p[piece.size()] = '!';  // written but never committed
        b.commit(piece.size());
        b.append('|');
        expect += piece + "|";
    }
    char* p = b.reserve(2 * Builder::chunkSize);  // more than a chunk
    std::string wide(2 * Builder::chunkSize, 'w');
    for (std::size_t k = 0; k < wide.size(); ++k) p[k] = wide[k];
    b.commit(wide.size());
    expect += wide;
    b.reserve(10);
    b.commit(0);
    EXPECT_EQ(b.sizeBytes(), expect.size());
    EXPECT_EQ(b.str(), expect);
    EXPECT_EQ(b.build().view(), expect);

    // Copies and moves keep the text and stay writable; the moved-from
    // builder is empty and usable.
    Builder copy = b;
    copy.append("end");
    EXPECT_EQ(copy.str(), expect + "end");
    EXPECT_EQ(b.str(), expect);
    Builder moved = std::move(copy);
    EXPECT_EQ(moved.str(), expect + "end");
    EXPECT_EQ(copy.sizeBytes(), 0u);  // NOLINT(bugprone-use-after-move)
    copy.append("again");
    EXPECT_EQ(copy.str(), "again");
    moved = b;
    moved.append('.');
    EXPECT_EQ(moved.str(), expect + ".");
}
