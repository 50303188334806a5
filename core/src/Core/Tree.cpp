// Instantiations of the rose tree for the commonest label types, so that
// programs using them do not each compile the tree's own members.
#include "Core/Tree.h"

#include <string>

namespace core {
template struct Tree<Int>;
template struct Tree<std::string>;
}  // namespace core
