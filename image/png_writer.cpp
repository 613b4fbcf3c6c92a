#include "image/png_writer.h"

#include <png.h>

#include <cstring>

#include "image/image.h"

namespace {

// Writes width x height pixels of the simplified API's format; stride counts
// samples (bytes for 8-bit formats), negative for rows stored bottom row first.
bool WritePixels(const char* path, int32_t width, int32_t height, png_uint_32 format,
                 const void* pixels, png_int_32 stride) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(width);
  png.height = static_cast<png_uint_32>(height);
  png.format = format;
  return png_image_write_to_file(&png, path, 0, pixels, stride, nullptr) != 0;
}

}  // namespace

bool WritePngFile(const char* path, const C_Image& image) {
  if (!path) return false;
  C_Image rgb;
  if (!C_Image::ConvertInto(pixel_format::R8G8B8, &rgb, &image)) return false;
  const png_int_32 stride = rgb.BottomUp ? -rgb.Pitch : rgb.Pitch;
  return WritePixels(path, rgb.Width, rgb.Height, PNG_FORMAT_BGR, rgb.Pixels, stride);
}

bool WriteGrey16PngFile(const char* path, const C_Image& image) {
  if (!path || image.Format != pixel_format::Grey16 || !image.Pixels || image.Pitch % 2 != 0) {
    return false;
  }
  // 16-bit samples in the machine's byte order; the stride counts samples.
  const png_int_32 samples = image.Pitch / 2;
  const png_int_32 stride = image.BottomUp ? -samples : samples;
  return WritePixels(path, image.Width, image.Height, PNG_FORMAT_LINEAR_Y, image.Pixels, stride);
}
