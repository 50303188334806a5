#include "tarvel/Version.h"

namespace tarvel {

const char* version() noexcept { return SUITE_VERSION; }

}  // namespace tarvel
