#include "Core/Stack.h"

#include <pthread.h>

#include <exception>

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
    pthread_attr_t attr;
    pthread_t thread;
    bool started = false;
    if (pthread_attr_init(&attr) == 0) {
        started = pthread_attr_setstacksize(&attr, freshStackBytes) == 0 &&
                  pthread_create(&thread, &attr, &runFreshStackJob, &job) == 0;
        pthread_attr_destroy(&attr);
    }
    if (!started) return false;
    pthread_join(thread, nullptr);
    if (job.error) std::rethrow_exception(job.error);
    return true;
}

}  // namespace core::detail
