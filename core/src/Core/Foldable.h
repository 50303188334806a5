#pragma once
// Foldable: reduce the elements of a structure in their left-to-right order.
//
//   core::foldr(f, z, xs)        right fold; f(x, rest) gets the rest of the
//                                fold as a deferred core::Lazy<B>, so it can
//                                stop early, also on an unbounded List
//   core::foldrStrict(f, z, xs)  right fold with a plain accumulator (foldr')
//   core::foldl(f, z, xs)        left fold
//   core::foldlStrict(f, z, xs)  left fold, a loop (foldl')
//   core::foldr1(f, xs)          foldr without a start; f(x, Lazy<A> rest)
//   core::foldl1(f, xs)          foldl without a start
//   core::foldMap(f, xs)         combine f(x) in a Monoid
//   core::foldMapStrict(f, xs)   the same, strictly left to right (foldMap')
//   core::fold(xs)               combine the elements in their Monoid
//   core::toList, null, length, maximum, minimum, sum, product
//   core::elem(x, xs), any(p, xs), all(p, xs)
//
// foldr1, foldl1, maximum and minimum raise core::Error on an empty
// structure with "foldr1: empty structure", "foldl1: empty structure",
// "maximum: empty structure" and "minimum: empty structure". maximum keeps
// the later of equal elements and minimum the earlier (as core::max/min).
//
// An implementation is `template <> struct Foldable<Tag>` deriving from
// FoldableDefaults<Tag, Self> and supplying at least `foldr` or `foldMap`;
// every other operation defaults to one written in terms of those
// (strict folds walk `toList`, which is built lazily from `foldr`, so they
// run in constant stack). The primitive `Foldable<Tag>::foldr` takes its
// start as a Lazy<B>; the free function accepts a plain value or a Lazy.
//
// Implemented here for List, std::vector, std::optional, Either (the Right
// side), NonEmpty, std::pair (the second component), std::map (the
// values in key order), std::deque, std::array and std::span.
//
// Stack use: strict folds, sums, lengths and conversions are loops. A lazy
// right fold whose function demands every rest nests one demand per
// element; deep nesting continues on fresh stack segments (Core/Lazy.h),
// so it also runs on millions of elements, using memory in proportion.
#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Error.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/LazyFold.h"
#include "Core/List.h"
#include "Core/Num.h"
#include "Core/Semigroup.h"

