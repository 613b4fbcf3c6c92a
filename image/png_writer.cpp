#include "image/png_writer.h"

#include <png.h>

#include <cstring>

#include "image/image.h"

bool WritePngFile(const char* path, const C_Image& image) {
  if (!path) return false;
  C_Image rgb;
  if (!C_Image::ConvertInto(pixel_format::R8G8B8, &rgb, &image)) return false;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(rgb.Width);
  png.height = static_cast<png_uint_32>(rgb.Height);
  png.format = PNG_FORMAT_BGR;
  // libpng reads a negative stride as rows stored bottom row first.
  const png_int_32 stride = rgb.BottomUp ? -rgb.Pitch : rgb.Pitch;
  return png_image_write_to_file(&png, path, 0, rgb.Pixels, stride, nullptr) != 0;
}

bool WriteGrey16PngFile(const char* path, const C_Image& image) {
  if (!path || image.Format != pixel_format::Grey16 || !image.Pixels || image.Pitch % 2 != 0) {
    return false;
  }
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.Width);
  png.height = static_cast<png_uint_32>(image.Height);
  png.format = PNG_FORMAT_LINEAR_Y;  // 16-bit samples in the machine's byte order
  // The stride of 16-bit formats counts samples, not bytes.
  const png_int_32 samples = image.Pitch / 2;
  const png_int_32 stride = image.BottomUp ? -samples : samples;
  return png_image_write_to_file(&png, path, 0, image.Pixels, stride, nullptr) != 0;
}
