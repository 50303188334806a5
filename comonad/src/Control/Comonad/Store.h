#pragma once
// The store comonad: StoreT and Store with their operations, the
// ComonadStore capability and the comonad interfaces, for clients.
#include "Control/Comonad.h"
#include "Control/Comonad/Hoist/Class.h"
#include "Control/Comonad/Store/Class.h"
#include "Control/Comonad/Trans/Class.h"
#include "Control/Comonad/Trans/Store.h"
