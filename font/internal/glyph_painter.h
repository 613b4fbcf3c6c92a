// GlyphPainter: draws the glyph pictures of one text. Everything that is the same
// for every glyph (bounds, options with the text colour, each page decoded with
// its kernels chosen, each code's picture checked and its placement precomputed)
// is set up once; a glyph is then one placed blit.
#pragma once

#include <cstdint>
#include <vector>

#include "font/internal/code_set.h"
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
  // wrapX and wrapY (either may be null) fold every picture's centre into [start,
  // start + length).
  GlyphPainter(C_Font& font, C_Surface* target, const PixelRect& bounds, const C_Color& color,
               float scale, float size, const C_TextFormat& format, const float* wrapX,
               const float* wrapY);

  // Draws the picture of variant, the chosen variant of the drawn code, for the pen
  // at penX on the line whose baseline is lineTop + size. Which way glyphs are drawn
  // is chosen once for the text: a plain stamp, or folded and shown to the hook.
  void Draw(const C_BitmapGlyph& variant, uint8_t code, float penX, float lineTop, int32_t index) {
    (this->*draw_)(variant, code, penX, lineTop, index);
  }

 private:
  struct Page {
    uint32_t index = 0;
    C_Surface* surface = nullptr;
    int32_t width = 0;  // of the image pictures are cut from; 0 when there is none
    int32_t height = 0;
    SurfaceStamp stamp;
    bool usable = false;
    bool coverage = false;  // stamped through coverage at whole pixels
  };
  // One code's picture as this text draws it; set on the code's first draw.
  struct Picture {
    bool drawable;  // a page exists and the rectangle lies on it
    int32_t page;   // PageAt index
    int32_t x1, y1, x2, y2;
    float toCentreX;  // (Offset.x + hw) x scale: pen to the centre
    float toCentreY;  // (hh - Offset.y) x scale + size: line top to the centre
    float halfW;      // hw x scale, hh x scale: centre to the top-left corner
    float halfH;
    float width;  // w x scale, h x scale
    float height;
  };
  using DrawFunction = void (GlyphPainter::*)(const C_BitmapGlyph&, uint8_t, float, float, int32_t);
  void DrawPlain(const C_BitmapGlyph& variant, uint8_t code, float penX, float lineTop,
                 int32_t index);
  void DrawFolded(const C_BitmapGlyph& variant, uint8_t code, float penX, float lineTop,
                  int32_t index);
  // The code's picture, set on its first draw in this text.
  const Picture& PictureOf(const C_BitmapGlyph& variant, uint8_t code) {
    Picture& picture = pictures_[code];
    if (known_.Add(code)) Prepare(variant, picture);
    return picture;
  }
  void Prepare(const C_BitmapGlyph& variant, Picture& picture);
  // The picture with its top-left corner at (left, top), unless wholly outside.
  void Stamp(const Picture& picture, float left, float top);
  int32_t FindPage(uint32_t index);  // -1 when the font has no such page
  void DrawHooked(const Picture& picture, float cx, float cy, int32_t index, uint8_t code);

  C_Font& font_;
  C_Surface* target_;
  PixelRect bounds_;
  C_Rect boundsRect_;  // the same as floats
  DrawOptions options_;
  float scale_;
  float size_;
  const C_TextFormat& format_;
  const float* wrapX_;
  const float* wrapY_;
  DrawFunction draw_;
  // Pages met so far: the first few in the painter itself, so that drawing a text
  // allocates nothing; a text seldom uses more than one.
  static constexpr int32_t kInlinePages = 4;
  Page& PageAt(int32_t i) {
    return i < kInlinePages ? inlinePages_[i] : morePages_[i - kInlinePages];
  }
  Page inlinePages_[kInlinePages];
  std::vector<Page> morePages_;
  int32_t pageCount_ = 0;
  CodeSet known_;          // codes whose picture is set
  Picture pictures_[256];  // by drawn code
};
