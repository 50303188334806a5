#pragma once
// core::Ix<I>: the range enumeration of an index type, the interface that
// core::Array indexes through.
//
//   std::pair<Int, Int> b{1, 3};
//   core::range(b)                    // [1, 2, 3]
//   core::index(b, Int{2})            // 1: the position of 2 in the range
//   core::inRange(b, Int{5})          // false
//   core::rangeSize(b)                // 3
//   core::range(std::pair{std::pair{0, 0}, std::pair{1, 2}})
//                                     // (0,0) (0,1) (0,2) (1,0) (1,1) (1,2)
//
// Bounds are a pair (lo, hi); the range is empty when hi is below lo.
// Implemented for every integral type (Int, the fixed-width integers,
// char, Char, bool), Integer, Unit, and pairs and tuples of index types in
// row-major order (the last component varies fastest).
//
// A user index type joins by specialising `core::Ix<I>` (deriving from
// IxDefaults<I, Self>) with
//   static std::vector<I> range(const std::pair<I, I>& b);
//   static bool inRange(const std::pair<I, I>& b, const I& i);
// and, for speed, `unsafeIndex(b, i)` (the position of an index known to
// be in range) and `rangeSize(b)`; the defaults find positions by walking
// the range.
//
// `index` raises core::Error ("Ix.index: index 5 out of range (1,3)") for
// an index outside the bounds, `rangeSize` raises core::Error ("Ix.rangeSize:
// range too large") when the number of indices does not fit an Int.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Error.h"
#include "Core/Integer.h"
#include "Core/Show.h"
#include "Core/Types.h"

