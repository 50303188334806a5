#pragma once
// Hashes of the calendar and clock values (core::Hashable), and std::hash
// built on them, so that the values are keys of std::unordered_map and
// std::unordered_set as they are:
//
//   std::unordered_map<kalmet::Day, int> counts;
//   core::hash(kalmet::Q1) == 0x4D25767F9DCE13F4
//   core::hashWithSalt(s, kalmet::Monday)
//
// What each value mixes into the salt, in order (each part's hash is the
// salt of the next; the rules for Int, Integer, texts, lists and pairs are
// those of Core/Hashable.h):
//
//   Day              the day count (Modified Julian Day) as an Integer
//   Month, Quarter   the month or quarter count as an Integer
//   DayOfWeek        its number as an Int: Monday 1 ... Sunday 7
//   QuarterOfYear    its number as an Int: Q1 1 ... Q4 4
//   DiffTime,        the seconds as a fraction in lowest terms (the
//   NominalDiffTime  picosecond count over 10^12, reduced): numerator,
//                    then denominator, each as an Integer (1.5 s: 3, 2)
//   UniversalTime    the Modified Julian Date, an exact fraction:
//                    numerator, then denominator
//   UTCTime          the day count, then the time since midnight as the
//                    reduced fraction of seconds (numerator, denominator)
//   TimeOfDay        hour and minute as Ints, then the seconds as the raw
//                    picosecond count, an Integer (1.5 s: 1500000000000)
//   LocalTime        the day count, then hour, minute and picosecond
//                    count as in TimeOfDay
//   TimeZone         the offset in minutes as an Int, the summer-only flag
//                    as a Bool, the name as a text
//   TimeLocale       wDays and months as lists of pairs of texts, amPm as
//                    a pair of texts, the four format texts, then the
//                    known zones as a list of TimeZone
//
// ZonedTime has no hash. Hashes are the same in every run and process.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "Core/Hashable.h"
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"
#include "Data/Time/Calendar/Quarter.h"
#include "Data/Time/Calendar/Week.h"
#include "Data/Time/Clock/DiffTime.h"
#include "Data/Time/Clock/UTCTime.h"
#include "Data/Time/Format/Locale.h"
#include "Data/Time/LocalTime/LocalTime.h"
#include "Data/Time/LocalTime/TimeOfDay.h"
#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet::detail {
// hashSecondsFraction beyond the machine integers, through core::Rational.
std::uint64_t hashSecondsFractionBig(std::uint64_t salt, const core::Integer& picoseconds);

inline constexpr core::Int pow5[13] = {1,        5,        25,        125,        625,        3125,     15625,
                                       78125,    390625,   1953125,   9765625,    48828125,   244140625};

// Mixes a picosecond count as the reduced fraction of seconds: numerator,
// then denominator. On machine integers the denominator 10^12 is
// 2^12 * 5^12, so the common factor is a power of two (the trailing zero
// bits) times a power of five, found by divisions by constants.
inline std::uint64_t hashSecondsFraction(std::uint64_t salt, const core::Integer& picoseconds) {
    if (!picoseconds.isSmall() || picoseconds.unsafeInt() == INT64_MIN) [[unlikely]]
        return hashSecondsFractionBig(salt, picoseconds);
    const core::Int ps = picoseconds.unsafeInt();
    if (ps == 0) return core::hashInt(core::hashInt(salt, 0), 1);
    std::uint64_t a = static_cast<std::uint64_t>(ps < 0 ? -ps : ps);
    const int twos = std::min(std::countr_zero(a), 12);
    a >>= twos;
    int fives = 0;
    if (a % 390625 == 0) a /= 390625, fives += 8;  // 5^8
    if (a % 625 == 0) a /= 625, fives += 4;        // 5^4 (at most 12 in all)
    if (fives <= 10 && a % 25 == 0) a /= 25, fives += 2;
    if (fives <= 11 && a % 5 == 0) a /= 5, fives += 1;
    const auto num = static_cast<core::Int>(a);
    return core::hashInt(core::hashInt(salt, ps < 0 ? -num : num), pow5[12 - fives] << (12 - twos));
}
}  // namespace kalmet::detail

