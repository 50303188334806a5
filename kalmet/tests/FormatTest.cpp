// Writing and reading dates and times by format: every directive and flag
// on known values, the wrappers' white space and failures, fields that
// contradict each other or do not suffice, and the round trip of formatTime
// through the readers for every directive that carries enough information.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>

#include "Data/Time/Calendar.h"
#include "Data/Time/Calendar/WeekDate.h"
#include "Data/Time/Clock/POSIX.h"
#include "Data/Time/Format.h"

using namespace kalmet;
using core::Integer;

namespace {

const TimeLocale& en = defaultTimeLocale();

constexpr core::Int second = 1'000'000'000'000;

TimeOfDay tod(core::Int h, core::Int m, core::Int ps) { return TimeOfDay{h, m, Pico::fromPicoseconds(ps)}; }

// 2024-02-29 (a Thursday) at 13:05:07.5 in +05:30.
const Day leapDay = fromGregorian(2024, 2, 29);
const ZonedTime zoned{{leapDay, tod(13, 5, 7 * second + second / 2)}, minutesToTimeZone(330)};

template <class T>
std::string failure(const core::Either<std::string, T>& r) {
    return r ? std::string("<Right>") : r.left();
}

template <class T>
core::Either<std::string, T> read1(const std::string& format, const std::string& input) {
    return parseTimeMultipleM<T>(false, en, {{format, input}});
}

}  // namespace

// ---------------------------------------------------------------- writing

TEST(FormatTime, DateDirectives) {
    EXPECT_EQ(formatTime(en, "%Y %C %y %G %g %m %d %e %j", leapDay), "2024 20 24 2024 24 02 29 29 060");
    EXPECT_EQ(formatTime(en, "%a %A %b %B %h %u %w %U %W %V", leapDay), "Thu Thursday Feb February Feb 4 4 08 09 09");
    EXPECT_EQ(formatTime(en, "%F|%D|%x", leapDay), "2024-02-29|02/29/24|02/29/24");
    // 2021-01-01 is a Friday of ISO week 53 of 2020, in week 0 of both
    // %U and %W.
    EXPECT_EQ(formatTime(en, "%G-W%V-%u %U %W %e", fromGregorian(2021, 1, 1)), "2020-W53-5 00 00  1");
    // Years before 1000, negative ones and ones beyond 64 bits.
    EXPECT_EQ(formatTime(en, "%Y %C %y", fromGregorian(5, 1, 1)), "0005 00 05");
    EXPECT_EQ(formatTime(en, "%Y %C %y", fromGregorian(-5, 1, 1)), "-0005 -01 95");
    const Year huge = *Integer::fromString("1000000000000000000000000000000");
    EXPECT_EQ(formatTime(en, "%Y %C", fromGregorian(huge, 1, 1)),
              "1000000000000000000000000000000 10000000000000000000000000000");
    EXPECT_EQ(formatTime(en, "%B %Y", fromYearMonth(1999, 12)), "December 1999");
    EXPECT_EQ(formatTime(en, "%a %A %u %w", Sunday), "Sun Sunday 7 0");
}

TEST(FormatTime, TimeAndZoneDirectives) {
    EXPECT_EQ(formatTime(en, "%H %k %I %l %M %S %p %P", zoned), "13 13 01  1 05 07 PM pm");
    EXPECT_EQ(formatTime(en, "%q|%3q|%Q|%1Q|%T|%R|%r|%X", zoned),
              "500000000000|500|.5|.5|13:05:07|13:05|01:05:07 PM|13:05:07");
    EXPECT_EQ(formatTime(en, "%z %Ez %Z %s", zoned), "+0530 +05:30 +0530 1709192107");
    EXPECT_EQ(formatTime(en, "%c", zoned), "Thu Feb 29 13:05:07 +0530 2024");
    const UTCTime u = zonedTimeToUTC(zoned);
    EXPECT_EQ(formatTime(en, "%F %T%Q %z %Z %s", u), "2024-02-29 07:35:07.5 +0000 UTC 1709192107");
    // Midnight and noon on the 12-hour clock, whole seconds, a leap second.
    EXPECT_EQ(formatTime(en, "%I %p|%Q|%q", midnight), "12 AM||000000000000");
    EXPECT_EQ(formatTime(en, "%I %p", midday), "12 PM");
    EXPECT_EQ(formatTime(en, "%T%Q", tod(23, 59, 60 * second + 1)), "23:59:60.000000000001");
    const UTCTime leap{fromGregorian(2016, 12, 31), DiffTime::fromPicoseconds(Integer(86400 * second + second / 4))};
    EXPECT_EQ(formatTime(en, "%F %T%Q", leap), "2016-12-31 23:59:60.25");
    EXPECT_EQ(formatTime(en, "%Z %z", TimeZone{-300, false, "EST"}), "EST -0500");
    EXPECT_EQ(formatTime(en, "%Ez", minutesToTimeZone(-1)), "-00:01");
    EXPECT_EQ(formatTime(en, "%z", minutesToTimeZone(6000)), "+10000");
    EXPECT_EQ(formatTime(en, "100%% %n%t", midnight), "100% \n\t");
}

