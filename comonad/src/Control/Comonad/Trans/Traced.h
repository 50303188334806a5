#pragma once
// TracedT<M, W, A>: a context whose values are functions of an accumulated
// trace M (a Monoid); the current value is the one at the empty trace, and
// extending appends traces, the outer trace on the left.
//
//   comonad::TracedT<M, W, A>{inner}     inner: W<core::Fn<M, A>>
//   comonad::Traced<M, A>                TracedT over core::Identity
//   comonad::traced(f), runTraced(w)     build / take apart (the function)
//   comonad::runTracedT(w)               the inner context
//   comonad::trace(m, w)                 the current function at m
//   comonad::listen(w)                   values paired with the trace: (g(m), m)
//   comonad::listens(h, w)               values paired with h(trace)
//   comonad::censor(h, w)                each function sees h(trace)
//
// Implements Functor, Applicative (W an Applicative), Comonad (M a Monoid,
// W a Comonad), ComonadApply (W a ComonadApply), Distributive (W
// Distributive), FunctorWithIndex of the indexed library (W one too: the
// index is the pair (trace, inner index), the trace first), ComonadTrans
// (lower applies every function to the empty trace) and ComonadHoist.
// Tag: TracedTK<M, W>.
#include <functional>
#include <utility>

#include "Control/Comonad.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Trans/Class.h"
#include "Core/Distributive.h"
#include "Data/Functor/WithIndex.h"

