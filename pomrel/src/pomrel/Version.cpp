#include "pomrel/Version.h"

namespace pomrel {

const char* version() noexcept { return SUITE_VERSION; }

}  // namespace pomrel
