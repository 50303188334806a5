#include "Core/CellPool.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

namespace core::detail {

#if !CORE_CELL_POOL

void* cellAllocate(std::size_t bytes) {
    return ::operator new(bytes);
}
void cellFree(void* p, std::size_t) noexcept {
    ::operator delete(p);
}
CellPoolUsage cellPoolUsage() noexcept {
    return {0, 0};
}

#else

namespace {

// Blocks come in sizes of 8, 16, 24, ..., 128 bytes, one size per slab: the
// states of small deferred values (24 bytes) and map nodes (40 bytes) take
// no padding to the next multiple of 16. A block is aligned to 16 when its
// size is a multiple of 16, else to 8, which is all that an object of that
// size can need. A slab is 64 KB, aligned to its size, so the slab of a
// block is found by masking its address; its header takes the first cache
// line.
constexpr std::size_t granule = 8;
constexpr std::size_t sizeClasses = cellPoolMaxBytes / granule;
constexpr std::size_t slabBytes = cellPoolSlabBytes;
constexpr std::size_t headerBytes = 64;

struct FreeCell {
    FreeCell* next;
};
struct Pool;

struct Slab {
    // Blocks freed by threads other than the owner, pushed without a lock
    // and taken over by the owner when its own blocks run out.
    std::atomic<FreeCell*> remote{nullptr};
    // The owning thread's pool; null while the slab waits for a new owner.
    std::atomic<Pool*> owner{nullptr};
    // The rest is the owner's alone (or, while ownerless, guarded by
    // orphanLock).
    FreeCell* local = nullptr;  // freed blocks, most recently freed first
    Slab* prev = nullptr;
    Slab* next = nullptr;
    std::uint32_t used = 0;  // handed out and not yet known to be free
    std::uint32_t carved = 0;
    std::uint32_t capacity = 0;
    std::uint32_t cellBytes = 0;
    // Ran out of blocks and moved to the back of its list.
    bool exhausted = false;
};
static_assert(sizeof(Slab) <= headerBytes);

Slab* slabOf(const void* p) noexcept {
    return reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(p) & ~(std::uintptr_t{slabBytes} - 1));
}

// Empty slabs kept for reuse, up to 64 MB: giving a slab back to the system
// and taking it again costs a page fault per 4 KB, more than all the work
// done with the blocks of a freshly built list.
constexpr std::size_t reserveMax = 1024;
std::mutex reserveLock;
FreeCell* reserve = nullptr;  // guarded by reserveLock
std::size_t reserveCount = 0;  // guarded by reserveLock

std::atomic<std::size_t> slabsInUse{0};

Slab* newSlab(std::size_t cls, Pool* owner) {
    void* m = nullptr;
    {
        std::lock_guard<std::mutex> lock(reserveLock);
        if (reserve) {
            m = reserve;
            reserve = reserve->next;
            --reserveCount;
        }
    }
    if (!m) m = std::aligned_alloc(slabBytes, slabBytes);
    if (!m) throw std::bad_alloc();
    slabsInUse.fetch_add(1, std::memory_order_relaxed);
    auto* s = ::new (m) Slab;
    s->cellBytes = static_cast<std::uint32_t>((cls + 1) * granule);
    s->capacity = static_cast<std::uint32_t>((slabBytes - headerBytes) / s->cellBytes);
    s->owner.store(owner, std::memory_order_relaxed);
    return s;
}
void freeSlab(Slab* s) noexcept {
    slabsInUse.fetch_sub(1, std::memory_order_relaxed);
    s->~Slab();
    {
        std::lock_guard<std::mutex> lock(reserveLock);
        if (reserveCount < reserveMax) {
            reserve = ::new (static_cast<void*>(s)) FreeCell{reserve};
            ++reserveCount;
            return;
        }
    }
    std::free(s);
}

// Moves the blocks other threads freed into the local list; false when
// there were none.
bool collectRemote(Slab* s) noexcept {
    FreeCell* r = s->remote.exchange(nullptr, std::memory_order_acquire);
    if (!r) return false;
    std::uint32_t n = 1;
    FreeCell* last = r;
    for (; last->next; last = last->next) ++n;
    last->next = s->local;
    s->local = r;
    s->used -= n;
    return true;
}
bool hasRoom(const Slab* s) noexcept {
    return s->local || s->carved < s->capacity;
}
// A block of a slab with room.
void* take(Slab* s) noexcept {
    ++s->used;
    if (FreeCell* f = s->local) {
        s->local = f->next;
        return f;
    }
    char* base = reinterpret_cast<char*>(s) + headerBytes;
    return base + std::size_t{s->carved++} * s->cellBytes;
}

// Slabs whose thread ended, per size class, until a thread takes them over.
std::mutex orphanLock;
Slab* orphans[sizeClasses] = {};  // guarded by orphanLock

// A thread's slabs, per size class, in one list: the head is allocated
// from; slabs that ran out of blocks are at the back. Trivially
// destructible, so blocks freed while the thread's other thread-local
// objects are destroyed still find it.
struct Pool {
    Slab* head[sizeClasses];
    Slab* tail[sizeClasses];
    bool ended;  // the thread is ending: its slabs have been handed over
};
[[gnu::tls_model("initial-exec")]] thread_local Pool pool{};

void unlink(Pool& p, std::size_t c, Slab* s) noexcept {
    (s->prev ? s->prev->next : p.head[c]) = s->next;
    (s->next ? s->next->prev : p.tail[c]) = s->prev;
    s->prev = s->next = nullptr;
}
void pushFront(Pool& p, std::size_t c, Slab* s) noexcept {
    s->prev = nullptr;
    s->next = p.head[c];
    (p.head[c] ? p.head[c]->prev : p.tail[c]) = s;
    p.head[c] = s;
}
void pushBack(Pool& p, std::size_t c, Slab* s) noexcept {
    s->next = nullptr;
    s->prev = p.tail[c];
    (p.tail[c] ? p.tail[c]->next : p.head[c]) = s;
    p.tail[c] = s;
}
// Right after the head, so that it is allocated from next.
void pushSecond(Pool& p, std::size_t c, Slab* s) noexcept {
    Slab* h = p.head[c];
    if (!h) return pushFront(p, c, s);
    s->prev = h;
    s->next = h->next;
    (h->next ? h->next->prev : p.tail[c]) = s;
    h->next = s;
}

// At thread exit: slabs still holding blocks wait in the orphan lists for
// another thread; empty ones go back to the system.
void handOver(Pool& p) noexcept {
    std::lock_guard<std::mutex> lock(orphanLock);
    for (std::size_t c = 0; c < sizeClasses; ++c) {
        for (Slab* s = p.head[c]; s;) {
            Slab* next = s->next;
            collectRemote(s);
            if (s->used == 0) {
                freeSlab(s);
            } else {
                s->owner.store(nullptr, std::memory_order_relaxed);
                s->prev = nullptr;
                s->exhausted = false;
                s->next = orphans[c];
                orphans[c] = s;
            }
            s = next;
        }
        p.head[c] = p.tail[c] = nullptr;
    }
    p.ended = true;
}
struct PoolGuard {
    bool armed = false;
    ~PoolGuard() { handOver(pool); }
};
thread_local PoolGuard guard;

// With orphanLock held: unlinks and returns an orphan of class c with room
// (taking in what other threads freed), or null.
Slab* takeOrphan(std::size_t c) noexcept {
    for (Slab** link = &orphans[c]; *link; link = &(*link)->next) {
        Slab* s = *link;
        collectRemote(s);
        if (hasRoom(s)) {
            *link = s->next;
            s->next = nullptr;
            return s;
        }
    }
    return nullptr;
}

// Allocation on a thread that is ending: from an ownerless slab, under the
// lock, so that nothing is left owned by a thread that is gone.
void* allocateEnded(std::size_t c) {
    std::lock_guard<std::mutex> lock(orphanLock);
    Slab* s = takeOrphan(c);
    if (!s) s = newSlab(c, nullptr);
    void* r = take(s);
    s->next = orphans[c];
    orphans[c] = s;
    return r;
}

// Out of line, like the other slow paths below, so that the common paths
// of cellAllocate and cellFree save no registers.
[[gnu::noinline]] void* allocateSlow(Pool& p, std::size_t c) {
    if (p.ended) return allocateEnded(c);
    if (Slab* s = p.head[c]) {
        if (collectRemote(s)) return take(s);
        // The head ran out: to the back, and on to the next slab.
        s->exhausted = true;
        if (s->next) {
            unlink(p, c, s);
            pushBack(p, c, s);
        }
        Slab* n = p.head[c];
        if (n != s && !n->exhausted) return take(n);
        // Every slab ran out: look for blocks other threads gave back in a
        // few of them, oldest first, moving each one without any to the
        // back, so that later looks reach the others. Looking at every slab
        // each time would make building a long list quadratic.
        for (int looks = 0; looks < 8; ++looks) {
            Slab* t = p.head[c];
            if (collectRemote(t)) {
                t->exhausted = false;
                return take(t);
            }
            if (!t->next) break;
            unlink(p, c, t);
            pushBack(p, c, t);
        }
    }
    Slab* s = nullptr;
    {
        std::lock_guard<std::mutex> lock(orphanLock);
        s = takeOrphan(c);
    }
    if (s)
        s->owner.store(&p, std::memory_order_relaxed);
    else
        s = newSlab(c, &p);
    guard.armed = true;  // registers the hand-over at thread exit
    pushFront(p, c, s);
    return take(s);
}

}  // namespace

