#include "kalmet/Version.h"

namespace kalmet {

const char* version() noexcept { return SUITE_VERSION; }

}  // namespace kalmet
