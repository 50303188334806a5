#pragma once
// ComonadTrans: a comonad transformer layer that can be removed.
//
//   comonad::lower(w)    the inner context of one transformer layer
//
// An implementation is `template <> struct ComonadTrans<LayerTag>` with a
// static `lower(w)`; LayerTag is the one-parameter tag of the transformed
// context (IdentityTK<W>, EnvTK<E, W>, StoreTK<S, W>, TracedTK<M, W>).
// Implemented here for core::IdentityT (the wrapped context); the other
// transformers implement it next to their definitions.
#include "Control/Comonad.h"

namespace comonad {

template <class K>
struct ComonadTrans {
    using NotImplemented = void;
};
// True when the tag K is a transformer layer with ComonadTrans.
template <class K>
concept IsComonadTrans = !requires { typename ComonadTrans<K>::NotImplemented; };

// The context one layer down.
template <class WA>
auto lower(const WA& w) {
    using K = core::detail::KindOrNone<WA>;
    if constexpr (!IsComonadTrans<K>) {
        static_assert(core::detail::alwaysFalse<WA>, "lower: this context is not a comonad transformer (no ComonadTrans)");
        return detail::Missing{};
    } else
        return ComonadTrans<K>::lower(w);
}

template <class M>
struct ComonadTrans<core::IdentityTK<M>> {
    template <class A>
    static Apply<M, A> lower(const core::IdentityT<M, A>& w) {
        return w.value;
    }
};

}  // namespace comonad
