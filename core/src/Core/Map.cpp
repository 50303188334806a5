#include "Core/Map.h"

#include <string>

namespace core {
namespace detail {
void treeTooLarge() { raise("Map: too many elements (at most 4294967295)"); }
}  // namespace detail

// The common instantiations, compiled once here.
template class Map<Int, Int>;
template class Map<std::string, Int>;
}  // namespace core
