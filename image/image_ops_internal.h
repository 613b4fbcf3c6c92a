// Checks and helpers shared by the whole-image operations.
#pragma once

#include <cstdint>

#include "image/image.h"
#include "image/pixel_format.h"

// Marks a plain pixel loop that g++ should also build for AVX2 on x86-64, picking
// the copy for the processor when the program starts. The loops stay portable C++;
// other compilers and the sanitizer builds get the single default copy.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__)
#define DF_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define DF_VECTOR_CLONES
#endif

// Set by ForceGenericPixelPath: the fast kernels are skipped (tests compare paths).
extern bool g_forceGenericPixelPath;

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
