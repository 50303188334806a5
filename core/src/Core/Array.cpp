// Instantiations of the array for the commonest index and element types.
#include "Core/Array.h"

namespace core {
template class Array<Int, Int>;
template class Array<Int, char>;
template class Array<std::pair<Int, Int>, Int>;
}  // namespace core
