// The stored records of images and surfaces: exact bytes, round trips and input
// that must be refused without harm.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/memory_counter.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"
#include "tests/core/stream_helpers.h"

namespace {

std::vector<uint8_t> ImageRecord(uint32_t pixelBytes, uint32_t width, uint32_t height,
                                 uint32_t pitch, uint32_t bits, uint32_t format) {
  std::vector<uint8_t> out;
  PutU16(out, 8);
  PutU16(out, 100);
  for (uint32_t v : {pixelBytes, width, height, pitch, bits, format, 0u}) PutU32(out, v);
  return out;
}

TEST(ImageRecord, ExactBytesOfSmallImage) {
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::R8G8B8, 1));
  for (int i = 0; i < 6; ++i) image.Pixels[i] = uint8_t(i + 1);
  std::vector<uint8_t> expected = ImageRecord(6, 2, 1, 6, 24, 21);
  for (int i = 0; i < 6; ++i) expected.push_back(uint8_t(i + 1));
  const std::vector<uint8_t> bytes = SaveToBytes(image);
  EXPECT_EQ(bytes.size(), 38u);
  EXPECT_EQ(bytes, expected);
}

TEST(ImageRecord, RoundTripOfEveryFormat) {
  for (int32_t format = pixel_format::First; format <= pixel_format::Last; ++format) {
    SCOPED_TRACE(format);
    C_Image image;
    ASSERT_TRUE(image.Create(5, format, 3));
    for (int32_t i = 0; i < image.PixelBytes; ++i) image.Pixels[i] = uint8_t(i * 13 + 1);
    const std::vector<uint8_t> bytes = SaveToBytes(image);
    C_Image loaded;
    int32_t consumed = 0;
    ASSERT_TRUE(LoadFromBytes(loaded, bytes, &consumed));
    EXPECT_EQ(consumed, int32_t(bytes.size()));
    EXPECT_EQ(loaded.Format, format);
    EXPECT_EQ(loaded.Pitch, image.Pitch);
    EXPECT_EQ(loaded.RowBytes, image.RowBytes);
    EXPECT_EQ(loaded.PixelBytes, image.PixelBytes);
    FormatDescriptor d;
    DescribeFormat(format, d);
    const bool rowless = d.ComponentType == ComponentBit ||
                         (d.ComponentType == ComponentInteger && d.BitsPerPixel > 32);
    if (rowless) {
      EXPECT_EQ(bytes.size(), 32u);  // header only
    } else {
      EXPECT_EQ(std::memcmp(loaded.Pixels, image.Pixels, size_t(image.PixelBytes)), 0);
    }
  }
}

TEST(ImageRecord, PaletteRoundTripAndBottomUpRows) {
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::Index8, 2, pixel_format::R8G8B8));
  for (int i = 0; i < 768; ++i) image.Palette[i] = uint8_t(255 - i % 256);
  image.Pixels[0] = 1;  // stored first, but picture row 1 of a bottom-up image
  image.Pixels[2] = 2;
  image.BottomUp = 1;
  const std::vector<uint8_t> bytes = SaveToBytes(image);
  C_Image loaded;
  ASSERT_TRUE(LoadFromBytes(loaded, bytes));
  EXPECT_EQ(loaded.PaletteBytes, 768);
  EXPECT_EQ(loaded.PaletteFormat, pixel_format::R8G8B8);
  EXPECT_EQ(loaded.PaletteEntryBits, 24);
  EXPECT_EQ(std::memcmp(loaded.Palette, image.Palette, 768), 0);
  EXPECT_EQ(loaded.BottomUp, 0);
  EXPECT_EQ(loaded.Pixels[0], 2);  // top row first
  EXPECT_EQ(loaded.Pixels[2], 1);
}

TEST(ImageRecord, OtherVersionLeavesEmptyImage) {
  std::vector<uint8_t> bytes;
  PutU16(bytes, 8);
  PutU16(bytes, 99);
  PutU32(bytes, 12345);
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::Grey8, 2));
  int32_t consumed = 0;
  EXPECT_TRUE(LoadFromBytes(image, bytes, &consumed));
  EXPECT_EQ(consumed, 4);
  EXPECT_EQ(image.Pixels, nullptr);
  EXPECT_EQ(image.Format, pixel_format::None);
}

