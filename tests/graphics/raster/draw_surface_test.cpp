// Image drawing: the worked numbers of opacity, keys, masks, effects, placement,
// scaling, rotation, wrap and frames, and degenerate input.
#include "graphics/raster/draw_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/error.h"
#include "draw_test_support.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "tests/reversed_bands.h"

using draw_test::Picture;
using draw_test::Tag;
using draw_test::Tagged;

namespace {

uint32_t Channel(uint32_t p, int shift) {
  return (p >> shift) & 0xFF;
}

TEST(DrawSurfaceBlend, OpacityZeroDrawsNothingAndHalfBlends) {
  Picture source(4, 4, 0xFFC86432);  // 200, 100, 50
  Picture target(8, 8, 0xFF0A14FF);  // 10, 20, 255
  DrawOptions options;
  options.Opacity = 0;
  EXPECT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(1, 1), &options, nullptr));
  EXPECT_EQ(target.At(1, 1), 0xFF0A14FFu);
  options.Opacity = 0.5f;
  EXPECT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(1, 1), &options, nullptr));
  const uint32_t p = target.At(1, 1);
  EXPECT_EQ(Channel(p, 16), 10u + ((200 - 10) * 128 >> 8));
  EXPECT_EQ(Channel(p, 8), 20u + ((100 - 20) * 128 >> 8));
  EXPECT_EQ(Channel(p, 0), static_cast<uint32_t>(255 + ((50 - 255) * 128 >> 8)));
  EXPECT_EQ(target.At(0, 0), 0xFF0A14FFu);
  EXPECT_EQ(target.At(5, 5), 0xFF0A14FFu);
}

TEST(DrawSurfaceKey, MagentaUnderTheDefaultKeyLeavesTheTarget) {
  Picture source(2, 1, 0xFFFF00FF);
  source.Set(1, 0, 0xFF123456);
  Picture target(4, 1, 0xFF000001);
  DrawOptions options;
  options.UseColorKey = 1;
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &options, nullptr));
  EXPECT_EQ(target.At(0, 0), 0xFF000001u);
  EXPECT_EQ(target.At(1, 0), 0xFF123456u);
  // A key carried by the surface is copied into the caller's options and stays there.
  source.surface.Extra = new C_Color(0x12 / 255.0f, 0x34 / 255.0f, 0x56 / 255.0f, 1);
  DrawOptions fresh;
  Picture second(4, 1, 0xFF000001);
  ASSERT_TRUE(DrawSurface(&source.surface, &second.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &fresh, nullptr));
  EXPECT_EQ(fresh.UseColorKey, 1);
  EXPECT_FLOAT_EQ(fresh.ColorKey.Green, 0x34 / 255.0f);
  EXPECT_EQ(second.At(0, 0), 0xFFFF00FFu);
  EXPECT_EQ(second.At(1, 0), 0xFF000001u);
}

TEST(DrawSurfaceMask, CoverageAccumulatesOverTwoHalfDraws) {
  Picture source(1, 1, 0xFFC80000);  // red 200
  Picture target(1, 1, 0xFF000000);
  target.AddSecond(0);
  DrawOptions options;
  options.Opacity = 0.5f;
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &options, nullptr));
  EXPECT_EQ(target.SecondAt(0, 0), 128);
  EXPECT_EQ(Channel(target.At(0, 0), 16), 200u);  // weight 128 * 256 / 128 = 256
  target.Set(0, 0, 0xFF000000);
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &options, nullptr));
  EXPECT_EQ(target.SecondAt(0, 0), 192);
  EXPECT_EQ(Channel(target.At(0, 0), 16), static_cast<uint32_t>(200 * 170 >> 8));
}

