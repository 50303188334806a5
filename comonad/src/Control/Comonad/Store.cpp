#include "Control/Comonad/Store.h"
