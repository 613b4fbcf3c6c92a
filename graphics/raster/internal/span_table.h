// SpanTable: per-row left and right edges (inclusive) of a filled area, written by
// the circle fill and the rotated image draw and read by the span filler. Shared
// process-wide, so it is used only while RasterLock is held.
#pragma once

#include <cstdint>
#include <vector>

struct SpanTable {
  std::vector<int32_t> Left;   // leftmost column of each row; 65535 when the row is empty
  std::vector<int32_t> Right;  // rightmost column of each row; -65535 when empty
  int32_t FirstRow = 0;        // first row in use
  int32_t LastRow = -1;        // last row in use (inclusive); < FirstRow: no rows

  // Grows both arrays to hold rows 0..rows-1 (never shrinks, so a frame's draws
  // allocate nothing once the table has reached the target's height).
  void Reserve(int32_t rows);
  // Marks rows [top, bottom) empty and sets FirstRow = bottom, LastRow = top
  // (an empty range). Rows must have been reserved.
  void Clear(int32_t top, int32_t bottom);
};

inline constexpr int32_t kSpanEmptyLeft = 65535;
inline constexpr int32_t kSpanEmptyRight = -65535;

// The process-wide table; guarded by RasterLock.
extern SpanTable GlobalSpanTable;
