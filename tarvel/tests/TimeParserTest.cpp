// The time, zone and timestamp parsers: every message and the order of
// checks, grouped by parser, and round trips of written timestamps.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>

#include "Data/Time/Calendar.h"
#include "Data/Time/FromText.h"

using namespace tarvel;
using core::Integer;
using kalmet::Pico;
using kalmet::TimeOfDay;

namespace {

template <class T>
std::string leftOf(const Result<T>& r) {
    return r.isLeft() ? r.left().str() : std::string("<Right>");
}

constexpr core::Int second = 1'000'000'000'000;

TimeOfDay tod(core::Int h, core::Int m, core::Int ps) { return TimeOfDay{h, m, Pico::fromPicoseconds(ps)}; }

kalmet::UTCTime utcAt(core::Int y, core::Int mo, core::Int d, core::Int h, core::Int mi, core::Int ps = 0) {
    return kalmet::UTCTime{kalmet::fromGregorian(y, mo, d),
                           kalmet::DiffTime::fromPicoseconds(h * 3600 * second + mi * 60 * second + ps)};
}

}  // namespace

TEST(ParseTimeOfDay, Values) {
    EXPECT_EQ(*parseTimeOfDay("12:30"), tod(12, 30, 0));
    EXPECT_EQ(*parseTimeOfDay("12:30:45"), tod(12, 30, 45 * second));
    EXPECT_EQ(*parseTimeOfDay("12:30:45.5"), tod(12, 30, 45 * second + 500'000'000'000));
    EXPECT_EQ(*parseTimeOfDay("00:00:00.000000000001"), tod(0, 0, 1));
    EXPECT_EQ(*parseTimeOfDay("23:59:60.999999999999"), tod(23, 59, 61 * second - 1));
    EXPECT_EQ(*parseTimeOfDay("00:00"), kalmet::midnight);
}

TEST(ParseTimeOfDay, Messages) {
    EXPECT_EQ(leftOf(parseTimeOfDay("")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseTimeOfDay("23:59:61")), "Invalid time of day:(23,59,61.000000000000)");
    EXPECT_EQ(leftOf(parseTimeOfDay("24:00")), "Invalid time of day:(24,0,0.000000000000)");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:60")), "Invalid time of day:(12,60,0.000000000000)");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:30:99.5")), "Invalid time of day:(12,30,99.500000000000)");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:30:45.")), "Expecting at least one decimal after a dot");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:30:45.x")), "Expecting at least one decimal after a dot");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:30:45.1234567890123")), "Unexpectedly over twelve decimals");
    EXPECT_EQ(leftOf(parseTimeOfDay("99:30:45.1234567890123")), "Unexpectedly over twelve decimals");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:30:45,5")), "Unexpected ',', expecting end-of-input");
    EXPECT_EQ(leftOf(parseTimeOfDay("1230")), "Unexpected '3', expecting a colon, :");
    EXPECT_EQ(leftOf(parseTimeOfDay("12")), "Unexpected end-of-input, expecting a colon, :");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:3")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:30:")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseTimeOfDay("1x:00")), "Unexpected 'x', expecting a digit");
    // A stray character comes before validation.
    EXPECT_EQ(leftOf(parseTimeOfDay("24:00x")), "Unexpected 'x', expecting end-of-input");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:00\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:00:00\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:00:00.5\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseTimeOfDay("12:00:00.5 ")), "Unexpected ' ', expecting end-of-input");
}

