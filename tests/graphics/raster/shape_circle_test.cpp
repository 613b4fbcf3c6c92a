// The circle routine and the span filler: worked examples, the octant walk's
// random access against the plain walk, random circles against the per-pixel
// rendering, huge circles, and the filler's own bounds.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "graphics/geometry/circle.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/internal/shape_circle_walk.h"
#include "graphics/raster/internal/span_table.h"
#include "graphics/raster/raster_lock.h"
#include "graphics/raster/shapes.h"
#include "image/pixel_format.h"
#include "reference_picture.h"
#include "shape_support.h"

namespace {

const C_Color kGreen(0, 1, 0, 1);

std::set<std::pair<int32_t, int32_t>> SetPixels(const ShapeCanvas& c) {
  std::set<std::pair<int32_t, int32_t>> set;
  for (int32_t y = 0; y < c.image.Height; ++y)
    for (int32_t x = 0; x < c.image.Width; ++x)
      if (c.At(x, y) != c.background) set.emplace(x, y);
  return set;
}

TEST(ShapeCircle, RadiusTwoOutlineAndDisc) {
  ShapeCanvas outline(11, 11, pixel_format::A8R8G8B8);
  EXPECT_TRUE(DrawCircle(&outline.surface, C_Circle(C_Vector2D(5.9f, 5.2f), 2.7f), kGreen, nullptr,
                         nullptr, 0));
  const std::set<std::pair<int32_t, int32_t>> ring = {{5, 3}, {5, 7}, {3, 5}, {7, 5},
                                                      {4, 3}, {6, 3}, {4, 7}, {6, 7},
                                                      {3, 4}, {7, 4}, {3, 6}, {7, 6}};
  EXPECT_EQ(SetPixels(outline), ring);

  ShapeCanvas disc(11, 11, pixel_format::R5G6B5);
  EXPECT_TRUE(
      DrawCircle(&disc.surface, C_Circle(C_Vector2D(5, 5), 2), kGreen, nullptr, nullptr, 1));
  std::set<std::pair<int32_t, int32_t>> filled;
  for (int32_t x = 4; x <= 6; ++x) filled.emplace(x, 3), filled.emplace(x, 7);
  for (int32_t y = 4; y <= 6; ++y)
    for (int32_t x = 3; x <= 7; ++x) filled.emplace(x, y);
  EXPECT_EQ(SetPixels(disc), filled);  // rows 3 to 7
}

TEST(ShapeCircle, RadiusZeroIsOnePixelAndNegativeRadiiFillNothing) {
  ShapeCanvas c(5, 5, pixel_format::Grey8);
  EXPECT_TRUE(DrawCircle(&c.surface, C_Circle(C_Vector2D(2, 2), 0), kGreen, nullptr, nullptr, 1));
  EXPECT_EQ(SetPixels(c), (std::set<std::pair<int32_t, int32_t>>{{2, 2}}));
  ShapeCanvas negative(5, 5, pixel_format::Grey8);
  EXPECT_TRUE(
      DrawCircle(&negative.surface, C_Circle(C_Vector2D(2, 2), -2), kGreen, nullptr, nullptr, 1));
  EXPECT_TRUE(SetPixels(negative).empty());
}

// The octant's random access (closed form, then the tail) gives the walk's y at
// every x, for every radius up to 3000 and for spot checks of huge radii.
TEST(ShapeCircleWalk, RandomAccessMatchesThePlainWalk) {
  auto check = [](int64_t r, int64_t limit) {
    const shape_detail::CircleOctant octant(r);
    int64_t expected = 0;
    int64_t mismatches = 0;
    ShapeReferenceOctant(r, [&](int64_t x, int64_t y) {
      ++expected;
      if ((x <= limit || x + limit > r) && octant.YAt(x) != y && mismatches++ == 0) {
        ADD_FAILURE() << "r " << r << " x " << x << ": " << octant.YAt(x) << " != " << y;
      }
    });
    ASSERT_EQ(mismatches, 0) << "r " << r;
    ASSERT_EQ(octant.LastX(), expected) << "r " << r;
  };
  for (int64_t r = -2; r <= 3000; ++r) check(r, r);
  for (int64_t r : {123457, 1000003, 40000000}) check(r, 2000);
}

// Random circles, outline or filled, on guarded canvases of each depth with a
// random viewport and clip, against the plain walk and the per-row fill.
TEST(ShapeCircle, MatchesThePlainWalkOnRandomCircles) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> centre(-30.0f, 70.0f), radius(-2.0f, 60.0f);
  std::uniform_int_distribution<int32_t> edge(-4, 44);
  const int32_t formats[] = {pixel_format::Grey8, pixel_format::R5G6B5, pixel_format::A8R8G8B8};
  for (int trial = 0; trial < 500; ++trial) {
    const int32_t format = formats[trial % 3];
    ShapeCanvas c(40, 30, format, 3, false, trial % 4 == 1);
    C_Image expected;
    c.CopyImage(expected);
    const C_Rect interior = c.Interior();
    const C_Rect clip(static_cast<float>(edge(random)), static_cast<float>(edge(random)),
                      static_cast<float>(edge(random)), static_cast<float>(edge(random)), 0, 0);
    const C_Circle circle(C_Vector2D(centre(random), centre(random)), radius(random));
    const uint8_t filled = static_cast<uint8_t>(random() % 2);
    ASSERT_TRUE(DrawCircle(&c.surface, circle, kGreen, &interior, &clip, filled));
    ShapeReferenceTarget ref{&expected, nullptr, ShapeReferenceBounds(46, 36, &interior, &clip),
                             PackColor(format, kGreen)};
    const int64_t cx = static_cast<int64_t>(circle.Center.X);
    const int64_t cy = static_cast<int64_t>(circle.Center.Y);
    const int64_t r = static_cast<int64_t>(circle.Radius);
    if (filled)
      ShapeReferenceDisc(ref, cx, cy, r);
    else
      ShapeReferenceCircle(cx, cy, r, [&](int64_t x, int64_t y) { ref.Put(x, y); });
    ASSERT_TRUE(MatchesPicture("shape_circle_random", c.image, expected))
        << "trial " << trial << " centre (" << cx << ", " << cy << ") r " << r << " filled "
        << int(filled);
    ASSERT_EQ(c.GuardDamage(), 0);
  }
}

