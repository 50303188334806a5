// The date parsers: every message and every order of checks, grouped by
// parser, and round trips for years far outside 64 bits.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>

#include "Data/Time/Calendar.h"
#include "Data/Time/FromText.h"

using namespace tarvel;
using core::Integer;
using kalmet::Year;

namespace {

template <class T>
std::string leftOf(const Result<T>& r) {
    return r.isLeft() ? r.left().str() : std::string("<Right>");
}

Integer big(const char* digits) { return *Integer::fromString(digits); }

}  // namespace

TEST(ParseYear, AcceptsSignsLeadingZerosAndLongRuns) {
    EXPECT_EQ(*parseYear("2000"), Year(2000));
    EXPECT_EQ(*parseYear("+2000"), Year(2000));
    EXPECT_EQ(*parseYear("-0001"), Year(-1));
    EXPECT_EQ(*parseYear("00002000"), Year(2000));
    EXPECT_EQ(*parseYear("-0000"), Year(0));
    EXPECT_EQ(*parseYear("12345"), Year(12345));
    EXPECT_EQ(*parseYear("999999999999999999"), Year(999999999999999999));  // 18 digits
    EXPECT_EQ(*parseYear("9223372036854775807"), Year(INT64_MAX));
    EXPECT_EQ(*parseYear("-9223372036854775808"), Year(INT64_MIN));
    EXPECT_EQ(*parseYear("-9223372036854775809"), big("-9223372036854775809"));
    EXPECT_EQ(*parseYear("000000000000000000000000000000002000"), Year(2000));
    const std::string huge(3000, '7');
    EXPECT_EQ(*parseYear(huge), big(huge.c_str()));
}

TEST(ParseYear, Messages) {
    EXPECT_EQ(leftOf(parseYear("")), "Unexpected end-of-input, expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear("200")), "expected year with at least 4 digits");
    EXPECT_EQ(leftOf(parseYear("-")), "expected year with at least 4 digits");
    EXPECT_EQ(leftOf(parseYear("+12")), "expected year with at least 4 digits");
    EXPECT_EQ(leftOf(parseYear("-x")), "expected year with at least 4 digits");
    EXPECT_EQ(leftOf(parseYear("x2000")), "Unexpected 'x', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear(" 2000")), "Unexpected ' ', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear("\t2000")), "Unexpected '\\t', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear("'")), "Unexpected '\\'', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear("\\")), "Unexpected '\\\\', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear(std::string_view("\0", 1))), "Unexpected '\\NUL', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear("\x1b")), "Unexpected '\\ESC', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear("\x7f")), "Unexpected '\\DEL', expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseYear("2000x")), "Unexpected 'x', expecting end-of-input");
    EXPECT_EQ(leftOf(parseYear("2000 ")), "Unexpected ' ', expecting end-of-input");
    EXPECT_EQ(leftOf(parseYear("2000\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseYear("\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseYear("-\xc3\xa9")), "Non-ASCII character");  // before the digit count
    EXPECT_EQ(leftOf(parseYear("20\xc3\xa9")), "Non-ASCII character");
}

TEST(ParseMonth, ValuesAndMessages) {
    EXPECT_EQ(*parseMonth("2000-01"), kalmet::Month(kalmet::YearMonth(2000, 1)));
    EXPECT_EQ(*parseMonth("-0001-12"), kalmet::Month(kalmet::YearMonth(-1, 12)));
    EXPECT_EQ(leftOf(parseMonth("2000-13")), "invalid month:(2000,13)");
    EXPECT_EQ(leftOf(parseMonth("2000-00")), "invalid month:(2000,0)");
    EXPECT_EQ(leftOf(parseMonth("-0005-00")), "invalid month:(-5,0)");
    EXPECT_EQ(leftOf(parseMonth("2000-13x")), "invalid month:(2000,13)");
    EXPECT_EQ(leftOf(parseMonth("2000-1x")), "Unexpected 'x', expecting a digit");
    EXPECT_EQ(leftOf(parseMonth("2000-1")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseMonth("2000-x1")), "Unexpected 'x', expecting a digit");
    EXPECT_EQ(leftOf(parseMonth("2000/01")), "Unexpected '/', expecting a dash after a year part");
    EXPECT_EQ(leftOf(parseMonth("2000")), "Unexpected end-of-input, expecting a dash after a year part");
    EXPECT_EQ(leftOf(parseMonth("2000-01x")), "Unexpected 'x', expecting end-of-input");
    EXPECT_EQ(leftOf(parseMonth("2000-01\xc3\xa9")), "Unexpected '\xc3\xa9', expecting end-of-input");
    EXPECT_EQ(leftOf(parseMonth("2000-0\xc3\xa9")), "Non-ASCII character");
    const std::string longYear(200, '9');
    EXPECT_EQ(leftOf(parseMonth(longYear + "-13")), "invalid month:(" + longYear + ",13)");
}

