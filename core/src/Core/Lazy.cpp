#include "Core/Lazy.h"

#include <pthread.h>

#include <cstddef>

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

// Demands nested deeper than the thread's stack allows continue on a fresh
// segment: a helper thread with a large stack (address space reserved,
// pages used on demand) runs the computation while the demanding thread
// waits. The helper continues the demanding thread's chain of values being
// evaluated, so a value that demands itself is still reported.
// (Kept below 64 MB, the largest stack AddressSanitizer cleans up when an
// exception leaves it.)
constexpr std::size_t segmentBytes = std::size_t{32} << 20;
// Stack kept free below the point where a demand switches segments: room
// for what runs between two nested demands.
constexpr std::size_t reserveBytes = std::size_t{2} << 20;

// The lowest stack address at which a computation still runs in place; 0
// until computed for this thread.
thread_local std::uintptr_t stackFloor = 0;

std::uintptr_t computeStackFloor() noexcept {
    char probe;
    const auto here = reinterpret_cast<std::uintptr_t>(&probe);
    pthread_attr_t attr;
    void* addr = nullptr;
    std::size_t size = 0;
    bool known = false;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        known = pthread_attr_getstack(&attr, &addr, &size) == 0 && addr != nullptr && size != 0;
        pthread_attr_destroy(&attr);
    }
    const auto low = reinterpret_cast<std::uintptr_t>(addr);
    if (!known || here < low || here - low > size) {
        // Unknown bounds: assume a few megabytes below this point.
        const std::uintptr_t assumed = std::uintptr_t{4} << 20;
        return here > assumed ? here - assumed + reserveBytes / 2 : 1;
    }
    const std::size_t reserve = reserveBytes < size / 4 ? reserveBytes : size / 4;
    return low + reserve;
}

bool stackIsLow() noexcept {
    if (stackFloor == 0) stackFloor = computeStackFloor();
    char probe;
    return reinterpret_cast<std::uintptr_t>(&probe) < stackFloor;
}

struct SegmentJob {
    void (*call)(void*);
    void* arg;
    const Frame* chain;
    std::exception_ptr error;
};

void* runSegment(void* p) {
    auto* job = static_cast<SegmentJob*>(p);
    evaluating = job->chain;
    try {
        job->call(job->arg);
    } catch (...) {
        job->error = std::current_exception();
    }
    evaluating = nullptr;
    return nullptr;
}

// call(arg), on a fresh stack segment when this one is nearly used up.
void runWithStack(void (*call)(void*), void* arg) {
    if (!stackIsLow()) {
        call(arg);
        return;
    }
    SegmentJob job{call, arg, evaluating, nullptr};
    pthread_attr_t attr;
    pthread_t thread;
    bool started = false;
    if (pthread_attr_init(&attr) == 0) {
        started = pthread_attr_setstacksize(&attr, segmentBytes) == 0 &&
                  pthread_create(&thread, &attr, &runSegment, &job) == 0;
        pthread_attr_destroy(&attr);
    }
    if (!started) raise("deferred value: no memory to continue a deeper evaluation");
    pthread_join(thread, nullptr);
    if (job.error) std::rethrow_exception(job.error);
}
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
            runWithStack([](void* self) { static_cast<LazyBase*>(self)->compute(); }, this);
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
