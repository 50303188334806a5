#pragma once
// ComonadEnv: contexts that carry an environment, whichever transformer
// layer supplies it.
//
//   comonad::ask(w)        the environment
//   comonad::asks(f, w)    f(ask(w))
//
// Implemented for std::pair<E, A> (the first component), core::Arg (the
// key) and EnvT (its environment); IdentityT, StoreT and TracedT pass the
// environment of the context they wrap up through themselves (ask of the
// lowered context), so in a stack of layers ask finds the nearest
// environment. The layer is found at compile time; asking a stack that has
// no environment is a compile error with one message.
#include <utility>

#include "Control/Comonad.h"
#include "Control/Comonad/Trans/Env.h"
#include "Control/Comonad/Trans/Identity.h"
#include "Control/Comonad/Trans/Store.h"
#include "Control/Comonad/Trans/Traced.h"

namespace comonad {

template <class K>
struct ComonadEnv {
    using NotImplemented = void;
};
// True when the context tag K supplies an environment in some layer.
template <class K>
concept IsComonadEnv = IsComonad<K> && !requires { typename ComonadEnv<K>::NotImplemented; };

template <class WA>
decltype(auto) ask(const WA& w) {
    using K = core::detail::KindOrNone<WA>;
    if constexpr (!IsComonadEnv<K>) {
        static_assert(core::detail::alwaysFalse<WA>, "ask: no layer of this context supplies an environment (ComonadEnv)");
        return detail::Missing{};
    } else
        return ComonadEnv<K>::ask(w);
}
template <class F, class WA>
auto asks(F&& f, const WA& w) {
    return f(comonad::ask(w));
}

template <class E>
struct ComonadEnv<core::PairK<E>> {
    template <class A>
    static const E& ask(const std::pair<E, A>& w) {
        return w.first;
    }
};
template <class E>
struct ComonadEnv<core::ArgK<E>> {
    template <class A>
    static const E& ask(const core::Arg<E, A>& w) {
        return w.key;
    }
};
template <class E, class W>
struct ComonadEnv<EnvTK<E, W>> {
    template <class A>
    static const E& ask(const EnvT<E, W, A>& w) {
        return w.env;
    }
};
template <class W>
    requires IsComonadEnv<W>
struct ComonadEnv<core::IdentityTK<W>> {
    template <class A>
    static decltype(auto) ask(const core::IdentityT<W, A>& w) {
        return ComonadEnv<W>::ask(w.value);
    }
};
template <class S, class W>
    requires IsComonadEnv<W>
struct ComonadEnv<StoreTK<S, W>> {
    template <class A>
    static auto ask(const StoreT<S, W, A>& w) {
        return ComonadEnv<W>::ask(ComonadTrans<StoreTK<S, W>>::lower(w));
    }
};
template <class M, class W>
    requires core::IsMonoid<M> && IsComonadEnv<W>
struct ComonadEnv<TracedTK<M, W>> {
    template <class A>
    static auto ask(const TracedT<M, W, A>& w) {
        return ComonadEnv<W>::ask(ComonadTrans<TracedTK<M, W>>::lower(w));
    }
};

}  // namespace comonad
