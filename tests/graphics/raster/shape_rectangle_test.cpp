// The rectangle routine: coverage, outlines, edge order, opacity and the mask
// rule, depths, anchored rectangles, and random rectangles against the per-pixel
// rendering of the rules.
#include <gtest/gtest.h>

#include <random>

#include "graphics/geometry/anchor.h"
#include "graphics/geometry/rect.h"
#include "graphics/geometry/resolve.h"
#include "graphics/raster/shapes.h"
#include "image/pixel_format.h"
#include "reference_picture.h"
#include "shape_support.h"

namespace {

const C_Color kWhite(1, 1, 1, 1);

int32_t CountSet(const ShapeCanvas& c) {
  int32_t count = 0;
  for (int32_t y = 0; y < c.image.Height; ++y)
    for (int32_t x = 0; x < c.image.Width; ++x) count += c.At(x, y) != c.background;
  return count;
}

TEST(ShapeRectangle, CoversColumnsAndRowsFromTheTruncatedEdges) {
  ShapeCanvas filled(16, 16, pixel_format::A8R8G8B8);
  EXPECT_TRUE(DrawRectangle(&filled.surface, C_Rect(0, 0, 10, 10), kWhite, nullptr, nullptr, 1, 1));
  EXPECT_EQ(CountSet(filled), 100);
  EXPECT_NE(filled.At(9, 9), filled.background);
  EXPECT_EQ(filled.At(10, 9), filled.background);

  ShapeCanvas outline(16, 16, pixel_format::A8R8G8B8);
  EXPECT_TRUE(
      DrawRectangle(&outline.surface, C_Rect(0, 0, 10, 10), kWhite, nullptr, nullptr, 0, 1));
  EXPECT_EQ(CountSet(outline), 36);
  EXPECT_EQ(outline.At(5, 5), outline.background);
  EXPECT_NE(outline.At(9, 5), outline.background);

  // Edges given the other way round draw the same area.
  ShapeCanvas swapped(16, 16, pixel_format::A8R8G8B8);
  EXPECT_TRUE(
      DrawRectangle(&swapped.surface, C_Rect(10, 10, 0, 0), kWhite, nullptr, nullptr, 1, 1));
  EXPECT_TRUE(MatchesPicture("shape_rect_swapped", swapped.image, filled.image));

  // Start trunc(0.5) = 0, width trunc(10.4 - 0.5) = 9: columns 0..8.
  ShapeCanvas fractional(16, 16, pixel_format::A8R8G8B8);
  const C_Rect r(0.5f, 0.5f, 10.4f, 1.9f, 0, 0);
  EXPECT_TRUE(DrawRectangle(&fractional.surface, r, kWhite, nullptr, nullptr, 1, 1));
  EXPECT_EQ(CountSet(fractional), 9);
  EXPECT_NE(fractional.At(8, 0), fractional.background);
}

TEST(ShapeRectangle, OpacityZeroTouchesNothingAndOneWritesTheExactColour) {
  ShapeCanvas c(8, 8, pixel_format::A8R8G8B8, 0, true);
  EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(0, 0, 8, 8), kWhite, nullptr, nullptr, 1, 0.0f));
  EXPECT_EQ(CountSet(c), 0);
  EXPECT_EQ(c.MaskAt(3, 3), 0);
  const C_Color color = C_Color::FromBytes(128, 175, 210);
  EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(1, 1, 3, 3), color, nullptr, nullptr, 1, 1.0f));
  EXPECT_EQ(c.At(2, 2), 0xFF80AFD2u);
  EXPECT_EQ(c.MaskAt(2, 2), 255);  // an opaque draw covers the mask
  EXPECT_EQ(c.MaskAt(3, 3), 0);
  // Opacity beyond 1 is opaque, not an overshoot.
  EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(4, 4, 5, 5), color, nullptr, nullptr, 1, 3.0f));
  EXPECT_EQ(c.At(4, 4), 0xFF80AFD2u);
}

TEST(ShapeRectangle, HalfOpacityBlendsEachChannelWithoutAMask) {
  ShapeCanvas c(4, 4, pixel_format::A8R8G8B8);
  // Background (0.25, 0.5, 0.75) packs to (63, 127, 191); white at weight 128.
  EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(0, 0, 4, 4), kWhite, nullptr, nullptr, 1, 0.5f));
  const uint32_t d = c.At(1, 1);
  EXPECT_EQ((d >> 16) & 0xFF, 63u + ((255u - 63u) * 128u >> 8));
  EXPECT_EQ((d >> 8) & 0xFF, 127u + ((255u - 127u) * 128u >> 8));
  EXPECT_EQ(d & 0xFF, 191u + ((255u - 191u) * 128u >> 8));
  EXPECT_EQ(d >> 24, 0xFFu);  // alpha of the target is kept
  // Blending towards a darker colour shifts arithmetically (floor).
  ShapeCanvas dark(4, 4, pixel_format::A8R8G8B8);
  EXPECT_TRUE(DrawRectangle(&dark.surface, C_Rect(0, 0, 4, 4), C_Color(0, 0, 0, 1), nullptr,
                            nullptr, 1, 0.5f));
  EXPECT_EQ((dark.At(0, 0) >> 16) & 0xFF, static_cast<uint32_t>(63 + ((-63 * 128) >> 8)));
}