namespace core {

template <>
struct Hashable<kalmet::Day> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::Day& d) {
        return core::hashWithSalt(salt, d.toModifiedJulianDay());
    }
};
template <>
struct Hashable<kalmet::Month> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::Month& m) {
        return core::hashWithSalt(salt, m.count());
    }
};
template <>
struct Hashable<kalmet::Quarter> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::Quarter& q) {
        return core::hashWithSalt(salt, q.count());
    }
};
template <>
struct Hashable<kalmet::DayOfWeek> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, kalmet::DayOfWeek d) noexcept {
        return hashInt(salt, kalmet::fromDayOfWeek(d));
    }
};
template <>
struct Hashable<kalmet::QuarterOfYear> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, kalmet::QuarterOfYear q) noexcept {
        return hashInt(salt, kalmet::fromQuarterOfYear(q));
    }
};
template <>
struct Hashable<kalmet::DiffTime> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::DiffTime& t) {
        return kalmet::detail::hashSecondsFraction(salt, t.picoseconds());
    }
};
template <>
struct Hashable<kalmet::NominalDiffTime> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::NominalDiffTime& t) {
        return kalmet::detail::hashSecondsFraction(salt, t.picoseconds());
    }
};
template <>
struct Hashable<kalmet::UniversalTime> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::UniversalTime& t) {
        return core::hashWithSalt(salt, t.modJulianDate());
    }
};
template <>
struct Hashable<kalmet::UTCTime> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::UTCTime& t) {
        return kalmet::detail::hashSecondsFraction(core::hashWithSalt(salt, t.day.toModifiedJulianDay()),
                                                   t.dayTime.picoseconds());
    }
};
template <>
struct Hashable<kalmet::TimeOfDay> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::TimeOfDay& t) {
        return core::hashWithSalt(hashInt(hashInt(salt, t.hour), t.minute), t.seconds.picoseconds());
    }
};
template <>
struct Hashable<kalmet::LocalTime> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::LocalTime& t) {
        return Hashable<kalmet::TimeOfDay>::hashWithSalt(core::hashWithSalt(salt, t.day.toModifiedJulianDay()),
                                                         t.timeOfDay);
    }
};
template <>
struct Hashable<kalmet::TimeZone> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::TimeZone& z) {
        return core::hashWithSalt(hashInt(hashInt(salt, z.minutes), z.summerOnly ? 1 : 0), z.name);
    }
};
template <>
struct Hashable<kalmet::TimeLocale> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const kalmet::TimeLocale& l) {
        salt = core::hashWithSalt(salt, l.wDays);
        salt = core::hashWithSalt(salt, l.months);
        salt = core::hashWithSalt(salt, l.amPm);
        salt = core::hashWithSalt(salt, l.dateTimeFmt);
        salt = core::hashWithSalt(salt, l.dateFmt);
        salt = core::hashWithSalt(salt, l.timeFmt);
        salt = core::hashWithSalt(salt, l.time12Fmt);
        return core::hashWithSalt(salt, l.knownTimeZones);
    }
};

}  // namespace core

// std::hash of each value: its core::hash (default salt).
#define KALMET_STD_HASH(T)                                                 \
    template <>                                                            \
    struct std::hash<T> {                                                  \
        std::size_t operator()(const T& x) const {                         \
            return static_cast<std::size_t>(core::hash(x));                \
        }                                                                  \
    };
KALMET_STD_HASH(kalmet::Day)
KALMET_STD_HASH(kalmet::Month)
KALMET_STD_HASH(kalmet::Quarter)
KALMET_STD_HASH(kalmet::DayOfWeek)
KALMET_STD_HASH(kalmet::QuarterOfYear)
KALMET_STD_HASH(kalmet::DiffTime)
KALMET_STD_HASH(kalmet::NominalDiffTime)
KALMET_STD_HASH(kalmet::UniversalTime)
KALMET_STD_HASH(kalmet::UTCTime)
KALMET_STD_HASH(kalmet::TimeOfDay)
KALMET_STD_HASH(kalmet::LocalTime)
KALMET_STD_HASH(kalmet::TimeZone)
KALMET_STD_HASH(kalmet::TimeLocale)
#undef KALMET_STD_HASH
