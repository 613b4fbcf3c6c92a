// The rectangle routine: resolve, order and truncate the edges, cut the covered
// area to the bounds, then hand each row (or each border run) to one row writer
// chosen per call from the target depth, the blend case and the mask.
#include <algorithm>
#include <cmath>

#include "core/cpu_features.h"
#include "graphics/geometry/rect.h"
#include "graphics/geometry/resolve.h"
#include "graphics/raster/internal/blend.h"
#include "graphics/raster/internal/shape_target.h"
#include "graphics/raster/raster_lock.h"
#include "graphics/raster/shapes.h"

using namespace shape_detail;

namespace {

// Writes count pixels from column x of row y. weight is 1..256.
using RowWriter = void (*)(const ShapeTarget& t, int32_t y, int32_t x, int32_t count,
                           int32_t weight);

template <typename Pixel>
void WriteSolid(const ShapeTarget& t, int32_t y, int32_t x, int32_t count, int32_t) {
  StoreRow<Pixel>(t.target.color.Row(y), x, count, t.color);
}

// The 32-bit case apart, built for the wider vector units too: solid rectangles
// fill most of a widget screen's pixels.
DF_VECTOR_CLONES void WriteSolid32(const ShapeTarget& t, int32_t y, int32_t x, int32_t count,
                                   int32_t) {
  StoreRow<uint32_t>(t.target.color.Row(y), x, count, t.color);
}

// Opaque over a mask: the colour is written and the mask becomes fully covered.
void WriteSolidMasked(const ShapeTarget& t, int32_t y, int32_t x, int32_t count, int32_t) {
  StoreRow<uint32_t>(t.target.color.Row(y), x, count, t.color);
  std::fill_n(t.target.mask.Row(y) + x, count, uint8_t{255});
}

void WriteBlended(const ShapeTarget& t, int32_t y, int32_t x, int32_t count, int32_t weight) {
  uint8_t* row = t.target.color.Row(y) + static_cast<intptr_t>(x) * 4;
  for (int32_t i = 0; i < count; ++i) {
    uint32_t d;
    std::memcpy(&d, row + i * 4, 4);
    d = BlendPixel(d, t.color, weight, t.shift);
    std::memcpy(row + i * 4, &d, 4);
  }
}

void WriteBlendedMasked(const ShapeTarget& t, int32_t y, int32_t x, int32_t count, int32_t weight) {
  uint8_t* row = t.target.color.Row(y) + static_cast<intptr_t>(x) * 4;
  uint8_t* mask = t.target.mask.Row(y) + x;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t w = ApplyMaskRule(mask + i, weight);
    uint32_t d;
    std::memcpy(&d, row + i * 4, 4);
    d = BlendPixel(d, t.color, w, t.shift);
    std::memcpy(row + i * 4, &d, 4);
  }
}

RowWriter ChooseWriter(const ShapeTarget& t, int32_t weight) {
  const bool masked = t.target.mask.image != nullptr;
  // Only 32-bit targets with 8-bit colour channels blend; other depths (and grey or
  // 32-bit single-channel layouts) take the colour as it is.
  if (t.blendable && weight < 256) return masked ? WriteBlendedMasked : WriteBlended;
  if (t.blendable && masked) return WriteSolidMasked;
  switch (t.pixelBytes) {
    case 1:
      return WriteSolid<uint8_t>;
    case 2:
      return WriteSolid<uint16_t>;
    default:
      return WriteSolid32;
  }
}

// A coordinate truncated to an integer, limited far beyond any image (a start to
// +-2^60, a width to 2^61) so that start + width cannot overflow.
int64_t TruncWide(double v, double limit) {
  if (std::isnan(v)) return 0;
  return static_cast<int64_t>(std::trunc(std::clamp(v, -limit, limit)));
}

// Half-open covered area [x1, x2) x [y1, y2) before cutting to the bounds.
struct Area {
  int64_t X1, Y1, X2, Y2;  // 64 bits: the edges are not clipped yet and may lie far outside
};

