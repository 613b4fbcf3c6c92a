#include "graphics/raster/surface_stamp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "graphics/raster/internal/draw_single.h"
#include "graphics/raster/internal/span_pixels.h"

namespace {

// The tint through an 8-bit coverage image, unscaled, onto a target without mask:
// the common glyph. The same arithmetic as the blended tinted span kernel (weight
// b = opacity x a >> 8, 255 counting as 256), over the whole rectangle in one
// loop, passing over runs of empty coverage eight pixels at a time.
using span::AlphaRow;
using span::MixPixel;
using span::TargetRow;

void StampCoverage(const Placement& p, int32_t dx, int32_t dy, int32_t x1, int32_t y1, int32_t x2,
                   int32_t y2) {
  const SpanJob& job = p.job;
  const uint32_t opacity = static_cast<uint32_t>(job.Opacity);
  const uint32_t tint = job.TintOnTarget;
  const uint32_t colorMask = job.TargetColorMask;
  const int32_t count = x2 - x1;
  for (int32_t y = y1; y < y2; ++y) {
    uint32_t* target = TargetRow(job, y) + x1;
    const uint8_t* alpha = AlphaRow(job, p.area.y1 + (y - dy)) + p.area.x1 + (x1 - dx);
    int32_t i = 0;
    while (i < count) {
      if (i + 8 <= count) {
        uint64_t eight;
        std::memcpy(&eight, alpha + i, sizeof eight);
        if (eight == 0) {
          i += 8;
          continue;
        }
      }
      const uint32_t a = alpha[i];
      if (a != 0) {
        const uint32_t b = (opacity * a) >> 8;
        target[i] = MixPixel(target[i], tint, b + (b == 255), colorMask);
      }
      ++i;
    }
  }
}

}  // namespace

SurfaceStamp::SurfaceStamp() = default;
SurfaceStamp::~SurfaceStamp() = default;
SurfaceStamp::SurfaceStamp(SurfaceStamp&&) noexcept = default;
SurfaceStamp& SurfaceStamp::operator=(SurfaceStamp&&) noexcept = default;

bool SurfaceStamp::Begin(C_Surface* source, C_Surface* target, const C_Rect* viewport,
                         const C_Rect* clip, const DrawOptions& options, bool coverageOnly) {
  ready_ = false;
  DrawSource from;
  RasterTarget to;
  if (!OpenDrawSource(source, from, coverageOnly) || !OpenDrawTarget(target, to)) return false;
  scaleX_ = options.Scale.X;
  scaleY_ = options.Scale.Y;
  if (!std::isfinite(scaleX_) || !std::isfinite(scaleY_) || !(scaleX_ > 0) || !(scaleY_ > 0))
    return false;
  if (!placement_) {
    placement_.reset(new (std::nothrow) Placement());
    if (!placement_) return false;
  }
  Placement& p = *placement_;
  p = Placement{};
  p.area = SourceArea{0, 0, from.width, from.height};
  p.bounds = ComputeBounds(to.color.width, to.color.height, viewport, clip);
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
  ready_ = true;
  return true;
}

void SurfaceStamp::Draw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, float x, float y,
                        C_Rect* dirty) {
  if (!ready_ || !std::isfinite(x) || !std::isfinite(y)) return;
  Placement& p = *placement_;
  p.area =
      SourceArea{std::max(x1, 0), std::max(y1, 0), std::min(x2, width_), std::min(y2, height_)};
  if (p.area.x1 >= p.area.x2 || p.area.y1 >= p.area.y2) return;
  p.job.X1 = p.area.x1;
  p.job.Y1 = p.area.y1;
  p.job.X2 = p.area.x2;
  p.job.Y2 = p.area.y2;
  p.x = x;
  p.y = y;
  if (scaleX_ != 1 || scaleY_ != 1) {
    PlaceScaled(p, scaleX_, scaleY_, dirty);
  } else if (coverage_ && dirty == nullptr) {
    const int32_t dx = SaturateToInt(x);
    const int32_t dy = SaturateToInt(y);
    const RasterBounds& b = p.bounds;
    const int64_t cx1 = std::max<int64_t>(dx, b.x1);
    const int64_t cx2 = std::min<int64_t>(int64_t{dx} + (p.area.x2 - p.area.x1), b.x2);
    const int64_t cy1 = std::max<int64_t>(dy, b.y1);
    const int64_t cy2 = std::min<int64_t>(int64_t{dy} + (p.area.y2 - p.area.y1), b.y2);
    if (cx1 < cx2 && cy1 < cy2) {
      StampCoverage(p, dx, dy, static_cast<int32_t>(cx1), static_cast<int32_t>(cy1),
                    static_cast<int32_t>(cx2), static_cast<int32_t>(cy2));
    }
  } else {
    PlaceCopy(p, dirty);
  }
}