CellPoolUsage cellPoolUsage() noexcept {
    std::lock_guard<std::mutex> lock(reserveLock);
    return {slabsInUse.load(std::memory_order_relaxed), reserveCount};
}

void* cellAllocate(std::size_t bytes) {
    if (bytes > cellPoolMaxBytes || bytes == 0) return ::operator new(bytes);
    const std::size_t c = (bytes - 1) / granule;
    Pool& p = pool;
    if (Slab* s = p.head[c]; s && hasRoom(s)) return take(s);
    return allocateSlow(p, c);
}

namespace {
// A block of a slab another thread owns (or none): pushed without a lock.
[[gnu::noinline]] void freeRemote(Slab* s, FreeCell* f) noexcept {
    FreeCell* h = s->remote.load(std::memory_order_relaxed);
    do {
        f->next = h;
    } while (!s->remote.compare_exchange_weak(h, f, std::memory_order_release, std::memory_order_relaxed));
}
// A slab of this thread's that a free left empty or gave room again.
[[gnu::noinline]] void resettle(Pool& pl, std::size_t c, Slab* s) noexcept {
    if (s->used == 0 && s != pl.head[c]) {
        // Every block is free again: back to the system.
        unlink(pl, c, s);
        freeSlab(s);
    } else if (s->exhausted) {
        s->exhausted = false;
        unlink(pl, c, s);
        pushSecond(pl, c, s);
    }
}
}  // namespace

void cellFree(void* p, std::size_t bytes) noexcept {
    if (bytes > cellPoolMaxBytes || bytes == 0) return ::operator delete(p);
    Slab* s = slabOf(p);
    auto* f = static_cast<FreeCell*>(p);
    Pool& pl = pool;
    if (s->owner.load(std::memory_order_relaxed) != &pl) return freeRemote(s, f);
    f->next = s->local;
    s->local = f;
    --s->used;
    const std::size_t c = (bytes - 1) / granule;
    if ((s->used == 0 && s != pl.head[c]) || s->exhausted) [[unlikely]]
        resettle(pl, c, s);
}

#endif

}  // namespace core::detail
