#include "nerrow/Version.h"

namespace nerrow {

const char* version() noexcept { return SUITE_VERSION; }

}  // namespace nerrow
