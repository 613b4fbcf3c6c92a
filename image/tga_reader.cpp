// Truevision TGA reader: true colour (16, 24, 32 bits) and 8-bit colour-mapped
// pictures with a 256-entry 24-bit map, uncompressed or run-length encoded.
//
// Only four exact 12-byte header templates are accepted (no image ID, map of 256
// entries of 24 bits from entry 0, origin 0, 0). Every picture is taken as stored
// bottom row first; the descriptor byte is not used.
#include <cstring>

#include "core/byte_stream.h"
#include "core/error.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/picture_readers.h"

namespace {

enum TgaKind { kTrueColour, kTrueColourRle, kMapped, kMappedRle, kUnknown };

constexpr uint8_t kTemplates[4][12] = {
    {0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x01, 0x18, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x01, 0x09, 0x00, 0x00, 0x00, 0x01, 0x18, 0x00, 0x00, 0x00, 0x00},
};
constexpr int32_t kMapBytes = 768;
// A packet of 1 + n bytes gives at most 128 pixels of n bytes.
constexpr int64_t kPixelsPerPacket = 128;

TgaKind KindOf(const uint8_t* header) {
  for (int32_t kind = 0; kind < 4; ++kind) {
    if (std::memcmp(header, kTemplates[kind], 12) == 0) return static_cast<TgaKind>(kind);
  }
  return kUnknown;
}

// Decodes run-length packets of n-byte pixels into `pixels` pixels from `out`. A
// packet running past the end, or data running out, fails.
bool DecodePackets(ByteStream* stream, int32_t n, int64_t pixels, uint8_t* out) {
  BufferedBytes in(stream);
  int64_t done = 0;
  while (done < pixels) {
    uint8_t h = 0;
    if (!in.Next(h)) return false;
    const int64_t count = (h & 0x7F) + 1;
    if (done + count > pixels) return false;
    uint8_t* at = out + done * n;
    if (h & 0x80) {
      if (!in.Take(at, n)) return false;
      for (int64_t i = 1; i < count; ++i) std::memcpy(at + i * n, at, static_cast<size_t>(n));
    } else if (!in.Take(at, count * n)) {
      return false;
    }
    done += count;
  }
  return true;
}

// File order blue, green, red, alpha becomes alpha, blue, green, red.
void AlphaFirst(uint8_t* pixels, int64_t count) {
  for (int64_t i = 0; i < count; ++i, pixels += 4) {
    const uint8_t alpha = pixels[3];
    pixels[3] = pixels[2];
    pixels[2] = pixels[1];
    pixels[1] = pixels[0];
    pixels[0] = alpha;
  }
}

bool ReadTrueColour(ByteStream* stream, bool rle, int32_t depth, int32_t width, int32_t height,
                    C_Image* image) {
  const int32_t n = depth / 8;
  const int32_t format = depth == 16   ? pixel_format::R5G5B5
                         : depth == 24 ? pixel_format::R8G8B8
                                       : pixel_format::R8G8B8A8;
  const int64_t pixels = int64_t{width} * height;
  const int64_t remaining = RemainingBytes(stream);
  if (rle ? pixels > (remaining / (1 + n) + 1) * kPixelsPerPacket : pixels * n > remaining) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  if (!image->Create(width, format, height)) {
    EmptyImage(image);  // Create has recorded why
    return false;
  }
  if (rle) {
    if (!DecodePackets(stream, n, pixels, image->Pixels)) {
      return RefusePicture(image, ErrorUnexpectedData);
    }
    if (n == 4) AlphaFirst(image->Pixels, pixels);
    if (!FlipVertical(image)) {
      EmptyImage(image);
      return false;
    }
    return true;
  }
  for (int32_t fileRow = 0; fileRow < height; ++fileRow) {
    uint8_t* row = image->Pixels + static_cast<int64_t>(height - 1 - fileRow) * image->Pitch;
    if (!ReadBytes(stream, row, static_cast<size_t>(image->RowBytes))) {
      return RefusePicture(image, ErrorUnexpectedData);
    }
    if (n == 4) AlphaFirst(row, width);
  }
  return true;
}

bool ReadMapped(ByteStream* stream, bool rle, int32_t width, int32_t height, C_Image* image) {
  const int64_t pixels = int64_t{width} * height;
  const int64_t data = RemainingBytes(stream) - kMapBytes;
  if (data < 0 || (rle ? pixels > (data / 2 + 1) * kPixelsPerPacket : pixels > data)) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  if (!image->Create(width, pixel_format::Index8, height, pixel_format::R8G8B8)) {
    EmptyImage(image);  // Create has recorded why
    return false;
  }
  // The map is stored blue, green, red, as the palette is held.
  const bool read = ReadBytes(stream, image->Palette, kMapBytes) &&
                    (rle ? DecodePackets(stream, 1, pixels, image->Pixels)
                         : ReadBytes(stream, image->Pixels, static_cast<size_t>(pixels)));
  if (!read) return RefusePicture(image, ErrorUnexpectedData);
  if (!FlipVertical(image)) {
    EmptyImage(image);
    return false;
  }
  return true;
}

}  // namespace

bool ReadTga(ByteStream* stream, C_Image* image) {
  if (!image) return Fail(ErrorMissingArgument);
  EmptyImage(image);
  uint8_t header[18];
  if (!ReadBytes(stream, header, sizeof header)) return RefusePicture(image, ErrorUnexpectedData);
  const TgaKind kind = KindOf(header);
  const int32_t width = header[12] | (header[13] << 8);
  const int32_t height = header[14] | (header[15] << 8);
  const int32_t depth = header[16];
  const bool mapped = kind == kMapped || kind == kMappedRle;
  // Depths other than those listed would give an image without pixels; they are
  // refused like every other unreadable header.
  const bool depthKnown = mapped ? depth == 8 : depth == 16 || depth == 24 || depth == 32;
  // The stream's size bounds what the header may ask for, so it must be known.
  if (StreamSize(stream) < 0 || kind == kUnknown || !depthKnown || width == 0 || height == 0 ||
      width > kMaxPictureSide || height > kMaxPictureSide) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  if (mapped) return ReadMapped(stream, kind == kMappedRle, width, height, image);
  return ReadTrueColour(stream, kind == kTrueColourRle, depth, width, height, image);
}
