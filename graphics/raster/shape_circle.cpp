// The circle routine and the span filler. The outline plots the four axis points
// and the eight mirror images of the octant walk; each mirror image is walked only
// over the x range whose pixels can fall inside the bounds. The filled circle
// records each row's leftmost and rightmost outline pixel in the span table and
// fills the rows while still holding RasterLock, so that no other drawing can
// change the table between recording and filling.
#include <algorithm>
#include <cmath>

#include "graphics/geometry/circle.h"
#include "graphics/raster/internal/shape_circle_walk.h"
#include "graphics/raster/internal/shape_target.h"
#include "graphics/raster/internal/span_table.h"
#include "graphics/raster/raster_lock.h"
#include "graphics/raster/shapes.h"

using namespace shape_detail;

namespace {

struct Range {
  int64_t first, last;  // inclusive; empty when first > last
};

// The walk x for which center + sign * x lies in [lo, hi).
Range AxisWindow(int64_t center, int sign, int32_t lo, int32_t hi) {
  if (sign > 0) return {lo - center, hi - 1 - center};
  return {center - hi + 1, center - lo};
}

void Plot(const ShapeTarget& t, int64_t x, int64_t y) {
  if (t.bounds.Contains(static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
                        static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX))))
    StoreSpan(t, static_cast<int32_t>(y), static_cast<int32_t>(x), 1);
}

void DrawOutline(const ShapeTarget& t, int64_t cx, int64_t cy, const CircleOctant& walk) {
  const int64_t r = walk.Radius();
  Plot(t, cx, cy + r);
  Plot(t, cx, cy - r);
  Plot(t, cx + r, cy);
  Plot(t, cx - r, cy);
  const PixelRect& b = t.bounds;
  const RasterImage& image = t.target.color;
  WithPixelType(t.pixelBytes, [&](auto pixel) {
    using Pixel = decltype(pixel);
    for (int sx = -1; sx <= 1; sx += 2) {
      for (int sy = -1; sy <= 1; sy += 2) {
        // (cx + sx * x, cy + sy * y): the column follows x, the row is checked.
        const Range columns = AxisWindow(cx, sx, b.X1, b.X2);
        walk.Walk(columns.first, columns.last, [&](int64_t x, int64_t y) {
          const int64_t row = cy + sy * y;
          if (row >= b.Y1 && row < b.Y2)
            StorePixel<Pixel>(image.Row(static_cast<int32_t>(row)),
                              static_cast<int32_t>(cx + sx * x), t.color);
        });
        // (cx + sx * y, cy + sy * x): the row follows x, the column is checked.
        const Range rows = AxisWindow(cy, sy, b.Y1, b.Y2);
        walk.Walk(rows.first, rows.last, [&](int64_t x, int64_t y) {
          const int64_t column = cx + sx * y;
          if (column >= b.X1 && column < b.X2)
            StorePixel<Pixel>(image.Row(static_cast<int32_t>(cy + sy * x)),
                              static_cast<int32_t>(column), t.color);
        });
      }
    }
  });
}

// Records the columns cx - offset and cx + offset on row y when the row is inside
// the vertical bounds. Columns are first limited to [x1 - 1, x2], which changes no
// edge after the final clamping and keeps them in 32 bits.
void Record(SpanTable& table, const PixelRect& b, int64_t cx, int64_t offset, int64_t y) {
  if (y < b.Y1 || y >= b.Y2) return;
  const size_t row = static_cast<size_t>(y);
  const int64_t left = std::clamp<int64_t>(cx - offset, int64_t{b.X1} - 1, b.X2);
  const int64_t right = std::clamp<int64_t>(cx + offset, int64_t{b.X1} - 1, b.X2);
  table.Left[row] = std::min(table.Left[row], static_cast<int32_t>(std::min(left, right)));
  table.Right[row] = std::max(table.Right[row], static_cast<int32_t>(std::max(left, right)));
}

// Walks longer than this are replaced by per-row searches for the rows' last x.
constexpr int64_t kLongWalk = 1 << 16;

