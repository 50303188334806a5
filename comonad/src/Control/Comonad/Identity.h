#pragma once
// The identity comonad: core::Identity<A> holds one value, its current
// position. Re-exports it with its transformer and, like every client
// module, the whole library (transformers, capabilities, lower/cohoist).
#include "Control/Comonad.h"
#include "Control/Comonad/Env/Class.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Store/Class.h"
#include "Control/Comonad/Trans/Class.h"
#include "Control/Comonad/Trans/Env.h"
#include "Control/Comonad/Trans/Identity.h"
#include "Control/Comonad/Trans/Store.h"
#include "Control/Comonad/Trans/Traced.h"
#include "Control/Comonad/Traced/Class.h"
#include "Data/Functor/Composition.h"
#include "Core/FunctorTypes.h"

namespace comonad {
using core::Identity;
using core::IdentityK;
using core::runIdentity;
}  // namespace comonad
