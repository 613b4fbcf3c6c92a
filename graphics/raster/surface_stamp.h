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
struct SpanJob;

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
  // Begin, unless the last Begin of this stamp succeeded with the same arguments
  // and the surfaces still show the same images (the same buffers, sizes, pitches
  // and formats) and colour key: then the stamp is kept, being what Begin would
  // prepare again. For a stamp kept from one run of draws to the next.
  bool Resume(C_Surface* source, C_Surface* target, const C_Rect* viewport, const C_Rect* clip,
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
  // A rectangle of coverage for StampCoverageBoxes: width x height source pixels
  // from (sourceX, sourceY), their top-left corner at the target pixel (x, y).
  struct CoverageBox {
    int32_t sourceX, sourceY, width, height, x, y;
  };
  // StampCoverage of each box in turn, for boxes the caller has placed wholly
  // inside the bounds and the source image, each at least one pixel wide and
  // high: nothing is clipped, so the caller's checks are the only ones. Only for a
  // CoverageStamp.
  void StampCoverageBoxes(const CoverageBox* boxes, int32_t count) const;

  using CoverageKernel = void (*)(const SpanJob& job, const CoverageBox* boxes, int32_t count);

 private:
  // What Begin reads of an image. Plain values without initialisers, so that a
  // stamp costs nothing to make: they mean something only while kept_, and are
  // compared as bytes.
  struct ImageFacts {
    const void* image;
    const void* pixels;
    int32_t width, height, pitch, format, bytes;
    uint8_t bottomUp;
  };
  // What the last successful Begin through Resume was given and read.
  struct Inputs {
    const C_Surface* source;
    const C_Surface* target;
    ImageFacts images[4];  // source colour and alpha, target colour and mask
    float bounds[8];       // viewport, clip: 0 where there was none
    uint8_t given;         // 1: a viewport, 2: a clip
    float drawing[19];     // scale x and y, opacity; colour key, tint, offset, contrast
    int32_t smooth;
    uint8_t uses[4];  // colour key (the source's own when it has one), tint, offset, contrast
    bool coverageOnly;
  };
  static void Gather(C_Surface* source, C_Surface* target, const C_Rect* viewport,
                     const C_Rect* clip, const DrawOptions& options, bool coverageOnly,
                     Inputs& inputs);
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
  Inputs began_;                     // what Resume began with, while kept_
  bool kept_ = false;
};
