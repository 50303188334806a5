#pragma once
// ComonadTraced: contexts whose values are functions of a trace, whichever
// transformer layer supplies it.
//
//   comonad::trace(m, w)     the current value at trace m
//   comonad::traces(f, w)    trace(f(extract(w)), w)
//
// Implemented for TracedT (M a Monoid) and for functions core::Fn<M, A>
// from a Monoid (trace(m, f) = f(m)); IdentityT, EnvT and StoreT pass the
// trace of the context they wrap up through themselves. A stack with no
// trace is a compile error with one message.
#include <utility>

#include "Control/Comonad.h"
#include "Control/Comonad/Trans/Env.h"
#include "Control/Comonad/Trans/Identity.h"
#include "Control/Comonad/Trans/Store.h"
#include "Control/Comonad/Trans/Traced.h"

namespace comonad {

template <class K>
struct ComonadTraced {
    using NotImplemented = void;
};
// True when the context tag K supplies a trace in some layer.
template <class K>
concept IsComonadTraced = IsComonad<K> && !requires { typename ComonadTraced<K>::NotImplemented; };

template <class M, class WA>
auto trace(const M& m, const WA& w) {
    using K = core::detail::KindOrNone<WA>;
    if constexpr (!IsComonadTraced<K>) {
        static_assert(core::detail::alwaysFalse<WA>, "trace: no layer of this context supplies a trace (ComonadTraced)");
        return detail::Missing{};
    } else
        return ComonadTraced<K>::trace(m, w);
}
template <class F, class WA>
auto traces(F&& f, const WA& w) {
    return comonad::trace(f(comonad::extract(w)), w);
}

template <class M, class W>
    requires core::IsMonoid<M> && IsComonad<W>
struct ComonadTraced<TracedTK<M, W>> {
    template <class A>
    static A trace(const M& m, const TracedT<M, W, A>& w) {
        return Comonad<W>::extract(w.inner)(m);
    }
};
template <class M>
    requires core::IsMonoid<M>
struct ComonadTraced<core::FunctionK<M>> {
    template <class A>
    static A trace(const M& m, const core::Fn<M, A>& f) {
        return f(m);
    }
};

namespace detail {
template <class K, class W>
struct LoweredTraced {
    template <class M, class WA>
    static auto trace(const M& m, const WA& w) {
        return ComonadTraced<W>::trace(m, ComonadTrans<K>::lower(w));
    }
};
}  // namespace detail

template <class W>
    requires IsComonadTraced<W>
struct ComonadTraced<core::IdentityTK<W>> : detail::LoweredTraced<core::IdentityTK<W>, W> {};
template <class E, class W>
    requires IsComonadTraced<W>
struct ComonadTraced<EnvTK<E, W>> : detail::LoweredTraced<EnvTK<E, W>, W> {};
template <class S, class W>
    requires IsComonadTraced<W>
struct ComonadTraced<StoreTK<S, W>> : detail::LoweredTraced<StoreTK<S, W>, W> {};

}  // namespace comonad
