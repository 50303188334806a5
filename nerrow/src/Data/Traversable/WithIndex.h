#pragma once
// TraversableWithIndex (itraverse) and the free functions derived from it:
//
//   ifor(xs, f)              itraverse(f, xs)
//   imapM(f, xs), iforM(xs, f)   itraverse in the monad's own applicative
//                            view (core::WrappedMonad)
//   imapAccumL(f, s0, xs)    f(i, s, x) -> (s', y); the state flows front to
//                            back; returns (final state, rebuilt structure)
//   imapAccumR(f, s0, xs)    the same with the state flowing back to front
//
// The state-passing applicative is deferred: nothing runs until the
// traversal's result is run from s0.
#include <type_traits>
#include <utility>

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
auto imapAccumL(F&& f, S s0, const TA& xs) {
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
auto imapAccumR(F&& f, S s0, const TA& xs) {
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

}  // namespace nerrow