TEST(DrawSurfaceAlpha, SourceAlphaWeightsEachPixel) {
  Picture source(3, 1, 0xFFFFFFFF);
  source.AddSecond(255);
  source.SecondAt(1, 0) = 0;
  source.SecondAt(2, 0) = 64;
  Picture target(3, 1, 0xFF000000);
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), nullptr, nullptr));
  EXPECT_EQ(target.At(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(target.At(1, 0), 0xFF000000u);
  EXPECT_EQ(target.At(2, 0), 0xFF3F3F3Fu);  // 255 * 64 >> 8
}

TEST(DrawSurfaceEffects, ContrastAndOffsetAsWorked) {
  Picture source(1, 1, 0xFF648040);  // 100, 128, 64
  Picture target(1, 1, 0);
  DrawOptions options;
  options.UseContrast = 1;
  options.Contrast = C_Color(1, 1, 1, 1);  // factor 256: unchanged
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &options, nullptr));
  EXPECT_EQ(target.At(0, 0) & 0xFFFFFF, 0x648040u);
  options.UseOffset = 1;
  options.Offset = C_Color(1, 0, -0.25f, 0);  // +256 on red clamps, -64 on blue
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &options, nullptr));
  EXPECT_EQ(target.At(0, 0) & 0xFFFFFF, 0xFF8000u);
  options.UseOffset = 0;
  options.Contrast = C_Color(2, 0, 0.5f, 1);  // red 100 -> 72, green -> 128, blue 64 -> 96
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &options, nullptr));
  EXPECT_EQ(target.At(0, 0) & 0xFFFFFF, 0x488060u);
}

TEST(DrawSurfacePlacement, DirtyRectTakesTheBoxOfWhatWasDrawn) {
  auto source = Tagged(5, 3);
  Picture target(20, 20);
  C_Rect dirty(1e9f, 1e9f, -1e9f, -1e9f, 0, 0);
  ASSERT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(4.7f, 2.2f), nullptr, &dirty));
  EXPECT_EQ(dirty.X1, 4);
  EXPECT_EQ(dirty.Y1, 2);
  EXPECT_EQ(dirty.X2, 9);
  EXPECT_EQ(dirty.Y2, 5);
  EXPECT_EQ(target.At(4, 2), Tag(0, 0));
  EXPECT_EQ(target.At(8, 4), Tag(4, 2));
}

TEST(DrawSurfacePlacement, ScaleTwoFromHalfPixelCoversColumnsZeroToNineteen) {
  Picture source(10, 10, 0xFF00FF00);
  Picture target(24, 24, 0xFF000000);
  DrawOptions options;
  options.Scale = C_Vector2D(2, 2);
  C_Rect dirty(1e9f, 1e9f, -1e9f, -1e9f, 0, 0);
  ASSERT_TRUE(DrawSurface(&source.surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0.5f, 0.5f), &options, &dirty));
  EXPECT_EQ(dirty.X1, 0);
  EXPECT_EQ(dirty.X2, 20);
  EXPECT_EQ(dirty.Y2, 20);
  EXPECT_EQ(target.At(19, 19), 0xFF00FF00u);
  EXPECT_EQ(target.At(20, 19), 0xFF000000u);
  EXPECT_EQ(target.At(19, 20), 0xFF000000u);
}

TEST(DrawSurfacePlacement, MirroredScaleGivesEveryColumnItsShare) {
  auto source = Tagged(4, 1);
  Picture target(8, 1);
  DrawOptions options;
  options.Scale = C_Vector2D(2, 1);
  options.MirrorX = 1;
  // Mirrored: the pivot (0, 0) is measured from the right edge, so the image ends at x.
  ASSERT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(8, 0), &options, nullptr));
  for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(target.At(x, 0), Tag(3 - x / 2, 0)) << x;
}

