#include "graphics/raster/surface_stamp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "core/cpu_features.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/internal/draw_single.h"
#include "graphics/raster/internal/span_pixels.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// The tint through an 8-bit coverage image, unscaled, onto a target without mask:
// the common glyph. The same arithmetic as the blended tinted span kernel (weight
// b = opacity x a >> 8, 255 counting as 256; a weight of 0 leaves the pixel), over
// whole rectangles, several in one call.
using span::AlphaRow;
using span::MixPixel;
using span::TargetRow;

using Box = SurfaceStamp::CoverageBox;

void StampCoverageScalar(const SpanJob& job, const Box* boxes, int32_t boxCount) {
  const uint32_t opacity = static_cast<uint32_t>(job.Opacity);
  const uint32_t tint = job.TintOnTarget;
  const uint32_t colorMask = job.TargetColorMask;
  for (const Box* r = boxes; r != boxes + boxCount; ++r) {
    for (int32_t row = 0; row < r->height; ++row) {
      uint32_t* target = TargetRow(job, r->y + row) + r->x;
      const uint8_t* alpha = AlphaRow(job, r->sourceY + row) + r->sourceX;
      for (int32_t i = 0; i < r->width; ++i) {
        const uint32_t a = alpha[i];
        if (a == 0) continue;
        const uint32_t b = (opacity * a) >> 8;
        target[i] = MixPixel(target[i], tint, b + (b == 255), colorMask);
      }
    }
  }
}

#if defined(__x86_64__)
// The tint's arithmetic on 16-bit channels: a pixel's channel becomes
// d + floor((t - d) x w / 256), which equals (d x (256 - w) + t x w) >> 8 exactly,
// as mulhi((t - d) << 7, 2w) = ((t - d) x 128 x 2w) >> 16 with every factor
// inside a signed 16-bit lane. Channels outside the target's colour mask get the
// weight 0 and keep their value.
struct TintLanes {
  __m256i tint7;          // the tint's channels << 7, two pixels per 128-bit lane
  __m256i spreadLow;      // byte shuffles: each pixel's weight onto its channels
  __m256i spreadHigh;     // (pixels 0-1 and 4-5 for the low half, 2-3 and 6-7 high)
  __m128i opacity, full;  // 8 x 16 bits
};

// A pixel's four channels in 16-bit lanes as unpacking target pixels places them,
// each byte twice (b0 b0 b1 b1 b2 b2 b3 b3), four pixels.
__attribute__((target("avx2"))) inline __m256i Channels(uint32_t pixel) {
  const __m256i bytes = _mm256_set1_epi32(static_cast<int32_t>(pixel));
  return _mm256_unpacklo_epi8(bytes, bytes);
}

__attribute__((target("avx2"))) inline TintLanes MakeTintLanes(const SpanJob& job) {
  TintLanes k;
  k.tint7 = _mm256_slli_epi16(_mm256_srli_epi16(Channels(job.TintOnTarget), 8), 7);
  // Weight i's two bytes are 2i and 2i + 1; a set top bit makes the shuffle give 0.
  const __m256i outside = Channels(~job.TargetColorMask);
  k.spreadLow = _mm256_or_si256(
      outside, _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 2, 3, 2, 3, 2, 3, 2, 3, 8, 9, 8, 9, 8, 9, 8,
                                9, 10, 11, 10, 11, 10, 11, 10, 11));
  k.spreadHigh = _mm256_or_si256(
      outside, _mm256_setr_epi8(4, 5, 4, 5, 4, 5, 4, 5, 6, 7, 6, 7, 6, 7, 6, 7, 12, 13, 12, 13, 12,
                                13, 12, 13, 14, 15, 14, 15, 14, 15, 14, 15));
  k.opacity = _mm_set1_epi16(static_cast<int16_t>(job.Opacity));
  k.full = _mm_set1_epi16(255);
  return k;
}

// Eight target pixels d mixed with the tint by eight coverage bytes. At the full
// opacity of 256 the weight before rounding is the coverage itself.
template <bool FullOpacity>
__attribute__((target("avx2"))) inline __m256i MixEight(const TintLanes& k, __m256i d,
                                                        uint64_t eight) {
  __m128i w = _mm_cvtepu8_epi16(_mm_cvtsi64_si128(static_cast<int64_t>(eight)));
  // opacity x a stays under 2^16, so the 16-bit product is exact.
  if (!FullOpacity) w = _mm_srli_epi16(_mm_mullo_epi16(w, k.opacity), 8);
  w = _mm_sub_epi16(w, _mm_cmpeq_epi16(w, k.full));  // 255 -> 256
  const __m256i w2 = _mm256_broadcastsi128_si256(_mm_add_epi16(w, w));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i dLow = _mm256_unpacklo_epi8(d, zero);
  const __m256i dHigh = _mm256_unpackhi_epi8(d, zero);
  const __m256i low = _mm256_add_epi16(
      dLow, _mm256_mulhi_epi16(_mm256_sub_epi16(k.tint7, _mm256_slli_epi16(dLow, 7)),
                               _mm256_shuffle_epi8(w2, k.spreadLow)));
  const __m256i high = _mm256_add_epi16(
      dHigh, _mm256_mulhi_epi16(_mm256_sub_epi16(k.tint7, _mm256_slli_epi16(dHigh, 7)),
                                _mm256_shuffle_epi8(w2, k.spreadHigh)));
  return _mm256_packus_epi16(low, high);
}

