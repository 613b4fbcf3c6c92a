#include "tools/paktext/pictures.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "image/pixel_format.h"

namespace {

// The simplified libpng format whose bytes per pixel stand in the same order as
// this pixel format's bytes in memory; 0 with `mapped` false when there is none.
png_uint_32 PngFormatOf(int32_t format, bool& mapped) {
  mapped = false;
  FormatDescriptor d;
  if (!DescribeFormat(format, d) || d.ComponentType != ComponentInteger) return 0;
  if (d.BitsPerPixel == 8 && (d.Indexed || (d.ChannelCount == 1 && d.Bits[0] == 8))) {
    mapped = true;
    return PNG_FORMAT_GRAY;
  }
  if ((d.BitsPerPixel != 24 || d.ChannelCount != 3) &&
      (d.BitsPerPixel != 32 || d.ChannelCount != 4)) {
    return 0;
  }
  // Which channel (0 red, 1 green, 2 blue, 3 alpha) each memory byte holds.
  char order[5] = {};
  static constexpr char kChannels[] = "RGBA";
  for (uint32_t c = 0; c < d.ChannelCount; ++c) {
    if (d.Bits[c] != 8 || d.Shift[c] % 8 != 0 || d.Shift[c] / 8 >= d.ChannelCount) return 0;
    order[d.Shift[c] / 8] = kChannels[c];
  }
  struct Known {
    const char* Order;
    png_uint_32 Format;
  };
  static constexpr Known kKnown[] = {{"RGB", PNG_FORMAT_RGB},   {"BGR", PNG_FORMAT_BGR},
                                     {"RGBA", PNG_FORMAT_RGBA}, {"ARGB", PNG_FORMAT_ARGB},
                                     {"BGRA", PNG_FORMAT_BGRA}, {"ABGR", PNG_FORMAT_ABGR}};
  for (const Known& known : kKnown) {
    if (std::strcmp(known.Order, order) == 0) {
      mapped = true;
      return known.Format;
    }
  }
  return 0;
}

bool WriteRaw(const std::string& path, const PixelRowsRef& rows, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot create " + path;
    return false;
  }
  bool written = true;
  const std::vector<uint8_t> zeros(rows.Base ? 0 : rows.RowBytes);
  for (uint32_t y = 0; written && y < rows.Rows; ++y) {
    const uint32_t row = rows.BottomUp ? rows.Rows - 1 - y : y;
    const uint8_t* at = rows.Base ? rows.Base + uint64_t(row) * rows.Pitch : zeros.data();
    written = rows.RowBytes == 0 || std::fwrite(at, rows.RowBytes, 1, file) == 1;
  }
  written = std::fclose(file) == 0 && written;
  if (!written) error = "cannot write " + path;
  return written;
}

bool ReadRaw(const std::string& path, const PixelRowsRef& rows, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot open the picture file " + path;
    return false;
  }
  const uint64_t expected = uint64_t{rows.Rows} * rows.RowBytes;
  bool read = std::fseek(file, 0, SEEK_END) == 0;
  const long size = read ? std::ftell(file) : -1;
  read = read && std::fseek(file, 0, SEEK_SET) == 0;
  if (!read || size < 0 || static_cast<uint64_t>(size) != expected) {
    std::fclose(file);
    error = path + " holds " + std::to_string(size) + " bytes, but " + std::to_string(rows.Rows) +
            " rows of " + std::to_string(rows.RowBytes) + " bytes are " + std::to_string(expected);
    return false;
  }
  for (uint32_t y = 0; read && y < rows.Rows; ++y) {
    read = rows.RowBytes == 0 ||
           std::fread(rows.Base + uint64_t(y) * rows.Pitch, rows.RowBytes, 1, file) == 1;
  }
  std::fclose(file);
  if (!read) error = "cannot read " + path;
  return read;
}

}  // namespace

const char* PictureEncoding(const PixelRowsRef& rows) {
  bool mapped = false;
  PngFormatOf(rows.Format, mapped);
  return mapped && rows.Width > 0 && rows.Rows > 0 ? "png" : "raw";
}

bool WritePicture(const std::string& path, const PixelRowsRef& rows, std::string& error) {
  if (std::strcmp(PictureEncoding(rows), "raw") == 0) return WriteRaw(path, rows, error);
  bool mapped = false;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(rows.Width);
  png.height = rows.Rows;
  png.format = PngFormatOf(rows.Format, mapped);
  std::vector<uint8_t> zeros;
  const uint8_t* base = rows.Base;
  png_int_32 stride = static_cast<png_int_32>(rows.Pitch);
  if (!base) {
    zeros.assign(uint64_t{rows.Pitch} * rows.Rows, 0);
    base = zeros.data();
  } else if (rows.BottomUp) {
    // libpng reads a negative stride as rows stored bottom row first.
    stride = -stride;
  }
  if (!png_image_write_to_file(&png, path.c_str(), 0, base, stride, nullptr)) {
    error = "cannot write " + path + ": " + png.message;
    return false;
  }
  return true;
}

bool ReadPicture(const std::string& path, const std::string& encoding, const PixelRowsRef& rows,
                 std::string& error) {
  if (encoding != PictureEncoding(rows)) {
    error = "the encoding of this pixel format is \"" + std::string(PictureEncoding(rows)) + "\"";
    return false;
  }
  if (encoding == "raw") return ReadRaw(path, rows, error);
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    error = "cannot read the picture " + path + ": " + png.message;
    return false;
  }
  if (png.width != static_cast<png_uint_32>(rows.Width) || png.height != rows.Rows) {
    error = path + " is " + std::to_string(png.width) + " x " + std::to_string(png.height) +
            " pixels, but the image is " + std::to_string(rows.Width) + " x " +
            std::to_string(rows.Rows);
    png_image_free(&png);
    return false;
  }
  bool mapped = false;
  png.format = PngFormatOf(rows.Format, mapped);
  if (!png_image_finish_read(&png, nullptr, rows.Base, static_cast<png_int_32>(rows.Pitch),
                             nullptr)) {
    error = "cannot read the picture " + path + ": " + png.message;
    return false;
  }
  return true;
}
