// GlyphPainter: draws the glyph pictures of one text. Everything that is the same
// for every glyph (bounds, options with the text colour, each page decoded with
// its kernels chosen) is set up once; a glyph is then one placed blit.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/draw_options.h"
#include "graphics/raster/raster_target.h"
#include "graphics/raster/surface_stamp.h"

class C_BitmapGlyph;
class C_Font;
class C_Surface;
class C_TextFormat;

class GlyphPainter {
 public:
  // bounds: the pixels the text may touch (viewport and clip already applied).
  GlyphPainter(C_Font& font, C_Surface* target, const RasterBounds& bounds, const C_Color& color,
               float scale, float size, const C_TextFormat& format);

  // Draws variant for the pen at penX on the line whose baseline is lineTop + size.
  // wrap (either may be null) folds the picture's centre into [start, start + length).
  void Draw(const C_BitmapGlyph& variant, float penX, float lineTop, int32_t index, uint8_t code,
            const float* wrapX, const float* wrapY);

 private:
  struct Page {
    uint32_t index = 0;
    SurfaceStamp stamp;
    bool usable = false;
  };
  Page* FindPage(uint32_t index, C_Surface* surface);
  void DrawHooked(C_Surface* page, const C_BitmapGlyph& variant, float cx, float cy, int32_t index,
                  uint8_t code);

  C_Font& font_;
  C_Surface* target_;
  RasterBounds bounds_;
  C_Rect boundsRect_;
  DrawOptions options_;
  float scale_;
  float size_;
  const C_TextFormat& format_;
  std::vector<Page> pages_;  // pages met so far; a text seldom uses more than one
};