// Stores the first Width pixels of v at p, with plain stores: a masked store costs
// many times more on some processors.
template <int Width>
__attribute__((target("avx2"), always_inline)) inline void StorePixels(uint8_t* p, __m256i v) {
  const auto store32 = [](uint8_t* at, int32_t value) { std::memcpy(at, &value, sizeof value); };
  if constexpr (Width == 8) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
    return;
  }
  __m128i part = _mm256_castsi256_si128(v);
  if constexpr (Width >= 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), part);
    part = _mm256_extracti128_si256(v, 1);
    p += 16;
  }
  constexpr int kLeft = Width % 4;
  if constexpr (kLeft >= 2) _mm_storel_epi64(reinterpret_cast<__m128i*>(p), part);
  if constexpr (kLeft == 3) store32(p + 8, _mm_extract_epi32(part, 2));
  if constexpr (kLeft == 1) store32(p, _mm_cvtsi128_si32(part));
}

// A rectangle Width <= 8 pixels wide, as most glyphs are: one step per row, with
// the way coverage is read settled once.
template <bool FullOpacity, int Width>
__attribute__((target("avx2"))) void StampNarrowAvx2(const SpanJob& job, const TintLanes& k,
                                                     const Box& r) {
  const intptr_t targetPitch = job.TargetPitch;
  const intptr_t alphaPitch = job.AlphaPitch;
  const __m256i mask =
      _mm256_cmpgt_epi32(_mm256_set1_epi32(Width), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  // Eight bytes are loaded whole while they lie in the image's row (a short copy
  // would stall the load that follows it); the ones past Width are dropped.
  const bool wholeLoad = r.sourceX + 8 <= job.SourceWidth;
  constexpr uint64_t kKeep = Width == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * Width)) - 1;
  auto* target = reinterpret_cast<uint8_t*>(TargetRow(job, r.y) + r.x);
  const uint8_t* alpha = AlphaRow(job, r.sourceY) + r.sourceX;
  for (int32_t rows = r.height; rows > 0; --rows, target += targetPitch, alpha += alphaPitch) {
    uint64_t eight = 0;
    if (wholeLoad) {
      std::memcpy(&eight, alpha, sizeof eight);
      eight &= kKeep;
    } else {
      std::memcpy(&eight, alpha, static_cast<size_t>(Width));
    }
    if (eight == 0) continue;
    const __m256i d = Width == 8 ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(target))
                                 : _mm256_maskload_epi32(reinterpret_cast<int*>(target), mask);
    StorePixels<Width>(target, MixEight<FullOpacity>(k, d, eight));
  }
}

// Eight pixels at a time; a row's last pixels go through masked loads and stores,
// so nothing outside the rectangle is written, and no coverage is read outside the
// image. Eight empty coverage bytes are passed over.
template <bool FullOpacity>
__attribute__((target("avx2"))) void StampWideAvx2(const SpanJob& job, const TintLanes& k,
                                                   const Box& r) {
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const int32_t count = r.width;
  for (int32_t row = 0; row < r.height; ++row) {
    uint32_t* target = TargetRow(job, r.y + row) + r.x;
    const uint8_t* alpha = AlphaRow(job, r.sourceY + row) + r.sourceX;
    for (int32_t i = 0; i < count; i += 8) {
      const int32_t n = count - i < 8 ? count - i : 8;
      uint64_t eight = 0;
      if (r.sourceX + i + 8 <= job.SourceWidth) {
        std::memcpy(&eight, alpha + i, sizeof eight);
        if (n < 8) eight &= (uint64_t{1} << (8 * n)) - 1;
      } else {
        std::memcpy(&eight, alpha + i, static_cast<size_t>(n));
      }
      if (eight == 0) continue;
      const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(n), lanes);
      auto* at = reinterpret_cast<int*>(target + i);
      const __m256i d = n == 8 ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at))
                               : _mm256_maskload_epi32(at, mask);
      const __m256i mixed = MixEight<FullOpacity>(k, d, eight);
      if (n == 8) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), mixed);
      } else {
        _mm256_maskstore_epi32(at, mask, mixed);
      }
    }
  }
}

