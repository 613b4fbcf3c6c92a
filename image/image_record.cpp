// The stored record of a C_Image: version, header words, optional palette and the
// pixel rows. Every size the record claims is checked against the format, against
// 32-bit arithmetic and against the bytes left in the stream before anything is
// allocated.
#include <algorithm>
#include <cstring>

#include "core/byte_stream.h"
#include "core/error.h"
#include "core/memory_counter.h"
#include "image/image.h"
#include "image/record_layout.h"

namespace {

// Row padding a record may claim beyond the stored row bytes; larger pitches
// would make a tiny record allocate memory its bytes cannot justify.
constexpr uint32_t kMaxPitchPadding = 64;
// Formats whose rows the record does not carry get pixels that nothing in the
// stream accounts for; their buffer is capped instead.
constexpr uint64_t kMaxUnstoredPixelBytes = uint64_t{64} << 20;

}  // namespace

bool C_Image::Load(ByteStream* stream, int32_t context) {
  (void)context;
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  if (LoadContents(stream)) return true;
  // Whatever was allocated goes; the image is left empty and usable.
  Release();
  Init();
  return Fail();
}

bool C_Image::LoadContents(ByteStream* stream) {
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  if (version != FormatVersion) return true;

  uint32_t header[7] = {};  // PixelBytes, Width, Height, Pitch, BitsPerPixel, Format, PaletteBytes
  for (uint32_t& word : header) {
    if (!ReadField(stream, word)) return Fail(ErrorUnexpectedData);
  }
  const uint32_t pixelBytes = header[0], width = header[1], height = header[2], pitch = header[3],
                 bits = header[4], paletteBytes = header[6];
  const int32_t format = static_cast<int32_t>(header[5]);

  if (static_cast<int32_t>(paletteBytes) > 0) {
    uint32_t paletteFormat = 0, entryBits = 0;
    if (!ReadField(stream, paletteFormat) || !ReadField(stream, entryBits)) {
      return Fail(ErrorUnexpectedData);
    }
    if (!StreamCanHold(stream, paletteBytes)) return Fail(ErrorUnexpectedData);
    Palette = static_cast<uint8_t*>(CountedMalloc(paletteBytes));
    if (!Palette) return Fail(ErrorAllocation);
    PaletteBytes = static_cast<int32_t>(paletteBytes);
    if (!ReadBytes(stream, Palette, paletteBytes)) return Fail(ErrorUnexpectedData);
    PaletteFormat = static_cast<int32_t>(paletteFormat);
    PaletteEntryBits = static_cast<int32_t>(entryBits);
  }

  FormatDescriptor d;
  if (!DescribeFormat(format, d)) return Fail(ErrorNoFormat);
  Format = format;
  if (d.BitsPerPixel == 0) {
    // A placeholder format: an image without pixels.
    Width = static_cast<int32_t>(width <= INT32_MAX ? width : 0);
    Height = static_cast<int32_t>(height <= INT32_MAX ? height : 0);
    return true;
  }
  if (width > uint32_t(kMaxStoredImageSide) || height > uint32_t(kMaxStoredImageSide) ||
      bits != d.BitsPerPixel) {
    return Fail(ErrorUnexpectedData);
  }
  const uint64_t rowBytes = (uint64_t(width) * bits + 7) / 8;
  if (pitch < rowBytes || pitch > rowBytes + kMaxPitchPadding) return Fail(ErrorUnexpectedData);
  // The rows must fit in the buffer; a larger claimed buffer (spare room left by a
  // grow-only policy) is not data, so no more than Pitch x Height is allocated.
  const uint64_t span = height == 0 ? 0 : uint64_t(pitch) * (height - 1) + rowBytes;
  if (pixelBytes < span) return Fail(ErrorUnexpectedData);
  const uint64_t allocation = std::min<uint64_t>(pixelBytes, uint64_t(pitch) * height);
  if (allocation > uint64_t(INT32_MAX)) return Fail(ErrorUnexpectedData);
  const bool stored = RecordStoresRows(d);
  if (stored) {
    if (!StreamCanHold(stream, rowBytes * height)) return Fail(ErrorUnexpectedData);
  } else if (allocation > kMaxUnstoredPixelBytes) {
    return Fail(ErrorUnexpectedData);
  }

  Width = static_cast<int32_t>(width);
  Height = static_cast<int32_t>(height);
  Pitch = static_cast<int32_t>(pitch);
  BitsPerPixel = static_cast<int32_t>(bits);
  RowBytes = static_cast<int32_t>(rowBytes);
  if (allocation > 0) {
    Pixels = static_cast<uint8_t*>(CountedLineMalloc(allocation));
    if (!Pixels) return Fail(ErrorAllocation);
    PixelBytes = static_cast<int32_t>(allocation);
  }
  if (!stored) return true;
  // Components are little-endian in the record as in memory, so each row is one
  // block of bytes whatever the component size.
  for (uint32_t r = 0; r < height; ++r) {
    if (!ReadBytes(stream, Pixels + uint64_t(r) * pitch, rowBytes)) {
      return Fail(ErrorUnexpectedData);
    }
  }
  return true;
}

bool C_Image::Save(ByteStream* stream, int32_t context) {
  (void)context;
  FormatDescriptor d;
  if (!DescribeFormat(Format, d)) return Fail(ErrorNoFormat);
  return (WriteField(stream, GetClassId()) && SaveContents(stream)) || Fail();
}

bool C_Image::SaveContents(ByteStream* stream) const {
  FormatDescriptor d;
  if (!DescribeFormat(Format, d)) return Fail(ErrorNoFormat);
  // An image without pixels (a failed Create) is stored with zero rows, and its
  // buffer size is given as those rows so that the record reads back.
  const int64_t storedBytes = Pixels ? PixelBytes : int64_t{Pitch} * Height;
  const uint32_t header[6] = {static_cast<uint32_t>(storedBytes),  static_cast<uint32_t>(Width),
                              static_cast<uint32_t>(Height),       static_cast<uint32_t>(Pitch),
                              static_cast<uint32_t>(BitsPerPixel), static_cast<uint32_t>(Format)};
  if (!WriteField(stream, FormatVersion)) return false;
  for (uint32_t word : header) {
    if (!WriteField(stream, word)) return false;
  }
  if (!Palette || PaletteBytes <= 0) {
    if (!WriteField(stream, uint32_t{0})) return false;
  } else if (!WriteField(stream, static_cast<uint32_t>(PaletteBytes)) ||
             !WriteField(stream, static_cast<uint32_t>(PaletteFormat)) ||
             !WriteField(stream, static_cast<uint32_t>(PaletteEntryBits)) ||
             !WriteBytes(stream, Palette, static_cast<size_t>(PaletteBytes))) {
    return false;
  }
  if (!RecordStoresRows(d) || RowBytes <= 0) return true;
  // Rows go top row first whatever the storage order.
  for (int32_t y = 0; y < Height; ++y) {
    if (Pixels) {
      if (!WriteBytes(stream, RowAddress(y), static_cast<size_t>(RowBytes))) return false;
    } else {
      for (int32_t i = 0; i < RowBytes; ++i) {
        if (!WriteField(stream, uint8_t{0})) return false;
      }
    }
  }
  return true;
}
