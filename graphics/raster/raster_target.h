// RasterTarget: a surface's colour image (and optional 8-bit mask) decoded once per
// drawing call into row addresses, so that y = 0 is the top row even for
// bottom-up images; RasterBounds: the pixels a call may write.
#pragma once

#include <cstdint>

#include "image/pixel_format.h"

class C_Image;
class C_Rect;
class C_Surface;

// The drawable area of one call: x1 <= x < x2, y1 <= y < y2. Empty when
// x1 >= x2 or y1 >= y2.
struct RasterBounds {
  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  int32_t y2 = 0;

  bool Empty() const { return x1 >= x2 || y1 >= y2; }
  bool Contains(int32_t x, int32_t y) const { return x >= x1 && x < x2 && y >= y1 && y < y2; }
};

// One image as the kernels address it. Row y starts at firstRow + y * pitch;
// pitch is negative for a bottom-up image.
struct RasterImage {
  C_Image* image = nullptr;  // null when absent
  uint8_t* firstRow = nullptr;
  intptr_t pitch = 0;  // bytes from row y to row y + 1 of the picture
  int32_t width = 0;
  int32_t height = 0;
  FormatDescriptor format;  // decoded once per call

  uint8_t* Row(int32_t y) const { return firstRow + static_cast<intptr_t>(y) * pitch; }
};

// Fills view from image (which may be null: view stays absent). False when the
// image has no pixels or its format cannot be described (records nothing).
bool DecodeRasterImage(C_Image* image, RasterImage& view);

// The colour image (key 1) and the 8-bit mask image (key 2) of a target surface.
struct RasterTarget {
  RasterImage color;
  RasterImage mask;  // image null unless key 2 holds an 8-bit image of the same size
};

// Decodes the target's images. False when the surface or its colour image is
// missing (nothing recorded) or the colour format has no description (15, -1).
// A key-2 image that is not 8-bit or smaller than the colour image is ignored.
bool OpenRasterTarget(C_Surface* surface, RasterTarget& target);

// Bounds of every solid shape and image draw: the viewport truncated to integers
// (or the whole target when null), raised to 0 and lowered to the target size,
// then intersected with the clip truncated to integers (when not null). NaN or
// huge edges are saturated, never converted out of range.
RasterBounds ComputeBounds(int32_t targetWidth, int32_t targetHeight, const C_Rect* viewport,
                           const C_Rect* clip);

// f32 to int32 truncating toward zero, saturated at the int32 limits; NaN gives 0.
// Use it wherever a caller's coordinate becomes an integer.
int32_t SaturateToInt(double value);
