#pragma once
// The environment comonad: EnvT and Env with their operations, the
// ComonadEnv capability and the comonad interfaces, for clients.
// Like every client module it gives the whole library: the other
// transformers, capabilities, lower/cohoist and compose/decompose too.
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