namespace core {

template <class K>
struct Foldable {
    using NotImplemented = void;
};

// True when the tag K has a Foldable implementation.
template <class K>
concept IsFoldable = !requires { typename Foldable<K>::NotImplemented; };

namespace detail {
template <class T>
struct IsLazyT : std::false_type {};
template <class T>
struct IsLazyT<Lazy<T>> : std::true_type {};

// A start value as a Lazy: Lazy values pass through.
template <class Z>
auto asLazy(Z&& z) {
    if constexpr (IsLazyT<std::remove_cvref_t<Z>>::value)
        return std::remove_cvref_t<Z>(std::forward<Z>(z));
    else
        return now(std::forward<Z>(z));
}
template <class Z>
using LazyValue = typename decltype(asLazy(std::declval<Z>()))::value_type;

// foldr by way of foldMap: functions from the deferred accumulator.
template <class B>
struct FoldrEndo {
    std::function<B(const Lazy<B>&)> run;
};

[[noreturn]] inline void emptyStructure(const char* what) {
    raise(std::string(what) + ": empty structure");
}
}  // namespace detail

template <class B>
struct Semigroup<detail::FoldrEndo<B>> : SemigroupDefaults<detail::FoldrEndo<B>, Semigroup<detail::FoldrEndo<B>>> {
    static detail::FoldrEndo<B> combine(const detail::FoldrEndo<B>& g, const detail::FoldrEndo<B>& h) {
        return {[g, h](const Lazy<B>& z) { return g.run(defer([h, z] { return h.run(z); })); }};
    }
};
template <class B>
struct Monoid<detail::FoldrEndo<B>> : MonoidDefaults<detail::FoldrEndo<B>, Monoid<detail::FoldrEndo<B>>> {
    static detail::FoldrEndo<B> mempty() {
        return {[](const Lazy<B>& z) { return z.force(); }};
    }
};

// The defaults. FA is the concrete structure type, A its element type.
template <class K, class Self>
struct FoldableDefaults {
    template <class F, class FA>
    static auto foldMap(F&& f, const FA& xs) {
        using A = ArgOf<FA>;
        using M = Result<F&, const A&>;
        static_assert(IsMonoid<M>, "foldMap: no Monoid implementation for the result type");
        if constexpr (IsLazySemigroup<M>) {
            // The result may keep deferred parts, so the function is copied.
            return Self::foldr([f = std::decay_t<F>(std::forward<F>(f))](const A& x, const Lazy<M>& rest) {
                return Semigroup<M>::combineLazy(f(x), rest);
            }, now(Monoid<M>::mempty()), xs);
        } else {
            return Self::foldMapStrict(std::forward<F>(f), xs);
        }
    }
    template <class F, class FA>
    static auto foldMapStrict(F&& f, const FA& xs) {
        using A = ArgOf<FA>;
        using M = Result<F&, const A&>;
        static_assert(IsMonoid<M>, "foldMap': no Monoid implementation for the result type");
        return Self::foldlStrict([&f](M acc, const A& x) { return Semigroup<M>::combine(acc, f(x)); },
                                 Monoid<M>::mempty(), xs);
    }
    template <class FA>
    static auto fold(const FA& xs) {
        return Self::foldMap([](const ArgOf<FA>& x) { return x; }, xs);
    }
    template <class F, class B, class FA>
    static B foldr(F&& f, Lazy<B> z, const FA& xs) {
        using A = ArgOf<FA>;
        auto endo = Self::foldMap(
            [&f](const A& x) {
                return detail::FoldrEndo<B>{[f, x](const Lazy<B>& rest) -> B { return f(x, rest); }};
            },
            xs);
        return endo.run(z);
    }
    template <class FA>
    static List<ArgOf<FA>> toList(const FA& xs) {
        using A = ArgOf<FA>;
        return Self::foldr(
            [](const A& x, const Lazy<List<A>>& rest) {
                return List<A>::cons(x, List<A>::lazy([rest] { return rest.force(); }));
            },
            now(List<A>()), xs);
    }
    template <class F, class B, class FA>
    static B foldlStrict(F&& f, B z, const FA& xs) {
        for (const auto& x : Self::toList(xs)) z = f(std::move(z), x);
        return z;
    }
    template <class F, class B, class FA>
    static B foldl(F&& f, B z, const FA& xs) {
        return Self::foldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    template <class F, class B, class FA>
    static B foldrStrict(F&& f, B z, const FA& xs) {
        using A = ArgOf<FA>;
        std::vector<A> elems = Self::foldlStrict(
            [](std::vector<A> v, const A& x) {
                v.push_back(x);
                return v;
            },
            std::vector<A>(), xs);
        for (auto i = elems.rbegin(); i != elems.rend(); ++i) z = f(*i, std::move(z));
        return z;
    }
    template <class F, class FA>
    static ArgOf<FA> foldr1(F&& f, const FA& xs) {
        using A = ArgOf<FA>;
        List<A> l = Self::toList(xs);
        if (l.null()) detail::emptyStructure("foldr1");
        return detail::lazyFoldr1<A>(std::forward<F>(f), detail::ListCursor<A>{std::move(l)}).force();
    }
    template <class F, class FA>
    static ArgOf<FA> foldl1(F&& f, const FA& xs) {
        using A = ArgOf<FA>;
        std::optional<A> acc = Self::foldlStrict(
            [&f](std::optional<A> a, const A& x) -> std::optional<A> {
                if (!a) return x;
                return f(std::move(*a), x);
            },
            std::optional<A>(), xs);
        if (!acc) detail::emptyStructure("foldl1");
        return std::move(*acc);
    }
    template <class FA>
    static bool null(const FA& xs) {
        return Self::foldr([](const ArgOf<FA>&, const Lazy<bool>&) { return false; }, now(true), xs);
    }
    template <class FA>
    static Int length(const FA& xs) {
        return Self::foldlStrict([](Int n, const ArgOf<FA>&) { return n + 1; }, Int{0}, xs);
    }
    // Keeps the later of equal elements.
    template <class FA>
    static ArgOf<FA> maximum(const FA& xs) {
        using A = ArgOf<FA>;
        std::optional<A> m = Self::foldlStrict(
            [](std::optional<A> acc, const A& x) -> std::optional<A> {
                if (!acc || !(x < *acc)) return x;
                return acc;
            },
            std::optional<A>(), xs);
        if (!m) detail::emptyStructure("maximum");
        return std::move(*m);
    }
    // Keeps the earlier of equal elements.
    template <class FA>
    static ArgOf<FA> minimum(const FA& xs) {
        using A = ArgOf<FA>;
        std::optional<A> m = Self::foldlStrict(
            [](std::optional<A> acc, const A& x) -> std::optional<A> {
                if (!acc || x < *acc) return x;
                return acc;
            },
            std::optional<A>(), xs);
        if (!m) detail::emptyStructure("minimum");
        return std::move(*m);
    }
    template <class FA>
    static ArgOf<FA> sum(const FA& xs) {
        using A = ArgOf<FA>;
        static_assert(IsNum<A>, "sum: no Num implementation for the element type");
        return Self::foldlStrict([](A acc, const A& x) { return Num<A>::plus(acc, x); }, detail::numLiteral<A>(0),
                                 xs);
    }
    template <class FA>
    static ArgOf<FA> product(const FA& xs) {
        using A = ArgOf<FA>;
        static_assert(IsNum<A>, "product: no Num implementation for the element type");
        return Self::foldlStrict([](A acc, const A& x) { return Num<A>::times(acc, x); }, detail::numLiteral<A>(1),
                                 xs);
    }
};

// ---- Free functions ------------------------------------------------------

#define CORE_FOLDABLE_DISPATCH(name, T, call)                                                     \
    using K = detail::KindOrNone<T>;                                                              \
    if constexpr (!IsFoldable<K>)                                                                 \
        static_assert(detail::alwaysFalse<T>, "no Foldable implementation for this type (" name ")"); \
    else                                                                                          \
        return Foldable<K>::call

// Right fold. f(x, rest) receives the fold of the remaining elements as a
// core::Lazy<B>; z is a B or a Lazy<B>.
template <class F, class Z, class FA>
auto foldr(F&& f, Z&& z, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldr", FA, foldr(std::forward<F>(f), detail::asLazy(std::forward<Z>(z)), std::forward<FA>(xs)));
}
// Right fold with a strict accumulator: f(x, acc).
template <class F, class B, class FA>
B foldrStrict(F&& f, B z, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldr'", FA, foldrStrict(std::forward<F>(f), std::move(z), std::forward<FA>(xs)));
}
// Left fold: f(acc, x).
template <class F, class B, class FA>
B foldl(F&& f, B z, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldl", FA, foldl(std::forward<F>(f), std::move(z), std::forward<FA>(xs)));
}
// Left fold with a strict accumulator, a loop: f(acc, x).
template <class F, class B, class FA>
B foldlStrict(F&& f, B z, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldl'", FA, foldlStrict(std::forward<F>(f), std::move(z), std::forward<FA>(xs)));
}
// foldr with the last element as the start; f(x, Lazy<A> rest).
template <class F, class FA>
auto foldr1(F&& f, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldr1", FA, foldr1(std::forward<F>(f), std::forward<FA>(xs)));
}
// foldl with the first element as the start; f(acc, x).
template <class F, class FA>
auto foldl1(F&& f, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldl1", FA, foldl1(std::forward<F>(f), std::forward<FA>(xs)));
}
template <class F, class FA>
auto foldMap(F&& f, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldMap", FA, foldMap(std::forward<F>(f), std::forward<FA>(xs)));
}
template <class F, class FA>
auto foldMapStrict(F&& f, FA&& xs) {
    CORE_FOLDABLE_DISPATCH("foldMap'", FA, foldMapStrict(std::forward<F>(f), std::forward<FA>(xs)));
}
template <class FA>
auto fold(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("fold", FA, fold(std::forward<FA>(xs)));
}
// The elements as a List (lazily where the structure allows).
template <class FA>
auto toList(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("toList", FA, toList(std::forward<FA>(xs)));
}
template <class FA>
bool null(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("null", FA, null(std::forward<FA>(xs)));
}
template <class FA>
Int length(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("length", FA, length(std::forward<FA>(xs)));
}
template <class FA>
auto maximum(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("maximum", FA, maximum(std::forward<FA>(xs)));
}
template <class FA>
auto minimum(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("minimum", FA, minimum(std::forward<FA>(xs)));
}
template <class FA>
auto sum(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("sum", FA, sum(std::forward<FA>(xs)));
}
template <class FA>
auto product(FA&& xs) {
    CORE_FOLDABLE_DISPATCH("product", FA, product(std::forward<FA>(xs)));
}

#undef CORE_FOLDABLE_DISPATCH

// True when some element satisfies p; stops at the first one.
template <class P, class FA>
bool any(P&& p, const FA& xs) {
    using A = ArgOf<FA>;
    return foldr([&p](const A& x, const Lazy<bool>& rest) { return p(x) || rest.force(); }, false, xs);
}
// True when every element satisfies p; stops at the first that does not.
template <class P, class FA>
bool all(P&& p, const FA& xs) {
    using A = ArgOf<FA>;
    return foldr([&p](const A& x, const Lazy<bool>& rest) { return p(x) && rest.force(); }, true, xs);
}
// True when some element equals x.
template <class X, class FA>
bool elem(const X& x, const FA& xs) {
    return any([&x](const ArgOf<FA>& y) { return y == x; }, xs);
}

// ---- Implementations -----------------------------------------------------

template <>
struct Foldable<ListK> : FoldableDefaults<ListK, Foldable<ListK>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const List<A>& xs) {
        return detail::lazyFoldrList<B>(std::decay_t<F>(std::forward<F>(f)), std::move(z), xs).force();
    }
    template <class F, class A>
    static A foldr1(F&& f, const List<A>& xs) {
        if (xs.null()) detail::emptyStructure("foldr1");
        return detail::lazyFoldr1List<A>(std::decay_t<F>(std::forward<F>(f)), xs).force();
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const List<A>& xs) {
        for (const A& x : xs) z = f(std::move(z), x);
        return z;
    }
    // A list that nobody else holds is released cell by cell as it is
    // folded, so folding a long temporary list needs constant memory.
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, List<A>&& xs) {
        List<A> cur = std::move(xs);
        for (;;) {
            const auto& st = cur.step();
            if (!st) return z;
            z = f(std::move(z), st->head);
            cur = List<A>::tailOf(std::move(cur));
        }
    }
    template <class F, class B, class A>
    static B foldl(F&& f, B z, const List<A>& xs) {
        return foldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    template <class F, class B, class A>
    static B foldrStrict(F&& f, B z, const List<A>& xs) {
        std::vector<const A*> elems;
        for (const A& x : xs) elems.push_back(&x);
        for (auto i = elems.rbegin(); i != elems.rend(); ++i) z = f(**i, std::move(z));
        return z;
    }
    template <class A>
    static List<A> toList(const List<A>& xs) {
        return xs;
    }
    template <class A>
    static bool null(const List<A>& xs) {
        return xs.null();
    }
    template <class A>
    static Int length(const List<A>& xs) {
        return static_cast<Int>(xs.length());
    }
};

