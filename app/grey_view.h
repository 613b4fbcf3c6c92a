// A checked view of a 16-bit image's rows for the pixel loops of the generators and
// the views: the checks run once per call, the loops then walk rows by step.
#pragma once

#include <cstdint>

#include "image/image.h"
#include "image/pixel_rows.h"
#include "image/pixel_format.h"

// Forced inline so that pixel code is compiled for the processor of the vector
// clone that calls it, not once for the plain x86-64 baseline.
#define DF_INLINE inline __attribute__((always_inline))

struct PixelView {
  uint8_t* First = nullptr;  // picture row 0
  intptr_t Step = 0;         // bytes from picture row y to row y + 1 (negative bottom-up)
  int32_t Width = 0;         // pixels per row
  int32_t Height = 0;        // rows

  uint16_t* Row16(int32_t y) const { return reinterpret_cast<uint16_t*>(First + Step * y); }
  uint32_t* Row32(int32_t y) const { return reinterpret_cast<uint32_t*>(First + Step * y); }
};

// Fills view for an image with bits per pixel whose buffer holds all its rows;
// false for an absent or undescribed image, another depth, or short pixels.
inline bool ViewPixels(const C_Image* image, uint32_t bits, PixelView& view,
                       FormatDescriptor* description = nullptr) {
  if (!image) return false;
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d) || d.BitsPerPixel != bits) return false;
  if (!PixelsCover(*image, d)) return false;
  // Rows are walked as arrays of 16- or 32-bit values.
  if (image->Pitch % (bits / 8) != 0 || reinterpret_cast<uintptr_t>(image->Pixels) % (bits / 8))
    return false;
  view.Width = image->Width;
  view.Height = image->Height;
  view.Step = image->BottomUp ? -intptr_t(image->Pitch) : intptr_t(image->Pitch);
  view.First = image->Height > 0 ? image->RowAddress(0) : image->Pixels;
  if (description) *description = d;
  return true;
}
