// Glyphs that lie inside the bounds are stamped straight, many to a call; every
// text draws exactly what it draws when each glyph goes through the clipping
// stamp, whatever its clip, colour, alignment, size and layout. A font keeps its
// page stamps from text to text, and a text on another target, in another colour
// or inside other bounds draws what a font that never drew draws.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/string.h"
#include "font/render_text.h"
#include "font/text_format.h"
#include "font_test_support.h"

namespace {

using font_test::Picture;

// The box font with graded coverage over its whole page, so that every blend
// rounds.
std::unique_ptr<C_Font> GradedFont() {
  auto font = font_test::MakeBoxFont();
  C_Image* coverage = font->PageAt(0)->FindImage(kAlphaChannel);
  for (int32_t y = 0; y < coverage->Height; ++y) {
    for (int32_t x = 0; x < coverage->Width; ++x)
      coverage->RowAddress(y)[x] = static_cast<uint8_t>((37 * x + 11 * y) % 251 + 5);
  }
  return font;
}

using font_test::Scene;

// A scene with the colour, clip and leading it is drawn with.
struct Case {
  const char* name;
  Scene scene;
  C_Color color = C_Color(0.1f, 0.4f, 0.9f, 1);
  std::optional<C_Rect> clip = std::nullopt;
  float leading = 0;
};

std::vector<uint32_t> Draw(C_Font& font, const Case& c, bool generic) {
  Picture target(90, 60);
  std::mt19937 random(3);
  for (int32_t y = 0; y < 60; ++y) {
    for (int32_t x = 0; x < 90; ++x) target.Set(x, y, 0xFF000000u | (random() & 0xFFFFFF));
  }
  font_test::SceneRequest drawn(c.scene, font, &target.surface);
  if (c.scene.size == 20) drawn.type.Kind = kKindNamed;  // the pictures drawn at 20 pixels
  drawn.format.Leading = c.leading;
  drawn.request.Color = c.color;
  drawn.request.HighlightColor = C_Color(0.8f, 0.8f, 0.2f, 0.6f);
  drawn.request.Clip = c.clip ? &*c.clip : nullptr;
  ForceGenericGlyphPath(generic);
  const bool ok = RenderText(drawn.request);
  ForceGenericGlyphPath(false);
  EXPECT_TRUE(ok);
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < 60; ++y) {
    for (int32_t x = 0; x < 90; ++x) pixels.push_back(target.At(x, y));
  }
  return pixels;
}

TEST(GlyphPath, StraightStampsDrawWhatTheClippingStampDraws) {
  const C_Rect whole(0.0f, 0.0f, 90.0f, 60.0f, 0, 0);
  const std::string paragraph = "abc def ghij klm nop. qrs tuv wxyz ab cd";
  const Case cases[] = {
      {"one line inside", {"status ok. all fine", C_Rect(4.0f, 3.0f, 90.0f, 60.0f, 0, 0)}},
      {"fractional pen", {"abc def.", C_Rect(3.5f, 2.75f, 90.0f, 60.0f, 0, 0)}},
      {"just left of the edge", {"abc def.", C_Rect(-0.75f, 0.5f, 90.0f, 60.0f, 0, 0)}},
      {"half opacity", {"status ok", whole}, C_Color(0.9f, 0.2f, 0.1f, 0.5f)},
      {"off every edge", {"abcdefghijklmnopqrstuvwxyz", C_Rect(-9.0f, -4.0f, 90.0f, 60.0f, 0, 0)}},
      {"clip through glyphs",
       {paragraph, whole, AlignLeftWrap},
       C_Color(0, 0, 0, 1),
       C_Rect(7.5f, 5.0f, 61.0f, 29.0f, 0, 0)},
      {"centred", {paragraph, whole, AlignCentre}, C_Color(1, 1, 1, 0.8f)},
      {"right",
       {paragraph, C_Rect(0.0f, 2.0f, 83.0f, 60.0f, 0, 0), AlignRight},
       C_Color(0.3f, 0.3f, 0.3f, 1)},
      {"justified", {paragraph, whole, AlignJustify}, C_Color(0.5f, 0, 0.5f, 1)},
      {"cut with dots",
       {paragraph, C_Rect(0.0f, 0.0f, 50.0f, 14.0f, 0, 0), AlignLeft, 1},
       C_Color(0, 0.6f, 0, 1)},
      {"password", {"secret word", whole, AlignLeft, 0, 1}, C_Color(0.2f, 0.2f, 1, 1)},
      {"scaled", {"abc def", whole, AlignLeft, 0, 0, 13}, C_Color(0.6f, 0.1f, 0.1f, 1)},
      {"larger variant", {"abc de", whole, AlignLeft, 0, 0, 20}, C_Color(0.1f, 0.1f, 0.1f, 0.9f)},
      // Highlight and caret drawn over the glyphs of the line above them.
      {"highlight and caret over the line above",
       {paragraph, whole, AlignLeftWrap, 0, 0, 10, 18, 12, 30},
       C_Color(0, 0, 0.7f, 1),
       std::nullopt,
       -8},
  };
  auto font = GradedFont();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint32_t> generic = Draw(*font, c, true);
    EXPECT_TRUE(Draw(*font, c, false) == generic);
    // A font that never drew draws the same as one that keeps its stamps.
    auto fresh = GradedFont();
    EXPECT_TRUE(Draw(*fresh, c, false) == generic);
  }
}

