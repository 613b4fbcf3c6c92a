// The surface stamp draws exactly what DrawSurface draws: tinted coverage (its own
// eight-pixel loop, one rectangle or a list of them) and a scaled draw, clipped at
// every edge, at several opacities; a stamp resumed after its surfaces, bounds or
// options changed draws what a new one draws.
#include "graphics/raster/surface_stamp.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "graphics/geometry/color.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "image/image.h"
#include "tests/graphics/raster/draw_test_support.h"

using draw_test::Picture;

TEST(SurfaceStamp, MatchesDrawSurfacePixelForPixel) {
  std::mt19937 random(7);
  // A coverage-only source, 21 x 9: empty runs, full pixels and soft edges.
  Picture source(21, 9);
  source.surface.SetChannel(nullptr, kColorChannel);
  source.AddSecond(0, 21, 9);
  for (int32_t y = 0; y < 9; ++y) {
    for (int32_t x = 0; x < 21; ++x) {
      const uint32_t r = random() % 4;
      source.SecondAt(x, y) = r == 0 ? 0 : r == 1 ? 255 : static_cast<uint8_t>(random());
    }
  }
  struct Case {
    float opacity, scale, x, y;
    int32_t x1, y1, x2, y2;  // source rectangle
  };
  const Case cases[] = {
      {1, 1, 3, 2, 0, 0, 21, 9},
      {1, 1, -5, -3, 2, 1, 19, 8},
      {0.5f, 1, 20, 10, 0, 0, 21, 9},
      {0.3f, 1, 7.6f, 1.2f, 1, 0, 10, 9},
      {1, 2, 4, 3, 0, 0, 11, 9},
      {0.7f, 1.5f, -2, 12, 3, 2, 17, 9},
      // At most eight wide, as glyphs are: inside the image's row, at its end (read
      // short), exactly eight at its end, cut by the clip on either side.
      {1, 1, 3, 2, 0, 0, 6, 9},
      {0.5f, 1, 5, 4, 15, 0, 21, 9},
      {1, 1, 2, 3, 13, 0, 21, 9},
      {1, 1, -3, 2, 0, 1, 8, 9},
      {0.8f, 1, 27, 3, 0, 0, 5, 9},
      {1, 1, 6, 5, 4, 0, 5, 9},
      // Every narrow width has its own stores: two, three, four and seven wide.
      {1, 1, 3, 2, 0, 0, 2, 9},
      {0.6f, 1, 4, 3, 5, 0, 8, 9},
      {1, 1, 9, 4, 2, 1, 6, 8},
      {1, 1, 11, 2, 3, 0, 10, 9},
  };
  const C_Rect clip(1.0f, 1.0f, 30.0f, 20.0f, 0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.opacity << " x" << c.scale << " at " << c.x << "," << c.y);
    Picture stamped(32, 22), drawn(32, 22), direct(32, 22);
    for (int32_t y = 0; y < 22; ++y) {
      for (int32_t x = 0; x < 32; ++x) {
        const uint32_t v = 0xFF000000u | (random() & 0xFFFFFF);
        stamped.Set(x, y, v);
        drawn.Set(x, y, v);
        direct.Set(x, y, v);
      }
    }
    DrawOptions options;
    options.Scale = C_Vector2D(c.scale, c.scale);
    options.Tint = C_Color(0.2f, 0.9f, 0.4f, 1);
    options.UseTint = 1;
    options.Opacity = c.opacity;
    SurfaceStamp stamp;
    ASSERT_TRUE(stamp.Begin(&source.surface, &stamped.surface, nullptr, &clip, options, true));
    stamp.Draw(c.x1, c.y1, c.x2, c.y2, c.x, c.y, nullptr);
    const C_Rect part(static_cast<float>(c.x1), static_cast<float>(c.y1), static_cast<float>(c.x2),
                      static_cast<float>(c.y2), 0, 0);
    DrawSurface(&source.surface, &drawn.surface, &part, nullptr, &clip, C_Vector2D(c.x, c.y),
                &options, nullptr);
    for (int32_t y = 0; y < 22; ++y) {
      for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(stamped.At(x, y), drawn.At(x, y)) << x << "," << y;
    }
    // Unscaled, the coverage stamp at whole pixels draws the same.
    SurfaceStamp coverage;
    ASSERT_TRUE(coverage.Begin(&source.surface, &direct.surface, nullptr, &clip, options, true));
    EXPECT_EQ(coverage.CoverageStamp(), c.scale == 1);
    if (!coverage.CoverageStamp()) continue;
    coverage.StampCoverage(c.x1, c.y1, c.x2, c.y2, static_cast<int32_t>(c.x),
                           static_cast<int32_t>(c.y));
    for (int32_t y = 0; y < 22; ++y) {
      for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(direct.At(x, y), drawn.At(x, y)) << x << "," << y;
    }
    // Inside the clip, as a list of boxes in one call: the rectangle, then its left
    // half again over it.
    const int32_t w = c.x2 - c.x1, h = c.y2 - c.y1;
    const int32_t x = static_cast<int32_t>(c.x), y = static_cast<int32_t>(c.y);
    if (x < 1 || y < 1 || x + w > 30 || y + h > 20) continue;
    const C_Rect half(static_cast<float>(c.x1), static_cast<float>(c.y1),
                      static_cast<float>(c.x1 + (w + 1) / 2), static_cast<float>(c.y2), 0, 0);
    DrawSurface(&source.surface, &drawn.surface, &part, nullptr, &clip, C_Vector2D(c.x, c.y),
                &options, nullptr);
    DrawSurface(&source.surface, &drawn.surface, &half, nullptr, &clip, C_Vector2D(c.x, c.y),
                &options, nullptr);
    const SurfaceStamp::CoverageBox boxes[2] = {{c.x1, c.y1, w, h, x, y},
                                                {c.x1, c.y1, (w + 1) / 2, h, x, y}};
    coverage.StampCoverageBoxes(boxes, 2);
    for (int32_t j = 0; j < 22; ++j) {
      for (int32_t i = 0; i < 32; ++i) ASSERT_EQ(direct.At(i, j), drawn.At(i, j)) << i << "," << j;
    }
  }
}

