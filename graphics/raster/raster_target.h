// RasterTarget: a surface's colour image (and optional 8-bit mask) decoded once per
// drawing call into row addresses, so that y = 0 is the top row even for
// bottom-up images; PixelRect: the pixels a call may write.
#pragma once

#include <cstdint>

#include "graphics/geometry/pixel_rect.h"
#include "image/pixel_format.h"
#include "image/pixel_rows.h"

class C_Image;
class C_Rect;
class C_Surface;

// One image as the kernels address it: its rows (Step is negative for a bottom-up
// image), the image itself and its decoded format.
struct RasterImage : PixelView {
  C_Image* image = nullptr;  // null when absent
  FormatDescriptor format;   // decoded once per call

  uint8_t* Row(int32_t y) const { return First + static_cast<intptr_t>(y) * Step; }
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
// missing (nothing recorded) or the colour format has no description (ErrorNoFormat, -1).
// A key-2 image that is not 8-bit or smaller than the colour image is ignored.
bool OpenRasterTarget(C_Surface* surface, RasterTarget& target);

// Bounds of every solid shape and image draw: the viewport truncated to integers
// (or the whole target when null), raised to 0 and lowered to the target size,
// then intersected with the clip truncated to integers (when not null). NaN or
// huge edges are saturated, never converted out of range.
PixelRect ComputeBounds(int32_t targetWidth, int32_t targetHeight, const C_Rect* viewport,
                        const C_Rect* clip);

// f32 to int32 truncating toward zero, saturated at the int32 limits; NaN gives 0.
// Use it wherever a caller's coordinate becomes an integer.
int32_t SaturateToInt(double value);