TEST(DrawSurfacePlacement, QuarterTurnRunsTheTopRowDownFromThePosition) {
  auto source = Tagged(6, 3);
  Picture target(20, 20);
  DrawOptions options;
  options.Angle = 90;
  C_Rect dirty(1e9f, 1e9f, -1e9f, -1e9f, 0, 0);
  ASSERT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(10, 5), &options, &dirty));
  for (int32_t k = 0; k < 6; ++k) {
    EXPECT_EQ(target.At(9, 5 + k), Tag(k, 0)) << k;
    EXPECT_EQ(target.At(7, 5 + k), Tag(k, 2)) << k;
  }
  EXPECT_EQ(target.At(10, 5), 0u);
  EXPECT_EQ(target.At(6, 5), 0u);
  EXPECT_EQ(dirty.X1, 7);
  EXPECT_EQ(dirty.X2, 10);
  EXPECT_EQ(dirty.Y1, 5);
  EXPECT_EQ(dirty.Y2, 11);
}

TEST(DrawSurfaceWrap, LeftColumnsReappearAtTheRightEdge) {
  auto source = Tagged(30, 2);
  Picture target(120, 2);
  const C_Rect viewport(0, 0, 100, 2);
  DrawOptions options;
  options.WrapX = 1;
  ASSERT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, &viewport, nullptr,
                          C_Vector2D(-10, 0), &options, nullptr));
  EXPECT_EQ(target.At(0, 0), Tag(10, 0));
  EXPECT_EQ(target.At(19, 1), Tag(29, 1));
  EXPECT_EQ(target.At(20, 0), 0u);
  EXPECT_EQ(target.At(89, 0), 0u);
  EXPECT_EQ(target.At(90, 0), Tag(0, 0));
  EXPECT_EQ(target.At(99, 0), Tag(9, 0));
  EXPECT_EQ(target.At(100, 0), 0u);  // outside the viewport
}

TEST(DrawSurfaceFrames, GridAnchorsSelectFrameFive) {
  auto source = Tagged(16, 8);  // 4 x 2 frames of 4 x 4
  source->surface.Columns = 4;
  source->surface.Rows = 2;
  Picture target(4, 4);
  const uint8_t grid = MakeAnchor(AnchorGridFromStart, AnchorGridFromStart);
  const C_Rect frame(5.0f, 0.0f, 1.0f, 1.0f, grid, grid);
  ASSERT_TRUE(DrawSurface(&source->surface, &target.surface, &frame, nullptr, nullptr,
                          C_Vector2D(0, 0), nullptr, nullptr));
  EXPECT_EQ(target.At(0, 0), Tag(4, 4));
  EXPECT_EQ(target.At(3, 3), Tag(7, 7));
  // Zero columns count as one: the whole width is one frame.
  source->surface.Columns = 0;
  Picture wide(16, 8);
  const C_Rect first(0.0f, 0.0f, 1.0f, 1.0f, grid, grid);
  ASSERT_TRUE(DrawSurface(&source->surface, &wide.surface, &first, nullptr, nullptr,
                          C_Vector2D(0, 0), nullptr, nullptr));
  EXPECT_EQ(wide.At(15, 3), Tag(15, 3));
  EXPECT_EQ(wide.At(15, 4), 0u);
}

TEST(DrawSurfaceTargets, BottomUpImagesKeepRowZeroOnTop) {
  auto source = Tagged(3, 3);
  source->Color().BottomUp = 1;  // memory now holds the rows the other way round
  Picture target(3, 3);
  target.Color().BottomUp = 1;
  ASSERT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), nullptr, nullptr));
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(target.At(x, y), source->At(x, y));
  }
}

