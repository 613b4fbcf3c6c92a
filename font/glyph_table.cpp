#include "font/internal/glyph_table.h"

#include <cmath>

#include "core/array.h"
#include "core/collection.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/glyph.h"
#include "font/internal/text_lines.h"

namespace {

// Picture edges beyond this are no page's: they stay clear of int overflow.
constexpr float kLargestEdge = 1 << 30;

}  // namespace

void GlyphTable::Reset(const C_Font& font, uint32_t variantIndex, float scale, float size) {
  font_ = &font;
  index_ = variantIndex;
  scale_ = scale;
  size_ = size;
  filled_ = true;
  for (GlyphCell& cell : cells_) cell.Filled = false;
}

void GlyphTable::Fill(uint8_t code, GlyphCell& cell) const {
  cell = GlyphCell{};
  cell.Filled = true;
  cell.Plain = code != kTab && code != kLineFeed;
  const C_Glyph* glyph = font_->FindGlyph(code);
  const C_BitmapGlyph* variant = glyph != nullptr ? glyph->VariantAt(index_) : nullptr;
  if (variant == nullptr) return;
  const float advance = std::trunc(variant->Advance.X * scale_);
  cell.Advance = std::isfinite(advance) ? advance : 0.0f;

  // A picture is a rectangle of whole pixels; whether it lies on its page is
  // checked against the page when it is drawn.
  const C_Rect& source = variant->Source;
  if (variant->PixelSize == 0 || !(source.X1 >= 0 && source.Y1 >= 0) ||
      !(source.X1 < source.X2 && source.Y1 < source.Y2) ||
      !(source.X2 <= kLargestEdge && source.Y2 <= kLargestEdge)) {
    return;
  }
  cell.Page = variant->Page;
  cell.X1 = static_cast<int32_t>(source.X1);
  cell.Y1 = static_cast<int32_t>(source.Y1);
  cell.X2 = static_cast<int32_t>(source.X2);
  cell.Y2 = static_cast<int32_t>(source.Y2);
  cell.PixelW = cell.X2 - cell.X1;
  cell.PixelH = cell.Y2 - cell.Y1;
  // The page must reach the rectangle's far edges, fractions included.
  cell.ReachX = static_cast<int32_t>(std::ceil(source.X2));
  cell.ReachY = static_cast<int32_t>(std::ceil(source.Y2));
  const float w = source.X2 - source.X1;
  const float h = source.Y2 - source.Y1;
  const float hw = std::trunc(w * 0.5f);
  const float hh = std::trunc(h * 0.5f);
  cell.HalfPixels = static_cast<int32_t>(hw);
  // The picture's left edge lies Offset.x x scale right of the pen and its top
  // Offset.y x scale above the baseline.
  cell.ToCentreX = (variant->Offset.X + hw) * scale_;
  cell.ToCentreY = (hh - variant->Offset.Y) * scale_ + size_;
  cell.HalfW = hw * scale_;
  cell.HalfH = hh * scale_;
  cell.Width = w * scale_;
  cell.Height = h * scale_;
  cell.Drawn = true;
  cell.Inked = code != kSpace && code != kTab;
}

GlyphTables::Shape GlyphTables::ShapeOf(const C_Font& font) {
  Shape shape;
  shape.glyphs = font.Glyphs;
  if (font.Glyphs != nullptr) {
    shape.glyphItems = font.Glyphs->Items;
    shape.glyphCount = font.Glyphs->Count;
  }
  shape.index = font.CodeIndex;
  if (font.CodeIndex != nullptr) {
    shape.indexData = font.CodeIndex->Data;
    shape.indexLength = font.CodeIndex->Length;
  }
  shape.pages = font.Pages;
  if (font.Pages != nullptr) shape.pageCount = font.Pages->Count;
  return shape;
}

void GlyphTables::Check(const C_Font& font) {
  const Shape shape = ShapeOf(font);
  if (!(shape == shape_)) {
    Clear();
    shape_ = shape;
  }
}

bool GlyphTables::Choose(const C_Font& font, const C_FontType& type, const C_String& text,
                         bool password, VariantChoice& choice) {
  Check(font);
  const uint8_t sample = SampleCode(text, password);
  const uint8_t style = type.StyleCode();
  if (last_.known && last_.sample == sample && last_.style == style && last_.kind == type.Kind &&
      last_.size == type.Size) {
    choice = last_.choice;
    return true;
  }
  if (!SelectVariant(font, type, text, password, choice)) return false;
  last_ = Choice{true, sample, style, type.Kind, type.Size, choice};
  last_.choice.Sample = nullptr;
  return true;
}

GlyphTable& GlyphTables::TableFor(const C_Font& font, uint32_t variantIndex, float scale,
                                  float size) {
  Check(font);
  for (GlyphTable& table : tables_) {
    if (table.Holds(variantIndex, scale, size)) return table;
  }
  GlyphTable& table = tables_[next_];
  next_ = (next_ + 1) % kTables;
  table.Reset(font, variantIndex, scale, size);
  return table;
}

SurfaceStamp* GlyphTables::KeptStamp(const StampContext& context, bool& found) {
  found = false;
  for (Kept& kept : kept_) {
    if (!(kept.context == context)) continue;
    if (kept.text == text_) return nullptr;
    kept.text = text_;
    found = true;
    return &kept.stamp;
  }
  for (int32_t i = 0; i < kKeptStamps; ++i) {
    Kept& kept = kept_[(nextKept_ + i) % kKeptStamps];
    if (kept.text == text_) continue;
    nextKept_ = (nextKept_ + i + 1) % kKeptStamps;
    kept.context = context;
    kept.text = text_;
    return &kept.stamp;
  }
  return nullptr;
}

void GlyphTables::Clear() {
  for (Kept& kept : kept_) kept = Kept();
  for (GlyphTable& table : tables_) table.Clear();
  shape_ = Shape();
  last_ = Choice();
}
