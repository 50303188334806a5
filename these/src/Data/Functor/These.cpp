#include "Data/Functor/These.h"

namespace these {

// Instantiated once here for a common case, so that clients using a
// These1 of two lists of Int do not each compile its members.
template class These1<core::ListK, core::ListK, core::Int>;

}  // namespace these
