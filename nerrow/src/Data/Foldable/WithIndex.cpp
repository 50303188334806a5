// Module Data.Foldable.WithIndex: templates only; this file checks that the header stands alone.
#include "Data/Foldable/WithIndex.h"
