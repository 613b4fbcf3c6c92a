#include "graphics/raster/surface_stamp.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "graphics/raster/internal/draw_single.h"

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
  } else {
    PlaceCopy(p, dirty);
  }
}
