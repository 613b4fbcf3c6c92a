// The format table, its descriptions and the packing of colours into pixels.
#include "image/pixel_format.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "graphics/geometry/color.h"

namespace {

TEST(PixelFormat, DisplayFormatDescription) {
  FormatDescriptor d;
  ASSERT_TRUE(DescribeFormat(pixel_format::A8R8G8B8, d));
  EXPECT_EQ(d.Shift[0], 16u);
  EXPECT_EQ(d.Bits[0], 8u);
  EXPECT_EQ(d.Mask[0], 0x00FF0000u);
  EXPECT_EQ(d.Shift[3], 24u);
  EXPECT_EQ(d.Mask[3], 0xFF000000u);
  EXPECT_EQ(d.BytesPerPixel, 4);
  EXPECT_EQ(d.ChannelCount, 4);
  EXPECT_EQ(d.ComponentType, ComponentInteger);
}

TEST(PixelFormat, PlaceholdersAndUnknownCodes) {
  FormatDescriptor d;
  EXPECT_TRUE(DescribeFormat(pixel_format::None, d));
  EXPECT_EQ(d.BitsPerPixel, 0u);
  EXPECT_EQ(d.Format, pixel_format::None);
  EXPECT_TRUE(DescribeFormat(pixel_format::Placeholder, d));
  EXPECT_EQ(d.Indexed, 0);
  EXPECT_FALSE(DescribeFormat(48, d));
  EXPECT_EQ(d.BitsPerPixel, 0u);
  EXPECT_FALSE(DescribeFormat(0, d));
  EXPECT_FALSE(DescribeFormat(-5, d));
}

TEST(PixelFormat, SubByteAndIndexFormats) {
  FormatDescriptor d;
  ASSERT_TRUE(DescribeFormat(pixel_format::Index1, d));
  EXPECT_EQ(d.BitsPerPixel, 1u);
  EXPECT_EQ(d.BytesPerPixel, 1);
  EXPECT_EQ(d.Mask[0], 0xFFu);
  EXPECT_EQ(d.Indexed, 1);
  EXPECT_EQ(d.ComponentType, ComponentBit);
  ASSERT_TRUE(DescribeFormat(pixel_format::Index4, d));
  EXPECT_EQ(d.Mask[0], 0xFFu);
  ASSERT_TRUE(DescribeFormat(pixel_format::Index8, d));
  EXPECT_EQ(d.Mask[0], 0xFFu);
  ASSERT_TRUE(DescribeFormat(pixel_format::Grey1, d));
  EXPECT_EQ(d.Indexed, 0);
  EXPECT_EQ(d.Mask[0], 0xFFu);
}

// Properties every row of the table must have: channels within the pixel, masks
// that match shift and bits and do not overlap, and byte sizes from bit sizes.
TEST(PixelFormat, WholeTableIsConsistent) {
  for (int32_t code = pixel_format::First; code <= pixel_format::Last; ++code) {
    SCOPED_TRACE(code);
    FormatDescriptor d;
    ASSERT_TRUE(DescribeFormat(code, d));
    EXPECT_EQ(d.Format, code);
    EXPECT_EQ(d.BytesPerPixel, d.BitsPerPixel < 8 ? 1u : d.BitsPerPixel / 8);
    uint32_t bitSum = 0, present = 0, maskUnion = 0;
    for (int c = 0; c < 4; ++c) {
      if (d.Bits[c] == 0) {
        EXPECT_EQ(d.Mask[c], 0u);
        continue;
      }
      ++present;
      bitSum += d.Bits[c];
      EXPECT_LE(d.Shift[c] + d.Bits[c], d.BitsPerPixel);
      const bool masked = d.ComponentType <= ComponentInteger && d.BitsPerPixel <= 32;
      if (!masked) {
        EXPECT_EQ(d.Mask[c], 0u);
      } else if (!(d.Indexed || code == pixel_format::Grey1) || d.BitsPerPixel == 8) {
        const uint64_t want = ((uint64_t{1} << d.Bits[c]) - 1) << d.Shift[c];
        EXPECT_EQ(d.Mask[c], static_cast<uint32_t>(want));
        EXPECT_EQ(maskUnion & d.Mask[c], 0u);
        maskUnion |= d.Mask[c];
      }
    }
    EXPECT_EQ(present, d.ChannelCount);
    EXPECT_LE(bitSum, d.BitsPerPixel);
    EXPECT_EQ(d.Indexed, code <= 4 ? 1 : 0);
  }
}

TEST(PixelFormat, MirroredLayoutsSwapRedAndBlue) {
  // 12..26 put red highest, 27..41 are the same layouts with blue there.
  for (int32_t code = 12; code <= 26; ++code) {
    SCOPED_TRACE(code);
    FormatDescriptor a, b;
    ASSERT_TRUE(DescribeFormat(code, a));
    ASSERT_TRUE(DescribeFormat(code + 15, b));
    EXPECT_EQ(a.BitsPerPixel, b.BitsPerPixel);
    EXPECT_EQ(a.Shift[0], b.Shift[2]);
    EXPECT_EQ(a.Bits[0], b.Bits[2]);
    EXPECT_EQ(a.Shift[2], b.Shift[0]);
    EXPECT_EQ(a.Shift[1], b.Shift[1]);
  }
}

TEST(PixelFormat, FloatLayouts) {
  FormatDescriptor d;
  ASSERT_TRUE(DescribeFormat(pixel_format::RGBAFloat, d));
  EXPECT_EQ(d.ComponentType, ComponentFloat);
  EXPECT_EQ(d.BytesPerPixel, 16);
  EXPECT_EQ(d.Shift[0], 96u);
  EXPECT_EQ(d.Shift[3], 0u);
  EXPECT_EQ(d.Mask[0], 0u);
  ASSERT_TRUE(DescribeFormat(pixel_format::GreyDouble, d));
  EXPECT_EQ(d.ComponentType, ComponentDouble);
  EXPECT_EQ(d.BytesPerPixel, 8);
}

TEST(PixelFormat, PackColor) {
  EXPECT_EQ(PackColor(pixel_format::A8R8G8B8, C_Color(1, 0, 0, 1)), 0xFFFF0000u);
  EXPECT_EQ(PackColor(pixel_format::R8G8B8, C_Color(1, 0, 1, 1)), 0x00FF00FFu);
  EXPECT_EQ(PackColor(pixel_format::R5G6B5, C_Color(1, 1, 1, 0)), 0xFFFFu);
  EXPECT_EQ(PackColor(pixel_format::R8G8B8A8, C_Color(0, 0, 0, 1)), 0x000000FFu);
  EXPECT_EQ(PackColor(pixel_format::Grey16, C_Color(1, 0, 0, 0)), 0xFFFFu);
  EXPECT_EQ(PackColor(pixel_format::Grey32, C_Color(1, 0, 0, 0)), 0xFFFFFFFFu);
  // Out-of-range components are held at the ends instead of wrapping.
  EXPECT_EQ(PackColor(pixel_format::A8R8G8B8, C_Color(2, -1, 0.5f, 1)), 0xFFFF007Fu);
}

TEST(PixelFormat, PackColorOfUndescribedFormat) {
  LastError = {};
  EXPECT_EQ(PackColor(99, C_Color(1, 1, 1, 1)), 0u);
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
}

}  // namespace
