// Row sizes, the coverage check that every routine walking an image's rows makes
// before it touches a pixel, and the checked row view the pixel loops walk.
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

// True when the two images' pixel blocks share no byte: then row work that reads
// one and writes the other may run its rows in any order, on any thread.
inline bool PixelsApart(const C_Image& a, const C_Image& b) {
  const uintptr_t aBegin = reinterpret_cast<uintptr_t>(a.Pixels);
  const uintptr_t bBegin = reinterpret_cast<uintptr_t>(b.Pixels);
  return aBegin + uintptr_t(a.PixelBytes) <= bBegin || bBegin + uintptr_t(b.PixelBytes) <= aBegin;
}

// An image's rows as the pixel loops address them: the checks run once per call,
// the loops then walk rows by step.
struct PixelView {
  uint8_t* First = nullptr;  // picture row 0
  intptr_t Step = 0;         // bytes from picture row y to row y + 1 (negative bottom-up)
  int32_t Width = 0;         // pixels per row
  int32_t Height = 0;        // rows

  uint16_t* Row16(int32_t y) const { return reinterpret_cast<uint16_t*>(First + Step * y); }
  uint32_t* Row32(int32_t y) const { return reinterpret_cast<uint32_t*>(First + Step * y); }
};

// The rows of an image whose coverage has been checked.
inline PixelView RowsOf(const C_Image& image) {
  PixelView view;
  view.Width = image.Width;
  view.Height = image.Height;
  view.Step = image.BottomUp ? -intptr_t(image.Pitch) : intptr_t(image.Pitch);
  view.First = image.Height > 0 ? image.RowAddress(0) : image.Pixels;
  return view;
}

// True when the pixel block and every row start on a multiple of bytes, so that
// rows can be walked as arrays of values of that size.
inline bool PixelsAligned(const C_Image& image, uint32_t bytes) {
  return bytes <= 1 || (image.Pitch % int32_t(bytes) == 0 &&
                        reinterpret_cast<uintptr_t>(image.Pixels) % bytes == 0);
}

// Fills view for an image with bits per pixel whose buffer holds all its rows;
// false for an absent or undescribed image, another depth, or short pixels.
inline bool ViewPixels(const C_Image* image, uint32_t bits, PixelView& view,
                       FormatDescriptor* description = nullptr) {
  if (!image) return false;
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d) || d.BitsPerPixel != bits) return false;
  if (!PixelsCover(*image, d)) return false;
  // Rows are walked as arrays of 16- or 32-bit values.
  if (!PixelsAligned(*image, bits / 8)) return false;
  view = RowsOf(*image);
  if (description) *description = d;
  return true;
}