namespace comonad {

template <class M, class W, class A>
struct TracedT {
    using value_type = A;
    Apply<W, core::Fn<M, A>> inner;
};
template <class M, class W>
struct TracedTK {
    template <class A>
    using apply = TracedT<M, W, A>;
};
template <class M, class A>
using Traced = TracedT<M, core::IdentityK, A>;

// The traced context of f, over Identity.
template <class M, class F>
auto traced(F f) {
    using A = Result<F&, const M&>;
    return Traced<M, A>{core::Identity<core::Fn<M, A>>{core::Fn<M, A>(std::move(f))}};
}
template <class M, class A>
const core::Fn<M, A>& runTraced(const Traced<M, A>& w) {
    return w.inner.value;
}
template <class M, class W, class A>
const Apply<W, core::Fn<M, A>>& runTracedT(const TracedT<M, W, A>& w) {
    return w.inner;
}

template <class M, class W, class A>
A trace(const M& m, const TracedT<M, W, A>& w) {
    return Comonad<W>::extract(w.inner)(m);
}
template <class M, class W, class A>
auto listen(const TracedT<M, W, A>& w) {
    using R = std::pair<A, M>;
    auto r = core::Functor<W>::fmap(
        [](const core::Fn<M, A>& g) { return core::Fn<M, R>([g](M m) { return R(g(m), m); }); }, w.inner);
    return TracedT<M, W, R>{std::move(r)};
}
template <class H, class M, class W, class A>
auto listens(H h, const TracedT<M, W, A>& w) {
    using R = std::pair<A, Result<H&, const M&>>;
    auto r = core::Functor<W>::fmap(
        [h = std::move(h)](const core::Fn<M, A>& g) { return core::Fn<M, R>([h, g](M m) { return R(g(m), h(m)); }); },
        w.inner);
    return TracedT<M, W, R>{std::move(r)};
}
template <class H, class M, class W, class A>
TracedT<M, W, A> censor(H h, const TracedT<M, W, A>& w) {
    auto r = core::Functor<W>::fmap(
        [h = std::move(h)](const core::Fn<M, A>& g) { return core::Fn<M, A>([h, g](M m) { return g(h(std::move(m))); }); },
        w.inner);
    return {std::move(r)};
}

namespace detail {
// Over Identity a traced context is one function of the trace, and its
// fixed points are those of that function.
template <class M, class A, class G>
core::Fn<M, std::function<A(const core::Fn<M, Lazy<A>>&)>> tracedAsFunctions(const core::Fn<M, G>& w) {
    using H = std::function<A(const core::Fn<M, Lazy<A>>&)>;
    using T = TracedT<M, core::IdentityK, Lazy<A>>;
    return [w](M m) {
        return H([g = w(std::move(m))](const core::Fn<M, Lazy<A>>& c) {
            return g(T{core::Identity<core::Fn<M, Lazy<A>>>{c}});
        });
    };
}

}  // namespace detail

template <class M, class W>
    requires core::IsMonoid<M> && IsComonad<W>
struct Comonad<TracedTK<M, W>> : ComonadDefaults<TracedTK<M, W>, Comonad<TracedTK<M, W>>> {
    template <class A>
    static A extract(const TracedT<M, W, A>& w) {
        return Comonad<W>::extract(w.inner)(core::Monoid<M>::mempty());
    }
    // Position m of the result: k applied to the context whose functions
    // see m <> m2 for a later trace m2.
    template <class F, class A>
    static auto extend(F&& k, const TracedT<M, W, A>& w) {
        using WF = Apply<W, core::Fn<M, A>>;
        using B = Result<const std::decay_t<F>&, const TracedT<M, W, A>&>;
        auto r = Comonad<W>::extend(
            [k = std::decay_t<F>(std::forward<F>(k))](const WF& v) {
                return core::Fn<M, B>([k, v](M m) {
                    auto shifted = core::Functor<W>::fmap(
                        [m](const core::Fn<M, A>& g) {
                            return core::Fn<M, A>([g, m](M m2) { return g(core::Semigroup<M>::combine(m, m2)); });
                        },
                        v);
                    return k(TracedT<M, W, A>{std::move(shifted)});
                });
            },
            w.inner);
        return TracedT<M, W, B>{std::move(r)};
    }
    // The empty trace at the inner context's current position answers x;
    // the inner context's other positions keep their functions.
    template <class A>
        requires std::equality_comparable<M> && detail::HasWithCurrent<W, core::Fn<M, Lazy<A>>>
    static TracedT<M, W, Lazy<A>> withCurrent(const TracedT<M, W, Lazy<A>>& w, const Lazy<A>& x) {
        auto r = detail::patchCurrent<W>(w.inner, [x](const core::Fn<M, Lazy<A>>& g) {
            return core::Fn<M, Lazy<A>>([x, g](M m) { return m == core::Monoid<M>::mempty() ? x : g(std::move(m)); });
        });
        return {std::move(r)};
    }
    // Over Identity: x(m) = f(the context whose function is m2 -> x(m <> m2)).
    template <class A, class F>
        requires std::same_as<W, core::IdentityK>
    static TracedT<M, W, A> cfix(const F& f) {
        using G = std::function<A(const TracedT<M, W, Lazy<A>>&)>;
        auto w = detail::tracedAsFunctions<M, A>(core::Fn<M, G>([g = G(f)](const M&) { return g; }));
        return {core::Identity<core::Fn<M, A>>{ComonadApply<core::FunctionK<M>>::template kfix<A>(w)}};
    }
};

namespace detail {
template <class M, class G, class A>
auto tracedApply(const core::Fn<M, G>& f) {
    using B = Result<const G&, const A&>;
    return [f](const core::Fn<M, A>& g) { return core::Fn<M, B>([f, g](M m) { return f(m)(g(m)); }); };
}
}  // namespace detail

template <class M, class W>
    requires core::IsMonoid<M> && IsComonadApply<W>
struct ComonadApply<TracedTK<M, W>> : ComonadApplyDefaults<TracedTK<M, W>, ComonadApply<TracedTK<M, W>>> {
    template <class G, class A>
    static auto ap(const TracedT<M, W, G>& fs, const TracedT<M, W, A>& as) {
        auto lifted = core::Functor<W>::fmap([](const core::Fn<M, G>& f) { return detail::tracedApply<M, G, A>(f); }, fs.inner);
        auto r = ComonadApply<W>::ap(lifted, as.inner);
        return TracedT<M, W, Result<const G&, const A&>>{std::move(r)};
    }
    // Over Identity: u(m) = w(m)(the context whose function is
    // m2 -> u(m <> m2)).
    template <class A, class G>
        requires std::same_as<W, core::IdentityK>
    static TracedT<M, W, A> kfix(const TracedT<M, W, G>& w) {
        auto fs = detail::tracedAsFunctions<M, A>(w.inner.value);
        return {core::Identity<core::Fn<M, A>>{ComonadApply<core::FunctionK<M>>::template kfix<A>(fs)}};
    }
};
template <class M, class W>
    requires core::IsMonoid<M> && core::IsFunctor<W>
struct ComonadTrans<TracedTK<M, W>> {
    template <class A>
    static auto lower(const TracedT<M, W, A>& w) {
        return core::Functor<W>::fmap([](const core::Fn<M, A>& g) { return g(core::Monoid<M>::mempty()); }, w.inner);
    }
};
template <class M, class W>
struct ComonadHoist<TracedTK<M, W>> {
    template <class C, class A>
    static auto cohoist(C&& c, const TracedT<M, W, A>& w) {
        auto v = c(w.inner);
        return TracedT<M, KindOfT<decltype(v)>, A>{std::move(v)};
    }
};

}  // namespace comonad

