// BlitSurface: a part of a surface stretched into a destination rectangle, or
// tiled across it along the wrapped axes.
#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "graphics/raster/draw_surface.h"
#include "graphics/raster/internal/draw_single.h"
#include "image/surface.h"

namespace {

// The first tile edge at or before `from` of a pattern with tiles of `size` whose
// edges include `origin`. fmod keeps it exact however far the origin lies.
double FirstTile(double from, double origin, double size) {
  double phase = std::fmod(from - origin, size);
  if (phase < 0) phase += size;
  return from - phase;
}

}  // namespace

bool BlitSurface(C_Surface* source, C_Surface* target, const C_Rect* sourceRect,
                 const C_Rect* viewport, const C_Rect* clip, const C_Rect& destination,
                 const C_Vector2D& position, float /*reserved*/, const DrawOptions* options,
                 C_Rect* dirtyRect) {
  DrawOptions o = options != nullptr ? *options : DrawOptions();
  DrawSource from;
  RasterTarget to;
  if (!OpenDrawSource(source, from) || !OpenDrawTarget(target, to)) return false;

  const C_Rect whole(0.0f, 0.0f, static_cast<float>(to.color.Width),
                     static_cast<float>(to.color.Height), 0, 0);
  C_Rect dest = destination;
  ResolveRect(dest, viewport != nullptr ? *viewport : whole, nullptr, nullptr);
  dest.X1 += position.X;
  dest.X2 += position.X;
  dest.Y1 += position.Y;
  dest.Y2 += position.Y;
  const float dw = dest.X2 - dest.X1;
  const float dh = dest.Y2 - dest.Y1;
  if (!(dw > 0) || !(dh > 0) || !std::isfinite(dw) || !std::isfinite(dh)) return true;

  PixelRect area;
  if (!ResolveSourceArea(*source, from.width, from.height, sourceRect, area)) return true;
  const float sw = static_cast<float>(area.X2 - area.X1);
  const float sh = static_cast<float>(area.Y2 - area.Y1);
  const C_Rect part(static_cast<float>(area.X1), static_cast<float>(area.Y1),
                    static_cast<float>(area.X2), static_cast<float>(area.Y2), kAnchorResolved,
                    kAnchorResolved);

  // Nothing may land outside the destination: it joins the clip.
  C_Rect limit(dest.X1, dest.Y1, dest.X2, dest.Y2, 0, 0);
  if (clip != nullptr) {
    limit.X1 = std::max(limit.X1, clip->X1);
    limit.Y1 = std::max(limit.Y1, clip->Y1);
    limit.X2 = std::min(limit.X2, clip->X2);
    limit.Y2 = std::min(limit.Y2, clip->Y2);
  }

  if (o.WrapX == 0 && o.WrapY == 0) {
    // Stretched: the pivot is a point of the destination; the image turns about it.
    o.Scale = C_Vector2D(dw / sw, dh / sh);
    C_Vector2D pivot = o.Pivot;
    ResolvePoint(pivot, C_Rect(0.0f, 0.0f, dw, dh, 0, 0));
    o.Pivot = C_Vector2D(pivot.X / o.Scale.X, pivot.Y / o.Scale.Y);
    const C_Vector2D at(o.MirrorX ? dest.X2 - pivot.X : dest.X1 + pivot.X,
                        o.MirrorY ? dest.Y2 - pivot.Y : dest.Y1 + pivot.Y, kAnchorResolved);
    return DrawSurface(source, target, &part, viewport, &limit, at, &o, dirtyRect);
  }

  // Tiled: a wrapped axis keeps the options' scale, the other fills the destination.
  const float scaleX = o.WrapX ? o.Scale.X : std::max(dw / sw, 1.0f / sw);
  const float scaleY = o.WrapY ? o.Scale.Y : std::max(dh / sh, 1.0f / sh);
  if (!(scaleX > 0) || !(scaleY > 0) || !std::isfinite(scaleX) || !std::isfinite(scaleY)) {
    return true;
  }
  const double tileW = std::trunc(static_cast<double>(sw * scaleX));
  const double tileH = std::trunc(static_cast<double>(sh * scaleY));
  if (!(tileW >= 1) || !(tileH >= 1)) return true;
  C_Vector2D pivot = o.Pivot;
  ResolvePoint(pivot,
               C_Rect(0.0f, 0.0f, static_cast<float>(tileW), static_cast<float>(tileH), 0, 0));
  const double originX = dest.X1 + WrapCoordinate(pivot.X, static_cast<float>(tileW));
  const double originY = dest.Y1 + WrapCoordinate(pivot.Y, static_cast<float>(tileH));
  if (!std::isfinite(originX) || !std::isfinite(originY)) return true;

  // Only tiles that meet the drawable part of the destination are drawn.
  const PixelRect visible = ComputeBounds(to.color.Width, to.color.Height, viewport, &limit);
  if (visible.Empty()) return true;
  DrawOptions tile = o;
  tile.Scale = C_Vector2D(scaleX, scaleY);
  tile.Pivot = C_Vector2D();
  tile.Angle = 0;
  tile.WrapX = 0;
  tile.WrapY = 0;
  const double firstX = FirstTile(visible.X1, originX, tileW);
  const double firstY = FirstTile(visible.Y1, originY, tileH);
  bool ok = true;
  for (double y = firstY; y < visible.Y2; y += tileH) {
    for (double x = firstX; x < visible.X2; x += tileW) {
      const C_Vector2D at(static_cast<float>(x), static_cast<float>(y), kAnchorResolved);
      ok = DrawOnce(source, target, &part, viewport, &limit, at, tile, dirtyRect) && ok;
    }
  }
  return ok;
}
