#pragma once
// Foldable1WithIndex and its folds: ifoldMap1, ifoldMap1Strict
// (ifoldMap1'), ifoldrMap1, ifoldlMap1Strict (ifoldlMap1'), ifoldlMap1,
// ifoldrMap1Strict (ifoldrMap1'); all in namespace nerrow, defined by
// WithIndex.h.
#include "../../WithIndex.h"
