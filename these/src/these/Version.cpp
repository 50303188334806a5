#include "these/Version.h"

namespace these {

const char* version() noexcept { return SUITE_VERSION; }

}  // namespace these
