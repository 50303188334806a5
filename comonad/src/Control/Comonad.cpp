#include "Control/Comonad.h"

#include <memory>
#include <optional>

namespace comonad::detail {

void selfDependency() {
    // A deferred value that demands itself: the error is the deferred
    // value's own. The handle it keeps to itself is dropped on the way out.
    auto cell = std::make_shared<std::optional<core::Lazy<int>>>();
    core::Lazy<int> self = core::defer([cell]() -> int { return (*cell)->force(); });
    *cell = self;
    try {
        self.force();
    } catch (...) {
        cell->reset();
        throw;
    }
    cell->reset();
    core::raise("deferred value depends on itself");
}

}  // namespace comonad::detail
