#include "font/internal/glyph_painter.h"

#include <cmath>

#include "core/numeric.h"
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

}  // namespace

GlyphPainter::GlyphPainter(C_Font& font, GlyphTables* tables, C_Surface* target,
                           const PixelRect& bounds, const C_Color& color, float scale,
                           const C_TextFormat& format, const float* wrapX, const float* wrapY,
                           bool generic)
    : font_(font),
      tables_(tables),
      target_(target),
      bounds_(bounds),
      boundsRect_(bounds.X1, bounds.Y1, bounds.X2, bounds.Y2),
      format_(format),
      wrapX_(wrapX),
      wrapY_(wrapY),
      way_(format.GlyphHook != nullptr || wrapX != nullptr || wrapY != nullptr ? Way::Folded
           : generic                                                           ? Way::Generic
                                                                               : Way::Plain) {
  options_.Scale = C_Vector2D(scale, scale);
  options_.Tint = C_Color(color.Red, color.Green, color.Blue, color.Alpha);
  options_.UseTint = 1;
  options_.Opacity = color.Alpha;
  if (tables_ != nullptr) tables_->BeginText();
}

GlyphPainter::Page* GlyphPainter::FindPage(uint32_t index) {
  lastPage_ = index;
  for (int32_t i = 0; i < pageCount_; ++i) {
    if (PageAt(i).index == index) return lastFound_ = &PageAt(i);
  }
  C_Surface* surface = font_.PageAt(index);
  if (surface == nullptr) return lastFound_ = nullptr;
  Page& page = pageCount_ < kInlinePages ? inlinePages_[pageCount_] : morePages_.emplace_back();
  ++pageCount_;
  page.index = index;
  page.surface = surface;
  if (const C_Image* image = PageImage(*surface)) {
    page.width = image->Width;
    page.height = image->Height;
  }
  // A stamp kept for this context is brought up to date (checked, and prepared
  // again only when the surfaces changed); one taken over from another context is
  // prepared without that check, which pays only once the context comes back.
  const GlyphTables::StampContext context{
      index,
      target_,
      {bounds_.X1, bounds_.Y1, bounds_.X2, bounds_.Y2},
      {options_.Tint.Red, options_.Tint.Green, options_.Tint.Blue, options_.Tint.Alpha},
      options_.Scale.X};
  bool found = false;
  SurfaceStamp* kept = tables_ != nullptr ? tables_->KeptStamp(context, found) : nullptr;
  page.ownStamp = kept == nullptr;
  if (kept != nullptr) {
    page.usable = found ? kept->Resume(surface, target_, nullptr, &boundsRect_, options_, true)
                        : kept->Begin(surface, target_, nullptr, &boundsRect_, options_, true);
  } else {
    page.usable = page.own.Begin(surface, target_, nullptr, &boundsRect_, options_, true);
  }
  page.stamp = kept;
  // The pages past the first few move when their list grows: their own stamps too.
  for (int32_t i = 0; i < pageCount_; ++i) {
    Page& any = PageAt(i);
    if (any.ownStamp) any.stamp = &any.own;
  }
  page.coverage = page.stamp->CoverageStamp() && bounds_.X2 < kExactWhole;
  return lastFound_ = &page;
}

void GlyphPainter::DrawGeneric(const GlyphCell& cell, float penX, float lineTop) {
  Page* page = PageOf(cell);
  if (page == nullptr) return;
  Stamp(cell, *page, std::trunc(penX + cell.ToCentreX) - cell.HalfW,
        lineTop + cell.ToCentreY - cell.HalfH);
}

void GlyphPainter::DrawFolded(const GlyphCell& cell, uint8_t code, float penX, float lineTop,
                              int32_t index) {
  Page* page = PageOf(cell);
  if (page == nullptr) return;
  float cx = std::trunc(penX + cell.ToCentreX);
  float cy = lineTop + cell.ToCentreY;
  if (wrapX_ != nullptr) cx = wrapX_[0] + WrapCoordinate(cx - wrapX_[0], wrapX_[1]);
  if (wrapY_ != nullptr) cy = wrapY_[0] + WrapCoordinate(cy - wrapY_[0], wrapY_[1]);
  if (format_.GlyphHook != nullptr) {
    DrawHooked(cell, *page, cx, cy, index, code);
    return;
  }
  Stamp(cell, *page, cx - cell.HalfW, cy - cell.HalfH);
}

void GlyphPainter::Stamp(const GlyphCell& cell, Page& page, float left, float top) {
  // Glyphs wholly outside the bounds cost nothing more.
  if (!(left < boundsRect_.X2 && top < boundsRect_.Y2 && left + cell.Width > boundsRect_.X1 &&
        top + cell.Height > boundsRect_.Y1)) {
    return;
  }
  // Inside the bounds both edges are finite and small, so they truncate as ints.
  if (page.coverage) {
    page.stamp->StampCoverage(cell.X1, cell.Y1, cell.X2, cell.Y2, static_cast<int32_t>(left),
                              static_cast<int32_t>(top));
  } else if (page.usable) {
    page.stamp->Draw(cell.X1, cell.Y1, cell.X2, cell.Y2, left, top, nullptr);
  }
}

void GlyphPainter::DrawHooked(const GlyphCell& cell, const Page& page, float cx, float cy,
                              int32_t index, uint8_t code) {
  GlyphPlacement placement;
  placement.Position = C_Vector2D(cx, cy);
  placement.Options = options_;
  placement.Options.Pivot = C_Vector2D(std::trunc(static_cast<float>(cell.X2 - cell.X1) * 0.5f),
                                       std::trunc(static_cast<float>(cell.Y2 - cell.Y1) * 0.5f));
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
    if (stamp.Begin(page.surface, target_, nullptr, &boundsRect_, o, true)) {
      stamp.Draw(cell.X1, cell.Y1, cell.X2, cell.Y2, placement.Position.X - o.Pivot.X * o.Scale.X,
                 placement.Position.Y - o.Pivot.Y * o.Scale.Y, nullptr);
    }
    return;
  }
  const C_Rect source(static_cast<float>(cell.X1), static_cast<float>(cell.Y1),
                      static_cast<float>(cell.X2), static_cast<float>(cell.Y2), kAnchorResolved,
                      kAnchorResolved);
  ::DrawSurface(page.surface, target_, &source, nullptr, &boundsRect_, placement.Position,
                &placement.Options, nullptr);
}
