// Reference pictures: scenes drawn through the public routines and compared with
// pictures built here pixel by pixel from the geometry alone (where each target
// pixel's centre lands in the source). Mismatches are saved as PNG for a person.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "draw_test_support.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/color.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "reference_picture.h"

using draw_test::Picture;
using draw_test::Tag;
using draw_test::Tagged;

namespace {

constexpr int32_t kSide = 40;
constexpr uint32_t kPaper = 0xFF202020;

// For each target pixel, the source column and row it shows, or false to keep paper.
using Mapping = std::function<bool(int32_t x, int32_t y, int32_t& u, int32_t& v)>;

void Paint(Picture& expected, const Picture& source, const Mapping& map) {
  for (int32_t y = 0; y < expected.Color().Height; ++y) {
    for (int32_t x = 0; x < expected.Color().Width; ++x) {
      int32_t u, v;
      if (map(x, y, u, v)) expected.Set(x, y, source.At(u, v));
    }
  }
}

// A rotation about (px, py) of a width x height source with its top-left there.
Mapping Turned(double px, double py, int32_t width, int32_t height, double degrees) {
  const double a = degrees / 180 * 3.14159265358979;
  const double c = std::cos(a), s = std::sin(a);
  return [=](int32_t x, int32_t y, int32_t& u, int32_t& v) {
    const double dx = x + 0.5 - px, dy = y + 0.5 - py;
    const double fu = dx * c + dy * s, fv = dy * c - dx * s;
    if (fu < 0 || fv < 0 || fu >= width || fv >= height) return false;
    u = static_cast<int32_t>(fu);
    v = static_cast<int32_t>(fv);
    return true;
  };
}

TEST(ReferenceScenes, QuarterTurnsAboutTheCentre) {
  auto source = Tagged(12, 7);
  for (int quarter = 0; quarter < 4; ++quarter) {
    Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
    DrawOptions options;
    options.Angle = 90.0f * quarter;
    options.Pivot = C_Vector2D(6, 3);
    ASSERT_TRUE(DrawSurface(&source->surface, &actual.surface, nullptr, nullptr, nullptr,
                            C_Vector2D(20, 20), &options, nullptr));
    // The pivot's source point sits on the position: the top-left corner is the
    // pivot offset turned.
    const double a = quarter * 3.14159265358979 / 2;
    const double ox = -6 * std::cos(a) + 3 * std::sin(a), oy = -3 * std::cos(a) - 6 * std::sin(a);
    Paint(expected, *source, Turned(20 + ox, 20 + oy, 12, 7, 90.0 * quarter));
    EXPECT_TRUE(
        MatchesPicture("turn_" + std::to_string(quarter * 90), actual.Color(), expected.Color()));
  }
}

TEST(ReferenceScenes, ThirtyDegrees) {
  auto source = Tagged(16, 10);
  Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
  DrawOptions options;
  options.Angle = 30;
  ASSERT_TRUE(DrawSurface(&source->surface, &actual.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(12.25f, 6.5f), &options, nullptr));
  Paint(expected, *source, Turned(12.25, 6.5, 16, 10, 30));
  EXPECT_TRUE(MatchesPicture("turn_30", actual.Color(), expected.Color()));
}

TEST(ReferenceScenes, MirroredCopies) {
  auto source = Tagged(9, 5);
  for (int mode = 1; mode < 4; ++mode) {
    Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
    DrawOptions options;
    options.MirrorX = mode & 1;
    options.MirrorY = (mode & 2) >> 1;
    options.Pivot = C_Vector2D(0, 0, MakeAnchor(AnchorStart, AnchorStart));
    // Mirrored, the pivot (0, 0) is the image's far corner: it ends at the position.
    ASSERT_TRUE(DrawSurface(&source->surface, &actual.surface, nullptr, nullptr, nullptr,
                            C_Vector2D(20, 20), &options, nullptr));
    const int32_t left = options.MirrorX ? 11 : 20, top = options.MirrorY ? 15 : 20;
    Paint(expected, *source, [&](int32_t x, int32_t y, int32_t& u, int32_t& v) {
      if (x < left || x >= left + 9 || y < top || y >= top + 5) return false;
      u = options.MirrorX ? 8 - (x - left) : x - left;
      v = options.MirrorY ? 4 - (y - top) : y - top;
      return true;
    });
    EXPECT_TRUE(MatchesPicture("mirror_" + std::to_string(mode), actual.Color(), expected.Color()));
  }
}

TEST(ReferenceScenes, WrappedBothWays) {
  auto source = Tagged(14, 9);
  Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
  const C_Rect viewport(5, 5, 35, 30);
  DrawOptions options;
  options.WrapX = 1;
  options.WrapY = 1;
  ASSERT_TRUE(DrawSurface(&source->surface, &actual.surface, nullptr, &viewport, nullptr,
                          C_Vector2D(-4, -3), &options, nullptr));
  // Position anchors resolve against the viewport: the image starts at (1, 2).
  Paint(expected, *source, [&](int32_t x, int32_t y, int32_t& u, int32_t& v) {
    if (x < 5 || x >= 35 || y < 5 || y >= 30) return false;
    for (int32_t sx : {-30, 0, 30}) {
      for (int32_t sy : {-25, 0, 25}) {
        u = x - (1 + sx);
        v = y - (2 + sy);
        if (u >= 0 && u < 14 && v >= 0 && v < 9) return true;
      }
    }
    return false;
  });
  EXPECT_TRUE(MatchesPicture("wrap_xy", actual.Color(), expected.Color()));
}

TEST(ReferenceScenes, TiledAndStretchedBlits) {
  auto source = Tagged(8, 6);
  {
    Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
    DrawOptions options;
    options.WrapX = 1;
    options.WrapY = 1;
    options.Pivot = C_Vector2D(3, 2);  // the pattern starts 3 and 2 pixels in
    const C_Rect destination(4, 5, 35, 33);
    ASSERT_TRUE(BlitSurface(&source->surface, &actual.surface, nullptr, nullptr, nullptr,
                            destination, C_Vector2D(), 0, &options, nullptr));
    Paint(expected, *source, [&](int32_t x, int32_t y, int32_t& u, int32_t& v) {
      if (x < 4 || x >= 35 || y < 5 || y >= 33) return false;
      u = ((x - 7) % 8 + 8) % 8;
      v = ((y - 7) % 6 + 6) % 6;
      return true;
    });
    EXPECT_TRUE(MatchesPicture("blit_tiled", actual.Color(), expected.Color()));
  }
  {
    Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
    DrawOptions options;
    options.WrapX = 1;  // tiles across at scale 2, stretched down to fill 30 rows
    options.Scale = C_Vector2D(2, 1);
    const C_Rect part(2, 1, 6, 4);
    const C_Rect destination(0, 0, 30, 30);
    ASSERT_TRUE(BlitSurface(&source->surface, &actual.surface, &part, nullptr, nullptr, destination,
                            C_Vector2D(5, 5), 0, &options, nullptr));
    Paint(expected, *source, [&](int32_t x, int32_t y, int32_t& u, int32_t& v) {
      if (x < 5 || x >= 35 || y < 5 || y >= 35) return false;
      u = 2 + ((x - 5) % 8) / 2;
      v = 1 + (y - 5) / 10;
      return true;
    });
    EXPECT_TRUE(MatchesPicture("blit_tiled_stretched", actual.Color(), expected.Color()));
  }
  {
    Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
    const C_Rect destination(3, 4, 35, 22);  // 4 x 3 stretch of the whole 8 x 6
    ASSERT_TRUE(BlitSurface(&source->surface, &actual.surface, nullptr, nullptr, nullptr,
                            destination, C_Vector2D(), 0, nullptr, nullptr));
    Paint(expected, *source, [&](int32_t x, int32_t y, int32_t& u, int32_t& v) {
      if (x < 3 || x >= 35 || y < 4 || y >= 22) return false;
      u = (x - 3) / 4;
      v = (y - 4) / 3;
      return true;
    });
    EXPECT_TRUE(MatchesPicture("blit_stretched", actual.Color(), expected.Color()));
  }
}

// Each family once, scaled by 3 so that the scale kernels run: keyed, solid,
// keyed solid, blended through alpha and mask, effects.
TEST(ReferenceScenes, EachFamilyScaled) {
  auto source = Tagged(6, 6);
  for (int32_t i = 0; i < 6; ++i) source->Set(i, i, 0xFFFF00FF);  // a keyed diagonal
  source->AddSecond(255);
  for (int32_t y = 0; y < 6; ++y) source->SecondAt(5, y) = 0;  // transparent last column
  struct Case {
    const char* name;
    std::function<void(DrawOptions&)> set;
    bool alpha;
    std::function<uint32_t(uint32_t source, uint32_t paper, bool opaque)> color;
  };
  const Case cases[] = {
      // the alpha case first: the others drop the alpha image
      {"alpha", [](DrawOptions&) {}, true,
       [](uint32_t s, uint32_t d, bool opaque) {
         return opaque ? (d & 0xFF000000) | (s & 0xFFFFFF) : d;
       }},
      {"keyed", [](DrawOptions& o) { o.UseColorKey = 1; }, false,
       [](uint32_t s, uint32_t d, bool) { return s == 0xFFFF00FF ? d : s; }},
      {"solid",
       [](DrawOptions& o) {
         o.UseTint = 1;
         o.Tint = C_Color(0, 1, 0, 1);
       },
       false, [](uint32_t, uint32_t, bool) { return 0xFF00FF00u; }},
      {"keyed_solid",
       [](DrawOptions& o) {
         o.UseTint = 1;
         o.UseColorKey = 1;
         o.Tint = C_Color(0, 0, 1, 1);
       },
       false, [](uint32_t s, uint32_t d, bool) { return s == 0xFFFF00FF ? d : 0xFF0000FFu; }},
      {"effects_offset",
       [](DrawOptions& o) {
         o.UseOffset = 1;
         o.Offset = C_Color(0, 0, 1, 0);
       },
       false,
       [](uint32_t s, uint32_t d, bool) { return (d & 0xFF000000) | (s & 0xFFFF00) | 0xFF; }},
  };
  for (const Case& c : cases) {
    if (!c.alpha) source->surface.SetChannel(nullptr, kAlphaChannel);
    Picture actual(kSide, kSide, kPaper), expected(kSide, kSide, kPaper);
    DrawOptions options;
    options.Scale = C_Vector2D(3, 3);
    c.set(options);
    ASSERT_TRUE(DrawSurface(&source->surface, &actual.surface, nullptr, nullptr, nullptr,
                            C_Vector2D(10, 11), &options, nullptr));
    for (int32_t y = 11; y < 29; ++y) {
      for (int32_t x = 10; x < 28; ++x) {
        const int32_t u = (x - 10) / 3, v = (y - 11) / 3;
        expected.Set(x, y, c.color(source->At(u, v), kPaper, u != 5));
      }
    }
    EXPECT_TRUE(MatchesPicture(std::string("family_") + c.name, actual.Color(), expected.Color()));
  }
}

// Bilinear: a 2 x 1 ramp stretched to 8 columns follows the 16-bit fraction rule,
// and the neighbour of the last column wraps round to the first.
TEST(ReferenceScenes, SmoothScaleInterpolatesAndWraps) {
  Picture source(2, 1);
  source.Set(0, 0, 0xFF000000);
  source.Set(1, 0, 0xFFFF0000);
  Picture actual(8, 1, 0xFF000000), expected(8, 1, 0xFF000000);
  DrawOptions options;
  options.Scale = C_Vector2D(4, 1);
  options.Smooth = 1;
  ASSERT_TRUE(DrawSurface(&source.surface, &actual.surface, nullptr, nullptr, nullptr,
                          C_Vector2D(0, 0), &options, nullptr));
  for (int32_t x = 0; x < 8; ++x) {
    const int32_t u = x * 16384;  // 16.16 source column
    const int32_t fx = u & 0xFFFF;
    const int32_t left = (u >> 16) == 0 ? 0 : 255, right = (u >> 16) == 0 ? 255 : 0;
    expected.Set(x, 0,
                 0xFF000000u | static_cast<uint32_t>(left + (((right - left) * fx) >> 16)) << 16);
  }
  EXPECT_TRUE(MatchesPicture("smooth_ramp", actual.Color(), expected.Color()));
}

}  // namespace
