#include "Core/IntMap.h"

#include <string>

namespace core {
// The common instantiations, compiled once here.
template class IntMap<Int>;
template class IntMap<std::string>;
}  // namespace core
