#pragma once
// Semigroup and Monoid: associative combination, with an identity.
//
//   core::combine(a, b)          a <> b
//   core::sconcat(nonEmpty)      the combination of all elements
//   core::stimes(n, x)           x combined with itself n times (n >= 1)
//   core::mempty<T>()            the identity
//   core::mappend(a, b)          = combine
//   core::mconcat(xs)            the combination of a List or vector, or mempty
//
// Implementations are specialisations `template <> struct Semigroup<T>`
// (deriving from SemigroupDefaults<T, Self> for sconcat and stimes) and
// `template <> struct Monoid<T>` supplying `mempty()` (deriving from
// MonoidDefaults<T, Self> for mappend and mconcat).
//
// A semigroup whose combination need not look at its right operand (list
// append, Ordering, Any, First, ...) may also supply
// `combineLazy(a, Lazy<T> b)`; folds then hand it the rest of the
// structure unevaluated, so that it can stop early, also on an unbounded
// List (see core::foldMap).
//
// Implemented here for List, NonEmpty, std::vector, std::string, Text,
// Unit, Ordering, std::optional (over a Semigroup: the empty value is the
// identity), Either (the first Right wins), std::pair and std::tuple
// (componentwise) and functions (result-wise). The monoid wrappers (Endo,
// Dual, Any, All, ...) live in Core/Monoids.h.
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Error.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/LazyFold.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Text.h"
#include "Core/Types.h"