// Every row the outline touches gets its leftmost and rightmost pixel in the table.
void RecordCircle(SpanTable& table, const PixelRect& b, int64_t cx, int64_t cy,
                  const CircleOctant& walk) {
  const int64_t r = walk.Radius();
  Record(table, b, cx, 0, cy + r);
  Record(table, b, cx, 0, cy - r);
  Record(table, b, cx, r, cy);
  for (int sy = -1; sy <= 1; sy += 2) {
    // Rows cy + sy * x hold the points (cx -/+ y, cy + sy * x).
    const Range rows = AxisWindow(cy, sy, b.Y1, b.Y2);
    walk.Walk(rows.first, rows.last,
              [&](int64_t x, int64_t y) { Record(table, b, cx, y, cy + sy * x); });
  }
  // Rows cy + sy * y hold the points (cx -/+ x, cy + sy * y); y falls as x grows.
  const int64_t lastX = walk.LastX();
  if (lastX <= kLongWalk) {
    walk.Walk(1, lastX, [&](int64_t x, int64_t y) {
      Record(table, b, cx, x, cy + y);
      Record(table, b, cx, x, cy - y);
    });
    return;
  }
  // A huge circle: for each drawable row, the largest x whose y is that row's
  // distance from the centre is found by bisection (y never rises with x).
  const int64_t lowestY = walk.YAt(lastX);
  for (int64_t row = b.Y1; row < b.Y2; ++row) {
    const int64_t t = row > cy ? row - cy : cy - row;
    if (t < lowestY || t > r) continue;
    int64_t good = 0, bad = lastX + 1;  // YAt(good) >= t, YAt(bad) < t (virtually)
    while (bad - good > 1) {
      const int64_t mid = good + (bad - good) / 2;
      if (walk.YAt(mid) >= t)
        good = mid;
      else
        bad = mid;
    }
    if (good >= 1 && walk.YAt(good) == t) Record(table, b, cx, good, row);
  }
}

// The span filler's body; the caller holds RasterLock.
void FillTableRows(const ShapeTarget& t, const SpanTable& table) {
  const PixelRect& b = t.bounds;
  // The rows are limited to the bounds and to the table: an empty range as left by
  // Clear can name one row, and the table may hold rows of another target.
  const int32_t first = std::max(table.FirstRow, b.Y1);
  const int32_t last =
      std::min({table.LastRow, b.Y2 - 1, static_cast<int32_t>(table.Left.size()) - 1});
  const RasterImage& image = t.target.color;
  WithPixelType(t.pixelBytes, [&](auto pixel) {
    using Pixel = decltype(pixel);
    for (int32_t y = first; y <= last; ++y) {
      const int32_t left = std::max(table.Left[static_cast<size_t>(y)], b.X1);
      const int32_t right = std::min(table.Right[static_cast<size_t>(y)], b.X2 - 1);
      if (right >= left) StoreRow<Pixel>(image.Row(y), left, right - left + 1, t.color);
    }
  });
}

}  // namespace

bool DrawCircle(C_Surface* target, const C_Circle& circle, const C_Color& color,
                const C_Rect* viewport, const C_Rect* clip, uint8_t filled) {
  RasterLockGuard lock;
  ShapeTarget t;
  if (!OpenShapeTarget(target, color, viewport, clip, t)) return false;
  if (!CanDraw(t) || std::isnan(circle.Center.X) || std::isnan(circle.Center.Y) ||
      std::isnan(circle.Radius))
    return true;
  const int64_t cx = SaturateToInt(circle.Center.X);
  const int64_t cy = SaturateToInt(circle.Center.Y);
  const CircleOctant walk(SaturateToInt(circle.Radius));
  if (filled != 1) {
    DrawOutline(t, cx, cy, walk);
    return true;
  }
  const PixelRect& b = t.bounds;
  SpanTable& table = GlobalSpanTable;
  table.Reserve(b.Y2);
  table.Clear(b.Y1, b.Y2);
  RecordCircle(table, b, cx, cy, walk);
  const int64_t r = walk.Radius();
  // A negative radius leaves first > last: nothing is filled.
  table.FirstRow = static_cast<int32_t>(std::clamp<int64_t>(cy - r, b.Y1, b.Y2));
  table.LastRow = static_cast<int32_t>(std::clamp<int64_t>(cy + r, int64_t{b.Y1} - 1, b.Y2 - 1));
  // Left edges into [x1, x2], right edges into [x1 - 1, x2 - 1].
  for (int32_t y = std::max(table.FirstRow, b.Y1); y <= table.LastRow; ++y) {
    const size_t row = static_cast<size_t>(y);
    table.Left[row] = std::clamp(table.Left[row], b.X1, b.X2);
    table.Right[row] = std::clamp(table.Right[row], b.X1 - 1, b.X2 - 1);
  }
  FillTableRows(t, table);
  return true;
}

bool FillSpans(C_Surface* target, const C_Color& color, const C_Rect* viewport,
               const C_Rect* clip) {
  RasterLockGuard lock;
  ShapeTarget t;
  if (!OpenShapeTarget(target, color, viewport, clip, t)) return false;
  if (CanDraw(t)) FillTableRows(t, GlobalSpanTable);
  return true;
}