// Orders the resolved edges and truncates them: the start is trunc(x1) and
// the width trunc(x2 - x1) in f32, so a rectangle from 0.5 to 10.4 covers 0..8.
bool CoveredArea(const C_Rect& r, Area& area) {
  float x1 = r.X1, x2 = r.X2, y1 = r.Y1, y2 = r.Y2;
  if (std::isnan(x1) || std::isnan(x2) || std::isnan(y1) || std::isnan(y2)) return false;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const float width = x2 - x1;
  const float height = y2 - y1;
  area.X1 = TruncWide(x1, 0x1p60);
  area.Y1 = TruncWide(y1, 0x1p60);
  area.X2 = area.X1 + TruncWide(width, 0x1p61);
  area.Y2 = area.Y1 + TruncWide(height, 0x1p61);
  return area.X2 > area.X1 && area.Y2 > area.Y1;
}

}  // namespace

bool DrawRectangle(C_Surface* target, const C_Rect& rect, const C_Color& color,
                   const C_Rect* viewport, const C_Rect* clip, uint8_t filled, float opacity) {
  if (opacity == 0) return true;
  RasterLockGuard lock;
  ShapeTarget t;
  if (!OpenShapeTarget(target, color, viewport, clip, t)) return false;
  // NaN and negative opacities draw nothing; above 1 is opaque (a weight over 256
  // would overshoot the colour).
  const float scaled = opacity * 256.0f;
  const int32_t weight = std::isnan(scaled) ? 0 : std::clamp(SaturateToInt(scaled), 0, 256);
  if (weight == 0 || !CanDraw(t)) return true;

  C_Rect resolved = rect;
  const C_Rect whole(0.0f, 0.0f, static_cast<float>(t.target.color.Width),
                     static_cast<float>(t.target.color.Height), 0, 0);
  ResolveRect(resolved, viewport != nullptr ? *viewport : whole, nullptr, nullptr);
  Area a;
  if (!CoveredArea(resolved, a)) return true;

  const PixelRect& b = t.bounds;
  const int64_t cx1 = std::max<int64_t>(a.X1, b.X1), cx2 = std::min<int64_t>(a.X2, b.X2);
  const int64_t cy1 = std::max<int64_t>(a.Y1, b.Y1), cy2 = std::min<int64_t>(a.Y2, b.Y2);
  if (cx1 >= cx2 || cy1 >= cy2) return true;
  const int32_t left = static_cast<int32_t>(cx1), right = static_cast<int32_t>(cx2);
  const int32_t top = static_cast<int32_t>(cy1), bottom = static_cast<int32_t>(cy2);
  const RowWriter write = ChooseWriter(t, weight);

  if (filled != 0) {
    for (int32_t y = top; y < bottom; ++y) write(t, y, left, right - left, weight);
    return true;
  }
  // Border: the first and last rows in full, then the first and last columns
  // between them, so that every border pixel is drawn (and blended) once.
  const int64_t lastRow = a.Y2 - 1, lastColumn = a.X2 - 1;
  if (a.Y1 >= b.Y1 && a.Y1 < b.Y2) write(t, static_cast<int32_t>(a.Y1), left, right - left, weight);
  if (lastRow != a.Y1 && lastRow >= b.Y1 && lastRow < b.Y2)
    write(t, static_cast<int32_t>(lastRow), left, right - left, weight);
  const int32_t innerTop = static_cast<int32_t>(std::max<int64_t>(a.Y1 + 1, b.Y1));
  const int32_t innerBottom = static_cast<int32_t>(std::min<int64_t>(lastRow, b.Y2));
  const bool leftInside = a.X1 >= b.X1 && a.X1 < b.X2;
  const bool rightInside = lastColumn != a.X1 && lastColumn >= b.X1 && lastColumn < b.X2;
  for (int32_t y = innerTop; y < innerBottom; ++y) {
    if (leftInside) write(t, y, static_cast<int32_t>(a.X1), 1, weight);
    if (rightInside) write(t, y, static_cast<int32_t>(lastColumn), 1, weight);
  }
  return true;
}
