// C_Image sizing, allocation policies, foreign pixels, copies and the memory count.
#include "image/image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/error.h"
#include "core/memory_counter.h"
#include "graphics/geometry/color.h"

namespace {

TEST(Image, NewImageIsEmpty) {
  C_Image image;
  EXPECT_EQ(image.Pixels, nullptr);
  EXPECT_EQ(image.Format, pixel_format::None);
  EXPECT_EQ(image.PaletteFormat, pixel_format::None);
  EXPECT_EQ(image.PixelBytes, 0);
}

TEST(Image, CreateSizesPackedRows) {
  C_Image image;
  ASSERT_TRUE(image.Create(3, pixel_format::Grey16, 2));
  EXPECT_EQ(image.Pitch, 6);
  EXPECT_EQ(image.RowBytes, 6);
  EXPECT_EQ(image.PixelBytes, 12);
  EXPECT_EQ(image.BitsPerPixel, 16);
  EXPECT_NE(image.Pixels, nullptr);

  C_Image bits;
  ASSERT_TRUE(bits.Create(1, pixel_format::Grey1, 1));
  EXPECT_EQ(bits.Pitch, 1);
  ASSERT_TRUE(bits.Create(9, pixel_format::Index4, 2));
  EXPECT_EQ(bits.Pitch, 5);
  EXPECT_EQ(bits.PixelBytes, 10);
}

// Pixel blocks start on a cache line, made or cloned, so that 512-pixel rows of
// 16 or 32 bits shared among threads never share a line.
TEST(Image, PixelBlocksStartOnACacheLine) {
  for (const int32_t format : {pixel_format::Grey16, pixel_format::A8R8G8B8, pixel_format::R8G8B8,
                               pixel_format::Grey1}) {
    C_Image image;
    ASSERT_TRUE(image.Create(513, format, 3));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(image.Pixels) % 64, 0u) << format;
    std::unique_ptr<C_Image> copy(static_cast<C_Image*>(image.Clone()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(copy->Pixels) % 64, 0u) << format;
  }
}

TEST(Image, CreateCountsMemoryAndReleaseReturnsIt) {
  const uint64_t before = MemoryInUse;
  {
    C_Image image;
    ASSERT_TRUE(image.Create(10, pixel_format::Index8, 10, pixel_format::R8G8B8));
    EXPECT_EQ(image.PaletteBytes, 768);
    EXPECT_EQ(image.PaletteEntryBits, 24);
    EXPECT_EQ(MemoryInUse, before + 100 + 768);
    EXPECT_GE(MemoryPeak, MemoryInUse);
    ASSERT_TRUE(image.Create(10, pixel_format::A8R8G8B8, 10));
    EXPECT_EQ(image.Palette, nullptr);
    EXPECT_EQ(MemoryInUse, before + 400);
  }
  EXPECT_EQ(MemoryInUse, before);
}

TEST(Image, ExactPolicyKeepsBufferOfSameSize) {
  C_Image image;
  ASSERT_TRUE(image.Create(4, pixel_format::Grey8, 4));
  std::memset(image.Pixels, 0x5A, 16);
  uint8_t* buffer = image.Pixels;
  ASSERT_TRUE(image.Create(4, pixel_format::Grey8, 4));
  EXPECT_EQ(image.Pixels, buffer);
  EXPECT_EQ(image.Pixels[15], 0x5A);
  // Same byte count in another shape is still the same buffer.
  ASSERT_TRUE(image.Create(2, pixel_format::Grey16, 4));
  EXPECT_EQ(image.Pixels, buffer);
}

TEST(Image, GrowPolicyKeepsLargerBuffer) {
  const uint64_t before = MemoryInUse;
  C_Image image;
  image.AllocPolicy = AllocGrow;
  ASSERT_TRUE(image.Create(8, pixel_format::Grey8, 8));
  uint8_t* buffer = image.Pixels;
  ASSERT_TRUE(image.Create(2, pixel_format::Grey8, 2));
  EXPECT_EQ(image.Pixels, buffer);
  EXPECT_EQ(image.PixelBytes, 64);
  EXPECT_EQ(image.Pitch, 2);
  ASSERT_TRUE(image.Create(10, pixel_format::Grey8, 10));
  EXPECT_EQ(image.PixelBytes, 100);
  EXPECT_EQ(MemoryInUse, before + 100);
}

TEST(Image, NeverPolicyStillGrowsWhenTooSmall) {
  C_Image image;
  image.AllocPolicy = AllocNever;
  ASSERT_TRUE(image.Create(8, pixel_format::Grey8, 8));
  uint8_t* buffer = image.Pixels;
  ASSERT_TRUE(image.Create(4, pixel_format::Grey8, 4));
  EXPECT_EQ(image.Pixels, buffer);
  EXPECT_EQ(image.PixelBytes, 64);
  ASSERT_TRUE(image.Create(16, pixel_format::Grey8, 16));
  EXPECT_GE(image.PixelBytes, 256);
}

TEST(Image, CreateFailures) {
  C_Image image;
  LastError = {};
  EXPECT_FALSE(image.Create(4, 99, 4));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  EXPECT_FALSE(image.Create(4, pixel_format::Index8, 4, 77));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoPaletteFormat);
  // A row wider than 2^24 bits and negative sizes are refused.
  EXPECT_FALSE(image.Create(1 << 20, pixel_format::A8R8G8B8, 1));
  EXPECT_FALSE(image.Create(-1, pixel_format::Grey8, 1));
  EXPECT_FALSE(image.Create(16384, pixel_format::RGBAFloat, 16384));
}

