// Numeric helpers shared by the generators, the geometry and the renderer. The
// f32 results are rounded at each step exactly as written.
#pragma once

#include <cstdint>

inline float Abs(float x) {
  return x < 0 ? -x : x;
}
// The most negative value has no positive counterpart and comes back unchanged.
inline int32_t Abs(int32_t x) {
  return x < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(x)) : x;
}

// 0 when b is 0; a - b * trunc(a / b) when b <= a; otherwise a unchanged (so a
// negative a comes back as it is).
float FloatMod(float a, float b);

// Wraps a into 0..b: FloatMod for a >= b, a itself for 0 <= a < b, and
// (b - 1) - FloatMod(-a - 1, b) for negative a.
float WrapCoordinate(float a, float b);

// Folds a into 0..b like a triangle wave of period 2b (255 -> 255, 256 -> 254,
// 510 -> 0, -1 -> 1, -300 -> 210 for b = 255).
int32_t TriangleFold(int32_t a, int32_t b);
