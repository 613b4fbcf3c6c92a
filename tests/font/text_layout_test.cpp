// Layout rules of the text routine, read back through the glyph hook: line breaks,
// alignment, tabs, ellipsis, password mode, scale, hit queries, caret and extent.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/string.h"
#include "font/render_text.h"
#include "font/text_format.h"
#include "tests/font/font_test_support.h"

namespace {

using font_test::MakeBoxFont;
using font_test::RegularType;

struct Placed {
  int32_t index;
  uint8_t code;
  float left;  // picture's left edge
  float centreY;
};

// Records every glyph and leaves nothing to draw.
void Record(GlyphPlacement& p) {
  auto* list = static_cast<std::vector<Placed>*>(p.Data);
  list->push_back(
      {p.Index, p.Code, p.Position.X - p.Options.Pivot.X * p.Options.Scale.X, p.Position.Y});
  p.Options.Opacity = 0;
}

// One line as the tests describe it: the drawn codes and the first picture's left.
struct Line {
  std::string codes;
  float left;
};

struct Laid {
  bool ok = false;
  std::vector<Placed> glyphs;
  std::vector<Line> lines;  // by picture centre row; codes of one row together
  TextLayout layout;
  C_Rect extent;
};

Laid Lay(const std::string& text, float width, uint8_t align, uint8_t ellipsis = 0,
         uint8_t password = 0, float size = 10, TextLayout layout = TextLayout{}) {
  static auto font = MakeBoxFont();
  font_test::Picture target(200, 200);
  C_String string(text.c_str());
  C_FontType type = RegularType(size);
  C_TextFormat format;
  format.Align = align;
  format.Ellipsis = ellipsis;
  format.Password = password;
  format.GlyphHook = &Record;
  Laid laid;
  format.HookData = &laid.glyphs;
  laid.layout = layout;
  TextRequest r;
  r.Color = C_Color(0, 0, 1, 1);
  r.LayoutRect = C_Rect(0.0f, 0.0f, width, 100.0f, 0, 0);
  r.Text = &string;
  r.Font = font.get();
  r.Type = &type;
  r.Format = &format;
  r.Target = &target.surface;
  r.Layout = &laid.layout;
  r.Extent = &laid.extent;
  laid.ok = RenderText(r);
  // A picture's centre lies (h/2 - offset y) x scale below the baseline, which is
  // size below the line's top: letters -4, stops -1, stars -2 at scale 1.
  std::map<float, size_t> rows;
  const float scale = size / 10;
  for (const Placed& g : laid.glyphs) {
    const float rise = g.code == '.' ? -1.0f : g.code == '*' ? -2.0f : -4.0f;
    const float top = g.centreY - size - rise * scale;
    auto [it, added] = rows.emplace(top, laid.lines.size());
    if (added) laid.lines.push_back({"", g.left});
    laid.lines[it->second].codes += static_cast<char>(g.code);
  }
  return laid;
}

}  // namespace

