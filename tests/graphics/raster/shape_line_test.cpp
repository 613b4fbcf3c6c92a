// The pixel and line routines: worked examples, every depth, bottom-up targets,
// bounds, and the line's bounded walk against the full 16.16 walk.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "core/vector2d.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/shapes.h"
#include "image/pixel_format.h"
#include "reference_picture.h"
#include "shape_support.h"

namespace {

const C_Color kRed(1, 0, 0, 1);

// The set pixels of a canvas (those that differ from its background), row by row.
std::vector<std::pair<int32_t, int32_t>> SetPixels(const ShapeCanvas& c) {
  std::vector<std::pair<int32_t, int32_t>> set;
  for (int32_t y = 0; y < c.image.Height; ++y)
    for (int32_t x = 0; x < c.image.Width; ++x)
      if (c.At(x, y) != c.background) set.emplace_back(x, y);
  return set;
}

using Pixels = std::vector<std::pair<int32_t, int32_t>>;

TEST(ShapePixel, WritesThePackedColourAtTheTruncatedPointOnEveryDepth) {
  for (int32_t format : {pixel_format::Grey8, pixel_format::R5G6B5, pixel_format::A8R8G8B8}) {
    ShapeCanvas c(8, 6, format);
    EXPECT_TRUE(DrawPixel(&c.surface, C_Vector2D(2.7f, 3.2f), kRed, nullptr, nullptr));
    EXPECT_EQ(SetPixels(c), (Pixels{{2, 3}})) << format;
    EXPECT_EQ(c.At(2, 3), PackColor(format, kRed)) << format;
  }
}

TEST(ShapePixel, PointsOutsideTheBoundsAreNotWritten) {
  ShapeCanvas c(8, 6, pixel_format::A8R8G8B8);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const C_Vector2D& p : {C_Vector2D(-1, 5), C_Vector2D(8, 5), C_Vector2D(3, 6),
                              C_Vector2D(nan, 1), C_Vector2D(1, 1e30f), C_Vector2D(-0.5f, -3)})
    EXPECT_TRUE(DrawPixel(&c.surface, p, kRed, nullptr, nullptr));
  // -0.5 truncates towards zero: column 0 of row -3 is still outside.
  EXPECT_TRUE(SetPixels(c).empty());
  const C_Rect viewport(2.0f, 2.0f, 6.0f, 5.0f, 0, 0), clip(0.0f, 0.0f, 4.0f, 8.0f, 0, 0);
  EXPECT_TRUE(DrawPixel(&c.surface, C_Vector2D(4, 3), kRed, &viewport, &clip));
  EXPECT_TRUE(DrawPixel(&c.surface, C_Vector2D(1, 3), kRed, &viewport, &clip));
  EXPECT_TRUE(DrawPixel(&c.surface, C_Vector2D(3, 4), kRed, &viewport, &clip));
  EXPECT_EQ(SetPixels(c), (Pixels{{3, 4}}));
}

TEST(ShapePixel, BottomUpTargetsKeepRowZeroAtTheTop) {
  ShapeCanvas c(4, 3, pixel_format::A8R8G8B8, 0, false, true);
  EXPECT_TRUE(DrawPixel(&c.surface, C_Vector2D(1, 0), kRed, nullptr, nullptr));
  // Row 0 of the picture is the last row in memory.
  uint32_t stored;
  std::memcpy(&stored, c.image.Pixels + 2 * c.image.Pitch + 4, 4);
  EXPECT_EQ(stored, 0xFFFF0000u);
}

