// Hashes of the calendar and clock values: the worked values by hand,
// which parts each value mixes and in what order, and std::hash.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <unordered_map>
#include <unordered_set>

#include "Data/Time.h"
#include "Data/Time/Format/Locale.h"

using namespace kalmet;
using core::hashInt;
using core::Int;
using core::Integer;

namespace {
constexpr std::uint64_t salt0 = core::defaultSalt;
constexpr std::uint64_t k4 = 0x9FFAAC085635BC91ULL;
constexpr Int second = 1'000'000'000'000;
}  // namespace

TEST(Hashing, WorkedValues) {
    EXPECT_EQ(core::hash(Q1), 0x4D25767F9DCE13F4ULL);
    EXPECT_EQ(core::hash(Q4), 0x4D25767F9DCE13F1ULL);
    EXPECT_EQ(core::hash(Monday), core::hash(Q1));
    EXPECT_EQ(core::hash(Sunday), 0x4D25767F9DCE13F2ULL);
    for (std::uint64_t s : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{0xDEADBEEFCAFEF00D}}) {
        EXPECT_EQ(core::hashWithSalt(s, Q2), (s * k4) ^ 2);
        EXPECT_EQ(core::hashWithSalt(s, Saturday), (s * k4) ^ 6);
    }
    // 1.5 s is 3/2; 0 s is 0/1.
    const DiffTime oneAndHalf = DiffTime::fromPicoseconds(Integer(3 * second / 2));
    EXPECT_EQ(core::hash(oneAndHalf), hashInt(hashInt(salt0, 3), 2));
    EXPECT_EQ(core::hash(DiffTime()), hashInt(hashInt(salt0, 0), 1));
    EXPECT_EQ(core::hash(NominalDiffTime(oneAndHalf)), core::hash(oneAndHalf));
    EXPECT_EQ(core::hash(DiffTime::fromPicoseconds(Integer(-250'000'000'000))), hashInt(hashInt(salt0, -1), 4));
    // A TimeOfDay hashes its seconds as the raw picosecond count.
    const TimeOfDay t{13, 5, Pico::fromPicoseconds(Integer(3 * second / 2))};
    EXPECT_EQ(core::hash(t), hashInt(hashInt(hashInt(salt0, 13), 5), 1'500'000'000'000));
    // A Day (and Month, Quarter) hashes like the Integer of its count.
    for (const Integer& n : {Integer(51544), Integer(-3), Integer::pow10(30)}) {
        EXPECT_EQ(core::hashWithSalt(7, Day(n)), core::hashWithSalt(7, n));
        EXPECT_EQ(core::hash(Month(n)), core::hash(n));
        EXPECT_EQ(core::hash(Quarter(n)), core::hash(n));
    }
}

TEST(Hashing, PartsInOrder) {
    const Day d = fromGregorian(2024, 2, 29);
    const Int mjd = d.toModifiedJulianDay().unsafeInt();
    // 12:00:00.25 since midnight: 43200.25 s = 172801/4.
    const UTCTime u{d, DiffTime::fromPicoseconds(Integer(43200 * second + second / 4))};
    EXPECT_EQ(core::hash(u), hashInt(hashInt(hashInt(salt0, mjd), 172801), 4));
    const LocalTime l{d, TimeOfDay{12, 0, Pico::fromPicoseconds(Integer(second / 4))}};
    EXPECT_EQ(core::hash(l), hashInt(hashInt(hashInt(hashInt(salt0, mjd), 12), 0), second / 4));
    const TimeZone z{-330, true, "XST"};
    EXPECT_EQ(core::hash(z), core::hashWithSalt(hashInt(hashInt(salt0, -330), 1), std::string("XST")));
    const UniversalTime ut(core::Rational(Integer(103089), Integer(2)));
    EXPECT_EQ(core::hash(ut), hashInt(hashInt(salt0, 103089), 2));
    const TimeLocale& en = defaultTimeLocale();
    std::uint64_t s = core::hashWithSalt(salt0, en.wDays);
    s = core::hashWithSalt(s, en.months);
    s = core::hashWithSalt(s, en.amPm);
    for (const auto* f : {&en.dateTimeFmt, &en.dateFmt, &en.timeFmt, &en.time12Fmt}) s = core::hashWithSalt(s, *f);
    s = core::hashSequence(s, en.knownTimeZones);
    EXPECT_EQ(core::hash(en), s);
    // Seconds past 64 bits of picoseconds reduce all the same.
    const DiffTime big = DiffTime::fromPicoseconds(Integer::pow10(30) + Integer(second / 2));
    EXPECT_EQ(core::hash(big), core::hash(core::Rational(Integer::pow10(30) + Integer(second / 2), Integer(second))));
}

RC_GTEST_PROP(Hashing, EqualFractionsHashAlikeAndMatchTheRational, (Int ps)) {
    const DiffTime t = DiffTime::fromPicoseconds(Integer(ps));
    RC_ASSERT(core::hash(t) == core::hash(core::Rational(Integer(ps), Integer(second))));
}

TEST(Hashing, StdHashMakesThemKeys) {
    std::unordered_map<Day, int> days;
    days[fromGregorian(2024, 2, 29)] = 1;
    days[fromGregorian(2024, 2, 29)] += 1;
    days[fromGregorian(2024, 3, 1)] = 5;
    EXPECT_EQ(days.size(), 2u);
    EXPECT_EQ(days.at(fromGregorian(2024, 2, 29)), 2);
    std::unordered_set<UTCTime> instants{UTCTime{Day(), DiffTime()}, UTCTime{Day(), DiffTime()}};
    EXPECT_EQ(instants.size(), 1u);
    std::unordered_set<TimeZone> zones{utc(), utcTimeZone};
    EXPECT_EQ(zones.size(), 2u);
    EXPECT_EQ(std::hash<QuarterOfYear>{}(Q1), static_cast<std::size_t>(0x4D25767F9DCE13F4ULL));
    std::unordered_set<LocalTime> locals;
    std::unordered_set<TimeOfDay> times;
    std::unordered_set<Month> months;
    std::unordered_set<Quarter> quarters;
    std::unordered_set<DayOfWeek> weekdays{Monday, Sunday, Monday};
    std::unordered_set<NominalDiffTime> diffs{NominalDiffTime(), nominalDay()};
    std::unordered_set<UniversalTime> uts{UniversalTime()};
    std::unordered_set<TimeLocale> locales{defaultTimeLocale()};
    EXPECT_EQ(weekdays.size() + diffs.size() + uts.size() + locales.size(), 6u);
}