TEST(ShapeRectangle, MaskRuleWorkedExample) {
  ShapeCanvas c(4, 4, pixel_format::A8R8G8B8, 0, true);
  // Mask 0, weight 128: the mask becomes 128 and the pixel takes the full colour.
  EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(0, 0, 2, 2), kWhite, nullptr, nullptr, 1, 0.5f));
  EXPECT_EQ(c.MaskAt(1, 1), 128);
  EXPECT_EQ(c.At(1, 1), 0xFFFFFFFFu);
  // Again with black: the mask grows to 192 and the pixel blends with 170.
  EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(0, 0, 2, 2), C_Color(0, 0, 0, 1), nullptr, nullptr,
                            1, 0.5f));
  EXPECT_EQ(c.MaskAt(1, 1), 192);
  EXPECT_EQ(c.At(1, 1) & 0xFF, static_cast<uint32_t>(255 + ((-255 * 170) >> 8)));
  EXPECT_EQ(c.MaskAt(2, 2), 0);
}

TEST(ShapeRectangle, EightAndSixteenBitTargetsAreWrittenUnblended) {
  for (int32_t format : {pixel_format::Index8, pixel_format::R5G5B5}) {
    ShapeCanvas c(6, 6, format, 0, true);
    EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(1, 1, 5, 5), kWhite, nullptr, nullptr, 0, 0.5f));
    EXPECT_EQ(c.At(1, 4), PackColor(format, kWhite)) << format;
    EXPECT_EQ(c.At(2, 2), c.background);
    EXPECT_EQ(CountSet(c), 12);
    EXPECT_EQ(c.MaskAt(1, 4), 0);
  }
}

TEST(ShapeRectangle, ResolvesAnchorsAgainstTheViewport) {
  ShapeCanvas c(20, 10, pixel_format::A8R8G8B8);
  const C_Rect viewport(10.0f, 0.0f, 20.0f, 10.0f, 0, 0);
  // Centred in the viewport: x from 15 - 2 to 15 + 2, y from 5 - 1 to 5 + 1.
  const C_Rect centred(0.0f, 0.0f, 4.0f, 2.0f, 0x22, 0x33, C_Vector2D(0, 0, 0x22));
  EXPECT_TRUE(DrawRectangle(&c.surface, centred, kWhite, &viewport, nullptr, 1, 1));
  EXPECT_EQ(CountSet(c), 8);
  EXPECT_NE(c.At(13, 4), c.background);
  EXPECT_NE(c.At(16, 5), c.background);
  // A rectangle running past the viewport is cut at it; its outline loses the
  // edges that lie outside.
  ShapeCanvas cut(20, 10, pixel_format::A8R8G8B8);
  EXPECT_TRUE(DrawRectangle(&cut.surface, C_Rect(-5, 2, 15, 20), kWhite, &viewport, nullptr, 0, 1));
  // Anchors 0 place it at (5, 2, 25, 20): only its top row meets columns 10..19.
  EXPECT_EQ(CountSet(cut), 10);
}

// Random rectangles (outline and filled, random opacity, with and without a mask,
// bottom-up or not, random viewport and clip) against the per-pixel rules, twice
// over the same canvas so that masks accumulate.
TEST(ShapeRectangle, RowWritersMatchThePerPixelRules) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> coord(-8.0f, 40.0f), unit(0.0f, 1.0f);
  std::uniform_int_distribution<int32_t> edge(-3, 36);
  for (int trial = 0; trial < 400; ++trial) {
    const bool masked = trial % 2 == 0;
    const int32_t format = trial % 7 == 6 ? pixel_format::R5G6B5 : pixel_format::A8R8G8B8;
    ShapeCanvas c(32, 24, format, 2, masked, trial % 3 == 0);
    C_Image expected, expectedMask;
    c.CopyImage(expected);
    if (masked) c.CopyMask(expectedMask);
    const C_Rect interior = c.Interior();
    const C_Rect clip(static_cast<float>(edge(random)), static_cast<float>(edge(random)),
                      static_cast<float>(edge(random)), static_cast<float>(edge(random)), 0, 0);
    for (int draw = 0; draw < 2; ++draw) {
      const C_Rect r(coord(random), coord(random), coord(random), coord(random), 0x44, 0x44);
      const C_Color color(unit(random), unit(random), unit(random), 1);
      const float opacity = trial % 5 == 0 ? 1.0f : unit(random);
      const uint8_t filled = static_cast<uint8_t>(random() % 2);
      ASSERT_TRUE(DrawRectangle(&c.surface, r, color, &interior, &clip, filled, opacity));
      ShapeReferenceTarget ref{&expected, masked ? &expectedMask : nullptr,
                               ShapeReferenceBounds(36, 28, &interior, &clip),
                               PackColor(format, color)};
      ShapeReferenceRectangle(ref, r, filled != 0, opacity);
    }
    ASSERT_TRUE(MatchesPicture("shape_rect_random", c.image, expected)) << "trial " << trial;
    if (masked) {
      ASSERT_TRUE(MatchesPicture("shape_rect_random_mask", c.mask, expectedMask));
    }
    ASSERT_EQ(c.GuardDamage(), 0);
  }
}

}  // namespace
