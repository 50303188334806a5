#pragma once
// The calling thread's stack, for code that recurses as deep as its input
// and must not run off the end of the stack: how much is left, and running a
// computation on a fresh stack segment (a helper thread with a large stack,
// address space reserved and pages used on demand, while the caller waits;
// up to eight finished segments' stacks are kept for reuse, their pages
// given back to the system lazily).
// Deferred values, readers and fixed points continue on such segments when
// their thread's stack runs low, so deep data is limited by memory instead.
#include <cstddef>
#include <cstdint>

namespace core::detail {

// The lowest usable address of this thread's stack and its size, read once
// per thread. When the system does not tell, the stack is taken to end
// 4 MB below the first caller's frame.
struct StackBounds {
    std::uintptr_t low;
    std::size_t size;
};
StackBounds threadStack() noexcept;

// An address inside the caller's frame.
inline std::uintptr_t stackHere() noexcept { return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)); }

// Bytes of stack between the caller's frame and the end of the stack.
inline std::size_t stackLeft() noexcept {
    const StackBounds b = threadStack();
    const std::uintptr_t here = stackHere();
    return here > b.low ? static_cast<std::size_t>(here - b.low) : 0;
}

// The size of a fresh segment: below 64 MB, the largest stack that
// AddressSanitizer cleans up when an exception leaves it.
inline constexpr std::size_t freshStackBytes = std::size_t{32} << 20;

// Runs call(arg) on a fresh stack segment and waits for it; an exception
// thrown by call is rethrown here. Returns false, without calling, when no
// thread could be started. Thread-local state of the caller is not carried
// over: call must set up whatever it needs from arg.
bool runOnFreshStack(void (*call)(void*), void* arg);

}  // namespace core::detail
