#include "Control/Comonad/Trans/Class.h"
