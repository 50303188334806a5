#pragma once
// The numeric and enumeration interfaces that generic number code relies
// on, specialised on plain types:
//
//   Num<T>       plus, minus, times, negate, abs, signum, fromInteger
//   Real<T>      toRational (the exact value as a core::Rational)
//   Integral<T>  quot, rem, div, mod, quotRem, divMod, toInteger
//   Enum<T>      fromEnum, toEnum, succ, pred
//
// An implementation may also supply `fromInt(Int)`, a cheaper conversion
// for small literals (generic sums start from it).
//
// Implementations: every built-in integral type, float and double, Int,
// core::Integer and core::Rational, Bool and Char (Enum), Unit and
// Ordering (Enum).
//
// Fixed-width integers wrap around on overflow (two's complement) instead
// of invoking undefined behaviour, so `negate(INT64_MIN)` and
// `abs(INT64_MIN)` are INT64_MIN. Division by zero raises core::Error
// "divide by zero"; the one quotient that does not fit (the most negative
// value divided by -1) raises core::Error "arithmetic overflow".
// `quot`/`rem` truncate toward zero; `div`/`mod` round toward negative
// infinity, so the remainder takes the divisor's sign.
#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

#include "Core/Error.h"
#include "Core/Integer.h"
#include "Core/Rational.h"
#include "Core/Types.h"

