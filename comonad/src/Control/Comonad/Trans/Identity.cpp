#include "Control/Comonad/Trans/Identity.h"
