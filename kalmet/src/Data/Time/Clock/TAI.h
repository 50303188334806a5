#pragma once
// TAI (International Atomic Time) and its relation to UTC, given a table of
// leap seconds that the caller supplies.
//
//   // TAI - UTC was 37 s from 2017-01-01 on.
//   kalmet::LeapSecondMap table = [](const kalmet::Day& d) -> std::optional<core::Int> { ... };
//   auto tai = kalmet::utcToTAITime(table, utc);        // nothing outside the table
#include <compare>
#include <functional>
#include <optional>

#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Clock/DiffTime.h"
#include "Data/Time/Clock/UTCTime.h"

namespace kalmet {

// An instant of TAI, as the time since taiEpoch.
class AbsoluteTime {
public:
    // taiEpoch.
    AbsoluteTime() = default;
    explicit AbsoluteTime(DiffTime sinceEpoch) noexcept : t_(std::move(sinceEpoch)) {}
    const DiffTime& sinceEpoch() const noexcept { return t_; }
    friend bool operator==(const AbsoluteTime&, const AbsoluteTime&) = default;
    friend std::strong_ordering operator<=>(const AbsoluteTime& a, const AbsoluteTime& b) noexcept {
        return a.t_ <=> b.t_;
    }

private:
    DiffTime t_;
};

// 1858-11-17 00:00:00 TAI.
inline AbsoluteTime taiEpoch() { return AbsoluteTime(); }
// The instant d after t.
inline AbsoluteTime addAbsoluteTime(const DiffTime& d, const AbsoluteTime& t) { return AbsoluteTime(t.sinceEpoch() + d); }
// a - b.
inline DiffTime diffAbsoluteTime(const AbsoluteTime& a, const AbsoluteTime& b) { return a.sinceEpoch() - b.sinceEpoch(); }

// A leap-second table: TAI - UTC in whole seconds at the start of a day, or
// nothing for days the table does not cover.
using LeapSecondMap = std::function<std::optional<core::Int>(const Day&)>;

// The length of a UTC day (86400 s, or 86401 s with a leap second), or
// nothing when the table does not cover the day and the next.
std::optional<DiffTime> utcDayLength(const LeapSecondMap& table, const Day& day);
// The TAI instant of a UTC instant, or nothing outside the table.
std::optional<AbsoluteTime> utcToTAITime(const LeapSecondMap& table, const UTCTime& t);
// The UTC instant of a TAI instant, or nothing outside the table (or for a
// table whose offsets jump so that no day fits).
std::optional<UTCTime> taiToUTCTime(const LeapSecondMap& table, const AbsoluteTime& t);

}  // namespace kalmet
