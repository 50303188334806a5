#pragma once
// core::Hashable: stable, salted 64-bit hashes.
//
//   std::uint64_t h = core::hash(core::Text("ab"));        // default salt
//   std::uint64_t k = core::hashWithSalt(42, std::pair{1, true});
//   std::unordered_map<core::Text, int, core::Hasher> m;   // std::hash-free
//
// An implementation is a specialisation of `Hashable<T>` with
//
//   static std::uint64_t hashWithSalt(std::uint64_t salt, const T& x);
//
// that mixes the parts of x into the salt, one after another: hashing one
// part and then another means the hash of the first is the salt of the
// second. `core::HashableType<T>` tells whether one exists. Everything is
// plain 64-bit arithmetic (modulo 2^64) from fixed constants, so a hash is
// the same in every run, process and machine; std::hash is never used.
//
// The rules every implementation follows:
//
//   Int             four 16-bit chunks of the two's complement value, most
//                   significant first; for each chunk c the salt s becomes
//                   (s * hashPrime) ^ c (`hashInt`).
//   other integral  as the Int of the same value; bool is 0 or 1, Char the
//                   Int of its code point. An unsigned value above the Int
//                   range hashes as the Integer of the same value, so equal
//                   numbers hash alike whatever their C++ type.
//   enumeration     as the Int of its underlying value, which is the
//                   alternative's position for enumerations numbered from 0
//                   in declaration order (Ordering: LT 0, EQ 1, GT 2).
//                   Enumerations numbered otherwise should specialise.
//   Unit            as the Int 0 (the position of its only alternative).
//   Integer         one that fits an Int as that Int; a larger one mixes its
//                   sign (the Int 1 or -1), then the 64-bit limbs of its
//                   magnitude, least significant first, each as an Int,
//                   then the number of limbs as an Int.
//   Rational        the numerator, then the denominator (always in lowest
//                   terms, so equal fractions hash alike).
//   Text            each code point as an Int, then the number of code
//                   points as an Int: the hash of the list of its
//                   characters.
//   std::string     decoded from UTF-8 and hashed like a Text; each byte
//                   that does not start a valid sequence counts as one
//                   U+FFFD, exactly as `Text` repairs it, so a string and
//                   the Text built from it always hash alike.
//   List, std::vector
//                   each element in order, then the count as an Int (an
//                   empty list hashes only its count 0). Hashing an
//                   unbounded List never returns.
//   NonEmpty        like the List of all its elements, head first.
//   std::optional   Nothing mixes the alternative index 0; Just x mixes the
//                   index 1, then x (`hashIndex`).
//   Either          Left x: index 0 then x; Right y: index 1 then y.
//   std::pair       the first component, then the second.
//   std::tuple      each component in order.
//   Void            has no values; its hash can never be called.
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Either.h"
#include "Core/Integer.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Rational.h"
#include "Core/Text.h"
#include "Core/Types.h"

namespace core {

// The salt used by `hash`.
inline constexpr std::uint64_t defaultSalt = 0xCBF29CE484222325ULL;
// The mixing constant.
inline constexpr std::uint64_t hashPrime = 0x100000001B3ULL;
// hashPrime to the fourth power (modulo 2^64): mixing a whole Int in one
// multiplication, as `hashIndex` does.
inline constexpr std::uint64_t hashPrime4 = 0x9FFAAC085635BC91ULL;
static_assert(hashPrime * hashPrime * hashPrime * hashPrime == hashPrime4);

// Mixes an Int into the salt: its four 16-bit chunks (each 0..65535),
// most significant first, each as s = (s * hashPrime) ^ chunk.
constexpr std::uint64_t hashInt(std::uint64_t salt, Int v) noexcept {
    const auto u = static_cast<std::uint64_t>(v);
    for (int shift = 48; shift >= 0; shift -= 16) salt = (salt * hashPrime) ^ ((u >> shift) & 0xFFFFu);
    return salt;
}

// Mixes the index of an alternative (for types with several alternatives):
// s * hashPrime^4 ^ index, which equals hashInt(s, index) for every index
// from 0 to 65535.
constexpr std::uint64_t hashIndex(std::uint64_t salt, std::uint64_t index) noexcept {
    return (salt * hashPrime4) ^ index;
}

// The hash implementation of T; specialise it for your own types. The
// primary template is empty: HashableType<T> is false until a
// specialisation provides hashWithSalt.
template <class T, class = void>
struct Hashable {};

// True when T has a Hashable implementation.
template <class T>
concept HashableType = requires(std::uint64_t s, const T& x) {
    { Hashable<std::remove_cvref_t<T>>::hashWithSalt(s, x) } -> std::same_as<std::uint64_t>;
};

// Mixes x into the salt.
template <HashableType T>
std::uint64_t hashWithSalt(std::uint64_t salt, const T& x) {
    return Hashable<std::remove_cvref_t<T>>::hashWithSalt(salt, x);
}
// The hash of x with the default salt.
template <HashableType T>
std::uint64_t hash(const T& x) {
    return hashWithSalt(defaultSalt, x);
}

// A std::hash-compatible function object, so that unordered containers
// can use these stable hashes:
//   std::unordered_set<core::Integer, core::Hasher> s;
struct Hasher {
    using is_transparent = void;
    template <HashableType T>
    std::size_t operator()(const T& x) const {
        return static_cast<std::size_t>(core::hash(x));
    }
};

// Building blocks for implementations of container-like types.

// Mixes each element of a finite range with `f(salt, element)`, then the
// number of elements as an Int: the list rule.
template <class Range, class F>
std::uint64_t hashSequenceWith(std::uint64_t salt, const Range& xs, F&& f) {
    Int n = 0;
    for (const auto& x : xs) {
        salt = f(salt, x);
        ++n;
    }
    return hashInt(salt, n);
}
template <class Range>
std::uint64_t hashSequence(std::uint64_t salt, const Range& xs) {
    return hashSequenceWith(salt, xs, [](std::uint64_t s, const auto& x) { return core::hashWithSalt(s, x); });
}

// Mixes a number too large for an Int: the sign (+1 or -1) as an Int,
// then the limbs of the magnitude, least significant first, each as an
// Int, then the number of limbs as an Int.
std::uint64_t hashBigMagnitude(std::uint64_t salt, int sign, const std::uint64_t* limbs,
                               std::size_t count) noexcept;
// The text rule over UTF-8 bytes: each code point as an Int, then the
// number of code points. Invalid bytes count as U+FFFD, one per byte that
// does not start a valid sequence (as Text repairs them).
std::uint64_t hashUtf8(std::uint64_t salt, std::string_view bytes) noexcept;
// The rule for an Integer too large for an Int (out of line: it reads the
// GMP limbs).
std::uint64_t hashBigInteger(std::uint64_t salt, const Integer& x);

// ---- Implementations for the standard types ----

// Every integral type (bool, the character types and the integers of every
// width) hashes as the Int of its value.
template <class T>
struct Hashable<T, std::enable_if_t<std::is_integral_v<T>>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, T x) noexcept {
        if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(Int)) {
            if (x > static_cast<T>(INT64_MAX)) {
                // Above the Int range: hash as the Integer of the same
                // value, whose magnitude is this one limb.
                const auto limb = static_cast<std::uint64_t>(x);
                return hashBigMagnitude(salt, 1, &limb, 1);
            }
        }
        return hashInt(salt, static_cast<Int>(x));
    }
};

