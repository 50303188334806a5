#include "Core/Lazy.h"

#include "Core/Error.h"

namespace core::detail {

namespace {
// The deferred values this thread is evaluating, innermost first: a value
// that is Running and on this chain demands itself.
struct Frame {
    const LazyBase* state;
    const Frame* outer;
};
thread_local const Frame* evaluating = nullptr;

bool onThisThread(const LazyBase* s) noexcept {
    for (const Frame* f = evaluating; f; f = f->outer)
        if (f->state == s) return true;
    return false;
}

struct Push {
    Frame frame;
    explicit Push(const LazyBase* s) noexcept : frame{s, evaluating} { evaluating = &frame; }
    ~Push() { evaluating = frame.outer; }
};
}  // namespace

void LazyBase::evaluate() {
    for (;;) {
        std::uint8_t st = status_.load(std::memory_order_acquire);
        if (st == Done) return;
        if (st == Failed) rethrowError();
        if (st == Running) {
            if (onThisThread(this)) raise("deferred value depends on itself");
            status_.wait(Running, std::memory_order_acquire);
            continue;
        }
        if (!status_.compare_exchange_strong(st, Running, std::memory_order_acquire)) continue;
        try {
            Push p(this);
            compute();
        } catch (...) {
            storeError(std::current_exception());
            status_.store(Failed, std::memory_order_release);
            status_.notify_all();
            throw;
        }
        status_.store(Done, std::memory_order_release);
        status_.notify_all();
        return;
    }
}

}  // namespace core::detail
