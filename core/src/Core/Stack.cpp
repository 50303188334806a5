#include "Core/Stack.h"

#include <pthread.h>
#include <sys/mman.h>

#include <cstddef>
#include <exception>
#include <mutex>

namespace core::detail {

namespace {
StackBounds readThreadStack() noexcept {
    const std::uintptr_t here = stackHere();
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
        constexpr std::size_t assumed = std::size_t{4} << 20;
        return {here > assumed ? here - assumed : 0, assumed};
    }
    return {low, size};
}

struct FreshStackJob {
    void (*call)(void*);
    void* arg;
    std::exception_ptr error;
};

// The stacks of finished segments are kept for the next ones, up to eight:
// a deep evaluation runs through several segments one inside the other,
// and touching a fresh 32 MB stack costs a page fault per 4 KB, more than
// the evaluation itself. A kept stack's pages are given back to the system
// lazily (MADV_FREE): reclaimed only when memory runs short, and otherwise
// found still in place by the next segment. Each stack has an inaccessible
// guard zone below it.
constexpr std::size_t guardBytes = std::size_t{64} << 10;
constexpr std::size_t keptStacksMax = 8;
std::mutex keptStacksLock;
void* keptStacks[keptStacksMax];  // guarded by keptStacksLock
std::size_t keptStackCount = 0;   // guarded by keptStacksLock

void* takeStack() noexcept {
    {
        std::lock_guard<std::mutex> lock(keptStacksLock);
        if (keptStackCount > 0) return keptStacks[--keptStackCount];
    }
    void* p = mmap(nullptr, guardBytes + freshStackBytes, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    if (mprotect(p, guardBytes, PROT_NONE) != 0) {
        munmap(p, guardBytes + freshStackBytes);
        return nullptr;
    }
    return p;
}
void keepStack(void* p) noexcept {
    char* stack = static_cast<char*>(p) + guardBytes;
    if (madvise(stack, freshStackBytes, MADV_FREE) != 0) madvise(stack, freshStackBytes, MADV_DONTNEED);
    {
        std::lock_guard<std::mutex> lock(keptStacksLock);
        if (keptStackCount < keptStacksMax) {
            keptStacks[keptStackCount++] = p;
            return;
        }
    }
    munmap(p, guardBytes + freshStackBytes);
}

void* runFreshStackJob(void* p) {
    auto* job = static_cast<FreshStackJob*>(p);
    try {
        job->call(job->arg);
    } catch (...) {
        job->error = std::current_exception();
    }
    return nullptr;
}
}  // namespace

StackBounds threadStack() noexcept {
    static thread_local const StackBounds bounds = readThreadStack();
    return bounds;
}

bool runOnFreshStack(void (*call)(void*), void* arg) {
    FreshStackJob job{call, arg, nullptr};
    void* stack = takeStack();
    if (!stack) return false;
    pthread_attr_t attr;
    pthread_t thread;
    bool started = false;
    if (pthread_attr_init(&attr) == 0) {
        started = pthread_attr_setstack(&attr, static_cast<char*>(stack) + guardBytes, freshStackBytes) == 0 &&
                  pthread_create(&thread, &attr, &runFreshStackJob, &job) == 0;
        pthread_attr_destroy(&attr);
    }
    if (!started) {
        keepStack(stack);
        return false;
    }
    pthread_join(thread, nullptr);
    keepStack(stack);
    if (job.error) std::rethrow_exception(job.error);
    return true;
}

}  // namespace core::detail
