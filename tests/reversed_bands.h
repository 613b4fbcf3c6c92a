// A row splitter for the tests of row work shared through SplitRows: it runs the
// three bands of each call in reverse order on the calling thread and counts the
// calls, so that rows that depend on each other or on their order show, and so
// that a test can tell whether its work was shared at all.
#pragma once

#include <cstdint>

#include "core/row_split.h"

namespace test_rows {

inline int32_t splitCalls = 0;

inline void ReversedBands(int32_t rows, RowBandTask task, void* context) {
  ++splitCalls;
  constexpr int32_t kBands = 3;
  for (int32_t b = kBands - 1; b >= 0; --b) {
    task(context, BandStart(rows, kBands, b), BandStart(rows, kBands, b + 1));
  }
}

// Installs ReversedBands for a scope, its count starting from zero.
class ReversedSplitter {
 public:
  ReversedSplitter() : before_(SetRowSplitter(ReversedBands)) { splitCalls = 0; }
  ~ReversedSplitter() { SetRowSplitter(before_); }
  ReversedSplitter(const ReversedSplitter&) = delete;
  ReversedSplitter& operator=(const ReversedSplitter&) = delete;
  int32_t Calls() const { return splitCalls; }

 private:
  RowSplitter before_;
};

}  // namespace test_rows
