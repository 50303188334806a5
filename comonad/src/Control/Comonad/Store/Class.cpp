#include "Control/Comonad/Store/Class.h"
