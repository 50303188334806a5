// Padding and reading back: space-padded numbers directly followed by
// other numbers, every number directive under every padding flag, names
// padded with blanks, and the zone that an offset "Z" reads as.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>
#include <vector>

#include "Data/Time/Calendar.h"
#include "Data/Time/Calendar/WeekDate.h"
#include "Data/Time/Clock/POSIX.h"
#include "Data/Time/Format.h"

using namespace kalmet;
using core::Integer;

namespace {

const TimeLocale& en = defaultTimeLocale();
constexpr core::Int second = 1'000'000'000'000;

// "%Y%m%d" with the flag before every directive: "%_Y%_m%_d".
std::string flagged(const std::string& flag, const std::vector<std::string>& directives, const std::string& sep) {
    std::string out;
    for (std::size_t i = 0; i < directives.size(); ++i) {
        if (i > 0) out += sep;
        out += "%" + flag + directives[i];
    }
    return out;
}

template <class T, class V>
void readsBack(const std::string& format, const V& value, const T& expected) {
    const std::string text = formatTime(en, format, value);
    const auto back = parseTimeMultipleM<T>(false, en, {{format, text}});
    if (!back) RC_FAIL("\"" + format + "\" wrote \"" + text + "\": " + back.left());
    if (!(*back == expected)) RC_FAIL("\"" + format + "\" wrote \"" + text + "\", which reads back as another value");
}

}  // namespace

TEST(FormatPadding, SpacePaddedNumbersLeaveTheRestOfTheirWidth) {
    EXPECT_EQ(parseTime<Day>(en, "%e%m%Y", " 5022024"), std::optional(fromGregorian(2024, 2, 5)));
    EXPECT_EQ(parseTime<Day>(en, "%e%m%Y", "15022024"), std::optional(fromGregorian(2024, 2, 15)));
    EXPECT_EQ(parseTime<TimeOfDay>(en, "%k%M%S", " 70809"), std::optional(TimeOfDay{7, 8, Pico::fromSeconds(9)}));
    EXPECT_EQ(parseTime<TimeOfDay>(en, "%l%M%p", " 105PM"), std::optional(TimeOfDay{13, 5, Pico()}));
    EXPECT_EQ(parseTime<Month>(en, "%_3m%Y", "  22024"), std::optional(fromYearMonth(2024, 2)));
    // A blank run wider than the field still leaves it one digit.
    EXPECT_EQ(parseTime<Day>(en, "%Y-%e%m", "2024-   502"), std::optional(fromGregorian(2024, 2, 5)));
    EXPECT_EQ(parseTime<Day>(en, "%Y-%e%m", "2024-1502"), std::optional(fromGregorian(2024, 2, 15)));
    // A blank of the format before such a number takes one white-space
    // character; the rest pad the number.
    EXPECT_EQ(parseTime<Day>(en, "%Y %e%m", "2024  502"), std::optional(fromGregorian(2024, 2, 5)));
    EXPECT_EQ(parseTime<Day>(en, "%Y %e%m", "2024 1502"), std::optional(fromGregorian(2024, 2, 15)));
    EXPECT_EQ(parseTime<Month>(en, "%Y %_m", "2024 \t  2"), std::optional(fromYearMonth(2024, 2)));
}

RC_GTEST_PROP(FormatPadding, EveryNumberDirectiveUnderEveryFlagReadsBack, ()) {
    const Day day = fromOrdinalDate(*rc::gen::inRange<core::Int>(0, 10000), *rc::gen::inRange<core::Int>(1, 366));
    const TimeOfDay time{*rc::gen::inRange<core::Int>(0, 24), *rc::gen::inRange<core::Int>(0, 60),
                         Pico::fromPicoseconds(Integer(*rc::gen::inRange<core::Int>(0, 60) * second +
                                                       *rc::gen::inRange<core::Int>(0, 1000) * 1'000'000'000))};
    const std::vector<std::vector<std::string>> dates{{"Y", "m", "d"}, {"Y", "m", "e"}, {"Y", "j"},
                                                      {"C", "y", "m", "d"}, {"G", "V", "u"}, {"G", "V", "w"},
                                                      {"Y", "U", "w"}, {"Y", "W", "u"}, {"y", "m", "d"}};
    const std::vector<std::vector<std::string>> times{{"H", "M", "S", "3q"}, {"k", "M", "S", "3q"},
                                                      {"I", "M", "S", "3q"}, {"l", "M", "S", "3q"}};
    const Integer year = toGregorian(day).year;
    for (const std::string flag : {"", "0", "_", "-"}) {
        // Fields of a fixed width run together; unpadded ones need a
        // separator to be told apart.
        const std::string sep = flag == "-" ? "." : "";
        for (const auto& ds : dates) {
            if (ds[0] == "y" && (year < Integer(1969) || year > Integer(2068))) continue;
            readsBack<Day>(flagged(flag, ds, sep), day, day);
        }
        for (const auto& ts : times) {
            const bool twelve = ts[0] == "I" || ts[0] == "l";
            readsBack<TimeOfDay>(flagged(flag, ts, sep) + (twelve ? " %p" : ""), time, time);
        }
        // A blank of the format before a padded number.
        readsBack<Day>(flagged(flag, {"Y", "e", "m"}, " "), day, day);
        if (flag != "-") {
            const TimeOfDay whole{time.hour, time.minute,
                                  Pico::fromSeconds(core::div(time.seconds.picoseconds(), Integer(second)))};
            readsBack<TimeOfDay>("%H %" + flag + "k%M %" + flag + "l%S %p", whole, whole);
        }
        readsBack<UTCTime>("%" + flag + "s", UTCTime{day, timeOfDayToTime(time)},
                           posixSecondsToUTCTime(POSIXTime::fromSeconds(
                               core::div(utcTimeToPOSIXSeconds(UTCTime{day, timeOfDayToTime(time)}).picoseconds(),
                                         Integer(second)))));
    }
}

TEST(FormatPadding, NamesArePaddedWithBlanks) {
    const UTCTime t = posixSecondsToUTCTime(POSIXTime::fromSeconds(250));
    EXPECT_EQ(formatTime(en, "%05Z", t), "  UTC");
    EXPECT_EQ(formatTime(en, "%s%05Z", t), "250  UTC");
    EXPECT_EQ(formatTime(en, "%08a|%_8b|%-8B", fromGregorian(2024, 2, 29)), "     Thu|     Feb|February");
    // What they write reads back, the zone name after its blanks.
    for (const char* format : {"%s%05Z", "%s%0050Z", "%s%5Z"}) {
        const auto back = parseTimeMultipleM<UTCTime>(false, en, {{format, formatTime(en, format, t)}});
        ASSERT_TRUE(back) << format << ": " << back.left();
        EXPECT_EQ(*back, t) << format;
    }
    EXPECT_EQ(parseTime<ZonedTime>(en, "%F %T %6Z", "2024-02-29 12:00:00    EST")->zone.name, "EST");
}

TEST(UTCZones, AnOffsetZReadsAsTheZoneWithoutAName) {
    EXPECT_EQ(utcTimeZone, minutesToTimeZone(0));
    EXPECT_EQ(utcTimeZone.name, "");
    EXPECT_NE(utcTimeZone, utc());
    EXPECT_EQ(utc().minutes, utcTimeZone.minutes);
    for (const char* text : {"Z", "+0000", "+00:00"})
        EXPECT_EQ(parseTime<TimeZone>(en, "%Ez", text), std::optional(utcTimeZone)) << text;
    EXPECT_EQ(parseTime<TimeZone>(en, "%Z", "UTC"), std::optional(utc()));
}
