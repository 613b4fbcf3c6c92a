#include "reference_picture.h"

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "image/image.h"
#include "image/png_writer.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kMagenta = 0xFFFF00FFu;
constexpr uint32_t kQuarterMask = 0x003F3F3Fu;  // each colour byte shifted right by 2

// The expected picture at a quarter of its brightness, with the pixels marked in
// `differs` (one per pixel, rows top down) in magenta.
bool WriteDifference(const std::string& path, const C_Image& expected,
                     const std::vector<uint8_t>& differs) {
  C_Image colours, difference;
  if (!C_Image::ConvertInto(pixel_format::A8R8G8B8, &colours, &expected) ||
      !difference.Create(expected.Width, pixel_format::A8R8G8B8, expected.Height)) {
    return false;
  }
  for (int32_t y = 0; y < expected.Height; ++y) {
    const auto* in = reinterpret_cast<const uint32_t*>(colours.RowAddress(y));
    auto* out = reinterpret_cast<uint32_t*>(difference.RowAddress(y));
    const uint8_t* marks = differs.data() + static_cast<size_t>(y) * expected.Width;
    for (int32_t x = 0; x < expected.Width; ++x) {
      out[x] = marks[x] ? kMagenta : ((in[x] >> 2) & kQuarterMask) | kOpaque;
    }
  }
  return WritePicturePng(path, difference);
}

}  // namespace

bool WritePicturePng(const std::string& path, const C_Image& image) {
  return WritePngFile(path.c_str(), image);
}

bool ReadPicturePng(const std::string& path, C_Image& image) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_BGR;
  if (!image.Create(static_cast<int32_t>(png.width), pixel_format::R8G8B8,
                    static_cast<int32_t>(png.height))) {
    png_image_free(&png);
    return false;
  }
  const png_int_32 stride = image.BottomUp ? -image.Pitch : image.Pitch;
  return png_image_finish_read(&png, nullptr, image.Pixels, stride, nullptr) != 0;
}

::testing::AssertionResult MatchesPicture(const std::string& name, const C_Image& actual,
                                          const C_Image& expected) {
  std::string problem;
  std::vector<uint8_t> differs;
  if (actual.Width != expected.Width || actual.Height != expected.Height ||
      actual.Format != expected.Format) {
    problem = "size or format differs: " + std::to_string(actual.Width) + "x" +
              std::to_string(actual.Height) + " format " + std::to_string(actual.Format) +
              " against " + std::to_string(expected.Width) + "x" + std::to_string(expected.Height) +
              " format " + std::to_string(expected.Format);
  } else {
    const int32_t bytes = actual.BitsPerPixel / 8;
    differs.assign(static_cast<size_t>(actual.Width) * actual.Height, 0);
    int64_t differing = 0;
    int32_t firstX = -1, firstY = -1;
    for (int32_t y = 0; y < actual.Height; ++y) {
      const uint8_t* a = actual.RowAddress(y);
      const uint8_t* e = expected.RowAddress(y);
      for (int32_t x = 0; x < actual.Width; ++x) {
        if (std::memcmp(a + x * bytes, e + x * bytes, static_cast<size_t>(bytes)) != 0) {
          if (differing++ == 0) firstX = x, firstY = y;
          differs[static_cast<size_t>(y) * actual.Width + x] = 1;
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
  bool saved = WritePicturePng(base + ".actual.png", actual) &&
               WritePicturePng(base + ".expected.png", expected);
  std::string which = "{actual,expected}";
  if (saved && !differs.empty()) {
    saved = WriteDifference(base + ".difference.png", expected, differs);
    which = "{actual,expected,difference}";
  }
  return ::testing::AssertionFailure()
         << name << ": " << problem << "; "
         << (saved ? "pictures saved as " + base + "." + which + ".png"
                   : std::string("pictures could not be saved"));
}

bool UpdatingPictures() {
  return std::getenv("DF_UPDATE_PICTURES") != nullptr;
}

::testing::AssertionResult MatchesStoredPicture(const std::string& folder, const std::string& name,
                                                const C_Image& actual, const std::string& prefix) {
  const std::string path = folder + "/" + name + ".png";
  C_Image colours;
  if (!C_Image::ConvertInto(pixel_format::R8G8B8, &colours, &actual)) {
    return ::testing::AssertionFailure() << name << ": the drawn picture cannot be converted";
  }
  if (UpdatingPictures()) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    if (WritePicturePng(path, colours)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cannot write " << path;
  }
  C_Image expected;
  if (!ReadPicturePng(path, expected)) {
    return ::testing::AssertionFailure()
           << "no reference picture " << path
           << " (DF_UPDATE_PICTURES=1 writes it from what is drawn: look at it before adding it)";
  }
  return MatchesPicture(prefix + name, colours, expected);
}
