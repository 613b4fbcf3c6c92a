// BMP reader: row order, row padding from the image-size field, palettes, and the
// refusal of every header the reader cannot honour.
#include <gtest/gtest.h>

#include <cstring>

#include "core/error.h"
#include "core/memory_counter.h"
#include "image/image.h"
#include "image/picture_readers.h"
#include "tests/image/picture_bytes.h"

namespace {

// 3 x 2 pixels, 24 bits: file rows (bottom first) of pixels (b, g, r) = (10 * row + x, ...).
std::vector<uint8_t> Rows24(int32_t padding) {
  PictureBytes b;
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 3; ++x) b.U8(10 * row + x).U8(100 + x).U8(200 + row);
    b.Fill(static_cast<size_t>(padding), 0xEE);
  }
  return b.Bytes;
}

TEST(BmpReader, TwentyFourBitRowsArePaddedByTheImageSizeField) {
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadBmp, MakeBmp(3, 2, 24, 2 * 12, Rows24(3)), &image));
  EXPECT_EQ(image.Format, pixel_format::R8G8B8);
  EXPECT_EQ(image.BitsPerPixel, 24);
  EXPECT_EQ(image.Pitch, 9);
  EXPECT_EQ(image.RowBytes, 9);
  EXPECT_EQ(image.PixelBytes, 18);
  EXPECT_EQ(image.Palette, nullptr);
  EXPECT_EQ(image.PaletteFormat, pixel_format::None);
  // The first file row is the bottom picture row; padding bytes never appear.
  const uint8_t top[9] = {10, 100, 201, 11, 101, 201, 12, 102, 201};
  const uint8_t bottom[9] = {0, 100, 200, 1, 101, 200, 2, 102, 200};
  EXPECT_EQ(0, std::memcmp(image.Pixels, top, 9));
  EXPECT_EQ(0, std::memcmp(image.Pixels + 9, bottom, 9));
}

TEST(BmpReader, ImageSizeZeroSkipsNoPadding) {
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadBmp, MakeBmp(3, 2, 24, 0, Rows24(0)), &image));
  EXPECT_EQ(image.Pixels[0], 10);
  EXPECT_EQ(image.Pixels[9], 0);
  EXPECT_EQ(image.Pixels[17], 200);
}

TEST(BmpReader, EightBitKeepsThreeBytesOfEachPaletteEntry) {
  PictureBytes palette;
  for (int i = 0; i < 256; ++i) palette.U8(i).U8(i ^ 0x55).U8(255 - i).U8(0x99);
  const std::vector<uint8_t> data = {1, 2, 3, 0, 4, 5, 6, 0};  // 3 wide, padded to 4
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadBmp, MakeBmp(3, 2, 8, 8, data, palette.Bytes), &image));
  EXPECT_EQ(image.Format, pixel_format::Index8);
  EXPECT_EQ(image.Pitch, 3);
  EXPECT_EQ(image.PaletteBytes, 768);
  EXPECT_EQ(image.PaletteFormat, pixel_format::R8G8B8);
  EXPECT_EQ(image.PaletteEntryBits, 24);
  for (int i : {0, 7, 255}) {
    EXPECT_EQ(image.Palette[3 * i], i);
    EXPECT_EQ(image.Palette[3 * i + 1], i ^ 0x55);
    EXPECT_EQ(image.Palette[3 * i + 2], 255 - i);
  }
  const uint8_t expected[6] = {4, 5, 6, 1, 2, 3};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 6));
}

TEST(BmpReader, ShortPaletteLeavesTheOtherEntriesBlack) {
  const std::vector<uint8_t> palette = {1, 2, 3, 0, 4, 5, 6, 0};
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadBmp, MakeBmp(1, 1, 8, 0, {1, 0, 0, 0}, palette), &image));
  EXPECT_EQ(image.Palette[3], 4);
  EXPECT_EQ(image.Palette[5], 6);
  EXPECT_EQ(image.Palette[6], 0);
  EXPECT_EQ(image.Palette[767], 0);
  EXPECT_EQ(image.Pixels[0], 1);
}

// Every header the reader cannot honour leaves an empty image, -1 and no memory.
TEST(BmpReader, RefusesHostileHeaders) {
  auto patch32 = [](std::vector<uint8_t> bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = (v >> (8 * i)) & 0xFF;
    return bytes;
  };
  auto patch16 = [](std::vector<uint8_t> bytes, size_t at, uint16_t v) {
    bytes[at] = v & 0xFF;
    bytes[at + 1] = v >> 8;
    return bytes;
  };
  const std::vector<uint8_t> good = MakeBmp(3, 2, 24, 0, Rows24(0));
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"signature", patch32(good, 0, 0x4D43)},
      {"height 0", patch32(good, 22, 0)},
      {"negative height", patch32(good, 22, static_cast<uint32_t>(-2))},
      {"width 0", patch32(good, 18, 0)},
      {"width over the cap", patch32(good, 18, 16385)},
      {"huge size", patch32(patch32(good, 18, 0x40000000), 22, 0x40000000)},
      {"compressed", patch32(good, 30, 1)},
      {"16 bits", patch16(good, 28, 16)},
      {"large but truncated", patch32(patch32(good, 18, 16000), 22, 16000)},
      {"small header", patch32(good, 14, 12)},
      {"offset past end", patch32(good, 10, 0x7FFFFFF0)},
      {"padding past end", patch32(good, 34, 0xFFFFFFFF)},
      {"truncated pixels", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"truncated header", std::vector<uint8_t>(good.begin(), good.begin() + 30)},
      {"palette past end", MakeBmp(300, 1, 8, 0, std::vector<uint8_t>(300, 1))},
  };
  for (auto& [name, bytes] : cases) {
    const uint64_t before = MemoryInUse;
    C_Image image;
    LastError = {0, 0, 0, 0};
    EXPECT_FALSE(ReadPictureBytes(ReadBmp, bytes, &image)) << name;
    EXPECT_EQ(LastError.Code, -1) << name;
    EXPECT_EQ(LastError.Cause, ErrorUnexpectedData) << name;
    EXPECT_TRUE(IsEmptyImage(image)) << name;
    EXPECT_EQ(MemoryInUse, before) << name;
  }
}

TEST(BmpReader, ReadsFromAFileAndReportsAMissingOne) {
  C_Image image;
  const std::string path = WritePictureFile("rows.bmp", MakeBmp(3, 2, 24, 24, Rows24(3)));
  ASSERT_TRUE(LoadBmpFile(path.c_str(), &image));
  EXPECT_EQ(image.Pixels[0], 10);
  LastError = {0, 0, 0, 0};
  EXPECT_FALSE(LoadBmpFile((PictureTempDir() / "absent.bmp").c_str(), &image));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorCannotOpen);
  EXPECT_TRUE(IsEmptyImage(image));
}

}  // namespace
