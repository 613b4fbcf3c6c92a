#include "core/memory_counter.h"

#include <cstdint>
#include <cstdlib>

std::atomic<uint64_t> MemoryInUse{0};
std::atomic<uint64_t> MemoryPeak{0};

// Relaxed order is enough: the counters order nothing else, and each update is a
// single atomic step, so concurrent allocations neither lose bytes nor lower the peak.
void AddMemoryInUse(uint64_t bytes) {
  const uint64_t now = MemoryInUse.fetch_add(bytes, std::memory_order_relaxed) + bytes;
  uint64_t peak = MemoryPeak.load(std::memory_order_relaxed);
  while (now > peak && !MemoryPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
}

void SubMemoryInUse(uint64_t bytes) {
  MemoryInUse.fetch_sub(bytes, std::memory_order_relaxed);
}

void* CountedMalloc(size_t bytes) {
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block) AddMemoryInUse(bytes);
  return block;
}

void* CountedLineMalloc(size_t bytes) {
  constexpr size_t kLine = 64;
  // aligned_alloc wants a multiple of the alignment; the rest of the last line is
  // padding the caller never sees.
  if (bytes > SIZE_MAX - kLine) return nullptr;
  const size_t rounded = (bytes == 0 ? kLine : (bytes + kLine - 1) / kLine * kLine);
  void* block = std::aligned_alloc(kLine, rounded);
  if (block) AddMemoryInUse(bytes);
  return block;
}

void* CountedRealloc(void* block, size_t oldBytes, size_t newBytes) {
  void* grown = std::realloc(block, newBytes == 0 ? 1 : newBytes);
  if (!grown) return nullptr;  // the old block stays valid and counted
  // The old size leaves before the new one arrives, so the peak sees only the larger.
  SubMemoryInUse(oldBytes);
  AddMemoryInUse(newBytes);
  return grown;
}

void CountedFree(void* block, size_t bytes) {
  if (!block) return;
  std::free(block);
  SubMemoryInUse(bytes);
}