TEST(DrawSurfaceBadInput, DegenerateGeometryIsHarmless) {
  auto source = Tagged(8, 8);
  Picture target(16, 16, 0xFF010203);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const auto untouched = [&] {
    for (int32_t y = 0; y < 16; ++y) {
      for (int32_t x = 0; x < 16; ++x) {
        if (target.At(x, y) != 0xFF010203u) return false;
      }
    }
    return true;
  };
  const C_Vector2D scales[] = {{0, 1}, {-2, 2}, {nan, 1}, {1, inf}};
  for (const C_Vector2D& scale : scales) {
    for (float angle : {0.0f, 30.0f}) {
      DrawOptions options;
      options.Scale = scale;
      options.Angle = angle;
      EXPECT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                              C_Vector2D(2, 2), &options, nullptr));
    }
  }
  for (const C_Vector2D& at : {C_Vector2D(nan, 0), C_Vector2D(1e30f, 1e30f), C_Vector2D(-1e30f, 3),
                               C_Vector2D(inf, -inf)}) {
    for (float angle : {0.0f, 45.0f}) {
      DrawOptions options;
      options.Angle = angle;
      options.WrapX = 1;
      options.WrapY = 1;
      EXPECT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr, at,
                              &options, nullptr));
    }
  }
  DrawOptions options;
  options.Angle = nan;
  EXPECT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(2, 2), &options, nullptr));
  const C_Rect empty(3, 3, 3, 8);
  const C_Rect inverted(6, 6, 2, 2);
  const C_Rect outside(20, 20, 40, 40);
  const C_Rect nanRect(nan, 0.0f, 4.0f, nan, 0, 0);
  for (const C_Rect* rect : {&empty, &inverted, &outside, &nanRect}) {
    EXPECT_TRUE(DrawSurface(&source->surface, &target.surface, rect, nullptr, nullptr,
                            C_Vector2D(2, 2), nullptr, nullptr));
  }
  options = DrawOptions();
  options.Opacity = nan;
  EXPECT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(2, 2), &options, nullptr));
  EXPECT_TRUE(untouched());
  // Far-away but finite scale with rotation stays inside the target.
  options = DrawOptions();
  options.Scale = C_Vector2D(1e20f, 1e-20f);
  options.Angle = 10;
  EXPECT_TRUE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(2, 2), &options, nullptr));
}

TEST(DrawSurfaceBadInput, UnusableSurfacesAreRefused) {
  auto source = Tagged(4, 4);
  Picture target(8, 8);
  C_Surface empty;
  EXPECT_FALSE(DrawSurface(&source->surface, &empty, nullptr, nullptr, nullptr, C_Vector2D(),
                           nullptr, nullptr));
  EXPECT_FALSE(DrawSurface(&empty, &target.surface, nullptr, nullptr, nullptr, C_Vector2D(),
                           nullptr, nullptr));
  EXPECT_FALSE(DrawSurface(nullptr, &target.surface, nullptr, nullptr, nullptr, C_Vector2D(),
                           nullptr, nullptr));
  Picture narrow(8, 8, 0, pixel_format::R5G6B5);
  LastError = ErrorRecord{};
  EXPECT_FALSE(DrawSurface(&source->surface, &narrow.surface, nullptr, nullptr, nullptr,
                           C_Vector2D(), nullptr, nullptr));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  // An alpha image smaller than its colour image would be read past its end.
  source->AddSecond(255, 2, 4);
  EXPECT_FALSE(DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                           C_Vector2D(), nullptr, nullptr));
  // A mask smaller than the target is ignored rather than overrun.
  auto good = Tagged(4, 4);
  target.AddSecond(7, 3, 3);
  EXPECT_TRUE(DrawSurface(&good->surface, &target.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(4, 4), nullptr, nullptr));
  EXPECT_EQ(target.At(7, 7), Tag(3, 3));
}

TEST(DrawSurfaceAlpha, AnAlphaImageAloneDrawsTheTint) {
  C_Surface glyph;
  auto* alpha = new C_Image;
  alpha->Create(2, pixel_format::Grey8, 1);
  alpha->RowAddress(0)[0] = 255;
  alpha->RowAddress(0)[1] = 0;
  glyph.SetChannel(alpha, kAlphaChannel);
  Picture target(2, 1, 0xFF000000);
  DrawOptions options;
  options.UseTint = 1;
  options.Tint = C_Color(1, 0, 0, 1);
  ASSERT_TRUE(DrawSurface(&glyph, &target.surface, nullptr, nullptr, nullptr, C_Vector2D(),
                          &options, nullptr));
  EXPECT_EQ(target.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(target.At(1, 0), 0xFF000000u);
}

}  // namespace

