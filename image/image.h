// C_Image: a block of pixels in one pixel format, with an optional 256-entry palette.
#pragma once

#include <cstdint>

#include "core/object.h"
#include "image/pixel_format.h"

class C_Color;

// Low four bits of AllocPolicy.
enum ImageAllocPolicy : uint16_t {
  AllocExact = 0,  // reallocate whenever the needed size differs
  AllocGrow = 1,   // reallocate only to grow
  AllocNever = 2,  // and every other value: keep the buffer whatever the size
};

// Largest width or height a stored image record may claim.
inline constexpr int32_t kMaxStoredImageSide = 16384;

class C_Image : public C_Object {
 public:
  C_Image() = default;
  C_Image(const C_Image&) = delete;
  C_Image& operator=(const C_Image&) = delete;
  ~C_Image() override;

  void Init() override;        // no buffers, sizes 0, both formats None, flags 0
  void Release() override;     // frees owned buffers (counted) without resetting fields
  C_Object* Clone() override;  // a new image given to CopyTo; null when out of memory
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Image; }
  // Deep copy into an empty image (pixels, palette and sizes; not BottomUp or
  // AllocPolicy). False with ErrorAllocation or ErrorCopy, then -1.
  virtual bool CopyTo(C_Image* target) const;

  // Sizes the image for width x height pixels of format with packed rows, reusing
  // the buffer as AllocPolicy allows, and gives it a palette unless paletteFormat
  // is None. False for external pixels (nothing recorded) and with ErrorNoFormat,
  // ErrorNoPaletteFormat or ErrorAllocation.
  bool Create(int32_t width, int32_t format, int32_t height,
              int32_t paletteFormat = pixel_format::None);
  // Create without palette, then FillImage with the colour.
  bool CreateFilled(int32_t width, int32_t format, int32_t height, const C_Color& color);
  // Makes the image use someone else's pixel block (never freed, never re-created).
  // False with ErrorMissingArgument for null data, ErrorNoFormat or
  // ErrorNoPaletteFormat for undescribed formats.
  bool AttachPixels(int32_t width, int32_t pitch, int32_t height, int32_t format,
                    int32_t paletteFormat, void* data);
  // Creates target in format with source's size and converts source's pixels into
  // it. False with ErrorMissingArgument (an image missing) or ErrorNoFormat
  // (a format undescribed), then -1.
  static bool ConvertInto(int32_t format, C_Image* target, const C_Image* source);

  // Address of picture row y, honouring BottomUp. No bounds check.
  uint8_t* RowAddress(int32_t y) const {
    const int32_t row = BottomUp ? Height - 1 - y : y;
    return Pixels + static_cast<intptr_t>(row) * Pitch;
  }

  uint8_t* Pixels = nullptr;                   // owned (counted) unless ExternalPixels
  int32_t Width = 0;                           // pixels per row
  int32_t Height = 0;                          // rows
  int32_t BitsPerPixel = 0;                    // from the format description
  int32_t Pitch = 0;                           // bytes from one row to the next, >= RowBytes
  int32_t Format = pixel_format::None;         // pixel-format code
  int32_t PixelBytes = 0;                      // size of the pixel buffer
  uint8_t* Palette = nullptr;                  // always owned (counted), or null
  int32_t PaletteBytes = 0;                    // size of the palette buffer
  int32_t PaletteFormat = pixel_format::None;  // format of the palette entries
  int32_t PaletteEntryBits = 0;                // bits per palette entry
  uint8_t ExternalPixels = 0;                  // 1: Pixels belong to someone else
  uint8_t BottomUp = 0;      // 1: row y lives at Pixels + (Height - 1 - y) * Pitch
  int32_t RowBytes = 0;      // bytes of pixel data per row: ceil(Width * bits / 8)
  uint16_t AllocPolicy = 0;  // low four bits: an ImageAllocPolicy

 private:
  void FreePixels();   // frees owned pixels, Pixels null, PixelBytes 0
  void FreePalette();  // frees the palette, Palette null, PaletteBytes 0
  bool TakeHeader(RecordVisitor& v, const FormatDescriptor& d, uint32_t pixelBytes, uint32_t width,
                  uint32_t height, uint32_t pitch, uint32_t bits, int32_t format);
};