template <>
struct Foldable<VectorK> : FoldableDefaults<VectorK, Foldable<VectorK>> {
    // The deferred rests may outlive the call, so they share a copy.
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const std::vector<A>& xs) {
        if (xs.empty()) return z.force();
        return detail::lazyFoldr<B>(std::decay_t<F>(std::forward<F>(f)), std::move(z),
                                    detail::VectorCursor<A>{std::make_shared<const std::vector<A>>(xs), 0})
            .force();
    }
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, std::vector<A>&& xs) {
        if (xs.empty()) return z.force();
        return detail::lazyFoldr<B>(std::decay_t<F>(std::forward<F>(f)), std::move(z),
                                    detail::VectorCursor<A>{std::make_shared<const std::vector<A>>(std::move(xs)), 0})
            .force();
    }
    template <class F, class A>
    static A foldr1(F&& f, const std::vector<A>& xs) {
        if (xs.empty()) detail::emptyStructure("foldr1");
        return detail::lazyFoldr1<A>(std::decay_t<F>(std::forward<F>(f)),
                                     detail::VectorCursor<A>{std::make_shared<const std::vector<A>>(xs), 0})
            .force();
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const std::vector<A>& xs) {
        for (const A& x : xs) z = f(std::move(z), x);
        return z;
    }
    template <class F, class B, class A>
    static B foldl(F&& f, B z, const std::vector<A>& xs) {
        return foldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    template <class F, class B, class A>
    static B foldrStrict(F&& f, B z, const std::vector<A>& xs) {
        for (auto i = xs.rbegin(); i != xs.rend(); ++i) z = f(*i, std::move(z));
        return z;
    }
    template <class A>
    static List<A> toList(const std::vector<A>& xs) {
        return List<A>::fromVector(xs);
    }
    template <class A>
    static bool null(const std::vector<A>& xs) {
        return xs.empty();
    }
    template <class A>
    static Int length(const std::vector<A>& xs) {
        return static_cast<Int>(xs.size());
    }
};

