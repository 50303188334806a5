#pragma once
// Memory for the states of deferred values (and so for list cells): small
// blocks served from per-thread slabs instead of the general allocator.
//
// A lazy list allocates one small state per cell and frees it when the cell
// goes; the general allocator hands such blocks back in an order that
// scatters consecutive cells over memory, so walking a rebuilt list misses
// the cache at every cell. The pool keeps each thread's free blocks in the
// order they were freed and carves new ones in address order, so cells
// built one after another sit next to each other, and an allocation or a
// release is a few instructions with no atomic operation. A block freed by
// another thread than the one that allocated it is handed back to the
// owner's slab through a lock-free list; the slabs of a thread that ends are
// taken over by later threads; a slab whose blocks are all free again is
// kept for reuse (up to 64 MB of them across threads) or returned to the
// system.
//
// Blocks above `cellPoolMaxBytes` go to the general allocator. Under
// AddressSanitizer every block does, so that use after free is still found.
#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define CORE_CELL_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORE_CELL_POOL 0
#endif
#endif
#ifndef CORE_CELL_POOL
#define CORE_CELL_POOL 1
#endif

namespace core::detail {

// Whether blocks come from the pool (not under AddressSanitizer).
inline constexpr bool cellPoolEnabled = CORE_CELL_POOL != 0;

inline constexpr std::size_t cellPoolMaxBytes = 128;

// A block of at least `bytes` bytes, aligned for any object of that size
// (to 16 bytes when `bytes` is a multiple of 16, else to 8); throws
// std::bad_alloc when no memory is left.
void* cellAllocate(std::size_t bytes);
// Gives back a block from cellAllocate(bytes), with the same `bytes`, from
// any thread.
void cellFree(void* p, std::size_t bytes) noexcept;

// The pool's slabs across threads (each cellPoolSlabBytes, allocated from
// the general allocator): those holding blocks or being filled, and the
// emptied ones kept for reuse.
struct CellPoolUsage {
    std::size_t slabsInUse;
    std::size_t slabsKept;
};
CellPoolUsage cellPoolUsage() noexcept;
inline constexpr std::size_t cellPoolSlabBytes = std::size_t{64} << 10;

// A base that makes a class allocate its objects from the pool (types with
// an alignment above the usual one go to the general allocator, which
// honours it).
struct PooledCell {
    static void* operator new(std::size_t bytes) { return cellAllocate(bytes); }
    static void operator delete(void* p, std::size_t bytes) noexcept { cellFree(p, bytes); }
    static void* operator new(std::size_t bytes, std::align_val_t al) { return ::operator new(bytes, al); }
    static void operator delete(void* p, std::size_t, std::align_val_t al) noexcept {
        ::operator delete(p, al);
    }
};

}  // namespace core::detail
