// The variant a text is drawn with: the sample character, the style code, the
// kind, the nearest size (the first of equal ones), one index for every glyph.
#include <gtest/gtest.h>

#include "core/collection.h"
#include "core/string.h"
#include "font/render_text.h"
#include "tests/font/font_test_support.h"

TEST(VariantSelect, SampleCharacter) {
  struct Case {
    const char* text;
    bool password;
    uint8_t code;
  };
  const Case cases[] = {
      {"  ab", false, 'a'},       {"   ", false, ' '}, {"", false, 'k'},
      {"\xE9 \xFC", false, 0xFC}, {"x", true, '*'},    {"\xE9Z", false, 'Z'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SampleCode(C_String(c.text), c.password), c.code) << c.text;
  }
}

TEST(VariantSelect, NearestSizeOfTheStyleAndKindFirstOfEqualsWins) {
  using font_test::MakeVariant;
  C_Font font;
  font.Glyphs = new C_Collection();
  auto* glyph = new C_Glyph();
  glyph->Code = 'k';
  glyph->Variants = new C_Collection();
  // List order: 12, 10 regular kind 0; 11 of kind 10; 11 bold; 0 regular.
  glyph->Variants->Append(MakeVariant(12, kKindDefault, kStyleRegular, 0, 0, 0, 1, 1, 1, 1));
  glyph->Variants->Append(MakeVariant(10, kKindDefault, kStyleRegular, 0, 0, 0, 1, 1, 1, 1));
  glyph->Variants->Append(MakeVariant(11, kKindNamed, kStyleRegular, 0, 0, 0, 1, 1, 1, 1));
  glyph->Variants->Append(MakeVariant(11, kKindDefault, kStyleBold, 0, 0, 0, 1, 1, 1, 1));
  glyph->Variants->Append(MakeVariant(0, kKindDefault, kStyleItalic, 0, 0, 0, 1, 1, 1, 1));
  font.Glyphs->Append(glyph);
  font.CodeIndex = new C_Array();
  font.CodeIndex->Resize(('k' + 1) * 4, ResizeExact | ResizeZeroFill);
  reinterpret_cast<uint32_t*>(font.CodeIndex->Data)['k'] = 1;

  struct Case {
    float size;
    uint8_t kind, flag1, flag2;
    int32_t index;  // -1: nothing qualifies
    float scale;
  };
  const Case cases[] = {
      {11, kKindDefault, 0, 0, 0, 11.0f / 12},  // 12 and 10 equally near: the first
      {10, kKindDefault, 0, 0, 1, 1},
      {11, kKindNamed, 0, 0, 2, 1},
      {30, kKindDefault, 1, 0, 3, 30.0f / 11},
      {11, kKindDefault, 0, 1, -1, 0},  // the only italic has pixel size 0
      {11, kKindDefault, 1, 1, -1, 0},
      {11, 3, 0, 0, -1, 0},
  };
  const C_String text("kk");
  for (const Case& c : cases) {
    C_FontType type;
    type.Size = c.size;
    type.Kind = c.kind;
    type.StyleFlag1 = c.flag1;
    type.StyleFlag2 = c.flag2;
    VariantChoice choice;
    const bool found = SelectVariant(font, type, text, false, choice);
    EXPECT_EQ(found, c.index >= 0) << c.size << " kind " << int(c.kind);
    if (found) {
      EXPECT_EQ(static_cast<int32_t>(choice.Index), c.index);
      EXPECT_EQ(choice.Scale, c.scale);
    }
  }
}

TEST(VariantSelect, OneIndexForTheWholeTextAndBadPicturesDrawNothing) {
  auto font = font_test::MakeBoxFont();
  // 'b' loses its bold variant (index 1): in a bold text it has no picture and no
  // advance. 'c' keeps its variants but points at a page that does not exist, 'd'
  // at a rectangle outside the page, 'e' at pixel size 0: they draw nothing and
  // keep their advance.
  auto* b = const_cast<C_Glyph*>(font->FindGlyph('b'));
  b->Variants->DeleteItems();
  b->Variants->Count = 1;
  b->Variants->Items[0] =
      font_test::MakeVariant(10, kKindDefault, kStyleRegular, 0, 0, 0, 4, 7, 6, 7);
  const_cast<C_BitmapGlyph*>(font->FindGlyph('c')->VariantAt(1))->Page = 7;
  const_cast<C_BitmapGlyph*>(font->FindGlyph('d')->VariantAt(1))->Source =
      C_Rect(500.0f, 60.0f, 530.0f, 90.0f, 0, 0);
  const_cast<C_BitmapGlyph*>(font->FindGlyph('e')->VariantAt(1))->PixelSize = 0;

  font_test::Picture target(60, 20);
  C_String text("abcdea");
  C_FontType bold = font_test::RegularType();
  bold.StyleFlag1 = 1;
  C_Rect extent;
  TextRequest r;
  r.Color = C_Color(0, 0, 1, 1);
  r.LayoutRect = C_Rect(0.0f, 0.0f, 60.0f, 20.0f, 0, 0);
  r.Text = &text;
  r.Font = font.get();
  r.Type = &bold;
  r.Target = &target.surface;
  r.Extent = &extent;
  ASSERT_TRUE(RenderText(r));
  // Bold advances are 7: a, b (0), c, d, e, a.
  EXPECT_EQ(extent.X2, 7 + 0 + 7 + 7 + 7 + 7);
  // Ink only for the two a's (5 wide) at 0 and 28.
  int32_t inked = 0;
  for (int32_t x = 0; x < 60; ++x) inked += target.At(x, 5) != 0xFFFFFFFFu ? 1 : 0;
  EXPECT_EQ(inked, 10);
  EXPECT_NE(target.At(28, 5), 0xFFFFFFFFu);
}
