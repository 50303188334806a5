// Module CoerceCompat: templates only; this file checks that the header stands alone.
#include "CoerceCompat.h"
