#include "Data/These.h"

namespace these {

// Instantiated once here for the common case, so that clients using
// These<Int, Int> do not each compile its members.
template class These<core::Int, core::Int>;

}  // namespace these