namespace core {

template <class I, class = void>
struct Ix {
    using NotImplemented = void;
};

// True when I has a range enumeration.
template <class I>
concept IxType = !requires { typename Ix<I>::NotImplemented; };

namespace detail {
[[noreturn]] void ixRangeTooLarge();
[[noreturn]] void ixOutOfRange(const std::string& what, const std::string& index, const std::string& bounds);

// The text of a value for an error message, when it has one.
template <class T>
std::string showForError(const T& x) {
    if constexpr (Showable<T>)
        return show(x);
    else
        return "?";
}
}  // namespace detail

template <class I, class Self>
struct IxDefaults {
    using Bounds = std::pair<I, I>;
    // The position of i in the range; i must be in range.
    static Int unsafeIndex(const Bounds& b, const I& i) {
        Int k = 0;
        for (const I& j : Self::range(b)) {
            if (j == i) return k;
            ++k;
        }
        return k;
    }
    // The position of i in the range; raises core::Error when i is outside.
    static Int index(const Bounds& b, const I& i) {
        if (!Self::inRange(b, i))
            detail::ixOutOfRange("Ix.index", detail::showForError(i), detail::showForError(b));
        return Self::unsafeIndex(b, i);
    }
    // The number of indices in the range.
    static Int rangeSize(const Bounds& b) {
        if (!Self::inRange(b, b.second)) return 0;
        return Self::unsafeIndex(b, b.second) + 1;
    }
};

// ---- Free functions --------------------------------------------------------

template <IxType I>
std::vector<I> range(const std::pair<I, I>& b) {
    return Ix<I>::range(b);
}
template <IxType I>
Int index(const std::pair<I, I>& b, const I& i) {
    return Ix<I>::index(b, i);
}
template <IxType I>
bool inRange(const std::pair<I, I>& b, const I& i) {
    return Ix<I>::inRange(b, i);
}
template <IxType I>
Int rangeSize(const std::pair<I, I>& b) {
    return Ix<I>::rangeSize(b);
}

namespace detail {
// rangeSize, or nullopt when it does not fit an Int (for decoders, which
// must not throw on hostile bounds).
template <IxType I>
std::optional<Int> rangeSizeChecked(const std::pair<I, I>& b) {
    try {
        return Ix<I>::rangeSize(b);
    } catch (const Error&) {
        return std::nullopt;
    }
}
}  // namespace detail

// ---- Implementations -------------------------------------------------------

// Every integral type, bool and the character types included: lo, lo+1, ..., hi.
template <class T>
struct Ix<T, std::enable_if_t<std::is_integral_v<T>>> : IxDefaults<T, Ix<T>> {
    using Bounds = std::pair<T, T>;
    using Wide = __int128;
    static bool inRange(const Bounds& b, T i) { return b.first <= i && i <= b.second; }
    // For an index in range the difference fits an Int, so unsigned
    // arithmetic (wrapping) gives it exactly.
    static Int unsafeIndex(const Bounds& b, T i) {
        return static_cast<Int>(static_cast<std::uint64_t>(i) - static_cast<std::uint64_t>(b.first));
    }
    static Int index(const Bounds& b, T i) {
        if (!inRange(b, i)) detail::ixOutOfRange("Ix.index", detail::showForError(i), detail::showForError(b));
        return unsafeIndex(b, i);
    }
    static Int rangeSize(const Bounds& b) {
        if (b.second < b.first) return 0;
        Wide n = static_cast<Wide>(b.second) - static_cast<Wide>(b.first) + 1;
        if (n > static_cast<Wide>(INT64_MAX)) detail::ixRangeTooLarge();
        return static_cast<Int>(n);
    }
    static std::vector<T> range(const Bounds& b) {
        std::vector<T> out;
        const Int n = rangeSize(b);
        out.reserve(static_cast<std::size_t>(n));
        for (Int k = 0; k < n; ++k) out.push_back(static_cast<T>(static_cast<Wide>(b.first) + k));
        return out;
    }
};

template <>
struct Ix<Integer> : IxDefaults<Integer, Ix<Integer>> {
    using Bounds = std::pair<Integer, Integer>;
    static bool inRange(const Bounds& b, const Integer& i) { return b.first <= i && i <= b.second; }
    static Int unsafeIndex(const Bounds& b, const Integer& i) { return (i - b.first).unsafeInt(); }
    static Int rangeSize(const Bounds& b);
    static std::vector<Integer> range(const Bounds& b);
};

template <>
struct Ix<Unit> : IxDefaults<Unit, Ix<Unit>> {
    using Bounds = std::pair<Unit, Unit>;
    static bool inRange(const Bounds&, Unit) { return true; }
    static Int unsafeIndex(const Bounds&, Unit) { return 0; }
    static Int rangeSize(const Bounds&) { return 1; }
    static std::vector<Unit> range(const Bounds&) { return {unit}; }
};

namespace detail {
inline Int ixMul(Int a, Int b) {
    Int r;
    if (__builtin_mul_overflow(a, b, &r)) ixRangeTooLarge();
    return r;
}

// Row-major enumeration of a tuple-like index of N components: the
// components' bounds are get<k>(lo), get<k>(hi).
template <class T, std::size_t N>
struct RowMajor {
    template <std::size_t K>
    using C = std::remove_cvref_t<std::tuple_element_t<K, T>>;
    template <std::size_t K>
    static std::pair<C<K>, C<K>> part(const std::pair<T, T>& b) {
        return {std::get<K>(b.first), std::get<K>(b.second)};
    }
    template <std::size_t... K>
    static bool inRange(const std::pair<T, T>& b, const T& i, std::index_sequence<K...>) {
        return (Ix<C<K>>::inRange(part<K>(b), std::get<K>(i)) && ...);
    }
    template <std::size_t... K>
    static Int unsafeIndex(const std::pair<T, T>& b, const T& i, std::index_sequence<K...>) {
        Int acc = 0;
        ((acc = acc * Ix<C<K>>::rangeSize(part<K>(b)) + Ix<C<K>>::unsafeIndex(part<K>(b), std::get<K>(i))), ...);
        return acc;
    }
    template <std::size_t... K>
    static Int rangeSize(const std::pair<T, T>& b, std::index_sequence<K...>) {
        Int acc = 1;
        ((acc = ixMul(acc, Ix<C<K>>::rangeSize(part<K>(b)))), ...);
        return acc;
    }
    template <std::size_t... K>
    static std::vector<T> range(const std::pair<T, T>& b, std::index_sequence<K...> ks) {
        std::vector<T> out;
        const Int n = rangeSize(b, ks);
        if (n == 0) return out;
        out.reserve(static_cast<std::size_t>(n));
        std::tuple<std::vector<C<K>>...> parts{Ix<C<K>>::range(part<K>(b))...};
        std::size_t pos[N] = {};
        for (;;) {
            out.push_back(T(std::get<K>(parts)[pos[K]]...));
            // Advance the last component first (row-major).
            std::size_t k = N;
            const std::size_t sizes[N] = {std::get<K>(parts).size()...};
            while (k > 0) {
                --k;
                if (++pos[k] < sizes[k]) break;
                pos[k] = 0;
                if (k == 0) return out;
            }
        }
    }
};
}  // namespace detail

// Pairs and tuples of index types, in row-major order.
template <class T>
struct IxRowMajor : IxDefaults<T, IxRowMajor<T>> {
    static constexpr std::size_t N = std::tuple_size_v<T>;
    using RM = detail::RowMajor<T, N>;
    using Bounds = std::pair<T, T>;
    static bool inRange(const Bounds& b, const T& i) { return RM::inRange(b, i, std::make_index_sequence<N>()); }
    static Int unsafeIndex(const Bounds& b, const T& i) { return RM::unsafeIndex(b, i, std::make_index_sequence<N>()); }
    static Int index(const Bounds& b, const T& i) {
        if (!inRange(b, i)) detail::ixOutOfRange("Ix.index", detail::showForError(i), detail::showForError(b));
        return unsafeIndex(b, i);
    }
    static Int rangeSize(const Bounds& b) {
        if (!inRange(b, b.first) || !inRange(b, b.second)) return 0;
        return RM::rangeSize(b, std::make_index_sequence<N>());
    }
    static std::vector<T> range(const Bounds& b) {
        if (rangeSize(b) == 0) return {};
        return RM::range(b, std::make_index_sequence<N>());
    }
};

template <IxType A, IxType B>
struct Ix<std::pair<A, B>> : IxRowMajor<std::pair<A, B>> {};
template <IxType... Ts>
    requires(sizeof...(Ts) >= 2)
struct Ix<std::tuple<Ts...>> : IxRowMajor<std::tuple<Ts...>> {};

}  // namespace core
