// Test support for the solid shapes: a canvas (colour image, optional mask, guard
// border) and plain per-pixel renderings of the shape rules, written straight from
// their definitions, that the drawn pictures are compared with.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <utility>

#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/raster_target.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/pixel_format.h"
#include "image/surface.h"

// A target surface wrapping images the canvas owns. The drawable area is the
// interior (guard, guard) .. (guard + width, guard + height); everything outside
// it must stay untouched.
struct ShapeCanvas {
  ShapeCanvas(int32_t width, int32_t height, int32_t format, int32_t guard = 0,
              bool withMask = false, bool bottomUp = false);

  uint32_t At(int32_t x, int32_t y) const { return ReadPixel(image, x, y); }
  uint8_t MaskAt(int32_t x, int32_t y) const { return mask.RowAddress(y)[x]; }
  // The interior as a rectangle in absolute pixels (a viewport or clip).
  C_Rect Interior() const;
  // A copy of the colour image (same format, rows and BottomUp): the expectation.
  void CopyImage(C_Image& out) const;
  void CopyMask(C_Image& out) const;
  // Number of pixels outside the interior that differ from the background.
  int32_t GuardDamage() const;

  static uint32_t ReadPixel(const C_Image& image, int32_t x, int32_t y);
  static void WritePixel(C_Image& image, int32_t x, int32_t y, uint32_t value);

  C_Image image;
  C_Image mask;
  C_Surface surface;
  int32_t guard = 0;
  uint32_t background = 0;
};

// The pixels a rule touches are given to a plot function (x, y); the references
// below skip nothing themselves: the caller decides what is drawable.
using ShapePlot = std::function<void(int64_t x, int64_t y)>;

// The 16.16 line walk exactly as defined, every step visited (keep |coordinates|
// small enough for 64-bit 16.16 and a loop of their length).
void ShapeReferenceLine(float fromX, float fromY, float toX, float toY, const ShapePlot& plot);

// The midpoint circle walk exactly as defined: axis points, then the eight images
// of every step.
void ShapeReferenceCircle(int64_t cx, int64_t cy, int64_t r, const ShapePlot& plot);

// The bounds of a call, computed from their definition.
PixelRect ShapeReferenceBounds(int32_t width, int32_t height, const C_Rect* viewport,
                               const C_Rect* clip);

// Draws into expected (colour, and mask when mask is not null) what the shape
// routines should: pixels of the shape, plotted through the rules of one call.
struct ShapeReferenceTarget {
  C_Image* color = nullptr;
  C_Image* mask = nullptr;
  PixelRect bounds;
  uint32_t packed = 0;

  // Unblended write of the packed colour if drawable; the mask is kept.
  void Put(int64_t x, int64_t y) const;
  // A rectangle pixel with weight w (1..256) by the blend and mask rules.
  void PutWeighted(int64_t x, int64_t y, int32_t w) const;
};

void ShapeReferencePixel(const ShapeReferenceTarget& t, float x, float y);
void ShapeReferenceRectangle(const ShapeReferenceTarget& t, const C_Rect& resolved, bool filled,
                             float opacity);
void ShapeReferenceDisc(const ShapeReferenceTarget& t, int64_t cx, int64_t cy, int64_t r);

// Definitions (header-only: the suite compiles only its *_test.cpp files).

inline ShapeCanvas::ShapeCanvas(int32_t width, int32_t height, int32_t format, int32_t guardPixels,
                                bool withMask, bool bottomUp)
    : guard(guardPixels) {
  const C_Color fill(0.25f, 0.5f, 0.75f, 1.0f);
  image.CreateFilled(width + 2 * guard, format, height + 2 * guard, fill);
  image.BottomUp = bottomUp ? 1 : 0;
  background = PackColor(format, fill);
  surface.SharedImages = 1;  // the canvas owns its images
  surface.SetChannel(&image, kColorChannel);
  if (withMask) {
    mask.CreateFilled(width + 2 * guard, pixel_format::Grey8, height + 2 * guard,
                      C_Color(0, 0, 0, 0));
    mask.BottomUp = image.BottomUp;
    surface.SetChannel(&mask, kAlphaChannel);
  }
}

inline C_Rect ShapeCanvas::Interior() const {
  return C_Rect(static_cast<float>(guard), static_cast<float>(guard),
                static_cast<float>(image.Width - guard), static_cast<float>(image.Height - guard),
                0, 0);
}

inline void ShapeCopyImage(const C_Image& from, C_Image& out) {
  out.Create(from.Width, from.Format, from.Height);
  out.BottomUp = from.BottomUp;
  for (int32_t y = 0; y < from.Height; ++y)
    std::memcpy(out.RowAddress(y), from.RowAddress(y), static_cast<size_t>(from.RowBytes));
}

