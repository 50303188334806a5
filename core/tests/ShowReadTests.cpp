#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "Core/Read.h"
#include "Core/Show.h"

using core::Either;
using core::Integer;
using core::Left;
using core::read;
using core::readEither;
using core::Right;
using core::show;

namespace {
template <class T>
void roundTrips(const T& x) {
    const std::string s = show(x);
    auto back = read<T>(s);
    ASSERT_TRUE(back.has_value()) << s;
    EXPECT_EQ(*back, x) << s;
}
}  // namespace

TEST(Show, PrecedenceOfConstructorsAndNegativeNumbers) {
    EXPECT_EQ(show(std::optional<int>(-1)), "Just (-1)");
    EXPECT_EQ(show(std::optional<std::optional<int>>(3)), "Just (Just 3)");
    EXPECT_EQ(show(std::vector<std::optional<int>>{1, std::nullopt}), "[Just 1,Nothing]");
    EXPECT_EQ(show(std::pair<int, int>(-1, 2)), "(-1,2)");
    EXPECT_EQ(show(std::vector<int>{-1, 2}), "[-1,2]");
    Either<int, std::string> l = core::Left(-5);
    EXPECT_EQ(show(l), "Left (-5)");
    std::string out;
    core::showsPrec(11, std::optional<int>(2), out);
    EXPECT_EQ(out, "(Just 2)");
    out.clear();
    core::showsPrec(6, -3, out);
    EXPECT_EQ(out, "-3");
    EXPECT_EQ(show(core::Rational(-3, 4)), "(-3) % 4");
    EXPECT_EQ(show(std::optional<core::Rational>(core::Rational(1, 2))), "Just (1 % 2)");
    EXPECT_EQ(show(core::NonEmpty<int>(1, core::List<int>{2, 3})), "1 :| [2,3]");
    EXPECT_EQ(show(std::make_tuple(1, true, core::unit, core::GT)), "(1,True,(),GT)");
    EXPECT_EQ(show(Integer::pow10(20) * Integer(-1)), "-100000000000000000000");
}

