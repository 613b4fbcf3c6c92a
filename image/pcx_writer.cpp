// ZSoft PCX writer. Each line of each plane is run-length encoded on its own: a run
// byte 0xC0 | count (1..63) before a repeated value, and a bare byte for a single
// value below 0xC0. Lines are padded to an even byte count as the format expects.
#include "image/pcx_writer.h"

#include <cstdio>

#include "core/byte_stream.h"
#include "core/error.h"
#include "image/image.h"
#include "image/picture_readers.h"
#include "image/pixel_format.h"
#include "image/pixel_rows.h"

namespace {

constexpr uint8_t kManufacturer = 0x0A;
constexpr uint8_t kVersion = 5;
constexpr uint8_t kRunLengthEncoding = 1;
constexpr uint8_t kPaletteMarker = 12;
constexpr int kHeaderBytes = 128;
constexpr int kMaxRun = 63;
constexpr uint8_t kRunFlag = 0xC0;

void PutU16(uint8_t* at, int32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void EncodeLine(const uint8_t* line, int32_t count, std::vector<uint8_t>& out) {
  for (int32_t x = 0; x < count;) {
    const uint8_t value = line[x];
    int32_t run = 1;
    while (x + run < count && run < kMaxRun && line[x + run] == value) ++run;
    if (run > 1 || value >= kRunFlag) out.push_back(static_cast<uint8_t>(kRunFlag | run));
    out.push_back(value);
    x += run;
  }
}

}  // namespace

bool EncodePcx(const C_Image* image, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (image == nullptr || image->Pixels == nullptr || image->Width <= 0 || image->Height <= 0) {
    return Fail(ErrorMissingArgument);
  }
  FormatDescriptor d;
  const int32_t format = image->Format;
  const bool paletted = format == pixel_format::Index8;
  const bool colour = format == pixel_format::R8G8B8 || format == pixel_format::A8R8G8B8;
  if ((!paletted && !colour) || !DescribeFormat(format, d) || !PixelsCover(*image, d) ||
      image->Width > kMaxPictureSide || image->Height > kMaxPictureSide) {
    return Fail(ErrorNoFormat);
  }
  const int32_t planes = paletted ? 1 : 3;
  const int32_t lineBytes = image->Width + (image->Width & 1);
  bytes.assign(kHeaderBytes, 0);
  uint8_t* h = bytes.data();
  h[0] = kManufacturer;
  h[1] = kVersion;
  h[2] = kRunLengthEncoding;
  h[3] = 8;  // bits per pixel in each plane
  PutU16(h + 8, image->Width - 1);
  PutU16(h + 10, image->Height - 1);
  PutU16(h + 12, 72);  // dots per inch, for programs that show them
  PutU16(h + 14, 72);
  h[65] = static_cast<uint8_t>(planes);
  PutU16(h + 66, lineBytes);
  PutU16(h + 68, 1);  // the palette holds colours

  const int32_t pixelBytes = static_cast<int32_t>(d.BitsPerPixel / 8);
  std::vector<uint8_t> line(static_cast<size_t>(lineBytes), 0);
  const PixelView rows = RowsOf(*image);
  for (int32_t y = 0; y < image->Height; ++y) {
    const uint8_t* row = rows.First + rows.Step * y;
    for (int32_t plane = 0; plane < planes; ++plane) {
      // Image rows hold blue, green, red from the lowest byte up; planes go red first.
      const int32_t byte = paletted ? 0 : 2 - plane;
      for (int32_t x = 0; x < image->Width; ++x) line[size_t(x)] = row[x * pixelBytes + byte];
      EncodeLine(line.data(), lineBytes, bytes);
    }
  }
  if (paletted) {
    bytes.push_back(kPaletteMarker);
    const bool ownPalette = image->Palette != nullptr && image->PaletteBytes >= 768 &&
                            image->PaletteFormat == pixel_format::R8G8B8;
    for (int32_t i = 0; i < 256; ++i) {
      for (int32_t c = 0; c < 3; ++c) {
        // Held as blue, green, red; stored as red, green, blue.
        bytes.push_back(ownPalette ? image->Palette[i * 3 + 2 - c] : static_cast<uint8_t>(i));
      }
    }
  }
  return true;
}

bool SavePcxFile(const C_Image* image, const char* path) {
  std::vector<uint8_t> bytes;
  if (!EncodePcx(image, bytes)) return false;
  ByteStream* stream = path != nullptr ? OpenFileWriter(path) : nullptr;
  if (stream == nullptr) return Fail(ErrorCannotOpen);
  bool written = WriteBytes(stream, bytes.data(), bytes.size());
  written = std::fflush(stream->File) == 0 && written;
  FreeStream(stream);
  return written ? true : Fail(ErrorCannotOpen);
}