TEST(FormatTime, PaddingWidthAndCase) {
    const Day d = fromGregorian(-5, 3, 7);
    EXPECT_EQ(formatTime(en, "%-m/%-d %_m/%_d %0e %-Y %_6Y %06Y %3d", d), "3/7  3/ 7 07 -5      -5 -000005 007");
    EXPECT_EQ(formatTime(en, "%^A %#A %^b %#p %^P %#Z", zonedTimeToUTC(zoned)), "THURSDAY THURSDAY FEB am AM utc");
    EXPECT_EQ(formatTime(en, "%10B|%-10B|%010b|%3a", d), "     March|March|       Mar|Tue");
    // Case flags apply to each part of a composite; padding does not.
    EXPECT_EQ(formatTime(en, "%^c", zoned), "THU FEB 29 13:05:07 +0530 2024");
    EXPECT_EQ(formatTime(en, "%_5F", leapDay), "2024-02-29");
    // E and O are accepted; only %Ez differs.
    EXPECT_EQ(formatTime(en, "%EY %Od %OH %Ez", zoned), "2024 29 13 +05:30");
}

TEST(FormatTime, FormatsThatCannotBeWrittenRaise) {
    const auto message = [](auto f) -> std::string {
        try {
            f();
        } catch (const core::Error& e) {
            return e.what();
        }
        return "<no error>";
    };
    EXPECT_EQ(message([] { formatTime(en, "%Y %H", leapDay); }),
              "formatTime: %H needs a time of day, which a Day does not have");
    EXPECT_EQ(message([] { formatTime(en, "%d", fromYearMonth(2000, 1)); }),
              "formatTime: %d needs a date, which a Month does not have");
    EXPECT_EQ(message([] { formatTime(en, "%s", LocalTime{leapDay, midday}); }),
              "formatTime: %s needs an instant, which a LocalTime does not have");
    EXPECT_EQ(message([] { formatTime(en, "%K", leapDay); }), "formatTime: unknown directive \"%K\"");
    EXPECT_EQ(message([] { formatTime(en, "50%", leapDay); }),
              "formatTime: the format ends inside the directive \"%\"");
    EXPECT_EQ(message([] { formatTime(en, "%1001Y", leapDay); }), "formatTime: field width above 1000 in \"%1001\"");
    TimeLocale circular = en;
    circular.dateFmt = "%x";
    EXPECT_EQ(message([&] { formatTime(circular, "%x", leapDay); }),
              "formatTime: the locale's formats refer to each other without end");
    // Not circular, but 20 * 20 * 300 items.
    circular.dateTimeFmt = std::string(20 * 2, 'X');
    for (std::size_t i = 0; i < circular.dateTimeFmt.size(); i += 2) circular.dateTimeFmt[i] = '%';
    circular.timeFmt = circular.dateTimeFmt;
    for (std::size_t i = 1; i < circular.timeFmt.size(); i += 2) circular.timeFmt[i] = 'r';
    circular.time12Fmt = std::string(300, 'x');
    EXPECT_EQ(message([&] { formatTime(circular, "%c", leapDay); }),
              "formatTime: the format is too long once its composites are expanded");
    TimeLocale noNames = en;
    noNames.months.resize(1);
    EXPECT_EQ(message([&] { formatTime(noNames, "%B", leapDay); }), "formatTime: the locale has no name for a month");
    EXPECT_EQ(formatTime(noNames, "%B", fromGregorian(2000, 1, 5)), "January");
}

// ---------------------------------------------------------------- reading

