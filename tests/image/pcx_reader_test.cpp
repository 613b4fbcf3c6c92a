// PCX reader: run-length decoding across lines, the palette trailer, three-plane
// true colour, and the refusal of headers and data the reader cannot honour.
#include <gtest/gtest.h>

#include <cstring>

#include "core/error.h"
#include "core/memory_counter.h"
#include "image/image.h"
#include "image/picture_readers.h"
#include "tests/image/picture_bytes.h"

namespace {

// 3 x 2 paletted picture with 4 bytes per line and the given run-length data.
std::vector<uint8_t> Paletted(std::initializer_list<uint8_t> data,
                              std::initializer_list<uint8_t> palette = {}) {
  return PcxHeader(3, 2, 1, 4).Raw(data).Raw(PcxPalette(palette)).Bytes;
}

TEST(PcxReader, DecodesRunsAndLiteralsIntoTopDownRows) {
  C_Image image;
  // Row 0: literal 1, literal 2, a run of two 7s. Row 1: an empty run (0xC0 and
  // its byte are consumed, nothing written), then four 9s; 0xC1 0xD0 is the
  // literal 0xD0, which cannot be stored bare.
  const uint64_t before = MemoryInUse;
  ASSERT_TRUE(ReadPictureBytes(
      ReadPcx, Paletted({1, 2, 0xC2, 7, 0xC0, 0x55, 0xC1, 0xD0, 0xC3, 9}, {10, 20, 30}), &image));
  EXPECT_EQ(image.Format, pixel_format::Index8);
  EXPECT_EQ(image.Width, 3);
  EXPECT_EQ(image.Height, 2);
  EXPECT_EQ(image.Pitch, 3);
  EXPECT_EQ(image.PixelBytes, 6);
  const uint8_t expected[6] = {1, 2, 7, 0xD0, 9, 9};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 6));
  // Stored as red, green, blue; held as blue, green, red.
  EXPECT_EQ(image.Palette[0], 30);
  EXPECT_EQ(image.Palette[1], 20);
  EXPECT_EQ(image.Palette[2], 10);
  EXPECT_EQ(image.Palette[3 * 200], 100);
  EXPECT_EQ(image.Palette[3 * 200 + 2], 200);
  EXPECT_EQ(image.PaletteFormat, pixel_format::R8G8B8);
  EXPECT_EQ(image.PaletteEntryBits, 24);
  // Only the pixels and the palette stay counted; the scanline buffer is gone.
  EXPECT_EQ(MemoryInUse - before, 6u + 768u);
}

TEST(PcxReader, RunsCrossLinesAndOvershootIsDropped) {
  C_Image image;
  // A run of 63 fills both lines (8 bytes) and more; the rest is ignored.
  ASSERT_TRUE(ReadPictureBytes(ReadPcx, Paletted({1, 0xFF, 6}), &image));
  const uint8_t expected[6] = {1, 6, 6, 6, 6, 6};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 6));
}

TEST(PcxReader, ThreePlanesBecomeBlueGreenRedPixels) {
  // 2 x 2, 3 bytes per line per plane; the third byte of each plane is padding.
  // Line 0: red 1 2 x, green 3 4 x, blue 5 6 x; line 1 all 0x40 (run of 9).
  PictureBytes b = PcxHeader(2, 2, 3, 3, 0x00, 0x00);
  b.Raw({1, 2, 0, 3, 4, 0, 5, 6, 0, 0xC9, 0x40});
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadPcx, b.Bytes, &image));
  EXPECT_EQ(image.Format, pixel_format::R8G8B8);
  EXPECT_EQ(image.Pitch, 6);
  EXPECT_EQ(image.Palette, nullptr);
  const uint8_t expected[12] = {5, 3, 1, 6, 4, 2, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40};
  EXPECT_EQ(0, std::memcmp(image.Pixels, expected, 12));
}

TEST(PcxReader, RefusesHostileHeadersAndData) {
  std::vector<uint8_t> wrongMarker = Paletted({0xC8, 1});
  wrongMarker[wrongMarker.size() - 769] = 11;
  std::vector<uint8_t> reversed = Paletted({0xC8, 1});
  reversed[4] = 9;  // Xmin 9 > Xmax 2
  std::vector<uint8_t> truncatedHeader(Paletted({0xC8, 1}));
  truncatedHeader.resize(100);
  const std::vector<uint8_t> noPalette = PcxHeader(3, 2, 1, 4).Raw({0xC8, 1}).Bytes;
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"manufacturer", PcxHeader(3, 2, 1, 4, 0x0B).Raw({0xC8, 1}).Raw(PcxPalette()).Bytes},
      {"version", PcxHeader(3, 2, 1, 4, 0x0A, 3).Raw({0xC8, 1}).Raw(PcxPalette()).Bytes},
      {"palette marker", wrongMarker},
      {"no palette", noPalette},
      {"line shorter than width", PcxHeader(3, 2, 1, 2).Raw({0xC8, 1}).Raw(PcxPalette()).Bytes},
      {"two planes", PcxHeader(3, 2, 2, 4).Raw({0xC8, 1}).Raw(PcxPalette()).Bytes},
      {"reversed window", reversed},
      {"width over the cap", PcxHeader(16385, 1, 3, 16385).Raw({0xC1, 1}).Bytes},
      {"huge for its data", PcxHeader(16000, 16000, 3, 16000).Fill(64, 0xFF).Bytes},
      {"data runs out", PcxHeader(3, 200, 3, 4).Raw({0xC8, 1, 0xC8, 2}).Bytes},
      {"run byte at the end", PcxHeader(3, 2, 3, 4).Raw({0xC8, 1, 0xC8}).Bytes},
      {"truncated header", truncatedHeader},
  };
  for (auto& [name, bytes] : cases) {
    const uint64_t before = MemoryInUse;
    C_Image image;
    LastError = {0, 0, 0, 0};
    EXPECT_FALSE(ReadPictureBytes(ReadPcx, bytes, &image)) << name;
    EXPECT_EQ(LastError.Code, -1) << name;
    EXPECT_EQ(LastError.Cause, ErrorUnexpectedData) << name;
    EXPECT_TRUE(IsEmptyImage(image)) << name;
    EXPECT_EQ(MemoryInUse, before) << name;
  }
}

TEST(PcxReader, FailureEmptiesAnImageThatHeldPixels) {
  C_Image image;
  ASSERT_TRUE(ReadPictureBytes(ReadPcx, Paletted({0xC8, 3}), &image));
  const uint64_t held = MemoryInUse;
  std::vector<uint8_t> bad = Paletted({0xC8, 3});
  bad[bad.size() - 769] = 0;
  EXPECT_FALSE(ReadPictureBytes(ReadPcx, bad, &image));
  EXPECT_TRUE(IsEmptyImage(image));
  EXPECT_EQ(held - MemoryInUse, 6u + 768u);
}

}  // namespace
