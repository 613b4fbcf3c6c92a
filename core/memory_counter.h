// The counter of framework heap bytes (collection arrays, array buffers, pixel and
// palette buffers) and the counted allocation functions that keep it true. Any
// thread may allocate: both values are atomic, and the peak is raised with a
// compare-exchange only when a new high is reached.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

extern std::atomic<uint64_t> MemoryInUse;  // bytes held now by counted buffers
extern std::atomic<uint64_t> MemoryPeak;   // largest value MemoryInUse has reached; never decreases

void AddMemoryInUse(uint64_t bytes);
void SubMemoryInUse(uint64_t bytes);

// malloc/realloc/free that add and subtract the sizes they are given. A failed
// allocation returns null and counts nothing.
void* CountedMalloc(size_t bytes);
// CountedMalloc on a cache-line boundary (64 bytes), for pixel blocks: rows that
// threads share out then meet at line boundaries wherever the row bytes allow.
// Freed with CountedFree; counts the bytes asked for, like CountedMalloc.
void* CountedLineMalloc(size_t bytes);
void* CountedRealloc(void* block, size_t oldBytes, size_t newBytes);
void CountedFree(void* block, size_t bytes);
