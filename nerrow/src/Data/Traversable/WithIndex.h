#pragma once
// TraversableWithIndex (itraverse) and the free functions derived from it:
//
//   ifor(xs, f)              itraverse(f, xs)
//   imapM(f, xs), iforM(xs, f)   itraverse in the monad's own applicative
//                            view (core::WrappedMonad)
//   imapAccumL(f, s0, xs)    f(i, s, x) -> (s', y); the state flows front to
//                            back; returns (final state, rebuilt structure)
//                            with the final state a core::Lazy<S>
//   imapAccumR(f, s0, xs)    the same with the state flowing back to front
//   imapAccumLStrict, imapAccumRStrict   the same, run at once, returning
//                            the final state as a plain S
//
// imapAccumL and imapAccumR are deferred: a step runs only when its element
// or the state it leaves is demanded, and at most once. On a core::List or
// ZipList the rebuilt list is produced on demand, so the first elements of
// an unbounded list can be taken:
//   auto [s, ys] = nerrow::imapAccumL(f, 0, nats);   // nothing ran yet
//   ys.take(3) ...                                   // runs three steps
// Forcing the final state (`s.force()`, `*s`, or a conversion to const S&)
// runs every step, in a loop. NonEmpty's head is a plain field, so its
// step runs at the call; containers that hold plain elements (std::vector,
// Map, Seq, ...) run every step at the call, and their final state comes
// back already evaluated. Until the final state of a list is forced, it
// keeps the steps' results alive.
#include <memory>
#include <type_traits>
#include <utility>

#include "Core/Lazy.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/State.h"
#include "../../WithIndex.h"