TEST(ImageRecord, WrongClassIdAndUndescribedFormat) {
  std::vector<uint8_t> bytes = ImageRecord(4, 2, 2, 2, 8, 6);
  bytes[0] = 15;
  C_Image image;
  LastError = {};
  EXPECT_FALSE(LoadFromBytes(image, bytes));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_FALSE(LoadFromBytes(image, ImageRecord(4, 2, 2, 2, 8, 99)));
  image.Format = 99;
  EXPECT_FALSE(image.Save(nullptr, 0));
  ByteStream* stream = NewMemoryWriter();
  EXPECT_FALSE(image.Save(stream, 0));
  EXPECT_EQ(stream->Total, 0);  // nothing written for an undescribed format
  FreeStream(stream);
}

TEST(ImageRecord, HostileSizesAreRefusedBeforeAllocating) {
  const uint64_t before = MemoryInUse;
  struct Case {
    uint32_t PixelBytes, Width, Height, Pitch, Bits, Format;
  };
  const Case cases[] = {
      {0xFFFFFFFF, 0xFFFF, 0xFFFF, 0x3FFFC, 32, 24},  // larger than the side cap
      {0x40000000, 16384, 16384, 65536, 32, 24},      // rows not in the stream
      {16, 4, 4, 4, 16, 6},                           // bits disagree with the format
      {15, 4, 4, 4, 8, 6},                            // buffer smaller than the rows
      {4, 4, 1, 2, 8, 6},                             // pitch shorter than a row
      {0x7FFFFFFF, 4, 2, 0x3FFFFFFF, 8, 6},           // pitch far beyond the row
      {0x7FFFFFFF, 16384, 16384, 131072, 64, 25},     // unstored rows, 2 GiB
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes =
        ImageRecord(c.PixelBytes, c.Width, c.Height, c.Pitch, c.Bits, c.Format);
    bytes.resize(bytes.size() + 64, 0x11);
    C_Image image;
    LastError = {};
    EXPECT_FALSE(LoadFromBytes(image, bytes)) << c.Width << "x" << c.Height;
    EXPECT_EQ(LastError.Code, -1);
    EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
    EXPECT_EQ(image.Pixels, nullptr);
    EXPECT_EQ(MemoryInUse, before);
  }
}

TEST(ImageRecord, PaletteLargerThanTheStreamIsRefused) {
  std::vector<uint8_t> bytes = ImageRecord(4, 2, 2, 2, 8, 4);
  bytes.resize(bytes.size() - 4);
  PutU32(bytes, 0x7FFFFFF0);  // PaletteBytes
  PutU32(bytes, 21);
  PutU32(bytes, 24);
  bytes.resize(bytes.size() + 100);
  C_Image image;
  EXPECT_FALSE(LoadFromBytes(image, bytes));
  EXPECT_EQ(image.Palette, nullptr);
}

TEST(ImageRecord, EveryTruncationFailsCleanly) {
  C_Image image;
  ASSERT_TRUE(image.Create(3, pixel_format::Index8, 2, pixel_format::R8G8B8));
  std::memset(image.Pixels, 7, 6);
  std::memset(image.Palette, 9, 768);
  const std::vector<uint8_t> bytes = SaveToBytes(image);
  const uint64_t before = MemoryInUse;
  for (size_t n = 0; n < bytes.size(); ++n) {
    C_Image loaded;
    ASSERT_FALSE(LoadFromBytes(loaded, std::vector<uint8_t>(bytes.begin(), bytes.begin() + n)))
        << n;
    EXPECT_EQ(loaded.Pixels, nullptr);
    EXPECT_EQ(loaded.Palette, nullptr);
    EXPECT_EQ(MemoryInUse, before);
  }
}

