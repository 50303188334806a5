#include "Core/Seq.h"

#include <string>

namespace core {

namespace detail {
void seqIndexOutOfBounds(const char* what, Int i, std::size_t size) {
    raise(std::string(what) + ": position " + std::to_string(i) + " out of bounds (size " + std::to_string(size) + ")");
}
}  // namespace detail

template class Seq<Int>;

}  // namespace core
