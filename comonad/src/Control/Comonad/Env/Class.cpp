#include "Control/Comonad/Env/Class.h"