TEST(SurfaceRecord, WithoutChannelList) {
  C_Surface surface;
  surface.Columns = 3;
  surface.Rows = 2;
  const std::vector<uint8_t> bytes = SaveToBytes(surface);
  const std::vector<uint8_t> expected = {15, 0, 100, 0, 0x80, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0};
  EXPECT_EQ(bytes, expected);
  C_Surface loaded;
  ASSERT_TRUE(LoadFromBytes(loaded, bytes));
  EXPECT_EQ(loaded.Channels, nullptr);
  EXPECT_EQ(loaded.Columns, 3u);
  EXPECT_EQ(loaded.Rows, 2u);
}

TEST(SurfaceRecord, OtherVersionLoadsEmpty) {
  const std::vector<uint8_t> bytes = {15, 0, 99, 0, 0x7F, 0x81, 1, 0, 0, 0};
  C_Surface surface;
  surface.SetChannel(new C_Image(), kColorChannel);
  int32_t consumed = 0;
  ASSERT_TRUE(LoadFromBytes(surface, bytes, &consumed));
  EXPECT_EQ(consumed, 4);
  EXPECT_EQ(surface.Channels, nullptr);
}

TEST(SurfaceRecord, RoundTripReversesChannelsAndKeepsExtra) {
  C_Surface surface;
  C_Image* colour = new C_Image();
  ASSERT_TRUE(colour->Create(3, pixel_format::A8R8G8B8, 2));
  std::memset(colour->Pixels, 0xAB, 24);
  C_Image* alpha = new C_Image();
  ASSERT_TRUE(alpha->Create(3, pixel_format::Grey8, 2));
  std::memset(alpha->Pixels, 0x44, 6);
  surface.SetChannel(colour, kColorChannel);
  surface.SetChannel(alpha, kAlphaChannel);  // list: alpha, colour
  surface.Extra = new C_Color(1, 0, 1, 1);
  surface.Columns = 2;
  const std::vector<uint8_t> bytes = SaveToBytes(surface);
  EXPECT_EQ(bytes[4], 0x7F);
  EXPECT_EQ(bytes[5], 0x81);
  EXPECT_EQ(bytes[6], kAlphaChannel);

  C_Surface loaded;
  ASSERT_TRUE(LoadFromBytes(loaded, bytes));
  ASSERT_NE(loaded.Channels, nullptr);
  ASSERT_EQ(loaded.Channels->Count, 2u);
  // Each channel read goes to the front, so the stored order comes back reversed.
  EXPECT_EQ(static_cast<C_Channel*>(loaded.Channels->GetAt(0))->Key, kColorChannel);
  EXPECT_EQ(loaded.FindChannel(kColorChannel)->SharedImage, 0);
  EXPECT_EQ(loaded.FindImage(kColorChannel)->Pixels[23], 0xAB);
  EXPECT_EQ(loaded.FindImage(kAlphaChannel)->Pixels[5], 0x44);
  EXPECT_EQ(loaded.Width, 3);
  EXPECT_EQ(loaded.Height, 2);
  ASSERT_NE(loaded.Extra, nullptr);
  EXPECT_EQ(loaded.Extra->GetClassId(), class_id::Color);
  EXPECT_EQ(loaded.Columns, 2u);
}

TEST(SurfaceRecord, UnknownBytesInTheListAreSkipped) {
  std::vector<uint8_t> bytes = {15, 0, 100, 0, 0x7F, 0x05, 0x33, 0x80, 0, 0};
  PutU32(bytes, 1);
  PutU32(bytes, 1);
  C_Surface surface;
  ASSERT_TRUE(LoadFromBytes(surface, bytes));
  ASSERT_NE(surface.Channels, nullptr);
  EXPECT_EQ(surface.Channels->Count, 0u);
}

