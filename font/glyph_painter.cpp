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
bool SourceInside(const C_Rect& source, int32_t width, int32_t height) {
  return source.X1 >= 0 && source.Y1 >= 0 && source.X1 < source.X2 && source.Y1 < source.Y2 &&
         source.X2 <= static_cast<float>(width) && source.Y2 <= static_cast<float>(height);
}

}  // namespace

GlyphPainter::GlyphPainter(C_Font& font, C_Surface* target, const PixelRect& bounds,
                           const C_Color& color, float scale, float size,
                           const C_TextFormat& format, const float* wrapX, const float* wrapY)
    : font_(font),
      target_(target),
      bounds_(bounds),
      boundsRect_(bounds.X1, bounds.Y1, bounds.X2, bounds.Y2),
      scale_(scale),
      size_(size),
      format_(format),
      wrapX_(wrapX),
      wrapY_(wrapY),
      draw_(format.GlyphHook == nullptr && wrapX == nullptr && wrapY == nullptr
                ? &GlyphPainter::DrawPlain
                : &GlyphPainter::DrawFolded) {
  options_.Scale = C_Vector2D(scale, scale);
  options_.Tint = C_Color(color.Red, color.Green, color.Blue, color.Alpha);
  options_.UseTint = 1;
  options_.Opacity = color.Alpha;
}

int32_t GlyphPainter::FindPage(uint32_t index) {
  for (int32_t i = 0; i < pageCount_; ++i) {
    if (PageAt(i).index == index) return i;
  }
  C_Surface* surface = font_.PageAt(index);
  if (surface == nullptr) return -1;
  Page& page = pageCount_ < kInlinePages ? inlinePages_[pageCount_] : morePages_.emplace_back();
  ++pageCount_;
  page.index = index;
  page.surface = surface;
  if (const C_Image* image = PageImage(*surface)) {
    page.width = image->Width;
    page.height = image->Height;
  }
  page.usable = page.stamp.Begin(surface, target_, nullptr, &boundsRect_, options_, true);
  page.coverage = page.stamp.CoverageStamp();
  return pageCount_ - 1;
}

void GlyphPainter::Prepare(const C_BitmapGlyph& variant, Picture& picture) {
  picture.drawable = false;
  if (variant.PixelSize == 0 || target_ == nullptr) return;
  picture.page = FindPage(variant.Page);
  if (picture.page < 0) return;
  const Page& page = PageAt(picture.page);
  const C_Rect& source = variant.Source;
  if (!SourceInside(source, page.width, page.height)) return;
  picture.x1 = static_cast<int32_t>(source.X1);
  picture.y1 = static_cast<int32_t>(source.Y1);
  picture.x2 = static_cast<int32_t>(source.X2);
  picture.y2 = static_cast<int32_t>(source.Y2);
  const float w = source.X2 - source.X1;
  const float h = source.Y2 - source.Y1;
  const float hw = std::trunc(w * 0.5f);
  const float hh = std::trunc(h * 0.5f);
  // The picture's left edge lies Offset.x x scale right of the pen and its top
  // Offset.y x scale above the baseline.
  picture.toCentreX = (variant.Offset.X + hw) * scale_;
  picture.toCentreY = (hh - variant.Offset.Y) * scale_ + size_;
  picture.halfW = hw * scale_;
  picture.halfH = hh * scale_;
  picture.width = w * scale_;
  picture.height = h * scale_;
  picture.drawable = true;
}

void GlyphPainter::DrawPlain(const C_BitmapGlyph& variant, uint8_t code, float penX, float lineTop,
                             int32_t /*index*/) {
  const Picture& picture = PictureOf(variant, code);
  if (!picture.drawable) return;
  Stamp(picture, std::trunc(penX + picture.toCentreX) - picture.halfW,
        lineTop + picture.toCentreY - picture.halfH);
}

void GlyphPainter::DrawFolded(const C_BitmapGlyph& variant, uint8_t code, float penX, float lineTop,
                              int32_t index) {
  const Picture& picture = PictureOf(variant, code);
  if (!picture.drawable) return;
  float cx = std::trunc(penX + picture.toCentreX);
  float cy = lineTop + picture.toCentreY;
  if (wrapX_ != nullptr) cx = wrapX_[0] + WrapCoordinate(cx - wrapX_[0], wrapX_[1]);
  if (wrapY_ != nullptr) cy = wrapY_[0] + WrapCoordinate(cy - wrapY_[0], wrapY_[1]);
  if (format_.GlyphHook != nullptr) {
    DrawHooked(picture, cx, cy, index, code);
    return;
  }
  Stamp(picture, cx - picture.halfW, cy - picture.halfH);
}

void GlyphPainter::Stamp(const Picture& picture, float left, float top) {
  // Glyphs wholly outside the bounds cost nothing more.
  if (!(left < boundsRect_.X2 && top < boundsRect_.Y2 && left + picture.width > boundsRect_.X1 &&
        top + picture.height > boundsRect_.Y1)) {
    return;
  }
  Page& page = PageAt(picture.page);
  // Inside the bounds both edges are finite and small, so they truncate as ints.
  if (page.coverage) {
    page.stamp.StampCoverage(picture.x1, picture.y1, picture.x2, picture.y2,
                             static_cast<int32_t>(left), static_cast<int32_t>(top));
  } else if (page.usable) {
    page.stamp.Draw(picture.x1, picture.y1, picture.x2, picture.y2, left, top, nullptr);
  }
}

void GlyphPainter::DrawHooked(const Picture& picture, float cx, float cy, int32_t index,
                              uint8_t code) {
  GlyphPlacement placement;
  placement.Position = C_Vector2D(cx, cy);
  placement.Options = options_;
  placement.Options.Pivot =
      C_Vector2D(std::trunc(static_cast<float>(picture.x2 - picture.x1) * 0.5f),
                 std::trunc(static_cast<float>(picture.y2 - picture.y1) * 0.5f));
  placement.Index = index;
  placement.Code = code;
  placement.Data = format_.HookData;
  format_.GlyphHook(placement);
  const DrawOptions& o = placement.Options;
  // A placement the hook only moved, scaled or recoloured is stamped through the
  // page's coverage like any glyph, so that it needs no display copy of the page.
  if (o.Angle == 0 && o.MirrorX == 0 && o.MirrorY == 0 && o.WrapX == 0 && o.WrapY == 0 &&
      o.Pivot.Anchor == 0 && placement.Position.Anchor == 0) {
    SurfaceStamp stamp;
    if (stamp.Begin(PageAt(picture.page).surface, target_, nullptr, &boundsRect_, o, true)) {
      stamp.Draw(picture.x1, picture.y1, picture.x2, picture.y2,
                 placement.Position.X - o.Pivot.X * o.Scale.X,
                 placement.Position.Y - o.Pivot.Y * o.Scale.Y, nullptr);
    }
    return;
  }
  const C_Rect source(static_cast<float>(picture.x1), static_cast<float>(picture.y1),
                      static_cast<float>(picture.x2), static_cast<float>(picture.y2),
                      kAnchorResolved, kAnchorResolved);
  ::DrawSurface(PageAt(picture.page).surface, target_, &source, nullptr, &boundsRect_,
                placement.Position, &placement.Options, nullptr);
}
