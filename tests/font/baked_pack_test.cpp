// The font pack the build bakes: its fonts, their variant ladders, and the status
// line laid out with it the way the demo asks for it.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/string.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/glyph.h"
#include "font/render_text.h"
#include "tests/font/font_test_support.h"

#ifdef DF_FONTS_PAK

namespace {

struct Pack {
  C_Collection fonts;
  Pack() { loaded = LoadObjectFile(&fonts, DF_FONTS_PAK); }
  ~Pack() { fonts.DeleteItems(); }
  C_Font* Font(uint32_t i) const { return static_cast<C_Font*>(fonts.GetAt(i)); }
  bool loaded = false;
};

}  // namespace

TEST(BakedPack, EveryGlyphOffersTheSameLadderInBothKindsAndAllStyles) {
  Pack pack;
  ASSERT_TRUE(pack.loaded);
  ASSERT_EQ(pack.fonts.Count, 2u);
  EXPECT_STREQ(pack.Font(0)->Name, "DejaVu Sans");
  for (uint32_t f = 0; f < pack.fonts.Count; ++f) {
    const C_Font& font = *pack.Font(f);
    ASSERT_NE(font.FindGlyph('A'), nullptr);
    ASSERT_NE(font.FindGlyph(0xE9), nullptr);  // e acute
    EXPECT_EQ(font.FindGlyph(0x85), nullptr);  // a control code has no glyph
    const C_Glyph& first = *static_cast<const C_Glyph*>(font.Glyphs->GetAt(0));
    std::set<std::tuple<int, int, int>> ladder;
    for (uint32_t i = 0; i < first.VariantCount(); ++i) {
      const C_BitmapGlyph* v = first.VariantAt(i);
      ladder.insert({v->Kind, v->Style, v->PixelSize});
    }
    EXPECT_EQ(ladder.size(), first.VariantCount());
    EXPECT_EQ(ladder.size(), 2u * 4u * 12u);
    EXPECT_TRUE(ladder.count({kKindNamed, kStyleBoldItalic, 32}));
    EXPECT_TRUE(ladder.count({kKindDefault, kStyleRegular, 8}));
    for (uint32_t g = 0; g < font.Glyphs->Count; ++g) {
      const C_Glyph& glyph = *static_cast<const C_Glyph*>(font.Glyphs->GetAt(g));
      ASSERT_EQ(glyph.VariantCount(), first.VariantCount());
      for (uint32_t i = 0; i < glyph.VariantCount(); ++i) {
        const C_BitmapGlyph* a = glyph.VariantAt(i);
        const C_BitmapGlyph* b = first.VariantAt(i);
        ASSERT_TRUE(a->Kind == b->Kind && a->Style == b->Style && a->PixelSize == b->PixelSize);
        ASSERT_TRUE(a->Source.X2 == a->Source.X1 || a->Page < font.PageCount());
      }
    }
  }
}

TEST(BakedPack, TheStatusLineDrawsAtItsOwnSizeWithInkOnItsLine) {
  Pack pack;
  ASSERT_TRUE(pack.loaded);
  font_test::Picture target(300, 40, 0xFF000000u);
  const C_String text("Generation: 152 fps");
  const C_FontType type("Arial", 10);
  C_Rect extent;
  TextRequest r;
  r.Color = C_Color(1, 1, 1, 1);
  r.LayoutRect = C_Rect(0.0f, 0.0f, 300.0f, 40.0f, 0, 0);
  r.Position = C_Vector2D(30, 7);
  r.Text = &text;
  r.Font = pack.Font(0);
  r.Type = &type;
  r.Target = &target.surface;
  r.Extent = &extent;
  ASSERT_TRUE(RenderText(r));
  EXPECT_EQ(extent.X1, 30);
  EXPECT_GT(extent.X2, 120);  // 19 characters of a 10-pixel face
  EXPECT_LT(extent.X2, 160);
  // Ink only between the line's top and its descent.
  int32_t inked = 0;
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 300; ++x) {
      if (target.At(x, y) == 0xFF000000u) continue;
      ++inked;
      EXPECT_TRUE(y >= 7 && y < 7 + 16 && x >= 30 && x < extent.X2 + 2) << x << "," << y;
    }
  }
  EXPECT_GT(inked, 150);
}

#endif
