#include "Control/Comonad/Hoist/Class.h"
