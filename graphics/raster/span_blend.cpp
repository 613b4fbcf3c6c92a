// Blended kernels: each pixel weighted by the draw's opacity and the source alpha,
// through the target's mask when it has one; colour from the source or the tint.
#include <array>
#include <cstddef>
#include <utility>

#include "graphics/raster/internal/span_kinds.h"
#include "core/cpu_features.h"

namespace span {
namespace {

template <SpanGeometry G, bool Mirror, bool Alpha, bool Mask, bool Tint, bool SameLayout>
void BlendSpan(const SpanJob& job, const SpanRow& row) {
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  uint8_t* mask = Mask ? MaskRow(job, row.Y) + row.X : nullptr;
  const int32_t opacity = job.Opacity;
  const uint32_t colorMask = job.TargetColorMask;
  const uint32_t tint = job.TintOnTarget;
  WalkSpan<G, Mirror>(job, row, [&](int32_t i, int32_t x, int32_t y, int32_t, int32_t) {
    int32_t b = opacity;
    if constexpr (Alpha) b = (opacity * AlphaRow(job, y)[x]) >> 8;
    uint32_t s = tint;
    if constexpr (!Tint) {
      s = SourceRow(job, y)[x];
      if constexpr (!SameLayout) s = Relayout(s, job.SourceShift, job.TargetShift);
    }
    const uint32_t w = WriteWeight<Mask>(b, Mask ? mask + i : nullptr);
    target[i] = MixPixel(target[i], s, w, colorMask);
  });
}

// Unscaled, forwards, through an alpha image: the common sprite and glyph case, as
// branch-free loops over plain pointers so that they vectorise (AVX2 where the
// processor has it). The weight b = opacity * a >> 8 is at most 255 here, and 255
// writes unblended, that is with weight 256.
DF_VECTOR_CLONES
void BlendRowAlpha(uint32_t* __restrict target, const uint32_t* __restrict source,
                   const uint8_t* __restrict alpha, int32_t count, uint32_t opacity,
                   uint32_t colorMask) {
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t b = (opacity * alpha[i]) >> 8;
    target[i] = MixPixel(target[i], source[i], b + (b == 255), colorMask);
  }
}

DF_VECTOR_CLONES
void TintRowAlpha(uint32_t* __restrict target, const uint8_t* __restrict alpha, int32_t count,
                  uint32_t opacity, uint32_t tint, uint32_t colorMask) {
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t b = (opacity * alpha[i]) >> 8;
    target[i] = MixPixel(target[i], tint, b + (b == 255), colorMask);
  }
}

template <bool Tint, bool SameLayout>
void BlendCopyAlpha(const SpanJob& job, const SpanRow& row) {
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  const uint8_t* alpha = AlphaRow(job, static_cast<int32_t>(row.V)) + row.U;
  const uint32_t opacity = static_cast<uint32_t>(job.Opacity);
  if constexpr (Tint) {
    TintRowAlpha(target, alpha, row.Count, opacity, job.TintOnTarget, job.TargetColorMask);
  } else if constexpr (SameLayout) {
    const uint32_t* source = SourceRow(job, static_cast<int32_t>(row.V)) + row.U;
    BlendRowAlpha(target, source, alpha, row.Count, opacity, job.TargetColorMask);
  } else {
    BlendSpan<SpanGeometry::Copy, false, true, false, false, false>(job, row);
  }
}

template <bool Mirror, bool Alpha, bool Mask, bool Tint, bool SameLayout>
constexpr SpanFunction CopyKernel() {
  if constexpr (!Mirror && Alpha && !Mask) return BlendCopyAlpha<Tint, SameLayout>;
  return BlendSpan<SpanGeometry::Copy, Mirror, Alpha, Mask, Tint, SameLayout>;
}

// Table index bits: 1 mirrored, 2 source alpha, 4 target mask, 8 tint, 16 same layout.
template <std::size_t I>
constexpr SpanSet Entry() {
  constexpr bool m = I & 1, a = I & 2, k = I & 4, t = I & 8, s = I & 16;
  return {CopyKernel<m, a, k, t, s>(), BlendSpan<SpanGeometry::Scale, false, a, k, t, s>,
          BlendSpan<SpanGeometry::Rotate, false, a, k, t, s>};
}

template <std::size_t... I>
constexpr std::array<SpanSet, sizeof...(I)> MakeTable(std::index_sequence<I...>) {
  return {Entry<I>()...};
}

constexpr std::array<SpanSet, 32> kBlendTable = MakeTable(std::make_index_sequence<32>());

}  // namespace

SpanSet BlendSpans(const SpanKey& key) {
  const std::size_t index = (key.MirrorX ? 1 : 0) | (key.SourceAlpha ? 2 : 0) |
                            (key.TargetMask ? 4 : 0) | (key.Tint ? 8 : 0) |
                            (key.SameLayout || key.Tint ? 16 : 0);
  return kBlendTable[index];
}

}  // namespace span
