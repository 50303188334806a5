#pragma once
// ComonadHoist: replace the inner context of a transformer layer.
//
//   comonad::cohoist(c, w)   the same layer over c(inner context)
//
// c converts the inner context to another comonad of the same element type
// and must accept whatever element type the layer stores inside (a generic
// lambda, for example `[](const auto& v) { return toOther(v); }`); the
// environment or position of the layer is unchanged. Implemented here for
// core::IdentityT; EnvT, StoreT and TracedT implement it next to their
// definitions.
#include "Control/Comonad.h"

namespace comonad {

template <class K>
struct ComonadHoist {
    using NotImplemented = void;
};
template <class K>
concept IsComonadHoist = !requires { typename ComonadHoist<K>::NotImplemented; };

template <class C, class WA>
auto cohoist(C&& c, const WA& w) {
    using K = core::detail::KindOrNone<WA>;
    if constexpr (!IsComonadHoist<K>) {
        static_assert(core::detail::alwaysFalse<WA>, "cohoist: this context is not a comonad transformer (no ComonadHoist)");
        return detail::Missing{};
    } else
        return ComonadHoist<K>::cohoist(std::forward<C>(c), w);
}

template <class M>
struct ComonadHoist<core::IdentityTK<M>> {
    template <class C, class A>
    static auto cohoist(C&& c, const core::IdentityT<M, A>& w) {
        auto v = c(w.value);
        return core::IdentityT<KindOfT<decltype(v)>, A>{std::move(v)};
    }
};

}  // namespace comonad
