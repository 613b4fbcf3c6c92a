#include <gtest/gtest.h>

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

}  // namespace
