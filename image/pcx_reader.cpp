// ZSoft PCX reader: 8-bit paletted pictures (one plane, palette at the end of the
// file) and 24-bit pictures (three planes: red, green, blue), run-length encoded.
//
// Each line is decoded into a scanline buffer of bytes-per-line x planes bytes;
// the first Width bytes of each plane become the picture row. Runs may cross line
// boundaries, and the bytes of a run beyond the last line are dropped.
#include <cstring>

#include "core/byte_stream.h"
#include "core/error.h"
#include "core/memory_counter.h"
#include "image/image.h"
#include "image/picture_readers.h"

namespace {

constexpr int32_t kHeaderBytes = 128;
constexpr int32_t kPaletteTrailerBytes = 769;  // marker 12, then 256 RGB triples
constexpr uint8_t kPaletteMarker = 12;
constexpr uint8_t kRunFlag = 0xC0;  // a byte at or above this starts a run
// A run of two bytes gives at most 63 data bytes, so a stream of n bytes decodes to
// at most 32 x n; a header that asks for more cannot be honoured.
constexpr int64_t kMaxExpansion = 32;

uint16_t U16At(const uint8_t* bytes, int32_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

struct PcxLayout {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Planes = 0;     // 1 or 3
  int32_t LineBytes = 0;  // bytes per line of one plane, >= Width
};

// Decodes Height lines into the image, one scanline buffer at a time.
bool DecodeLines(ByteStream* stream, const PcxLayout& p, uint8_t* scan, C_Image* image) {
  const int32_t scanBytes = p.LineBytes * p.Planes;
  const int64_t total = int64_t{scanBytes} * p.Height;
  BufferedBytes in(stream);
  int64_t decoded = 0;
  int32_t fill = 0;
  int32_t row = 0;
  while (decoded < total) {
    uint8_t value = 0;
    if (!in.Next(value)) return false;
    int32_t count = 1;
    if (value >= kRunFlag) {
      count = value & 0x3F;
      if (!in.Next(value)) return false;
    }
    for (; count > 0 && decoded < total; --count, ++decoded) {
      scan[fill++] = value;
      if (fill < scanBytes) continue;
      fill = 0;
      uint8_t* out = image->Pixels + static_cast<int64_t>(row++) * image->Pitch;
      if (p.Planes == 1) {
        std::memcpy(out, scan, static_cast<size_t>(p.Width));
      } else {
        const uint8_t* red = scan;
        const uint8_t* green = scan + p.LineBytes;
        const uint8_t* blue = scan + 2 * p.LineBytes;
        for (int32_t x = 0; x < p.Width; ++x, out += 3) {
          out[0] = blue[x];
          out[1] = green[x];
          out[2] = red[x];
        }
      }
    }
  }
  return true;
}

// The 256 RGB triples after the marker byte, held as blue, green, red.
bool ReadTrailerPalette(ByteStream* stream, int64_t size, C_Image* image) {
  if (!SeekTo(stream, size - kPaletteTrailerBytes) || ReadByte(stream) != kPaletteMarker ||
      stream->Broken || !ReadBytes(stream, image->Palette, 768)) {
    return false;
  }
  for (int32_t i = 0; i < 768; i += 3) {
    const uint8_t red = image->Palette[i];
    image->Palette[i] = image->Palette[i + 2];
    image->Palette[i + 2] = red;
  }
  return true;
}

}  // namespace

bool ReadPcx(ByteStream* stream, C_Image* image) {
  if (!image) return Fail(ErrorMissingArgument);
  EmptyImage(image);
  uint8_t header[kHeaderBytes];
  if (!ReadBytes(stream, header, sizeof header)) return RefusePicture(image, ErrorUnexpectedData);
  PcxLayout p;
  p.Width = int32_t{U16At(header, 8)} - U16At(header, 4) + 1;
  p.Height = int32_t{U16At(header, 10)} - U16At(header, 6) + 1;
  p.Planes = header[65];
  p.LineBytes = U16At(header, 66);
  const bool paletted = p.Planes == 1;
  // Manufacturer 0x0A and version 5 are checked for paletted files only.
  if ((p.Planes != 1 && p.Planes != 3) || (paletted && (header[0] != 0x0A || header[1] != 5))) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  // A line shorter than the picture would leave the row copy reading past the
  // scanline buffer; an empty or huge picture is not a picture this reader makes.
  if (p.Width <= 0 || p.Height <= 0 || p.Width > kMaxPictureSide || p.Height > kMaxPictureSide ||
      p.LineBytes < p.Width) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  const int64_t size = StreamSize(stream);
  const int64_t encoded = size - kHeaderBytes - (paletted ? kPaletteTrailerBytes : 0);
  const int64_t scanBytes = int64_t{p.LineBytes} * p.Planes;
  if (size < 0 || encoded <= 0 || scanBytes * p.Height > encoded * kMaxExpansion) {
    return RefusePicture(image, ErrorUnexpectedData);
  }

  const int32_t format = paletted ? pixel_format::Index8 : pixel_format::R8G8B8;
  if (!image->Create(p.Width, format, p.Height,
                     paletted ? pixel_format::R8G8B8 : pixel_format::None)) {
    EmptyImage(image);  // Create has recorded why
    return false;
  }
  auto* scan = static_cast<uint8_t*>(CountedMalloc(static_cast<size_t>(scanBytes)));
  if (!scan) return RefusePicture(image, ErrorAllocation);
  bool read = SeekTo(stream, kHeaderBytes) && DecodeLines(stream, p, scan, image);
  CountedFree(scan, static_cast<size_t>(scanBytes));
  if (read && paletted) read = ReadTrailerPalette(stream, size, image);
  if (!read) return RefusePicture(image, ErrorUnexpectedData);
  return true;
}
