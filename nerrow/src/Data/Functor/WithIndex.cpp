// Module Data.Functor.WithIndex re-exports WithIndex; it has no code of its own.
#include "Data/Functor/WithIndex.h"
