// The weight arithmetic shared by blended spans and blended solid shapes: weights
// run 0..256, a channel moves d + ((s - d) * w >> 8), and a target's 8-bit mask
// accumulates coverage so that repeated translucent draws converge on the source.
#pragma once

#include <cstdint>

// One channel moved towards s by w/256 (arithmetic shift: floor).
inline int32_t BlendChannel(int32_t d, int32_t s, int32_t w) {
  return d + (((s - d) * w) >> 8);
}

// Blends the three colour channels (at shift[0..2] of both pixels, 8 bits each)
// of source into destination; bits outside the three channels keep destination's.
inline uint32_t BlendPixel(uint32_t destination, uint32_t source, int32_t w,
                           const uint32_t shift[3]) {
  uint32_t result = destination;
  for (int c = 0; c < 3; ++c) {
    const int32_t d = static_cast<int32_t>((destination >> shift[c]) & 0xFF);
    const int32_t s = static_cast<int32_t>((source >> shift[c]) & 0xFF);
    const uint32_t v = static_cast<uint32_t>(BlendChannel(d, s, w)) & 0xFF;
    result = (result & ~(0xFFu << shift[c])) | (v << shift[c]);
  }
  return result;
}

// The mask rule for a pixel drawn with weight b (1..256) over mask value *mask:
// returns the weight to blend the colour with (256 = write unblended) and updates
// the mask. b > 254 writes unblended and sets 255; a full mask keeps b; otherwise
// the mask grows to m' = m + ((256 - m) * b >> 8) and the weight is b * 256 / m'.
inline int32_t ApplyMaskRule(uint8_t* mask, int32_t b) {
  if (b > 254) {
    *mask = 255;
    return 256;
  }
  const int32_t m = *mask;
  if (m == 255) return b;
  const int32_t grown = m + (((256 - m) * b) >> 8);
  if (grown <= 0) return 0;  // b = 0: nothing to draw, mask unchanged
  *mask = static_cast<uint8_t>(grown > 255 ? 255 : grown);
  return (b * 256) / grown;
}
