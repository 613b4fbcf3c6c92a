// TGA reader: the four header templates, pixel layouts per depth, run-length
// packets, row order, and the refusal of headers and data it cannot honour.
#include <gtest/gtest.h>

#include <cstring>

#include "core/error.h"
#include "core/memory_counter.h"
#include "image/image.h"
#include "image/picture_readers.h"
#include "tests/image/picture_bytes.h"

namespace {

std::vector<uint8_t> ColourMap() {
  PictureBytes b;
  for (int i = 0; i < 256; ++i) b.U8(i).U8(i / 2).U8(255 - i);
  return b.Bytes;
}

TEST(TgaReader, UncompressedTwentyFourBitsAreStoredBottomRowFirst) {
  // File rows: bottom (1,2,3)(4,5,6), top (7,8,9)(10,11,12).
  const auto bytes = TgaHeader(2, 2, 2, 24).Raw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}).Bytes;
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadTga, bytes, &image));
  EXPECT_EQ(image.Format, pixel_format::R8G8B8);
  EXPECT_EQ(image.BitsPerPixel, 24);
  EXPECT_EQ(image.Pitch, 6);
  EXPECT_EQ(image.PixelBytes, 12);
  const uint8_t expected[12] = {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 12));
}

TEST(TgaReader, ThirtyTwoBitPixelsPutAlphaFirst) {
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadTga, TgaHeader(2, 1, 1, 32).Raw({1, 2, 3, 4}).Bytes, &image));
  EXPECT_EQ(image.Format, pixel_format::R8G8B8A8);
  const uint8_t expected[4] = {4, 1, 2, 3};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 4));
  // The same through a run-length packet repeated twice, then a raw packet.
  ASSERT_TRUE(ReadPictureBytes(
      ReadTga, TgaHeader(10, 3, 1, 32).Raw({0x81, 1, 2, 3, 4, 0x00, 5, 6, 7, 8}).Bytes, &image));
  const uint8_t expectedRle[12] = {4, 1, 2, 3, 4, 1, 2, 3, 8, 5, 6, 7};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expectedRle, 12));
}

TEST(TgaReader, RunLengthSixteenBitsAreFlippedAfterDecoding) {
  // 2 x 2: a repeat packet of two 0x7C00, then a raw packet of 0x001F, 0x03E0.
  const auto bytes =
      TgaHeader(10, 2, 2, 16).Raw({0x81, 0x00, 0x7C, 0x01, 0x1F, 0x00, 0xE0, 0x03}).Bytes;
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadTga, bytes, &image));
  EXPECT_EQ(image.Format, pixel_format::R5G5B5);
  EXPECT_EQ(image.Pitch, 4);
  const uint8_t expected[8] = {0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0x00, 0x7C};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 8));
}

TEST(TgaReader, ColourMappedPicturesKeepTheMapAsStored) {
  C_Image image;
  const auto raw = TgaHeader(1, 3, 2, 8).Raw(ColourMap()).Raw({1, 2, 3, 4, 5, 6}).Bytes;
  ASSERT_TRUE(ReadPictureBytes(ReadTga, raw, &image));
  EXPECT_EQ(image.Format, pixel_format::Index8);
  EXPECT_EQ(image.PaletteBytes, 768);
  EXPECT_EQ(image.PaletteFormat, pixel_format::R8G8B8);
  EXPECT_EQ(0, std::memcmp(image.Palette, ColourMap().data(), 768));
  const uint8_t expected[6] = {4, 5, 6, 1, 2, 3};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 6));

  const auto rle = TgaHeader(9, 3, 2, 8).Raw(ColourMap()).Raw({0x82, 7, 0x02, 1, 2, 3}).Bytes;
  ASSERT_TRUE(ReadPictureBytes(ReadTga, rle, &image));
  const uint8_t expectedRle[6] = {1, 2, 3, 7, 7, 7};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expectedRle, 6));
}

TEST(TgaReader, RefusesHostileHeadersAndData) {
  std::vector<uint8_t> withId = TgaHeader(2, 1, 1, 24).Raw({1, 2, 3, 4}).Bytes;
  withId[0] = 1;
  std::vector<uint8_t> origin = TgaHeader(2, 1, 1, 24).Raw({1, 2, 3}).Bytes;
  origin[8] = 1;
  std::vector<uint8_t> shortMap = TgaHeader(1, 1, 1, 8).Raw(ColourMap()).Bytes;
  shortMap.resize(shortMap.size() - 1);
  std::vector<uint8_t> shortHeader = TgaHeader(2, 1, 1, 24).Bytes;
  shortHeader.pop_back();
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"image id", withId},
      {"origin", origin},
      {"short header", shortHeader},
      {"zero width", TgaHeader(2, 0, 1, 24).Raw({1, 2, 3}).Bytes},
      {"zero height", TgaHeader(1, 1, 0, 8).Raw(ColourMap()).Bytes},
      {"depth 8 true colour", TgaHeader(2, 1, 1, 8).Raw({1}).Bytes},
      {"depth 15", TgaHeader(2, 1, 1, 15).Raw({1, 2}).Bytes},
      {"mapped depth 16", TgaHeader(1, 1, 1, 16).Raw(ColourMap()).Raw({1, 2}).Bytes},
      {"over the cap", TgaHeader(2, 16385, 1, 8).Bytes},
      {"raw short data", TgaHeader(2, 2, 2, 24).Raw({1, 2, 3}).Bytes},
      {"rle short data", TgaHeader(10, 2, 2, 24).Raw({0x02, 1, 2, 3}).Bytes},
      {"rle overrun", TgaHeader(10, 2, 2, 24).Raw({0x84, 1, 2, 3}).Bytes},
      {"huge rle for its data", TgaHeader(10, 16000, 16000, 32).Raw({0xFF, 1, 2, 3, 4}).Bytes},
      {"map cut short", shortMap},
      {"mapped rle overrun", TgaHeader(9, 1, 1, 8).Raw(ColourMap()).Raw({0x81, 1}).Bytes},
  };
  for (auto& [name, bytes] : cases) {
    const uint64_t before = MemoryInUse;
    C_Image image;
    LastError = {0, 0, 0, 0};
    EXPECT_FALSE(ReadPictureBytes(ReadTga, bytes, &image)) << name;
    EXPECT_EQ(LastError.Code, -1) << name;
    EXPECT_EQ(LastError.Cause, ErrorUnexpectedData) << name;
    EXPECT_TRUE(IsEmptyImage(image)) << name;
    EXPECT_EQ(MemoryInUse, before) << name;
  }
}

}  // namespace