TEST(GlyphPath, KeptStampsFollowTargetColourAndBounds) {
  struct Step {
    const char* name;
    int32_t width, height;  // of the target
    C_Color color;
    std::optional<C_Rect> clip;
    int32_t newImage;  // the target keeps its surface but gets a new image this wide
  };
  const Step steps[] = {
      {"first", 80, 30, C_Color(0, 0, 1, 1), std::nullopt, 0},
      {"same again", 80, 30, C_Color(0, 0, 1, 1), std::nullopt, 0},
      {"other colour", 80, 30, C_Color(1, 0.5f, 0, 0.7f), std::nullopt, 0},
      {"clipped", 80, 30, C_Color(1, 0.5f, 0, 0.7f), C_Rect(9.0f, 2.0f, 31.0f, 12.0f, 0, 0), 0},
      {"other target", 40, 12, C_Color(0, 0, 1, 1), std::nullopt, 0},
      {"first again", 80, 30, C_Color(0, 0, 1, 1), std::nullopt, 0},
      {"target image replaced", 80, 30, C_Color(0, 0, 1, 1), std::nullopt, 80},
      {"target image shrunk", 80, 30, C_Color(0, 0, 1, 1), std::nullopt, 13},
  };
  auto used = GradedFont();
  Picture target(80, 30, 0xFF204060u);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    std::unique_ptr<Picture> other;
    C_Surface* surface = &target.surface;
    if (step.newImage > 0) {
      auto* image = new C_Image();
      image->CreateFilled(step.newImage, pixel_format::A8R8G8B8, step.newImage * 3 / 8,
                          C_Color(0.5f, 0.5f, 0.5f, 1));
      target.surface.SetChannel(image, kColorChannel);
    } else if (step.width != 80) {
      other = std::make_unique<Picture>(step.width, step.height, 0xFF204060u);
      surface = &other->surface;
    }
    const C_Image& image = *surface->FindImage(kColorChannel);
    Picture twin(image.Width, image.Height);
    for (int32_t y = 0; y < image.Height; ++y) {
      for (int32_t x = 0; x < image.Width; ++x)
        twin.Set(x, y, reinterpret_cast<const uint32_t*>(image.RowAddress(y))[x]);
    }
    const C_String text("abc def.");
    const C_FontType type = font_test::RegularType();
    TextRequest r;
    r.Color = step.color;
    r.LayoutRect = C_Rect(2.0f, 1.0f, 80.0f, 30.0f, 0, 0);
    r.Text = &text;
    r.Type = &type;
    r.Clip = step.clip ? &*step.clip : nullptr;
    r.Font = used.get();
    r.Target = surface;
    ASSERT_TRUE(RenderText(r));
    auto fresh = GradedFont();
    r.Font = fresh.get();
    r.Target = &twin.surface;
    ASSERT_TRUE(RenderText(r));
    for (int32_t y = 0; y < image.Height; ++y) {
      for (int32_t x = 0; x < image.Width; ++x)
        ASSERT_EQ(reinterpret_cast<const uint32_t*>(image.RowAddress(y))[x], twin.At(x, y))
            << x << "," << y;
    }
  }
}

}  // namespace
