// The structural building blocks are templates over the shapes they
// combine; this file only checks that the header stands on its own.
#include "Core/Shapes.h"

namespace core {
template struct Par1<Int>;
template struct U1<Int>;
}  // namespace core