TEST(ParseTimeZone, ValuesAndMessages) {
    EXPECT_EQ(*parseTimeZone("Z"), kalmet::TimeZone{});
    // "Z" is UTC without a name: utcTimeZone, not the named utc().
    EXPECT_EQ(*parseTimeZone("Z"), kalmet::utcTimeZone);
    EXPECT_NE(*parseTimeZone("Z"), kalmet::utc());
    EXPECT_EQ(parseTimeZone("+05")->minutes, 300);
    EXPECT_EQ(parseTimeZone("+0530")->minutes, 330);
    EXPECT_EQ(parseTimeZone("+05:30")->minutes, 330);
    EXPECT_EQ(parseTimeZone("-08:00")->minutes, -480);
    EXPECT_EQ(*parseTimeZone("-00:00"), kalmet::TimeZone{});
    EXPECT_EQ(parseTimeZone("+23:59")->minutes, 1439);
    EXPECT_EQ(leftOf(parseTimeZone("z")), "Unexpected 'z', expecting timezone: Z, +HH:MM or -HH:MM");
    EXPECT_EQ(leftOf(parseTimeZone("")), "Unexpected end-of-input, expecting timezone: Z, +HH:MM or -HH:MM");
    EXPECT_EQ(leftOf(parseTimeZone("\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseTimeZone("Z!")), "Unexpected '!', expecting end-of-input");
    EXPECT_EQ(leftOf(parseTimeZone("+05-30")), "Unexpected '-', expecting colon or a digit");
    EXPECT_EQ(leftOf(parseTimeZone("+5")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseTimeZone("+05:3")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseTimeZone("+053")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseTimeZone("+05:")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseTimeZone("+24:00")), "Invalid TimeZone:(24,0)");
    EXPECT_EQ(leftOf(parseTimeZone("+25")), "Invalid TimeZone:(25,0)");
    EXPECT_EQ(leftOf(parseTimeZone("-10:60")), "Invalid TimeZone:(10,60)");
    // The end of the input is required before the ranges are checked.
    EXPECT_EQ(leftOf(parseTimeZone("+25:00x")), "Unexpected 'x', expecting end-of-input");
    EXPECT_EQ(leftOf(parseTimeZone("+05:30\xc3\xa9")), "Unexpected '\xc3\xa9', expecting end-of-input");
    EXPECT_EQ(leftOf(parseTimeZone("+05\xc3\xa9")), "Non-ASCII character");
}

TEST(ParseLocalTime, ValuesAndMessages) {
    const kalmet::LocalTime noon{kalmet::fromGregorian(2000, 1, 1), tod(12, 0, 0)};
    EXPECT_EQ(*parseLocalTime("2000-01-01T12:00"), noon);
    EXPECT_EQ(*parseLocalTime("2000-01-01 12:00"), noon);
    EXPECT_EQ(*parseLocalTime("-0001-12-31T23:59:60.25"),
              (kalmet::LocalTime{kalmet::fromGregorian(-1, 12, 31), tod(23, 59, 60 * second + 250'000'000'000)}));
    EXPECT_EQ(leftOf(parseLocalTime("2000-01-01T24:00x")), "Invalid time of day:(24,0,0.000000000000)");
    EXPECT_EQ(leftOf(parseLocalTime("2000-01-01T12:00x")), "Unexpected 'x', expecting end-of-input");
    EXPECT_EQ(leftOf(parseLocalTime("2000-01-01T12:00\xc3\xa9")), "Non-ASCII character");
    EXPECT_EQ(leftOf(parseLocalTime("2000-01-01t12:00")), "Unexpected 't', expecting a day separator, T or space");
    EXPECT_EQ(leftOf(parseLocalTime("2000-01-01")), "Unexpected end-of-input, expecting a day separator, T or space");
    EXPECT_EQ(leftOf(parseLocalTime("2000-02-30T12:00")), "invalid day:(2000,2,30)");
    EXPECT_EQ(leftOf(parseLocalTime("2000-02-30x")), "invalid day:(2000,2,30)");
    EXPECT_EQ(leftOf(parseLocalTime("2000-01-01T")), "Unexpected end-of-input, expecting a digit");
    EXPECT_EQ(leftOf(parseLocalTime("2000-01-01T12:00:00.")), "Expecting at least one decimal after a dot");
}

TEST(ParseUTCTime, ValuesAndMessages) {
    EXPECT_EQ(*parseUTCTime("2000-01-01T12:00Z"), utcAt(2000, 1, 1, 12, 0));
    EXPECT_EQ(*parseUTCTime("2000-01-01T12:00+01:00"), utcAt(2000, 1, 1, 11, 0));
    EXPECT_EQ(*parseUTCTime("2000-01-01T23:30-01:00"), utcAt(2000, 1, 2, 0, 30));
    EXPECT_EQ(*parseUTCTime("2000-01-01T00:30+0100"), utcAt(1999, 12, 31, 23, 30));
    EXPECT_EQ(*parseUTCTime("2024-02-29T12:34:56.123456789+05:30"), utcAt(2024, 2, 29, 7, 4, 56'123'456'789'000));
    // A leap second stays within its day.
    EXPECT_EQ(*parseUTCTime("2016-12-31T23:59:60Z"), utcAt(2016, 12, 31, 23, 59, 60 * second));
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T12:00")), "Unexpected end-of-input, expecting timezone");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T25:00Z")), "Invalid time of day:(25,0,0.000000000000)");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T12:00 Z")), "Unexpected ' ', expecting timezone: Z, +HH:MM or -HH:MM");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T12:00.5Z")), "Unexpected '.', expecting timezone: Z, +HH:MM or -HH:MM");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T12:00z")), "Unexpected 'z', expecting timezone: Z, +HH:MM or -HH:MM");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T23:30-01:00x")), "Unexpected 'x', expecting end-of-input");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T12:00Z\xc3\xa9")), "Unexpected '\xc3\xa9', expecting end-of-input");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T12:00+24:00")), "Invalid TimeZone:(24,0)");
    EXPECT_EQ(leftOf(parseUTCTime("2000-01-01T25:00+24:00")), "Invalid time of day:(25,0,0.000000000000)");
}