TEST(ReadTime, WrappersAcceptSurroundingWhiteSpace) {
    EXPECT_EQ(parseTime<Day>(en, "%Y-%m-%d", " \t2024-02-29\n "), leapDay);
    EXPECT_EQ(parseTime<Day>(en, "%Y-%m-%d", "2024-02-29"), leapDay);
    EXPECT_EQ(parseTime<Day>(en, "%Y-%m-%d", "2024-02-29x"), std::nullopt);
    EXPECT_EQ(parseTime<Day>(en, "%Y-%m-%d", "2024/02/29"), std::nullopt);
    EXPECT_EQ(parseTime<Day>(en, "%Y-%m-%d", ""), std::nullopt);
    // Without white space accepted, a blank is an error.
    EXPECT_EQ(failure(parseTimeMultipleM<Day>(false, en, {{"%Y-%m-%d", " 2024-02-29"}})),
              "reading \" 2024-02-29\" with the format \"%Y-%m-%d\": expected a number for %Y at offset 0");
    EXPECT_EQ(readTime<Day>(en, "%F", " 2024-02-29 "), leapDay);
    try {
        readTime<Day>(en, "%F", "2024-02-30");
        FAIL() << "no error raised";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "reading \"2024-02-30\" with the format \"%F\": no day 30 in month 2 of 2024");
    }
    EXPECT_THROW(readTime<Day>(en, "%Q%", "x"), core::Error);
    // readsTime: the rest after the value; nothing when the front does not
    // match.
    const auto reader = readsTime<Day>(en, "%F");
    const auto r = reader(core::Text("  2024-02-29T12:00"));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].first, leapDay);
    EXPECT_EQ(r[0].second.view(), "T12:00");
    EXPECT_TRUE(reader(core::Text("x2024-02-29")).empty());
    EXPECT_TRUE(readsTime<Day>(en, "%Y-%m")(core::Text("2024-02")).empty());  // no day of month
}

