#pragma once
// State-passing and writer applicatives, the effects that traversals use
// to accumulate.
//
//   StateL<S, A>   {run}: S -> (S, A), a deferred computation: nothing runs
//                  until runStateL(m, s); effects thread the state left to
//                  right                                     StateLK<S>
//   StateR<S, A>   the same, threading the state right to left StateRK<S>
//   mapAccumL(f, s, xs)   f(s, x) -> (s', y) over any Traversable, left to
//                         right: (final state, structure of ys)
//   mapAccumR(f, s, xs)   the same, right to left
//
//   Writer<W, A> = std::pair<W, A>: with a Monoid W it is an Applicative
//   and Monad (Core/Applicative.h) that combines the W parts left to right;
//   tell(w) logs w.
//
// A StateL or StateR built by traversing a List runs its n effects in a
// loop (constant stack); built by traversing other structures it runs as n
// nested calls. For std::vector and List, mapAccumL and mapAccumR are
// loops as well.
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Kinds.h"
#include "Core/Monad.h"
#include "Core/Traversable.h"
#include "Core/Types.h"

namespace core {

template <class S, class A>
struct StateL {
    using value_type = A;
    std::function<std::pair<S, A>(S)> run;
};
template <class S, class A>
std::pair<S, A> runStateL(const StateL<S, A>& m, S s) {
    return m.run(std::move(s));
}
template <class S>
struct StateLK {
    template <class A>
    using apply = StateL<S, A>;
};
template <class S, class A>
struct KindOf<StateL<S, A>> {
    using kind = StateLK<S>;
    using arg = A;
};

template <class S, class A>
struct StateR {
    using value_type = A;
    std::function<std::pair<S, A>(S)> run;
};
template <class S, class A>
std::pair<S, A> runStateR(const StateR<S, A>& m, S s) {
    return m.run(std::move(s));
}
template <class S>
struct StateRK {
    template <class A>
    using apply = StateR<S, A>;
};
template <class S, class A>
struct KindOf<StateR<S, A>> {
    using kind = StateRK<S>;
    using arg = A;
};

// GCC 12 reports -Wmaybe-uninitialized for the payload of an empty
// std::optional on paths that never read it (a known false positive at low
// optimisation levels); silenced for the code below.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
namespace detail {
template <template <class, class> class St, class S, bool LeftFirst>
struct StateImpl {
    template <class F, class A>
    static auto fmap(F&& f, const St<S, A>& m) {
        using B = Result<const std::decay_t<F>&, A&&>;
        return St<S, B>{[f = std::decay_t<F>(std::forward<F>(f)), run = m.run](S s) {
            auto [s2, a] = run(std::move(s));
            return std::pair<S, B>(std::move(s2), f(std::move(a)));
        }};
    }
    template <class A>
    static St<S, std::decay_t<A>> pure(A&& x) {
        return {[x = std::decay_t<A>(std::forward<A>(x))](S s) { return std::pair<S, std::decay_t<A>>(std::move(s), x); }};
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const St<S, A>& ma, const St<S, B>& mb) {
        using C = Result<const std::decay_t<F>&, A&&, B&&>;
        return St<S, C>{[f = std::decay_t<F>(std::forward<F>(f)), ra = ma.run, rb = mb.run](S s) {
            if constexpr (LeftFirst) {
                auto [s1, a] = ra(std::move(s));
                auto [s2, b] = rb(std::move(s1));
                return std::pair<S, C>(std::move(s2), f(std::move(a), std::move(b)));
            } else {
                auto [s1, b] = rb(std::move(s));
                auto [s2, a] = ra(std::move(s1));
                return std::pair<S, C>(std::move(s2), f(std::move(a), std::move(b)));
            }
        }};
    }
};
}  // namespace detail

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
template <class S>
struct Functor<StateLK<S>> : FunctorDefaults<StateLK<S>, Functor<StateLK<S>>>, detail::StateImpl<StateL, S, true> {
    using detail::StateImpl<StateL, S, true>::fmap;
};
template <class S>
struct Applicative<StateLK<S>> : ApplicativeDefaults<StateLK<S>, Applicative<StateLK<S>>>,
                                 detail::StateImpl<StateL, S, true> {
    using detail::StateImpl<StateL, S, true>::pure;
    using detail::StateImpl<StateL, S, true>::liftA2;
};
template <class S>
struct Monad<StateLK<S>> : MonadDefaults<StateLK<S>, Monad<StateLK<S>>> {
    template <class A, class F>
    static auto bind(const StateL<S, A>& m, F&& f) {
        using MB = Result<const std::decay_t<F>&, A&&>;
        return MB{[run = m.run, f = std::decay_t<F>(std::forward<F>(f))](S s) {
            auto [s1, a] = run(std::move(s));
            return f(std::move(a)).run(std::move(s1));
        }};
    }
};
template <class S>
struct Functor<StateRK<S>> : FunctorDefaults<StateRK<S>, Functor<StateRK<S>>>, detail::StateImpl<StateR, S, false> {
    using detail::StateImpl<StateR, S, false>::fmap;
};
template <class S>
struct Applicative<StateRK<S>> : ApplicativeDefaults<StateRK<S>, Applicative<StateRK<S>>>,
                                 detail::StateImpl<StateR, S, false> {
    using detail::StateImpl<StateR, S, false>::pure;
    using detail::StateImpl<StateR, S, false>::liftA2;
};

// The state as the result / a new state.
template <class S>
StateL<S, S> getState() {
    return {[](S s) { return std::pair<S, S>(s, s); }};
}
template <class S>
StateL<S, Unit> putState(S x) {
    return {[x = std::move(x)](S) { return std::pair<S, Unit>(x, unit); }};
}

// ---- Traversing a List -----------------------------------------------------
//
// The element effects are made while traversing, as liftA2 would make
// them; the resulting computation runs them in a loop, left to right for
// StateL and right to left for StateR, and builds the List of results in
// the list's order.
namespace detail {
template <template <class, class> class St, class S, bool LeftFirst>
struct TraverseListInState {
    static constexpr bool special = true;
    static constexpr bool eager = true;
    template <class B, class F, class A>
    static St<S, List<B>> run(F&& f, const List<A>& xs) {
        auto effects = std::make_shared<std::vector<St<S, B>>>();
        for (const A& x : xs) effects->push_back(f(x));
        return {[effects = std::shared_ptr<const std::vector<St<S, B>>>(std::move(effects))](S s) {
            if constexpr (LeftFirst) {
                typename List<B>::Builder out;
                for (const auto& m : *effects) {
                    auto [s2, b] = m.run(std::move(s));
                    s = std::move(s2);
                    out.push_back(std::move(b));
                }
                return std::pair<S, List<B>>(std::move(s), std::move(out).build());
            } else {
                List<B> out;
                for (auto i = effects->rbegin(); i != effects->rend(); ++i) {
                    auto [s2, b] = i->run(std::move(s));
                    s = std::move(s2);
                    out = List<B>::cons(std::move(b), std::move(out));
                }
                return std::pair<S, List<B>>(std::move(s), std::move(out));
            }
        }};
    }
};
}  // namespace detail
template <class S>
struct TraverseListIn<StateLK<S>> : detail::TraverseListInState<StateL, S, true> {};
template <class S>
struct TraverseListIn<StateRK<S>> : detail::TraverseListInState<StateR, S, false> {};

// ---- mapAccumL / mapAccumR -----------------------------------------------

// f(s, x) returns (new state, y); the states thread left to right.
template <class F, class S, class TA>
auto mapAccumL(F&& f, S s, const TA& xs) {
    using A = ArgOf<TA>;
    using R = Result<F&, S, const A&>;
    using B = typename R::second_type;
    if constexpr (std::is_same_v<KindOfT<TA>, VectorK> || std::is_same_v<KindOfT<TA>, ListK>) {
        std::vector<B> out;
        for (const A& x : xs) {
            auto [s2, y] = f(std::move(s), x);
            s = std::move(s2);
            out.push_back(std::move(y));
        }
        if constexpr (std::is_same_v<KindOfT<TA>, VectorK>)
            return std::pair<S, std::vector<B>>(std::move(s), std::move(out));
        else
            return std::pair<S, List<B>>(std::move(s), List<B>::fromVector(out));
    } else {
        auto m = traverse(
            [f = std::decay_t<F>(std::forward<F>(f))](const A& x) {
                return StateL<S, B>{[f, x](S st) { return f(std::move(st), x); }};
            },
            xs);
        return runStateL(m, std::move(s));
    }
}
// f(s, x) returns (new state, y); the states thread right to left.
template <class F, class S, class TA>
auto mapAccumR(F&& f, S s, const TA& xs) {
    using A = ArgOf<TA>;
    using R = Result<F&, S, const A&>;
    using B = typename R::second_type;
    if constexpr (std::is_same_v<KindOfT<TA>, VectorK> || std::is_same_v<KindOfT<TA>, ListK>) {
        std::vector<const A*> in;
        for (const A& x : xs) in.push_back(&x);
        std::vector<B> out;
        out.reserve(in.size());
        for (std::size_t i = in.size(); i > 0; --i) {
            auto [s2, y] = f(std::move(s), *in[i - 1]);
            s = std::move(s2);
            out.push_back(std::move(y));
        }
        std::reverse(out.begin(), out.end());
        if constexpr (std::is_same_v<KindOfT<TA>, VectorK>)
            return std::pair<S, std::vector<B>>(std::move(s), std::move(out));
        else
            return std::pair<S, List<B>>(std::move(s), List<B>::fromVector(out));
    } else {
        auto m = traverse(
            [f = std::decay_t<F>(std::forward<F>(f))](const A& x) {
                return StateR<S, B>{[f, x](S st) { return f(std::move(st), x); }};
            },
            xs);
        return runStateR(m, std::move(s));
    }
}

// ---- Writer --------------------------------------------------------------

template <class W, class A>
using Writer = std::pair<W, A>;
template <class W>
using WriterK = PairK<W>;
// Logs w, with no result.
template <class W>
Writer<std::decay_t<W>, Unit> tell(W&& w) {
    return {std::forward<W>(w), unit};
}

}  // namespace core