TEST(SurfaceRecord, BadImageKeepsChannelsReadSoFar) {
  C_Surface surface;
  C_Image* image = new C_Image();
  ASSERT_TRUE(image->Create(2, pixel_format::Grey8, 1));
  surface.SetChannel(image, kColorChannel);
  std::vector<uint8_t> bytes = SaveToBytes(surface);
  bytes.resize(bytes.size() - 11);  // drop the end marker, Extra, Columns, Rows
  bytes.push_back(0x81);
  PutU32(bytes, 2);
  const std::vector<uint8_t> bad = ImageRecord(4, 2, 2, 2, 8, 99);
  bytes.insert(bytes.end(), bad.begin(), bad.end());

  C_Surface loaded;
  LastError = {};
  EXPECT_FALSE(LoadFromBytes(loaded, bytes));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  ASSERT_NE(loaded.Channels, nullptr);
  EXPECT_EQ(loaded.Channels->Count, 1u);
  EXPECT_NE(loaded.FindImage(kColorChannel), nullptr);
  EXPECT_EQ(loaded.FindImage(kAlphaChannel), nullptr);
}

TEST(SurfaceRecord, DeeplyNestedExtraIsBounded) {
  // Surfaces held as each other's Extra, far deeper than any real file.
  std::vector<uint8_t> bytes;
  const int depth = 200;
  for (int i = 0; i < depth; ++i) {
    PutU16(bytes, 15);
    PutU16(bytes, 100);
    bytes.push_back(0x80);
  }
  PutU16(bytes, 0);
  for (int i = 0; i < depth; ++i) {
    PutU32(bytes, 1);
    PutU32(bytes, 1);
  }
  C_Surface surface;
  EXPECT_FALSE(LoadFromBytes(surface, bytes));
}

TEST(SurfaceRecord, ExtraCollectionTakesItsItemsWithIt) {
  // A surface whose Extra is a collection of surfaces: everything loaded is freed
  // with the outer surface (the sanitizer build reports any leak).
  C_Surface inner;
  C_Image* image = new C_Image();
  ASSERT_TRUE(image->Create(2, pixel_format::Grey8, 2));
  inner.SetChannel(image, kColorChannel);
  std::vector<uint8_t> bytes = {15, 0, 100, 0, 0x80};
  PutU16(bytes, class_id::Collection);
  PutU32(bytes, 2);
  for (int i = 0; i < 2; ++i) {
    const std::vector<uint8_t> item = SaveToBytes(inner);
    bytes.insert(bytes.end(), item.begin(), item.end());
  }
  PutU32(bytes, 1);
  PutU32(bytes, 1);
  const uint64_t before = MemoryInUse;
  {
    C_Surface surface;
    ASSERT_TRUE(LoadFromBytes(surface, bytes));
    ASSERT_NE(surface.Extra, nullptr);
    EXPECT_EQ(static_cast<C_Collection*>(surface.Extra)->Count, 2u);
  }
  EXPECT_EQ(MemoryInUse, before);
}

TEST(SurfaceRecord, EveryTruncationFailsCleanly) {
  C_Surface surface;
  C_Image* image = new C_Image();
  ASSERT_TRUE(image->Create(2, pixel_format::R8G8B8, 2));
  std::memset(image->Pixels, 1, 12);
  surface.SetChannel(image, kColorChannel);
  surface.Extra = new C_Color(0, 1, 0, 1);
  const std::vector<uint8_t> bytes = SaveToBytes(surface);
  const uint64_t before = MemoryInUse;
  for (size_t n = 0; n < bytes.size(); ++n) {
    auto loaded = std::make_unique<C_Surface>();
    EXPECT_FALSE(LoadFromBytes(*loaded, std::vector<uint8_t>(bytes.begin(), bytes.begin() + n)))
        << n;
    loaded.reset();
    EXPECT_EQ(MemoryInUse, before);
  }
}

}  // namespace

TEST(ImageRecord, ImageWithoutPixelsReadsBackAsZeroRows) {
  // What a failed Create leaves: sizes and format, no buffer.
  C_Image empty;
  empty.Width = 2;
  empty.Height = 3;
  empty.Format = pixel_format::Grey8;
  empty.BitsPerPixel = 8;
  empty.Pitch = 2;
  empty.RowBytes = 2;
  const std::vector<uint8_t> bytes = SaveToBytes(empty);
  C_Image read;
  ASSERT_TRUE(LoadFromBytes(read, bytes));
  ASSERT_NE(read.Pixels, nullptr);
  EXPECT_EQ(read.PixelBytes, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(read.Pixels[i], 0);
}
