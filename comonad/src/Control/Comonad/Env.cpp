#include "Control/Comonad/Env.h"
