// DrawSurface: places the pivot, then draws once, or up to nine times when the
// image wraps around the drawing bounds.
#include "graphics/raster/draw_surface.h"

#include "graphics/geometry/resolve.h"
#include "graphics/raster/internal/draw_single.h"
#include "image/surface.h"

namespace {

// position + offset, keeping position's anchor (it still resolves against the viewport).
C_Vector2D Offset(const C_Vector2D& position, const C_Vector2D& offset) {
  return C_Vector2D(position.X + offset.X, position.Y + offset.Y, position.Anchor);
}

}  // namespace

bool DrawOverwrites(C_Surface* source, C_Surface* target, const DrawOptions& options) {
  if (options.Angle != 0 || options.WrapX != 0 || options.WrapY != 0) return false;
  DrawSource from;
  RasterTarget to;
  if (!OpenDrawSource(source, from) || !OpenDrawTarget(target, to)) return false;
  DrawOptions keyed = options;
  TakeColorKey(*source, keyed);  // as the draw does
  return ChooseFamily(from, to, keyed) == SpanFamily::Plain;
}

bool DrawSurface(C_Surface* source, C_Surface* target, const C_Rect* sourceRect,
                 const C_Rect* viewport, const C_Rect* clip, const C_Vector2D& position,
                 DrawOptions* options, C_Rect* dirtyRect) {
  if (options == nullptr) {
    DrawOptions defaults;
    return DrawOnce(source, target, sourceRect, viewport, clip, position, defaults, dirtyRect);
  }
  DrawOptions& o = *options;
  if (o.MirrorX == 0 && o.MirrorY == 0 && o.WrapX == 0 && o.WrapY == 0 && o.Pivot.Anchor == 0) {
    C_Vector2D offset(-o.Pivot.X * o.Scale.X, -o.Pivot.Y * o.Scale.Y);
    offset.RotateDegrees(o.Angle);
    return DrawOnce(source, target, sourceRect, viewport, clip, Offset(position, offset), o,
                    dirtyRect);
  }

  // The pivot may be anchored to the selected rectangle, and mirroring measures it
  // from the far edge, so the rectangle's size is needed first.
  DrawSource from;
  RasterTarget to;
  if (!OpenDrawSource(source, from) || !OpenDrawTarget(target, to)) return false;
  PixelRect area;
  if (!ResolveSourceArea(*source, from.width, from.height, sourceRect, area)) return true;
  const float w = static_cast<float>(area.X2 - area.X1);
  const float h = static_cast<float>(area.Y2 - area.Y1);
  C_Vector2D pivot = o.Pivot;
  ResolvePoint(pivot, C_Rect(0.0f, 0.0f, w, h, 0, 0));
  C_Vector2D offset(o.MirrorX ? -(w - pivot.X) * o.Scale.X : -pivot.X * o.Scale.X,
                    o.MirrorY ? -(h - pivot.Y) * o.Scale.Y : -pivot.Y * o.Scale.Y);
  offset.RotateDegrees(o.Angle);
  const C_Vector2D at = Offset(position, offset);

  const PixelRect bounds = ComputeBounds(to.color.Width, to.color.Height, viewport, clip);
  if (bounds.Empty()) return true;
  // The copies sit one bounds-width (height) to either side, so that what leaves
  // one edge of the viewport comes back at the other.
  const float width = static_cast<float>(bounds.X2 - bounds.X1);
  const float height = static_cast<float>(bounds.Y2 - bounds.Y1);
  const int spanX = o.WrapX ? 1 : 0;
  const int spanY = o.WrapY ? 1 : 0;
  bool ok = true;
  for (int j = -spanY; j <= spanY; ++j) {
    for (int i = -spanX; i <= spanX; ++i) {
      const C_Vector2D copy(at.X + static_cast<float>(i) * width,
                            at.Y + static_cast<float>(j) * height, at.Anchor);
      ok = DrawOnce(source, target, sourceRect, viewport, clip, copy, o, dirtyRect) && ok;
    }
  }
  return ok;
}