TEST(Image, ExternalPixels) {
  std::vector<uint32_t> block(6 * 4, 0x11223344u);
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::Grey8, 2));
  const uint64_t before = MemoryInUse;
  ASSERT_TRUE(
      image.AttachPixels(5, 24, 4, pixel_format::A8R8G8B8, pixel_format::None, block.data()));
  EXPECT_EQ(MemoryInUse, before - 4);  // the image's own buffer went
  EXPECT_EQ(image.Pitch, 24);
  EXPECT_EQ(image.RowBytes, 20);
  EXPECT_EQ(image.PixelBytes, 96);
  EXPECT_EQ(image.ExternalPixels, 1);
  // An image on foreign pixels cannot be re-created and records nothing.
  LastError = {7, 7, 7};
  EXPECT_FALSE(image.Create(1, pixel_format::Grey8, 1));
  EXPECT_EQ(LastError.Code, 7);
  EXPECT_EQ(image.Width, 5);
  image.Release();
  EXPECT_EQ(block[0], 0x11223344u);  // still ours and untouched
}

TEST(Image, AttachPixelsFailures) {
  uint8_t block[64] = {};
  C_Image image;
  LastError = {};
  EXPECT_FALSE(image.AttachPixels(2, 2, 2, pixel_format::Grey8, pixel_format::None, nullptr));
  EXPECT_FALSE(image.AttachPixels(2, 2, 2, 99, pixel_format::None, block));
  EXPECT_FALSE(image.AttachPixels(2, 2, 2, pixel_format::Index8, 99, block));
  EXPECT_FALSE(image.AttachPixels(4, 2, 2, pixel_format::Grey8, pixel_format::None, block));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorMissingArgument);
  EXPECT_EQ(image.Pixels, nullptr);
}

TEST(Image, CloneIsDeepAndCounted) {
  C_Image image;
  ASSERT_TRUE(image.Create(3, pixel_format::Index8, 2, pixel_format::R8G8B8));
  for (int i = 0; i < 6; ++i) image.Pixels[i] = uint8_t(i * 7);
  for (int i = 0; i < 768; ++i) image.Palette[i] = uint8_t(i);
  image.BottomUp = 1;
  image.AllocPolicy = AllocGrow;
  const uint64_t before = MemoryInUse;
  std::unique_ptr<C_Image> copy(static_cast<C_Image*>(image.Clone()));
  ASSERT_TRUE(copy);
  EXPECT_EQ(MemoryInUse, before + 6 + 768);
  EXPECT_NE(copy->Pixels, image.Pixels);
  EXPECT_EQ(std::memcmp(copy->Pixels, image.Pixels, 6), 0);
  EXPECT_EQ(std::memcmp(copy->Palette, image.Palette, 768), 0);
  EXPECT_EQ(copy->Format, pixel_format::Index8);
  EXPECT_EQ(copy->PaletteFormat, pixel_format::R8G8B8);
  EXPECT_EQ(copy->PaletteEntryBits, 24);
  EXPECT_EQ(copy->RowBytes, 3);
  EXPECT_EQ(copy->BottomUp, 0);
  EXPECT_EQ(copy->AllocPolicy, 0);
  copy.reset();
  EXPECT_EQ(MemoryInUse, before);
}

TEST(Image, CopyToReplacesTargetBuffers) {
  C_Image a, b;
  ASSERT_TRUE(a.Create(2, pixel_format::Grey8, 2));
  ASSERT_TRUE(b.Create(50, pixel_format::Grey8, 50, pixel_format::R8G8B8));
  const uint64_t before = MemoryInUse;
  ASSERT_TRUE(a.CopyTo(&b));
  EXPECT_EQ(MemoryInUse, before - 2500 - 768 + 4);
  EXPECT_EQ(b.Palette, nullptr);
  EXPECT_EQ(b.PixelBytes, 4);
}

TEST(Image, CreateFilled) {
  C_Image image;
  ASSERT_TRUE(image.CreateFilled(3, pixel_format::A8R8G8B8, 2, C_Color(0, 1, 0, 1)));
  const auto* p = reinterpret_cast<const uint32_t*>(image.Pixels);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(p[i], 0xFF00FF00u);
}

TEST(Image, ConvertIntoChecksItsArguments) {
  C_Image source, target;
  LastError = {};
  EXPECT_FALSE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &target, nullptr));
  EXPECT_FALSE(C_Image::ConvertInto(pixel_format::A8R8G8B8, nullptr, &source));
  EXPECT_FALSE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &target, &source));  // empty
  ASSERT_TRUE(source.Create(2, pixel_format::Grey8, 2));
  EXPECT_FALSE(C_Image::ConvertInto(123, &target, &source));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  source.Pixels[0] = 0x80;
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::Grey16, &target, &source));
  EXPECT_EQ(target.Width, 2);
  EXPECT_EQ(target.Height, 2);
  uint16_t v;
  std::memcpy(&v, target.Pixels, 2);
  EXPECT_EQ(v, 0x8080);
}

}  // namespace

TEST(Image, RowsOfTwoToTheTwentyFourBitsAreRefused) {
  // width x 256 x bits would wrap to 0 in the 32-bit row arithmetic.
  C_Image image;
  EXPECT_FALSE(image.Create(1 << 19, pixel_format::A8R8G8B8, 1));
  EXPECT_EQ(image.Pixels, nullptr);
  EXPECT_TRUE(image.Create((1 << 19) - 1, pixel_format::A8R8G8B8, 1));
  EXPECT_EQ(image.Pitch, ((1 << 19) - 1) * 4);
  uint8_t block[4] = {};
  C_Image view;
  EXPECT_FALSE(
      view.AttachPixels(1 << 24, 1 << 21, 1, pixel_format::Index1, pixel_format::None, block));
}
