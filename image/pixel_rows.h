// Row sizes and the coverage check that every routine walking an image's rows
// makes before it touches a pixel.
#pragma once

#include <cstdint>

#include "image/image.h"
#include "image/pixel_format.h"

// Bytes of pixel data in one row of width pixels of the described format.
inline uint64_t RowBytesFor(int32_t width, const FormatDescriptor& d) {
  return (uint64_t(width > 0 ? width : 0) * d.BitsPerPixel + 7) / 8;
}

// True when the image's buffer holds every one of its rows, so that the pixel
// routines can walk them without reaching past the block. An image without rows or
// columns is covered trivially.
inline bool PixelsCover(const C_Image& image, const FormatDescriptor& d) {
  if (image.Width < 0 || image.Height < 0 || image.Pitch < 0) return false;
  if (image.Width == 0 || image.Height == 0) return true;
  const uint64_t row = RowBytesFor(image.Width, d);
  if (!image.Pixels || uint64_t(image.Pitch) < row) return false;
  return uint64_t(image.Pitch) * uint64_t(image.Height - 1) + row <= uint64_t(image.PixelBytes);
}