namespace {

// How one draw is set up for the overwrite question.
struct OverwriteCase {
  const char* Name;
  void (*Adjust)(DrawOptions& options, Picture& source, Picture& target);
  bool Overwrites;
};

}  // namespace

// A draw that says it overwrites its box must leave the same pixels inside that
// box whatever the target held, and touch nothing outside it; a draw that blends
// or skips pixels must say it does not.
TEST(DrawSurfaceOverwrites, OnlyPlainCopiesClaimTheirBox) {
  const OverwriteCase cases[] = {
      {"plain", [](DrawOptions&, Picture&, Picture&) {}, true},
      {"mirrored", [](DrawOptions& o, Picture&, Picture&) { o.MirrorX = o.MirrorY = 1; }, true},
      {"scaled", [](DrawOptions& o, Picture&, Picture&) { o.Scale = C_Vector2D(1.5f, 2); }, true},
      {"anchored pivot", [](DrawOptions& o, Picture&, Picture&) { o.Pivot.Anchor = 0x02; }, true},
      {"opacity above one", [](DrawOptions& o, Picture&, Picture&) { o.Opacity = 3; }, true},
      {"half opacity", [](DrawOptions& o, Picture&, Picture&) { o.Opacity = 0.5f; }, false},
      {"source alpha", [](DrawOptions&, Picture& s, Picture&) { s.AddSecond(255); }, false},
      {"target mask", [](DrawOptions&, Picture&, Picture& t) { t.AddSecond(0); }, false},
      {"tint", [](DrawOptions& o, Picture&, Picture&) { o.UseTint = 1; }, false},
      {"colour key", [](DrawOptions& o, Picture&, Picture&) { o.UseColorKey = 1; }, false},
      {"key of the surface",
       [](DrawOptions&, Picture& s, Picture&) { s.surface.Extra = new C_Color(1, 0, 1, 1); },
       false},
      {"contrast", [](DrawOptions& o, Picture&, Picture&) { o.UseContrast = 1; }, false},
      {"smooth scale",
       [](DrawOptions& o, Picture&, Picture&) {
         o.Smooth = 1;
         o.Scale = C_Vector2D(2, 2);
       },
       false},
      {"rotated", [](DrawOptions& o, Picture&, Picture&) { o.Angle = 30; }, false},
      {"wrapped", [](DrawOptions& o, Picture&, Picture&) { o.WrapX = 1; }, false},
  };
  for (const OverwriteCase& c : cases) {
    uint32_t drawn[2][24][24];
    C_Rect boxes[2];
    bool claims[2];
    for (int pass = 0; pass < 2; ++pass) {
      auto source = Tagged(6, 5);
      // The source's magenta pixel meets a colour key when one is used.
      source->Set(2, 2, 0xFFFF00FFu);
      Picture target(24, 24, pass == 0 ? 0xFF102030u : 0x00EFDFCFu);
      DrawOptions options;
      c.Adjust(options, *source, target);
      claims[pass] = DrawOverwrites(&source->surface, &target.surface, options);
      boxes[pass] = C_Rect(1e9f, 1e9f, -1e9f, -1e9f, 0, 0);
      DrawSurface(&source->surface, &target.surface, nullptr, nullptr, nullptr,
                  C_Vector2D(20.5f, 3.25f), &options, &boxes[pass]);
      for (int32_t y = 0; y < 24; ++y) {
        for (int32_t x = 0; x < 24; ++x) drawn[pass][y][x] = target.At(x, y);
      }
    }
    EXPECT_EQ(claims[0], c.Overwrites) << c.Name;
    EXPECT_EQ(claims[1], c.Overwrites) << c.Name;
    if (!claims[0]) continue;
    const C_Rect& box = boxes[0];
    ASSERT_LT(box.X1, box.X2) << c.Name;
    for (int32_t y = 0; y < 24; ++y) {
      for (int32_t x = 0; x < 24; ++x) {
        const bool inside = x >= box.X1 && x < box.X2 && y >= box.Y1 && y < box.Y2;
        if (inside) {
          EXPECT_EQ(drawn[0][y][x], drawn[1][y][x]) << c.Name << " " << x << "," << y;
        } else {
          EXPECT_EQ(drawn[0][y][x], 0xFF102030u) << c.Name << " " << x << "," << y;
        }
      }
    }
  }
}