namespace core {

template <class T>
struct Semigroup {
    using NotImplemented = void;
};
template <class T>
struct Monoid {
    using NotImplemented = void;
};

// True when T has a Semigroup (Monoid) implementation.
template <class T>
concept IsSemigroup = !requires { typename Semigroup<std::remove_cvref_t<T>>::NotImplemented; };
template <class T>
concept IsMonoid =
    IsSemigroup<T> && !requires { typename Monoid<std::remove_cvref_t<T>>::NotImplemented; };
// True when the semigroup can combine with an unevaluated right operand.
template <class T>
concept IsLazySemigroup = IsSemigroup<T> && requires(const T& a, const Lazy<T>& b) {
    { Semigroup<std::remove_cvref_t<T>>::combineLazy(a, b) };
};

namespace detail {
template <class T>
[[noreturn]] void stimesNonPositive() {
    raise("stimes: positive multiplier expected");
}
}  // namespace detail

// Defaults for sconcat (a loop) and stimes (repeated squaring, so n
// combinations cost O(log n)).
template <class T, class Self>
struct SemigroupDefaults {
    // A lazy right fold for a semigroup with combineLazy (so it can stop
    // early, also on an unbounded list), else a loop.
    static T sconcat(const NonEmpty<T>& xs) {
        if constexpr (requires(const T& a, const Lazy<T>& b) { Self::combineLazy(a, b); }) {
            return detail::lazyFoldr1<T>([](const T& x, const Lazy<T>& rest) { return Self::combineLazy(x, rest); },
                                         detail::ListCursor<T>{xs.toList()})
                .force();
        }
        T acc = xs.head;
        for (const T& x : xs.tail) acc = Self::combine(acc, x);
        return acc;
    }
    static T stimes(Int n, const T& x) {
        if (n < 1) detail::stimesNonPositive<T>();
        // Invariant: result = acc <> base^n, with acc absent at first.
        std::optional<T> acc;
        T base = x;
        for (;;) {
            if (n & 1) acc = acc ? Self::combine(*acc, base) : base;
            n >>= 1;
            if (n == 0) break;
            base = Self::combine(base, base);
        }
        return *acc;
    }
};

// Defaults for mappend (= combine) and mconcat (a loop, or a lazy right
// fold for a semigroup with combineLazy).
template <class T, class Self>
struct MonoidDefaults {
    static T mappend(const T& a, const T& b) { return Semigroup<T>::combine(a, b); }
    static T mconcat(const List<T>& xs) {
        if constexpr (IsLazySemigroup<T>) {
            return detail::lazyFoldr(
                       [](const T& x, const Lazy<T>& rest) { return Semigroup<T>::combineLazy(x, rest); },
                       now(Self::mempty()), detail::ListCursor<T>{xs})
                .force();
        } else {
            T acc = Self::mempty();
            for (const T& x : xs) acc = Semigroup<T>::combine(acc, x);
            return acc;
        }
    }
};

// ---- Free functions ------------------------------------------------------

template <class T>
std::remove_cvref_t<T> combine(const T& a, const T& b) {
    if constexpr (!IsSemigroup<T>)
        static_assert(detail::alwaysFalse<T>, "no Semigroup implementation for this type");
    else
        return Semigroup<T>::combine(a, b);
}
// a <> b where b is computed only if the semigroup needs it.
template <class T>
T combineLazy(const T& a, const Lazy<T>& b) {
    if constexpr (!IsSemigroup<T>)
        static_assert(detail::alwaysFalse<T>, "no Semigroup implementation for this type");
    else if constexpr (IsLazySemigroup<T>)
        return Semigroup<T>::combineLazy(a, b);
    else
        return Semigroup<T>::combine(a, b.force());
}
template <class T>
T sconcat(const NonEmpty<T>& xs) {
    if constexpr (!IsSemigroup<T>)
        static_assert(detail::alwaysFalse<T>, "no Semigroup implementation for this type");
    else
        return Semigroup<T>::sconcat(xs);
}
// x combined with itself n times; raises core::Error
// "stimes: positive multiplier expected" when n < 1.
template <class T>
T stimes(Int n, const T& x) {
    if constexpr (!IsSemigroup<T>)
        static_assert(detail::alwaysFalse<T>, "no Semigroup implementation for this type");
    else
        return Semigroup<T>::stimes(n, x);
}
template <class T>
T mempty() {
    if constexpr (!IsMonoid<T>)
        static_assert(detail::alwaysFalse<T>, "no Monoid implementation for this type");
    else
        return Monoid<T>::mempty();
}
template <class T>
T mappend(const T& a, const T& b) {
    if constexpr (!IsMonoid<T>)
        static_assert(detail::alwaysFalse<T>, "no Monoid implementation for this type");
    else
        return Monoid<T>::mappend(a, b);
}
template <class T>
T mconcat(const List<T>& xs) {
    if constexpr (!IsMonoid<T>)
        static_assert(detail::alwaysFalse<T>, "no Monoid implementation for this type");
    else
        return Monoid<T>::mconcat(xs);
}
template <class T>
T mconcat(const std::vector<T>& xs) {
    if constexpr (!IsMonoid<T>) {
        static_assert(detail::alwaysFalse<T>, "no Monoid implementation for this type");
    } else {
        T acc = Monoid<T>::mempty();
        for (const T& x : xs) acc = Semigroup<T>::combine(acc, x);
        return acc;
    }
}

// ---- Lists ---------------------------------------------------------------

// List: lazy append; the right list is not looked at until the left one is
// used up.
template <class A>
struct Semigroup<List<A>> : SemigroupDefaults<List<A>, Semigroup<List<A>>> {
    static List<A> combine(const List<A>& a, const List<A>& b) { return a.append(b); }
    static List<A> combineLazy(const List<A>& a, const Lazy<List<A>>& b) {
        return a.appendLazy(b);
    }
};
template <class A>
struct Monoid<List<A>> : MonoidDefaults<List<A>, Monoid<List<A>>> {
    static List<A> mempty() { return {}; }
};

template <class A>
struct Semigroup<NonEmpty<A>> : SemigroupDefaults<NonEmpty<A>, Semigroup<NonEmpty<A>>> {
    static NonEmpty<A> combine(const NonEmpty<A>& a, const NonEmpty<A>& b) {
        return NonEmpty<A>(a.head, a.tail.append(b.toList()));
    }
};

template <class A>
struct Semigroup<std::vector<A>> : SemigroupDefaults<std::vector<A>, Semigroup<std::vector<A>>> {
    static std::vector<A> combine(const std::vector<A>& a, const std::vector<A>& b) {
        std::vector<A> out;
        out.reserve(a.size() + b.size());
        out.insert(out.end(), a.begin(), a.end());
        out.insert(out.end(), b.begin(), b.end());
        return out;
    }
};
template <class A>
struct Monoid<std::vector<A>> : MonoidDefaults<std::vector<A>, Monoid<std::vector<A>>> {
    static std::vector<A> mempty() { return {}; }
};

// ---- Texts ---------------------------------------------------------------

template <>
struct Semigroup<std::string> : SemigroupDefaults<std::string, Semigroup<std::string>> {
    static std::string combine(const std::string& a, const std::string& b) { return a + b; }
};
template <>
struct Monoid<std::string> : MonoidDefaults<std::string, Monoid<std::string>> {
    static std::string mempty() { return {}; }
};
template <>
struct Semigroup<Text> : SemigroupDefaults<Text, Semigroup<Text>> {
    static Text combine(const Text& a, const Text& b) { return a + b; }
};
template <>
struct Monoid<Text> : MonoidDefaults<Text, Monoid<Text>> {
    static Text mempty() { return {}; }
};

// ---- Unit and Ordering ---------------------------------------------------

template <>
struct Semigroup<Unit> : SemigroupDefaults<Unit, Semigroup<Unit>> {
    static Unit combine(Unit, Unit) { return unit; }
    static Unit stimes(Int n, Unit) {
        if (n < 1) detail::stimesNonPositive<Unit>();
        return unit;
    }
};
template <>
struct Monoid<Unit> : MonoidDefaults<Unit, Monoid<Unit>> {
    static Unit mempty() { return unit; }
};

// Lexicographic combination: the first result that is not EQ.
template <>
struct Semigroup<Ordering> : SemigroupDefaults<Ordering, Semigroup<Ordering>> {
    static Ordering combine(Ordering a, Ordering b) { return a == EQ ? b : a; }
    static Ordering combineLazy(Ordering a, const Lazy<Ordering>& b) { return a == EQ ? b.force() : a; }
    static Ordering stimes(Int n, Ordering o) {
        if (n < 1) detail::stimesNonPositive<Ordering>();
        return o;
    }
};
template <>
struct Monoid<Ordering> : MonoidDefaults<Ordering, Monoid<Ordering>> {
    static Ordering mempty() { return EQ; }
};

// ---- Optional, Either, pairs, tuples, functions ---------------------------

// Lifts a semigroup: the empty value is the identity.
template <class A>
    requires IsSemigroup<A>
struct Semigroup<std::optional<A>> : SemigroupDefaults<std::optional<A>, Semigroup<std::optional<A>>> {
    static std::optional<A> combine(const std::optional<A>& a, const std::optional<A>& b) {
        if (!a) return b;
        if (!b) return a;
        return Semigroup<A>::combine(*a, *b);
    }
};
template <class A>
    requires IsSemigroup<A>
struct Monoid<std::optional<A>> : MonoidDefaults<std::optional<A>, Monoid<std::optional<A>>> {
    static std::optional<A> mempty() { return std::nullopt; }
};

// The first Right wins; two Lefts give the second.
template <class L, class R>
struct Semigroup<Either<L, R>> : SemigroupDefaults<Either<L, R>, Semigroup<Either<L, R>>> {
    static Either<L, R> combine(const Either<L, R>& a, const Either<L, R>& b) { return a.isLeft() ? b : a; }
    static Either<L, R> combineLazy(const Either<L, R>& a, const Lazy<Either<L, R>>& b) {
        return a.isLeft() ? b.force() : a;
    }
    static Either<L, R> stimes(Int n, const Either<L, R>& x) {
        if (n < 1) detail::stimesNonPositive<Either<L, R>>();
        return x;
    }
};

template <class A, class B>
    requires IsSemigroup<A> && IsSemigroup<B>
struct Semigroup<std::pair<A, B>> : SemigroupDefaults<std::pair<A, B>, Semigroup<std::pair<A, B>>> {
    static std::pair<A, B> combine(const std::pair<A, B>& a, const std::pair<A, B>& b) {
        return {Semigroup<A>::combine(a.first, b.first), Semigroup<B>::combine(a.second, b.second)};
    }
};
template <class A, class B>
    requires IsMonoid<A> && IsMonoid<B>
struct Monoid<std::pair<A, B>> : MonoidDefaults<std::pair<A, B>, Monoid<std::pair<A, B>>> {
    static std::pair<A, B> mempty() { return {Monoid<A>::mempty(), Monoid<B>::mempty()}; }
};

template <class... Ts>
    requires(IsSemigroup<Ts> && ...)
struct Semigroup<std::tuple<Ts...>> : SemigroupDefaults<std::tuple<Ts...>, Semigroup<std::tuple<Ts...>>> {
    static std::tuple<Ts...> combine(const std::tuple<Ts...>& a, const std::tuple<Ts...>& b) {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return std::tuple<Ts...>(Semigroup<Ts>::combine(std::get<I>(a), std::get<I>(b))...);
        }(std::index_sequence_for<Ts...>{});
    }
};
template <class... Ts>
    requires(IsMonoid<Ts> && ...)
struct Monoid<std::tuple<Ts...>> : MonoidDefaults<std::tuple<Ts...>, Monoid<std::tuple<Ts...>>> {
    static std::tuple<Ts...> mempty() { return std::tuple<Ts...>(Monoid<Ts>::mempty()...); }
};

// Functions combine their results: (f <> g)(x) = f(x) <> g(x).
template <class R, class A>
    requires IsSemigroup<A>
struct Semigroup<std::function<A(R)>> : SemigroupDefaults<std::function<A(R)>, Semigroup<std::function<A(R)>>> {
    static std::function<A(R)> combine(const std::function<A(R)>& f, const std::function<A(R)>& g) {
        return [f, g](R x) { return Semigroup<A>::combine(f(x), g(x)); };
    }
};
template <class R, class A>
    requires IsMonoid<A>
struct Monoid<std::function<A(R)>> : MonoidDefaults<std::function<A(R)>, Monoid<std::function<A(R)>>> {
    static std::function<A(R)> mempty() {
        return [](R) { return Monoid<A>::mempty(); };
    }
};

}  // namespace core
