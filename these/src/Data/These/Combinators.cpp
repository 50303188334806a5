#include "Data/These/Combinators.h"

namespace these {

// The combinators are templates over the caller's types and functions; the
// common instantiation of These lives in Data/These.cpp.

}  // namespace these
