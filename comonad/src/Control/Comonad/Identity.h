#pragma once
// The identity comonad: core::Identity<A> holds one value, its current
// position. Re-exports it with its transformer and the comonad interfaces.
#include "Control/Comonad.h"
#include "Control/Comonad/Trans/Identity.h"
#include "Core/FunctorTypes.h"

namespace comonad {
using core::Identity;
using core::IdentityK;
using core::runIdentity;
}  // namespace comonad