namespace {

// Large unscaled draws share their rows through the installed splitter with the
// pixels of an unshared draw: plain, mirrored and clipped, blended with the
// source's alpha. A surface drawn onto itself, shifted so that the rows it reads
// are rows it writes, keeps them on the caller in order.
TEST(DrawSurfaceRows, LargeCopiesShareTheirRowsWithTheSamePixels) {
  auto source = Tagged(300, 260);  // 78 000 pixels: enough to share
  source->Color().BottomUp = 1;
  for (int32_t y = 0; y < 260; ++y) {
    for (int32_t x = 0; x < 300; ++x) source->Set(x, y, Tag(x, y));
  }
  source->AddSecond(0);
  for (int32_t y = 0; y < 260; ++y) {
    for (int32_t x = 0; x < 300; ++x) source->SecondAt(x, y) = uint8_t(x * 3 + y);
  }
  DrawOptions mirrored;
  mirrored.MirrorX = 1;
  mirrored.MirrorY = 1;
  DrawOptions blended;
  blended.Opacity = 0.75f;
  for (DrawOptions* options : {static_cast<DrawOptions*>(nullptr), &mirrored, &blended}) {
    SCOPED_TRACE(options == &mirrored ? "mirrored" : options ? "blended" : "plain");
    // A mirrored draw extends left of and above its position.
    const C_Vector2D at = options == &mirrored ? C_Vector2D(310, 250) : C_Vector2D(17, -9);
    Picture whole(320, 280, 0xFF102030), split(320, 280, 0xFF102030);
    DrawOptions copy = options ? *options : DrawOptions();
    ASSERT_TRUE(DrawSurface(&source->surface, &whole.surface, nullptr, nullptr, nullptr, at,
                            options ? &copy : nullptr, nullptr));
    {
      test_rows::ReversedSplitter splitter;
      copy = options ? *options : DrawOptions();
      ASSERT_TRUE(DrawSurface(&source->surface, &split.surface, nullptr, nullptr, nullptr, at,
                              options ? &copy : nullptr, nullptr));
      EXPECT_EQ(splitter.Calls(), 1);
    }
    for (int32_t y = 0; y < 280; ++y) {
      for (int32_t x = 0; x < 320; ++x) ASSERT_EQ(split.At(x, y), whole.At(x, y)) << x << ", " << y;
    }
  }

  auto inOrder = Tagged(300, 260);
  auto self = Tagged(300, 260);
  const C_Vector2D down(0, 3);
  ASSERT_TRUE(DrawSurface(&inOrder->surface, &inOrder->surface, nullptr, nullptr, nullptr, down,
                          nullptr, nullptr));
  {
    test_rows::ReversedSplitter splitter;
    ASSERT_TRUE(DrawSurface(&self->surface, &self->surface, nullptr, nullptr, nullptr, down,
                            nullptr, nullptr));
    EXPECT_EQ(splitter.Calls(), 0);
  }
  for (int32_t y = 0; y < 260; ++y) {
    for (int32_t x = 0; x < 300; ++x)
      ASSERT_EQ(self->At(x, y), inOrder->At(x, y)) << x << ", " << y;
  }
}

}  // namespace