TEST(ParseZonedTime, KeepsTheLocalTimeAndZone) {
    const auto z = parseZonedTime("2000-01-01T12:00:00+05:30");
    ASSERT_TRUE(z.isRight());
    EXPECT_EQ(z->localTime, (kalmet::LocalTime{kalmet::fromGregorian(2000, 1, 1), tod(12, 0, 0)}));
    EXPECT_EQ(z->zone, kalmet::minutesToTimeZone(330));
    EXPECT_EQ(parseZonedTime("2000-01-01T12:00Z")->zone, kalmet::TimeZone{});
    EXPECT_EQ(kalmet::zonedTimeToUTC(*z), utcAt(2000, 1, 1, 6, 30));
    EXPECT_EQ(leftOf(parseZonedTime("2000-01-01T12:00")), "Unexpected end-of-input, expecting timezone");
}

namespace {

std::string pad(core::Int v, std::size_t width) {
    std::string s = std::to_string(v);
    return std::string(width > s.size() ? width - s.size() : 0, '0') + s;
}

}  // namespace

RC_GTEST_PROP(TimestampParsers, WrittenTimestampsParseToTheirValues, ()) {
    // A year far outside 0..9999, any time of day including leap seconds,
    // 0 to 12 decimals, and every zone form.
    const auto yearDigits = *rc::gen::inRange(4, 25);
    std::string yearText;
    for (int i = 0; i < yearDigits; ++i) yearText += static_cast<char>('0' + *rc::gen::inRange(0, 10));
    const bool negative = *rc::gen::arbitrary<bool>();
    const Integer year = negative ? -Integer::fromDigits(yearText) : Integer::fromDigits(yearText);
    const auto month = *rc::gen::inRange<core::Int>(1, 13);
    const auto day = *rc::gen::inRange<core::Int>(1, kalmet::gregorianMonthLength(year, month) + 1);
    const auto hour = *rc::gen::inRange<core::Int>(0, 24);
    const auto minute = *rc::gen::inRange<core::Int>(0, 60);
    const auto sec = *rc::gen::inRange<core::Int>(0, 61);
    const auto decimals = *rc::gen::inRange(0, 13);
    const auto fraction = decimals == 0 ? 0 : *rc::gen::inRange<core::Int>(0, 1'000'000'000'000) / [&] {
        core::Int p = 1;
        for (int i = decimals; i < 12; ++i) p *= 10;
        return p;
    }();
    std::string text = (negative ? "-" : "") + yearText + "-" + pad(month, 2) + "-" + pad(day, 2) +
                       (*rc::gen::arbitrary<bool>() ? "T" : " ") + pad(hour, 2) + ":" + pad(minute, 2);
    core::Int ps = 0;
    const bool withSeconds = sec != 0 || decimals != 0 || *rc::gen::arbitrary<bool>();
    if (withSeconds) {
        text += ":" + pad(sec, 2);
        ps = sec * second;
        if (decimals > 0) {
            text += "." + pad(fraction, static_cast<std::size_t>(decimals));
            core::Int scale = 1;
            for (int i = decimals; i < 12; ++i) scale *= 10;
            ps += fraction * scale;
        }
    }
    const kalmet::LocalTime local{kalmet::fromGregorian(year, month, day), tod(hour, minute, ps)};
    RC_ASSERT(*parseLocalTime(text) == local);

    const auto zoneForm = *rc::gen::inRange(0, 4);
    const auto zh = *rc::gen::inRange<core::Int>(0, 24);
    const auto zm = zoneForm == 1 ? 0 : *rc::gen::inRange<core::Int>(0, 60);
    const bool zneg = *rc::gen::arbitrary<bool>();
    std::string zoneText;
    kalmet::TimeZone zone;
    if (zoneForm == 0) {
        zoneText = "Z";
    } else {
        zoneText = std::string(zneg ? "-" : "+") + pad(zh, 2);
        if (zoneForm == 2) zoneText += pad(zm, 2);
        if (zoneForm == 3) zoneText += ":" + pad(zm, 2);
        zone.minutes = (zneg ? -1 : 1) * (zh * 60 + zm);
    }
    RC_ASSERT(*parseTimeZone(zoneText) == zone);
    const auto zoned = parseZonedTime(text + zoneText);
    RC_ASSERT(zoned.isRight());
    RC_ASSERT(*zoned == (kalmet::ZonedTime{local, zone}));
    RC_ASSERT(*parseUTCTime(text + zoneText) == kalmet::localTimeToUTC(zone, local));
}
