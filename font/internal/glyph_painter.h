// GlyphPainter: draws the glyph pictures of one text. Everything that is the same
// for every glyph (bounds, options with the text colour, each page decoded with
// its kernels chosen, kept by the font from text to text) is set up once, and each
// code's placement comes from the font's glyph table; a glyph inside the bounds is
// then a rectangle added to a list that one call stamps.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "font/bitmap_glyph.h"
#include "font/internal/glyph_table.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/draw_options.h"
#include "graphics/raster/raster_target.h"
#include "graphics/raster/surface_stamp.h"

class C_Font;
class C_Surface;
class C_TextFormat;

class GlyphPainter {
 public:
  // bounds: the pixels the text may touch (viewport and clip already applied).
  // wrapX and wrapY (either may be null) fold every picture's centre into [start,
  // start + length).
  // generic: Plain texts are drawn the Generic way (the tests compare the two).
  // tables (may be null) keep each page's stamp from text to text.
  GlyphPainter(C_Font& font, GlyphTables* tables, C_Surface* target, const PixelRect& bounds,
               const C_Color& color, float scale, const C_TextFormat& format, const float* wrapX,
               const float* wrapY, bool generic);
  ~GlyphPainter() { Flush(); }
  GlyphPainter(const GlyphPainter&) = delete;
  GlyphPainter& operator=(const GlyphPainter&) = delete;

  // How glyphs are drawn, chosen once for a text: Plain stamps each picture
  // straight through its page's coverage when it lies wholly inside the bounds
  // (else as Generic does); Generic places every picture through the clipping
  // stamp; Folded wraps the pictures' places and shows them to the hook.
  enum class Way { Plain, Generic, Folded };
  Way Chosen() const { return way_; }

  // The picture of a drawn cell (the cell of code) for the pen at penX on the line
  // whose baseline is lineTop + size, the way the name says.
  void DrawPlain(const GlyphCell& cell, float penX, float lineTop) {
    Page* page = PageOf(cell);
    if (page == nullptr) return;
    const float across = penX + cell.ToCentreX;  // the centre, before truncation
    const float top = lineTop + cell.ToCentreY - cell.HalfH;
    // A coverage page draws at scale 1, so the left edge is the centre's whole part
    // less the whole half width; below kExactWhole that is the same in ints as in
    // floats. Inside the bounds, top is not negative and truncates to its floor.
    if (page->coverage && std::fabs(across) < kExactWhole && top >= boundsRect_.Y1 &&
        top + cell.Height <= boundsRect_.Y2) {
      const int32_t left = static_cast<int32_t>(across) - cell.HalfPixels;
      if (left >= bounds_.X1 && left + cell.PixelW <= bounds_.X2) {
        if (page->stamp != waitingStamp_ || waitingCount_ == kWaiting) {
          Flush();
          waitingStamp_ = page->stamp;
        }
        waiting_[waitingCount_++] = {cell.X1,     cell.Y1, cell.PixelW,
                                     cell.PixelH, left,    static_cast<int32_t>(top)};
        return;
      }
    }
    Flush();
    Stamp(cell, *page, std::trunc(across) - cell.HalfW, top);
  }
  // Draws the glyphs DrawPlain keeps waiting; anything else drawn on the target
  // between glyphs waits for this.
  void Flush() {
    if (waitingCount_ == 0) return;
    waitingStamp_->StampCoverageBoxes(waiting_, waitingCount_);
    waitingCount_ = 0;
  }
  void DrawGeneric(const GlyphCell& cell, float penX, float lineTop);
  void DrawFolded(const GlyphCell& cell, uint8_t code, float penX, float lineTop, int32_t index);

 private:
  // Whole numbers below this are exact in floats and truncate alike as ints.
  static constexpr float kExactWhole = 16777216.0f;
  struct Page {
    uint32_t index = 0;
    C_Surface* surface = nullptr;
    int32_t width = 0;  // of the image pictures are cut from; 0 when there is none
    int32_t height = 0;
    SurfaceStamp* stamp = nullptr;  // the font's kept one, or own
    SurfaceStamp own;
    bool ownStamp = false;  // stamp is own (none of the font's was free)
    bool usable = false;
    bool coverage = false;  // stamped through coverage at whole pixels, bounds below kExactWhole
  };
  // The page a cell's picture is cut from, or null when the font has no such page
  // or the picture does not lie on it.
  Page* PageOf(const GlyphCell& cell) {
    Page* page = cell.Page == lastPage_ ? lastFound_ : FindPage(cell.Page);
    if (page == nullptr) return nullptr;
    return cell.ReachX <= page->width && cell.ReachY <= page->height ? page : nullptr;
  }
  // The cell's picture with its top-left corner at (left, top), unless wholly
  // outside the bounds.
  void Stamp(const GlyphCell& cell, Page& page, float left, float top);
  Page* FindPage(uint32_t index);  // null when the font has no such page
  void DrawHooked(const GlyphCell& cell, const Page& page, float cx, float cy, int32_t index,
                  uint8_t code);

  C_Font& font_;
  GlyphTables* tables_;
  C_Surface* target_;
  PixelRect bounds_;
  C_Rect boundsRect_;  // the same as floats
  DrawOptions options_;
  const C_TextFormat& format_;
  const float* wrapX_;
  const float* wrapY_;
  Way way_;
  // Pages met so far: the first few in the painter itself, so that drawing a text
  // allocates nothing; a text seldom uses more than one.
  static constexpr int32_t kInlinePages = 4;
  Page& PageAt(int32_t i) {
    return i < kInlinePages ? inlinePages_[i] : morePages_[i - kInlinePages];
  }
  Page inlinePages_[kInlinePages];
  // Glyphs DrawPlain stamps straight wait here in drawing order, so that one call
  // stamps many.
  static constexpr int32_t kWaiting = 32;
  SurfaceStamp::CoverageBox waiting_[kWaiting];
  int32_t waitingCount_ = 0;
  const SurfaceStamp* waitingStamp_ = nullptr;
  std::vector<Page> morePages_;
  int32_t pageCount_ = 0;
  uint32_t lastPage_ = kNoPage;  // the font page last looked up, and what was found
  Page* lastFound_ = nullptr;
};
