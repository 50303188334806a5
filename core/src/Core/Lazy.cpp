#include "Core/Lazy.h"

#include "Core/Error.h"

namespace core::detail {

namespace {
// A per-thread token: the address of a thread-local object is unique among
// live threads and never zero.
std::uintptr_t threadToken() noexcept {
    static thread_local char token;
    return reinterpret_cast<std::uintptr_t>(&token);
}
}  // namespace

void LazyBase::evaluate() {
    const std::uintptr_t me = threadToken();
    for (;;) {
        std::uint8_t st = status.load(std::memory_order_acquire);
        if (st == Done) return;
        if (st == Failed) std::rethrow_exception(error);
        if (st == Running) {
            if (owner.load(std::memory_order_relaxed) == me)
                raise("deferred value depends on itself");
            status.wait(Running, std::memory_order_acquire);
            continue;
        }
        if (!status.compare_exchange_strong(st, Running, std::memory_order_acquire)) continue;
        owner.store(me, std::memory_order_relaxed);
        try {
            run(this);
        } catch (...) {
            error = std::current_exception();
            owner.store(0, std::memory_order_relaxed);
            status.store(Failed, std::memory_order_release);
            status.notify_all();
            throw;
        }
        owner.store(0, std::memory_order_relaxed);
        status.store(Done, std::memory_order_release);
        status.notify_all();
        return;
    }
}

}  // namespace core::detail
