#pragma once
// StoreT<S, W, A>: a context indexed by positions of type S, with a current
// position; any position can be looked at or moved to.
//
//   comonad::StoreT<S, W, A>{inner, position}   inner: W<core::Fn<S, A>>
//   comonad::Store<S, A>                 StoreT over core::Identity
//   comonad::store(f, s), runStore(w)    build / take apart (pair (f, s))
//   comonad::runStoreT(w)                the pair (inner context, position)
//   comonad::pos(w)                      the current position
//   comonad::peek(s, w), peeks(f, w)     the value at s, at f(pos(w))
//   comonad::seek(s, w), seeks(f, w)     the same store at s, at f(pos(w));
//                                        the old position is never evaluated
//   comonad::experiment(f, w)            the values at every position of
//                                        f(pos(w)), in f's shape (any Functor)
//
// Implements Functor, Applicative (S a Monoid, W an Applicative), Comonad
// (W a Comonad), ComonadApply (S a Semigroup, W a ComonadApply: positions
// combine, the first argument's on the left), ComonadTrans (lower applies
// every function to the position) and ComonadHoist. Tag: StoreTK<S, W>.
//
// The values of a store are functions of the position: peeking computes
// the value at that position each time. A store that must not recompute
// (a cellular automaton, a dynamic-programming table) tabulates each
// generation into a container and stores a lookup into it.
#include <functional>
#include <utility>

#include "Control/Comonad.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Trans/Class.h"

namespace comonad {

template <class S, class W, class A>
struct StoreT {
    using value_type = A;
    Apply<W, core::Fn<S, A>> inner;
    S position;
};
template <class S, class W>
struct StoreTK {
    template <class A>
    using apply = StoreT<S, W, A>;
};
template <class S, class A>
using Store = StoreT<S, core::IdentityK, A>;

// The store of f's values with the current position s, over Identity.
template <class S, class F>
auto store(F f, S s) {
    using A = Result<F&, const S&>;
    return Store<S, A>{core::Identity<core::Fn<S, A>>{core::Fn<S, A>(std::move(f))}, std::move(s)};
}
template <class S, class A>
std::pair<core::Fn<S, A>, S> runStore(const Store<S, A>& w) {
    return {w.inner.value, w.position};
}
template <class S, class W, class A>
std::pair<Apply<W, core::Fn<S, A>>, S> runStoreT(const StoreT<S, W, A>& w) {
    return {w.inner, w.position};
}

template <class S, class W, class A>
const S& pos(const StoreT<S, W, A>& w) {
    return w.position;
}
template <class S, class W, class A>
A peek(const S& s, const StoreT<S, W, A>& w) {
    return Comonad<W>::extract(w.inner)(s);
}
template <class F, class S, class W, class A>
A peeks(F&& f, const StoreT<S, W, A>& w) {
    return Comonad<W>::extract(w.inner)(f(w.position));
}
template <class S, class W, class A>
StoreT<S, W, A> seek(S s, const StoreT<S, W, A>& w) {
    return {w.inner, std::move(s)};
}
template <class F, class S, class W, class A>
StoreT<S, W, A> seeks(F&& f, const StoreT<S, W, A>& w) {
    return {w.inner, f(w.position)};
}
template <class F, class S, class W, class A>
auto experiment(F&& f, const StoreT<S, W, A>& w) {
    const core::Fn<S, A>& g = Comonad<W>::extract(w.inner);
    return core::fmap([g](const S& s) { return g(s); }, f(w.position));
}

template <class S, class W>
    requires IsComonad<W>
struct Comonad<StoreTK<S, W>> : ComonadDefaults<StoreTK<S, W>, Comonad<StoreTK<S, W>>> {
    template <class A>
    static A extract(const StoreT<S, W, A>& w) {
        return Comonad<W>::extract(w.inner)(w.position);
    }
    template <class F, class A>
    static auto extend(F&& k, const StoreT<S, W, A>& w) {
        using WF = Apply<W, core::Fn<S, A>>;
        using B = Result<const std::decay_t<F>&, const StoreT<S, W, A>&>;
        auto r = Comonad<W>::extend(
            [k = std::decay_t<F>(std::forward<F>(k))](const WF& v) {
                return core::Fn<S, B>([k, v](S s) { return k(StoreT<S, W, A>{v, std::move(s)}); });
            },
            w.inner);
        return StoreT<S, W, B>{std::move(r), w.position};
    }
    // The current position answers x; any other answers as before. Only
    // the function at the inner context's current position is changed: the
    // inner context's other positions are other positions of the store,
    // also at the same s.
    template <class A>
        requires std::equality_comparable<S> && detail::HasWithCurrent<W, core::Fn<S, Lazy<A>>>
    static StoreT<S, W, Lazy<A>> withCurrent(const StoreT<S, W, Lazy<A>>& w, const Lazy<A>& x) {
        auto r = detail::patchCurrent<W>(w.inner, [x, s = w.position](const core::Fn<S, Lazy<A>>& g) {
            return core::Fn<S, Lazy<A>>([x, s, g](S s2) { return s2 == s ? x : g(std::move(s2)); });
        });
        return {std::move(r), w.position};
    }
};

namespace detail {
// (f, g) -> (s -> f(s)(g(s))), the position-wise application of stored
// functions.
template <class S, class G, class A>
auto storeApply(const core::Fn<S, G>& f) {
    using B = Result<const G&, const A&>;
    return [f](const core::Fn<S, A>& g) { return core::Fn<S, B>([f, g](S s) { return f(s)(g(s)); }); };
}
}  // namespace detail

template <class S, class W>
    requires core::IsSemigroup<S> && IsComonadApply<W>
struct ComonadApply<StoreTK<S, W>> : ComonadApplyDefaults<StoreTK<S, W>, ComonadApply<StoreTK<S, W>>> {
    template <class G, class A>
    static auto ap(const StoreT<S, W, G>& fs, const StoreT<S, W, A>& as) {
        auto lifted = core::Functor<W>::fmap([](const core::Fn<S, G>& f) { return detail::storeApply<S, G, A>(f); }, fs.inner);
        auto r = ComonadApply<W>::ap(lifted, as.inner);
        using B = Result<const G&, const A&>;
        return StoreT<S, W, B>{std::move(r), core::Semigroup<S>::combine(fs.position, as.position)};
    }
};
template <class S, class W>
    requires core::IsFunctor<W>
struct ComonadTrans<StoreTK<S, W>> {
    template <class A>
    static auto lower(const StoreT<S, W, A>& w) {
        return core::Functor<W>::fmap([s = w.position](const core::Fn<S, A>& g) { return g(s); }, w.inner);
    }
};
template <class S, class W>
struct ComonadHoist<StoreTK<S, W>> {
    template <class C, class A>
    static auto cohoist(C&& c, const StoreT<S, W, A>& w) {
        auto v = c(w.inner);
        return StoreT<S, KindOfT<decltype(v)>, A>{std::move(v), w.position};
    }
};

}  // namespace comonad

