#include "Core/Lazy.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdlib>
#include <mutex>

#include "Core/Error.h"
#include "Core/Stack.h"

namespace core::detail {

namespace {
// The deferred values this thread is evaluating, innermost first: a value
// that is Running and on this chain demands itself.
struct Frame {
    const LazyBase* state;
    const Frame* outer;
};
// The thread's evaluation state, in one thread-local object so that an
// evaluation looks it up once: the chain of values being evaluated and the
// stack floor (below).
struct ThreadState {
    const Frame* evaluating;
    std::uintptr_t stackFloor;  // the highest address until computed
};
[[gnu::tls_model("initial-exec")]] thread_local ThreadState current{nullptr, UINTPTR_MAX};

bool onThisThread(const LazyBase* s) noexcept {
    for (const Frame* f = current.evaluating; f; f = f->outer)
        if (f->state == s) return true;
    return false;
}


// Demands nested deeper than the thread's stack allows continue on a fresh
// stack segment (Core/Stack.h) while the demanding thread waits. The
// segment continues the demanding thread's chain of values being evaluated,
// so a value that demands itself is still reported.
// Stack kept free below the point where a demand switches segments: room
// for what runs between two nested demands.
constexpr std::size_t reserveBytes = std::size_t{2} << 20;

std::uintptr_t computeStackFloor() noexcept {
    const StackBounds b = threadStack();
    return b.low + (reserveBytes < b.size / 4 ? reserveBytes : b.size / 4);
}

// Whether the stack is used below `here` up to the lowest address at which
// a computation still runs in place.
bool stackIsLow(ThreadState& ts, const void* here) noexcept {
    if (ts.stackFloor == UINTPTR_MAX) [[unlikely]]
        ts.stackFloor = computeStackFloor();
    return reinterpret_cast<std::uintptr_t>(here) < ts.stackFloor;
}

struct SegmentJob {
    void (*call)(void*);
    void* arg;
    const Frame* chain;
};

// call(arg) on a fresh stack segment, continuing this thread's chain. Out
// of line, so that the frame of every evaluation does not carry the
// segment's bookkeeping.
[[gnu::noinline]] void runOnNewSegment(void (*call)(void*), void* arg) {
    SegmentJob job{call, arg, current.evaluating};
    const bool ran = runOnFreshStack(
        [](void* p) {
            auto* j = static_cast<SegmentJob*>(p);
            current.evaluating = j->chain;
            struct Reset {
                ~Reset() { current.evaluating = nullptr; }
            } reset;
            j->call(j->arg);
        },
        &job);
    if (!ran) raise("deferred value: no memory to continue a deeper evaluation");
}

// ---- Releasing chains in constant stack ----------------------------------
//
// Freeing a state runs the destructor of its function or value, which may
// drop the last reference to further states, and so on along a chain. The
// first state freed on a thread drains a thread-local queue: states whose
// last reference goes while a state is being freed are queued instead of
// freed in place. Most chains keep one or two entries queued; wide
// structures spill into a heap buffer that is given back once drained. The
// queue is trivially destructible, so states freed during thread exit are
// still handled.
struct ReleaseQueue {
    static constexpr std::size_t inlineSlots = 32;
    bool draining;
    std::size_t size;
    std::size_t heapCap;
    const LazyBase** heap;
    const LazyBase* slots[inlineSlots];

