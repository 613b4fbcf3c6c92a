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

// How a text is laid out: a rectangle at the origin and the format's settings.
struct Setup {
  float width = 200;
  uint8_t align = AlignLeft;
  uint8_t ellipsis = 0;
  uint8_t password = 0;
  float size = 10;
  float height = 100;
  TextLayout layout{};
};

Laid Lay(const std::string& text, const Setup& s) {
  static auto font = MakeBoxFont();
  font_test::Picture target(200, 200);
  C_String string(text.c_str());
  C_FontType type = RegularType(s.size);
  C_TextFormat format;
  format.Align = s.align;
  format.Ellipsis = s.ellipsis;
  format.Password = s.password;
  format.GlyphHook = &Record;
  Laid laid;
  format.HookData = &laid.glyphs;
  laid.layout = s.layout;
  TextRequest r;
  r.Color = C_Color(0, 0, 1, 1);
  r.LayoutRect = C_Rect(0.0f, 0.0f, s.width, s.height, 0, 0);
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
  const float scale = s.size / 10;
  for (const Placed& g : laid.glyphs) {
    const float rise = g.code == '.' ? -1.0f : g.code == '*' ? -2.0f : -4.0f;
    const float top = g.centreY - s.size - rise * scale;
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
    const Laid laid = Lay(c.text, {.width = c.width, .align = c.align, .ellipsis = c.ellipsis});
    ASSERT_TRUE(laid.ok);
    ASSERT_EQ(laid.lines.size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(laid.lines[i].codes, c.lines[i].codes) << "line " << i;
      EXPECT_EQ(laid.lines[i].left, c.lines[i].left) << "line " << i;
    }
  }
}