inline void ShapeCanvas::CopyImage(C_Image& out) const {
  ShapeCopyImage(image, out);
}
inline void ShapeCanvas::CopyMask(C_Image& out) const {
  ShapeCopyImage(mask, out);
}

inline int32_t ShapeCanvas::GuardDamage() const {
  int32_t damaged = 0;
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x) {
      const bool inside =
          x >= guard && x < image.Width - guard && y >= guard && y < image.Height - guard;
      if (!inside && At(x, y) != background) ++damaged;
      if (!inside && mask.Pixels != nullptr && MaskAt(x, y) != 0) ++damaged;
    }
  return damaged;
}

inline uint32_t ShapeCanvas::ReadPixel(const C_Image& image, int32_t x, int32_t y) {
  const int32_t bytes = image.BitsPerPixel / 8;
  uint32_t value = 0;
  std::memcpy(&value, image.RowAddress(y) + x * bytes, static_cast<size_t>(bytes));
  return value;
}

inline void ShapeCanvas::WritePixel(C_Image& image, int32_t x, int32_t y, uint32_t value) {
  const int32_t bytes = image.BitsPerPixel / 8;
  std::memcpy(image.RowAddress(y) + x * bytes, &value, static_cast<size_t>(bytes));
}

inline void ShapeReferenceLine(float fromX, float fromY, float toX, float toY,
                               const ShapePlot& plot) {
  const int64_t x0 = static_cast<int64_t>(fromX * 65536.0f);
  const int64_t y0 = static_cast<int64_t>(fromY * 65536.0f);
  const int64_t x1 = static_cast<int64_t>(toX * 65536.0f);
  const int64_t y1 = static_cast<int64_t>(toY * 65536.0f);
  const int64_t dx = x1 - x0, dy = y1 - y0;
  int64_t x = x0 + 0x8000, y = y0 + 0x8000;
  if (std::llabs(dx) > std::llabs(dy)) {
    const int64_t slope = static_cast<int64_t>((toY - fromY) / std::fabs(toX - fromX) * 65536.0f);
    const int64_t step = dx > 0 ? 0x10000 : -0x10000;
    for (; dx > 0 ? x <= x1 : x >= x1; x += step, y += slope) plot(x >> 16, y >> 16);
  } else if (std::llabs(dy) > std::llabs(dx)) {
    const int64_t slope = static_cast<int64_t>((toX - fromX) / std::fabs(toY - fromY) * 65536.0f);
    const int64_t step = dy > 0 ? 0x10000 : -0x10000;
    for (; dy > 0 ? y <= y1 : y >= y1; y += step, x += slope) plot(x >> 16, y >> 16);
  } else if (dx != 0) {
    const int64_t sx = dx > 0 ? 0x10000 : -0x10000, sy = dy > 0 ? 0x10000 : -0x10000;
    for (; dx > 0 ? x <= x1 : x >= x1; x += sx, y += sy) plot(x >> 16, y >> 16);
  }
}

// The plain midpoint walk of one octant: from (0, r) with d = 1 - r, while x < y,
// x moves by one (and y down by one when d >= 0); visit(x, y) sees each point.
template <typename Visit>
void ShapeReferenceOctant(int64_t r, Visit&& visit) {
  int64_t x = 0, y = r, d = 1 - r;
  while (x < y) {
    if (d < 0) {
      d += 2 * x + 3;
    } else {
      d += 2 * (x - y) + 5;
      --y;
    }
    ++x;
    visit(x, y);
  }
}

inline void ShapeReferenceCircle(int64_t cx, int64_t cy, int64_t r, const ShapePlot& plot) {
  plot(cx, cy + r);
  plot(cx, cy - r);
  plot(cx + r, cy);
  plot(cx - r, cy);
  ShapeReferenceOctant(r, [&](int64_t x, int64_t y) {
    const int64_t points[8][2] = {{cx + x, cy + y}, {cx - x, cy + y}, {cx + x, cy - y},
                                  {cx - x, cy - y}, {cx + y, cy + x}, {cx - y, cy + x},
                                  {cx + y, cy - x}, {cx - y, cy - x}};
    for (const auto& p : points) plot(p[0], p[1]);
  });
}