TEST(TextLayout, LinesBreakAlignAndCutAsTheRulesSay) {
  struct Case {
    const char* name;
    std::string text;
    float width;
    uint8_t align, ellipsis;
    std::vector<Line> lines;
  };
  const Case cases[] = {
      {"align 0 never wraps", "abc def ghi jkl", 20, AlignLeft, 0, {{"abcdefghijkl", 0}}},
      {"line feeds end lines", "ab\ncd\n\nef", 20, AlignLeft, 0, {{"ab", 0}, {"cd", 0}, {"ef", 0}}},
      {"wrap at the last space",
       "abc def ghi",
       30,
       AlignLeftWrap,
       0,
       {{"abc", 0}, {"def", 0}, {"ghi", 0}}},
      {"a word longer than the line",
       "abcdefgh",
       20,
       AlignLeftWrap,
       0,
       {{"abc", 0}, {"def", 0}, {"gh", 0}}},
      {"right", "ab", 100, AlignRight, 0, {{"ab", 88}}},
      {"centred 40 in 100 starts 30 in", "abc def", 100, AlignCentre, 0, {{"abcdef", 30}}},
      {"ellipsis keeps within the width", "abcdefghij", 40, AlignLeft, 1, {{"abcde...", 0}}},
      {"ellipsis only once no line fits below",
       "abc def ghi jkl mno pqr stu vwx yza bcd efg",
       30,
       AlignLeftWrap,
       1,
       {{"abc", 0}, {"def", 0}, {"ghi", 0}, {"jkl", 0}, {"mno", 0}, {"pqr...", 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Laid laid = Lay(c.text, c.width, c.align, c.ellipsis);
    ASSERT_TRUE(laid.ok);
    ASSERT_EQ(laid.lines.size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(laid.lines[i].codes, c.lines[i].codes) << "line " << i;
      EXPECT_EQ(laid.lines[i].left, c.lines[i].left) << "line " << i;
    }
  }
}

TEST(TextLayout, PenPositionsOfTabsJustificationPasswordAndScale) {
  struct Case {
    const char* name;
    std::string text;
    float width;
    uint8_t align, password;
    float size;
    std::vector<float> lefts;  // every drawn picture, in text order
  };
  const Case cases[] = {
      {"a tab at the start advances 48", "\tab", 200, AlignLeft, 0, 10, {48, 54}},
      // "abc" and eight spaces put the tab at 50: it advances 45.
      {"a tab at 50 advances 45", "abc        \tz", 200, AlignLeft, 0, 10, {0, 6, 12, 95}},
      // Five letters and four spaces: 46, which advances 2; a stop and eleven spaces:
      // 47, which advances 48.
      {"a tab at 46 advances 2", "abcde    \tz", 200, AlignLeft, 0, 10, {0, 6, 12, 18, 24, 48}},
      {"a tab at 47 advances 48", ".           \tz", 200, AlignLeft, 0, 10, {0, 95}},
      {"justified lines broken at a space widen their spaces, the last line does not",
       "abc def ghi jkl",
       45,
       AlignJustify,
       0,
       10,
       {0, 6, 12, 27, 33, 39, 0, 6, 12, 22, 28, 34}},
      {"password draws stars and keeps tabs and line feeds",
       "ab\tc\nd e",
       200,
       AlignLeft,
       1,
       10,
       {0, 5, 48, 0, 5, 10}},
      {"size 20 from the size-10 variant doubles advances",
       "ab c",
       200,
       AlignLeft,
       0,
       20,
       {0, 12, 32}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Laid laid = Lay(c.text, c.width, c.align, 0, c.password, c.size);
    ASSERT_TRUE(laid.ok);
    std::vector<float> lefts;
    for (const Placed& g : laid.glyphs) lefts.push_back(g.left);
    EXPECT_EQ(lefts, c.lefts);
    if (c.password) {
      for (const Placed& g : laid.glyphs) EXPECT_EQ(g.code, '*');
    }
  }
}

TEST(TextLayout, HitQueriesFindTheCharacterHalfUnderThePoint) {
  struct Case {
    const char* name;
    float x, y;
    int32_t index;
  };
  // "abcdef\ngh": line 0 from y 0 to 16, line 1 from 16 to 32; letters 6 wide.
  const Case cases[] = {
      {"right half of the third character", 16, 5, 3},
      {"left half of the third character", 13, 5, 2},
      {"past the end of a line", 150, 5, 6},
      {"second line", 7, 20, 8},
      {"below every line", 5, 40, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextLayout layout;
    layout.Query = C_Vector2D(c.x, c.y);
    const Laid laid = Lay("abcdef\ngh", 200, AlignLeft, 0, 0, 10, layout);
    EXPECT_EQ(laid.layout.HitIndex, c.index);
  }
}

TEST(TextLayout, CaretExtentAndRecordAreFilled) {
  struct Case {
    int32_t caret;
    float x, top;
  };
  const Case cases[] = {{0, 0, 0}, {2, 12, 0}, {3, 18, 0}, {4, 0, 16}, {6, 12, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caret);
    TextLayout layout;
    layout.CaretIndex = c.caret;
    const Laid laid = Lay("abc\nde", 200, AlignLeft, 0, 0, 10, layout);
    EXPECT_EQ(laid.layout.CaretX, c.x);
    EXPECT_EQ(laid.layout.CaretTop, c.top);
    EXPECT_EQ(laid.layout.CaretBottom, c.top + 16);
  }
  const Laid laid = Lay("abc\nde", 200, AlignLeft);
  EXPECT_EQ(laid.layout.LineHeight, 16);
  EXPECT_EQ(laid.layout.LineCount, 2);
  EXPECT_EQ(laid.extent.X1, 0);
  EXPECT_EQ(laid.extent.X2, 18);
  EXPECT_EQ(laid.extent.Y1, 0);
  EXPECT_EQ(laid.extent.Y2, 32);
  EXPECT_EQ(laid.layout.VisibleWidth, 200);
  EXPECT_EQ(laid.layout.VisibleHeight, 100);
}

TEST(TextLayout, NothingIsLaidOutWithoutFontTextOrVariant) {
  auto font = MakeBoxFont();
  font_test::Picture target(20, 20);
  C_String text("abc");
  C_String empty("");
  C_FontType type = RegularType();
  C_FontType unknownKind = RegularType();
  unknownKind.Kind = 3;
  TextRequest r;
  r.LayoutRect = C_Rect(0.0f, 0.0f, 20.0f, 20.0f, 0, 0);
  r.Target = &target.surface;
  r.Type = &type;
  r.Text = &text;
  EXPECT_FALSE(RenderText(r));  // no font
  r.Font = font.get();
  EXPECT_TRUE(RenderText(r));
  r.Text = &empty;
  EXPECT_FALSE(RenderText(r));
  r.Text = &text;
  r.Type = &unknownKind;
  EXPECT_FALSE(RenderText(r));
  r.Type = &type;
  r.Target = nullptr;
  r.MeasureOnly = 1;  // measuring needs no target
  EXPECT_TRUE(RenderText(r));
}