// An enumeration hashes as the Int of its underlying value (its position
// when numbered from 0).
template <class T>
struct Hashable<T, std::enable_if_t<std::is_enum_v<T>>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, T x) noexcept {
        return hashInt(salt, static_cast<Int>(static_cast<std::underlying_type_t<T>>(x)));
    }
};

template <>
struct Hashable<Unit> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, Unit) noexcept { return hashInt(salt, 0); }
};

template <>
struct Hashable<Void> {
    static std::uint64_t hashWithSalt(std::uint64_t, const Void& v) { return absurd<std::uint64_t>(v); }
};

template <>
struct Hashable<Integer> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Integer& x) {
        if (x.isSmall()) return hashInt(salt, x.unsafeInt());
        return hashBigInteger(salt, x);
    }
};

template <>
struct Hashable<Rational> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Rational& x) {
        return Hashable<Integer>::hashWithSalt(Hashable<Integer>::hashWithSalt(salt, x.numerator()), x.denominator());
    }
};

template <>
struct Hashable<Text> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Text& t) noexcept {
        return hashUtf8(salt, t.view());
    }
};
template <>
struct Hashable<std::string> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const std::string& s) noexcept {
        return hashUtf8(salt, s);
    }
};
template <>
struct Hashable<std::string_view> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, std::string_view s) noexcept {
        return hashUtf8(salt, s);
    }
};

template <HashableType A>
struct Hashable<List<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const List<A>& xs) { return hashSequence(salt, xs); }
};

template <HashableType A, class Alloc>
struct Hashable<std::vector<A, Alloc>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const std::vector<A, Alloc>& xs) {
        return hashSequence(salt, xs);
    }
};

template <HashableType A>
struct Hashable<NonEmpty<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const NonEmpty<A>& xs) {
        salt = core::hashWithSalt(salt, xs.head);
        Int n = 1;
        for (const A& x : xs.tail) {
            salt = core::hashWithSalt(salt, x);
            ++n;
        }
        return hashInt(salt, n);
    }
};

template <HashableType A>
struct Hashable<std::optional<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const std::optional<A>& m) {
        if (!m) return hashIndex(salt, 0);
        return core::hashWithSalt(hashIndex(salt, 1), *m);
    }
};

template <HashableType L, HashableType R>
struct Hashable<Either<L, R>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Either<L, R>& e) {
        if (e.isLeft()) return core::hashWithSalt(hashIndex(salt, 0), e.unsafeLeft());
        return core::hashWithSalt(hashIndex(salt, 1), e.unsafeRight());
    }
};

template <HashableType A, HashableType B>
struct Hashable<std::pair<A, B>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const std::pair<A, B>& p) {
        return core::hashWithSalt(core::hashWithSalt(salt, p.first), p.second);
    }
};

template <HashableType... Ts>
struct Hashable<std::tuple<Ts...>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const std::tuple<Ts...>& t) {
        return each(salt, t, std::index_sequence_for<Ts...>());
    }

private:
    template <std::size_t... I>
    static std::uint64_t each(std::uint64_t salt, const std::tuple<Ts...>& t, std::index_sequence<I...>) {
        ((salt = core::hashWithSalt(salt, std::get<I>(t))), ...);
        return salt;
    }
};

}  // namespace core
