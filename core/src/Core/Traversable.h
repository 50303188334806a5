#pragma once
// Traversable: run one effect per element, in fold order, and rebuild the
// same shape from the results.
//
//   core::traverse(f, xs)     f(x) gives an effect (any Applicative); the
//                             result is the effect of the rebuilt structure
//   core::sequenceA(xs)       the structure of effects turned inside out
//   core::mapM, core::sequence   the same (any Monad is an Applicative)
//   core::traverse_(f, xs)    the effects only, for any Foldable; for_ flips
//
// The applicative is deduced from the type f returns; only an empty
// structure under sequenceA has no element to deduce it from, so
// sequenceA takes it from the element type.
//
// An implementation is `template <> struct Traversable<Tag>` (the tag must
// also have Functor and Foldable) deriving from TraversableDefaults<Tag,
// Self> and supplying `traverse` or `sequenceA`. Implemented here for
// List, std::vector, std::optional, Either, NonEmpty, std::pair,
// std::map, std::deque and std::array (same size).
//
// The effects are combined left to right with liftA2 while the results are
// collected into a std::vector, which the effect carries (moved, not
// copied, by applicatives such as Identity and std::optional). The strict
// applicatives use direct loops instead: Identity, std::optional and
// Either over any range, and over a List std::optional, Either, the writer
// (std::pair) and the state applicatives build the resulting List in one
// pass; std::optional and Either stop at the first empty value or Left. A
// List is therefore traversed to its end, except in those two at a
// failure, in Identity (a lazy map, so it works on unbounded lists) and in
// Const (a foldMap, which stops early for a monoid that can).
#include <array>
#include <cstddef>
#include <deque>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Kinds.h"

