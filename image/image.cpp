// C_Image: life cycle, sizing, attaching foreign pixels, copying and conversion.
// The stored record is in image_record.cpp.
#include "image/image.h"

#include <cstring>
#include <new>

#include "core/error.h"
#include "core/memory_counter.h"
#include "image/image_ops.h"

namespace {

// A row may hold at most 2^24 bits: the row size is worked out in 32 bits with the
// width scaled by 256.
constexpr uint64_t kMaxRowBits = uint64_t{1} << 24;

// ceil(width x bits / 8) through the 256-scaled 32-bit arithmetic; the caller has
// checked that the row fits in 2^24 bits.
int32_t PackedRowBytes(int32_t width, uint32_t bits) {
  const uint32_t t = static_cast<uint32_t>(width) * 256u * bits / 8u;
  return static_cast<int32_t>(t / 256u + (t % 256u != 0 ? 1u : 0u));
}

// A new counted buffer (on a cache-line boundary) holding a copy of bytes; null
// when allocation fails.
uint8_t* CountedCopy(const uint8_t* block, int32_t bytes) {
  auto* copy = static_cast<uint8_t*>(CountedLineMalloc(static_cast<size_t>(bytes)));
  if (copy) std::memcpy(copy, block, static_cast<size_t>(bytes));
  return copy;
}

}  // namespace

C_Image::~C_Image() {
  Release();
}

void C_Image::Init() {
  Pixels = nullptr;
  Width = 0;
  Height = 0;
  BitsPerPixel = 0;
  Pitch = 0;
  Format = pixel_format::None;
  PixelBytes = 0;
  Palette = nullptr;
  PaletteBytes = 0;
  PaletteFormat = pixel_format::None;
  PaletteEntryBits = 0;
  ExternalPixels = 0;
  BottomUp = 0;
  RowBytes = 0;
  AllocPolicy = AllocExact;
}

void C_Image::Release() {
  // The pointers are nulled so that a second Release (or the destructor after a
  // Release without Init) cannot free them twice; the sizes stay.
  if (!ExternalPixels) {
    CountedFree(Pixels, static_cast<size_t>(PixelBytes));
    Pixels = nullptr;
  }
  CountedFree(Palette, static_cast<size_t>(PaletteBytes));
  Palette = nullptr;
}

void C_Image::FreePixels() {
  if (!ExternalPixels) CountedFree(Pixels, static_cast<size_t>(PixelBytes));
  Pixels = nullptr;
  PixelBytes = 0;
}

void C_Image::FreePalette() {
  CountedFree(Palette, static_cast<size_t>(PaletteBytes));
  Palette = nullptr;
  PaletteBytes = 0;
}

C_Object* C_Image::Clone() {
  auto* copy = new (std::nothrow) C_Image();
  if (!copy) return nullptr;
  CopyTo(copy);
  return copy;
}

bool C_Image::CopyTo(C_Image* target) const {
  if (!target) return Fail(ErrorMissingArgument);
  if (target == this) return true;
  // Whatever the target held is released first, so that copying into a used
  // image does not leak its buffers.
  target->FreePixels();
  target->FreePalette();
  target->ExternalPixels = 0;

  if (Pixels && PixelBytes > 0) {
    target->Pixels = CountedCopy(Pixels, PixelBytes);
    if (!target->Pixels) return Fail(ErrorAllocation);
  }
  target->BitsPerPixel = BitsPerPixel;
  target->Width = Width;
  target->Height = Height;
  target->Format = Format;
  target->Pitch = Pitch;
  target->PixelBytes = target->Pixels ? PixelBytes : 0;

  if (Palette && PaletteBytes > 0) {
    target->Palette = CountedCopy(Palette, PaletteBytes);
    if (!target->Palette) return Fail(ErrorAllocation);
    target->PaletteBytes = PaletteBytes;
  }
  target->PaletteFormat = PaletteFormat;
  target->PaletteEntryBits = PaletteEntryBits;
  target->RowBytes = RowBytes;
  return true;
}