// Exact fits: a wrapped line ends before its width reaches the available width,
// and a cut line keeps the characters whose width plus the ellipsis stays below it.
TEST(TextLayout, LinesAndCutsEndBeforeTheyReachTheWidth) {
  struct Case {
    const char* name;
    std::string text;
    float width;
    uint8_t align, ellipsis;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a line exactly as wide wraps", "abc def", 40, AlignLeftWrap, 0, {"abc", "def"}},
      {"one pixel more keeps it whole", "abc def", 41, AlignLeftWrap, 0, {"abcdef"}},
      {"a long word breaks where it reaches",
       "abcdefgh",
       18,
       AlignLeftWrap,
       0,
       {"ab", "cd", "ef", "gh"}},
      {"and one pixel later", "abcdefgh", 19, AlignLeftWrap, 0, {"abc", "def", "gh"}},
      {"a first character as wide as the line stays", "ab", 6, AlignLeftWrap, 0, {"a", "b"}},
      {"justified exact fit wraps too", "abc def", 40, AlignJustify, 0, {"abc", "def"}},
      // Letters 6, the ellipsis three stops of 3: 9.
      {"text and dots exactly filling the width lose a letter",
       "abcdefghij",
       39,
       AlignLeft,
       1,
       {"abcd..."}},
      {"one pixel more keeps it", "abcdefghij", 40, AlignLeft, 1, {"abcde..."}},
      {"a text exactly as wide is not cut", "abcdefghij", 60, AlignLeft, 1, {"abcdefghij"}},
      {"one pixel less cuts it", "abcdefghij", 59, AlignLeft, 1, {"abcdefgh..."}},
      {"room for the dots only", "abc", 9, AlignLeft, 1, {"..."}},
      {"room for fewer dots", "abc", 7, AlignLeft, 1, {".."}},
      {"room for none", "abc", 2, AlignLeft, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Laid laid = Lay(c.text, {.width = c.width, .align = c.align, .ellipsis = c.ellipsis});
    ASSERT_TRUE(laid.ok);
    std::vector<std::string> lines;
    for (const Line& line : laid.lines) lines.push_back(line.codes);
    EXPECT_EQ(lines, c.lines);
    EXPECT_LE(laid.extent.X2, c.width);
  }
}

// A line cut with an ellipsis is aligned with its dots: right-aligned it ends at
// the right edge, centred it stands in the middle, and it never leaves the width.
TEST(TextLayout, CutLinesAlignWithTheirDotsInsideTheWidth) {
  struct Case {
    const char* name;
    std::string text;
    float width;
    uint8_t align;
    std::string codes;
    float left, right;  // first picture's left; the pen after the last dot
  };
  const Case cases[] = {
      {"left", "abcdefghij", 40, AlignLeft, "abcde...", 0, 39},
      {"right", "abcdefghij", 40, AlignRight, "abcde...", 1, 40},
      {"centred", "abcdefghij", 40, AlignCentre, "abcde...", 0, 39.5f},
      {"justified", "abcdefghij", 40, AlignJustify, "abcde...", 0, 39},
      {"right, dots only", "abc", 7, AlignRight, "..", 1, 7},
      {"centred, dots only", "abc", 7, AlignCentre, "..", 0, 6.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // One line high: no second line fits, so the first is cut, not wrapped.
    const Laid laid =
        Lay(c.text, {.width = c.width, .align = c.align, .ellipsis = 1, .height = 16});
    ASSERT_TRUE(laid.ok);
    ASSERT_EQ(laid.lines.size(), 1u);
    EXPECT_EQ(laid.lines[0].codes, c.codes);
    EXPECT_EQ(laid.lines[0].left, c.left);
    EXPECT_EQ(laid.extent.X2, c.right);
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
      // Seven letters and a space put the tab at 46 (advance 2); the space is then
      // widened by 6, and the tab keeps its measured advance, so the line ends at
      // the width instead of jumping to the next stop.
      {"a tab after a widened space keeps its advance",
       "abcdefg \tz yy",
       60,
       AlignJustify,
       0,
       10,
       {0, 6, 12, 18, 24, 30, 36, 54, 0, 6}},
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
    const Laid laid =
        Lay(c.text, {.width = c.width, .align = c.align, .password = c.password, .size = c.size});
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
    const Laid laid = Lay("abcdef\ngh", {.layout = layout});
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
    const Laid laid = Lay("abc\nde", {.layout = layout});
    EXPECT_EQ(laid.layout.CaretX, c.x);
    EXPECT_EQ(laid.layout.CaretTop, c.top);
    EXPECT_EQ(laid.layout.CaretBottom, c.top + 16);
  }
  const Laid laid = Lay("abc\nde", {});
  EXPECT_EQ(laid.layout.LineHeight, 16);
  EXPECT_EQ(laid.layout.LineCount, 2);
  EXPECT_EQ(laid.extent.X1, 0);
  EXPECT_EQ(laid.extent.X2, 18);
  EXPECT_EQ(laid.extent.Y1, 0);
  EXPECT_EQ(laid.extent.Y2, 32);
  EXPECT_EQ(laid.layout.VisibleWidth, 200);
  EXPECT_EQ(laid.layout.VisibleHeight, 100);
}

// An empty text is one empty line: it gets its line height, its caret where the
// line starts after alignment, and an extent without width.
TEST(TextLayout, AnEmptyTextHasItsCaretLineHeightAndEmptyExtent) {
  struct Case {
    uint8_t align;
    float x;
  };
  for (const Case& c : {Case{AlignLeft, 0}, Case{AlignRight, 100}, Case{AlignCentre, 50}}) {
    SCOPED_TRACE(static_cast<int>(c.align));
    TextLayout stale;  // what an earlier draw of a longer text left
    stale.CaretIndex = 0;
    stale.Extent = C_Rect(0.0f, 0.0f, 80.0f, 48.0f, 0, 0);
    stale.ExtentWidth = 80;
    stale.ExtentHeight = 48;
    stale.LineHeight = 99;
    stale.LineCount = 3;
    const Laid laid = Lay("", {.width = 100, .align = c.align, .layout = stale});
    ASSERT_TRUE(laid.ok);
    EXPECT_TRUE(laid.glyphs.empty());
    EXPECT_EQ(laid.layout.LineHeight, 16);
    EXPECT_EQ(laid.layout.LineCount, 1);
    EXPECT_EQ(laid.layout.CaretX, c.x);
    EXPECT_EQ(laid.layout.CaretTop, 0);
    EXPECT_EQ(laid.layout.CaretBottom, 16);
    EXPECT_EQ(laid.layout.ExtentWidth, 0);
    EXPECT_EQ(laid.layout.ExtentHeight, 16);
    for (const C_Rect& e : {laid.layout.Extent, laid.extent}) {
      EXPECT_EQ(e.X1, c.x);
      EXPECT_EQ(e.X2, c.x);
      EXPECT_EQ(e.Y1, 0);
      EXPECT_EQ(e.Y2, 16);
    }
  }
}

TEST(TextLayout, NothingIsLaidOutWithoutFontTextOrVariant) {
  auto font = MakeBoxFont();
  font_test::Picture target(20, 20);
  C_String text("abc");
  C_String reset;
  reset.Release();
  reset.Init();  // no characters buffer at all
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
  r.Text = &reset;
  EXPECT_FALSE(RenderText(r));
  r.Text = &text;
  r.Type = &unknownKind;
  EXPECT_FALSE(RenderText(r));
  r.Type = &type;
  r.Target = nullptr;
  r.MeasureOnly = 1;  // measuring needs no target
  EXPECT_TRUE(RenderText(r));
}
