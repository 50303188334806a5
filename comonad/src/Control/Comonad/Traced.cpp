#include "Control/Comonad/Traced.h"
