// SurfaceStamp: many draws of parts of one source surface onto one target with the
// same options, the way text puts glyph pictures from a page. The surfaces are
// decoded and the kernels chosen once in Begin; each Draw only places a rectangle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/raster/draw_options.h"

class C_Rect;
class C_Surface;
struct Placement;
struct DrawSource;

class SurfaceStamp {
 public:
  // Decodes source and target and prepares the draw: options' scale, tint,
  // opacity, colour key and effects apply; angle, mirroring, wrapping and the pivot
  // are not read. With coverageOnly and a source that has an 8-bit alpha image,
  // only that image is read and the tint is drawn through it (a text's colour
  // through a glyph's coverage). viewport and clip (either may be null) bound the
  // drawing; positions given to Draw are absolute target pixels. False when
  // nothing can be drawn: a surface that cannot be decoded (errors as DrawSurface
  // records them), empty bounds, a scale that is not > 0 or an opacity of 0.
  bool Begin(C_Surface* source, C_Surface* target, const C_Rect* viewport, const C_Rect* clip,
             const DrawOptions& options, bool coverageOnly);

  // Draws source pixels x1 <= x < x2, y1 <= y < y2 (cut to the source image) with
  // their top-left corner at (x, y). Nothing happens before a successful Begin or
  // for a position that is not finite. dirty (may be null) grows over the pixels.
  void Draw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, float x, float y, C_Rect* dirty);

  bool Ready() const { return ready_; }

  // True after a Begin whose draws are the tint through coverage alone at scale 1,
  // the common glyph: such a stamp may be drawn with StampCoverage.
  bool CoverageStamp() const { return ready_ && coverage_ && scaleX_ == 1 && scaleY_ == 1; }
  // As Draw for a CoverageStamp at the whole-pixel position (x, y), without dirty
  // rectangle: source pixels x1 <= x < x2, y1 <= y < y2, which the caller keeps
  // inside the source image. Nothing happens on a stamp that is not one.
  void StampCoverage(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x, int32_t y);
  // StampCoverage for a rectangle the caller has placed wholly inside the bounds
  // (x >= bounds' left, x + x2 - x1 <= bounds' right, and the same for y): nothing
  // is clipped, so the caller's check is the only one. Only for a CoverageStamp.
  void StampCoverageInside(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x,
                           int32_t y) const;

  // The rows of one coverage stamp, as the kernels take them.
  struct CoverageRows;

 private:
  using CoverageKernel = void (*)(const CoverageRows&);
  Placement& Job();
  const Placement& Job() const;

  // The draw's placement, held here so that a stamp allocates nothing.
  static constexpr size_t kPlacementBytes = 384;
  alignas(8) unsigned char placement_[kPlacementBytes];
  int32_t width_ = 0;  // of the source image drawn from
  int32_t height_ = 0;
  float scaleX_ = 1;
  float scaleY_ = 1;
  bool ready_ = false;
  bool coverage_ = false;            // the tint through coverage alone, onto a target without mask
  CoverageKernel kernel_ = nullptr;  // chosen in Begin for a coverage stamp
};
