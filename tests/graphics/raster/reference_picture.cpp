#include "reference_picture.h"

#include <cstring>
#include <filesystem>

#include "image/image.h"
#include "image/png_writer.h"

bool WritePicturePng(const std::string& path, const C_Image& image) {
  return WritePngFile(path.c_str(), image);
}

::testing::AssertionResult MatchesPicture(const std::string& name, const C_Image& actual,
                                          const C_Image& expected) {
  std::string problem;
  if (actual.Width != expected.Width || actual.Height != expected.Height ||
      actual.Format != expected.Format) {
    problem = "size or format differs: " + std::to_string(actual.Width) + "x" +
              std::to_string(actual.Height) + " format " + std::to_string(actual.Format) +
              " against " + std::to_string(expected.Width) + "x" + std::to_string(expected.Height) +
              " format " + std::to_string(expected.Format);
  } else {
    const int32_t bytes = actual.BitsPerPixel / 8;
    int64_t differing = 0;
    int32_t firstX = -1, firstY = -1;
    for (int32_t y = 0; y < actual.Height; ++y) {
      const uint8_t* a = actual.RowAddress(y);
      const uint8_t* e = expected.RowAddress(y);
      for (int32_t x = 0; x < actual.Width; ++x) {
        if (std::memcmp(a + x * bytes, e + x * bytes, static_cast<size_t>(bytes)) != 0) {
          if (differing++ == 0) firstX = x, firstY = y;
        }
      }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    problem = std::to_string(differing) + " pixels differ, the first at (" +
              std::to_string(firstX) + ", " + std::to_string(firstY) + ")";
  }
  const std::filesystem::path folder = std::filesystem::path(DF_TEST_OUTPUT_DIR) / "raster";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::string base = (folder / name).string();
  const bool saved = WritePicturePng(base + ".actual.png", actual) &&
                     WritePicturePng(base + ".expected.png", expected);
  return ::testing::AssertionFailure()
         << name << ": " << problem << "; "
         << (saved ? "pictures saved as " + base + ".{actual,expected}.png"
                   : std::string("pictures could not be saved"));
}
