#include "thread/shared_rows.h"

#include <algorithm>

namespace {

// The rows are non-negative int32_t values, so each fits in 32 bits unchanged.
uint64_t Pack(int32_t front, int32_t back) {
  return uint64_t(uint32_t(front)) << 32 | uint32_t(back);
}
int32_t Front(uint64_t range) {
  return int32_t(uint32_t(range >> 32));
}
int32_t Back(uint64_t range) {
  return int32_t(uint32_t(range));
}

}  // namespace

SharedRows::SharedRows(int32_t first, int32_t end, int32_t parts, int32_t chunk)
    : parts_(std::clamp(parts, 1, kMaxPoolThreads)), chunk_(std::max(chunk, 1)) {
  first = std::max(first, 0);
  const int32_t rows = end > first ? end - first : 0;
  for (int32_t j = 0; j < parts_; ++j) {
    const int32_t from = first + BandStart(rows, parts_, j);
    const int32_t to = first + BandStart(rows, parts_, j + 1);
    part_[j].Range.store(Pack(from, to), std::memory_order_relaxed);
  }
}

// The claims only divide rows among threads: the rows' data are published by the
// pool call's own end, so relaxed order is enough here.
bool SharedRows::TakeFront(int32_t part, int32_t& first, int32_t& end) {
  std::atomic<uint64_t>& range = part_[part].Range;
  uint64_t now = range.load(std::memory_order_relaxed);
  for (;;) {
    const int32_t front = Front(now), back = Back(now);
    if (front >= back) return false;
    const int32_t to = back - front > chunk_ ? front + chunk_ : back;
    if (range.compare_exchange_weak(now, Pack(to, back), std::memory_order_relaxed)) {
      first = front;
      end = to;
      return true;
    }
  }
}

bool SharedRows::TakeBack(int32_t& first, int32_t& end) {
  for (;;) {
    int32_t most = 0, victim = -1;
    uint64_t seen = 0;
    for (int32_t j = 0; j < parts_; ++j) {
      const uint64_t now = part_[j].Range.load(std::memory_order_relaxed);
      if (Back(now) - Front(now) > most) {
        most = Back(now) - Front(now);
        victim = j;
        seen = now;
      }
    }
    if (victim < 0) return false;
    const int32_t front = Front(seen), back = Back(seen);
    const int32_t from = back - front > chunk_ ? back - chunk_ : front;
    if (part_[victim].Range.compare_exchange_weak(seen, Pack(front, from),
                                                  std::memory_order_relaxed)) {
      first = from;
      end = back;
      return true;
    }
  }
}

bool SharedRows::Next(int32_t part, int32_t& first, int32_t& end) {
  if (part >= 0 && part < parts_ && TakeFront(part, first, end)) return true;
  return TakeBack(first, end);
}
