#pragma once
// UTC instants and mean solar time.
//
// UTCTime is a Day and the time since that day's midnight; the time may
// reach into an 86401st second when the day ends with a leap second.
// Differences and sums of UTC instants ignore leap seconds (every day is
// 86400 s), as POSIX time does.
#include <compare>

#include "Core/Rational.h"
#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Clock/DiffTime.h"

namespace kalmet {

// A UTC instant: the day and the time since its midnight.
struct UTCTime {
    Day day;
    DiffTime dayTime;
    friend bool operator==(const UTCTime&, const UTCTime&) = default;
    friend std::strong_ordering operator<=>(const UTCTime& a, const UTCTime& b) noexcept {
        if (auto c = a.day <=> b.day; c != 0) return c;
        return a.dayTime <=> b.dayTime;
    }
};

// The instant d seconds after t (every day counted as 86400 s).
UTCTime addUTCTime(const NominalDiffTime& d, const UTCTime& t);
// a - b, every day counted as 86400 s.
NominalDiffTime diffUTCTime(const UTCTime& a, const UTCTime& b);

// An instant of mean solar time (UT1), as a Modified Julian Date: days and
// the fraction of a day since 1858-11-17 00:00, exact.
class UniversalTime {
public:
    UniversalTime() = default;
    explicit UniversalTime(core::Rational modJulianDate) : mjd_(std::move(modJulianDate)) {}
    const core::Rational& modJulianDate() const noexcept { return mjd_; }
    friend bool operator==(const UniversalTime& a, const UniversalTime& b) { return a.mjd_ == b.mjd_; }
    friend auto operator<=>(const UniversalTime& a, const UniversalTime& b) { return a.mjd_ <=> b.mjd_; }

private:
    core::Rational mjd_;
};

// The Modified Julian Date of a UniversalTime.
inline const core::Rational& getModJulianDate(const UniversalTime& t) noexcept { return t.modJulianDate(); }

}  // namespace kalmet
