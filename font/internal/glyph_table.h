// GlyphTable: how every code of a font is laid out and drawn at one variant index,
// scale and size: its advance and where its picture lies on a page and against
// the pen. A font keeps a few tables across texts (GlyphTables), so that a text
// only fills the codes no earlier text at its size has used.
#pragma once

#include <cstdint>

#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "graphics/raster/surface_stamp.h"

class C_FontType;
class C_String;

// One code as the chosen variant lays it out and draws it.
struct GlyphCell {
  bool Filled;             // holds this code's values (filled on the code's first use)
  bool Plain;              // neither a tab nor a line feed: the pen moves by Advance
  float Advance;           // trunc(advance x scale); 0 without a variant
  bool Drawn;              // a variant of non-zero pixel size with a whole-pixel picture
  bool Inked;              // Drawn, and a code whose picture is drawn (not a space or tab)
  uint32_t Page;           // the font page the picture is cut from
  int32_t X1, Y1;          // the picture on its page: X1 <= x < X2, Y1 <= y < Y2,
  int32_t PixelW, PixelH;  // PixelW = X2 - X1 and PixelH = Y2 - Y1 wide and high,
  int32_t X2, Y2;          // 0 <= X1 < X2, 0 <= Y1 < Y2
  int32_t HalfPixels;      // hw: the centre's whole part less this is the left edge at scale 1
  int32_t ReachX, ReachY;  // the page size the picture needs
  float ToCentreX;         // (Offset.x + hw) x scale: pen to the centre
  float ToCentreY;         // (hh - Offset.y) x scale + size: line top to the centre
  float HalfW;             // hw x scale, hh x scale: centre to the top-left corner
  float HalfH;
  float Width;  // w x scale, h x scale
  float Height;
};

class GlyphTable {
 public:
  // Empties the table for another variant index, scale and size.
  void Reset(const C_Font& font, uint32_t variantIndex, float scale, float size);
  bool Holds(uint32_t variantIndex, float scale, float size) const {
    return filled_ && index_ == variantIndex && scale_ == scale && size_ == size;
  }
  void Clear() { filled_ = false; }

  const GlyphCell& Cell(uint8_t code) {
    GlyphCell& cell = cells_[code];
    if (!cell.Filled) Fill(code, cell);
    return cell;
  }

 private:
  void Fill(uint8_t code, GlyphCell& cell) const;

  const C_Font* font_ = nullptr;
  uint32_t index_ = 0;
  float scale_ = 0;
  float size_ = 0;
  bool filled_ = false;
  GlyphCell cells_[256];  // each filled on its first use after a Reset
};

// The tables a font keeps. They hold copies of the glyph data, never pointers into
// it, and are emptied whenever the font's glyph collection, index or pages are
// replaced or resized, or the font says its glyphs changed (C_Font::GlyphsChanged).
// One font is drawn by one thread at a time.
class GlyphTables {
 public:
  // SelectVariant, remembered for the last sample code, style, kind and size; a
  // remembered choice has no Sample.
  bool Choose(const C_Font& font, const C_FontType& type, const C_String& text, bool password,
              VariantChoice& choice);
  // The table for the font at variantIndex, scale and size.
  GlyphTable& TableFor(const C_Font& font, uint32_t variantIndex, float scale, float size);
  void Clear();

  // Starts a text: no kept stamp serves it yet.
  void BeginText() { ++text_; }
  // What a page's stamp is prepared for, besides the surfaces' images: a kept
  // stamp is found by it.
  struct StampContext {
    uint32_t page;
    const C_Surface* target;
    int32_t bounds[4];
    float color[4];
    float scale;
    bool operator==(const StampContext&) const = default;
  };
  // The stamp kept for a context from text to text. found: it was prepared for the
  // context before, and the text brings it up to date with SurfaceStamp::Resume;
  // otherwise it is another context's, which the text prepares with Begin. Null
  // when every kept stamp already serves the text.
  SurfaceStamp* KeptStamp(const StampContext& context, bool& found);

 private:
  // What the tables were filled from; any difference empties them.
  struct Shape {
    const void* glyphs = nullptr;
    const void* glyphItems = nullptr;
    uint32_t glyphCount = 0;
    const void* index = nullptr;
    const void* indexData = nullptr;
    uint32_t indexLength = 0;
    const void* pages = nullptr;
    uint32_t pageCount = 0;
    bool operator==(const Shape&) const = default;
  };
  static Shape ShapeOf(const C_Font& font);
  void Check(const C_Font& font);  // empties everything when the font's shape changed

  // The last successful choice and what it was made for.
  struct Choice {
    bool known = false;
    uint8_t sample = 0, style = 0, kind = 0;
    float size = 0;
    VariantChoice choice;
  };

  static constexpr int32_t kTables = 4;  // sizes a program draws one font at
  struct Kept {
    StampContext context{kNoPage, nullptr, {}, {}, 0};
    uint64_t text = 0;  // the text it serves or last served; 0 none
    SurfaceStamp stamp;
  };
  // Contexts a program draws one font in: the texts of a screen, each in its own
  // bounds and colour, and status lines.
  static constexpr int32_t kKeptStamps = 16;
  Kept kept_[kKeptStamps];
  int32_t nextKept_ = 0;  // the stamp replaced next
  uint64_t text_ = 0;
  Shape shape_;
  Choice last_;
  GlyphTable tables_[kTables];
  int32_t next_ = 0;  // the table replaced next
};
