// FillImage, FlipVertical and ConvertPixels: the worked values, the rules for each
// kind of source and target, and the fast kernels against the generic path.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/row_split.h"
#include "graphics/geometry/color.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "tests/reversed_bands.h"

namespace {

template <class T>
T PixelAt(const C_Image& image, int x, int y = 0) {
  T v;
  std::memcpy(&v, image.Pixels + y * image.Pitch + x * sizeof(T), sizeof(T));
  return v;
}

template <class T>
void SetPixel(C_Image& image, int x, int y, T v) {
  std::memcpy(image.Pixels + y * image.Pitch + x * sizeof(T), &v, sizeof(T));
}

// Converts a one-pixel image of value v in format `from` to format `to`.
template <class From, class To>
To ConvertOne(int32_t from, int32_t to, From v) {
  C_Image source, target;
  EXPECT_TRUE(source.Create(1, from, 1));
  std::memcpy(source.Pixels, &v, sizeof(From));
  EXPECT_TRUE(C_Image::ConvertInto(to, &target, &source));
  return PixelAt<To>(target, 0);
}

TEST(Fill, WorkedValues) {
  C_Image image;
  ASSERT_TRUE(image.Create(5, pixel_format::R5G5B5, 3));
  ASSERT_TRUE(FillImage(&image, C_Color(1, 1, 1, 1)));
  for (int i = 0; i < 15; ++i) EXPECT_EQ(PixelAt<uint16_t>(image, i), 0x7FFF);

  ASSERT_TRUE(image.Create(3, pixel_format::R8G8B8, 1));
  ASSERT_TRUE(FillImage(&image, C_Color(1, 0, 0.5f, 0)));
  const uint8_t rgb[9] = {0x7F, 0, 0xFF, 0x7F, 0, 0xFF, 0x7F, 0, 0xFF};
  EXPECT_EQ(std::memcmp(image.Pixels, rgb, 9), 0);

  ASSERT_TRUE(image.Create(2, pixel_format::Grey16, 1));
  ASSERT_TRUE(FillImage(&image, C_Color(1, 0, 0, 0)));
  EXPECT_EQ(PixelAt<uint16_t>(image, 1), 0xFFFF);
}

// An area fill against FillImage of a whole image: inside the area (cut to the
// image) each pixel has the filled bytes, outside it nothing changes; picture
// rows of a bottom-up image count from its top.
TEST(Fill, AreaFillsItsPixelsAndNothingElse) {
  struct Case {
    int32_t Format;
    PixelRect Area;
    bool BottomUp;
  };
  const Case cases[] = {
      {pixel_format::A8R8G8B8, {3, 2, 9, 5}, false},
      {pixel_format::A8R8G8B8, {-4, -1, 30, 2}, false},
      {pixel_format::A8R8G8B8, {5, 4, 5, 9}, false},
      {pixel_format::A8R8G8B8, {8, 6, 2, 1}, false},
      {pixel_format::A8R8G8B8, {0, 1, 11, 3}, true},
      {pixel_format::A8R8G8B8, {20, 20, 30, 30}, false},
      {pixel_format::Grey16, {1, 0, 10, 7}, true},
      {pixel_format::R8G8B8, {2, 3, 7, 4}, false},
      {pixel_format::Grey8, {10, 0, 11, 7}, false},
      {pixel_format::Grey1, {0, 2, 11, 4}, false},
  };
  const C_Color colour(0.2f, 0.6f, 0.9f, 1);
  for (const Case& c : cases) {
    C_Image filled, image;
    ASSERT_TRUE(filled.Create(11, c.Format, 7));
    ASSERT_TRUE(FillImage(&filled, colour));
    ASSERT_TRUE(image.Create(11, c.Format, 7));
    for (int32_t i = 0; i < image.PixelBytes; ++i) image.Pixels[i] = uint8_t(i * 7 + 1);
    std::vector<uint8_t> before(image.Pixels, image.Pixels + image.PixelBytes);
    image.BottomUp = c.BottomUp ? 1 : 0;
    ASSERT_TRUE(FillImageArea(&image, c.Area, colour));
    const int32_t bytes = image.BitsPerPixel / 8 > 0 ? image.BitsPerPixel / 8 : 1;
    for (int32_t y = 0; y < 7; ++y) {
      const int32_t row = c.BottomUp ? 6 - y : y;
      // Sub-byte formats are filled in whole rows, so each byte stands for the row.
      for (int32_t x = 0; x < image.RowBytes / bytes; ++x) {
        const bool column = image.BitsPerPixel < 8 || (x >= c.Area.X1 && x < c.Area.X2);
        const bool inside = column && y >= c.Area.Y1 && y < c.Area.Y2;
        for (int32_t b = 0; b < bytes; ++b) {
          const size_t at = size_t(row) * size_t(image.Pitch) + size_t(x * bytes + b);
          EXPECT_EQ(image.Pixels[at], inside ? filled.Pixels[at] : before[at])
              << c.Format << " " << x << "," << y;
        }
      }
    }
  }
  // Part of a row of a format whose pixels are not whole bytes cannot be filled.
  C_Image bits;
  ASSERT_TRUE(bits.Create(11, pixel_format::Grey1, 2));
  EXPECT_FALSE(FillImageArea(&bits, PixelRect{1, 0, 11, 2}, colour));
  EXPECT_FALSE(FillImageArea(nullptr, PixelRect{0, 0, 1, 1}, colour));
}

TEST(Fill, SubByteFormatsFillWholeBytes) {
  C_Image image;
  ASSERT_TRUE(image.Create(10, pixel_format::Grey1, 2));
  ASSERT_TRUE(FillImage(&image, C_Color(1, 0, 0, 0)));
  EXPECT_EQ(image.Pixels[0], 0xFF);
  EXPECT_EQ(image.Pixels[3], 0xFF);
  ASSERT_TRUE(image.Create(3, pixel_format::Index2, 1));
  ASSERT_TRUE(FillImage(&image, C_Color(0.5f, 0, 0, 0)));  // v = 1
  EXPECT_EQ(image.Pixels[0], 0x55);
}

TEST(Fill, WideAndFloatFormats) {
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::R16G16B16, 1));
  ASSERT_TRUE(FillImage(&image, C_Color(1, 0, 0.5f, 0)));
  // Blue, green, red in memory (increasing shift).
  EXPECT_EQ(PixelAt<uint16_t>(image, 0), 0x7FFF);
  EXPECT_EQ(PixelAt<uint16_t>(image, 1), 0);
  EXPECT_EQ(PixelAt<uint16_t>(image, 2), 0xFFFF);
  EXPECT_EQ(PixelAt<uint16_t>(image, 5), 0xFFFF);

  ASSERT_TRUE(image.Create(1, pixel_format::RGBAFloat, 1));
  ASSERT_TRUE(FillImage(&image, C_Color(0.1f, 0.2f, 0.3f, 0.4f)));
  EXPECT_EQ(PixelAt<float>(image, 0), 0.4f);  // alpha, blue, green, red
  EXPECT_EQ(PixelAt<float>(image, 1), 0.3f);
  EXPECT_EQ(PixelAt<float>(image, 3), 0.1f);

  // The 64-bit float grey format is not filled, and that is not a failure.
  ASSERT_TRUE(image.Create(1, pixel_format::GreyDouble, 1));
  std::memset(image.Pixels, 0x33, 8);
  EXPECT_TRUE(FillImage(&image, C_Color(1, 1, 1, 1)));
  EXPECT_EQ(image.Pixels[0], 0x33);
}