TEST(ParseDay, ValuesAndMessages) {
    EXPECT_EQ(*parseDay("2000-02-29"), kalmet::fromGregorian(2000, 2, 29));
    EXPECT_EQ(*parseDay("-0001-01-01"), kalmet::fromGregorian(-1, 1, 1));
    EXPECT_EQ(*parseDay("1858-11-17"), kalmet::Day());
    EXPECT_EQ(leftOf(parseDay("1900-02-29")), "invalid day:(1900,2,29)");
    EXPECT_EQ(leftOf(parseDay("2000-02-30x")), "invalid day:(2000,2,30)");
    EXPECT_EQ(leftOf(parseDay("2000-13-01")), "invalid day:(2000,13,1)");
    EXPECT_EQ(leftOf(parseDay("2000-00-01")), "invalid day:(2000,0,1)");
    EXPECT_EQ(leftOf(parseDay("2000-01-00")), "invalid day:(2000,1,0)");
    EXPECT_EQ(leftOf(parseDay("2000-04-31")), "invalid day:(2000,4,31)");
    EXPECT_EQ(leftOf(parseDay("2000-01-01x")), "Unexpected 'x', expecting end-of-input");
    EXPECT_EQ(leftOf(parseDay("2000-01-01 ")), "Unexpected ' ', expecting end-of-input");
    EXPECT_EQ(leftOf(parseDay("2000-01-01\xe2\x82\xac")), "Unexpected '\xe2\x82\xac', expecting end-of-input");
    EXPECT_EQ(leftOf(parseDay("2000-01-01\xf0\x9f\x98\x80")), "Unexpected '\xf0\x9f\x98\x80', expecting end-of-input");
    EXPECT_EQ(leftOf(parseDay("2000-01")), "Unexpected end-of-input, expecting a dash, -");
    EXPECT_EQ(leftOf(parseDay("2000-01/01")), "Unexpected '/', expecting a dash, -");
    EXPECT_EQ(leftOf(parseDay("2000-01-")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseDay("2000-01-1")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseDay("")), "Unexpected end-of-input, expecting -, +, or a digit");
    EXPECT_EQ(leftOf(parseDay("2000")), "Unexpected end-of-input, expecting a dash after a year part");
    EXPECT_EQ(leftOf(parseDay("2000-01\xc3\xa9")), "Non-ASCII character");
}

TEST(ParseDay, InvalidUtf8InAStringViewReadsAsReplacementCharacter) {
    // A lone continuation byte and a truncated sequence after a complete
    // date: shown as U+FFFD, never read past the end.
    EXPECT_EQ(leftOf(parseDay(std::string_view("2000-01-01\x80", 11))), "Unexpected '\xef\xbf\xbd', expecting end-of-input");
    EXPECT_EQ(leftOf(parseDay(std::string_view("2000-01-01\xe2\x82", 12))), "Unexpected '\xef\xbf\xbd', expecting end-of-input");
    // The same text held as core::Text gives the same message.
    EXPECT_EQ(leftOf(parseDay(core::Text(std::string_view("2000-01-01\xe2\x82", 12)))),
              "Unexpected '\xef\xbf\xbd', expecting end-of-input");
}

TEST(ParseDay, ANullCStringReadsAsEmpty) {
    const char* none = nullptr;
    EXPECT_EQ(leftOf(parseDay(none)), "Unexpected end-of-input, expecting -, +, or a digit");
}

