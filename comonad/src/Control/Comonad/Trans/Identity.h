#pragma once
// The identity comonad transformer: core::IdentityT<W, A> wraps W<A> and
// behaves as W (Comonad, ComonadApply, ComonadTrans, ComonadHoist and the
// capability interfaces, which it passes through).
#include "Control/Comonad.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Trans/Class.h"
#include "Core/FunctorTypes.h"

namespace comonad {
using core::IdentityT;
using core::IdentityTK;
using core::runIdentityT;
}  // namespace comonad

// Like every client module, this one gives the whole library: the other
// transformers and the capabilities that IdentityT passes through.
#include "Control/Comonad/Env/Class.h"
#include "Control/Comonad/Store/Class.h"
#include "Control/Comonad/Traced/Class.h"
#include "Data/Functor/Composition.h"