// The narrow stamp of a box's width, 1 to 8; false for a wider box.
template <bool FullOpacity, int... Widths>
__attribute__((target("avx2"), always_inline)) inline bool StampNarrowBox(
    const SpanJob& job, const TintLanes& k, const Box& r, std::integer_sequence<int, Widths...>) {
  return ((r.width == Widths + 1 && (StampNarrowAvx2<FullOpacity, Widths + 1>(job, k, r), true)) ||
          ...);
}

// Every box in order, the tint's lanes set up once. FullOpacity: the job's
// opacity is 256, which the stamp's Begin settles once.
template <bool FullOpacity>
__attribute__((target("avx2"))) void StampCoverageAvx2(const SpanJob& job, const Box* boxes,
                                                       int32_t boxCount) {
  const TintLanes k = MakeTintLanes(job);
  for (const Box* r = boxes; r != boxes + boxCount; ++r) {
    if (!StampNarrowBox<FullOpacity>(job, k, *r, std::make_integer_sequence<int, 8>()))
      StampWideAvx2<FullOpacity>(job, k, *r);
  }
}
#endif

// The coverage kernel for a job's opacity on this processor.
SurfaceStamp::CoverageKernel ChooseCoverageKernel(int32_t opacity) {
#if defined(__x86_64__)
  static const bool avx2 = HasAvx2();
  if (avx2) return opacity == 256 ? StampCoverageAvx2<true> : StampCoverageAvx2<false>;
#endif
  static_cast<void>(opacity);
  return StampCoverageScalar;
}

}  // namespace

Placement& SurfaceStamp::Job() {
  static_assert(sizeof(Placement) <= kPlacementBytes && alignof(Placement) <= 8,
                "SurfaceStamp holds its placement in place");
  static_assert(
      std::is_trivially_copyable_v<Placement> && std::is_trivially_destructible_v<Placement>,
      "a stamp is copied and dropped as bytes");
  return *std::launder(reinterpret_cast<Placement*>(placement_));
}

const Placement& SurfaceStamp::Job() const {
  return *std::launder(reinterpret_cast<const Placement*>(placement_));
}

void SurfaceStamp::Gather(C_Surface* source, C_Surface* target, const C_Rect* viewport,
                          const C_Rect* clip, const DrawOptions& options, bool coverageOnly,
                          Inputs& inputs) {
  // Compared as bytes: the padding is zero too.
  std::memset(&inputs, 0, sizeof inputs);
  inputs.source = source;
  inputs.target = target;
  const C_Image* images[4] = {source != nullptr ? DrawableImage(source, kColorChannel) : nullptr,
                              source != nullptr ? DrawableImage(source, kAlphaChannel) : nullptr,
                              target != nullptr ? target->FindImage(kColorChannel) : nullptr,
                              target != nullptr ? target->FindImage(kAlphaChannel) : nullptr};
  for (int32_t i = 0; i < 4; ++i) {
    const C_Image* image = images[i];
    if (image == nullptr) continue;
    ImageFacts& facts = inputs.images[i];
    facts.image = image;
    facts.pixels = image->Pixels;
    facts.width = image->Width;
    facts.height = image->Height;
    facts.pitch = image->Pitch;
    facts.format = image->Format;
    facts.bytes = image->PixelBytes;
    facts.bottomUp = image->BottomUp;
  }
  const C_Rect* rects[2] = {viewport, clip};
  for (int32_t i = 0; i < 2; ++i) {
    if (rects[i] == nullptr) continue;
    inputs.given |= static_cast<uint8_t>(1 << i);
    inputs.bounds[4 * i] = rects[i]->X1;
    inputs.bounds[4 * i + 1] = rects[i]->Y1;
    inputs.bounds[4 * i + 2] = rects[i]->X2;
    inputs.bounds[4 * i + 3] = rects[i]->Y2;
  }
  // The options Begin reads: neither angle, mirroring, wrapping, pivot nor user values.
  const C_Color* ownKey = source != nullptr ? SourceColorKey(*source) : nullptr;
  const C_Color* colors[4] = {ownKey != nullptr ? ownKey : &options.ColorKey, &options.Tint,
                              &options.Offset, &options.Contrast};
  inputs.drawing[0] = options.Scale.X;
  inputs.drawing[1] = options.Scale.Y;
  inputs.drawing[2] = options.Opacity;
  for (int32_t i = 0; i < 4; ++i) {
    inputs.drawing[3 + 4 * i] = colors[i]->Red;
    inputs.drawing[4 + 4 * i] = colors[i]->Green;
    inputs.drawing[5 + 4 * i] = colors[i]->Blue;
    inputs.drawing[6 + 4 * i] = colors[i]->Alpha;
  }
  inputs.smooth = options.Smooth;
  inputs.uses[0] = ownKey != nullptr ? 1 : options.UseColorKey;
  inputs.uses[1] = options.UseTint;
  inputs.uses[2] = options.UseOffset;
  inputs.uses[3] = options.UseContrast;
  inputs.coverageOnly = coverageOnly;
}