TEST(SurfaceStamp, ResumedAfterAChangeDrawsWhatANewStampDraws) {
  Picture source(12, 6);
  source.surface.SetChannel(nullptr, kColorChannel);
  source.AddSecond(0, 12, 6);
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 12; ++x) source.SecondAt(x, y) = static_cast<uint8_t>(40 * x + 3 * y);
  }
  struct World {
    std::unique_ptr<Picture> target = std::make_unique<Picture>(20, 12, 0xFF102030u);
    C_Rect clip = C_Rect(0.0f, 0.0f, 20.0f, 12.0f, 0, 0);
    DrawOptions options;
  };
  const auto start = [] {
    World w;
    w.options.Tint = C_Color(0.9f, 0.1f, 0.5f, 1);
    w.options.UseTint = 1;
    return w;
  };
  struct Case {
    const char* name;
    void (*change)(World&, Picture& source);
  };
  const Case cases[] = {
      {"nothing", [](World&, Picture&) {}},
      {"tint", [](World& w, Picture&) { w.options.Tint = C_Color(0, 1, 0, 1); }},
      {"opacity", [](World& w, Picture&) { w.options.Opacity = 0.5f; }},
      {"clip", [](World& w, Picture&) { w.clip = C_Rect(3.0f, 2.0f, 9.0f, 7.0f, 0, 0); }},
      {"target image smaller",
       [](World& w, Picture&) { w.target = std::make_unique<Picture>(6, 4, 0xFF102030u); }},
      {"target image replaced in place",
       [](World& w, Picture&) {
         auto* image = new C_Image;
         image->CreateFilled(20, pixel_format::A8R8G8B8, 12, C_Color(0.2f, 0.3f, 0.4f, 1));
         w.target->surface.SetChannel(image, kColorChannel);
       }},
      {"target gains a mask", [](World& w, Picture&) { w.target->AddSecond(128); }},
      {"coverage replaced", [](World&, Picture& s) { s.AddSecond(200, 5, 3); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture kept(12, 6), fresh(12, 6);
    for (Picture* p : {&kept, &fresh}) {
      p->surface.SetChannel(nullptr, kColorChannel);
      p->AddSecond(0, 12, 6);
      for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 12; ++x) p->SecondAt(x, y) = source.SecondAt(x, y);
      }
    }
    // The same draws into twin worlds: one by a stamp kept across the change, the
    // other by a stamp made for each draw.
    World one = start(), two = start();
    SurfaceStamp stamp;
    ASSERT_TRUE(
        stamp.Resume(&kept.surface, &one.target->surface, nullptr, &one.clip, one.options, true));
    stamp.Draw(0, 0, 12, 6, 2, 1, nullptr);
    SurfaceStamp first;
    ASSERT_TRUE(
        first.Begin(&fresh.surface, &two.target->surface, nullptr, &two.clip, two.options, true));
    first.Draw(0, 0, 12, 6, 2, 1, nullptr);
    c.change(one, kept);
    c.change(two, fresh);
    const bool resumed =
        stamp.Resume(&kept.surface, &one.target->surface, nullptr, &one.clip, one.options, true);
    SurfaceStamp made;
    EXPECT_EQ(resumed, made.Begin(&fresh.surface, &two.target->surface, nullptr, &two.clip,
                                  two.options, true));
    if (!resumed) continue;
    stamp.Draw(0, 0, 12, 6, 3, 2, nullptr);
    made.Draw(0, 0, 12, 6, 3, 2, nullptr);
    const C_Image& a = one.target->Color();
    ASSERT_EQ(a.Width, two.target->Color().Width);
    for (int32_t y = 0; y < a.Height; ++y) {
      for (int32_t x = 0; x < a.Width; ++x)
        ASSERT_EQ(one.target->At(x, y), two.target->At(x, y)) << x << "," << y;
    }
  }
}
