// Reference pictures of painted screens, kept as TGA files in
// tests/widget/pictures/desktop and read back with the image library's reader. A
// missing picture is written from the painted screen and the check fails, asking
// for it to be looked at and added; a mismatch saves both as PNG.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image.h"
#include "image/picture_readers.h"
#include "image/pixel_format.h"
#include "tests/graphics/raster/reference_picture.h"

namespace desktop_test {

inline std::string PicturePath(const std::string& name) {
  return std::string(DF_WIDGET_PICTURES) + "/" + name + ".tga";
}

// An uncompressed 32-bit TGA, bottom row first as the format's readers expect.
inline bool WriteTga(const std::string& path, const C_Image& image) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  uint8_t header[18] = {};
  header[2] = 2;  // true colour, uncompressed
  header[12] = static_cast<uint8_t>(image.Width & 0xFF);
  header[13] = static_cast<uint8_t>(image.Width >> 8);
  header[14] = static_cast<uint8_t>(image.Height & 0xFF);
  header[15] = static_cast<uint8_t>(image.Height >> 8);
  header[16] = 32;
  header[17] = 0x08;  // 8 alpha bits
  bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
  for (int32_t y = image.Height - 1; ok && y >= 0; --y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.RowAddress(y));
    std::vector<uint8_t> bytes(static_cast<size_t>(image.Width) * 4);
    for (int32_t x = 0; x < image.Width; ++x) {
      const uint32_t p = row[x] | 0xFF000000u;
      bytes[x * 4 + 0] = static_cast<uint8_t>(p);
      bytes[x * 4 + 1] = static_cast<uint8_t>(p >> 8);
      bytes[x * 4 + 2] = static_cast<uint8_t>(p >> 16);
      bytes[x * 4 + 3] = static_cast<uint8_t>(p >> 24);
    }
    ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  return std::fclose(file) == 0 && ok;
}

// The painted screen with opaque alpha, in plain top-down rows, as the expected
// picture is built too.
inline void CopyOpaque(const C_Image& from, C_Image& to) {
  to.Create(from.Width, pixel_format::A8R8G8B8, from.Height);
  for (int32_t y = 0; y < from.Height; ++y) {
    const auto* src = reinterpret_cast<const uint32_t*>(from.RowAddress(y));
    auto* dst = reinterpret_cast<uint32_t*>(to.RowAddress(y));
    for (int32_t x = 0; x < from.Width; ++x) dst[x] = src[x] | 0xFF000000u;
  }
}

inline ::testing::AssertionResult MatchesReference(const std::string& name,
                                                   const C_Image& painted) {
  C_Image actual;
  CopyOpaque(painted, actual);
  const std::string path = PicturePath(name);
  if (!std::filesystem::exists(path)) {
    if (!WriteTga(path, actual)) return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionFailure()
           << "no reference picture: wrote " << path << "; look at it and add it";
  }
  C_Image loaded;
  if (!LoadTgaFile(path.c_str(), &loaded) || loaded.Width != actual.Width ||
      loaded.Height != actual.Height)
    return ::testing::AssertionFailure() << "cannot read " << path;
  C_Image converted, expected;
  if (!C_Image::ConvertInto(pixel_format::A8R8G8B8, &converted, &loaded))
    return ::testing::AssertionFailure() << "cannot convert " << path;
  CopyOpaque(converted, expected);
  return MatchesPicture("widget_" + name, actual, expected);
}

}  // namespace desktop_test
