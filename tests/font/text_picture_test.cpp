// Reference pictures of drawn text. The expected pictures are painted here from
// the rules (a letter of the box font is a 4 x 7 box whose top is 3 below its
// line's top, a stop 2 x 2 at 8 below, a star 3 x 3 at 7 below), with the pens
// written out by hand; on a mismatch both pictures are saved as PNG.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/string.h"
#include "font/render_text.h"
#include "font/text_format.h"
#include "tests/font/font_test_support.h"
#include "tests/graphics/raster/reference_picture.h"

namespace {

using font_test::Picture;

constexpr uint32_t kPaper = 0xFFFFFFFFu;
constexpr uint32_t kInk = 0xFF0000FFu;     // (0, 0, 1, 1)
constexpr uint32_t kMarker = 0xFF00FF00u;  // (0, 1, 0, 1), the highlight
constexpr uint32_t kCaret = 0xFF000000u;

using font_test::Scene;

void Draw(const Scene& s, Picture& target) {
  static auto font = font_test::MakeBoxFont();
  font_test::SceneRequest drawn(s, *font, &target.surface);
  drawn.request.Color = C_Color(0, 0, 1, 1);
  drawn.request.HighlightColor = C_Color(0, 1, 0, 1);
  ASSERT_TRUE(RenderText(drawn.request));
}

// Letters at the pens of one line whose top is top.
void Letters(Picture& p, float top, std::vector<int32_t> pens, int32_t scale = 1) {
  for (int32_t x : pens)
    p.Box(x, static_cast<int32_t>(top) + 3 * scale, 4 * scale, 7 * scale, kInk);
}

void Stops(Picture& p, float top, std::vector<int32_t> pens) {
  for (int32_t x : pens) p.Box(x, static_cast<int32_t>(top) + 8, 2, 2, kInk);
}

void Stars(Picture& p, float top, std::vector<int32_t> pens) {
  for (int32_t x : pens) p.Box(x, static_cast<int32_t>(top) + 7, 3, 3, kInk);
}

void Check(const std::string& name, const Scene& scene, const Picture& expected) {
  Picture actual(expected.Image().Width, expected.Image().Height, kPaper);
  Draw(scene, actual);
  EXPECT_TRUE(MatchesPicture("text_" + name, actual.Image(), expected.Image()));
}

}  // namespace

TEST(TextPicture, WrappedParagraphShiftedIntoItsRectangle) {
  Scene s{"abc def ghi", C_Rect(10.0f, 5.0f, 40.0f, 65.0f, 0, 0), AlignLeftWrap};
  Picture expected(60, 70, kPaper);
  Letters(expected, 5, {10, 16, 22});  // line height 16
  Letters(expected, 21, {10, 16, 22});
  Letters(expected, 37, {10, 16, 22});
  Check("wrapped", s, expected);
}

TEST(TextPicture, CentredAndRightAligned) {
  Picture centred(100, 20, kPaper);
  Letters(centred, 0, {30, 36, 42, 52, 58, 64});  // 40 wide in 100: 30 in
  Check("centred", Scene{"abc def", C_Rect(0.0f, 0.0f, 100.0f, 20.0f, 0, 0), AlignCentre}, centred);
  Picture right(100, 20, kPaper);
  Letters(right, 0, {88, 94});
  Check("right", Scene{"ab", C_Rect(0.0f, 0.0f, 100.0f, 20.0f, 0, 0), AlignRight}, right);
}

TEST(TextPicture, JustifiedWidensOnlyLinesBrokenAtASpace) {
  Picture expected(50, 40, kPaper);
  Letters(expected, 0, {0, 6, 12, 27, 33, 39});  // one space, 5 more pixels
  Letters(expected, 16, {0, 6, 12, 22, 28, 34});
  Check("justified", Scene{"abc def ghi jkl", C_Rect(0.0f, 0.0f, 45.0f, 40.0f, 0, 0), AlignJustify},
        expected);
}

TEST(TextPicture, EllipsisCut) {
  Picture expected(50, 20, kPaper);
  Letters(expected, 0, {0, 6, 12, 18, 24});  // 30 + three stops of 3 = 39 <= 40
  Stops(expected, 0, {30, 33, 36});
  Scene s{"abcdefghij", C_Rect(0.0f, 0.0f, 40.0f, 20.0f, 0, 0)};
  s.ellipsis = 1;
  Check("ellipsis", s, expected);
}

