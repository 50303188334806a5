#pragma once
// The small shared types: Int, Char, Unit, Void and Ordering.
#include <compare>
#include <cstdint>
#include <functional>

namespace core {

// A 64-bit signed machine integer.
using Int = std::int64_t;
// A Unicode code point.
using Char = char32_t;

// The type with exactly one value.
struct Unit {
    friend constexpr bool operator==(Unit, Unit) noexcept { return true; }
    friend constexpr std::strong_ordering operator<=>(Unit, Unit) noexcept {
        return std::strong_ordering::equal;
    }
};
inline constexpr Unit unit{};

// The type with no values: it cannot be constructed, so a function taking
// a Void can never be called. `absurd` turns one into anything.
struct Void {
    Void() = delete;
    friend constexpr bool operator==(const Void&, const Void&) noexcept { return true; }
    friend constexpr std::strong_ordering operator<=>(const Void&, const Void&) noexcept {
        return std::strong_ordering::equal;
    }
};
template <class T>
[[noreturn]] T absurd(const Void&) { __builtin_unreachable(); }

// The result of a three-way comparison, in the order LT < EQ < GT.
enum class Ordering : std::uint8_t { LT = 0, EQ = 1, GT = 2 };
inline constexpr Ordering LT = Ordering::LT;
inline constexpr Ordering EQ = Ordering::EQ;
inline constexpr Ordering GT = Ordering::GT;

namespace detail {
// For static_assert in a discarded branch: false, but only once T is known.
template <class T>
inline constexpr bool alwaysFalse = false;
}  // namespace detail

constexpr Ordering toOrdering(std::strong_ordering o) noexcept {
    return o < 0 ? LT : (o > 0 ? GT : EQ);
}
constexpr Ordering toOrdering(std::weak_ordering o) noexcept {
    return o < 0 ? LT : (o > 0 ? GT : EQ);
}
constexpr std::strong_ordering toStdOrdering(Ordering o) noexcept {
    return o == LT ? std::strong_ordering::less
                   : (o == GT ? std::strong_ordering::greater : std::strong_ordering::equal);
}

}  // namespace core
