// Day and its arithmetic are inline (Days.h); this unit keeps the module's
// one-source-per-header layout and checks that the header stands alone.
#include "Data/Time/Calendar/Days.h"

namespace kalmet {

static_assert(detail::floorDiv(-1, 4) == -1 && detail::floorMod(-1, 4) == 3);
static_assert(detail::floorDiv(7, 4) == 1 && detail::floorMod(7, 4) == 3);
static_assert(detail::floorDiv(-8, 4) == -2 && detail::floorMod(-8, 4) == 0);

}  // namespace kalmet
