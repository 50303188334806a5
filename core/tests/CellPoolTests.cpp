#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Core/CellPool.h"

// Every size from 1 to past the pooled range: blocks are aligned for any
// object of their size, never overlap, and come back after being freed.
TEST(CellPool, BlocksOfEverySizeAreAlignedAndDisjoint) {
    constexpr int count = 700;  // more than one slab of the smallest blocks
    for (std::size_t bytes = 1; bytes <= core::detail::cellPoolMaxBytes + 8; ++bytes) {
        for (int round = 0; round < 2; ++round) {
            std::vector<unsigned char*> blocks;
            for (int i = 0; i < count; ++i) {
                auto* p = static_cast<unsigned char*>(core::detail::cellAllocate(bytes));
                const auto addr = reinterpret_cast<std::uintptr_t>(p);
                ASSERT_EQ(addr % 8, 0u) << bytes;
                if (bytes % 16 == 0) {
                    ASSERT_EQ(addr % 16, 0u) << bytes;
                }
                std::memset(p, i & 0xff, bytes);
                blocks.push_back(p);
            }
            for (int i = 0; i < count; ++i)
                for (std::size_t k = 0; k < bytes; ++k)
                    ASSERT_EQ(blocks[i][k], static_cast<unsigned char>(i & 0xff)) << bytes << " " << i;
            for (unsigned char* p : blocks) core::detail::cellFree(p, bytes);
        }
    }
}
