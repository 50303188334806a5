#include "Control/Comonad/Trans/Env.h"