bool SurfaceStamp::Resume(C_Surface* source, C_Surface* target, const C_Rect* viewport,
                          const C_Rect* clip, const DrawOptions& options, bool coverageOnly) {
  Inputs now;
  Gather(source, target, viewport, clip, options, coverageOnly, now);
  if (ready_ && kept_ && std::memcmp(&now, &began_, sizeof now) == 0) return true;
  if (!Begin(source, target, viewport, clip, options, coverageOnly)) return false;
  std::memcpy(&began_, &now, sizeof now);
  kept_ = true;
  return true;
}

bool SurfaceStamp::Begin(C_Surface* source, C_Surface* target, const C_Rect* viewport,
                         const C_Rect* clip, const DrawOptions& options, bool coverageOnly) {
  ready_ = false;
  kept_ = false;
  DrawSource from;
  RasterTarget to;
  if (!OpenDrawSource(source, from, coverageOnly) || !OpenDrawTarget(target, to)) return false;
  scaleX_ = options.Scale.X;
  scaleY_ = options.Scale.Y;
  if (!std::isfinite(scaleX_) || !std::isfinite(scaleY_) || !(scaleX_ > 0) || !(scaleY_ > 0))
    return false;
  Placement& p = *new (placement_) Placement();
  p.area = PixelRect{0, 0, from.width, from.height};
  p.bounds = ComputeBounds(to.color.Width, to.color.Height, viewport, clip);
  if (p.bounds.Empty()) return false;
  DrawOptions flat = options;
  flat.MirrorX = 0;
  flat.MirrorY = 0;
  flat.Angle = 0;
  if (from.color.image != nullptr) TakeColorKey(*source, flat);
  if (!PreparePlacement(from, to, flat, p)) return false;
  width_ = from.width;
  height_ = from.height;
  coverage_ = p.key.Family == SpanFamily::Blended && p.key.Tint && p.key.SourceAlpha &&
              !p.key.TargetMask && !p.key.MirrorX && from.color.image == nullptr;
  kernel_ = coverage_ ? ChooseCoverageKernel(p.job.Opacity) : nullptr;
  ready_ = true;
  return true;
}

void SurfaceStamp::Draw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, float x, float y,
                        C_Rect* dirty) {
  if (!ready_ || !std::isfinite(x) || !std::isfinite(y)) return;
  Placement& p = Job();
  p.area = PixelRect{std::max(x1, 0), std::max(y1, 0), std::min(x2, width_), std::min(y2, height_)};
  if (p.area.X1 >= p.area.X2 || p.area.Y1 >= p.area.Y2) return;
  p.job.X1 = p.area.X1;
  p.job.Y1 = p.area.Y1;
  p.job.X2 = p.area.X2;
  p.job.Y2 = p.area.Y2;
  p.x = x;
  p.y = y;
  if (scaleX_ != 1 || scaleY_ != 1) {
    PlaceScaled(p, scaleX_, scaleY_, dirty);
  } else if (coverage_ && dirty == nullptr) {
    StampCoverage(p.area.X1, p.area.Y1, p.area.X2, p.area.Y2, SaturateToInt(x), SaturateToInt(y));
  } else {
    PlaceCopy(p, dirty);
  }
}

void SurfaceStamp::StampCoverage(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x,
                                 int32_t y) {
  if (!CoverageStamp()) return;
  Placement& p = Job();
  const PixelRect& b = p.bounds;
  const int64_t cx1 = std::max<int64_t>(x, b.X1);
  const int64_t cx2 = std::min<int64_t>(int64_t{x} + (x2 - x1), b.X2);
  const int64_t cy1 = std::max<int64_t>(y, b.Y1);
  const int64_t cy2 = std::min<int64_t>(int64_t{y} + (y2 - y1), b.Y2);
  if (cx1 >= cx2 || cy1 >= cy2) return;
  const Box box{x1 + static_cast<int32_t>(cx1 - x), y1 + static_cast<int32_t>(cy1 - y),
                static_cast<int32_t>(cx2 - cx1),    static_cast<int32_t>(cy2 - cy1),
                static_cast<int32_t>(cx1),          static_cast<int32_t>(cy1)};
  kernel_(p.job, &box, 1);
}

void SurfaceStamp::StampCoverageBoxes(const CoverageBox* boxes, int32_t count) const {
  if (CoverageStamp() && count > 0) kernel_(Job().job, boxes, count);
}
