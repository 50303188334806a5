#include "Data/Fix.h"

#include "Core/Stack.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace pomrel::detail {

namespace {

// Layers whose last reference was dropped while another drop was already
// running on this thread: the outermost drop releases them one by one, so
// freeing a deep structure never nests destructors.
thread_local bool draining = false;
thread_local std::vector<const core::detail::LazyBase*> pending;

// The stack address below which a deep recursion moves to a fresh segment:
// a margin above the point where core::Lazy itself switches segments
// (2 MB, or a quarter of a small stack), so that a computation handed to
// core::Lazy here always finds it ready to switch soon.
thread_local std::uintptr_t floorAddress = 0;

std::uintptr_t computeFloor() noexcept {
    const core::detail::StackBounds b = core::detail::threadStack();
    const std::size_t lazyReserve = (std::size_t{2} << 20) < b.size / 4 ? (std::size_t{2} << 20) : b.size / 4;
    const std::size_t extra = (std::size_t{1} << 20) < b.size / 8 ? (std::size_t{1} << 20) : b.size / 8;
    return b.low + lazyReserve + extra;
}

}  // namespace

void releaseLayer(const core::detail::LazyBase* state) noexcept {
    if (!state->unique()) {
        // Not the last reference (if another thread drops its reference at
        // the same moment, freeing here releases the children through a
        // drain of their own, so the nesting stays bounded).
        state->release();
        return;
    }
    if (draining) {
        try {
            pending.push_back(state);
            return;
        } catch (const std::bad_alloc&) {
            // No memory to queue it: free it here instead.
        }
        state->release();
        return;
    }
    draining = true;
    state->release();
    while (!pending.empty()) {
        const core::detail::LazyBase* next = pending.back();
        pending.pop_back();
        next->release();
    }
    draining = false;
}

bool stackIsLow() noexcept {
    if (floorAddress == 0) floorAddress = computeFloor();
    char probe;
    return reinterpret_cast<std::uintptr_t>(&probe) < floorAddress;
}

}  // namespace pomrel::detail