namespace detail {
// The folds of a finite random-access container (std::deque, std::array,
// std::span) by loops, as for std::vector; a lazy right fold works on a
// shared copy of the elements, since its deferred rests may outlive the
// call (and, for a span, the viewed elements).
template <class K, class Self>
struct SequenceFoldable : FoldableDefaults<K, Self> {
    template <class F, class B, class FA>
    static B foldr(F&& f, Lazy<B> z, const FA& xs) {
        using A = ArgOf<FA>;
        if (std::size(xs) == 0) return z.force();
        return detail::lazyFoldr<B>(
                   std::decay_t<F>(std::forward<F>(f)), std::move(z),
                   detail::VectorCursor<A>{std::make_shared<const std::vector<A>>(std::begin(xs), std::end(xs)), 0})
            .force();
    }
    template <class F, class FA>
    static ArgOf<FA> foldr1(F&& f, const FA& xs) {
        using A = ArgOf<FA>;
        if (std::size(xs) == 0) detail::emptyStructure("foldr1");
        return detail::lazyFoldr1<A>(
                   std::decay_t<F>(std::forward<F>(f)),
                   detail::VectorCursor<A>{std::make_shared<const std::vector<A>>(std::begin(xs), std::end(xs)), 0})
            .force();
    }
    template <class F, class B, class FA>
    static B foldlStrict(F&& f, B z, const FA& xs) {
        for (const auto& x : xs) z = f(std::move(z), x);
        return z;
    }
    template <class F, class B, class FA>
    static B foldl(F&& f, B z, const FA& xs) {
        return foldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    template <class F, class B, class FA>
    static B foldrStrict(F&& f, B z, const FA& xs) {
        for (auto i = std::rbegin(xs); i != std::rend(xs); ++i) z = f(*i, std::move(z));
        return z;
    }
    template <class FA>
    static List<ArgOf<FA>> toList(const FA& xs) {
        return List<ArgOf<FA>>::fromRange(std::begin(xs), std::end(xs));
    }
    template <class FA>
    static bool null(const FA& xs) {
        return std::size(xs) == 0;
    }
    template <class FA>
    static Int length(const FA& xs) {
        return static_cast<Int>(std::size(xs));
    }
};
}  // namespace detail

template <>
struct Foldable<DequeK> : detail::SequenceFoldable<DequeK, Foldable<DequeK>> {};
template <std::size_t N>
struct Foldable<StdArrayK<N>> : detail::SequenceFoldable<StdArrayK<N>, Foldable<StdArrayK<N>>> {};
template <std::size_t Extent>
struct Foldable<SpanK<Extent>> : detail::SequenceFoldable<SpanK<Extent>, Foldable<SpanK<Extent>>> {};

// GCC 12 reports -Wmaybe-uninitialized for the payload of an empty
// std::optional on paths that never read it (a known false positive at low
// optimisation levels); silenced for the code below.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// Structures of zero or one element share one implementation: `get(xs)`
// gives a pointer to the element or nullptr.
template <class K, class Self>
struct FoldableAtMostOne : FoldableDefaults<K, Self> {
    template <class F, class B, class FA>
    static B foldr(F&& f, Lazy<B> z, const FA& xs) {
        const auto* x = Self::get(xs);
        return x ? f(*x, z) : z.force();
    }
    template <class F, class B, class FA>
    static B foldlStrict(F&& f, B z, const FA& xs) {
        const auto* x = Self::get(xs);
        return x ? f(std::move(z), *x) : z;
    }
    template <class F, class B, class FA>
    static B foldl(F&& f, B z, const FA& xs) {
        return foldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    template <class F, class B, class FA>
    static B foldrStrict(F&& f, B z, const FA& xs) {
        const auto* x = Self::get(xs);
        return x ? f(*x, std::move(z)) : z;
    }
    template <class FA>
    static List<ArgOf<FA>> toList(const FA& xs) {
        const auto* x = Self::get(xs);
        return x ? List<ArgOf<FA>>{*x} : List<ArgOf<FA>>();
    }
    template <class FA>
    static bool null(const FA& xs) {
        return Self::get(xs) == nullptr;
    }
    template <class FA>
    static Int length(const FA& xs) {
        return Self::get(xs) ? 1 : 0;
    }
};

template <>
struct Foldable<OptionalK> : FoldableAtMostOne<OptionalK, Foldable<OptionalK>> {
    template <class A>
    static const A* get(const std::optional<A>& x) {
        return x ? &*x : nullptr;
    }
};

template <class L>
struct Foldable<EitherK<L>> : FoldableAtMostOne<EitherK<L>, Foldable<EitherK<L>>> {
    template <class A>
    static const A* get(const Either<L, A>& x) {
        return x.isRight() ? &x.unsafeRight() : nullptr;
    }
};

template <class W>
struct Foldable<PairK<W>> : FoldableAtMostOne<PairK<W>, Foldable<PairK<W>>> {
    template <class A>
    static const A* get(const std::pair<W, A>& p) {
        return &p.second;
    }
};

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
template <>
struct Foldable<NonEmptyK> : FoldableDefaults<NonEmptyK, Foldable<NonEmptyK>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const NonEmpty<A>& xs) {
        return Foldable<ListK>::foldr(std::forward<F>(f), std::move(z), xs.toList());
    }
    template <class F, class A>
    static A foldr1(F&& f, const NonEmpty<A>& xs) {
        return Foldable<ListK>::foldr1(std::forward<F>(f), xs.toList());
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const NonEmpty<A>& xs) {
        z = f(std::move(z), xs.head);
        for (const A& x : xs.tail) z = f(std::move(z), x);
        return z;
    }
    template <class F, class A>
    static A foldl1(F&& f, const NonEmpty<A>& xs) {
        A acc = xs.head;
        for (const A& x : xs.tail) acc = f(std::move(acc), x);
        return acc;
    }
    template <class A>
    static List<A> toList(const NonEmpty<A>& xs) {
        return xs.toList();
    }
    template <class A>
    static bool null(const NonEmpty<A>&) {
        return false;
    }
};

template <class Key>
struct Foldable<MapK<Key>> : FoldableDefaults<MapK<Key>, Foldable<MapK<Key>>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const std::map<Key, A>& m) {
        std::vector<A> vs;
        vs.reserve(m.size());
        for (const auto& kv : m) vs.push_back(kv.second);
        return Foldable<VectorK>::foldr(std::forward<F>(f), std::move(z), std::move(vs));
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const std::map<Key, A>& m) {
        for (const auto& kv : m) z = f(std::move(z), kv.second);
        return z;
    }
    template <class A>
    static bool null(const std::map<Key, A>& m) {
        return m.empty();
    }
    template <class A>
    static Int length(const std::map<Key, A>& m) {
        return static_cast<Int>(m.size());
    }
};

}  // namespace core
