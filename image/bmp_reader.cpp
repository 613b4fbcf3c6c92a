// Windows bitmap reader: uncompressed 8-bit (paletted) and 24-bit pictures.
//
// Rows are stored bottom row first. The bytes skipped after each row are taken
// from the image-size field (image size / height - row bytes), so a file whose
// image-size field is 0 is read without row padding.
#include <cstring>

#include "core/byte_stream.h"
#include "core/error.h"
#include "image/image.h"
#include "image/picture_readers.h"

namespace {

constexpr uint16_t kBmpSignature = 0x4D42;  // "BM"
constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;  // the smallest header with these fields

struct BmpHeader {
  uint16_t Signature = 0;
  uint32_t FileSize = 0;
  uint32_t Reserved = 0;
  uint32_t DataOffset = 0;  // from the start of the file
  uint32_t HeaderSize = 0;  // information header; the palette follows it
  int32_t Width = 0;
  int32_t Height = 0;  // negative would mean top-down: refused
  uint16_t Planes = 0;
  uint16_t BitCount = 0;
  uint32_t Compression = 0;  // 0: uncompressed, the only kind read
  uint32_t ImageSize = 0;    // bytes of pixel data including row padding, or 0
  int32_t XResolution = 0;
  int32_t YResolution = 0;
  uint32_t ColoursUsed = 0;  // palette entries stored; 0 means all 256
  uint32_t ColoursImportant = 0;
};

bool ReadHeader(ByteStream* s, BmpHeader& h) {
  return ReadField(s, h.Signature) && ReadField(s, h.FileSize) && ReadField(s, h.Reserved) &&
         ReadField(s, h.DataOffset) && ReadField(s, h.HeaderSize) && ReadField(s, h.Width) &&
         ReadField(s, h.Height) && ReadField(s, h.Planes) && ReadField(s, h.BitCount) &&
         ReadField(s, h.Compression) && ReadField(s, h.ImageSize) && ReadField(s, h.XResolution) &&
         ReadField(s, h.YResolution) && ReadField(s, h.ColoursUsed) &&
         ReadField(s, h.ColoursImportant);
}

// Reads the stored palette entries (4 bytes each: blue, green, red, unused) into
// the image's 256 three-byte entries; entries the file does not store are black.
bool ReadPalette(ByteStream* stream, const BmpHeader& h, int32_t entries, C_Image* image) {
  uint8_t stored[256 * 4];
  if (!SeekTo(stream, int64_t{kFileHeaderBytes} + h.HeaderSize) ||
      !ReadBytes(stream, stored, static_cast<size_t>(entries) * 4)) {
    return false;
  }
  std::memset(image->Palette, 0, static_cast<size_t>(image->PaletteBytes));
  for (int32_t i = 0; i < entries; ++i) std::memcpy(image->Palette + 3 * i, stored + 4 * i, 3);
  return true;
}

}  // namespace

bool ReadBmp(ByteStream* stream, C_Image* image) {
  if (!image) return Fail(ErrorMissingArgument);
  EmptyImage(image);
  BmpHeader h;
  if (!ReadHeader(stream, h) || h.Signature != kBmpSignature) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  // Only uncompressed bottom-up 8- and 24-bit pictures of a sane size are read;
  // anything else would produce an image without pixels or garbage.
  if (h.HeaderSize < kInfoHeaderBytes || h.Compression != 0 ||
      (h.BitCount != 8 && h.BitCount != 24) || h.Width <= 0 || h.Height <= 0 ||
      h.Width > kMaxPictureSide || h.Height > kMaxPictureSide) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  const bool paletted = h.BitCount == 8;
  const int64_t rowBytes = int64_t{h.Width} * (h.BitCount / 8);
  int64_t padding = int64_t{h.ImageSize / static_cast<uint32_t>(h.Height)} - rowBytes;
  if (padding < 0) padding = 0;
  const int32_t entries =
      h.ColoursUsed >= 1 && h.ColoursUsed <= 256 ? static_cast<int32_t>(h.ColoursUsed) : 256;

  // Everything the header promises must lie inside the stream before anything is
  // allocated: the palette and the pixel rows with the padding between them.
  const int64_t size = StreamSize(stream);
  const int64_t pixelEnd = int64_t{h.DataOffset} + rowBytes * h.Height + padding * (h.Height - 1);
  const int64_t paletteEnd = int64_t{kFileHeaderBytes} + h.HeaderSize + int64_t{entries} * 4;
  if (size < 0 || pixelEnd > size || (paletted && paletteEnd > size)) {
    return RefusePicture(image, ErrorUnexpectedData);
  }

  const int32_t format = paletted ? pixel_format::Index8 : pixel_format::R8G8B8;
  if (!image->Create(h.Width, format, h.Height,
                     paletted ? pixel_format::R8G8B8 : pixel_format::None)) {
    EmptyImage(image);  // Create has recorded why
    return false;
  }
  if (paletted && !ReadPalette(stream, h, entries, image)) {
    return RefusePicture(image, ErrorUnexpectedData);
  }
  if (!SeekTo(stream, h.DataOffset)) return RefusePicture(image, ErrorUnexpectedData);
  for (int32_t fileRow = 0; fileRow < h.Height; ++fileRow) {
    uint8_t* row = image->Pixels + static_cast<int64_t>(h.Height - 1 - fileRow) * image->Pitch;
    if (!ReadBytes(stream, row, static_cast<size_t>(rowBytes))) {
      return RefusePicture(image, ErrorUnexpectedData);
    }
    if (padding > 0 && fileRow + 1 < h.Height && !SeekTo(stream, StreamOffset(stream) + padding)) {
      return RefusePicture(image, ErrorUnexpectedData);
    }
  }
  return true;
}