TEST(Show, EscapesInTextsAndCharacters) {
    EXPECT_EQ(show(std::string("a\"b\\c\n")), R"("a\"b\\c\n")");
    EXPECT_EQ(show(std::string("\x7f\x01\x0e" "H")), R"("\DEL\SOH\SO\&H")");
    EXPECT_EQ(show(std::string("\xC3\xA9" "1")), R"("\233\&1")");
    EXPECT_EQ(show(std::string("'")), "\"'\"");
    EXPECT_EQ(show(core::Char('\'')), R"('\'')");
    EXPECT_EQ(show(core::Char('"')), R"('"')");
    EXPECT_EQ(show(core::Char(0x1F600)), R"('\128512')");
    EXPECT_EQ(show(core::Text("tab\there")), R"("tab\there")");
    EXPECT_EQ(show(std::vector<core::Char>{'h', 'i'}), "\"hi\"");
}

TEST(Show, Doubles) {
    EXPECT_EQ(show(0.1), "0.1");
    EXPECT_EQ(show(1.0), "1.0");
    EXPECT_EQ(show(0.01), "1.0e-2");
    EXPECT_EQ(show(1.5e7), "1.5e7");
    EXPECT_EQ(show(1234567.0), "1234567.0");
    EXPECT_EQ(show(-2.5), "-2.5");
    EXPECT_EQ(show(std::optional<double>(-2.5)), "Just (-2.5)");
    EXPECT_EQ(show(0.0), "0.0");
    EXPECT_EQ(show(std::numeric_limits<double>::infinity()), "Infinity");
}

TEST(Read, RedundantParenthesesAndBlanks) {
    EXPECT_EQ(read<int>(" ( ( 42 ) ) "), 42);
    EXPECT_EQ(read<int>("(-42)"), -42);
    EXPECT_EQ(read<int>("-42"), -42);
    EXPECT_EQ(read<std::optional<int>>("((Just  ( (-1) )))"), std::optional<int>(-1));
    EXPECT_EQ(read<std::optional<int>>("Nothing"), std::optional<std::optional<int>>(std::optional<int>()));
    EXPECT_EQ(read<std::vector<int>>(" [ 1 , 2 ,3 ] "), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(read<std::vector<int>>("[]"), std::vector<int>{});
    EXPECT_EQ((read<std::pair<int, bool>>("( ( 1 , True ) )")), (std::pair<int, bool>(1, true)));
    EXPECT_EQ(read<core::Unit>("(())"), core::unit);
    EXPECT_EQ(read<int>("1 -- a comment"), 1);
}

TEST(Read, RejectsWhatPrintingNeverProduces) {
    // A constructor application at precedence 11 needs parentheses.
    EXPECT_FALSE(read<std::optional<std::optional<int>>>("Just Just 3"));
    EXPECT_EQ(core::readsPrec<std::optional<int>>(11, "Just 3").size(), 0u);
    EXPECT_EQ(core::readsPrec<std::optional<int>>(10, "Just 3").size(), 1u);
    // A negative number at precedence 11 needs parentheses.
    EXPECT_FALSE(read<std::optional<int>>("Just -1"));
    // Constructor names are whole identifiers.
    EXPECT_FALSE(read<std::optional<int>>("Justx"));
    EXPECT_FALSE(read<std::optional<int>>("Just3"));
    EXPECT_FALSE(read<std::optional<int>>("Jus 3"));
    EXPECT_FALSE(read<bool>("Truex"));
    // Out of range and malformed numbers.
    EXPECT_FALSE(read<std::int8_t>("128"));
    EXPECT_EQ(read<std::int8_t>("-128"), std::int8_t(-128));
    EXPECT_FALSE(read<unsigned>("-1"));
    EXPECT_FALSE(read<int>("1.5"));
    EXPECT_FALSE(read<int>(""));
    EXPECT_FALSE(read<int>("(1"));
    EXPECT_FALSE(read<core::Rational>("1 % 0"));
    EXPECT_EQ(core::readEither<int>("x").error(), "no parse");
}

TEST(Read, Numbers) {
    EXPECT_EQ(read<Integer>("123456789012345678901234567890")->toString(), "123456789012345678901234567890");
    EXPECT_EQ(read<Integer>("0x1F"), Integer(31));
    EXPECT_EQ(read<Integer>("0o17"), Integer(15));
    EXPECT_EQ(read<Integer>("1e3"), Integer(1000));
    EXPECT_EQ(read<core::Rational>("(-3) % 6"), core::Rational(-1, 2));
    EXPECT_FALSE(read<core::Rational>("2.5"));
    EXPECT_EQ(read<double>("1.5e-3"), 1.5e-3);
    EXPECT_TRUE(std::isinf(*read<double>("Infinity")));
    EXPECT_EQ(read<double>("-Infinity"), -std::numeric_limits<double>::infinity());
    EXPECT_FALSE(read<Integer>("1e999999999999"));
}

TEST(Read, CharactersAndStringsWithEveryEscape) {
    EXPECT_EQ(read<core::Char>("'x'"), core::Char('x'));
    EXPECT_EQ(read<core::Char>(R"('\'')"), core::Char('\''));
    EXPECT_EQ(read<core::Char>(R"('\SOH')"), core::Char(1));
    EXPECT_EQ(read<core::Char>(R"('\SO')"), core::Char(14));
    EXPECT_EQ(read<core::Char>(R"('\DEL')"), core::Char(127));
    EXPECT_EQ(read<core::Char>(R"('\^A')"), core::Char(1));
    EXPECT_EQ(read<core::Char>(R"('\x41')"), core::Char('A'));
    EXPECT_EQ(read<core::Char>(R"('\o101')"), core::Char('A'));
    EXPECT_EQ(read<core::Char>(R"('\1114111')"), core::Char(0x10FFFF));
    EXPECT_FALSE(read<core::Char>(R"('\1114112')"));
    EXPECT_FALSE(read<core::Char>("'''"));
    EXPECT_EQ(read<std::string>(R"("a\SO\&Hb\   \c")"), std::string("a\x0eHbc"));
    EXPECT_EQ(read<std::string>(R"("\233\&1")"), std::string("\xC3\xA9" "1"));
    EXPECT_EQ(read<std::string>("['a','b']"), std::string("ab"));
    EXPECT_FALSE(read<std::string>("\"unterminated"));
}

TEST(ReadP, SymmetricChoiceKeepsEveryResultInOrder) {
    auto a = core::mapP([](std::string_view s) { return std::string(s); }, core::stringP("ab"));
    auto b = core::mapP([](std::string_view s) { return std::string(s); }, core::stringP("a"));
    auto r = core::alt(a, b).run("abc");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].first, "ab");
    EXPECT_EQ(r[0].second, "c");
    EXPECT_EQ(r[1].first, "a");
    EXPECT_EQ(r[1].second, "bc");
    // Committed choice drops the right side whenever the left yields anything.
    auto c = core::orElse(b, a).run("abc");
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].first, "a");
    auto d = core::orElse(core::pfail<std::string>(), a).run("abc");
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].first, "ab");
}