namespace core {

template <class K>
struct Traversable {
    using NotImplemented = void;
};

// True when the tag K has a Traversable implementation.
template <class K>
concept IsTraversable =
    IsFunctor<K> && IsFoldable<K> && !requires { typename Traversable<K>::NotImplemented; };

// Shortcuts for traversing a List in a particular applicative (Identity and
// Const specialise it in Core/FunctorTypes.h, the state applicatives in
// Core/State.h). `eager` marks the strict ones, which build the whole
// result in one pass over the list (stopping at a failure where the
// applicative can fail); NonEmpty traverses its tail through them.
template <class G>
struct TraverseListIn {
    static constexpr bool special = false;
    static constexpr bool eager = false;
};
namespace detail {
// True when G's List traversal is one of the eager loops.
template <class G>
concept EagerListTraversal = requires { requires TraverseListIn<G>::eager; };
}  // namespace detail
template <>
struct TraverseListIn<OptionalK> {
    static constexpr bool special = true;
    static constexpr bool eager = true;
    template <class B, class F, class A>
    static std::optional<List<B>> run(F&& f, const List<A>& xs) {
        typename List<B>::Builder out;
        for (const A& x : xs) {
            auto r = f(x);
            if (!r) return std::nullopt;
            out.push_back(std::move(*r));
        }
        return std::optional<List<B>>(std::move(out).build());
    }
};
template <class L>
struct TraverseListIn<EitherK<L>> {
    static constexpr bool special = true;
    static constexpr bool eager = true;
    template <class B, class F, class A>
    static Either<L, List<B>> run(F&& f, const List<A>& xs) {
        typename List<B>::Builder out;
        for (const A& x : xs) {
            auto r = f(x);
            if (r.isLeft()) return Either<L, List<B>>::left(r.unsafeLeft());
            out.push_back(r.unsafeRight());
        }
        return Either<L, List<B>>::right(std::move(out).build());
    }
};
// The writer: the logs combined left to right, starting from mempty, as
// liftA2 would.
template <class W>
    requires IsMonoid<W>
struct TraverseListIn<PairK<W>> {
    static constexpr bool special = true;
    static constexpr bool eager = true;
    template <class B, class F, class A>
    static std::pair<W, List<B>> run(F&& f, const List<A>& xs) {
        W log = Monoid<W>::mempty();
        typename List<B>::Builder out;
        for (const A& x : xs) {
            auto r = f(x);
            log = Semigroup<W>::combine(log, r.first);
            out.push_back(std::move(r.second));
        }
        return std::pair<W, List<B>>(std::move(log), std::move(out).build());
    }
};

// Direct loops for traversing a range in applicatives that allow one
// (std::optional, Either, and Identity in Core/FunctorTypes.h): the same
// results as combining with liftA2, without moving the partial result
// through every step. std::optional and Either stop at the first empty
// value or Left, since nothing after it can change the result.
template <class G>
struct TraverseRangeIn {
    static constexpr bool special = false;
};
template <>
struct TraverseRangeIn<OptionalK> {
    static constexpr bool special = true;
    template <class B, class F, class It>
    static std::optional<std::vector<B>> run(F& f, It first, It last, std::size_t sizeHint) {
        std::vector<B> out;
        out.reserve(sizeHint);
        for (; first != last; ++first) {
            auto r = f(*first);
            if (!r) return std::nullopt;
            out.push_back(std::move(*r));
        }
        return std::optional<std::vector<B>>(std::move(out));
    }
};
template <class L>
struct TraverseRangeIn<EitherK<L>> {
    static constexpr bool special = true;
    template <class B, class F, class It>
    static Either<L, std::vector<B>> run(F& f, It first, It last, std::size_t sizeHint) {
        std::vector<B> out;
        out.reserve(sizeHint);
        for (; first != last; ++first) {
            auto r = f(*first);
            if (r.isLeft()) return Either<L, std::vector<B>>::left(r.unsafeLeft());
            out.push_back(r.unsafeRight());
        }
        return Either<L, std::vector<B>>::right(std::move(out));
    }
};

namespace detail {
// The applicative of f's results and their element type.
template <class F, class A>
struct EffectOf {
    using GB = Result<F&, const A&>;
    static_assert(HasKind<GB>, "traverse: the function must return an applicative value (a type with a kind tag)");
    using G = KindOfT<GB>;
    using B = ArgOf<GB>;
};

template <class G, class B, class F, class It>
auto traverseToVectorGeneric(F& f, It first, It last, std::size_t sizeHint);

// G<std::vector<B>> from the elements of a range, effects left to right.
template <class G, class B, class F, class It>
auto traverseToVector(F& f, It first, It last, std::size_t sizeHint) {
    static_assert(IsApplicative<G>, "traverse: no Applicative implementation for the function's result");
    if constexpr (TraverseRangeIn<G>::special) {
        return TraverseRangeIn<G>::template run<B>(f, first, last, sizeHint);
    } else {
        return traverseToVectorGeneric<G, B>(f, first, last, sizeHint);
    }
}
template <class G, class B, class F, class It>
auto traverseToVectorGeneric(F& f, It first, It last, std::size_t sizeHint) {
    std::vector<B> start;
    start.reserve(sizeHint);
    auto acc = Applicative<G>::pure(std::move(start));
    for (; first != last; ++first)
        acc = Applicative<G>::liftA2(
            [](auto v, auto b) {
                v.push_back(std::move(b));
                return v;
            },
            std::move(acc), f(*first));
    return acc;
}
}  // namespace detail

template <class K, class Self>
struct TraversableDefaults {
    template <class F, class TA>
    static auto traverse(F&& f, const TA& xs) {
        return Self::sequenceA(Functor<K>::fmap(std::forward<F>(f), xs));
    }
    template <class TGA>
    static auto sequenceA(const TGA& xs) {
        return Self::traverse([](const ArgOf<TGA>& g) { return g; }, xs);
    }
    template <class F, class TA>
    static auto mapM(F&& f, const TA& xs) {
        return Self::traverse(std::forward<F>(f), xs);
    }
    template <class TGA>
    static auto sequence(const TGA& xs) {
        return Self::sequenceA(xs);
    }
};

#define CORE_TRAVERSABLE_DISPATCH(T, call)                                                      \
    using K = detail::KindOrNone<T>;                                                            \
    if constexpr (!IsTraversable<K>)                                                            \
        static_assert(detail::alwaysFalse<T>, "no Traversable implementation for this type");  \
    else                                                                                        \
        return Traversable<K>::call

template <class F, class TA>
auto traverse(F&& f, const TA& xs) {
    CORE_TRAVERSABLE_DISPATCH(TA, traverse(std::forward<F>(f), xs));
}
template <class TGA>
auto sequenceA(const TGA& xs) {
    CORE_TRAVERSABLE_DISPATCH(TGA, sequenceA(xs));
}
template <class F, class TA>
auto mapM(F&& f, const TA& xs) {
    CORE_TRAVERSABLE_DISPATCH(TA, mapM(std::forward<F>(f), xs));
}
template <class TGA>
auto sequence(const TGA& xs) {
    CORE_TRAVERSABLE_DISPATCH(TGA, sequence(xs));
}
// traverse with the arguments flipped.
template <class TA, class F>
auto forM(const TA& xs, F&& f) {
    return traverse(std::forward<F>(f), xs);
}

#undef CORE_TRAVERSABLE_DISPATCH

// The effects of f over any Foldable, left to right, with the results
// dropped: G<Unit>.
template <class F, class TA>
auto traverse_(F&& f, const TA& xs) {
    using A = ArgOf<TA>;
    using G = typename detail::EffectOf<F, A>::G;
    static_assert(IsApplicative<G>, "traverse_: no Applicative implementation for the function's result");
    return foldlStrict(
        [&f](auto acc, const A& x) {
            return Applicative<G>::liftA2([](Unit, const auto&) { return unit; }, std::move(acc), f(x));
        },
        Applicative<G>::pure(unit), xs);
}
template <class TA, class F>
auto for_(const TA& xs, F&& f) {
    return traverse_(std::forward<F>(f), xs);
}
// The effects of a Foldable of effects, results dropped.
template <class TGA>
auto sequenceA_(const TGA& xs) {
    return traverse_([](const ArgOf<TGA>& g) { return g; }, xs);
}

// ---- Implementations -----------------------------------------------------

template <>
struct Traversable<VectorK> : TraversableDefaults<VectorK, Traversable<VectorK>> {
    template <class F, class A>
    static auto traverse(F&& f, const std::vector<A>& xs) {
        using E = detail::EffectOf<F, A>;
        return detail::traverseToVector<typename E::G, typename E::B>(f, xs.begin(), xs.end(), xs.size());
    }
};

namespace detail {
// A std::array<B, N> from the N elements of a vector, moved.
template <class B, std::size_t N, std::size_t... I>
std::array<B, N> stdArrayFromVector(std::vector<B>& v, std::index_sequence<I...>) {
    return std::array<B, N>{{std::move(v[I])...}};
}
}  // namespace detail

namespace detail {
// Traverses the n elements of [first, last) as a std::vector is, then moves
// the collected vector into the container make(std::vector<B>) builds.
template <class A, class F, class It, class Make>
auto traverseRebuilt(F& f, It first, It last, std::size_t n, Make make) {
    using E = EffectOf<F, A>;
    auto vs = traverseToVector<typename E::G, typename E::B>(f, first, last, n);
    return Functor<typename E::G>::fmap(std::move(make), std::move(vs));
}
}  // namespace detail

// std::deque and std::array are traversed as a std::vector is, the
// collected vector then moved into the container.
template <>
struct Traversable<DequeK> : TraversableDefaults<DequeK, Traversable<DequeK>> {
    template <class F, class A>
    static auto traverse(F&& f, const std::deque<A>& xs) {
        return detail::traverseRebuilt<A>(f, xs.begin(), xs.end(), xs.size(), [](auto v) {
            using B = typename decltype(v)::value_type;
            return std::deque<B>(std::make_move_iterator(v.begin()), std::make_move_iterator(v.end()));
        });
    }
};
template <std::size_t N>
struct Traversable<StdArrayK<N>> : TraversableDefaults<StdArrayK<N>, Traversable<StdArrayK<N>>> {
    template <class F, class A>
    static auto traverse(F&& f, const std::array<A, N>& xs) {
        return detail::traverseRebuilt<A>(f, xs.begin(), xs.end(), N, [](auto v) {
            using B = typename decltype(v)::value_type;
            return detail::stdArrayFromVector<B, N>(v, std::make_index_sequence<N>{});
        });
    }
};

template <>
struct Traversable<ListK> : TraversableDefaults<ListK, Traversable<ListK>> {
    template <class F, class A>
    static auto traverse(F&& f, const List<A>& xs) {
        using E = detail::EffectOf<F, A>;
        using G = typename E::G;
        using B = typename E::B;
        if constexpr (TraverseListIn<G>::special) {
            return TraverseListIn<G>::template run<B>(std::forward<F>(f), xs);
        } else {
            auto vs = detail::traverseToVector<G, B>(f, xs.begin(), xs.end(), 0);
            return Functor<G>::fmap([](auto&& v) { return List<B>::fromVector(std::forward<decltype(v)>(v)); },
                                    std::move(vs));
        }
    }
};

template <>
struct Traversable<OptionalK> : TraversableDefaults<OptionalK, Traversable<OptionalK>> {
    template <class F, class A>
    static auto traverse(F&& f, const std::optional<A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        if (!x) return Applicative<typename E::G>::pure(std::optional<B>());
        return Functor<typename E::G>::fmap([](B b) { return std::optional<B>(std::move(b)); }, f(*x));
    }
};

template <class L>
struct Traversable<EitherK<L>> : TraversableDefaults<EitherK<L>, Traversable<EitherK<L>>> {
    template <class F, class A>
    static auto traverse(F&& f, const Either<L, A>& x) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        if (x.isLeft()) return Applicative<typename E::G>::pure(Either<L, B>::left(x.unsafeLeft()));
        return Functor<typename E::G>::fmap([](B b) { return Either<L, B>::right(std::move(b)); },
                                            f(x.unsafeRight()));
    }
};

