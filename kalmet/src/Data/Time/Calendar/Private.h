#pragma once
// Small helpers of the calendar and clock code: numbers written with a
// minimum width, values kept inside bounds, and division by a divisor that
// need not be whole.
//
//   kalmet::show2(core::Int{-5})                          // "-05"
//   kalmet::showPaddedNum(kalmet::Pad{4, U' '}, core::Integer(7))  // "   7"
//   kalmet::show2Fixed(kalmet::Pico::fromPicoseconds(5'500'000'000'000))  // "05.5"
//   kalmet::mod100(core::Int{-1})                         // 99
//   kalmet::clip(1, 12, core::Int{13})                    // 12
//   kalmet::quotRemBy(core::Rational(5, 2), core::Rational(7))  // {2, 2}
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "Core/Integer.h"
#include "Core/Num.h"
#include "Core/Rational.h"
#include "Core/Types.h"
#include "Data/Time/Clock/DiffTime.h"

namespace kalmet {

// Fill text shorter than `width` characters on the left with `fill` up to
// the width; longer text stays as it is (the width is a minimum).
struct Pad {
    core::Int width;
    core::Char fill;
    friend bool operator==(const Pad&, const Pad&) = default;
};
// No filling.
struct NoPad {
    friend bool operator==(const NoPad&, const NoPad&) = default;
};
// How a number is padded: Pad (width and character) or NoPad, in that
// order.
using PadOption = std::variant<Pad, NoPad>;

// NoPad: s unchanged. Pad w c: (w - length of s) copies of c, then s; the
// length counts characters (code points), not bytes.
std::string showPadded(const PadOption& pad, std::string_view s);

// Numbers written with a PadOption. A negative number is "-" followed by
// its magnitude padded as asked, so the sign stands outside the width:
// show2 of -5 is "-05". Implemented for core::Integer and core::Int only;
// for Int, the smallest value (-9223372036854775808, whose magnitude is
// not an Int) is written plainly, without filling.
template <class T>
struct ShowPadded {};
template <>
struct ShowPadded<core::Integer> {
    static std::string showPaddedNum(const PadOption& pad, const core::Integer& x);
};
template <>
struct ShowPadded<core::Int> {
    static std::string showPaddedNum(const PadOption& pad, core::Int x);
};
// True for the types with a ShowPadded implementation.
template <class T>
concept ShowPaddedType = requires(const PadOption& p, const T& x) {
    { ShowPadded<T>::showPaddedNum(p, x) } -> std::same_as<std::string>;
};

inline std::string showPaddedNum(const PadOption& pad, const core::Integer& x) {
    return ShowPadded<core::Integer>::showPaddedNum(pad, x);
}
inline std::string showPaddedNum(const PadOption& pad, core::Int x) {
    return ShowPadded<core::Int>::showPaddedNum(pad, x);
}

// Zero-padded to 2, 3 and 4 digits: show2(7) "07", show3(-7) "-007",
// show4(12345) "12345".
inline std::string show2(const core::Integer& x) { return showPaddedNum(Pad{2, U'0'}, x); }
inline std::string show2(core::Int x) { return showPaddedNum(Pad{2, U'0'}, x); }
inline std::string show3(const core::Integer& x) { return showPaddedNum(Pad{3, U'0'}, x); }
inline std::string show3(core::Int x) { return showPaddedNum(Pad{3, U'0'}, x); }
inline std::string show4(const core::Integer& x) { return showPaddedNum(Pad{4, U'0'}, x); }
inline std::string show4(core::Int x) { return showPaddedNum(Pad{4, U'0'}, x); }

// Seconds with up to twelve decimals, trailing zeros (and a bare point)
// dropped, with a "0" put in front of any value below 10 (negative ones
// too): 5 "05", 5.5 "05.5", 12.25 "12.25", 10 "10", 9.999 "09.999".
std::string show2Fixed(const Pico& x);

// x modulo 100, rounded down: 0..99 for every x (mod100(-1) is 99).
template <class T>
T mod100(const T& x) {
    return core::mod(x, core::fromInteger<T>(core::Integer(100)));
}
// x divided by 100, rounded towards minus infinity (div100(-1) is -1).
template <class T>
T div100(const T& x) {
    return core::div(x, core::fromInteger<T>(core::Integer(100)));
}

// lo when x < lo, else hi when x > hi, else x. The lower bound is tested
// first, so with lo > hi a value below lo gives lo. The bounds take the
// type of x: clip(1, 12, core::Int{13}).
template <class T>
constexpr T clip(const std::type_identity_t<T>& lo, const std::type_identity_t<T>& hi, const T& x) {
    if (x < lo) return lo;
    if (hi < x) return hi;
    return x;
}
// Nothing when x < lo or x > hi (tested in that order), else x.
template <class T>
constexpr std::optional<T> clipValid(const std::type_identity_t<T>& lo, const std::type_identity_t<T>& hi, const T& x) {
    if (x < lo) return std::nullopt;
    if (hi < x) return std::nullopt;
    return x;
}

// n / d as exact fractions, truncated towards zero, as the integral type
// I (core::Integer unless named): quotBy(7, -10) is -1. The divisor comes
// first. A zero divisor raises core::Error "Ratio has zero denominator".
template <class I = core::Integer, class R>
I quotBy(const R& d, const R& n) {
    const core::Rational q = core::toRational(n) / core::toRational(d);
    return core::fromInteger<I>(q.truncate());
}
// n - quotBy(d, n) * d, in n's type: the remainder has the sign of n (or
// is zero) and a magnitude below that of d. remBy(7, -10) is -3.
template <class R>
R remBy(const R& d, const R& n) {
    const R q = core::fromInteger<R>(quotBy<core::Integer>(d, n));
    return core::minus(n, core::times(q, d));
}
// (q, n - q * d) with q = quotBy(d, n): quotRemBy(2.5, 7) is (2, 2).
template <class I = core::Integer, class R>
std::pair<I, R> quotRemBy(const R& d, const R& n) {
    const core::Integer q = quotBy<core::Integer>(d, n);
    R r = core::minus(n, core::times(core::fromInteger<R>(q), d));
    return {core::fromInteger<I>(q), std::move(r)};
}

}  // namespace kalmet

namespace core {

// The lengths of time are numbers of seconds with twelve decimals:
// products truncate towards minus infinity to the picosecond, and
// fromInteger counts whole seconds.
template <class Tag>
struct Num<kalmet::detail::PicoValue<Tag>> {
    using P = kalmet::detail::PicoValue<Tag>;
    static P plus(const P& a, const P& b) { return a + b; }
    static P minus(const P& a, const P& b) { return a - b; }
    static P times(const P& a, const P& b) {
        return P::fromPicoseconds(core::div(a.picoseconds() * b.picoseconds(), Integer(kalmet::detail::picosPerSecond)));
    }
    static P negate(const P& a) { return -a; }
    static P abs(const P& a) { return a.picoseconds().signum() < 0 ? -a : a; }
    static P signum(const P& a) { return P::fromSeconds(Integer(a.picoseconds().signum())); }
    static P fromInteger(const Integer& n) { return P::fromSeconds(n); }
};
template <class Tag>
struct Real<kalmet::detail::PicoValue<Tag>> {
    static Rational toRational(const kalmet::detail::PicoValue<Tag>& a) { return a.toRational(); }
};

}  // namespace core
