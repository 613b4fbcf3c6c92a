// The exported view: a 512 x 512 PNG holding the view's own samples (16-bit grey
// heights, 8-bit RGB normals and light), and the tiling that --help promises:
// the perlin texture and its views continue from the right column into the left
// and from the bottom row into the top.
#include "app/view_export.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/demo_main.h"
#include "app/demo_state.h"
#include "app/headless_shell.h"
#include "core/random.h"
#include "image/image.h"

namespace {

constexpr int32_t kSide = 512;

// One sample per pixel and channel of a view: heights, or the colour bytes.
struct Samples {
  int32_t Channels = 0;
  std::vector<int32_t> Values;  // row-major, Channels per pixel
  int32_t At(int32_t x, int32_t y, int32_t c) const {
    return Values[(size_t(y) * kSide + size_t(x)) * size_t(Channels) + size_t(c)];
  }
};

// Heights as they are; colours as blue, green, red bytes (R8G8B8).
Samples FromImage(const C_Image& image) {
  Samples s;
  const bool grey = image.Format == pixel_format::Grey16;
  C_Image rgb;
  if (!grey && !C_Image::ConvertInto(pixel_format::R8G8B8, &rgb, &image)) return s;
  s.Channels = grey ? 1 : 3;
  for (int32_t y = 0; y < kSide; ++y) {
    const uint8_t* row = grey ? image.RowAddress(y) : rgb.RowAddress(y);
    for (int32_t x = 0; x < kSide; ++x) {
      if (grey) {
        uint16_t h = 0;
        std::memcpy(&h, row + 2 * x, 2);
        s.Values.push_back(h);
      } else {
        for (int32_t c = 0; c < 3; ++c) s.Values.push_back(row[3 * x + c]);
      }
    }
  }
  return s;
}

// The largest and the mean step between neighbours, inside the picture and across
// its seams (column 511 to 0, row 511 to 0), over all channels.
struct Steps {
  int32_t InsideMax = 0, SeamMax = 0;
  double InsideMean = 0, SeamMean = 0;
};

Steps MeasureSteps(const Samples& s) {
  Steps steps;
  double inside = 0, seam = 0;
  int64_t insideCount = 0, seamCount = 0;
  auto add = [&](int32_t a, int32_t b, bool across) {
    const int32_t d = std::abs(a - b);
    (across ? steps.SeamMax : steps.InsideMax) =
        std::max(across ? steps.SeamMax : steps.InsideMax, d);
    (across ? seam : inside) += d;
    ++(across ? seamCount : insideCount);
  };
  for (int32_t c = 0; c < s.Channels; ++c) {
    for (int32_t i = 0; i < kSide; ++i) {
      for (int32_t j = 0; j < kSide; ++j) {
        const int32_t next = (j + 1) % kSide;
        add(s.At(j, i, c), s.At(next, i, c), next == 0);  // along row i
        add(s.At(i, j, c), s.At(i, next, c), next == 0);  // down column i
      }
    }
  }
  steps.InsideMean = inside / double(insideCount);
  steps.SeamMean = seam / double(seamCount);
  return steps;
}

// Seams that continue the picture step no further than its inside does.
bool Tiles(const Steps& s) {
  return s.SeamMax <= s.InsideMax && s.SeamMean <= 1.25 * s.InsideMean;
}

double FrozenNow = 1000;
double FrozenClock() {
  return FrozenNow;
}

// Runs frames of perlin in the view and hands the last one to inspect.
template <typename Inspect>
void RunPerlin(int32_t view, Inspect inspect) {
  RandomSource random;
  const HeadlessSegment segment{ShapePerlinNoise, view, 3};
  HeadlessOptions options;
  options.Segments = &segment;
  options.SegmentCount = 1;
  options.Random = &random;
  options.Clock = FrozenClock;
  options.Context = &inspect;
  options.AfterPaint = [](void* context, int32_t frame) {
    if (frame == 2) (*static_cast<Inspect*>(context))();
  };
  HeadlessShell shell(options);
  ASSERT_EQ(DemoMainQuietly(&shell), 1);
}

// The PNG's size, depth and samples as libpng reads them back.
bool ReadPng(const std::string& path, png_uint_32 format, png_image& png, Samples& s) {
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  const png_uint_32 fileFormat = png.format;
  png.format = format;
  const bool sixteen = (format & PNG_FORMAT_FLAG_LINEAR) != 0;
  s.Channels = int32_t(PNG_IMAGE_SAMPLE_CHANNELS(format));
  std::vector<uint16_t> wide(PNG_IMAGE_SIZE(png) / 2 + 1);
  std::vector<uint8_t> narrow(PNG_IMAGE_SIZE(png));
  void* buffer = sixteen ? static_cast<void*>(wide.data()) : narrow.data();
  if (!png_image_finish_read(&png, nullptr, buffer, 0, nullptr)) return false;
  const size_t count = size_t(png.width) * png.height * size_t(s.Channels);
  for (size_t i = 0; i < count; ++i) s.Values.push_back(sixteen ? wide[i] : narrow[i]);
  png.format = fileFormat;
  return true;
}

std::string OutputPath(const char* name) {
  const std::filesystem::path folder = std::filesystem::path(DF_TEST_OUTPUT_DIR) / "app";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

TEST(ViewExport, WritesTheViewsOwnSamplesAtFullSize) {
  const struct {
    int32_t View;
    const char* File;
    png_uint_32 Stored;  // what the file must hold
    png_uint_32 Read;    // how it is read back to compare
  } cases[] = {{ViewHeightMap, "export-height.png", PNG_FORMAT_LINEAR_Y, PNG_FORMAT_LINEAR_Y},
               {ViewNormalMap, "export-normal.png", PNG_FORMAT_RGB, PNG_FORMAT_BGR},
               {ViewBumpMapping, "export-bump.png", PNG_FORMAT_RGB, PNG_FORMAT_BGR}};
  for (const auto& c : cases) {
    const std::string path = OutputPath(c.File);
    Samples expected;
    RunPerlin(c.View, [&] {
      const C_Image* image = c.View == ViewHeightMap   ? HeightImage
                             : c.View == ViewNormalMap ? NormalImage
                                                       : ShadedImage;
      expected = FromImage(*image);
      EXPECT_TRUE(ExportViewPng(path.c_str(), c.View));
    });
    png_image png;
    Samples read;
    ASSERT_TRUE(ReadPng(path, c.Read, png, read)) << c.File;
    EXPECT_EQ(png.width, 512u);
    EXPECT_EQ(png.height, 512u);
    EXPECT_EQ(png.format, c.Stored) << c.File;
    EXPECT_TRUE(read.Values == expected.Values) << c.File;
  }
  EXPECT_FALSE(
      ExportViewPng(OutputPath("export-none.png").c_str(), ViewHeightMap));  // after the run
}

TEST(ViewExport, PerlinAndItsViewsTileSeamlessly) {
  for (int32_t view : {ViewHeightMap, ViewNormalMap, ViewBumpMapping}) {
    RunPerlin(view, [&] {
      const C_Image* image = view == ViewHeightMap   ? HeightImage
                             : view == ViewNormalMap ? NormalImage
                                                     : ShadedImage;
      const Steps steps = MeasureSteps(FromImage(*image));
      EXPECT_TRUE(Tiles(steps)) << "view " << view << ": inside max " << steps.InsideMax << " mean "
                                << steps.InsideMean << ", seams max " << steps.SeamMax << " mean "
                                << steps.SeamMean;
    });
  }
  // The measure sees a seam: the same noise stretched so that its tiles end after
  // 500 of the 512 columns and rows.
  RunPerlin(ViewHeightMap, [] {
    const Samples whole = FromImage(*HeightImage);
    Samples cut = whole;
    for (int32_t y = 0; y < kSide; ++y) {
      for (int32_t x = 0; x < kSide; ++x) {
        cut.Values[size_t(y) * kSide + size_t(x)] = whole.At(x * 500 / kSide, y * 500 / kSide, 0);
      }
    }
    EXPECT_FALSE(Tiles(MeasureSteps(cut)));
  });
}

}  // namespace
