#include "Control/Comonad/Trans/Traced.h"
