// Module Data.Traversable.WithIndex: templates only; this file checks that the header stands alone.
#include "Data/Traversable/WithIndex.h"
