#pragma once
// Composition: wrapping and unwrapping a two-level functor composition.
//
//   comonad::decompose(x)          Compose<F, G, X> -> F<G<X>> (no work)
//   comonad::compose(fgx)          F<G<X>> -> Compose<F, G, X>; F and G are
//                                  deduced from the argument's type
//
// Implemented for core::Compose.
#include <utility>

#include "Core/FunctorTypes.h"
#include "Core/Kinds.h"

namespace comonad {

template <class F, class G, class X>
const core::Apply<F, core::Apply<G, X>>& decompose(const core::Compose<F, G, X>& x) {
    return x.value;
}
template <class FGX>
    requires core::HasKind<FGX> && core::HasKind<core::ArgOf<FGX>>
auto compose(FGX&& fgx) {
    using F = core::KindOfT<FGX>;
    using GX = core::ArgOf<FGX>;
    using G = core::KindOfT<GX>;
    using X = core::ArgOf<GX>;
    return core::Compose<F, G, X>{std::forward<FGX>(fgx)};
}

}  // namespace comonad
