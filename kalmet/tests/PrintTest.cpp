// Writing values without naming a format: ISO 8601 text, streams, and the
// fmt (and std::format) hooks with formatTime formats after the colon.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <sstream>

#include "Data/Time.h"
#include "Data/Time/Fmt.h"
#include "Data/Time/Format.h"
#include "Data/Time/Print.h"

using namespace kalmet;
using core::Int;
using core::Integer;

namespace {
constexpr Int second = 1'000'000'000'000;
const Day leapDay = fromGregorian(2024, 2, 29);
const TimeOfDay noonish{12, 34, Pico::fromPicoseconds(Integer(56 * second + second / 2))};
const ZonedTime zoned{{leapDay, noonish}, minutesToTimeZone(330)};
const UTCTime instant = zonedTimeToUTC(zoned);
}  // namespace

TEST(Print, IsoTextOfEveryValue) {
    EXPECT_EQ(isoText(leapDay), "2024-02-29");
    EXPECT_EQ(isoText(fromGregorian(-5, 1, 2)), "-0005-01-02");
    EXPECT_EQ(isoText(fromYearMonth(2024, 2)), "2024-02");
    EXPECT_EQ(isoText(fromYearQuarter(2024, Q1)), "2024-Q1");
    EXPECT_EQ(isoText(fromYearQuarter(-1, Q4)), "-0001-Q4");
    EXPECT_EQ(isoText(Q3), "Q3");
    EXPECT_EQ(isoText(Thursday), "Thursday");
    EXPECT_EQ(isoText(noonish), "12:34:56.5");
    EXPECT_EQ(isoText(LocalTime{leapDay, noonish}), "2024-02-29T12:34:56.5");
    EXPECT_EQ(isoText(instant), "2024-02-29T07:04:56.5Z");
    EXPECT_EQ(isoText(zoned), "2024-02-29T12:34:56.5+05:30");
    EXPECT_EQ(isoText(utc()), "Z");
    EXPECT_EQ(isoText(minutesToTimeZone(-90)), "-01:30");
    EXPECT_EQ(isoText(DiffTime::fromPicoseconds(Integer(3 * second / 2))), "1.5s");
    EXPECT_EQ(isoText(NominalDiffTime::fromPicoseconds(Integer(-second / 4))), "-0.25s");
    EXPECT_EQ(isoText(nominalDay()), "86400s");
    std::ostringstream os;
    os << leapDay << ' ' << instant << ' ' << Q2 << ' ' << Monday;
    EXPECT_EQ(os.str(), "2024-02-29 2024-02-29T07:04:56.5Z Q2 Monday");
    EXPECT_EQ(formatWith("%d/%m/%Y", leapDay), "29/02/2024");
    EXPECT_THROW(formatWith("%H", leapDay), core::Error);
    EXPECT_THROW(formatWith("%Y", fromYearQuarter(2024, Q1)), core::Error);
}

#ifdef KALMET_TEST_FMT
TEST(Print, FmtHooks) {
    EXPECT_EQ(fmt::format("{}", leapDay), "2024-02-29");
    EXPECT_EQ(fmt::format("{:%Y-%m-%d}", leapDay), "2024-02-29");
    EXPECT_EQ(fmt::format("[{:%d %B %Y}] {}", leapDay, Q4), "[29 February 2024] Q4");
    EXPECT_EQ(fmt::format("{:%H:%M}", instant), "07:04");
    EXPECT_EQ(fmt::format("{}|{:%z}", zoned, zoned), "2024-02-29T12:34:56.5+05:30|+0530");
    EXPECT_EQ(fmt::format("{}", DiffTime::fromSeconds(2)), "2s");
    EXPECT_THROW((void)fmt::format(fmt::runtime("{:%H}"), leapDay), fmt::format_error);
    EXPECT_THROW((void)fmt::format(fmt::runtime("{:x}"), DiffTime()), fmt::format_error);
}

RC_GTEST_PROP(Print, FmtAgreesWithFormatTime, ()) {
    const Day d(Integer(*rc::gen::inRange<Int>(-1'000'000, 1'000'000)));
    const TimeOfDay t{*rc::gen::inRange<Int>(0, 24), *rc::gen::inRange<Int>(0, 60),
                      Pico::fromPicoseconds(Integer(*rc::gen::inRange<Int>(0, 61 * second)))};
    const LocalTime l{d, t};
    const auto& en = defaultTimeLocale();
    for (const char* f : {"%Y-%m-%d", "%a %e %b %Y", "%G-W%V-%u", "%j", "%F %T%Q", "%I:%M %p", "%s"}) {
        if (std::string_view(f) != "%s") RC_ASSERT(fmt::format(fmt::runtime(std::string("{:") + f + "}"), l) == formatTime(en, f, l));
        const UTCTime u = localTimeToUTC(utcTimeZone, l);
        RC_ASSERT(fmt::format(fmt::runtime(std::string("{:") + f + "}"), u) == formatTime(en, f, u));
    }
    RC_ASSERT(fmt::format("{}", d) == formatTime(en, "%Y-%m-%d", d));
}
#endif

#if defined(__cpp_lib_format)
TEST(Print, StdFormatHooks) {
    EXPECT_EQ(std::format("{}", leapDay), "2024-02-29");
    EXPECT_EQ(std::format("{:%d/%m}", leapDay), "29/02");
}
#endif
