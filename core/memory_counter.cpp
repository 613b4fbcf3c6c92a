#include "core/memory_counter.h"

#include <cstdlib>

uint64_t MemoryInUse = 0;
uint64_t MemoryPeak = 0;

void AddMemoryInUse(uint64_t bytes) {
  MemoryInUse += bytes;
  if (MemoryInUse > MemoryPeak) MemoryPeak = MemoryInUse;
}

void SubMemoryInUse(uint64_t bytes) {
  MemoryInUse -= bytes;
}

void* CountedMalloc(size_t bytes) {
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
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
