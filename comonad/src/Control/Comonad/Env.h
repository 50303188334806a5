#pragma once
// The environment comonad: EnvT and Env with their operations, the
// ComonadEnv capability and the comonad interfaces, for clients.
#include "Control/Comonad.h"
#include "Control/Comonad/Env/Class.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Trans/Class.h"
#include "Control/Comonad/Trans/Env.h"