TEST(Fill, EveryByteOfFromBytesSurvives) {
  C_Image image;
  ASSERT_TRUE(image.Create(1, pixel_format::A8R8G8B8, 1));
  for (int k = 0; k < 256; ++k) {
    ASSERT_TRUE(FillImage(&image, C_Color::FromBytes(k, k, k)));
    ASSERT_EQ(PixelAt<uint32_t>(image, 0), 0xFF000000u | uint32_t(k) * 0x010101u) << k;
  }
}

TEST(Fill, LeavesPitchPaddingAlone) {
  std::vector<uint8_t> block(2 * 12, 0xEE);
  C_Image image;
  ASSERT_TRUE(
      image.AttachPixels(2, 12, 2, pixel_format::A8R8G8B8, pixel_format::None, block.data()));
  ASSERT_TRUE(FillImage(&image, C_Color(0, 0, 0, 0)));
  EXPECT_EQ(block[7], 0);
  EXPECT_EQ(block[8], 0xEE);
  EXPECT_EQ(block[12], 0);
}

TEST(Fill, Failures) {
  C_Image image;
  EXPECT_TRUE(FillImage(&image, C_Color(1, 1, 1, 1)));  // empty: nothing to do
  image.Format = 77;
  LastError = {};
  EXPECT_FALSE(FillImage(&image, C_Color(1, 1, 1, 1)));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  EXPECT_FALSE(FlipVertical(&image));
  EXPECT_FALSE(FillImage(nullptr, C_Color()));
}