template <class W>
struct Traversable<PairK<W>> : TraversableDefaults<PairK<W>, Traversable<PairK<W>>> {
    template <class F, class A>
    static auto traverse(F&& f, const std::pair<W, A>& p) {
        using E = detail::EffectOf<F, A>;
        using B = typename E::B;
        return Functor<typename E::G>::fmap([w = p.first](B b) { return std::pair<W, B>(w, std::move(b)); },
                                            f(p.second));
    }
};

template <>
struct Traversable<NonEmptyK> : TraversableDefaults<NonEmptyK, Traversable<NonEmptyK>> {
    template <class F, class A>
    static auto traverse(F&& f, const NonEmpty<A>& xs) {
        using E = detail::EffectOf<F, A>;
        using G = typename E::G;
        using B = typename E::B;
        auto h = f(xs.head);
        if constexpr (detail::EagerListTraversal<G>) {
            auto rest = TraverseListIn<G>::template run<B>(f, xs.tail);
            return Applicative<G>::liftA2(
                [](const B& b, const List<B>& t) { return NonEmpty<B>(b, t); }, std::move(h), std::move(rest));
        } else {
            auto rest = detail::traverseToVector<G, B>(f, xs.tail.begin(), xs.tail.end(), 0);
            return Applicative<G>::liftA2(
                [](B b, std::vector<B> v) { return NonEmpty<B>(std::move(b), List<B>::fromVector(std::move(v))); },
                std::move(h), std::move(rest));
        }
    }
};

template <class Key>
struct Traversable<MapK<Key>> : TraversableDefaults<MapK<Key>, Traversable<MapK<Key>>> {
    template <class F, class A>
    static auto traverse(F&& f, const std::map<Key, A>& m) {
        using E = detail::EffectOf<F, A>;
        using G = typename E::G;
        using B = typename E::B;
        std::vector<Key> keys;
        keys.reserve(m.size());
        for (const auto& kv : m) keys.push_back(kv.first);
        auto value = [&f](const std::pair<const Key, A>& kv) { return f(kv.second); };
        auto vs = detail::traverseToVector<G, B>(value, m.begin(), m.end(), m.size());
        return Functor<G>::fmap(
            [keys = std::move(keys)](const std::vector<B>& v) {
                std::map<Key, B> out;
                for (std::size_t i = 0; i < v.size(); ++i) out.emplace_hint(out.end(), keys[i], v[i]);
                return out;
            },
            std::move(vs));
    }
};

}  // namespace core