// Circles whose walk is far longer than the target: the arcs crossing it are the
// plain walk's pixels, and a disc's rows are found without walking the whole arc.
TEST(ShapeCircle, HugeCirclesDrawTheirArcsExactly) {
  struct Case {
    float cx, cy, r;
  };
  const Case cases[] = {{20, 200020, 200000},
                        {-150000, 12, 150010},
                        {30, -300000, 300015},
                        {141440, 141440, 200000},
                        {20, 15, 2000000}};
  for (const Case& k : cases) {
    for (uint8_t filled : {0, 1}) {
      ShapeCanvas c(40, 30, pixel_format::A8R8G8B8, 2);
      C_Image expected;
      c.CopyImage(expected);
      const C_Rect interior = c.Interior();
      EXPECT_TRUE(DrawCircle(&c.surface, C_Circle(C_Vector2D(k.cx, k.cy), k.r), kGreen, &interior,
                             nullptr, filled));
      ShapeReferenceTarget ref{&expected, nullptr, ShapeReferenceBounds(44, 34, &interior, nullptr),
                               PackColor(pixel_format::A8R8G8B8, kGreen)};
      const auto cx = static_cast<int64_t>(k.cx), cy = static_cast<int64_t>(k.cy);
      const auto r = static_cast<int64_t>(k.r);
      if (filled)
        ShapeReferenceDisc(ref, cx, cy, r);
      else
        ShapeReferenceCircle(cx, cy, r, [&](int64_t x, int64_t y) { ref.Put(x, y); });
      EXPECT_TRUE(MatchesPicture("shape_circle_huge", c.image, expected))
          << k.cx << ", " << k.cy << " r " << k.r << " filled " << int(filled);
      EXPECT_EQ(c.GuardDamage(), 0);
    }
  }
  // The largest radii finish at once and stay inside the bounds.
  ShapeCanvas c(40, 30, pixel_format::A8R8G8B8, 2);
  const C_Rect interior = c.Interior();
  for (float r : {2e9f, 3e38f, -3e38f})
    for (uint8_t filled : {0, 1}) {
      EXPECT_TRUE(DrawCircle(&c.surface, C_Circle(C_Vector2D(-1e9f, 1e9f), r), kGreen, &interior,
                             nullptr, filled));
      EXPECT_TRUE(DrawCircle(&c.surface, C_Circle(C_Vector2D(20, 15), r), kGreen, &interior,
                             nullptr, filled));
    }
  EXPECT_EQ(c.GuardDamage(), 0);
}

TEST(ShapeFillSpans, FillsTheTableRowsCutToItsOwnBounds) {
  ShapeCanvas c(10, 8, pixel_format::A8R8G8B8, 2);
  const C_Rect interior = c.Interior();
  {
    RasterLockGuard lock;
    GlobalSpanTable.Reserve(40);
    GlobalSpanTable.Clear(0, 40);
    GlobalSpanTable.Left[3] = -100;  // wider than the bounds on both sides
    GlobalSpanTable.Right[3] = 100;
    GlobalSpanTable.Left[4] = 5;
    GlobalSpanTable.Right[4] = 6;
    GlobalSpanTable.Left[5] = 7;  // right < left: an empty row
    GlobalSpanTable.Right[5] = 6;
    GlobalSpanTable.Left[30] = 0;  // below the target
    GlobalSpanTable.Right[30] = 9;
    GlobalSpanTable.FirstRow = -5;
    GlobalSpanTable.LastRow = 35;
  }
  EXPECT_TRUE(FillSpans(&c.surface, kGreen, &interior, nullptr));
  std::set<std::pair<int32_t, int32_t>> expected = {{5, 4}, {6, 4}};
  for (int32_t x = 2; x < 12; ++x) expected.emplace(x, 3);
  EXPECT_EQ(SetPixels(c), expected);
  // An empty range left by Clear(bottom, bottom) names the row at the bounds'
  // bottom, which is outside them, so nothing is written.
  ShapeCanvas d(10, 8, pixel_format::A8R8G8B8, 2);
  {
    RasterLockGuard lock;
    GlobalSpanTable.Clear(0, 40);
    GlobalSpanTable.Left[10] = 0;
    GlobalSpanTable.Right[10] = 9;
    GlobalSpanTable.Clear(10, 10);
  }
  EXPECT_TRUE(FillSpans(&d.surface, kGreen, &interior, nullptr));
  EXPECT_TRUE(SetPixels(d).empty());
}

}  // namespace
