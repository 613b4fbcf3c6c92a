// A font keeps each code's layout across texts: after any edit of its glyphs a
// text draws exactly what it draws from a font that had the edit from the start.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "core/array.h"
#include "core/string.h"
#include "font/render_text.h"
#include "font_test_support.h"

namespace {

struct Drawn {
  bool ok = false;
  C_Rect extent;
  std::vector<uint32_t> pixels;
};

Drawn Draw(C_Font& font, float size, const char* text = "abc.ab") {
  font_test::Picture target(80, 40);
  const C_String string(text);
  const C_FontType type = font_test::RegularType(size);
  Drawn drawn;
  TextRequest r;
  r.Color = C_Color(0, 0, 1, 1);
  r.LayoutRect = C_Rect(0.0f, 0.0f, 80.0f, 40.0f, 0, 0);
  r.Text = &string;
  r.Font = &font;
  r.Type = &type;
  r.Target = &target.surface;
  r.Extent = &drawn.extent;
  drawn.ok = RenderText(r);
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 80; ++x) drawn.pixels.push_back(target.At(x, y));
  }
  return drawn;
}

void ExpectSame(const Drawn& a, const Drawn& b) {
  EXPECT_EQ(a.ok, b.ok);
  EXPECT_EQ(a.extent.X1, b.extent.X1);
  EXPECT_EQ(a.extent.X2, b.extent.X2);
  EXPECT_EQ(a.extent.Y2, b.extent.Y2);
  EXPECT_TRUE(a.pixels == b.pixels);
}

C_BitmapGlyph& Regular(C_Font& font, uint8_t code) {
  return *const_cast<C_BitmapGlyph*>(font.FindGlyph(code)->VariantAt(0));
}

TEST(GlyphTable, EveryEditShowsInTheNextText) {
  struct Case {
    const char* name;
    std::function<void(C_Font&)> edit;
    bool saysChanged;  // in-place edits tell the font; replacements need not
  };
  const Case cases[] = {
      {"wider advance", [](C_Font& f) { Regular(f, 'b').Advance.X = 9; }, true},
      {"picture moved", [](C_Font& f) { Regular(f, 'a').Source = C_Rect(12, 0, 16, 7, 0, 0); },
       true},
      {"picture off its page",
       [](C_Font& f) { Regular(f, 'c').Source = C_Rect(500, 60, 530, 90, 0, 0); }, true},
      {"sample drawn at another pixel size", [](C_Font& f) { Regular(f, 'a').PixelSize = 5; },
       true},
      {"sample loses its regular variant", [](C_Font& f) { Regular(f, 'a').Kind = kKindNamed; },
       true},
      {"page that does not exist", [](C_Font& f) { Regular(f, 'a').Page = 3; }, true},
      {"code index replaced",
       [](C_Font& f) {
         auto* index = new C_Array();
         index->Resize(256 * 4, ResizeExact | ResizeZeroFill);
         std::memcpy(index->Data, f.CodeIndex->Data, 256 * 4);
         reinterpret_cast<uint32_t*>(index->Data)['a'] =
             reinterpret_cast<uint32_t*>(index->Data)['c'];
         delete f.CodeIndex;
         f.CodeIndex = index;
       },
       false},
      {"pages dropped",
       [](C_Font& f) {
         f.Pages->DeleteItems();
         f.Pages->Count = 0;
       },
       false},
      {"page replaced by another surface",
       [](C_Font& f) {
         delete f.Pages->RemoveAt(0);
         C_Surface* page = font_test::MakePage(512, 64);
         font_test::FillCoverage(page, 0, 0, 512, 40);
         f.Pages->Insert(0, page);
       },
       false},
      {"page image shrunk",
       [](C_Font& f) {
         auto* small = new C_Image();
         small->Create(10, pixel_format::Grey8, 8);
         for (int32_t y = 0; y < 8; ++y) std::memset(small->RowAddress(y), 255, 10);
         f.PageAt(0)->SetChannel(small, kAlphaChannel);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto used = font_test::MakeBoxFont();
    Draw(*used, 10);
    Draw(*used, 12);
    c.edit(*used);
    if (c.saysChanged) used->GlyphsChanged();
    auto fresh = font_test::MakeBoxFont();
    c.edit(*fresh);
    ExpectSame(Draw(*used, 10), Draw(*fresh, 10));
    ExpectSame(Draw(*used, 12), Draw(*fresh, 12));
  }
}

TEST(GlyphTable, SizesTakeTurnsAndAReleasedFontDrawsNothing) {
  auto used = font_test::MakeBoxFont();
  auto fresh = font_test::MakeBoxFont();
  // More sizes than a font keeps tables for, then back to the first.
  for (const float size : {10.0f, 11.0f, 12.0f, 13.0f, 14.0f, 15.0f, 10.0f, 13.0f, 10.0f}) {
    SCOPED_TRACE(size);
    ExpectSame(Draw(*used, size), Draw(*fresh, size));
    fresh = font_test::MakeBoxFont();
  }
  used->Release();
  EXPECT_FALSE(Draw(*used, 10).ok);
}

}  // namespace