namespace core {
template <class M, class W, class A>
struct KindOf<comonad::TracedT<M, W, A>> {
    using kind = comonad::TracedTK<M, W>;
    using arg = A;
};

template <class M, class W>
    requires IsFunctor<W>
struct Functor<comonad::TracedTK<M, W>> : FunctorDefaults<comonad::TracedTK<M, W>, Functor<comonad::TracedTK<M, W>>> {
    template <class F, class A>
    static auto fmap(F&& f, const comonad::TracedT<M, W, A>& w) {
        using B = Result<const std::decay_t<F>&, const A&>;
        auto r = Functor<W>::fmap(
            [f = std::decay_t<F>(std::forward<F>(f))](const Fn<M, A>& g) {
                return Fn<M, B>([f, g](M m) { return f(g(std::move(m))); });
            },
            w.inner);
        return comonad::TracedT<M, W, B>{std::move(r)};
    }
};
template <class M, class W>
    requires IsApplicative<W>
struct Applicative<comonad::TracedTK<M, W>>
    : ApplicativeDefaults<comonad::TracedTK<M, W>, Applicative<comonad::TracedTK<M, W>>> {
    template <class X>
    static auto pure(X&& x) {
        using A = std::decay_t<X>;
        return comonad::TracedT<M, W, A>{Applicative<W>::pure(Fn<M, A>([x = A(std::forward<X>(x))](M) { return x; }))};
    }
    template <class G, class A>
    static auto ap(const comonad::TracedT<M, W, G>& fs, const comonad::TracedT<M, W, A>& as) {
        auto lifted = Functor<W>::fmap([](const Fn<M, G>& f) { return comonad::detail::tracedApply<M, G, A>(f); }, fs.inner);
        auto r = Applicative<W>::ap(lifted, as.inner);
        return comonad::TracedT<M, W, Result<const G&, const A&>>{std::move(r)};
    }
};
// A container of traced values becomes one traced value whose functions
// evaluate every element of the container at the same trace.
template <class M, class W>
    requires IsDistributive<W>
struct Distributive<comonad::TracedTK<M, W>>
    : DistributiveDefaults<comonad::TracedTK<M, W>, Distributive<comonad::TracedTK<M, W>>> {
    template <class FT>
    static auto distribute(const FT& ft) {
        using T = ArgOf<FT>;  // TracedT<M, W, A>
        using A = ArgOf<T>;
        auto inner = Distributive<W>::collect([](const T& t) { return t.inner; }, ft);  // W<F<Fn<M, A>>>
        using FG = ArgOf<decltype(inner)>;
        using FA = Apply<KindOfT<FT>, A>;
        auto r = Functor<W>::fmap(
            [](const FG& fg) {
                return Fn<M, FA>([fg](M m) { return core::fmap([m](const Fn<M, A>& g) { return g(m); }, fg); });
            },
            inner);
        return comonad::TracedT<M, W, FA>{std::move(r)};
    }
};
}  // namespace core

namespace nerrow {
// The index of a traced context: the trace, then the inner context's index.
template <class M, class W>
    requires IsFunctorWithIndex<W>
struct IndexOf<comonad::TracedTK<M, W>> {
    using type = std::pair<M, IndexT<W>>;
};
template <class M, class W>
    requires IsFunctorWithIndex<W>
struct FunctorWithIndex<comonad::TracedTK<M, W>>
    : FunctorWithIndexDefaults<comonad::TracedTK<M, W>, FunctorWithIndex<comonad::TracedTK<M, W>>> {
    // imap(f, TracedT wf) = TracedT (inner imap of (i, g -> m -> f((m, i), g(m)))).
    template <class F, class A>
    static auto imap(F&& f, const comonad::TracedT<M, W, A>& w) {
        using I = IndexT<W>;
        using B = core::Result<const std::decay_t<F>&, const std::pair<M, I>&, const A&>;
        auto r = FunctorWithIndex<W>::imap(
            [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const core::Fn<M, A>& g) {
                return core::Fn<M, B>([f, i, g](M m) { return f(std::pair<M, I>(m, i), g(m)); });
            },
            w.inner);
        return comonad::TracedT<M, W, B>{std::move(r)};
    }
};
}  // namespace nerrow
