#include "Control/Comonad/Trans/Store.h"
