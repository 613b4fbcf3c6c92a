// The kernel families behind ChooseSpans, each in its own file, and the walk of
// source positions that the blended and effects kernels share.
#pragma once

#include "graphics/raster/internal/blend.h"
#include "graphics/raster/internal/span_kernels.h"
#include "graphics/raster/internal/span_pixels.h"

namespace span {

// Plain, keyed, solid and keyed solid.
SpanSet PlainSpans(SpanFamily family, bool mirrorX);
// Blended: opacity, source alpha, mask rule, optional tint.
SpanSet BlendSpans(const SpanKey& key);
// Effects: as blended, with contrast, offset and clamp, and bilinear sampling.
SpanSet EffectsSpans(const SpanKey& key);

// Calls visit(i, x, y, fx, fy) for every pixel i of the span with the source
// column and row (inside the rectangle) and the 16-bit fractions of the unclamped
// position (0 for unscaled spans).
template <SpanGeometry G, bool Mirror, class Visit>
inline void WalkSpan(const SpanJob& job, const SpanRow& row, Visit&& visit) {
  if constexpr (G == SpanGeometry::Copy) {
    const int32_t y = static_cast<int32_t>(row.V);
    const int32_t x = static_cast<int32_t>(row.U);
    for (int32_t i = 0; i < row.Count; ++i) visit(i, Mirror ? x - i : x + i, y, 0, 0);
  } else if constexpr (G == SpanGeometry::Scale) {
    const int32_t y = ClampFixed(row.V, job.Y1, job.Y2 - 1);
    const int32_t fy = static_cast<int32_t>(row.V & 0xFFFF);
    int64_t u = row.U;
    for (int32_t i = 0; i < row.Count; ++i, u += job.StepU) {
      visit(i, ClampFixed(u, job.X1, job.X2 - 1), y, static_cast<int32_t>(u & 0xFFFF), fy);
    }
  } else {
    int64_t u = row.U;
    int64_t v = row.V;
    for (int32_t i = 0; i < row.Count; ++i, u += job.StepU, v -= job.StepV) {
      visit(i, ClampFixed(u, job.X1, job.X2 - 1), ClampFixed(v, job.Y1, job.Y2 - 1),
            static_cast<int32_t>(u & 0xFFFF), static_cast<int32_t>(v & 0xFFFF));
    }
  }
}

// The weight a pixel of blend weight b (0..256) is written with, after the mask
// rule when the target has a mask; 0 leaves the pixel and the mask alone.
template <bool Mask>
inline uint32_t WriteWeight(int32_t b, uint8_t* mask) {
  if constexpr (Mask) {
    if (b == 0) return 0;
    const int32_t w = ApplyMaskRule(mask, b);
    return static_cast<uint32_t>(w);
  } else {
    return b >= 255 ? 256u : static_cast<uint32_t>(b);
  }
}

}  // namespace span