TEST(ReadP, RepetitionOffersEveryLength) {
    auto digit = core::satisfy([](core::Char c) { return c >= '0' && c <= '9'; });
    auto all = core::many(digit).run("123x");
    ASSERT_EQ(all.size(), 4u);
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].first.size(), i);
    EXPECT_EQ(core::many1(digit).run("123x").size(), 3u);
    auto greedy = core::manyGreedy(digit).run("123x");
    ASSERT_EQ(greedy.size(), 1u);
    EXPECT_EQ(greedy[0].first.size(), 3u);
    EXPECT_EQ(core::munch([](core::Char c) { return c == '1'; }).run("11x")[0].first, "11");
    EXPECT_EQ(core::count(2, digit).run("123").size(), 1u);
    auto sep = core::sepBy(digit, core::charP(',')).run("1,2");
    EXPECT_EQ(sep.size(), 3u);  // [], [1], [1,2]
}

TEST(ReadP, PrecedenceCombinators) {
    auto at = core::Reader<int>([](std::string_view, std::size_t pos, int p) { return core::Parses<int>{{p, pos}}; });
    EXPECT_EQ(core::step(at).run("", 3)[0].first, 4);
    EXPECT_EQ(core::reset(at).run("", 9)[0].first, 0);
    EXPECT_EQ(core::prec(5, at).run("", 5)[0].first, 5);
    EXPECT_TRUE(core::prec(5, at).run("", 6).empty());
    EXPECT_EQ(core::parens(core::prec(5, at)).run("((x", 9).size(), 0u);
}

TEST(Read, DeepNestingFailsInsteadOfOverflowing) {
    std::string deep(100000, '(');
    deep += "1";
    deep += std::string(100000, ')');
    EXPECT_FALSE(read<int>(deep).has_value());
    std::string lists(100000, '[');
    EXPECT_FALSE(read<std::vector<int>>(lists).has_value());
    std::string ok = std::string(50, '(') + "7" + std::string(50, ')');
    EXPECT_EQ(read<int>(ok), 7);
}

// Nesting deeper than the thread's stack continues on fresh stack segments;
// past the reader limit the failure says so instead of "no parse".
TEST(Read, DeepNestingReadsToTheLimitAndReportsWhenBeyond) {
    auto nested = [](int n, std::string_view inner) {
        return std::string(static_cast<std::size_t>(n), '(') + std::string(inner) +
               std::string(static_cast<std::size_t>(n), ')');
    };
    EXPECT_EQ(readEither<int>(nested(10000, "-3")), (Either<std::string, int>(Right(-3))));
    EXPECT_EQ(readEither<int>(nested(24998, "5")), (Either<std::string, int>(Right(5))));
    EXPECT_EQ(readEither<int>(nested(25000, "5")), (Either<std::string, int>(Left(std::string("nesting too deep")))));
    // Malformed text, deep or not, is still "no parse".
    EXPECT_EQ(readEither<int>(nested(10, "x")), (Either<std::string, int>(Left(std::string("no parse")))));
    EXPECT_EQ(readEither<int>(nested(10000, "1") + ")"), (Either<std::string, int>(Left(std::string("no parse")))));
    // A too-deep attempt does not taint the next reading.
    EXPECT_EQ(readEither<int>("(1)"), (Either<std::string, int>(Right(1))));
    // Readers on other threads are independent.
    std::string fromThread;
    std::thread([&] { fromThread = readEither<int>(nested(25000, "5")).left(); }).join();
    EXPECT_EQ(fromThread, "nesting too deep");
}