namespace core {

template <class T>
struct Num {
    using NotImplemented = void;
};
template <class T>
struct Real {
    using NotImplemented = void;
};
template <class T>
struct Integral {
    using NotImplemented = void;
};
template <class T>
struct Enum {
    using NotImplemented = void;
};

template <class T>
concept IsNum = !requires { typename Num<std::remove_cvref_t<T>>::NotImplemented; };
template <class T>
concept IsReal = !requires { typename Real<std::remove_cvref_t<T>>::NotImplemented; };
template <class T>
concept IsIntegral = !requires { typename Integral<std::remove_cvref_t<T>>::NotImplemented; };
template <class T>
concept IsEnum = !requires { typename Enum<std::remove_cvref_t<T>>::NotImplemented; };

namespace detail {
template <class T>
using Unsigned = std::make_unsigned_t<T>;

// Integer's own division functions, reached by argument-dependent lookup
// (they are hidden friends of Integer).
inline Integer integerQuot(const Integer& a, const Integer& b) { return quot(a, b); }
inline Integer integerRem(const Integer& a, const Integer& b) { return rem(a, b); }
inline Integer integerDiv(const Integer& a, const Integer& b) { return div(a, b); }
inline Integer integerMod(const Integer& a, const Integer& b) { return mod(a, b); }
inline std::pair<Integer, Integer> integerQuotRem(const Integer& a, const Integer& b) { return quotRem(a, b); }
inline std::pair<Integer, Integer> integerDivMod(const Integer& a, const Integer& b) { return divMod(a, b); }
}  // namespace detail

// ---- Num -----------------------------------------------------------------

// Defaults: minus from plus and negate; negate from minus.
template <class T, class Self>
struct NumDefaults {
    static T minus(const T& a, const T& b) { return Self::plus(a, Self::negate(b)); }
    static T negate(const T& a) { return Self::minus(Self::fromInteger(Integer(0)), a); }
};

template <std::integral T>
    requires(!std::same_as<T, bool>)
struct Num<T> {
    // Wrapping arithmetic through the unsigned type of the same width.
    static constexpr T plus(T a, T b) noexcept {
        return static_cast<T>(static_cast<detail::Unsigned<T>>(a) + static_cast<detail::Unsigned<T>>(b));
    }
    static constexpr T minus(T a, T b) noexcept {
        return static_cast<T>(static_cast<detail::Unsigned<T>>(a) - static_cast<detail::Unsigned<T>>(b));
    }
    static constexpr T times(T a, T b) noexcept {
        using U = std::conditional_t<(sizeof(T) < sizeof(unsigned)), unsigned, detail::Unsigned<T>>;
        return static_cast<T>(static_cast<U>(static_cast<detail::Unsigned<T>>(a)) *
                              static_cast<U>(static_cast<detail::Unsigned<T>>(b)));
    }
    static constexpr T fromInt(Int n) noexcept { return static_cast<T>(static_cast<std::uint64_t>(n)); }
    static constexpr T negate(T a) noexcept { return minus(T(0), a); }
    static constexpr T abs(T a) noexcept {
        if constexpr (std::is_signed_v<T>) return a < 0 ? negate(a) : a;
        else return a;
    }
    static constexpr T signum(T a) noexcept { return a > 0 ? T(1) : (a == 0 ? T(0) : static_cast<T>(-1)); }
    // Keeps the low bits, as a conversion from an unbounded integer to a
    // fixed width does.
    static T fromInteger(const Integer& n) {
        if (auto v = n.toInt()) return static_cast<T>(static_cast<std::uint64_t>(*v));
        const Integer m = detail::integerMod(n, Integer::pow(Integer(2), 64));  // in [0, 2^64)
        if (auto v = m.toInt()) return static_cast<T>(static_cast<std::uint64_t>(*v));
        const Integer low = m - Integer::pow(Integer(2), 63);  // in [0, 2^63)
        return static_cast<T>(static_cast<std::uint64_t>(low.unsafeInt()) + (std::uint64_t{1} << 63));
    }
};

template <std::floating_point T>
struct Num<T> {
    static constexpr T plus(T a, T b) noexcept { return a + b; }
    static constexpr T minus(T a, T b) noexcept { return a - b; }
    static constexpr T times(T a, T b) noexcept { return a * b; }
    static constexpr T fromInt(Int n) noexcept { return static_cast<T>(n); }
    static constexpr T negate(T a) noexcept { return -a; }
    static constexpr T abs(T a) noexcept { return a < 0 ? -a : (a == 0 ? T(0) : a); }
    static constexpr T signum(T a) noexcept { return a > 0 ? T(1) : (a < 0 ? T(-1) : a); }
    static T fromInteger(const Integer& n) { return static_cast<T>(n.toDouble()); }
};

template <>
struct Num<Integer> {
    static Integer plus(const Integer& a, const Integer& b) { return a + b; }
    static Integer minus(const Integer& a, const Integer& b) { return a - b; }
    static Integer times(const Integer& a, const Integer& b) { return a * b; }
    static Integer negate(const Integer& a) { return -a; }
    static Integer abs(const Integer& a) { return a.signum() < 0 ? -a : a; }
    static Integer signum(const Integer& a) { return Integer(a.signum()); }
    static Integer fromInteger(const Integer& n) { return n; }
    static Integer fromInt(Int n) { return Integer(n); }
};

namespace detail {
// A small literal of a Num type: through `fromInt` when the implementation
// has one (no unbounded arithmetic), else through fromInteger.
template <class T>
T numLiteral(Int n) {
    if constexpr (requires { Num<T>::fromInt(n); })
        return Num<T>::fromInt(n);
    else
        return Num<T>::fromInteger(Integer(n));
}
}  // namespace detail

// ---- Integral ------------------------------------------------------------

// Defaults: quot/rem from quotRem, div/mod from divMod, divMod from
// quotRem; an implementation supplies quotRem and toInteger.
template <class T, class Self>
struct IntegralDefaults {
    static T quot(const T& a, const T& b) { return Self::quotRem(a, b).first; }
    static T rem(const T& a, const T& b) { return Self::quotRem(a, b).second; }
    static T div(const T& a, const T& b) { return Self::divMod(a, b).first; }
    static T mod(const T& a, const T& b) { return Self::divMod(a, b).second; }
    static std::pair<T, T> divMod(const T& a, const T& b) {
        auto [q, r] = Self::quotRem(a, b);
        using N = Num<T>;
        const T zero = detail::numLiteral<T>(0);
        if (N::signum(r) == N::negate(N::signum(b)) && !(r == zero))
            return {N::minus(q, detail::numLiteral<T>(1)), N::plus(r, b)};
        return {q, r};
    }
};

template <std::integral T>
    requires(!std::same_as<T, bool>)
struct Integral<T> : IntegralDefaults<T, Integral<T>> {
    static std::pair<T, T> quotRem(T a, T b) {
        check(a, b);
        return {static_cast<T>(a / b), static_cast<T>(a % b)};
    }
    static T quot(T a, T b) { return quotRem(a, b).first; }
    static T rem(T a, T b) { return quotRem(a, b).second; }
    static std::pair<T, T> divMod(T a, T b) {
        auto [q, r] = quotRem(a, b);
        if constexpr (std::is_signed_v<T>)
            if (r != 0 && ((r < 0) != (b < 0))) return {static_cast<T>(q - 1), static_cast<T>(r + b)};
        return {q, r};
    }
    static T div(T a, T b) { return divMod(a, b).first; }
    static T mod(T a, T b) { return divMod(a, b).second; }
    static Integer toInteger(T a) { return Integer(a); }

private:
    static void check(T a, T b) {
        if (b == 0) raise("divide by zero");
        if constexpr (std::is_signed_v<T>)
            if (b == T(-1) && a == std::numeric_limits<T>::min()) raise("arithmetic overflow");
    }
};

template <>
struct Integral<Integer> {
    static Integer quot(const Integer& a, const Integer& b) { return detail::integerQuot(a, b); }
    static Integer rem(const Integer& a, const Integer& b) { return detail::integerRem(a, b); }
    static Integer div(const Integer& a, const Integer& b) { return detail::integerDiv(a, b); }
    static Integer mod(const Integer& a, const Integer& b) { return detail::integerMod(a, b); }
    static std::pair<Integer, Integer> quotRem(const Integer& a, const Integer& b) {
        return detail::integerQuotRem(a, b);
    }
    static std::pair<Integer, Integer> divMod(const Integer& a, const Integer& b) {
        return detail::integerDivMod(a, b);
    }
    static Integer toInteger(const Integer& a) { return a; }
};

// ---- Real ----------------------------------------------------------------

template <std::integral T>
    requires(!std::same_as<T, bool>)
struct Real<T> {
    static Rational toRational(T a) { return Rational(Integer(a)); }
};
template <>
struct Real<Integer> {
    static Rational toRational(const Integer& a) { return Rational(a); }
};
template <>
struct Real<Rational> {
    static Rational toRational(const Rational& a) { return a; }
};

template <>
struct Num<Rational> {
    static Rational plus(const Rational& a, const Rational& b) { return a + b; }
    static Rational minus(const Rational& a, const Rational& b) { return a - b; }
    static Rational times(const Rational& a, const Rational& b) { return a * b; }
    static Rational negate(const Rational& a) { return -a; }
    static Rational abs(const Rational& a) { return a.signum() < 0 ? -a : a; }
    static Rational signum(const Rational& a) { return Rational(a.signum()); }
    static Rational fromInteger(const Integer& n) { return Rational(n); }
    static Rational fromInt(Int n) { return Rational(n); }
};

// ---- Enum ----------------------------------------------------------------

// fromEnum/toEnum convert to and from the Int position; succ and pred raise
// core::Error past the ends of a bounded type.
template <std::integral T>
    requires(!std::same_as<T, bool>)
struct Enum<T> {
    static Int fromEnum(T a) { return static_cast<Int>(a); }
    static T toEnum(Int n) {
        if (!std::in_range<T>(n)) raise("toEnum: bad argument");
        return static_cast<T>(n);
    }
    static T succ(T a) {
        if (a == std::numeric_limits<T>::max()) raise("succ: bad argument");
        return static_cast<T>(a + 1);
    }
    static T pred(T a) {
        if (a == std::numeric_limits<T>::min()) raise("pred: bad argument");
        return static_cast<T>(a - 1);
    }
};
template <>
struct Enum<bool> {
    static Int fromEnum(bool a) { return a ? 1 : 0; }
    static bool toEnum(Int n) {
        if (n != 0 && n != 1) raise("toEnum: bad argument");
        return n == 1;
    }
    static bool succ(bool a) {
        if (a) raise("succ: bad argument");
        return true;
    }
    static bool pred(bool a) {
        if (!a) raise("pred: bad argument");
        return false;
    }
};
template <>
struct Enum<Char> {
    static Int fromEnum(Char c) { return static_cast<Int>(c); }
    static Char toEnum(Int n) {
        if (n < 0 || n > 0x10FFFF) raise("toEnum: bad argument");
        return static_cast<Char>(n);
    }
    static Char succ(Char c) { return toEnum(fromEnum(c) + 1); }
    static Char pred(Char c) { return toEnum(fromEnum(c) - 1); }
};
template <>
struct Enum<Ordering> {
    static Int fromEnum(Ordering o) { return static_cast<Int>(o); }
    static Ordering toEnum(Int n) {
        if (n < 0 || n > 2) raise("toEnum: bad argument");
        return static_cast<Ordering>(n);
    }
    static Ordering succ(Ordering o) { return toEnum(fromEnum(o) + 1); }
    static Ordering pred(Ordering o) { return toEnum(fromEnum(o) - 1); }
};
template <>
struct Enum<Unit> {
    static Int fromEnum(Unit) { return 0; }
    static Unit toEnum(Int n) {
        if (n != 0) raise("toEnum: bad argument");
        return unit;
    }
    static Unit succ(Unit) { raise("succ: bad argument"); }
    static Unit pred(Unit) { raise("pred: bad argument"); }
};
template <>
struct Enum<Integer> {
    static Int fromEnum(const Integer& a) {
        auto v = a.toInt();
        if (!v) raise("fromEnum: value out of range");
        return *v;
    }
    static Integer toEnum(Int n) { return Integer(n); }
    static Integer succ(const Integer& a) { return a + Integer(1); }
    static Integer pred(const Integer& a) { return a - Integer(1); }
};

// ---- Free functions ------------------------------------------------------

#define CORE_NUM_REQUIRE(Iface, T, what)                                                  \
    static_assert(Is##Iface<T>, "no " #Iface " implementation for this type (" what ")")

template <class T>
T plus(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Num, T, "plus");
    return Num<T>::plus(a, b);
}
template <class T>
T minus(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Num, T, "minus");
    return Num<T>::minus(a, b);
}
template <class T>
T times(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Num, T, "times");
    return Num<T>::times(a, b);
}
template <class T>
T negate(const T& a) {
    CORE_NUM_REQUIRE(Num, T, "negate");
    return Num<T>::negate(a);
}
template <class T>
T abs(const T& a) {
    CORE_NUM_REQUIRE(Num, T, "abs");
    return Num<T>::abs(a);
}
template <class T>
T signum(const T& a) {
    CORE_NUM_REQUIRE(Num, T, "signum");
    return Num<T>::signum(a);
}
template <class T>
T fromInteger(const Integer& n) {
    CORE_NUM_REQUIRE(Num, T, "fromInteger");
    return Num<T>::fromInteger(n);
}
template <class T>
T quot(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Integral, T, "quot");
    return Integral<T>::quot(a, b);
}
template <class T>
T rem(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Integral, T, "rem");
    return Integral<T>::rem(a, b);
}
template <class T>
T div(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Integral, T, "div");
    return Integral<T>::div(a, b);
}
template <class T>
T mod(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Integral, T, "mod");
    return Integral<T>::mod(a, b);
}
template <class T>
std::pair<T, T> quotRem(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Integral, T, "quotRem");
    return Integral<T>::quotRem(a, b);
}
template <class T>
std::pair<T, T> divMod(const T& a, const T& b) {
    CORE_NUM_REQUIRE(Integral, T, "divMod");
    return Integral<T>::divMod(a, b);
}
template <class T>
Integer toInteger(const T& a) {
    CORE_NUM_REQUIRE(Integral, T, "toInteger");
    return Integral<T>::toInteger(a);
}
template <class T>
Rational toRational(const T& a) {
    CORE_NUM_REQUIRE(Real, T, "toRational");
    return Real<T>::toRational(a);
}
template <class T>
Int fromEnum(const T& a) {
    CORE_NUM_REQUIRE(Enum, T, "fromEnum");
    return Enum<T>::fromEnum(a);
}
template <class T>
T toEnum(Int n) {
    CORE_NUM_REQUIRE(Enum, T, "toEnum");
    return Enum<T>::toEnum(n);
}
template <class T>
T succ(const T& a) {
    CORE_NUM_REQUIRE(Enum, T, "succ");
    return Enum<T>::succ(a);
}
template <class T>
T pred(const T& a) {
    CORE_NUM_REQUIRE(Enum, T, "pred");
    return Enum<T>::pred(a);
}

#undef CORE_NUM_REQUIRE

}  // namespace core