    // False when no memory is left to queue p.
    bool push(const LazyBase* p) noexcept {
        if (size < inlineSlots) {
            slots[size++] = p;
            return true;
        }
        const std::size_t i = size - inlineSlots;
        if (i == heapCap) {
            const std::size_t cap = heapCap ? heapCap * 2 : 256;
            void* grown = std::realloc(static_cast<void*>(heap), cap * sizeof(const LazyBase*));
            if (!grown) return false;
            heap = static_cast<const LazyBase**>(grown);
            heapCap = cap;
        }
        heap[i] = p;
        ++size;
        return true;
    }
    const LazyBase* pop() noexcept {
        --size;
        return size < inlineSlots ? slots[size] : heap[size - inlineSlots];
    }
};
[[gnu::tls_model("initial-exec")]] thread_local ReleaseQueue releaseQueue{};

// ---- Waiting for another thread --------------------------------------------
//
// A thread that must wait for a value another thread is computing records,
// under one lock, which value it waits for and the chain of values it is
// computing itself (stable while it waits). The chain of who waits for whom
// is followed from the value about to be waited for: its runner is the
// waiting thread whose chain holds it, which waits for another value, and
// so on. Reaching a value this thread is computing means the wait would
// never end. Taking the lock only on this slow path keeps uncontended
// evaluation free of it; checking and recording under the same lock means
// the last thread to close a cycle always sees the others.
struct Waiter {
    const LazyBase* waitsFor;
    const Frame* chain;
    Waiter* prev;
    Waiter* next;
};
std::mutex waitersLock;
Waiter* waiters = nullptr;  // guarded by waitersLock

bool chainHolds(const Frame* f, const LazyBase* s) noexcept {
    for (; f; f = f->outer)
        if (f->state == s) return true;
    return false;
}

// With waitersLock held: whether waiting for s would close a cycle.
bool waitClosesCycle(const LazyBase* s) noexcept {
    std::size_t count = 0;
    for (const Waiter* w = waiters; w; w = w->next) ++count;
    const LazyBase* cur = s;
    // Each step moves to another waiting thread; more steps than waiters
    // means a cycle among the others, which their own checks report.
    for (std::size_t step = 0; step <= count; ++step) {
        const Waiter* runner = nullptr;
        for (const Waiter* w = waiters; w && !runner; w = w->next)
            if (chainHolds(w->chain, cur)) runner = w;
        if (!runner) return false;  // cur's runner is not waiting
        cur = runner->waitsFor;
        if (onThisThread(cur)) return true;
    }
    return false;
}
}  // namespace

void LazyBase::destroy(const LazyBase* p) noexcept {
    ReleaseQueue& q = releaseQueue;
    if (q.draining) {
        if (q.push(p)) return;
        delete p;  // out of memory: free in place
        return;
    }
    q.draining = true;
    delete p;
    while (q.size > 0) delete q.pop();
    if (q.heap) [[unlikely]] {
        std::free(static_cast<void*>(q.heap));
        q.heap = nullptr;
        q.heapCap = 0;
    }
    q.draining = false;
}

namespace {
// Finishing an evaluation is a plain store of the final status, not a
// read-modify-write: an uncontended evaluation then costs one atomic
// read-modify-write (claiming the value) instead of two, a third of the
// cost of creating and forcing a deferred value on this class of machine.
// The price is on the rare contended path: the finishing thread wakes the
// sleeping waiters only if it sees that some exist, and it may miss one
// that arrives at the same instant, so waiters sleep at most
// `waitPoll` at a time and look again.
std::condition_variable wakeUp;     // waited on with waitersLock
std::atomic<std::size_t> sleepers{0};  // threads inside the wait below
constexpr auto waitPoll = std::chrono::milliseconds(1);

[[gnu::noinline]] void notifySleepers() noexcept {
    std::lock_guard<std::mutex> lock(waitersLock);
    wakeUp.notify_all();
}
void wakeSleepers() noexcept {
    if (sleepers.load(std::memory_order_acquire) != 0) [[unlikely]]
        notifySleepers();
}
}  // namespace

void LazyBase::waitForOtherThread() {
    Waiter me{this, current.evaluating, nullptr, nullptr};
    std::unique_lock<std::mutex> lock(waitersLock);
    if (status_.load(std::memory_order_acquire) != Running) return;
    if (waitClosesCycle(this)) raise("deferred value depends on itself");
    me.next = waiters;
    if (waiters) waiters->prev = &me;
    waiters = &me;
    sleepers.fetch_add(1, std::memory_order_seq_cst);
    while (status_.load(std::memory_order_acquire) == Running) wakeUp.wait_for(lock, waitPoll);
    sleepers.fetch_sub(1, std::memory_order_relaxed);
    if (me.prev)
        me.prev->next = me.next;
    else
        waiters = me.next;
    if (me.next) me.next->prev = me.prev;
}

// A deep chain of demands writes a fresh frame below the last at every
// level and returns through those frames in order of rising address, long
// after writing them. Past a few megabytes of depth the frames are not in
// the cache either way: each level would wait for memory to write its frame
// and again to read it back, and the claim of the next value (a locked
// instruction) waits for the pending writes. Fetching the stack a few dozen
// levels ahead, below the frame on the way down and above it on the way
// back, overlaps those waits. A level of a deep right fold takes two lines
// of stack; fetching four per level, so that each line is asked for twice,
// measured clearly faster than fetching each once (a prefetch may be
// dropped while the memory system is busy).
constexpr std::uintptr_t prefetchAhead = 4096;
constexpr std::uintptr_t prefetchLines = 4;
inline void prefetchInnerFrames(std::uintptr_t here) noexcept {
    for (std::uintptr_t line = 0; line < prefetchLines; ++line)
        __builtin_prefetch(reinterpret_cast<const void*>(here - prefetchAhead - 64 * line), 1);
}
inline void prefetchOuterFrames(std::uintptr_t here) noexcept {
    for (std::uintptr_t line = 0; line < prefetchLines; ++line)
        __builtin_prefetch(reinterpret_cast<const void*>(here + prefetchAhead + 64 * line));
}

// The common path: claim the value, compute it. An evaluation that finds
// the value claimed, failed or done goes through evaluateSlow.
void LazyBase::evaluate() {
    std::uint8_t st = Pending;
    if (!status_.compare_exchange_strong(st, Running, std::memory_order_acquire)) [[unlikely]] {
        evaluateSlow();
        return;
    }
    runClaimed();
}

// A value that was not Pending when first looked at: evaluated, failed,
// being computed (by this thread: a cycle; by another: wait for it), or
// claimed by another thread in between.
void LazyBase::evaluateSlow() {
    for (;;) {
        std::uint8_t st = status_.load(std::memory_order_acquire);
        if (st == Done) return;
        if (st == Failed) rethrowError();
        if (st == Running) {
            if (onThisThread(this)) raise("deferred value depends on itself");
            waitForOtherThread();
            continue;
        }
        if (!status_.compare_exchange_strong(st, Running, std::memory_order_acquire)) continue;
        runClaimed();
        return;
    }
}

// Computes a value this thread has claimed, on a fresh stack segment when
// the thread's stack runs low. Its frame is what one nested demand of a
// deep chain costs on the stack, and a chain of millions of demands is
// bound by the memory traffic of those frames, so it is kept small: the
// fresh segment is out of line.
void LazyBase::runClaimed() {
    ThreadState& ts = current;
    Frame frame{this, ts.evaluating};
    ts.evaluating = &frame;
    prefetchInnerFrames(reinterpret_cast<std::uintptr_t>(&frame));
    try {
        if (!stackIsLow(ts, &frame))
            compute();
        else
            runOnNewSegment([](void* self) { static_cast<LazyBase*>(self)->compute(); }, this);
    } catch (...) {
        ts.evaluating = frame.outer;
        fail(std::current_exception());
        throw;
    }
    ts.evaluating = frame.outer;
    prefetchOuterFrames(reinterpret_cast<std::uintptr_t>(&frame));
    status_.store(Done, std::memory_order_release);
    wakeSleepers();
}

void LazyBase::fail(std::exception_ptr e) noexcept {
    storeError(std::move(e));
    status_.store(Failed, std::memory_order_release);
    wakeSleepers();
}

}  // namespace core::detail
