#include "core/row_split.h"

#include <atomic>

namespace {
// Installed once at start-up and read by every call; atomic so that a call on
// another thread never sees a torn pointer.
std::atomic<RowSplitter> installed{nullptr};
}  // namespace

RowSplitter SetRowSplitter(RowSplitter splitter) {
  return installed.exchange(splitter, std::memory_order_acq_rel);
}

void SplitRows(int32_t rows, int64_t pixelsPerRow, RowBandTask task, void* context) {
  if (rows <= 0 || !task) return;
  const RowSplitter splitter = installed.load(std::memory_order_acquire);
  if (splitter && rows > 1 && int64_t(rows) * pixelsPerRow >= kMinSplitPixels) {
    splitter(rows, task, context);
  } else {
    task(context, 0, rows);
  }
}