bool C_Image::Create(int32_t width, int32_t format, int32_t height, int32_t paletteFormat) {
  if (ExternalPixels) return false;
  FormatDescriptor d;
  if (!DescribeFormat(format, d)) return Fail(ErrorNoFormat);
  // Negative sizes and rows of 2^24 bits or more would break the 32-bit size
  // arithmetic (width x 256 x bits must stay below 2^32).
  if (width < 0 || height < 0 || uint64_t(width) * d.BitsPerPixel >= kMaxRowBits) {
    return Fail(ErrorAllocation);
  }
  const int32_t pitch = PackedRowBytes(width, d.BitsPerPixel);
  const uint64_t needed64 = uint64_t(pitch) * uint64_t(height);
  if (needed64 > uint64_t(INT32_MAX)) return Fail(ErrorAllocation);
  const int32_t needed = static_cast<int32_t>(needed64);

  Width = width;
  BitsPerPixel = static_cast<int32_t>(d.BitsPerPixel);
  Height = height;
  Pitch = pitch;
  RowBytes = pitch;
  Format = format;

  const uint16_t policy = AllocPolicy & 0x0F;
  bool reallocate = (policy == AllocExact && needed != PixelBytes) ||
                    (policy == AllocGrow && needed > PixelBytes);
  // Never keep a buffer too small for the new size, whatever the policy says: the
  // pixel routines would write past its end.
  if (needed > PixelBytes || (!Pixels && needed > 0)) reallocate = true;
  if (reallocate) {
    FreePixels();
    if (needed > 0) {
      // Line-aligned, so that rows shared among threads meet at line boundaries.
      Pixels = static_cast<uint8_t*>(CountedLineMalloc(static_cast<size_t>(needed)));
      if (!Pixels) return Fail(ErrorAllocation);
      PixelBytes = needed;
    }
  }
  ExternalPixels = 0;
  PaletteFormat = paletteFormat;

  if (paletteFormat == pixel_format::None) {
    FreePalette();
    return true;
  }
  FormatDescriptor p;
  if (!DescribeFormat(paletteFormat, p) || p.BitsPerPixel == 0) {
    return Fail(ErrorNoPaletteFormat);
  }
  PaletteEntryBits = static_cast<int32_t>(p.BitsPerPixel);
  const int32_t paletteBytes = 256 * p.BytesPerPixel;
  if (paletteBytes == PaletteBytes && Palette) return true;
  FreePalette();
  Palette = static_cast<uint8_t*>(CountedMalloc(static_cast<size_t>(paletteBytes)));
  if (!Palette) return Fail(ErrorAllocation);
  PaletteBytes = paletteBytes;
  return true;
}

bool C_Image::CreateFilled(int32_t width, int32_t format, int32_t height, const C_Color& color) {
  if (!Create(width, format, height, pixel_format::None)) return false;
  return FillImage(this, color);
}

bool C_Image::AttachPixels(int32_t width, int32_t pitch, int32_t height, int32_t format,
                           int32_t paletteFormat, void* data) {
  if (!data) return Fail(ErrorMissingArgument);
  FormatDescriptor d;
  if (!DescribeFormat(format, d)) return Fail(ErrorNoFormat);
  FormatDescriptor p;
  if (paletteFormat != pixel_format::None && !DescribeFormat(paletteFormat, p)) {
    return Fail(ErrorNoPaletteFormat);
  }
  // The block must hold every row: a pitch shorter than a row or a size beyond
  // 32 bits would make the pixel routines reach past it.
  if (width < 0 || height < 0 || uint64_t(width) * d.BitsPerPixel >= kMaxRowBits) {
    return Fail(ErrorMissingArgument);
  }
  const int32_t rowBytes = PackedRowBytes(width, d.BitsPerPixel);
  if (pitch < rowBytes || uint64_t(pitch) * uint64_t(height) > uint64_t(INT32_MAX)) {
    return Fail(ErrorMissingArgument);
  }
  FreePixels();
  FreePalette();
  Width = width;
  Height = height;
  Pitch = pitch;
  Format = format;
  BitsPerPixel = static_cast<int32_t>(d.BitsPerPixel);
  PixelBytes = pitch * height;
  RowBytes = rowBytes;
  Pixels = static_cast<uint8_t*>(data);
  ExternalPixels = 1;
  BottomUp = 0;
  AllocPolicy = AllocExact;
  PaletteFormat = paletteFormat;
  if (paletteFormat != pixel_format::None) PaletteEntryBits = static_cast<int32_t>(p.BitsPerPixel);
  return true;
}

bool C_Image::ConvertInto(int32_t format, C_Image* target, const C_Image* source) {
  if (!target || !source) return Fail(ErrorMissingArgument);
  FormatDescriptor s;
  FormatDescriptor t;
  if (!DescribeFormat(source->Format, s) || s.BitsPerPixel == 0) return Fail(ErrorNoFormat);
  if (!DescribeFormat(format, t) || t.BitsPerPixel == 0) return Fail(ErrorNoFormat);
  // Re-creating the source as its own target would free the pixels being read.
  if (target == source) {
    if (format == source->Format) return true;
    return Fail(ErrorMissingArgument);
  }
  if (!target->Create(source->Width, format, source->Height, pixel_format::None)) return Fail();
  return ConvertPixels(target, source);
}
