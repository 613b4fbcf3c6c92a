// Reference scenes: several shapes drawn into one picture, compared with the same
// scene rendered pixel by pixel from the rules (PNG pair saved on a mismatch).
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/geometry/circle.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/shapes.h"
#include "image/pixel_format.h"
#include "reference_picture.h"
#include "shape_support.h"

namespace {

// One scene: draws into the canvas and into the reference target alike.
struct Scene {
  ShapeCanvas canvas;
  C_Image expected, expectedMask;
  C_Rect viewport, clip;

  Scene(int32_t w, int32_t h, int32_t format, bool mask, bool bottomUp, C_Rect clipRect)
      : canvas(w, h, format, 4, mask, bottomUp), clip(clipRect) {
    canvas.CopyImage(expected);
    if (mask) canvas.CopyMask(expectedMask);
    viewport = canvas.Interior();
  }
  ShapeReferenceTarget Ref(const C_Color& color) {
    return {&expected, canvas.mask.Pixels ? &expectedMask : nullptr,
            ShapeReferenceBounds(canvas.image.Width, canvas.image.Height, &viewport, &clip),
            PackColor(canvas.image.Format, color)};
  }
  void Line(float x0, float y0, float x1, float y1, const C_Color& color) {
    ASSERT_TRUE(
        DrawLine(&canvas.surface, C_Vector2D(x0, y0), C_Vector2D(x1, y1), color, &viewport, &clip));
    const ShapeReferenceTarget ref = Ref(color);
    ShapeReferenceLine(x0, y0, x1, y1, [&](int64_t x, int64_t y) { ref.Put(x, y); });
  }
  void Rect(float x1, float y1, float x2, float y2, const C_Color& color, bool filled,
            float opacity) {
    const C_Rect r(x1, y1, x2, y2, 0x44, 0x44);
    ASSERT_TRUE(DrawRectangle(&canvas.surface, r, color, &viewport, &clip, filled, opacity));
    ShapeReferenceRectangle(Ref(color), r, filled, opacity);
  }
  void Circle(float cx, float cy, float r, const C_Color& color, bool filled) {
    ASSERT_TRUE(DrawCircle(&canvas.surface, C_Circle(C_Vector2D(cx, cy), r), color, &viewport,
                           &clip, filled ? 1 : 0));
    const ShapeReferenceTarget ref = Ref(color);
    const auto x = static_cast<int64_t>(cx), y = static_cast<int64_t>(cy);
    const auto radius = static_cast<int64_t>(r);
    if (filled)
      ShapeReferenceDisc(ref, x, y, radius);
    else
      ShapeReferenceCircle(x, y, radius, [&](int64_t px, int64_t py) { ref.Put(px, py); });
  }
  void Pixel(float x, float y, const C_Color& color) {
    ASSERT_TRUE(DrawPixel(&canvas.surface, C_Vector2D(x, y), color, &viewport, &clip));
    ShapeReferencePixel(Ref(color), x, y);
  }
  void Check(const char* name) {
    EXPECT_TRUE(MatchesPicture(name, canvas.image, expected));
    if (canvas.mask.Pixels) {
      EXPECT_TRUE(MatchesPicture(std::string(name) + "_mask", canvas.mask, expectedMask));
    }
    EXPECT_EQ(canvas.GuardDamage(), 0);
  }
};

const C_Rect kNoClip(-1000.0f, -1000.0f, 1000.0f, 1000.0f, 0, 0);

TEST(ShapeScenes, LineFan) {
  Scene s(96, 64, pixel_format::A8R8G8B8, false, false, kNoClip);
  for (int i = 0; i < 24; ++i) {
    const float a = static_cast<float>(i) * 0.2618f;
    s.Line(52.3f, 36.6f, 52.3f + 70.0f * std::cos(a), 36.6f + 50.0f * std::sin(a),
           C_Color(static_cast<float>(i) / 24.0f, 1.0f - static_cast<float>(i) / 24.0f, 0.5f, 1));
  }
  s.Check("shape_scene_line_fan");
}

TEST(ShapeScenes, TranslucentRectanglesOverAMask) {
  Scene s(80, 60, pixel_format::A8R8G8B8, true, false, C_Rect(8.0f, 6.0f, 78.0f, 58.0f, 0, 0));
  s.Rect(0, 0, 50, 40, C_Color(1, 0, 0, 1), true, 0.5f);
  s.Rect(30.5f, 20.5f, 90, 70, C_Color(0, 0, 1, 1), true, 0.3f);
  s.Rect(20, 10, 60, 50, C_Color(1, 1, 1, 1), false, 1.0f);
  s.Rect(64, 8, 10, 30, C_Color(0, 1, 0, 1), false, 0.75f);
  s.Rect(40, 30, 44, 34, C_Color(1, 1, 0, 1), true, 1.0f);
  s.Check("shape_scene_rectangles");
}

TEST(ShapeScenes, CirclesAndDiscsClipped) {
  Scene s(90, 70, pixel_format::A8R8G8B8, false, false, C_Rect(10.0f, 0.0f, 80.0f, 60.0f, 0, 0));
  s.Circle(45, 37, 30, C_Color(0, 0, 1, 1), true);
  s.Circle(20, 20, 25, C_Color(1, 0, 0, 1), false);
  s.Circle(70.5f, 55.5f, 18.9f, C_Color(0, 1, 0, 1), true);
  s.Circle(45, 37, 12, C_Color(1, 1, 1, 1), false);
  s.Circle(3, 60, 40, C_Color(1, 1, 0, 1), false);
  s.Check("shape_scene_circles");
}

TEST(ShapeScenes, MixedShapesOnABottomUpSixteenBitTarget) {
  Scene s(64, 48, pixel_format::R5G6B5, false, true, kNoClip);
  s.Rect(2, 2, 62, 46, C_Color(0.2f, 0.2f, 0.2f, 1), true, 0.5f);
  s.Circle(32, 24, 20, C_Color(1, 0.5f, 0, 1), true);
  s.Line(0, 0, 70, 50, C_Color(1, 1, 1, 1));
  s.Line(60, 3, 5, 45, C_Color(0, 1, 1, 1));
  s.Rect(10, 30, 25, 44, C_Color(0, 0, 1, 1), false, 1);
  for (int i = 0; i < 16; ++i) s.Pixel(4.5f + 3.7f * i, 2.2f + 2.5f * i, C_Color(1, 0, 1, 1));
  s.Check("shape_scene_bottom_up_16");
}

TEST(ShapeScenes, PixelsAndLinesOnAnEightBitTarget) {
  Scene s(40, 30, pixel_format::Grey8, false, false, C_Rect(6.0f, 6.0f, 38.0f, 28.0f, 0, 0));
  for (int i = 0; i < 30; ++i) s.Pixel(i * 1.3f, i * 1.1f + 2, C_Color(1, 1, 1, 1));
  s.Line(0, 34, 44, 0, C_Color(0.5f, 0, 0, 1));
  s.Line(22, -10, 23, 40, C_Color(0.8f, 0, 0, 1));
  s.Circle(20, 17, 9, C_Color(0.3f, 0, 0, 1), false);
  s.Check("shape_scene_pixels_8");
}

}  // namespace
