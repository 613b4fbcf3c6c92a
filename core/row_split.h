// Independent rows shared among threads by the layers that cannot start threads
// themselves. They hand row work to SplitRows, which runs it through the splitter
// that the program installs (its worker pool), or on the calling thread when none
// is installed or the work is too small to share.
#pragma once

#include <cstdint>

// Work on rows [first, end) of a call; context is the caller's.
using RowBandTask = void (*)(void* context, int32_t first, int32_t end);
// Runs task over rows 0..rows - 1 in bands, on any threads, and returns when
// every band is done.
using RowSplitter = void (*)(int32_t rows, RowBandTask task, void* context);

// Work of fewer pixels than this runs on the caller: waking other threads costs
// microseconds, about what a core takes for this many pixels.
inline constexpr int64_t kMinSplitPixels = 64 * 1024;

// First row of band `index` of `bands` contiguous bands of near-equal size over
// rows 0..rows - 1 (index == bands gives rows): the one cut of rows into bands.
inline int32_t BandStart(int32_t rows, int32_t bands, int32_t index) {
  return int32_t(int64_t(rows) * index / bands);
}

// Installs the process's splitter (nullptr: every call runs on its caller) and
// returns the one installed before.
RowSplitter SetRowSplitter(RowSplitter splitter);

// Runs task over rows 0..rows - 1 of pixelsPerRow pixels each: through the
// splitter when one is installed and the rows hold at least kMinSplitPixels
// pixels, else on this thread in one band. The bands must not depend on each
// other's results.
void SplitRows(int32_t rows, int64_t pixelsPerRow, RowBandTask task, void* context);

// SplitRows with a callable f(first, end).
template <typename F>
void SplitRowsWith(int32_t rows, int64_t pixelsPerRow, F& f) {
  SplitRows(
      rows, pixelsPerRow,
      [](void* c, int32_t first, int32_t end) { (*static_cast<F*>(c))(first, end); }, &f);
}
