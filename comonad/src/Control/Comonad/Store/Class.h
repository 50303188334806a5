#pragma once
// ComonadStore: contexts indexed by positions, whichever transformer layer
// supplies them.
//
//   comonad::pos(w)               the current position
//   comonad::peek(s, w)           the value at s
//   comonad::peeks(f, w)          peek(f(pos(w)), w)
//   comonad::seek(s, w)           the context moved to s
//   comonad::seeks(f, w)          the context moved to f(pos(w))
//   comonad::experiment(f, w)     the values at every position of f(pos(w))
//   comonad::lowerPos(w), lowerPeek(s, w)    pos and peek one layer down
//
// An implementation derives from ComonadStoreDefaults<Tag, Self> and
// supplies pos and peek; peeks, seek (peek(s, duplicate(w))), seeks and
// experiment default to them. Implemented for StoreT (its own operations);
// IdentityT, EnvT and TracedT pass the store of the context they wrap up
// through themselves (pos and peek of the lowered context). A stack with no
// store is a compile error with one message.
#include <utility>

#include "Control/Comonad.h"
#include "Control/Comonad/Trans/Env.h"
#include "Control/Comonad/Trans/Identity.h"
#include "Control/Comonad/Trans/Store.h"
#include "Control/Comonad/Trans/Traced.h"

namespace comonad {

template <class K>
struct ComonadStore {
    using NotImplemented = void;
};
// True when the context tag K supplies a store in some layer.
template <class K>
concept IsComonadStore = IsComonad<K> && !requires { typename ComonadStore<K>::NotImplemented; };

template <class K, class Self>
struct ComonadStoreDefaults {
    template <class F, class WA>
    static auto peeks(F&& f, const WA& w) {
        return Self::peek(f(Self::pos(w)), w);
    }
    template <class S, class WA>
    static WA seek(const S& s, const WA& w) {
        return Self::peek(s, Comonad<K>::duplicate(w));
    }
    template <class F, class WA>
    static WA seeks(F&& f, const WA& w) {
        return Self::peeks(std::forward<F>(f), Comonad<K>::duplicate(w));
    }
    template <class F, class WA>
    static auto experiment(F&& f, const WA& w) {
        using S = std::remove_cvref_t<decltype(Self::pos(w))>;
        return core::fmap([w](const S& s) { return Self::peek(s, w); }, f(Self::pos(w)));
    }
};

#define COMONAD_STORE_DISPATCH(name, T, call)                                                                     \
    using K = core::detail::KindOrNone<T>;                                                                        \
    if constexpr (!IsComonadStore<K>) {                                                                           \
        static_assert(core::detail::alwaysFalse<T>, name ": no layer of this context supplies a store (ComonadStore)"); \
        return detail::Missing{};                                                                                 \
    } else                                                                                                        \
        return ComonadStore<K>::call

template <class WA>
auto pos(const WA& w) {
    COMONAD_STORE_DISPATCH("pos", WA, pos(w));
}
template <class S, class WA>
auto peek(const S& s, const WA& w) {
    COMONAD_STORE_DISPATCH("peek", WA, peek(s, w));
}
template <class F, class WA>
auto peeks(F&& f, const WA& w) {
    COMONAD_STORE_DISPATCH("peeks", WA, peeks(std::forward<F>(f), w));
}
template <class S, class WA>
auto seek(const S& s, const WA& w) {
    COMONAD_STORE_DISPATCH("seek", WA, seek(s, w));
}
template <class F, class WA>
auto seeks(F&& f, const WA& w) {
    COMONAD_STORE_DISPATCH("seeks", WA, seeks(std::forward<F>(f), w));
}
template <class F, class WA>
auto experiment(F&& f, const WA& w) {
    COMONAD_STORE_DISPATCH("experiment", WA, experiment(std::forward<F>(f), w));
}
#undef COMONAD_STORE_DISPATCH

// pos of the context one layer down.
template <class WA>
auto lowerPos(const WA& w) {
    return comonad::pos(comonad::lower(w));
}
// peek of the context one layer down.
template <class S, class WA>
auto lowerPeek(const S& s, const WA& w) {
    return comonad::peek(s, comonad::lower(w));
}

template <class S, class W>
    requires IsComonad<W>
struct ComonadStore<StoreTK<S, W>> : ComonadStoreDefaults<StoreTK<S, W>, ComonadStore<StoreTK<S, W>>> {
    template <class A>
    static S pos(const StoreT<S, W, A>& w) {
        return w.position;
    }
    template <class A>
    static A peek(const S& s, const StoreT<S, W, A>& w) {
        return Comonad<W>::extract(w.inner)(s);
    }
    template <class F, class A>
    static A peeks(F&& f, const StoreT<S, W, A>& w) {
        return Comonad<W>::extract(w.inner)(f(w.position));
    }
    template <class A>
    static StoreT<S, W, A> seek(const S& s, const StoreT<S, W, A>& w) {
        return {w.inner, s};
    }
    template <class F, class A>
    static StoreT<S, W, A> seeks(F&& f, const StoreT<S, W, A>& w) {
        return {w.inner, f(w.position)};
    }
    template <class F, class A>
    static auto experiment(F&& f, const StoreT<S, W, A>& w) {
        const core::Fn<S, A>& g = Comonad<W>::extract(w.inner);
        return core::fmap([g](const S& s) { return g(s); }, f(w.position));
    }
};

namespace detail {
// The pass-through of a store through a layer K over W: pos and peek of the
// lowered context, experiment on the lowered context, the rest defaults.
template <class K, class W>
struct LoweredStore : ComonadStoreDefaults<K, LoweredStore<K, W>> {
    template <class WA>
    static auto pos(const WA& w) {
        return ComonadStore<W>::pos(ComonadTrans<K>::lower(w));
    }
    template <class S, class WA>
    static auto peek(const S& s, const WA& w) {
        return ComonadStore<W>::peek(s, ComonadTrans<K>::lower(w));
    }
    template <class F, class WA>
    static auto experiment(F&& f, const WA& w) {
        return ComonadStore<W>::experiment(std::forward<F>(f), ComonadTrans<K>::lower(w));
    }
};
}  // namespace detail

template <class W>
    requires IsComonadStore<W>
struct ComonadStore<core::IdentityTK<W>> : detail::LoweredStore<core::IdentityTK<W>, W> {};
template <class E, class W>
    requires IsComonadStore<W>
struct ComonadStore<EnvTK<E, W>> : detail::LoweredStore<EnvTK<E, W>, W> {};
template <class M, class W>
    requires core::IsMonoid<M> && IsComonadStore<W>
struct ComonadStore<TracedTK<M, W>> : detail::LoweredStore<TracedTK<M, W>, W> {};

}  // namespace comonad