TEST(ParseDay, ReadsASliceOfASharedText) {
    const core::Text whole("xx2024-02-29yy");
    const core::Text slice = whole.sliceBytes(2, 10);
    EXPECT_EQ(*parseDay(slice), kalmet::fromGregorian(2024, 2, 29));
    EXPECT_EQ(leftOf(parseDay(whole.sliceBytes(2, 11))), "Unexpected 'y', expecting end-of-input");
}

TEST(ParseQuarterOfYear, ValuesAndMessages) {
    EXPECT_EQ(*parseQuarterOfYear("q3"), kalmet::Q3);
    EXPECT_EQ(*parseQuarterOfYear("Q1"), kalmet::Q1);
    EXPECT_EQ(*parseQuarterOfYear("Q4"), kalmet::Q4);
    EXPECT_EQ(leftOf(parseQuarterOfYear("Q5")), "Unexpected '5', expecting QuarterOfYear digit");
    EXPECT_EQ(leftOf(parseQuarterOfYear("Q0")), "Unexpected '0', expecting QuarterOfYear digit");
    EXPECT_EQ(leftOf(parseQuarterOfYear("Q")), "Unexpected end-of-input, expecting Quarter digit");
    EXPECT_EQ(leftOf(parseQuarterOfYear("3")), "Unexpected '3', expecting QuarterOfYear");
    EXPECT_EQ(leftOf(parseQuarterOfYear("")), "Unexpected end-of-input, expecting QuarterOfYear");
    EXPECT_EQ(leftOf(parseQuarterOfYear("Q1\xc3\xa9")), "Unexpected '\xc3\xa9', expecting end-of-input");
    EXPECT_EQ(leftOf(parseQuarterOfYear("Q\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseQuarterOfYear("Q12")), "Unexpected '2', expecting end-of-input");
}

TEST(ParseQuarter, ValuesAndMessages) {
    const kalmet::Quarter q2 = kalmet::YearQuarter(2000, kalmet::Q2);
    EXPECT_EQ(*parseQuarter("2000-Q2"), q2);
    EXPECT_EQ(*parseQuarter("2000-q2"), q2);
    EXPECT_EQ(*parseQuarter("-0001-Q4"), kalmet::Quarter(kalmet::YearQuarter(-1, kalmet::Q4)));
    EXPECT_EQ(leftOf(parseQuarter("2000-")), "Unexpected end-of-input, expecting QuarterOfYear");
    EXPECT_EQ(leftOf(parseQuarter("2000-Q")), "Unexpected end-of-input, expecting Quarter digit");
    EXPECT_EQ(leftOf(parseQuarter("2000-Q9")), "Unexpected '9', expecting QuarterOfYear digit");
    EXPECT_EQ(leftOf(parseQuarter("2000Q1")), "Unexpected 'Q', expecting a dash after a year part");
    EXPECT_EQ(leftOf(parseQuarter("2000-Q1 ")), "Unexpected ' ', expecting end-of-input");
}

TEST(Message, TextIsWrittenFromItsParts) {
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Message::text("Non-ASCII character"), "Non-ASCII character");
    EXPECT_EQ(Message::unexpected("\xe2\x82\xac", "a digit"), "Unexpected '\xe2\x82\xac', expecting a digit");
    EXPECT_EQ(Message::unexpectedEscaped('\x01', "x"), "Unexpected '\\SOH', expecting x");
    const Integer year = big("-123456789012345678901234567890");
    const Message m = Message::fields("invalid day:", &year, {2, 30});
    EXPECT_EQ(m, "invalid day:(-123456789012345678901234567890,2,30)");
    Message copy;
    copy = m;
    EXPECT_EQ(copy.str(), m.str());
    EXPECT_EQ(Message::fields("Invalid time of day:", nullptr, {24, 0, 0}, true),
              "Invalid time of day:(24,0,0.000000000000)");
    EXPECT_EQ(Message::fields("t:", nullptr, {1, 61'000'000'000'001}, true), "t:(1,61.000000000001)");
    EXPECT_EQ(Message::fields("t:", nullptr, {INT64_MIN}, true), "t:(-9223372.036854775808)");
    std::string out = "> ";
    m.appendTo(out);
    EXPECT_EQ(out, "> " + m.str());
}

namespace {

// A year in -10^30..10^30 written with the sign and padding the grammar
// allows.
struct WrittenYear {
    Integer value;
    std::string text;
};

rc::Gen<WrittenYear> genWrittenYear() {
    return rc::gen::map(
        rc::gen::tuple(rc::gen::inRange(1, 31), rc::gen::container<std::string>(30, rc::gen::inRange('0', ':')),
                       rc::gen::inRange(0, 3), rc::gen::inRange(0, 3)),
        [](const std::tuple<int, std::string, int, int>& t) {
            const auto& [len, digits, sign, pad] = t;
            std::string run = digits.substr(0, static_cast<std::size_t>(len));
            const Integer magnitude = Integer::fromDigits(run);
            while (run.size() < 4) run.insert(run.begin(), '0');
            run.insert(0, static_cast<std::size_t>(pad), '0');
            const bool negative = sign == 1;
            const std::string prefix = sign == 0 ? "" : (negative ? "-" : "+");
            return WrittenYear{negative ? -magnitude : magnitude, prefix + run};
        });
}

std::string twoDigits(core::Int v) { return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)}; }

}  // namespace

