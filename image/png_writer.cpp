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
