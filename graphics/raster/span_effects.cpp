// Effects kernels: the blended weights and mask rule, with the colour prepared per
// pixel (tint, or contrast around 128, offset and clamp) and, when scaled or
// rotated with smoothing, bilinear sampling of colour and alpha.
#include <array>
#include <cstddef>
#include <utility>

#include "graphics/raster/internal/span_kinds.h"

namespace span {
namespace {

inline int32_t Clamp255(int32_t c) {
  return c < 0 ? 0 : (c > 255 ? 255 : c);
}

template <SpanGeometry G, bool Mirror, bool Alpha, bool Mask, bool Tint, bool Smooth>
void EffectsSpan(const SpanJob& job, const SpanRow& row) {
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  uint8_t* mask = Mask ? MaskRow(job, row.Y) + row.X : nullptr;
  const int32_t opacity = job.Opacity;
  const uint32_t colorMask = job.TargetColorMask;
  WalkSpan<G, Mirror>(job, row, [&](int32_t i, int32_t x, int32_t y, int32_t fx, int32_t fy) {
    int32_t c[3] = {job.TintChannel[0], job.TintChannel[1], job.TintChannel[2]};
    int32_t a = 255;
    if constexpr (Smooth) {
      const int32_t x1 = NextSample(x, job.X2 - 1, job.SourceWidth);
      const int32_t y1 = NextSample(y, job.Y2 - 1, job.SourceHeight);
      if constexpr (!Tint) {
        const uint32_t* top = SourceRow(job, y);
        const uint32_t* bottom = SourceRow(job, y1);
        const uint32_t p00 = top[x], p10 = top[x1], p01 = bottom[x], p11 = bottom[x1];
        for (int k = 0; k < 3; ++k) {
          const uint32_t shift = job.SourceShift[k];
          c[k] = Bilinear((p00 >> shift) & 0xFF, (p10 >> shift) & 0xFF, (p01 >> shift) & 0xFF,
                          (p11 >> shift) & 0xFF, fx, fy);
        }
      }
      if constexpr (Alpha) {
        const uint8_t* top = AlphaRow(job, y);
        const uint8_t* bottom = AlphaRow(job, y1);
        a = Bilinear(top[x], top[x1], bottom[x], bottom[x1], fx, fy);
      }
    } else {
      if constexpr (!Tint) {
        const uint32_t p = SourceRow(job, y)[x];
        for (int k = 0; k < 3; ++k) c[k] = (p >> job.SourceShift[k]) & 0xFF;
      }
      if constexpr (Alpha) a = AlphaRow(job, y)[x];
    }
    if constexpr (!Tint) {
      // Contrast 256 and offset 0 (the values of a draw without them) leave the
      // channel as it is, so one rule serves every effects draw.
      for (int k = 0; k < 3; ++k) {
        c[k] = Clamp255((((c[k] - 128) * job.Contrast[k]) >> 8) + 128 + job.Offset[k]);
      }
    }
    int32_t b = opacity;
    if constexpr (Alpha) b = (opacity * a) >> 8;
    const uint32_t s = (static_cast<uint32_t>(c[0]) << job.TargetShift[0]) |
                       (static_cast<uint32_t>(c[1]) << job.TargetShift[1]) |
                       (static_cast<uint32_t>(c[2]) << job.TargetShift[2]);
    const uint32_t w = WriteWeight<Mask>(b, Mask ? mask + i : nullptr);
    target[i] = MixPixel(target[i], s, w, colorMask);
  });
}

// Table index bits: 1 mirrored, 2 source alpha, 4 target mask, 8 tint, 16 smooth.
template <std::size_t I>
constexpr SpanSet Entry() {
  constexpr bool m = I & 1, a = I & 2, k = I & 4, t = I & 8, s = I & 16;
  return {EffectsSpan<SpanGeometry::Copy, m, a, k, t, false>,
          EffectsSpan<SpanGeometry::Scale, false, a, k, t, s>,
          EffectsSpan<SpanGeometry::Rotate, false, a, k, t, s>};
}

template <std::size_t... I>
constexpr std::array<SpanSet, sizeof...(I)> MakeTable(std::index_sequence<I...>) {
  return {Entry<I>()...};
}

constexpr std::array<SpanSet, 32> kEffectsTable = MakeTable(std::make_index_sequence<32>());

}  // namespace

SpanSet EffectsSpans(const SpanKey& key) {
  const std::size_t index = (key.MirrorX ? 1 : 0) | (key.SourceAlpha ? 2 : 0) |
                            (key.TargetMask ? 4 : 0) | (key.Tint ? 8 : 0) | (key.Smooth ? 16 : 0);
  return kEffectsTable[index];
}

}  // namespace span
