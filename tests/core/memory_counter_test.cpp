#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "core/memory_counter.h"

namespace {

// Four threads allocate and free counted blocks at once: no byte is lost or counted
// twice, and the peak covers at least what one thread held at its highest.
TEST(MemoryCounter, ConcurrentAllocationsBalanceAndRaiseThePeak) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  constexpr size_t kHeld = 16;
  const uint64_t before = MemoryInUse;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      void* blocks[kHeld];
      for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < kHeld; ++i) blocks[i] = CountedMalloc(8 + i + size_t(t));
        for (size_t i = 0; i < kHeld; ++i) {
          blocks[i] = CountedRealloc(blocks[i], 8 + i + size_t(t), 40 + i);
        }
        for (size_t i = 0; i < kHeld; ++i) CountedFree(blocks[i], 40 + i);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(MemoryInUse.load(), before);
  uint64_t oneThreadHigh = 0;
  for (size_t i = 0; i < kHeld; ++i) oneThreadHigh += 40 + i;
  EXPECT_GE(MemoryPeak.load(), before + oneThreadHigh);
}

// Line-aligned blocks: on a 64-byte boundary whatever the size, every byte asked
// for usable, and counted like a plain block.
TEST(MemoryCounter, LineBlocksAreAlignedAndCountedAsAskedFor) {
  const uint64_t before = MemoryInUse.load();
  for (const size_t bytes : {size_t{0}, size_t{1}, size_t{63}, size_t{64}, size_t{65},
                             size_t{512 * 1024 + 16}}) {
    auto* block = static_cast<uint8_t*>(CountedLineMalloc(bytes));
    ASSERT_NE(block, nullptr) << bytes;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 64, 0u) << bytes;
    EXPECT_EQ(MemoryInUse.load(), before + bytes);
    std::memset(block, 0xA5, bytes);  // the sanitizer build checks the bounds
    CountedFree(block, bytes);
    EXPECT_EQ(MemoryInUse.load(), before);
  }
  EXPECT_EQ(CountedLineMalloc(SIZE_MAX - 10), nullptr);
  EXPECT_EQ(MemoryInUse.load(), before);
}

}  // namespace