TEST(Flip, ExchangesRowsAndKeepsTheMiddle) {
  C_Image image;
  ASSERT_TRUE(image.Create(2, pixel_format::Grey16, 3));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 2; ++x) SetPixel<uint16_t>(image, x, y, uint16_t(y * 10 + x));
  }
  ASSERT_TRUE(FlipVertical(&image));
  EXPECT_EQ(PixelAt<uint16_t>(image, 0, 0), 20);
  EXPECT_EQ(PixelAt<uint16_t>(image, 1, 0), 21);
  EXPECT_EQ(PixelAt<uint16_t>(image, 1, 1), 11);
  EXPECT_EQ(PixelAt<uint16_t>(image, 0, 2), 0);
}

TEST(Flip, SubByteRowsStayInsideTheBuffer) {
  C_Image image;
  ASSERT_TRUE(image.Create(9, pixel_format::Grey1, 2));
  image.Pixels[0] = 1;
  image.Pixels[1] = 2;
  image.Pixels[2] = 3;
  image.Pixels[3] = 4;
  ASSERT_TRUE(FlipVertical(&image));
  EXPECT_EQ(image.Pixels[0], 3);
  EXPECT_EQ(image.Pixels[3], 2);
}

TEST(Convert, WorkedValues) {
  // 5-bit red 31 and 16 into 8 bits.
  EXPECT_EQ((ConvertOne<uint16_t, uint32_t>(13, 24, 31 << 10) >> 16) & 0xFF, 255u);
  EXPECT_EQ((ConvertOne<uint16_t, uint32_t>(13, 24, 16 << 10) >> 16) & 0xFF, 128u);
  // 24 into 16-bit grey keeps red, widened.
  EXPECT_EQ((ConvertOne<uint32_t, uint16_t>(24, 7, 0x11AB2233u)), 0xABAB);
  // A source without alpha gives alpha 0; grey goes to every channel.
  EXPECT_EQ((ConvertOne<uint16_t, uint32_t>(7, 24, 0x8001)), 0x00808080u);
  EXPECT_EQ((ConvertOne<uint32_t, uint32_t>(23, 24, 0x11223344u)), 0x44112233u);
  EXPECT_EQ((ConvertOne<uint32_t, uint32_t>(24, 39, 0x44112233u)), 0x44332211u);
  // Narrowing drops low bits: 8 -> 5 -> 8 on green of 565.
  EXPECT_EQ((ConvertOne<uint32_t, uint16_t>(24, 14, 0x00FFFFFFu)), 0xFFFF);
}

TEST(Convert, EqualLayoutCopiesRows) {
  C_Image a, b;
  ASSERT_TRUE(a.Create(3, pixel_format::R5G5B5, 2));
  for (int i = 0; i < 6; ++i) SetPixel<uint16_t>(a, i % 3, i / 3, uint16_t(0x8000 | i));
  ASSERT_TRUE(b.Create(3, pixel_format::R5G5B5, 2));
  ASSERT_TRUE(ConvertPixels(&b, &a));
  // Equal layout and pitch: even the unused top bit is carried over.
  EXPECT_EQ(PixelAt<uint16_t>(b, 2, 1), 0x8005);
}

TEST(Convert, PaletteSource) {
  C_Image source, target;
  ASSERT_TRUE(source.Create(2, pixel_format::Index8, 1, pixel_format::R8G8B8));
  std::memset(source.Palette, 0, 768);
  source.Palette[3 * 5 + 0] = 0x10;  // blue
  source.Palette[3 * 5 + 1] = 0x20;  // green
  source.Palette[3 * 5 + 2] = 0x30;  // red
  source.Pixels[0] = 5;
  source.Pixels[1] = 0;
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &target, &source));
  EXPECT_EQ(PixelAt<uint32_t>(target, 0), 0x00302010u);
  EXPECT_EQ(PixelAt<uint32_t>(target, 1), 0u);
  // Into 5 bits per channel the entry bytes lose their low three bits.
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::R5G5B5, &target, &source));
  EXPECT_EQ(PixelAt<uint16_t>(target, 0), (0x30 >> 3) << 10 | (0x20 >> 3) << 5 | (0x10 >> 3));
  // Into 16 bits per channel they are widened.
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::R16G16B16, &target, &source));
  EXPECT_EQ(PixelAt<uint16_t>(target, 2), 0x3030);
}

