#include "Control/Comonad/Traced/Class.h"
