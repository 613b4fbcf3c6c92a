// PCX writer: what it encodes, the PCX reader reads back to the same pixels and
// palette, whatever the runs, widths and byte values; it refuses what it cannot write.
#include "image/pcx_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/error.h"
#include "image/image.h"
#include "image/picture_readers.h"
#include "tests/image/picture_bytes.h"

namespace {

// Fills the image's rows: mostly long runs (past the 63-byte limit of one run)
// broken by random bytes, many of them 0xC0 and above, which must be written as runs.
void FillRows(C_Image& image, int32_t rowBytes, uint32_t seed) {
  std::mt19937 random(seed);
  for (int32_t y = 0; y < image.Height; ++y) {
    uint8_t* row = image.RowAddress(y);
    uint8_t value = 0;
    for (int32_t x = 0; x < rowBytes; ++x) {
      if (random() % 8 == 0) value = static_cast<uint8_t>(random());
      row[x] = random() % 5 == 0 ? static_cast<uint8_t>(0xC0 + random() % 64) : value;
    }
  }
}

void ExpectSameRows(const C_Image& a, const C_Image& b, int32_t rowBytes) {
  ASSERT_EQ(a.Width, b.Width);
  ASSERT_EQ(a.Height, b.Height);
  for (int32_t y = 0; y < a.Height; ++y) {
    ASSERT_EQ(0, std::memcmp(a.RowAddress(y), b.RowAddress(y), size_t(rowBytes))) << "row " << y;
  }
}

struct RoundTrip {
  int32_t width, height, format;
};

TEST(PcxWriter, EveryLayoutReadsBackUnchanged) {
  const RoundTrip cases[] = {
      {1, 1, pixel_format::Index8},   {3, 2, pixel_format::Index8}, {64, 3, pixel_format::Index8},
      {131, 7, pixel_format::Index8}, {1, 1, pixel_format::R8G8B8}, {5, 4, pixel_format::R8G8B8},
      {127, 9, pixel_format::R8G8B8},
  };
  uint32_t seed = 1;
  for (const RoundTrip& c : cases) {
    C_Image image;
    const bool paletted = c.format == pixel_format::Index8;
    ASSERT_TRUE(image.Create(c.width, c.format, c.height,
                             paletted ? pixel_format::R8G8B8 : pixel_format::None));
    const int32_t rowBytes = c.width * (paletted ? 1 : 3);
    FillRows(image, rowBytes, seed++);
    if (paletted) {
      for (int32_t i = 0; i < 768; ++i) image.Palette[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodePcx(&image, bytes)) << c.width << "x" << c.height;
    C_Image back;
    ASSERT_TRUE(ReadPictureBytes(ReadPcx, bytes, &back)) << c.width << "x" << c.height;
    EXPECT_EQ(back.Format, c.format);
    ExpectSameRows(image, back, rowBytes);
    if (paletted) {
      EXPECT_EQ(0, std::memcmp(image.Palette, back.Palette, 768));
    }
  }
}

// The colour layout drops alpha: a 32-bit picture reads back as its three colours.
TEST(PcxWriter, ThirtyTwoBitColourLosesOnlyAlpha) {
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::A8R8G8B8, 1));
  const uint8_t pixels[8] = {10, 20, 30, 40, 0xC5, 0xFF, 0xC0, 0};
  std::memcpy(image.Pixels, pixels, 8);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodePcx(&image, bytes));
  C_Image back;
  ASSERT_TRUE(ReadPictureBytes(ReadPcx, bytes, &back));
  const uint8_t expected[6] = {10, 20, 30, 0xC5, 0xFF, 0xC0};
  EXPECT_EQ(0, std::memcmp(back.Pixels, expected, 6));
}

// Without a palette of its own an Index8 picture gets a grey ramp: index i is (i, i, i).
TEST(PcxWriter, PalettelessIndexPicturesGetAGreyRamp) {
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::Index8, 2));
  std::memset(image.Pixels, 0x90, size_t(image.PixelBytes));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodePcx(&image, bytes));
  C_Image back;
  ASSERT_TRUE(ReadPictureBytes(ReadPcx, bytes, &back));
  for (int i : {0, 1, 0x90, 255}) EXPECT_EQ(back.Palette[3 * i + 1], i);
}

TEST(PcxWriter, RefusesWhatTheReaderCannotTakeBack) {
  std::vector<uint8_t> bytes{1, 2, 3};
  LastError = {};
  EXPECT_FALSE(EncodePcx(nullptr, bytes));
  EXPECT_EQ(LastError.Cause, ErrorMissingArgument);
  EXPECT_TRUE(bytes.empty());
  C_Image grey16;
  ASSERT_TRUE(grey16.Create(2, pixel_format::Grey16, 2));
  LastError = {};
  EXPECT_FALSE(EncodePcx(&grey16, bytes));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  C_Image colour;
  ASSERT_TRUE(colour.Create(2, pixel_format::R8G8B8, 2));
  LastError = {};
  EXPECT_FALSE(SavePcxFile(&colour, "/nonexistent-folder/light.pcx"));
  EXPECT_EQ(LastError.Cause, ErrorCannotOpen);
}

}  // namespace
