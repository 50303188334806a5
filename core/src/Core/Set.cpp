#include "Core/Set.h"

#include <string>

namespace core {
// The common instantiations, compiled once here.
template class Set<Int>;
template class Set<std::string>;
}  // namespace core
