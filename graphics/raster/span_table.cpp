#include "graphics/raster/internal/span_table.h"

#include <algorithm>

SpanTable GlobalSpanTable;

void SpanTable::Reserve(int32_t rows) {
  if (rows <= 0 || static_cast<size_t>(rows) <= Left.size()) return;
  Left.resize(static_cast<size_t>(rows), kSpanEmptyLeft);
  Right.resize(static_cast<size_t>(rows), kSpanEmptyRight);
}

void SpanTable::Clear(int32_t top, int32_t bottom) {
  const int32_t from = std::max(top, 0);
  const int32_t to = std::min<int32_t>(bottom, static_cast<int32_t>(Left.size()));
  for (int32_t y = from; y < to; ++y) {
    Left[static_cast<size_t>(y)] = kSpanEmptyLeft;
    Right[static_cast<size_t>(y)] = kSpanEmptyRight;
  }
  FirstRow = bottom;
  LastRow = top;
}
