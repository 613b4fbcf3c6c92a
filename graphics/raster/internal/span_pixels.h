// Pixel helpers shared by the span kernels: row addressing, clamped sampling, the
// packed blend and the range of a span that needs no clamping.
#pragma once

#include <cstdint>

#include "graphics/raster/internal/span_kernels.h"

namespace span {

inline const uint32_t* SourceRow(const SpanJob& job, int32_t y) {
  return reinterpret_cast<const uint32_t*>(job.Source + y * job.SourcePitch);
}
inline const uint8_t* AlphaRow(const SpanJob& job, int32_t y) {
  return job.Alpha + y * job.AlphaPitch;
}
inline uint32_t* TargetRow(const SpanJob& job, int32_t y) {
  return reinterpret_cast<uint32_t*>(job.Target + y * job.TargetPitch);
}
inline uint8_t* MaskRow(const SpanJob& job, int32_t y) {
  return job.Mask + y * job.MaskPitch;
}

// The integer part of a 16.16 coordinate kept inside [low, high].
inline int32_t ClampFixed(int64_t fixed, int32_t low, int32_t high) {
  const int64_t whole = fixed >> 16;
  return static_cast<int32_t>(whole < low ? low : (whole > high ? high : whole));
}

// The indices i of [0, count) for which low <= start + i * step < high, as
// [first, last); empty as first == last. The caller keeps |start| below 2^60 and
// |step| below 2^31, so no product overflows.
inline void InRange(int64_t start, int64_t step, int64_t low, int64_t high, int32_t count,
                    int32_t& first, int32_t& last) {
  int64_t a = 0;
  int64_t b = count;
  if (step == 0) {
    if (start < low || start >= high) b = 0;
  } else if (step > 0) {
    if (start < low) a = (low - start + step - 1) / step;
    b = start >= high ? 0 : (high - start + step - 1) / step;
  } else {
    const int64_t down = -step;
    if (start >= high) a = (start - high) / down + 1;
    b = start < low ? 0 : (start - low) / down + 1;
  }
  if (a > count) a = count;
  if (b > count) b = count;
  if (b < a) b = a;
  first = static_cast<int32_t>(a);
  last = static_cast<int32_t>(b);
}

// d + ((s - d) * w >> 8) on the three colour channels of a target pixel, written
// as (d * (256 - w) + s * w) >> 8, which is the same floor, on two 16-bit lanes at
// a time; bits outside colorMask keep d's. w is 0..256.
inline uint32_t MixPixel(uint32_t d, uint32_t s, uint32_t w, uint32_t colorMask) {
  const uint32_t inverse = 256 - w;
  const uint32_t low = (((d & 0x00FF00FFu) * inverse + (s & 0x00FF00FFu) * w) >> 8) & 0x00FF00FFu;
  const uint32_t high =
      (((d >> 8) & 0x00FF00FFu) * inverse + ((s >> 8) & 0x00FF00FFu) * w) & 0xFF00FF00u;
  return ((low | high) & colorMask) | (d & ~colorMask);
}

// The three colour channels of a source pixel moved to the target's positions.
inline uint32_t Relayout(uint32_t s, const uint32_t from[3], const uint32_t to[3]) {
  return (((s >> from[0]) & 0xFF) << to[0]) | (((s >> from[1]) & 0xFF) << to[1]) |
         (((s >> from[2]) & 0xFF) << to[2]);
}

// A bilinear neighbour of column (or row) x0 that is already inside the rectangle:
// the next one, kept inside the rectangle, except past the image's last column,
// where it wraps round to the image's first.
inline int32_t NextSample(int32_t x0, int32_t last, int32_t imageSize) {
  const int32_t next = x0 + 1;
  if (next >= imageSize) return next - imageSize;
  return next > last ? last : next;
}

// One 8-bit value combined from four by 16-bit fractions, as the bilinear rule says.
inline int32_t Bilinear(int32_t p00, int32_t p10, int32_t p01, int32_t p11, int32_t fx,
                        int32_t fy) {
  const int32_t top = p00 + (((p10 - p00) * fx) >> 16);
  const int32_t bottom = p01 + (((p11 - p01) * fx) >> 16);
  return top + (((bottom - top) * fy) >> 16);
}

}  // namespace span
