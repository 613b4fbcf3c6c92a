// The per-call working state of a solid-shape routine (decoded target, drawable
// bounds, packed colour) and the pixel stores its row writers are built from.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics/raster/raster_target.h"

class C_Color;

namespace shape_detail {

struct ShapeTarget {
  RasterTarget target;     // colour image and optional 8-bit mask
  PixelRect bounds;        // drawable pixels of this call
  uint32_t color = 0;      // the colour packed into the colour image's format
  int32_t pixelBytes = 0;  // 1, 2 or 4; 0 for a depth the shapes do not draw
  bool blendable = false;  // 4-byte pixels with 8-bit red, green and blue
  uint32_t shift[3] = {};  // bit positions of red, green, blue (blendable only)
};

// Decodes the target and computes bounds and packed colour. False (with -1 last
// in the error record, 15 before it for an undescribed format) when the surface
// has no colour image or its format cannot be described.
bool OpenShapeTarget(C_Surface* surface, const C_Color& color, const C_Rect* viewport,
                     const C_Rect* clip, ShapeTarget& out);

// True when the shape can draw something at all: a drawn depth and pixels in bounds.
inline bool CanDraw(const ShapeTarget& t) {
  return t.pixelBytes != 0 && !t.bounds.Empty();
}

// Pixels are stored through memcpy: an attached pixel block may have any pitch, so
// 16- and 32-bit pixels are not necessarily aligned.
template <typename Pixel>
inline void StorePixel(uint8_t* row, int32_t x, uint32_t color) {
  const Pixel value = static_cast<Pixel>(color);
  std::memcpy(row + static_cast<intptr_t>(x) * static_cast<intptr_t>(sizeof(Pixel)), &value,
              sizeof(Pixel));
}

template <typename Pixel>
inline void StoreRow(uint8_t* row, int32_t x, int32_t count, uint32_t color) {
  uint8_t* p = row + static_cast<intptr_t>(x) * static_cast<intptr_t>(sizeof(Pixel));
  const Pixel value = static_cast<Pixel>(color);
  for (int32_t i = 0; i < count; ++i) std::memcpy(p + i * sizeof(Pixel), &value, sizeof(Pixel));
}

// Runs body(Pixel{}) with the pixel type of the target's depth: the choice is made
// once per call so that the loops inside body carry no depth test.
template <typename Body>
inline void WithPixelType(int32_t pixelBytes, Body&& body) {
  switch (pixelBytes) {
    case 1:
      body(uint8_t{});
      break;
    case 2:
      body(uint16_t{});
      break;
    case 4:
      body(uint32_t{});
      break;
    default:
      break;
  }
}

// Writes count pixels of the packed colour from (x, y), unblended. The caller has
// cut the run to the bounds.
void StoreSpan(const ShapeTarget& t, int32_t y, int32_t x, int32_t count);

}  // namespace shape_detail