TEST(ShapeLine, WorkedExamples) {
  ShapeCanvas c(10, 4, pixel_format::A8R8G8B8);
  EXPECT_TRUE(DrawLine(&c.surface, C_Vector2D(0, 0), C_Vector2D(3, 0), kRed, nullptr, nullptr));
  EXPECT_EQ(SetPixels(c), (Pixels{{0, 0}, {1, 0}, {2, 0}}));
  ShapeCanvas same(10, 4, pixel_format::A8R8G8B8);
  EXPECT_TRUE(DrawLine(&same.surface, C_Vector2D(2, 2), C_Vector2D(2, 2), kRed, nullptr, nullptr));
  EXPECT_TRUE(SetPixels(same).empty());
  // Walking left starts at the same half pixel, so the start column is plotted
  // and the walk runs on to column 0.
  ShapeCanvas left(10, 4, pixel_format::A8R8G8B8);
  EXPECT_TRUE(DrawLine(&left.surface, C_Vector2D(3, 1), C_Vector2D(0, 1), kRed, nullptr, nullptr));
  EXPECT_EQ(SetPixels(left), (Pixels{{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
  ShapeCanvas diagonal(10, 4, pixel_format::A8R8G8B8);
  EXPECT_TRUE(
      DrawLine(&diagonal.surface, C_Vector2D(0, 0), C_Vector2D(3, 3), kRed, nullptr, nullptr));
  EXPECT_EQ(SetPixels(diagonal), (Pixels{{0, 0}, {1, 1}, {2, 2}}));
}

TEST(ShapeLine, IsUnblendedAndKeepsTheMask) {
  ShapeCanvas c(6, 6, pixel_format::A8R8G8B8, 0, true);
  EXPECT_TRUE(DrawLine(&c.surface, C_Vector2D(0, 2), C_Vector2D(6, 2), C_Color(0, 1, 0, 0.5f),
                       nullptr, nullptr));
  EXPECT_EQ(c.At(5, 2), PackColor(pixel_format::A8R8G8B8, C_Color(0, 1, 0, 0.5f)));
  EXPECT_EQ(c.MaskAt(5, 2), 0);
}

// Lines with random end points (some far outside), random viewport and clip, on a
// guarded canvas, on all depths and both row orders, against the full walk.
TEST(ShapeLine, BoundedWalkMatchesTheFullWalk) {
  std::mt19937 random(5);
  std::uniform_real_distribution<float> near(-20.0f, 60.0f), far(-3e5f, 3e5f);
  std::uniform_int_distribution<int32_t> edge(-4, 44);
  const int32_t formats[] = {pixel_format::Grey8, pixel_format::A4R4G4B4, pixel_format::A8R8G8B8};
  for (int trial = 0; trial < 600; ++trial) {
    const int32_t format = formats[trial % 3];
    ShapeCanvas c(40, 30, format, 3, false, trial % 2 == 1);
    C_Image expected;
    c.CopyImage(expected);
    const C_Rect interior = c.Interior();
    const C_Rect clip(static_cast<float>(edge(random)), static_cast<float>(edge(random)),
                      static_cast<float>(edge(random)), static_cast<float>(edge(random)), 0, 0);
    const bool useClip = trial % 4 != 0;
    auto coordinate = [&] { return trial % 5 == 0 ? far(random) : near(random); };
    const C_Vector2D from(coordinate(), coordinate()), to(coordinate(), coordinate());
    ASSERT_TRUE(DrawLine(&c.surface, from, to, kRed, &interior, useClip ? &clip : nullptr));
    ShapeReferenceTarget ref{&expected, nullptr,
                             ShapeReferenceBounds(46, 36, &interior, useClip ? &clip : nullptr),
                             PackColor(format, kRed)};
    ShapeReferenceLine(from.X, from.Y, to.X, to.Y, [&](int64_t x, int64_t y) { ref.Put(x, y); });
    ASSERT_TRUE(MatchesPicture("shape_line_random", c.image, expected))
        << "trial " << trial << " from (" << from.X << ", " << from.Y << ") to (" << to.X << ", "
        << to.Y << ")";
    ASSERT_EQ(c.GuardDamage(), 0);
  }
}

TEST(ShapeLine, HugeAndNonFiniteEndPointsAreCheapAndSafe) {
  ShapeCanvas c(32, 16, pixel_format::A8R8G8B8, 2);
  const C_Rect interior = c.Interior();
  // A horizontal line from -1e9 to 1e9 would take 2e9 steps if walked from its start.
  EXPECT_TRUE(DrawLine(&c.surface, C_Vector2D(-1e9f, 5.25f), C_Vector2D(1e9f, 5.25f), kRed,
                       &interior, nullptr));
  for (int32_t x = 2; x < 34; ++x) EXPECT_EQ(c.At(x, 5), 0xFFFF0000u) << x;
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  const C_Vector2D points[] = {C_Vector2D(inf, 3),    C_Vector2D(-inf, -inf), C_Vector2D(nan, 2),
                               C_Vector2D(big, -big), C_Vector2D(-big, 7),    C_Vector2D(4, 1e38f)};
  for (const C_Vector2D& a : points)
    for (const C_Vector2D& b : points)
      EXPECT_TRUE(DrawLine(&c.surface, a, b, C_Color(0, 0, 1, 1), &interior, nullptr));
  EXPECT_EQ(c.GuardDamage(), 0);
}

}  // namespace
