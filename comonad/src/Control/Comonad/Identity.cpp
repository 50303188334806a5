#include "Control/Comonad/Identity.h"
