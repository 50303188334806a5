#include "Data/Functor/Composition.h"
