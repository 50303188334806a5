#include "comonad/Version.h"

namespace comonad {

const char* version() noexcept { return SUITE_VERSION; }

}  // namespace comonad
