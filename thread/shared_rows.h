// Rows that the bands of one pool call share out as they go. Each band owns a
// contiguous part and takes it from the front; a band that has finished its own
// part takes rows from the back of the part with the most rows left. Every row is
// handed out exactly once, whatever the timing.
//
// For rows that nothing else in the same call reads: which thread does a row
// changes only the time. A band keeps its own part from call to call, and only
// the rows near the back of a slower band's part move, so most rows stay in the
// same core's caches from one call to the next.
#pragma once

#include <atomic>
#include <cstdint>

#include "thread/worker_pool.h"

class SharedRows {
 public:
  // Rows [first, end) in `parts` parts of near-equal size (clamped to
  // 1..kMaxPoolThreads), handed out `chunk` rows at a time (at least 1).
  SharedRows(int32_t first, int32_t end, int32_t parts, int32_t chunk);

  // The next rows for the band that owns part `part`: from the front of its own
  // part while it lasts, then from the back of another's. False when none is left.
  // Any number of threads may call it at once.
  bool Next(int32_t part, int32_t& first, int32_t& end);

  int32_t Parts() const { return parts_; }

 private:
  bool TakeFront(int32_t part, int32_t& first, int32_t& end);
  bool TakeBack(int32_t& first, int32_t& end);

  // Rows [front, back) of a part not yet handed out, as front << 32 | back, on a
  // cache line of its own: its owner claims on it without disturbing the others.
  struct alignas(64) Part {
    std::atomic<uint64_t> Range{0};
  };
  Part part_[kMaxPoolThreads];
  int32_t parts_;
  int32_t chunk_;
};