TEST(Convert, FloatTargetsAndSources) {
  // Integer into float: widened to 32 bits, times 2^-32.
  C_Image source, target, back;
  ASSERT_TRUE(source.Create(1, pixel_format::A8R8G8B8, 1));
  SetPixel<uint32_t>(source, 0, 0, 0x80FF0000u);
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::ABGRFloat, &target, &source));
  // Red 0xFF widens to 0xFF0000FF, alpha 0x80 to 0x80000080.
  EXPECT_EQ(PixelAt<float>(target, 0), float(0xFF0000FFu) * 0x1p-32f);  // red first
  EXPECT_EQ(PixelAt<float>(target, 1), 0.0f);
  EXPECT_EQ(PixelAt<float>(target, 3), float(0x80000080u) * 0x1p-32f);
  // Float into integer: rounded with the target's bits (0.99609 x 255 rounds to 254).
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &back, &target));
  EXPECT_EQ(PixelAt<uint32_t>(back, 0), 0x80FE0000u);
  // Float into float: the components move to the target's order.
  C_Image reordered;
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::RGBAFloat, &reordered, &target));
  EXPECT_EQ(PixelAt<float>(reordered, 3), PixelAt<float>(target, 0));  // red last in memory
  EXPECT_EQ(PixelAt<float>(reordered, 0), PixelAt<float>(target, 3));
  // Out-of-range floats are held at the ends of the channel.
  ASSERT_TRUE(source.Create(1, pixel_format::GreyFloat, 1));
  SetPixel<float>(source, 0, 0, -3.0f);
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::Grey8, &back, &source));
  EXPECT_EQ(back.Pixels[0], 0);
  SetPixel<float>(source, 0, 0, 7.0f);
  ASSERT_TRUE(C_Image::ConvertInto(pixel_format::R8G8B8, &back, &source));
  EXPECT_EQ(back.Pixels[0], 0xFF);
  EXPECT_EQ(back.Pixels[2], 0xFF);
}

TEST(Convert, WideIntegerFormats) {
  EXPECT_EQ((ConvertOne<uint32_t, uint64_t>(24, 25, 0xFF804020u)),
            0x8080404020200000ull | 0xFFFFull);
  EXPECT_EQ((ConvertOne<uint64_t, uint32_t>(26, 24, 0xFFFF123456789ABCull)), 0xFF12569Au);
}

TEST(Convert, OpenCombinationsAreRefused) {
  C_Image source, target;
  ASSERT_TRUE(source.Create(4, pixel_format::Index4, 1, pixel_format::R8G8B8));
  LastError = {};
  EXPECT_FALSE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &target, &source));
  EXPECT_EQ(LastError.Code, -1);
  ASSERT_TRUE(source.Create(4, pixel_format::GreyDouble, 1));
  EXPECT_FALSE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &target, &source));
  ASSERT_TRUE(source.Create(4, pixel_format::GreyFloat, 1));
  EXPECT_FALSE(C_Image::ConvertInto(pixel_format::Grey1, &target, &source));
}

TEST(Convert, MismatchedOrTruncatedImagesAreRefused) {
  C_Image a, b;
  ASSERT_TRUE(a.Create(4, pixel_format::Grey8, 4));
  ASSERT_TRUE(b.Create(3, pixel_format::A8R8G8B8, 4));
  EXPECT_FALSE(ConvertPixels(&b, &a));
  ASSERT_TRUE(b.Create(4, pixel_format::A8R8G8B8, 4));
  b.PixelBytes = 8;  // claims less than its rows need
  EXPECT_FALSE(ConvertPixels(&b, &a));
}

// Random source pixels converted with the fast kernel and with the generic path
// must give the same bytes, also with odd widths and a padded pitch.
struct Pair {
  int32_t From;
  int32_t To;
  bool Palette;
};

class FastAgainstGeneric : public ::testing::TestWithParam<Pair> {};

