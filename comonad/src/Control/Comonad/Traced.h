#pragma once
// The traced comonad: TracedT and Traced with their operations, the
// ComonadTraced capability and the comonad interfaces, for clients.
#include "Control/Comonad.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Trans/Class.h"
#include "Control/Comonad/Trans/Traced.h"
#include "Control/Comonad/Traced/Class.h"