namespace nerrow {

template <class TA, class F>
auto ifor(const TA& xs, F&& f) {
    return itraverse(std::forward<F>(f), xs);
}

// itraverse in WrappedMonad: pure is return, combination goes through bind.
template <class F, class TA>
auto imapM(F&& f, const TA& xs) {
    using I = IndexT<core::KindOfT<TA>>;
    using A = core::ArgOf<TA>;
    using E = detail::IEffectOf<std::decay_t<F>, I, A>;
    using M = typename E::G;
    using B = typename E::B;
    return itraverse(
               [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) { return core::WrappedMonad<M, B>{f(i, x)}; },
               xs)
        .value;
}
template <class TA, class F>
auto iforM(const TA& xs, F&& f) {
    return imapM(std::forward<F>(f), xs);
}

// itraverse in the state-passing applicative, state flowing front to back:
// the first element's step receives s0. f(i, s, x) returns (s', y).
template <class F, class S, class TA>
auto imapAccumLStrict(F&& f, S s0, const TA& xs) {
    using I = IndexT<core::KindOfT<TA>>;
    using A = core::ArgOf<TA>;
    using R = detail::Res<std::decay_t<F>&, const I&, S, const A&>;
    using B = typename R::second_type;
    auto m = itraverse(
        [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) {
            return core::StateL<S, B>{[f, i, x](S s) {
                auto r = f(i, std::move(s), x);
                return std::pair<S, B>(std::move(r.first), std::move(r.second));
            }};
        },
        xs);
    return core::runStateL(m, std::move(s0));
}

// The same in the backwards state-passing applicative: the last element's
// step receives s0, the final state is the one the first element's step
// leaves; the rebuilt structure keeps the order and indices of xs.
template <class F, class S, class TA>
auto imapAccumRStrict(F&& f, S s0, const TA& xs) {
    using I = IndexT<core::KindOfT<TA>>;
    using A = core::ArgOf<TA>;
    using R = detail::Res<std::decay_t<F>&, const I&, S, const A&>;
    using B = typename R::second_type;
    auto m = itraverse(
        [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) {
            return core::StateR<S, B>{[f, i, x](S s) {
                auto r = f(i, std::move(s), x);
                return std::pair<S, B>(std::move(r.first), std::move(r.second));
            }};
        },
        xs);
    return core::runStateR(m, std::move(s0));
}

namespace detail {
// One step's outcome in a deferred accumulation over a list: the new
// element and the state the step leaves.
template <class B, class S>
struct AccumOut {
    B y;
    S s;
};

// The steps from index i with state s over the rest xs, produced on demand:
// forcing a cell runs its step once, with the state its predecessor left.
template <class B, class S, class F, class A>
core::List<AccumOut<B, S>> accumSteps(std::shared_ptr<const F> f, core::List<A> xs, Int i, S s) {
    using L = core::List<AccumOut<B, S>>;
    return L::lazyStep([f = std::move(f), xs = std::move(xs), i, s = std::move(s)]() mutable -> typename L::Step {
        if (xs.null()) return typename L::Step();
        auto r = (*f)(i, std::move(s), xs.head());
        S next = r.first;
        core::List<A> rest = xs.tail();
        return typename L::Cons{AccumOut<B, S>{std::move(r.second), std::move(r.first)},
                                accumSteps<B, S>(std::move(f), std::move(rest), i + 1, std::move(next))};
    });
}

// The deferred left accumulation over a list starting at index i0 with
// state s0: (final state, elements), both on demand, sharing the steps.
template <class B, class S, class F, class A>
std::pair<core::Lazy<S>, core::List<B>> accumListL(std::shared_ptr<const F> f, const core::List<A>& xs, Int i0, S s0) {
    auto steps = accumSteps<B, S>(std::move(f), xs, i0, s0);
    auto ys = core::Functor<core::ListK>::fmap([](const AccumOut<B, S>& o) { return o.y; }, steps);
    auto final = core::Lazy<S>::fromFunction([steps = std::move(steps), s0 = std::move(s0)]() -> S {
        const AccumOut<B, S>* last = nullptr;
        for (const auto& o : steps) last = &o;
        return last ? last->s : s0;
    });
    return {std::move(final), std::move(ys)};
}

// The deferred right accumulation over a list: the first element needs
// every later step, so the whole run is one deferred value that both the
// final state and the elements share.
template <class S, class F, class A>
auto accumListR(F f, const core::List<A>& xs, S s0) {
    using Run = decltype(imapAccumRStrict(f, s0, xs));
    using B = typename Run::second_type::value_type;
    auto run = core::Lazy<Run>::fromFunction(
        [f = std::move(f), xs, s0 = std::move(s0)]() -> Run { return imapAccumRStrict(f, s0, xs); });
    auto ys = core::List<B>::lazy([run]() { return run.force().second; });
    auto final = core::Lazy<S>::fromFunction([run]() -> S { return run.force().first; });
    return std::pair<core::Lazy<S>, core::List<B>>(std::move(final), std::move(ys));
}
}  // namespace detail

// itraverse in the deferred state-passing applicative, state flowing front
// to back: the first element's step receives s0, each later step the state
// left by the one before. Returns (final state, rebuilt structure).
template <class F, class S, class TA>
auto imapAccumL(F&& f, S s0, const TA& xs) {
    using K = core::KindOfT<TA>;
    using I = IndexT<K>;
    using A = core::ArgOf<TA>;
    using R = detail::Res<std::decay_t<F>&, const I&, S, const A&>;
    using B = typename R::second_type;
    using Fn = std::decay_t<F>;
    if constexpr (std::is_same_v<K, core::ListK>) {
        return detail::accumListL<B, S>(std::make_shared<const Fn>(std::forward<F>(f)), xs, 0, std::move(s0));
    } else if constexpr (std::is_same_v<K, core::ZipListK>) {
        auto [s, ys] = detail::accumListL<B, S>(std::make_shared<const Fn>(std::forward<F>(f)), xs.value, 0, std::move(s0));
        return std::pair<core::Lazy<S>, core::ZipList<B>>(std::move(s), core::ZipList<B>{std::move(ys)});
    } else if constexpr (std::is_same_v<K, core::NonEmptyK>) {
        auto fn = std::make_shared<const Fn>(std::forward<F>(f));
        auto r = (*fn)(Int{0}, std::move(s0), xs.head);
        auto [s, ys] = detail::accumListL<B, S>(std::move(fn), xs.tail, 1, std::move(r.first));
        return std::pair<core::Lazy<S>, core::NonEmpty<B>>(std::move(s), core::NonEmpty<B>(std::move(r.second), std::move(ys)));
    } else {
        auto [s, ys] = imapAccumLStrict(std::forward<F>(f), std::move(s0), xs);
        return std::pair<core::Lazy<S>, decltype(ys)>(core::Lazy<S>::ready(std::move(s)), std::move(ys));
    }
}

// The same in the deferred backwards state-passing applicative: the last
// element's step receives s0, and the final state is the one the first
// element's step leaves; the rebuilt structure keeps the order and indices
// of xs. On a List or ZipList nothing runs until the final state or an
// element is demanded; then every step runs, once.
template <class F, class S, class TA>
auto imapAccumR(F&& f, S s0, const TA& xs) {
    using K = core::KindOfT<TA>;
    using Fn = std::decay_t<F>;
    if constexpr (std::is_same_v<K, core::ListK>) {
        return detail::accumListR(Fn(std::forward<F>(f)), xs, std::move(s0));
    } else if constexpr (std::is_same_v<K, core::ZipListK>) {
        auto [s, ys] = detail::accumListR(Fn(std::forward<F>(f)), xs.value, std::move(s0));
        using B = typename decltype(ys)::value_type;
        return std::pair<core::Lazy<S>, core::ZipList<B>>(std::move(s), core::ZipList<B>{std::move(ys)});
    } else {
        auto [s, ys] = imapAccumRStrict(std::forward<F>(f), std::move(s0), xs);
        return std::pair<core::Lazy<S>, decltype(ys)>(core::Lazy<S>::ready(std::move(s)), std::move(ys));
    }
}

}  // namespace nerrow