namespace core {
template <class S, class W, class A>
struct KindOf<comonad::StoreT<S, W, A>> {
    using kind = comonad::StoreTK<S, W>;
    using arg = A;
};

template <class S, class W>
    requires IsFunctor<W>
struct Functor<comonad::StoreTK<S, W>> : FunctorDefaults<comonad::StoreTK<S, W>, Functor<comonad::StoreTK<S, W>>> {
    template <class F, class A>
    static auto fmap(F&& f, const comonad::StoreT<S, W, A>& w) {
        using B = Result<const std::decay_t<F>&, const A&>;
        auto r = Functor<W>::fmap(
            [f = std::decay_t<F>(std::forward<F>(f))](const Fn<S, A>& g) {
                return Fn<S, B>([f, g](S s) { return f(g(std::move(s))); });
            },
            w.inner);
        return comonad::StoreT<S, W, B>{std::move(r), w.position};
    }
};
template <class S, class W>
    requires IsMonoid<S> && IsApplicative<W>
struct Applicative<comonad::StoreTK<S, W>>
    : ApplicativeDefaults<comonad::StoreTK<S, W>, Applicative<comonad::StoreTK<S, W>>> {
    template <class X>
    static auto pure(X&& x) {
        using A = std::decay_t<X>;
        return comonad::StoreT<S, W, A>{Applicative<W>::pure(Fn<S, A>([x = A(std::forward<X>(x))](S) { return x; })),
                                        Monoid<S>::mempty()};
    }
    template <class G, class A>
    static auto ap(const comonad::StoreT<S, W, G>& fs, const comonad::StoreT<S, W, A>& as) {
        auto lifted = Functor<W>::fmap([](const Fn<S, G>& f) { return comonad::detail::storeApply<S, G, A>(f); }, fs.inner);
        auto r = Applicative<W>::ap(lifted, as.inner);
        using B = Result<const G&, const A&>;
        return comonad::StoreT<S, W, B>{std::move(r), Semigroup<S>::combine(fs.position, as.position)};
    }
};
}  // namespace core
