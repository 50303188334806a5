// The ISO 8601 renderers: the year's forms at their thresholds, the
// fraction's groups of three, zones, leap seconds, values outside the valid
// ranges, and the round trip through the parsers for every value within
// their ranges.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <limits>
#include <string>

#include "Data/Time/Calendar.h"
#include "Data/Time/FromText.h"
#include "Data/Time/ToText.h"

using namespace tarvel;
using core::Integer;
using kalmet::Pico;
using kalmet::TimeOfDay;
using kalmet::Year;

namespace {

constexpr core::Int second = 1'000'000'000'000;

Year bigYear(const std::string& digits) { return *Integer::fromString(digits); }

TimeOfDay tod(core::Int h, core::Int m, core::Int ps) { return TimeOfDay{h, m, Pico::fromPicoseconds(ps)}; }

kalmet::UTCTime utcAt(const kalmet::Day& d, const Integer& ps) {
    return kalmet::UTCTime{d, kalmet::DiffTime::fromPicoseconds(ps)};
}

}  // namespace

TEST(RenderYear, FormsAtTheThresholds) {
    EXPECT_EQ(toString(Year(2000)), "2000");
    EXPECT_EQ(toString(Year(1000)), "1000");
    EXPECT_EQ(toString(Year(999)), "0999");
    EXPECT_EQ(toString(Year(5)), "0005");
    EXPECT_EQ(toString(Year(0)), "0000");
    EXPECT_EQ(toString(Year(-1)), "-0001");
    EXPECT_EQ(toString(Year(-999)), "-0999");
    EXPECT_EQ(toString(Year(-1000)), "-1000");
    EXPECT_EQ(toString(Year(12345)), "12345");
    EXPECT_EQ(toString(Year(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(toString(bigYear("123456789012345678901234567890")), "123456789012345678901234567890");
    EXPECT_EQ(toString(bigYear("-123456789012345678901234567890")), "-123456789012345678901234567890");
}

TEST(RenderDate, DaysMonthsAndQuarters) {
    EXPECT_EQ(toString(kalmet::fromGregorian(5, 1, 1)), "0005-01-01");
    EXPECT_EQ(toString(kalmet::fromGregorian(2000, 2, 29)), "2000-02-29");
    EXPECT_EQ(toString(kalmet::fromGregorian(-1, 12, 31)), "-0001-12-31");
    EXPECT_EQ(toString(kalmet::fromGregorian(bigYear("-100000000000000000000"), 3, 1)), "-100000000000000000000-03-01");
    EXPECT_EQ(toString(kalmet::fromYearMonth(1999, 12)), "1999-12");
    EXPECT_EQ(toString(kalmet::fromYearMonth(-5, 1)), "-0005-01");
    EXPECT_EQ(toString(kalmet::fromYearQuarter(2021, kalmet::Q3)), "2021-q3");
    EXPECT_EQ(toString(kalmet::fromYearQuarter(bigYear("99999999999999999999"), kalmet::Q4)),
              "99999999999999999999-q4");
    EXPECT_EQ(toString(kalmet::Q1), "q1");
    EXPECT_EQ(toString(static_cast<kalmet::QuarterOfYear>(200)), "q200");  // not a quarter; still ASCII
}

TEST(RenderTime, SecondsAndFractionGroups) {
    EXPECT_EQ(toString(kalmet::midnight), "00:00:00");
    EXPECT_EQ(toString(tod(12, 30, 0)), "12:30:00");
    EXPECT_EQ(toString(tod(23, 59, 60 * second + second / 2)), "23:59:60.500");
    EXPECT_EQ(toString(tod(1, 2, 3 * second + 1)), "01:02:03.000000000001");
    EXPECT_EQ(toString(tod(0, 0, second / 4)), "00:00:00.250");
    EXPECT_EQ(toString(tod(0, 0, 1'000'000)), "00:00:00.000001");
    EXPECT_EQ(toString(tod(0, 0, 123'456'789'000)), "00:00:00.123456789");
    EXPECT_EQ(toString(tod(0, 0, 100'000'000'100)), "00:00:00.100000000100");
    EXPECT_EQ(toString(tod(0, 0, 1'000)), "00:00:00.000000001");
    EXPECT_EQ(toString(tod(0, 0, 123'000'000'000)), "00:00:00.123");
    EXPECT_EQ(toString(tod(0, 0, 61 * second - 1)), "00:00:60.999999999999");
}

TEST(RenderTime, FieldsOutsideTheirRangesAreWrittenInFull) {
    EXPECT_EQ(toString(tod(100, 5, 0)), "100:05:00");
    EXPECT_EQ(toString(tod(-1, 0, 0)), "-1:00:00");
    EXPECT_EQ(toString(tod(0, 0, -second / 2)), "00:00:-00.500");
    EXPECT_EQ(toString(tod(0, 0, 150 * second)), "00:00:150");
    const TimeOfDay huge{0, 0, Pico::fromPicoseconds(bigYear("123456789012345678901234567890"))};
    EXPECT_EQ(toString(huge), "00:00:123456789012345678.901234567890");
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(100 * 60)), "+100:00");
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(INT64_MIN)), "-153722867280912930:08");
}

TEST(RenderZone, ZAndOffsets) {
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(0)), "Z");
    EXPECT_EQ(toString(kalmet::utc()), "Z");
    EXPECT_EQ(toString(kalmet::TimeZone{0, true, "BST-ish"}), "Z");
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(330)), "+05:30");
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(-480)), "-08:00");
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(1)), "+00:01");
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(-1)), "-00:01");
    EXPECT_EQ(toString(kalmet::minutesToTimeZone(1439)), "+23:59");
}

TEST(RenderTimestamp, LocalUTCAndZoned) {
    const kalmet::Day jan1 = kalmet::fromGregorian(2000, 1, 1);
    EXPECT_EQ(toString(utcAt(jan1, 12 * 3600 * second)), "2000-01-01T12:00:00Z");
    const kalmet::LocalTime noon{jan1, kalmet::midday};
    EXPECT_EQ(toString(noon), "2000-01-01T12:00:00");
    EXPECT_EQ(toString(kalmet::ZonedTime{noon, kalmet::minutesToTimeZone(60)}), "2000-01-01T12:00:00+01:00");
    EXPECT_EQ(toString(kalmet::ZonedTime{noon, kalmet::utc()}), "2000-01-01T12:00:00Z");
    // A leap second.
    EXPECT_EQ(toString(utcAt(kalmet::fromGregorian(2016, 12, 31), 86400 * second + second / 2)),
              "2016-12-31T23:59:60.500Z");
    // Times since midnight that no valid UTCTime holds are carried into the
    // neighbouring days.
    EXPECT_EQ(toString(utcAt(jan1, -second)), "1999-12-31T23:59:59Z");
    EXPECT_EQ(toString(utcAt(jan1, 86401 * second)), "2000-01-02T00:00:01Z");
    EXPECT_EQ(toString(utcAt(jan1, Integer::pow10(40))), toString(kalmet::addUTCTime(
                                                               kalmet::NominalDiffTime::fromPicoseconds(Integer::pow10(40)),
                                                               utcAt(jan1, 0))));
    // A local time whose time of day is out of range keeps the date.
    EXPECT_EQ(toString(kalmet::LocalTime{jan1, tod(24, 0, 0)}), "2000-01-01T24:00:00");
}

TEST(RenderForms, BuilderTextAndStringAgree) {
    const kalmet::ZonedTime z{{kalmet::fromGregorian(2024, 2, 29), tod(23, 59, 59 * second + 123)},
                              kalmet::minutesToTimeZone(-330)};
    const std::string s = "2024-02-29T23:59:59.000000000123-05:30";
    EXPECT_EQ(toString(z), s);
    EXPECT_EQ(toText(z).view(), s);
    EXPECT_EQ(buildZonedTime(z).str(), s);
    EXPECT_EQ(buildTimeZone(z.zone).str(), "-05:30");
    EXPECT_EQ(buildQuarterOfYear(kalmet::Q2).build().view(), "q2");
    // Appended one after another across many chunks, with big years that
    // are written as pieces of their own in between.
    core::Builder b;
    std::string expect;
    for (int i = 0; i < 2000; ++i) {
        const kalmet::Day d = kalmet::fromGregorian(i % 3 ? Year(i) : bigYear("1" + std::string(25, '0')), 1 + i % 12, 1);
        const kalmet::UTCTime u = utcAt(d, Integer(i * 7919 % 86400 * second + i * 997));
        buildDay(d, b);
        buildUTCTime(u, b);
        expect += toString(d) + toString(u);
    }
    EXPECT_EQ(b.str(), expect);
    EXPECT_EQ(b.sizeBytes(), expect.size());
}

// ------------------------------------------------------------ round trip

namespace {

// Years from -10^30 to 10^30: mostly near the present and the thresholds
// of the year's forms, some of them beyond 64 bits.
rc::Gen<Year> anyYear() {
    return rc::gen::weightedOneOf<Year>(
        {{4, rc::gen::map(rc::gen::inRange<core::Int>(-1100, 10100), [](core::Int y) { return Year(y); })},
         {1, rc::gen::map(rc::gen::arbitrary<core::Int>(), [](core::Int y) { return Year(y); })},
         {2, rc::gen::map(rc::gen::pair(rc::gen::container<std::string>(30, rc::gen::inRange<char>('0', ':')),
                                        rc::gen::arbitrary<bool>()),
                          [](const std::pair<std::string, bool>& p) {
                              const Year y = bigYear(p.first);
                              return p.second ? -y : y;
                          })}});
}

rc::Gen<kalmet::Day> anyDay() {
    return rc::gen::mapcat(rc::gen::pair(anyYear(), rc::gen::inRange<core::Int>(1, 13)), [](const auto& ym) {
        const auto& [y, m] = ym;
        return rc::gen::map(rc::gen::inRange<core::Int>(1, kalmet::gregorianMonthLength(y, m) + 1),
                            [y, m](core::Int d) { return kalmet::fromGregorian(y, m, d); });
    });
}

// Picoseconds below `limit`, at every precision from whole seconds to
// single picoseconds.
rc::Gen<core::Int> picoseconds(core::Int limit) {
    return rc::gen::mapcat(rc::gen::element(second, core::Int{1'000'000'000}, core::Int{1'000'000}, core::Int{1'000}, core::Int{1}),
                           [limit](core::Int unit) {
                               return rc::gen::map(rc::gen::inRange<core::Int>(0, limit / unit),
                                                   [unit](core::Int n) { return n * unit; });
                           });
}

// Times of day, seconds up to 60.999999999999.
rc::Gen<TimeOfDay> anyTimeOfDay() {
    return rc::gen::apply([](core::Int h, core::Int m, core::Int ps) { return tod(h, m, ps); },
                          rc::gen::inRange<core::Int>(0, 24), rc::gen::inRange<core::Int>(0, 60),
                          picoseconds(61 * second));
}

// Every offset the zone parser reads: -23:59 to +23:59.
rc::Gen<kalmet::TimeZone> anyZone() {
    return rc::gen::apply(
        [](core::Int minutes, bool summer, int name) {
            static const char* names[] = {"", "CET", "UTC"};
            return kalmet::TimeZone{minutes, summer, names[name]};
        },
        rc::gen::inRange<core::Int>(-1439, 1440), rc::gen::arbitrary<bool>(), rc::gen::inRange(0, 3));
}

// The zone as the parser gives it back: the offset alone.
kalmet::TimeZone parsedBack(const kalmet::TimeZone& z) { return kalmet::minutesToTimeZone(z.minutes); }

}  // namespace

RC_GTEST_PROP(RenderRoundTrip, Dates, ()) {
    const Year y = *anyYear();
    RC_ASSERT(*parseYear(toText(y)) == y);
    const kalmet::Month m = kalmet::fromYearMonth(y, *rc::gen::inRange<core::Int>(1, 13));
    RC_ASSERT(*parseMonth(toText(m)) == m);
    const kalmet::Quarter q = kalmet::fromYearQuarter(y, static_cast<kalmet::QuarterOfYear>(*rc::gen::inRange(1, 5)));
    RC_ASSERT(*parseQuarter(toText(q)) == q);
    RC_ASSERT(*parseQuarterOfYear(toText(kalmet::toYearQuarter(q).second)) == kalmet::toYearQuarter(q).second);
    const kalmet::Day d = *anyDay();
    RC_ASSERT(*parseDay(toText(d)) == d);
}

RC_GTEST_PROP(RenderRoundTrip, TimesAndZones, ()) {
    const TimeOfDay t = *anyTimeOfDay();
    RC_ASSERT(*parseTimeOfDay(toText(t)) == t);
    const kalmet::TimeZone z = *anyZone();
    RC_ASSERT(*parseTimeZone(toText(z)) == parsedBack(z));
}

RC_GTEST_PROP(RenderRoundTrip, Timestamps, ()) {
    const kalmet::LocalTime local{*anyDay(), *anyTimeOfDay()};
    RC_ASSERT(*parseLocalTime(toText(local)) == local);

    const kalmet::ZonedTime zoned{local, *anyZone()};
    RC_ASSERT(*parseZonedTime(toText(zoned)) == (kalmet::ZonedTime{local, parsedBack(zoned.zone)}));

    // UTC times up to the end of a leap second.
    const kalmet::UTCTime u = utcAt(*anyDay(), Integer(*picoseconds(86401 * second)));
    RC_ASSERT(*parseUTCTime(toText(u)) == u);
}

namespace {
// toChars of x into buffers of every size up to the text's length and two
// more: it fits exactly when the buffer holds the text, reports
// value_too_large otherwise, and never writes at or past `last` (a guard
// byte after `last` stays untouched).
template <class T>
void intoEveryBufferSize(const T& x, std::size_t maxChars) {
    const std::string want = toString(x);
    EXPECT_LE(want.size(), maxChars) << want;
    for (std::size_t n = 0; n <= want.size() + 2; ++n) {
        std::string buf(n + 1, '#');
        char* first = buf.data();
        const auto [end, ec] = toChars(first, first + n, x);
        EXPECT_EQ(buf[n], '#') << "wrote past the end for size " << n << ": " << want;
        if (n >= want.size()) {
            EXPECT_EQ(ec, std::errc()) << want;
            EXPECT_EQ(std::string(first, end), want);
        } else {
            EXPECT_EQ(ec, std::errc::value_too_large) << n << " " << want;
            EXPECT_EQ(end, first + n);
        }
    }
}
}  // namespace

TEST(RenderForms, IntoTheCallersBufferAsToStringWithinTheDocumentedMaximum) {
    const core::Int minInt = std::numeric_limits<core::Int>::min();
    const kalmet::Day lowDay = kalmet::fromGregorian(Year(minInt), 12, 31);
    const TimeOfDay longest = tod(23, 59, 60 * second + 999'999'999'999);
    const kalmet::TimeZone widestZone = kalmet::minutesToTimeZone(minInt);
    intoEveryBufferSize(Year(minInt), maxYearChars);
    intoEveryBufferSize(Year(2000), maxYearChars);
    intoEveryBufferSize(kalmet::fromYearMonth(Year(minInt), 12), maxMonthChars);
    intoEveryBufferSize(lowDay, maxDayChars);
    intoEveryBufferSize(kalmet::fromYearQuarter(Year(minInt), kalmet::Q4), maxQuarterChars);
    intoEveryBufferSize(kalmet::Q3, maxQuarterOfYearChars);
    intoEveryBufferSize(longest, maxTimeOfDayChars);
    intoEveryBufferSize(widestZone, maxTimeZoneChars);
    intoEveryBufferSize(kalmet::utc(), maxTimeZoneChars);
    intoEveryBufferSize(kalmet::LocalTime{lowDay, longest}, maxLocalTimeChars);
    intoEveryBufferSize(kalmet::UTCTime{lowDay, kalmet::DiffTime::fromPicoseconds(86400 * second + 999'999'999'999)},
                        maxUTCTimeChars);
    intoEveryBufferSize(kalmet::ZonedTime{{lowDay, longest}, widestZone}, maxZonedTimeChars);
    // A year beyond 64 bits is written too, when the buffer is large enough.
    const kalmet::Day huge = kalmet::fromGregorian(bigYear("-" + std::string(30, '9')), 1, 1);
    intoEveryBufferSize(huge, 64);
}
