#pragma once
// Functor: apply a function to every element, keeping the shape.
//
//   core::fmap(f, xs)       f applied to every element           (<$>)
//   core::replace(x, xs)    every element replaced by x          (<$)
//   core::voided(xs)        every element replaced by Unit       (void)
//
// An implementation is `template <> struct Functor<Tag>` with a static
// `fmap(f, fa)`; it may derive from FunctorDefaults<Tag, Self> for
// `replace`. Implemented here for List (lazy: elements are mapped when
// their cell is demanded, so unbounded lists work), std::optional, Either
// (the Right side), std::vector, NonEmpty, std::pair (the second
// component), std::map (the values), functions (the result), std::deque
// and std::array (same size).
#include <array>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Kinds.h"
#include "Core/Types.h"

namespace core {

template <class K>
struct Functor {
    using NotImplemented = void;
};

// True when the tag K has a Functor implementation.
template <class K>
concept IsFunctor = !requires { typename Functor<K>::NotImplemented; };

template <class K, class Self>
struct FunctorDefaults {
    template <class B, class FA>
    static auto replace(const B& x, const FA& fa) {
        return Self::fmap([x](const auto&) { return x; }, fa);
    }
};

// ---- Free functions ------------------------------------------------------

template <class F, class FA>
auto fmap(F&& f, FA&& fa) {
    using K = detail::KindOrNone<FA>;
    if constexpr (!IsFunctor<K>)
        static_assert(detail::alwaysFalse<FA>, "no Functor implementation for this type");
    else
        return Functor<K>::fmap(std::forward<F>(f), std::forward<FA>(fa));
}
template <class B, class FA>
auto replace(const B& x, FA&& fa) {
    using K = detail::KindOrNone<FA>;
    if constexpr (!IsFunctor<K>)
        static_assert(detail::alwaysFalse<FA>, "no Functor implementation for this type");
    else
        return Functor<K>::replace(x, std::forward<FA>(fa));
}
template <class FA>
auto voided(FA&& fa) {
    return replace(unit, std::forward<FA>(fa));
}

// ---- Implementations -----------------------------------------------------

namespace detail {
// Each result cell is computed in place when demanded (one allocation per
// cell). A cell's function runs once and is dropped right after, so it
// hands its hold on f on to the next cell instead of sharing it (two
// atomic count changes fewer per element); f is applied first, as the
// braces order it. P points to the function: a SharedRef (one pointer, so
// that a pending mapped cell of a List<int> takes 32 bytes) or a
// std::shared_ptr.
template <class B, class A, class P>
List<B> mapList(P f, List<A> xs) {
    return List<B>::lazyStep([f = std::move(f), xs = std::move(xs)]() mutable -> typename List<B>::Step {
        const auto& st = xs.step();
        if (!st) return std::nullopt;
        return typename List<B>::Cons{(*f)(st->head), mapList<B>(std::move(f), List<A>::tailOf(std::move(xs)))};
    });
}
}  // namespace detail

template <>
struct Functor<ListK> : FunctorDefaults<ListK, Functor<ListK>> {
    template <class F, class A>
    static auto fmap(F&& f, const List<A>& xs) {
        using B = Result<const std::decay_t<F>&, const A&>;
        return detail::mapList<B>(detail::SharedRef<std::decay_t<F>>(std::forward<F>(f)), xs);
    }
};

template <>
struct Functor<OptionalK> : FunctorDefaults<OptionalK, Functor<OptionalK>> {
    template <class F, class A>
    static auto fmap(F&& f, const std::optional<A>& x) {
        using B = Result<F&, const A&>;
        return x ? std::optional<B>(f(*x)) : std::optional<B>();
    }
    template <class F, class A>
    static auto fmap(F&& f, std::optional<A>&& x) {
        using B = Result<F&, A&&>;
        return x ? std::optional<B>(f(std::move(*x))) : std::optional<B>();
    }
};

template <class L>
struct Functor<EitherK<L>> : FunctorDefaults<EitherK<L>, Functor<EitherK<L>>> {
    template <class F, class A>
    static auto fmap(F&& f, const Either<L, A>& x) {
        using B = Result<F&, const A&>;
        if (x.isLeft()) return Either<L, B>::left(x.unsafeLeft());
        return Either<L, B>::right(f(x.unsafeRight()));
    }
};

template <>
struct Functor<VectorK> : FunctorDefaults<VectorK, Functor<VectorK>> {
    template <class F, class A>
    static auto fmap(F&& f, const std::vector<A>& xs) {
        using B = Result<F&, const A&>;
        std::vector<B> out;
        out.reserve(xs.size());
        for (const A& x : xs) out.push_back(f(x));
        return out;
    }
};

template <>
struct Functor<DequeK> : FunctorDefaults<DequeK, Functor<DequeK>> {
    template <class F, class A>
    static auto fmap(F&& f, const std::deque<A>& xs) {
        using B = Result<F&, const A&>;
        std::deque<B> out;
        for (const A& x : xs) out.push_back(f(x));
        return out;
    }
};

namespace detail {
// The elements of a braced list are evaluated left to right, so f meets
// the elements in order; B need not be default-constructible.
template <class B, class F, class A, std::size_t N, std::size_t... I>
std::array<B, N> mapStdArray(F& f, const std::array<A, N>& xs, std::index_sequence<I...>) {
    return std::array<B, N>{{f(xs[I])...}};
}
}  // namespace detail

template <std::size_t N>
struct Functor<StdArrayK<N>> : FunctorDefaults<StdArrayK<N>, Functor<StdArrayK<N>>> {
    template <class F, class A>
    static auto fmap(F&& f, const std::array<A, N>& xs) {
        using B = Result<F&, const A&>;
        return detail::mapStdArray<B>(f, xs, std::make_index_sequence<N>{});
    }
};

template <>
struct Functor<NonEmptyK> : FunctorDefaults<NonEmptyK, Functor<NonEmptyK>> {
    template <class F, class A>
    static auto fmap(F&& f, const NonEmpty<A>& xs) {
        using B = Result<const std::decay_t<F>&, const A&>;
        detail::SharedRef<std::decay_t<F>> fp(std::forward<F>(f));
        B h = (*fp)(xs.head);
        return NonEmpty<B>(std::move(h), detail::mapList<B>(std::move(fp), xs.tail));
    }
};

template <class W>
struct Functor<PairK<W>> : FunctorDefaults<PairK<W>, Functor<PairK<W>>> {
    template <class F, class A>
    static auto fmap(F&& f, const std::pair<W, A>& p) {
        using B = Result<F&, const A&>;
        return std::pair<W, B>(p.first, f(p.second));
    }
    template <class F, class A>
    static auto fmap(F&& f, std::pair<W, A>&& p) {
        using B = Result<F&, A&&>;
        return std::pair<W, B>(std::move(p.first), f(std::move(p.second)));
    }
};

template <class Key>
struct Functor<MapK<Key>> : FunctorDefaults<MapK<Key>, Functor<MapK<Key>>> {
    template <class F, class A>
    static auto fmap(F&& f, const std::map<Key, A>& m) {
        using B = Result<F&, const A&>;
        std::map<Key, B> out;
        for (const auto& [k, v] : m) out.emplace_hint(out.end(), k, f(v));
        return out;
    }
};

template <class R>
struct Functor<FunctionK<R>> : FunctorDefaults<FunctionK<R>, Functor<FunctionK<R>>> {
    template <class F, class A>
    static auto fmap(F&& f, const Fn<R, A>& g) {
        using B = Result<const std::decay_t<F>&, A>;
        return Fn<R, B>([f = std::decay_t<F>(std::forward<F>(f)), g](R r) { return f(g(std::move(r))); });
    }
};

}  // namespace core
