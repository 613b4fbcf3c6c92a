#include "font/internal/glyph_painter.h"

#include <cmath>

#include "core/numeric.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/text_format.h"
#include "graphics/geometry/anchor.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

namespace {

// The page image a picture is cut from: its coverage, else its colour image.
const C_Image* PageImage(const C_Surface& page) {
  const C_Image* image = page.FindImage(kAlphaChannel);
  if (image == nullptr) image = page.FindImage(kColorChannel);
  return image;
}

// A source rectangle of whole pixels inside the page image; anything else (a
// corrupt or foreign font) leaves the glyph undrawn.
bool SourceInside(const C_Rect& source, const C_Image& image) {
  return source.X1 >= 0 && source.Y1 >= 0 && source.X1 < source.X2 && source.Y1 < source.Y2 &&
         source.X2 <= static_cast<float>(image.Width) &&
         source.Y2 <= static_cast<float>(image.Height);
}

}  // namespace

GlyphPainter::GlyphPainter(C_Font& font, C_Surface* target, const RasterBounds& bounds,
                           const C_Color& color, float scale, float size,
                           const C_TextFormat& format)
    : font_(font),
      target_(target),
      bounds_(bounds),
      boundsRect_(bounds.x1, bounds.y1, bounds.x2, bounds.y2),
      scale_(scale),
      size_(size),
      format_(format) {
  options_.Scale = C_Vector2D(scale, scale);
  options_.Tint = C_Color(color.Red, color.Green, color.Blue, color.Alpha);
  options_.UseTint = 1;
  options_.Opacity = color.Alpha;
}

GlyphPainter::Page* GlyphPainter::FindPage(uint32_t index, C_Surface* surface) {
  for (Page& page : pages_) {
    if (page.index == index) return &page;
  }
  Page& page = pages_.emplace_back();
  page.index = index;
  page.usable = page.stamp.Begin(surface, target_, nullptr, &boundsRect_, options_, true);
  return &page;
}

void GlyphPainter::Draw(const C_BitmapGlyph& variant, float penX, float lineTop, int32_t index,
                        uint8_t code, const float* wrapX, const float* wrapY) {
  if (variant.PixelSize == 0 || target_ == nullptr) return;
  C_Surface* page = font_.PageAt(variant.Page);
  const C_Image* image = page != nullptr ? PageImage(*page) : nullptr;
  if (image == nullptr || !SourceInside(variant.Source, *image)) return;

  const float w = variant.Source.X2 - variant.Source.X1;
  const float h = variant.Source.Y2 - variant.Source.Y1;
  const float hw = std::trunc(w * 0.5f);
  const float hh = std::trunc(h * 0.5f);
  // The picture's centre: its left edge Offset.x x scale right of the pen, its top
  // Offset.y x scale above the baseline.
  float cx = std::trunc(penX + (variant.Offset.X + hw) * scale_);
  float cy = lineTop + (hh - variant.Offset.Y) * scale_ + size_;
  if (wrapX != nullptr) cx = wrapX[0] + WrapCoordinate(cx - wrapX[0], wrapX[1]);
  if (wrapY != nullptr) cy = wrapY[0] + WrapCoordinate(cy - wrapY[0], wrapY[1]);

  if (format_.GlyphHook != nullptr) {
    DrawHooked(page, variant, cx, cy, index, code);
    return;
  }
  const float left = cx - hw * scale_;
  const float top = cy - hh * scale_;
  // Glyphs wholly outside the bounds cost nothing more.
  if (!(left < static_cast<float>(bounds_.x2) && top < static_cast<float>(bounds_.y2) &&
        left + w * scale_ > static_cast<float>(bounds_.x1) &&
        top + h * scale_ > static_cast<float>(bounds_.y1))) {
    return;
  }
  Page* drawn = FindPage(variant.Page, page);
  if (!drawn->usable) return;
  drawn->stamp.Draw(static_cast<int32_t>(variant.Source.X1),
                    static_cast<int32_t>(variant.Source.Y1),
                    static_cast<int32_t>(variant.Source.X2),
                    static_cast<int32_t>(variant.Source.Y2), left, top, nullptr);
}

void GlyphPainter::DrawHooked(C_Surface* page, const C_BitmapGlyph& variant, float cx, float cy,
                              int32_t index, uint8_t code) {
  GlyphPlacement placement;
  placement.Position = C_Vector2D(cx, cy);
  placement.Options = options_;
  placement.Options.Pivot = C_Vector2D(std::trunc((variant.Source.X2 - variant.Source.X1) * 0.5f),
                                       std::trunc((variant.Source.Y2 - variant.Source.Y1) * 0.5f));
  placement.Index = index;
  placement.Code = code;
  placement.Data = format_.HookData;
  format_.GlyphHook(placement);
  const C_Rect source(variant.Source.X1, variant.Source.Y1, variant.Source.X2, variant.Source.Y2,
                      kAnchorResolved, kAnchorResolved);
  ::DrawSurface(page, target_, &source, nullptr, &boundsRect_, placement.Position,
                &placement.Options, nullptr);
}
