// Module Data.Foldable1.WithIndex re-exports WithIndex; it has no code of its own.
#include "Data/Foldable1/WithIndex.h"
