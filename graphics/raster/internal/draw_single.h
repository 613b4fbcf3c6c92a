// One draw of a surface: decoding both surfaces, the per-draw setup of the span
// job and the three placements (unscaled, scaled, rotated). DrawSurface and
// BlitSurface are built from it.
#pragma once

#include <cstdint>

#include "core/vector2d.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/draw_options.h"
#include "graphics/raster/internal/span_kernels.h"
#include "graphics/raster/raster_target.h"

class C_Surface;

// A source surface as image drawing reads it.
struct DrawSource {
  RasterImage color;  // 32-bit colour image; absent for an alpha-only source
  RasterImage alpha;  // 8-bit alpha image covering the colour image, or absent
  int32_t width = 0;  // of the colour image, or of the alpha image when alone
  int32_t height = 0;
};

// The image a source surface's channel is drawn from: its display copy when the
// drawing interface made one, else its own image; null without the channel.
C_Image* DrawableImage(const C_Surface* surface, int32_t key);

// Decodes the source. False when it has neither image (nothing recorded), and with
// ErrorNoFormat then -1 when the colour image is not 32-bit with 8-bit colour channels or
// the alpha image is not 8-bit or does not cover the colour image.
// With coverageOnly and an alpha image present, the colour image is left out (the
// draw paints its tint through the alpha image).
bool OpenDrawSource(C_Surface* surface, DrawSource& source, bool coverageOnly = false);

// Decodes the target for image drawing: as OpenRasterTarget, and ErrorNoFormat then -1 when
// the colour image is not a 32-bit format with 8-bit colour channels.
bool OpenDrawTarget(C_Surface* surface, RasterTarget& target);

// The integer source rectangle: rect (null = the whole image) resolved against the
// image with the surface's frame grid, truncated and clipped to the image. False
// when nothing of it remains.
bool ResolveSourceArea(const C_Surface& surface, int32_t width, int32_t height, const C_Rect* rect,
                       PixelRect& area);

// One draw's span job, kernels, bounds, source rectangle and resolved position.
struct Placement {
  SpanJob job;
  SpanSet spans;
  SpanKey key;
  PixelRect bounds;
  PixelRect area;
  float x = 0, y = 0;  // resolved position
  bool mirrorX = false, mirrorY = false;
};

// The span family a draw of source onto target with options takes.
SpanFamily ChooseFamily(const DrawSource& source, const RasterTarget& target,
                        const DrawOptions& options);
// Fills the job from the decoded surfaces, the options and p.area, and picks the
// kernels. False when the draw leaves nothing to do (opacity not above 0).
bool PreparePlacement(const DrawSource& source, const RasterTarget& target,
                      const DrawOptions& options, Placement& p);
// Unscaled: the source area with its top-left corner at the truncated position.
void PlaceCopy(Placement& p, C_Rect* dirty);
// Scaled by (sx, sy), both > 0 and finite, from the position.
void PlaceScaled(Placement& p, float sx, float sy, C_Rect* dirty);

// The colour key a surface carries in its Extra, or null.
const C_Color* SourceColorKey(const C_Surface& surface);

// Copies the surface's colour key (Extra, when it is a C_Color) into options.
void TakeColorKey(const C_Surface& surface, DrawOptions& options);

// One draw at position (anchors against the viewport, or the whole target), the
// pivot already applied by the caller.
bool DrawOnce(C_Surface* source, C_Surface* target, const C_Rect* sourceRect,
              const C_Rect* viewport, const C_Rect* clip, const C_Vector2D& position,
              DrawOptions& options, C_Rect* dirtyRect);

// f64 to int64 truncating toward zero, saturated at +-2^60; NaN gives 0. Kept well
// inside int64 so that fixed-point sums and products of span lengths never overflow.
int64_t SaturateToFixed(double value);