RC_GTEST_PROP(DateParsers, WrittenDatesParseToTheSameValue, ()) {
    const WrittenYear y = *genWrittenYear();
    const auto m = *rc::gen::inRange<core::Int>(1, 13);
    const auto d = *rc::gen::inRange<core::Int>(1, kalmet::gregorianMonthLength(y.value, m) + 1);
    RC_ASSERT(*parseYear(y.text) == y.value);
    RC_ASSERT(*parseMonth(y.text + "-" + twoDigits(m)) == kalmet::Month(kalmet::YearMonth(y.value, m)));
    const std::string dayText = y.text + "-" + twoDigits(m) + "-" + twoDigits(d);
    const auto day = parseDay(core::Text(dayText));
    RC_ASSERT(day.isRight());
    RC_ASSERT(*day == kalmet::fromGregorian(y.value, m, d));
    RC_ASSERT(kalmet::toGregorian(*day) == (kalmet::YearMonthDay{y.value, m, d}));
    const auto q = static_cast<kalmet::QuarterOfYear>(*rc::gen::inRange(1, 5));
    RC_ASSERT(*parseQuarter(y.text + "-Q" + std::to_string(kalmet::fromQuarterOfYear(q))) ==
              kalmet::Quarter(kalmet::YearQuarter(y.value, q)));
}

RC_GTEST_PROP(DateParsers, OutOfRangeDaysAreRejectedWithTheirFields, ()) {
    const WrittenYear y = *genWrittenYear();
    const auto m = *rc::gen::inRange<core::Int>(0, 100);
    const auto d = *rc::gen::inRange<core::Int>(0, 100);
    const std::string text = y.text + "-" + twoDigits(m) + "-" + twoDigits(d);
    const auto r = parseDay(text);
    const bool valid = kalmet::fromGregorianValid(y.value, m, d).has_value();
    RC_ASSERT(r.isRight() == valid);
    if (!valid)
        RC_ASSERT(r.left() == "invalid day:(" + y.value.toString() + "," + std::to_string(m) + "," + std::to_string(d) + ")");
}

// Taking the value of a failed parse raises an error that still says what
// the parser found wrong.
TEST(ParseFailureAccess, ValueOfALeftCarriesTheParsersMessage) {
    const auto r = tarvel::parseDay("x");
    ASSERT_TRUE(r.isLeft());
    try {
        (void)*r;
        FAIL() << "no error raised";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(),
                     "Either::value: the value is a Left: Unexpected 'x', expecting -, +, or a digit");
    }
    const core::Either<std::string, int> text = core::Left(std::string("bad input"));
    EXPECT_THROW(
        {
            try {
                (void)text.value();
            } catch (const core::Error& e) {
                EXPECT_STREQ(e.what(), "Either::value: the value is a Left: bad input");
                throw;
            }
        },
        core::Error);
    const core::Either<int, int> number = core::Left(-7);
    try {
        (void)std::move(number).value();
        FAIL() << "no error raised";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "Either::value: the value is a Left: -7");
    }
}