TEST_P(FastAgainstGeneric, SameBytes) {
  const Pair pair = GetParam();
  std::mt19937 random(pair.From * 100 + pair.To);
  for (const int width : {1, 7, 64, 129}) {
    C_Image source, fast, generic;
    ASSERT_TRUE(source.Create(width, pair.From, 5,
                              pair.Palette ? pixel_format::R8G8B8 : pixel_format::None));
    for (int32_t i = 0; i < source.PixelBytes; ++i) source.Pixels[i] = uint8_t(random());
    for (int32_t i = 0; i < source.PaletteBytes; ++i) source.Palette[i] = uint8_t(random());
    ASSERT_TRUE(fast.Create(width, pair.To, 5));
    ASSERT_TRUE(generic.Create(width, pair.To, 5));
    std::memset(fast.Pixels, 0xCD, size_t(fast.PixelBytes));
    std::memset(generic.Pixels, 0xCD, size_t(generic.PixelBytes));
    ASSERT_TRUE(ConvertPixels(&fast, &source));
    ForceGenericPixelPath(true);
    const bool converted = ConvertPixels(&generic, &source);
    ForceGenericPixelPath(false);
    ASSERT_TRUE(converted);
    ASSERT_EQ(std::memcmp(fast.Pixels, generic.Pixels, size_t(fast.PixelBytes)), 0) << width;

    // A padded source pitch takes the per-row path even for equal formats.
    std::vector<uint8_t> padded(size_t(source.RowBytes + 8) * 5);
    for (int y = 0; y < 5; ++y) {
      std::memcpy(&padded[size_t(y) * (source.RowBytes + 8)], source.Pixels + y * source.Pitch,
                  size_t(source.RowBytes));
    }
    C_Image view;
    ASSERT_TRUE(view.AttachPixels(width, source.RowBytes + 8, 5, pair.From, pixel_format::None,
                                  padded.data()));
    view.Palette = source.Palette;  // borrowed for the conversion only
    view.PaletteBytes = source.PaletteBytes;
    ASSERT_TRUE(ConvertPixels(&fast, &view));
    view.Palette = nullptr;
    ASSERT_EQ(std::memcmp(fast.Pixels, generic.Pixels, size_t(fast.PixelBytes)), 0) << width;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFastPair, FastAgainstGeneric,
    ::testing::Values(Pair{pixel_format::Grey16, pixel_format::A8R8G8B8, false},
                      Pair{pixel_format::Grey8, pixel_format::A8R8G8B8, false},
                      Pair{pixel_format::R8G8B8A8, pixel_format::A8R8G8B8, false},
                      Pair{pixel_format::R8G8B8, pixel_format::A8R8G8B8, false},
                      Pair{pixel_format::Index8, pixel_format::A8R8G8B8, true},
                      Pair{pixel_format::Index8, pixel_format::A8R8G8B8, false},
                      Pair{pixel_format::Grey8, pixel_format::Grey8, false},
                      Pair{pixel_format::Grey16, pixel_format::Grey16, false},
                      Pair{pixel_format::R8G8B8, pixel_format::R8G8B8, false},
                      Pair{pixel_format::R8G8B8A8, pixel_format::R8G8B8A8, false},
                      Pair{pixel_format::A8R8G8B8, pixel_format::A8R8G8B8, false}),
    [](const ::testing::TestParamInfo<Pair>& info) {
      return "From" + std::to_string(info.param.From) + "To" + std::to_string(info.param.To) +
             (info.param.Palette ? "WithPalette" : "");
    });

// The splitter that runs three bands of each call in reverse order and counts the
// calls: a conversion whose rows depend on each other or on the order shows.
using test_rows::ReversedBands;
using test_rows::splitCalls;

// Large images go through the installed splitter, fast and generic kernels and
// whole-row copies alike, with the bytes of an unsplit conversion; small ones and
// overlapping pixel blocks stay on the caller.
TEST_P(FastAgainstGeneric, SplitRowsGiveTheSameBytes) {
  const Pair pair = GetParam();
  std::mt19937 random(pair.From * 7 + pair.To);
  C_Image source, whole, split;
  ASSERT_TRUE(
      source.Create(300, pair.From, 260, pair.Palette ? pixel_format::R8G8B8 : pixel_format::None));
  for (int32_t i = 0; i < source.PixelBytes; ++i) source.Pixels[i] = uint8_t(random());
  for (int32_t i = 0; i < source.PaletteBytes; ++i) source.Palette[i] = uint8_t(random());
  ASSERT_TRUE(whole.Create(300, pair.To, 260));
  ASSERT_TRUE(split.Create(300, pair.To, 260));
  for (const bool generic : {false, true}) {
    ForceGenericPixelPath(generic);
    ASSERT_TRUE(ConvertPixels(&whole, &source));
    splitCalls = 0;
    const RowSplitter before = SetRowSplitter(ReversedBands);
    const bool converted = ConvertPixels(&split, &source);
    C_Image small;
    ASSERT_TRUE(small.Create(20, pair.To, 20));
    C_Image smallSource;
    ASSERT_TRUE(smallSource.Create(20, pair.From, 20,
                                   pair.Palette ? pixel_format::R8G8B8 : pixel_format::None));
    ASSERT_TRUE(ConvertPixels(&small, &smallSource));
    SetRowSplitter(before);
    ForceGenericPixelPath(false);
    ASSERT_TRUE(converted);
    EXPECT_EQ(splitCalls, 1) << "generic " << generic;
    ASSERT_EQ(std::memcmp(whole.Pixels, split.Pixels, size_t(whole.PixelBytes)), 0);
  }
}

// Row ranges in any order, cut to the image where they reach past it, build the
// whole conversion of a bottom-up source on every kernel; rows outside a range
// keep their bytes. An image pair the whole conversion refuses is refused too.
TEST_P(FastAgainstGeneric, RowRangesBuildTheWholeConversion) {
  const Pair pair = GetParam();
  std::mt19937 random(pair.From * 5 + pair.To);
  const int32_t palette = pair.Palette ? pixel_format::R8G8B8 : pixel_format::None;
  C_Image source, whole, ranges;
  ASSERT_TRUE(source.Create(37, pair.From, 29, palette));
  source.BottomUp = 1;
  for (int32_t i = 0; i < source.PixelBytes; ++i) source.Pixels[i] = uint8_t(random());
  for (int32_t i = 0; i < source.PaletteBytes; ++i) source.Palette[i] = uint8_t(random());
  ASSERT_TRUE(whole.Create(37, pair.To, 29));
  ASSERT_TRUE(ranges.Create(37, pair.To, 29));
  const int32_t cuts[][2] = {{20, 29}, {-4, 3}, {3, 3}, {9, 5}, {8, 20}, {3, 8}, {29, 40}};
  for (const bool generic : {false, true}) {
    ForceGenericPixelPath(generic);
    ASSERT_TRUE(ConvertPixels(&whole, &source));
    std::memset(ranges.Pixels, 0xCD, size_t(ranges.PixelBytes));
    for (const auto& cut : cuts) {
      if (cut[0] == 8) {  // rows 0..2 and 20..28 done so far, 3..19 untouched
        EXPECT_EQ(ranges.RowAddress(3)[0], 0xCD);
        EXPECT_EQ(ranges.RowAddress(19)[ranges.RowBytes - 1], 0xCD);
      }
      ASSERT_TRUE(ConvertPixelRows(&ranges, &source, cut[0], cut[1]));
    }
    ForceGenericPixelPath(false);
    for (int32_t y = 0; y < 29; ++y) {
      ASSERT_EQ(std::memcmp(ranges.RowAddress(y), whole.RowAddress(y), size_t(whole.RowBytes)), 0)
          << "row " << y << ", generic " << generic;
    }
  }
  C_Image shorter;
  ASSERT_TRUE(shorter.Create(37, pair.To, 28));
  EXPECT_FALSE(ConvertPixelRows(&shorter, &source, 0, 1));
  EXPECT_FALSE(ConvertPixelRows(nullptr, &source, 0, 1));
}

TEST(FillFastAgainstGeneric, SameBytes) {
  const C_Color colors[] = {C_Color(0.3f, 0.6f, 0.9f, 0.5f), C_Color(1, 1, 1, 1),
                            C_Color(0, 0, 0, 0)};
  for (const int32_t format : {6, 4, 7, 13, 14, 23, 24, 38, 39, 9}) {
    for (const C_Color& color : colors) {
      C_Image fast, generic;
      ASSERT_TRUE(fast.Create(13, format, 3));
      ASSERT_TRUE(generic.Create(13, format, 3));
      ASSERT_TRUE(FillImage(&fast, color));
      ForceGenericPixelPath(true);
      ASSERT_TRUE(FillImage(&generic, color));
      ForceGenericPixelPath(false);
      ASSERT_EQ(std::memcmp(fast.Pixels, generic.Pixels, size_t(fast.PixelBytes)), 0) << format;
    }
  }
}

}  // namespace
