// Shared raster plumbing: bounds, target decoding, the mask rule and the span table.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/internal/blend.h"
#include "graphics/raster/internal/span_table.h"
#include "graphics/raster/raster_target.h"
#include "image/image.h"
#include "image/surface.h"
#include "reference_picture.h"

TEST(PixelRect, ViewportAndClipIntersectWithTheTarget) {
  const C_Rect viewport(-5.7f, 2.9f, 90.2f, 300.0f, 0, 0);
  const C_Rect clip(10.0f, 0.0f, 50.5f, 40.0f, 0, 0);
  const PixelRect b = ComputeBounds(80, 60, &viewport, &clip);
  EXPECT_EQ(b.X1, 10);
  EXPECT_EQ(b.Y1, 2);
  EXPECT_EQ(b.X2, 50);
  EXPECT_EQ(b.Y2, 40);
  const PixelRect whole = ComputeBounds(80, 60, nullptr, nullptr);
  EXPECT_EQ(whole.X2, 80);
  EXPECT_EQ(whole.Y2, 60);
}

TEST(PixelRect, NanAndHugeEdgesSaturate) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const C_Rect viewport(nan, -1e30f, 1e30f, nan, 0, 0);
  const PixelRect b = ComputeBounds(80, 60, &viewport, nullptr);
  EXPECT_EQ(b.X1, 0);
  EXPECT_EQ(b.Y1, 0);
  EXPECT_EQ(b.X2, 80);
  EXPECT_EQ(b.Y2, 0);
  EXPECT_TRUE(b.Empty());
}

TEST(RasterTarget, BottomUpImagesAreAddressedTopRowFirst) {
  C_Image image;
  ASSERT_TRUE(image.Create(4, pixel_format::A8R8G8B8, 3));
  image.BottomUp = 1;
  C_Surface surface(&image);
  RasterTarget target;
  ASSERT_TRUE(OpenRasterTarget(&surface, target));
  EXPECT_EQ(target.color.Row(0), image.Pixels + 2 * image.Pitch);
  EXPECT_EQ(target.color.Row(2), image.Pixels);
  EXPECT_EQ(target.mask.image, nullptr);
  C_Surface empty;
  EXPECT_FALSE(OpenRasterTarget(&empty, target));
}

TEST(MaskRule, CoverageAccumulatesAsDesigned) {
  uint8_t mask = 0;
  EXPECT_EQ(ApplyMaskRule(&mask, 128), 256);
  EXPECT_EQ(mask, 128);
  EXPECT_EQ(ApplyMaskRule(&mask, 128), 170);
  EXPECT_EQ(mask, 192);
  EXPECT_EQ(ApplyMaskRule(&mask, 255), 256);
  EXPECT_EQ(mask, 255);
  EXPECT_EQ(ApplyMaskRule(&mask, 100), 100);
  EXPECT_EQ(BlendChannel(200, 100, 128), 150);
  EXPECT_EQ(BlendChannel(100, 201, 128), 150);
}

TEST(SpanTable, ClearMarksRowsEmptyAndTheRangeInverted) {
  SpanTable table;
  table.Reserve(10);
  table.Left[3] = 1;
  table.Clear(2, 8);
  EXPECT_EQ(table.Left[3], kSpanEmptyLeft);
  EXPECT_EQ(table.Right[3], kSpanEmptyRight);
  EXPECT_EQ(table.FirstRow, 8);
  EXPECT_EQ(table.LastRow, 2);
}

TEST(ReferencePicture, DifferencesAreReportedAndSaved) {
  C_Image a, b;
  ASSERT_TRUE(a.CreateFilled(3, pixel_format::A8R8G8B8, 2, C_Color(1, 0, 0, 1)));
  ASSERT_TRUE(b.CreateFilled(3, pixel_format::A8R8G8B8, 2, C_Color(1, 0, 0, 1)));
  EXPECT_TRUE(MatchesPicture("same", a, b));
  reinterpret_cast<uint32_t*>(b.RowAddress(1))[2] = 0;
  const ::testing::AssertionResult result = MatchesPicture("differs", a, b);
  EXPECT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("(2, 1)"), std::string::npos);
  // The difference: the expected picture at a quarter of its brightness, the
  // differing pixel in magenta.
  C_Image difference;
  ASSERT_TRUE(ReadPicturePng(std::string(DF_TEST_OUTPUT_DIR) + "/raster/differs.difference.png",
                             difference));
  ASSERT_EQ(difference.Width, 3);
  const uint8_t* row = difference.RowAddress(1);  // blue, green, red
  EXPECT_EQ(std::vector<uint8_t>(row, row + 9),
            (std::vector<uint8_t>{0, 0, 63, 0, 0, 63, 255, 0, 255}));
}

// A stored picture is compared by its colours; a missing one fails and says how to
// write it.
TEST(ReferencePicture, StoredPicturesAreComparedByTheirColours) {
  const std::string folder = std::string(DF_TEST_OUTPUT_DIR) + "/raster/stored";
  C_Image drawn;
  ASSERT_TRUE(drawn.CreateFilled(4, pixel_format::A8R8G8B8, 3, C_Color(0.5f, 0.25f, 1, 0.5f)));
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(WritePicturePng(folder + "/blue.png", drawn));
  EXPECT_TRUE(MatchesStoredPicture(folder, "blue", drawn));
  reinterpret_cast<uint32_t*>(drawn.RowAddress(2))[3] ^= 1;
  EXPECT_FALSE(MatchesStoredPicture(folder, "blue", drawn));
  const ::testing::AssertionResult missing = MatchesStoredPicture(folder, "none", drawn);
  EXPECT_FALSE(missing);
  EXPECT_NE(std::string(missing.message()).find("DF_UPDATE_PICTURES=1"), std::string::npos);
}

TEST(RasterTarget, ImagesWhoseBufferIsShorterThanTheirSizeAreRefused) {
  C_Image image;
  ASSERT_TRUE(image.Create(4, pixel_format::A8R8G8B8, 3));
  image.Height = 4;  // claims a row the buffer does not have
  RasterImage view;
  EXPECT_FALSE(DecodeRasterImage(&image, view));
  image.Height = 3;
  image.Pitch = 8;  // rows narrower than their pixels
  EXPECT_FALSE(DecodeRasterImage(&image, view));
  image.Pitch = 16;
  EXPECT_TRUE(DecodeRasterImage(&image, view));
}