// Each "(" before a nested pair may open the pair or an enclosing pair of
// parentheses; reading must not try every combination (before the results
// of each reader at each position were shared, 2,000 such parentheses took
// hours).
TEST(Read, ManyParenthesesBeforeNestedTuplesReadInLinearWork) {
    using P = std::pair<std::pair<int, bool>, std::tuple<int, core::Char, std::optional<int>>>;
    EXPECT_FALSE(read<P>(std::string(2000, '(')).has_value());
    EXPECT_FALSE(read<std::vector<P>>("[" + std::string(2000, '(')).has_value());
    const std::string text = "((1,True),(2,'x',Just 3))";
    const P expected{{1, true}, {2, core::Char('x'), 3}};
    EXPECT_EQ(read<P>(std::string(500, '(') + text + std::string(500, ')')), expected);
    EXPECT_EQ(read<P>("(((((1,(True))),((2),('x'),(Just (3))))))"), expected);
    // A reader with several results at each position keeps them all.
    auto r = core::parens(core::many(core::satisfy([](core::Char c) { return c == 'a'; }))).run("((aa))");
    std::vector<std::size_t> lengths;
    for (auto& [v, rest] : r)
        if (rest.empty()) lengths.push_back(v.size());
    EXPECT_EQ(lengths, std::vector<std::size_t>{2});
}

TEST(Read, LongListsReadWithoutDeepRecursion) {
    std::vector<int> xs(20000);
    for (int i = 0; i < 20000; ++i) xs[static_cast<std::size_t>(i)] = i - 10000;
    roundTrips(xs);
}

RC_GTEST_PROP(ShowRead, NestedValuesRoundTrip,
              (const std::vector<std::tuple<bool, int, std::string>>& raw, std::int64_t n, bool b)) {
    using V = std::vector<std::pair<std::optional<int>, std::string>>;
    V xs;
    // Texts are UTF-8: invalid bytes print as U+FFFD, so use repaired ones.
    for (const auto& [has, v, str] : raw)
        xs.emplace_back(has ? std::optional<int>(v) : std::nullopt, core::Text(str).str());
    const std::string s = show(xs);
    auto back = read<V>(s);
    RC_ASSERT(back.has_value());
    RC_ASSERT(*back == xs);
    using E = Either<std::optional<std::int64_t>, std::tuple<bool, std::vector<std::int64_t>>>;
    E e = b ? E(core::Left(std::optional<std::int64_t>(n))) : E(core::Right(std::tuple<bool, std::vector<std::int64_t>>(b, {n / 2, -(n / 2)})));
    auto eb = read<E>(show(e));
    RC_ASSERT(eb.has_value());
    RC_ASSERT(*eb == e);
}

RC_GTEST_PROP(ShowRead, CharactersAndTextsRoundTrip, (const std::vector<std::uint32_t>& codes)) {
    std::string s;
    for (auto c : codes) core::utf8::append(s, static_cast<core::Char>(c % 0x110000));
    core::Text t(s);  // repaired to valid UTF-8
    auto back = read<core::Text>(show(t));
    RC_ASSERT(back.has_value());
    RC_ASSERT(*back == t);
    for (core::Char c : t.chars()) RC_ASSERT(read<core::Char>(show(c)) == std::optional<core::Char>(c));
}

RC_GTEST_PROP(ShowRead, NumbersRoundTrip, (std::int64_t a, std::int64_t b, double d)) {
    Integer big = Integer(a) * Integer(b) * Integer(a);
    RC_ASSERT(read<Integer>(show(big)) == std::optional<Integer>(big));
    if (b != 0) {
        core::Rational r{Integer(a), Integer(b)};
        RC_ASSERT(read<core::Rational>(show(r)) == std::optional<core::Rational>(r));
    }
    if (!std::isnan(d)) RC_ASSERT(read<double>(show(d)) == std::optional<double>(d));
}