TEST(TextPicture, CaretAfterTheGlyphs) {
  Picture expected(30, 30, kPaper);
  Letters(expected, 10, {0, 6, 12});
  // Row 10: from 10 - 1.25 to 10 + 10 / 1.1: rows trunc(8.75) = 8 and the next
  // trunc(10.34) - 1; one column at the caret character's left.
  expected.Box(6, 8, 1, 10, kCaret);
  Scene s{"abc", C_Rect(0.0f, 10.0f, 30.0f, 30.0f, 0, 0)};
  s.caret = 1;
  Check("caret", s, expected);
}

TEST(TextPicture, CaretOfAnEmptyText) {
  Picture expected(30, 30, kPaper);
  expected.Box(0, 8, 1, 10, kCaret);  // as the caret above, at the line's start
  Scene s{"", C_Rect(0.0f, 10.0f, 30.0f, 30.0f, 0, 0)};
  s.caret = 0;
  Check("empty_caret", s, expected);
}

TEST(TextPicture, PasswordStars) {
  Picture expected(30, 20, kPaper);
  Stars(expected, 0, {0, 5, 10, 15});  // the space is a star too
  Scene s{"ab c", C_Rect(0.0f, 0.0f, 30.0f, 20.0f, 0, 0)};
  s.password = 1;
  Check("password", s, expected);
}

TEST(TextPicture, HighlightBehindTheRange) {
  Picture expected(30, 30, kPaper);
  // Characters 1 and 2 (x 6 to 18), row 10: from 10 - 10/7 to 10 + 10/1.2, that is
  // rows trunc(8.57) = 8 and trunc(9.76) - 1 = 8 more.
  expected.Box(6, 8, 12, 9, kMarker);
  Letters(expected, 10, {0, 6, 12, 18});
  Scene s{"abcd", C_Rect(0.0f, 10.0f, 30.0f, 30.0f, 0, 0)};
  s.highlightFrom = 1;
  s.highlightTo = 3;
  Check("highlight", s, expected);
}

TEST(TextPicture, ScaledVariant) {
  Picture expected(50, 40, kPaper);
  // Size 20 from the size-10 variant: boxes 8 x 14, advances 12 (space 8).
  Letters(expected, 0, {0, 12, 32}, 2);
  Scene s{"ab c", C_Rect(0.0f, 0.0f, 50.0f, 40.0f, 0, 0)};
  s.size = 20;
  Check("scaled", s, expected);
}

namespace {

// Moves every glyph 2 down and paints the second one with the marker colour.
void LowerAndMark(GlyphPlacement& p) {
  p.Position.Y += 2;
  if (p.Index == 1) p.Options.Tint = C_Color(0, 1, 0, 1);
}

}  // namespace

TEST(TextPicture, HookMovesAndRecoloursGlyphsOfPagesWithoutDisplayCopies) {
  // Pages as the baker writes them: the colour image is 8-bit grey, which only a
  // display copy makes drawable; the glyphs are drawn from their coverage.
  auto font = font_test::MakeBoxFont();
  C_Surface* page = font->PageAt(0);
  auto* grey = new C_Image();
  grey->Create(page->Width, pixel_format::Grey8, page->Height);
  page->SetChannel(grey, kColorChannel);
  Picture expected(30, 20, kPaper);
  expected.Box(0, 5, 4, 7, kInk);
  expected.Box(6, 5, 4, 7, kMarker);
  expected.Box(12, 5, 4, 7, kInk);
  Picture actual(30, 20, kPaper);
  C_String text("abc");
  C_FontType type = font_test::RegularType();
  C_TextFormat format;
  format.GlyphHook = &LowerAndMark;
  TextRequest r;
  r.Color = C_Color(0, 0, 1, 1);
  r.LayoutRect = C_Rect(0.0f, 0.0f, 30.0f, 20.0f, 0, 0);
  r.Text = &text;
  r.Font = font.get();
  r.Type = &type;
  r.Format = &format;
  r.Target = &actual.surface;
  ASSERT_TRUE(RenderText(r));
  EXPECT_TRUE(MatchesPicture("text_hooked", actual.Image(), expected.Image()));
}
