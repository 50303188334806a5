#pragma once
// Exact lengths of time with twelve decimals: Pico (seconds as a
// fixed-point number, the seconds field of TimeOfDay), DiffTime (a length of
// time, e.g. since midnight) and NominalDiffTime (a difference between UTC
// instants, every day counted as 86400 s). Each is an exact picosecond
// count; they are distinct types so that they are not mixed by accident.
//
//   auto half = kalmet::Pico::fromPicoseconds(500'000'000'000);   // 0.5 s
//   kalmet::secondsToDiffTime(90) + kalmet::DiffTime(half)        // 90.5 s
#include <compare>
#include <string>
#include <utility>

#include "Core/Integer.h"
#include "Core/Rational.h"

namespace kalmet {

namespace detail {

inline constexpr core::Int picosPerSecond = 1'000'000'000'000;

// A count of picoseconds; Tag keeps the three kinds apart.
template <class Tag>
class PicoValue {
public:
    // Zero.
    PicoValue() noexcept = default;
    // From another kind of picosecond count, same length.
    template <class Other>
    explicit PicoValue(const PicoValue<Other>& o) : ps_(o.picoseconds()) {}

    static PicoValue fromPicoseconds(core::Integer ps) noexcept {
        PicoValue v;
        v.ps_ = std::move(ps);
        return v;
    }
    static PicoValue fromSeconds(const core::Integer& s) { return fromPicoseconds(s * core::Integer(picosPerSecond)); }
    // The largest count not above the exact value r seconds.
    static PicoValue fromRational(const core::Rational& r) {
        return fromPicoseconds(core::div(r.numerator() * core::Integer(picosPerSecond), r.denominator()));
    }

    const core::Integer& picoseconds() const noexcept { return ps_; }
    // The length in seconds as an exact fraction in lowest terms.
    core::Rational toRational() const { return core::Rational(ps_, core::Integer(picosPerSecond)); }
    // Seconds with exactly twelve decimals, e.g. "61.000000000000", "-0.500000000000".
    std::string toString() const;

    friend PicoValue operator+(const PicoValue& a, const PicoValue& b) { return fromPicoseconds(a.ps_ + b.ps_); }
    friend PicoValue operator-(const PicoValue& a, const PicoValue& b) { return fromPicoseconds(a.ps_ - b.ps_); }
    friend PicoValue operator-(const PicoValue& a) { return fromPicoseconds(-a.ps_); }
    friend PicoValue operator*(const PicoValue& a, const core::Integer& n) { return fromPicoseconds(a.ps_ * n); }
    friend PicoValue operator*(const core::Integer& n, const PicoValue& a) { return fromPicoseconds(a.ps_ * n); }
    PicoValue& operator+=(const PicoValue& b) { return *this = *this + b; }
    PicoValue& operator-=(const PicoValue& b) { return *this = *this - b; }

    friend bool operator==(const PicoValue& a, const PicoValue& b) noexcept { return a.ps_ == b.ps_; }
    friend std::strong_ordering operator<=>(const PicoValue& a, const PicoValue& b) noexcept {
        return a.ps_ <=> b.ps_;
    }

private:
    core::Integer ps_;
};

struct PicoTag;
struct DiffTimeTag;
struct NominalDiffTimeTag;

// "s.ffffffffffff" of a picosecond count.
std::string picosecondsToText(const core::Integer& ps);

template <class Tag>
std::string PicoValue<Tag>::toString() const {
    return picosecondsToText(ps_);
}

}  // namespace detail

// Seconds as a fixed-point number with twelve decimals.
using Pico = detail::PicoValue<detail::PicoTag>;
// A length of time in seconds, exact to the picosecond.
using DiffTime = detail::PicoValue<detail::DiffTimeTag>;
// A difference between two UTC instants, counting every day as 86400 s.
using NominalDiffTime = detail::PicoValue<detail::NominalDiffTimeTag>;

// Whole seconds as a DiffTime.
inline DiffTime secondsToDiffTime(const core::Integer& s) { return DiffTime::fromSeconds(s); }
// Picoseconds as a DiffTime.
inline DiffTime picosecondsToDiffTime(core::Integer ps) { return DiffTime::fromPicoseconds(std::move(ps)); }
// The picoseconds of a DiffTime.
inline const core::Integer& diffTimeToPicoseconds(const DiffTime& t) noexcept { return t.picoseconds(); }
// Seconds as a NominalDiffTime.
inline NominalDiffTime secondsToNominalDiffTime(const Pico& s) { return NominalDiffTime(s); }
// The seconds of a NominalDiffTime.
inline Pico nominalDiffTimeToSeconds(const NominalDiffTime& t) { return Pico(t); }
// One day: 86400 s.
inline NominalDiffTime nominalDay() { return NominalDiffTime::fromSeconds(86400); }

}  // namespace kalmet