inline PixelRect ShapeReferenceBounds(int32_t width, int32_t height, const C_Rect* viewport,
                                      const C_Rect* clip) {
  auto whole = [](float v) { return static_cast<int32_t>(v); };  // finite test values only
  PixelRect b{0, 0, width, height};
  if (viewport)
    b = {whole(viewport->X1), whole(viewport->Y1), whole(viewport->X2), whole(viewport->Y2)};
  b.X1 = std::max(b.X1, 0);
  b.Y1 = std::max(b.Y1, 0);
  b.X2 = std::min(b.X2, width);
  b.Y2 = std::min(b.Y2, height);
  if (clip) {
    b.X1 = std::max(b.X1, whole(clip->X1));
    b.Y1 = std::max(b.Y1, whole(clip->Y1));
    b.X2 = std::min(b.X2, whole(clip->X2));
    b.Y2 = std::min(b.Y2, whole(clip->Y2));
  }
  return b;
}

inline void ShapeReferenceTarget::Put(int64_t x, int64_t y) const {
  if (x < bounds.X1 || x >= bounds.X2 || y < bounds.Y1 || y >= bounds.Y2) return;
  ShapeCanvas::WritePixel(*color, static_cast<int32_t>(x), static_cast<int32_t>(y), packed);
}

inline void ShapeReferenceTarget::PutWeighted(int64_t x64, int64_t y64, int32_t w) const {
  if (x64 < bounds.X1 || x64 >= bounds.X2 || y64 < bounds.Y1 || y64 >= bounds.Y2) return;
  const int32_t x = static_cast<int32_t>(x64), y = static_cast<int32_t>(y64);
  if (color->BitsPerPixel != 32) return Put(x, y);
  uint8_t* m = mask ? mask->RowAddress(y) + x : nullptr;
  if (w >= 256) {
    if (m) *m = 255;
    return Put(x, y);
  }
  int32_t weight = w;
  if (m) {
    if (w > 254) {
      *m = 255;
      return Put(x, y);
    }
    if (*m != 255) {
      const int32_t grown = *m + (((256 - *m) * w) >> 8);
      *m = static_cast<uint8_t>(grown);
      weight = w * 256 / grown;
    }
  }
  // 32-bit formats used here hold red, green, blue as bytes 2, 1, 0 (A8R8G8B8).
  const uint32_t d = ShapeCanvas::ReadPixel(*color, x, y);
  uint32_t out = d & 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int32_t dc = (d >> shift) & 0xFF, sc = (packed >> shift) & 0xFF;
    out |= static_cast<uint32_t>((dc + (((sc - dc) * weight) >> 8)) & 0xFF) << shift;
  }
  ShapeCanvas::WritePixel(*color, x, y, out);
}

inline void ShapeReferencePixel(const ShapeReferenceTarget& t, float x, float y) {
  t.Put(static_cast<int64_t>(x), static_cast<int64_t>(y));
}

inline void ShapeReferenceRectangle(const ShapeReferenceTarget& t, const C_Rect& r, bool filled,
                                    float opacity) {
  if (opacity == 0) return;
  const int32_t w = std::min(static_cast<int32_t>(opacity * 256.0f), 256);
  if (w <= 0) return;
  const float x1 = std::min(r.X1, r.X2), x2 = std::max(r.X1, r.X2);
  const float y1 = std::min(r.Y1, r.Y2), y2 = std::max(r.Y1, r.Y2);
  const int64_t c = static_cast<int64_t>(x1), n = static_cast<int64_t>(x2 - x1);
  const int64_t row = static_cast<int64_t>(y1), m = static_cast<int64_t>(y2 - y1);
  for (int64_t y = row; y < row + m; ++y)
    for (int64_t x = c; x < c + n; ++x)
      if (filled || y == row || y == row + m - 1 || x == c || x == c + n - 1)
        t.PutWeighted(x, y, w);
}

inline void ShapeReferenceDisc(const ShapeReferenceTarget& t, int64_t cx, int64_t cy, int64_t r) {
  std::map<int64_t, std::pair<int64_t, int64_t>> rows;
  ShapeReferenceCircle(cx, cy, r, [&](int64_t x, int64_t y) {
    if (y < t.bounds.Y1 || y >= t.bounds.Y2) return;
    auto [it, added] = rows.try_emplace(y, x, x);
    it->second.first = std::min(it->second.first, x);
    it->second.second = std::max(it->second.second, x);
  });
  for (const auto& [y, span] : rows) {
    if (y < cy - r || y > cy + r) continue;
    // Only the part inside the bounds is visited: huge discs have huge rows.
    const int64_t from = std::max<int64_t>(span.first, t.bounds.X1);
    const int64_t to = std::min<int64_t>(span.second, t.bounds.X2 - 1);
    for (int64_t x = from; x <= to; ++x) t.Put(x, y);
  }
}
