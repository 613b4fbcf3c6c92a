// The stored record of a C_Image: version, header words, optional palette and the
// pixel rows. Every size the record claims is checked against the format, against
// 32-bit arithmetic and against the bytes left in the stream before anything is
// allocated.
#include <algorithm>
#include <cstring>

#include "core/error.h"
#include "core/memory_counter.h"
#include "core/record_stream.h"
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
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  if (LoadFields(stream, context, *this)) return true;
  // Whatever was allocated goes; the image is left empty and usable.
  Release();
  Init();
  return Fail();
}

bool C_Image::Save(ByteStream* stream, int32_t context) {
  FormatDescriptor d;
  if (!DescribeFormat(Format, d)) return Fail(ErrorNoFormat);
  return SaveRecord(stream, context, *this);
}

// The version, seven header words (PixelBytes, Width, Height, Pitch, BitsPerPixel,
// Format, PaletteBytes), the palette's format, entry size and bytes when there is
// one, then the pixel rows when the format carries them.
bool C_Image::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  const bool reading = v.Reading();
  // An image without pixels (a failed Create) is stored with zero rows, and its
  // buffer size is given as those rows so that the record reads back.
  uint32_t pixelBytes = static_cast<uint32_t>(Pixels ? PixelBytes : int64_t{Pitch} * Height);
  uint32_t width = static_cast<uint32_t>(Width), height = static_cast<uint32_t>(Height),
           pitch = static_cast<uint32_t>(Pitch), bits = static_cast<uint32_t>(BitsPerPixel),
           paletteBytes = Palette && PaletteBytes > 0 ? static_cast<uint32_t>(PaletteBytes) : 0;
  int32_t format = Format;
  if (!v.Field("PixelBytes", pixelBytes) || !v.Field("Width", width) ||
      !v.Field("Height", height) || !v.Field("Pitch", pitch) || !v.Field("BitsPerPixel", bits) ||
      !v.Field("Format", format, Shown::Code) || !v.Field("PaletteBytes", paletteBytes)) {
    return false;
  }
  if (static_cast<int32_t>(paletteBytes) > 0) {
    uint32_t paletteFormat = static_cast<uint32_t>(PaletteFormat);
    uint32_t entryBits = static_cast<uint32_t>(PaletteEntryBits);
    if (!v.Field("PaletteFormat", paletteFormat, Shown::Code) ||
        !v.Field("PaletteEntryBits", entryBits)) {
      return false;
    }
    if (reading) {
      if (!v.CanHold(paletteBytes)) return false;
      Palette = static_cast<uint8_t*>(CountedMalloc(paletteBytes));
      if (!Palette) return Fail(ErrorAllocation);
      PaletteBytes = static_cast<int32_t>(paletteBytes);
    }
    if (!v.Bytes("palette", Palette, paletteBytes)) return false;
    PaletteFormat = static_cast<int32_t>(paletteFormat);
    PaletteEntryBits = static_cast<int32_t>(entryBits);
  }

  FormatDescriptor d;
  if (!DescribeFormat(format, d)) {
    if (reading) v.Refuse("the pixel format has no description");
    return Fail(ErrorNoFormat);
  }
  if (reading && !TakeHeader(v, d, pixelBytes, width, height, pitch, bits, format)) return false;
  if (!RecordStoresRows(d) || RowBytes <= 0) return true;
  PixelRowsRef rows;
  rows.Base = Pixels;
  rows.Rows = static_cast<uint32_t>(Height);
  rows.RowBytes = static_cast<uint32_t>(RowBytes);
  rows.Pitch = static_cast<uint32_t>(Pitch);
  rows.BottomUp = BottomUp != 0;
  rows.Width = Width;
  rows.Format = Format;
  return v.PixelRows("pixels", rows);
}

// Checks the header words read against the format, against 32-bit arithmetic
// and against the bytes left before anything is allocated, then takes them.
bool C_Image::TakeHeader(RecordVisitor& v, const FormatDescriptor& d, uint32_t pixelBytes,
                         uint32_t width, uint32_t height, uint32_t pitch, uint32_t bits,
                         int32_t format) {
  Format = format;
  if (d.BitsPerPixel == 0) {
    // A placeholder format: an image without pixels.
    Width = static_cast<int32_t>(width <= INT32_MAX ? width : 0);
    Height = static_cast<int32_t>(height <= INT32_MAX ? height : 0);
    return true;
  }
  if (width > uint32_t(kMaxStoredImageSide) || height > uint32_t(kMaxStoredImageSide)) {
    return v.Refuse("the image is larger than 16384 pixels on a side");
  }
  if (bits != d.BitsPerPixel) return v.Refuse("BitsPerPixel does not match the pixel format");
  const uint64_t rowBytes = (uint64_t(width) * bits + 7) / 8;
  if (pitch < rowBytes || pitch > rowBytes + kMaxPitchPadding) {
    return v.Refuse("Pitch is shorter than a row or pads it by more than 64 bytes");
  }
  // The rows must fit in the buffer; a larger claimed buffer (spare room left by a
  // grow-only policy) is not data, so no more than Pitch x Height is allocated.
  const uint64_t span = height == 0 ? 0 : uint64_t(pitch) * (height - 1) + rowBytes;
  if (pixelBytes < span) return v.Refuse("the rows do not fit in PixelBytes");
  const uint64_t allocation = std::min<uint64_t>(pixelBytes, uint64_t(pitch) * height);
  if (allocation > uint64_t(INT32_MAX)) return v.Refuse("the pixel buffer is too large");
  if (RecordStoresRows(d)) {
    if (!v.CanHold(rowBytes * height)) return false;
  } else if (allocation > kMaxUnstoredPixelBytes) {
    return v.Refuse("the pixel buffer of a format without stored rows is too large");
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
  return true;
}