TEST(ReadTime, NumbersNamesAndZones) {
    EXPECT_EQ(*read1<Day>("%Y%m%d", "20240229"), leapDay);
    EXPECT_EQ(*read1<Day>("%-m/%-d/%Y", "2/9/2024"), fromGregorian(2024, 2, 9));
    EXPECT_EQ(*read1<Day>("%e.%m.%Y", " 9.02.2024"), fromGregorian(2024, 2, 9));
    EXPECT_EQ(*read1<Day>("%Y-%j", "2024-060"), leapDay);
    EXPECT_EQ(*read1<Day>("%Y-%m-%d", "-0005-03-01"), fromGregorian(-5, 3, 1));
    EXPECT_EQ(*read1<Day>("%Y-%m-%d", "+12345-03-01"), fromGregorian(12345, 3, 1));
    EXPECT_EQ(*read1<Day>("%d %B %Y", "29 february 2024"), leapDay);
    EXPECT_EQ(*read1<Day>("%d %b %Y", "29 FEB 2024"), leapDay);
    EXPECT_EQ(*read1<Day>("%d %b %Y", "29 February 2024"), leapDay);  // the longest name that matches
    EXPECT_EQ(*read1<Day>("%A %d %B%Y", "thursday 29 May2025"), fromGregorian(2025, 5, 29));
    // Week dates of both kinds and ISO weeks.
    EXPECT_EQ(*read1<Day>("%G-W%V-%u", "2020-W53-5"), fromGregorian(2021, 1, 1));
    EXPECT_EQ(*read1<Day>("%Y %U %w", "2024 08 4"), leapDay);
    EXPECT_EQ(*read1<Day>("%Y %W %a", "2024 09 Thu"), leapDay);
    EXPECT_EQ(*read1<Day>("%Y %U %a", "2021 00 Fri"), fromGregorian(2021, 1, 1));
    // Two-digit years.
    EXPECT_EQ(*read1<Day>("%D", "02/29/24"), leapDay);
    EXPECT_EQ(*read1<Day>("%y-%m-%d", "69-01-01"), fromGregorian(1969, 1, 1));
    EXPECT_EQ(*read1<Day>("%y-%m-%d", "68-01-01"), fromGregorian(2068, 1, 1));
    EXPECT_EQ(*read1<Day>("%C%y-%m-%d", "1968-01-01"), fromGregorian(1968, 1, 1));
    EXPECT_EQ(*read1<Day>("%C%y-%m-%d", "-0195-01-01"), fromGregorian(-5, 1, 1));
    // Times.
    EXPECT_EQ(*read1<TimeOfDay>("%H:%M", "13:05"), tod(13, 5, 0));
    EXPECT_EQ(*read1<TimeOfDay>("%H", "13"), tod(13, 0, 0));
    EXPECT_EQ(*read1<TimeOfDay>("%I:%M %p", "12:30 am"), tod(0, 30, 0));
    EXPECT_EQ(*read1<TimeOfDay>("%l%P", " 1pm"), tod(13, 0, 0));
    EXPECT_EQ(*read1<TimeOfDay>("%T%Q", "23:59:60.999999999999"), tod(23, 59, 61 * second - 1));
    EXPECT_EQ(*read1<TimeOfDay>("%T.%3q", "01:02:03.004"), tod(1, 2, 3 * second + 4'000'000'000));
    EXPECT_EQ(*read1<TimeOfDay>("%H%M%S%q", "0102031"), tod(1, 2, 3 * second + 100'000'000'000));
    // Zones.
    EXPECT_EQ(*read1<TimeZone>("%z", "Z"), minutesToTimeZone(0));
    EXPECT_EQ(*read1<TimeZone>("%z", "+05"), minutesToTimeZone(300));
    EXPECT_EQ(*read1<TimeZone>("%z", "+0530"), minutesToTimeZone(330));
    EXPECT_EQ(*read1<TimeZone>("%Ez", "-08:00"), minutesToTimeZone(-480));
    EXPECT_EQ(*read1<TimeZone>("%Z", "est"), (TimeZone{-300, false, "EST"}));
    EXPECT_EQ(*read1<TimeZone>("%Z", "PDT"), (TimeZone{-420, true, "PDT"}));
    EXPECT_EQ(*read1<TimeZone>("%Z", "UTC"), utc());
    EXPECT_EQ(*read1<TimeZone>("%Z", "-0130"), minutesToTimeZone(-90));
    EXPECT_EQ(*read1<TimeZone>("%Z %z", "EST -0500"), (TimeZone{-300, false, "EST"}));
    // Instants.
    EXPECT_EQ(*read1<UTCTime>("%s", "0"), (UTCTime{systemEpochDay(), DiffTime()}));
    // Before 1970, %s is rounded down and %Q is the fraction after it.
    EXPECT_EQ(*read1<UTCTime>("%s%Q", "-2.5"),
              (UTCTime{fromGregorian(1969, 12, 31), DiffTime::fromPicoseconds(Integer(86398 * second + second / 2))}));
    EXPECT_EQ(*read1<UTCTime>("%F %T", "2000-01-01 12:00:00"),
              (UTCTime{fromGregorian(2000, 1, 1), DiffTime::fromPicoseconds(Integer(43200 * second))}));
    EXPECT_EQ(*read1<UTCTime>("%F %T %z", "2000-01-01 23:30:00 -0100"),
              (UTCTime{fromGregorian(2000, 1, 2), DiffTime::fromPicoseconds(Integer(1800 * second))}));
    EXPECT_EQ(*read1<Day>("%s %z", "1709192107 +0530"), leapDay);
    // Other targets.
    EXPECT_EQ(*read1<Month>("%Y-%m", "2024-02"), fromYearMonth(2024, 2));
    EXPECT_EQ(*read1<Month>("%F", "2024-02-29"), fromYearMonth(2024, 2));
    EXPECT_EQ(*read1<Quarter>("%B %Y", "August 2021"), fromYearQuarter(2021, Q3));
    EXPECT_EQ(*read1<DayOfWeek>("%A", "Sunday"), Sunday);
    EXPECT_EQ(*read1<DayOfWeek>("%w", "0"), Sunday);
    EXPECT_EQ(*read1<DayOfWeek>("%F", "2024-02-29"), Thursday);
    // Several inputs make one value.
    EXPECT_EQ((*parseTimeMultipleM<LocalTime>(false, en, {{"%F", "2024-02-29"}, {"%R", "12:30"}})),
              (LocalTime{leapDay, tod(12, 30, 0)}));
}

TEST(ReadTime, MismatchesNameThePlace) {
    EXPECT_EQ(failure(read1<Day>("%Y-%m-%d", "2024-1x-01")),
              "reading \"2024-1x-01\" with the format \"%Y-%m-%d\": expected '-' at offset 6");
    EXPECT_EQ(failure(read1<Day>("%Y-%m-%d", "2024-13-01")),
              "reading \"2024-13-01\" with the format \"%Y-%m-%d\": %m 13 out of range 1..12 at offset 7");
    EXPECT_EQ(failure(read1<Day>("%d %B %Y", "29 Fbruary 2024")),
              "reading \"29 Fbruary 2024\" with the format \"%d %B %Y\": expected a month name at offset 3");
    EXPECT_EQ(failure(read1<TimeZone>("%Z", "CEST")),
              "reading \"CEST\" with the format \"%Z\": unknown time zone \"CEST\" at offset 0");
    EXPECT_EQ(failure(read1<TimeZone>("%z", "+24:00")),
              "reading \"+24:00\" with the format \"%z\": zone offset out of range at offset 6");
    EXPECT_EQ(failure(read1<TimeOfDay>("%T%Q", "12:00:00.")),
              "reading \"12:00:00.\" with the format \"%T%Q\": expected decimals after '.' for %Q at offset 9");
    EXPECT_EQ(failure(read1<Day>("%F", "2024-02-29 ")),
              "reading \"2024-02-29 \" with the format \"%F\": text left over at offset 10: \" \"");
    EXPECT_EQ(failure(read1<Day>("%Y-%m-%k", "2024-02-29")),
              "reading \"2024-02-29\" with the format \"%Y-%m-%k\": %k 29 out of range 0..23 at offset 10");
    EXPECT_EQ(failure(read1<Day>("%F%", "2024-02-29")),
              "reading \"2024-02-29\" with the format \"%F%\": the format ends inside the directive \"%\"");
}

TEST(ReadTime, ContradictoryFieldsFail) {
    const auto fails = [](const std::string& format, const std::string& input) {
        return failure(read1<LocalTime>(format, input));
    };
    EXPECT_EQ(fails("%a %F %R", "Wed 2024-02-29 12:00"),
              "reading \"Wed 2024-02-29 12:00\" with the format \"%a %F %R\": the day of the week is not the date's");
    EXPECT_EQ(fails("%Y %y %m %d %R", "2024 23 02 29 12:00"),
              "reading \"2024 23 02 29 12:00\" with the format \"%Y %y %m %d %R\": the year of the century (%y) is "
              "not the date's");
    EXPECT_EQ(fails("%F %j %R", "2024-02-29 059 12:00"),
              "reading \"2024-02-29 059 12:00\" with the format \"%F %j %R\": the day of the year is not the date's");
    EXPECT_EQ(fails("%F %V %R", "2024-02-29 08 12:00"),
              "reading \"2024-02-29 08 12:00\" with the format \"%F %V %R\": the ISO week (%V) is not the date's");
    EXPECT_EQ(fails("%F %H:%M %p", "2024-02-29 13:00 AM"),
              "reading \"2024-02-29 13:00 AM\" with the format \"%F %H:%M %p\": the half of the day (%p) is not the "
              "time's");
    EXPECT_EQ(fails("%F %H %I:%M", "2024-02-29 13 02:00"),
              "reading \"2024-02-29 13 02:00\" with the format \"%F %H %I:%M\": the hour on the 12-hour clock is not "
              "the time's");
    EXPECT_EQ(fails("%F %R %m", "2024-02-29 12:00 03"),
              "reading \"2024-02-29 12:00 03\" with the format \"%F %R %m\": two values for the month: 2 and 3 (at "
              "offset 19)");
    EXPECT_EQ(failure(read1<ZonedTime>("%F %R %Z %z", "2024-02-29 12:00 EST +0100")),
              "reading \"2024-02-29 12:00 EST +0100\" with the format \"%F %R %Z %z\": the zone offset (%z) is not "
              "that of the zone EST");
    EXPECT_EQ(failure(read1<UTCTime>("%s %F", "0 1970-01-02")),
              "reading \"0 1970-01-02\" with the format \"%s %F\": the day of the month is not the date's");
    EXPECT_TRUE(read1<UTCTime>("%s %F %T", "86400 1970-01-02 00:00:00"));
}

TEST(ReadTime, MissingFieldsFail) {
    EXPECT_EQ(failure(read1<Day>("%m-%d", "02-29")),
              "reading \"02-29\" with the format \"%m-%d\": the fields read do not give a Day: no date");
    EXPECT_EQ(failure(read1<Day>("%C-%m-%d", "20-02-29")),
              "reading \"20-02-29\" with the format \"%C-%m-%d\": the fields read do not give a Day: no date");
    EXPECT_EQ(failure(read1<TimeOfDay>("%I:%M", "10:30")),
              "reading \"10:30\" with the format \"%I:%M\": %I or %l needs %p to give the hour");
    EXPECT_EQ(failure(read1<TimeOfDay>("%H:%S", "10:30")),
              "reading \"10:30\" with the format \"%H:%S\": the time has seconds but no minutes");
    EXPECT_EQ(failure(read1<LocalTime>("%F", "2024-02-29")),
              "reading \"2024-02-29\" with the format \"%F\": the fields read do not give a LocalTime: no hour");
    EXPECT_EQ(failure(read1<ZonedTime>("%F %T", "2024-02-29 12:00:00")),
              "reading \"2024-02-29 12:00:00\" with the format \"%F %T\": the fields read do not give a ZonedTime: "
              "no zone");
    EXPECT_EQ(failure(read1<LocalTime>("%s", "0")),
              "reading \"0\" with the format \"%s\": %s needs a zone (%z or %Z) to give a local date or time");
    EXPECT_EQ(failure(read1<DayOfWeek>("%d", "01")),
              "reading \"01\" with the format \"%d\": the fields read do not give a DayOfWeek: no day of the week");
    // Fields beyond what the type needs are still checked.
    EXPECT_EQ(failure(read1<TimeOfDay>("%F %R", "2024-02-30 12:00")),
              "reading \"2024-02-30 12:00\" with the format \"%F %R\": no day 30 in month 2 of 2024");
    EXPECT_EQ(failure(read1<Day>("%F %I", "2024-02-29 10")),
              "reading \"2024-02-29 10\" with the format \"%F %I\": %I or %l needs %p to give the hour");
}

// ------------------------------------------------------------ round trips

namespace {

// Years from -10^30 to 10^30, mostly small.
rc::Gen<Year> anyYear() {
    return rc::gen::weightedOneOf<Year>(
        {{5, rc::gen::map(rc::gen::inRange<core::Int>(-1200, 10000), [](core::Int y) { return Year(y); })},
         {1, rc::gen::map(rc::gen::pair(rc::gen::container<std::string>(30, rc::gen::inRange<char>('0', ':')),
                                        rc::gen::arbitrary<bool>()),
                          [](const std::pair<std::string, bool>& p) {
                              const Year y = *Integer::fromString(p.first);
                              return p.second ? -y : y;
                          })}});
}

rc::Gen<Day> dayOfYears(rc::Gen<Year> years) {
    return rc::gen::mapcat(std::move(years), [](const Year& y) {
        return rc::gen::map(rc::gen::inRange<core::Int>(1, isLeapYear(y) ? 367 : 366),
                            [y](core::Int yd) { return fromOrdinalDate(y, yd); });
    });
}

// Times of day from whole seconds to single picoseconds, leap seconds
// included.
rc::Gen<TimeOfDay> anyTime() {
    return rc::gen::apply(
        [](core::Int h, core::Int m, core::Int s, core::Int unit, core::Int n) {
            return tod(h, m, s * second + n % (second / unit) * unit);
        },
        rc::gen::inRange<core::Int>(0, 24), rc::gen::inRange<core::Int>(0, 60), rc::gen::inRange<core::Int>(0, 61),
        rc::gen::element(second, core::Int{1'000'000'000}, core::Int{1'000}, core::Int{1}),
        rc::gen::inRange<core::Int>(0, second));
}

// The value read back by the format it was written with.
template <class T, class V>
void roundTrip(const std::string& format, const V& value, const T& expected) {
    const std::string text = formatTime(en, format, value);
    const auto back = parseTimeMultipleM<T>(false, en, {{format, text}});
    if (!back) RC_FAIL(back.left());
    if (!(*back == expected)) RC_FAIL("\"" + format + "\" wrote \"" + text + "\", which reads back as another value");
}

}  // namespace

RC_GTEST_PROP(FormatRoundTrip, Days, ()) {
    // Formats whose year is followed by a non-digit read years of any size.
    const Day d = *dayOfYears(anyYear());
    for (const char* format : {"%Y-%m-%d", "%F", "%Y-%j", "%G-W%V-%u", "%G %V %a", "%Y %U %w", "%Y %W %A",
                               "%-d %B %Y", "%e %b %Y", "%_Y/%-m/%_d", "%010Y %3m %4d", "%^B %d, %Y", "%#A %Y %j"})
        roundTrip<Day>(format, d, d);
    // Adjacent numbers: the year takes its usual width.
    const Day near = *dayOfYears(rc::gen::map(rc::gen::inRange<core::Int>(0, 10000), [](core::Int y) { return Year(y); }));
    for (const char* format : {"%Y%m%d", "%C%y%m%d", "%G%V%u", "%Y%j"}) roundTrip<Day>(format, near, near);
    // Two-digit years: 1969..2068.
    const Day recent = *dayOfYears(rc::gen::map(rc::gen::inRange<core::Int>(1969, 2069), [](core::Int y) { return Year(y); }));
    for (const char* format : {"%D", "%x", "%y-%m-%d", "%g-W%V-%u"}) roundTrip<Day>(format, recent, recent);
    // Months, quarters and days of the week from the same texts.
    const Month m = dayMonth(d);
    for (const char* format : {"%Y-%m", "%B %Y", "%b %-Y"}) {
        roundTrip<Month>(format, m, m);
        roundTrip<Quarter>(format, m, monthQuarter(m));
    }
    for (const char* format : {"%a", "%A", "%u", "%w", "%^a"}) roundTrip<DayOfWeek>(format, dayOfWeek(d), dayOfWeek(d));
}

RC_GTEST_PROP(FormatRoundTrip, TimesOfDay, ()) {
    const TimeOfDay t = *anyTime();
    for (const char* format : {"%H:%M:%S%Q", "%T.%q", "%I:%M:%S%Q %p", "%l.%M.%S.%q%P", "%k %M %S %q", "%H%M%S%q",
                               "%R:%S%Q", "%-H:%-M:%-S%Q"})
        roundTrip<TimeOfDay>(format, t, t);
}

RC_GTEST_PROP(FormatRoundTrip, TimestampsAndZones, ()) {
    const Day d = *dayOfYears(anyYear());
    const TimeOfDay t = *anyTime();
    const LocalTime local{d, t};
    for (const char* format : {"%F %T%Q", "%Y-%m-%dT%H:%M:%S.%q", "%A %-d %B %Y %I:%M:%S%Q %p"})
        roundTrip<LocalTime>(format, local, local);

    const core::Int offset = *rc::gen::inRange<core::Int>(-1439, 1440);
    const TimeZone plain = minutesToTimeZone(offset);
    for (const char* format : {"%F %T%Q %z", "%FT%T%Q%Ez", "%F %T%Q %Z"}) {
        roundTrip<ZonedTime>(format, ZonedTime{local, plain}, ZonedTime{local, plain});
        roundTrip<TimeZone>(format, ZonedTime{local, plain}, plain);
    }
    // A named zone of the locale comes back by its name.
    const TimeZone known = *rc::gen::elementOf(en.knownTimeZones);
    roundTrip<ZonedTime>("%F %T%Q %Z", ZonedTime{local, known}, ZonedTime{local, known});
    roundTrip<TimeZone>("%Z", known, known);

    // UTC times, leap seconds included, with and without the zone.
    const Integer ps = *rc::gen::map(rc::gen::inRange<core::Int>(0, 86401 * second), [](core::Int p) { return Integer(p); });
    const UTCTime u{d, DiffTime::fromPicoseconds(ps)};
    for (const char* format : {"%F %T%Q", "%F %T%Q %Z", "%F %T%Q %z"}) roundTrip<UTCTime>(format, u, u);
    // Seconds since 1970 hold any instant but a leap second.
    if (ps < Integer(86400 * second)) roundTrip<UTCTime>("%s%Q", u, u);
    roundTrip<UTCTime>("%s", u, posixSecondsToUTCTime(POSIXTime::fromSeconds(core::div(
                                     utcTimeToPOSIXSeconds(u).picoseconds(), Integer(second)))));
    // A zoned time through its instant and zone.
    const ZonedTime z{local, plain};
    if (t.seconds.picoseconds() < Integer(60 * second)) roundTrip<ZonedTime>("%s%Q %z", z, z);
}
