// imgconv: converts a picture the system reads (BMP, PCX, TGA, and PNG) into a PNG
// or a BMP, so that a person can look at any picture the readers produce.
//
//   imgconv <input.bmp|pcx|tga|png> <output.png|bmp>
//
// PNG output keeps alpha when the loaded format has an alpha channel. BMP output
// is 8-bit with the palette for paletted pictures and 24-bit otherwise (alpha is
// dropped); its rows are padded to 4 bytes and the image-size field is filled in,
// so the system's own BMP reader reads it back unchanged.
//
// Sections: file names, PNG (libpng simplified API), BMP writer, main.
#include <png.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/byte_stream.h"
#include "core/error.h"
#include "image/image.h"
#include "image/picture_file.h"
#include "image/pixel_format.h"
#include "program/failure_report.h"
#include "program/standard_options.h"

namespace {

const ProgramUsage kUsage = {
    "imgconv", "usage: imgconv <input.bmp|pcx|tga|png> <output.png|bmp>\n",
    "\nConverts a picture into a PNG (alpha kept) or a BMP (8-bit with its palette for\n"
    "paletted pictures, 24-bit otherwise). A picture that cannot be read is named\n"
    "with the reason.\n"};

// --- File names ----------------------------------------------------------------------
std::string UpperExtension(const char* path) {
  const char* dot = std::strrchr(path, '.');
  std::string ext = dot ? dot + 1 : "";
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

bool HasAlpha(int32_t format) {
  FormatDescriptor d;
  return DescribeFormat(format, d) && d.Bits[3] > 0;
}

// --- PNG -------------------------------------------------------------------------------
// A8R8G8B8 is blue, green, red, alpha in memory, R8G8B8 blue, green, red: the
// simplified API's BGRA and BGR layouts.
bool ReadPng(const char* path, C_Image* image) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path)) {
    std::fprintf(stderr, "imgconv: %s: %s\n", path, png.message);
    return false;
  }
  const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  png.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
  const int32_t format = alpha ? pixel_format::A8R8G8B8 : pixel_format::R8G8B8;
  if (png.width > 16384 || png.height > 16384 ||
      !image->Create(static_cast<int32_t>(png.width), format, static_cast<int32_t>(png.height))) {
    png_image_free(&png);
    std::fprintf(stderr, "imgconv: %s: picture too large\n", path);
    return false;
  }
  if (!png_image_finish_read(&png, nullptr, image->Pixels, image->Pitch, nullptr)) {
    std::fprintf(stderr, "imgconv: %s: %s\n", path, png.message);
    return false;
  }
  return true;
}

bool WritePng(const char* path, const C_Image& source) {
  const bool alpha = HasAlpha(source.Format);
  C_Image pixels;
  if (!C_Image::ConvertInto(alpha ? pixel_format::A8R8G8B8 : pixel_format::R8G8B8, &pixels,
                            &source)) {
    std::fprintf(stderr, "imgconv: format %d cannot be converted\n", source.Format);
    return false;
  }
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(pixels.Width);
  png.height = static_cast<png_uint_32>(pixels.Height);
  png.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
  if (!png_image_write_to_file(&png, path, 0, pixels.Pixels, pixels.Pitch, nullptr)) {
    std::fprintf(stderr, "imgconv: %s: %s\n", path, png.message);
    return false;
  }
  return true;
}

// --- BMP writer ----------------------------------------------------------------------
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool WriteBmp(const char* path, const C_Image& source) {
  const bool paletted = source.Format == pixel_format::Index8 && source.Palette &&
                        source.PaletteFormat == pixel_format::R8G8B8;
  C_Image converted;
  const C_Image* pixels = &source;
  if (!paletted) {
    if (!C_Image::ConvertInto(pixel_format::R8G8B8, &converted, &source)) {
      std::fprintf(stderr, "imgconv: format %d cannot be converted\n", source.Format);
      return false;
    }
    pixels = &converted;
  }
  const uint32_t rowBytes = static_cast<uint32_t>(pixels->RowBytes);
  const uint32_t stride = (rowBytes + 3) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(pixels->Height);
  const uint32_t offset = 54 + (paletted ? 1024 : 0);
  std::vector<uint8_t> out;
  Put16(out, 0x4D42);
  Put32(out, offset + imageSize);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(pixels->Width));
  Put32(out, static_cast<uint32_t>(pixels->Height));
  Put16(out, 1);
  Put16(out, paletted ? 8 : 24);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  if (paletted) {
    for (int32_t i = 0; i < 256; ++i) {
      out.insert(out.end(), source.Palette + 3 * i, source.Palette + 3 * i + 3);
      out.push_back(0);
    }
  }
  for (int32_t y = pixels->Height - 1; y >= 0; --y) {
    const uint8_t* row = pixels->RowAddress(y);
    out.insert(out.end(), row, row + rowBytes);
    out.insert(out.end(), stride - rowBytes, 0);
  }
  std::FILE* file = std::fopen(path, "wb");
  const bool written = file && std::fwrite(out.data(), 1, out.size(), file) == out.size();
  if (file && std::fclose(file) != 0) return false;
  if (!written) std::fprintf(stderr, "imgconv: %s: cannot write\n", path);
  return written;
}

}  // namespace

// --- Main ----------------------------------------------------------------------------
int main(int argc, char** argv) {
  int status = 0;
  if (AnswerNameOnlyOptions(argc, argv, kUsage, status)) return status;
  if (argc != 3) return UsageError(kUsage, "needs an input and an output picture");
  const char* input = argv[1];
  const char* output = argv[2];
  const std::string outExt = UpperExtension(output);
  if (outExt != "PNG" && outExt != "BMP") {
    return UsageError(kUsage, "%s: the output must be a .png or a .bmp", output);
  }
  const std::string inExt = UpperExtension(input);
  if (inExt != "BMP" && inExt != "PCX" && inExt != "TGA" && inExt != "PNG") {
    std::fprintf(stderr, "imgconv: %s: not a picture it reads (.bmp, .pcx, .tga or .png)\n", input);
    return 1;
  }
  C_Image image;
  LastError = {};
  const bool loaded = inExt == "PNG" ? ReadPng(input, &image) : LoadImageFile(input, &image);
  if (!loaded) {
    if (inExt != "PNG") {
      ReportFailure("imgconv", input, "cannot be read");
    }
    return 1;
  }
  const bool written = outExt == "PNG" ? WritePng(output, image) : WriteBmp(output, image);
  if (!written) return 1;
  std::printf("%s: %d x %d, format %d -> %s\n", input, image.Width, image.Height, image.Format,
              output);
  return 0;
}
