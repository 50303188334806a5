#include "Core/TextForms.h"

namespace core {

// The text forms are templates over their element types; the common
// instantiations are compiled once here.
template struct Show<Identity<Int>>;
template struct Read<Identity<Int>>;

}  // namespace core
