// Bad input for the solid shapes: targets without a colour image or with an
// undescribed or undrawn format, empty bounds, non-finite geometry; and the
// raster lock that serialises drawing between threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <limits>
#include <thread>

#include "core/error.h"
#include "graphics/geometry/circle.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/raster_lock.h"
#include "graphics/raster/shapes.h"
#include "image/channel.h"
#include "image/pixel_format.h"
#include "shape_support.h"

namespace {

const C_Color kWhite(1, 1, 1, 1);

// Calls every routine once with harmless geometry; true when all succeeded.
int CountSuccesses(C_Surface* target, const C_Rect* viewport, const C_Rect* clip) {
  int ok = 0;
  ok += DrawPixel(target, C_Vector2D(1, 1), kWhite, viewport, clip);
  ok += DrawLine(target, C_Vector2D(0, 0), C_Vector2D(5, 3), kWhite, viewport, clip);
  ok += DrawRectangle(target, C_Rect(0, 0, 4, 4), kWhite, viewport, clip, 1, 0.5f);
  ok += DrawCircle(target, C_Circle(C_Vector2D(3, 3), 2), kWhite, viewport, clip, 1);
  ok += DrawCircle(target, C_Circle(C_Vector2D(3, 3), 2), kWhite, viewport, clip, 0);
  ok += FillSpans(target, kWhite, viewport, clip);
  return ok;
}

TEST(ShapeBadInput, TargetsWithoutAColourImageFail) {
  EXPECT_EQ(CountSuccesses(nullptr, nullptr, nullptr), 0);
  C_Surface empty;
  LastError = {0, 0, 0, 0};
  EXPECT_EQ(CountSuccesses(&empty, nullptr, nullptr), 0);
  EXPECT_EQ(LastError.Code, -1);
  // Only a mask image, under key 2.
  C_Image mask;
  ASSERT_TRUE(mask.Create(8, pixel_format::Grey8, 8));
  C_Surface maskOnly;
  maskOnly.SharedImages = 1;
  ASSERT_TRUE(maskOnly.SetChannel(&mask, kAlphaChannel));
  EXPECT_EQ(CountSuccesses(&maskOnly, nullptr, nullptr), 0);
}

TEST(ShapeBadInput, AnUndescribedFormatFailsAndWritesNothing) {
  ShapeCanvas c(8, 8, pixel_format::A8R8G8B8);
  c.image.Format = 48;  // no description
  SetError(0);
  EXPECT_EQ(CountSuccesses(&c.surface, nullptr, nullptr), 0);
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  c.image.Format = pixel_format::A8R8G8B8;
  EXPECT_EQ(c.At(1, 1), c.background);
  EXPECT_EQ(c.At(3, 3), c.background);
}

TEST(ShapeBadInput, FormatsOfOtherDepthsDrawNothingAndSucceed) {
  for (int32_t format : {pixel_format::R8G8B8, pixel_format::RGBAFloat, pixel_format::GreyFloat,
                         pixel_format::A16R16G16B16}) {
    ShapeCanvas c(8, 8, format);
    C_Image before;
    c.CopyImage(before);
    EXPECT_EQ(CountSuccesses(&c.surface, nullptr, nullptr), 6) << format;
    EXPECT_EQ(std::memcmp(before.Pixels, c.image.Pixels, static_cast<size_t>(before.PixelBytes)), 0)
        << format;
  }
}

TEST(ShapeBadInput, EmptyOrInvertedBoundsDrawNothing) {
  ShapeCanvas c(8, 8, pixel_format::A8R8G8B8);
  const C_Rect inverted(6.0f, 6.0f, 2.0f, 2.0f, 0, 0);
  const C_Rect outside(20.0f, 20.0f, 30.0f, 30.0f, 0, 0);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const C_Rect notANumber(nan, nan, nan, nan, 0, 0);
  const C_Rect zero(3.0f, 3.0f, 3.0f, 3.0f, 0, 0);
  for (const C_Rect* r : {&inverted, &outside, &notANumber, &zero}) {
    EXPECT_EQ(CountSuccesses(&c.surface, r, nullptr), 6);
    EXPECT_EQ(CountSuccesses(&c.surface, nullptr, r), 6);
  }
  C_Image untouched;
  ShapeCanvas fresh(8, 8, pixel_format::A8R8G8B8);
  fresh.CopyImage(untouched);
  EXPECT_EQ(
      std::memcmp(untouched.Pixels, c.image.Pixels, static_cast<size_t>(untouched.PixelBytes)), 0);
}

TEST(ShapeBadInput, NonFiniteAndHugeGeometryStaysInsideTheBounds) {
  ShapeCanvas c(16, 12, pixel_format::A8R8G8B8, 3, true);
  const C_Rect interior = c.Interior();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {nan, inf, -inf, 3e38f, -3e38f, 2.5e9f, -2.5e9f, 7.5f};
  for (float a : values)
    for (float b : values) {
      EXPECT_TRUE(DrawPixel(&c.surface, C_Vector2D(a, b), kWhite, &interior, nullptr));
      EXPECT_TRUE(
          DrawLine(&c.surface, C_Vector2D(a, b), C_Vector2D(b, 5), kWhite, &interior, nullptr));
      for (uint8_t filled : {0, 1}) {
        EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(a, b, b, a, 0x44, 0x44), kWhite, &interior,
                                  nullptr, filled, 0.5f));
        EXPECT_TRUE(DrawRectangle(&c.surface, C_Rect(a, 2.0f, 9.0f, b, 0, 0x11), kWhite, &interior,
                                  &interior, filled, a));
        EXPECT_TRUE(DrawCircle(&c.surface, C_Circle(C_Vector2D(a, 6), b), kWhite, &interior,
                               nullptr, filled));
      }
    }
  EXPECT_EQ(c.GuardDamage(), 0);
  // An infinite rectangle covers the whole drawable area.
  ShapeCanvas whole(16, 12, pixel_format::A8R8G8B8, 3);
  EXPECT_TRUE(DrawRectangle(&whole.surface, C_Rect(-inf, -inf, inf, inf, 0x44, 0x44), kWhite,
                            &interior, nullptr, 1, 1));
  EXPECT_EQ(whole.At(3, 3), 0xFFFFFFFFu);
  EXPECT_EQ(whole.At(18, 14), 0xFFFFFFFFu);
  EXPECT_EQ(whole.GuardDamage(), 0);
}

TEST(ShapeRasterLock, ASecondThreadWaitsUntilTheLockIsReleased) {
  ShapeCanvas c(8, 8, pixel_format::A8R8G8B8);
  std::atomic<bool> finished{false};
  AcquireSpinLock(RasterLock);
  std::thread drawer([&] {
    DrawRectangle(&c.surface, C_Rect(0, 0, 8, 8), kWhite, nullptr, nullptr, 1, 1);
    finished = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(finished.load());
  EXPECT_EQ(c.At(4, 4), c.background);
  ReleaseSpinLock(RasterLock);
  drawer.join();
  EXPECT_TRUE(finished.load());
  EXPECT_EQ(c.At(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(RasterLock.load(), 0);  // released again by the drawing call
}

}  // namespace
