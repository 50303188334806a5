#pragma once
// Re-exports Foldable1WithIndex and its folds: ifoldMap1, ifoldMap1Strict
// (ifoldMap1'), ifoldrMap1, ifoldlMap1Strict (ifoldlMap1'), ifoldlMap1,
// ifoldrMap1Strict (ifoldrMap1').
#include "WithIndex.h"

namespace nerrow::foldable1 {
using nerrow::Foldable1WithIndex;
using nerrow::Foldable1WithIndexDefaults;
using nerrow::ifoldlMap1;
using nerrow::ifoldlMap1Strict;
using nerrow::ifoldMap1;
using nerrow::ifoldMap1Strict;
using nerrow::ifoldrMap1;
using nerrow::ifoldrMap1Strict;
using nerrow::IsFoldable1WithIndex;
}  // namespace nerrow::foldable1
