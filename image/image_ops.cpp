// FillImage and FlipVertical. The fill works out one pixel's bytes once and
// repeats them; the 8-, 16- and 32-bit layouts have fast repeaters chosen from a
// table by format, beside the generic byte-pattern repeater.
#include "image/image_ops.h"

#include <algorithm>
#include <cstring>

#include "core/cpu_features.h"
#include "core/error.h"
#include "graphics/geometry/color.h"
#include "image/pixel_math.h"
#include "image/pixel_rows.h"

namespace {
bool g_forceGenericPixelPath = false;
}  // namespace

void ForceGenericPixelPath(bool generic) {
  g_forceGenericPixelPath = generic;
}

bool GenericPixelPathForced() {
  return g_forceGenericPixelPath;
}

namespace {

// One pixel's bytes, and for sub-byte formats the byte that repeats them.
struct FillJob {
  uint8_t Pattern[16];    // the bytes of one pixel (one byte below 8 bits per pixel)
  uint32_t PatternBytes;  // 1..16
  uint32_t Value;         // the pixel value for formats of at most 32 bits
  int32_t Pixels;         // pixels per row (bytes per row below 8 bits per pixel)
};

using FillKernel = void (*)(const FillJob& job, uint8_t* row);

void FillGeneric(const FillJob& job, uint8_t* row) {
  for (int32_t x = 0; x < job.Pixels; ++x) {
    std::memcpy(row + size_t(x) * job.PatternBytes, job.Pattern, job.PatternBytes);
  }
}

void Fill8(const FillJob& job, uint8_t* row) {
  std::memset(row, job.Pattern[0], size_t(job.Pixels));
}

// The count is read once: the row's bytes may alias the job, and a count read
// anew after every store would keep the loop from being vectorised.
DF_VECTOR_CLONES void Fill16(const FillJob& job, uint8_t* row) {
  const auto v = static_cast<uint16_t>(job.Value);
  const int32_t count = job.Pixels;
  for (int32_t x = 0; x < count; ++x) std::memcpy(row + 2 * size_t(x), &v, 2);
}

DF_VECTOR_CLONES void Fill32(const FillJob& job, uint8_t* row) {
  const uint32_t v = job.Value;
  const int32_t count = job.Pixels;
  for (int32_t x = 0; x < count; ++x) std::memcpy(row + 4 * size_t(x), &v, 4);
}

struct FillEntry {
  int32_t Format;
  FillKernel Kernel;
};

constexpr FillEntry kFastFills[] = {
    {pixel_format::Grey8, Fill8},     {pixel_format::Index8, Fill8},
    {pixel_format::Grey16, Fill16},   {pixel_format::R5G5B5, Fill16},
    {pixel_format::R5G6B5, Fill16},   {pixel_format::R8G8B8A8, Fill32},
    {pixel_format::A8R8G8B8, Fill32}, {pixel_format::B8G8R8A8, Fill32},
    {pixel_format::A8B8G8R8, Fill32}, {pixel_format::Grey32, Fill32},
};

// Works out the pixel bytes of the colour; false for layouts that are not filled.
bool MakeFillJob(const FormatDescriptor& d, const C_Color& color, int32_t width, FillJob& job) {
  job = FillJob{};
  const float components[4] = {color.Red, color.Green, color.Blue, color.Alpha};
  const uint32_t bpp = d.BitsPerPixel;
  job.Pixels = width;
  if ((d.ComponentType == ComponentBit || d.ComponentType == ComponentInteger) && bpp <= 32) {
    uint32_t v = 0;
    if (d.ChannelCount == 1) {
      const uint32_t wide = TruncToU32(double(components[0]) * 4294967295.0);
      v = d.Bits[0] >= 32 ? wide : wide >> (32 - d.Bits[0]);
    } else {
      for (int c = 0; c < 4; ++c) {
        if (d.Bits[c] == 0) continue;
        const uint32_t byte = std::min<uint32_t>(TruncToU32(double(components[c]) * 255.0), 255);
        v |= (byte >> (8 - d.Bits[c])) << d.Shift[c];
      }
    }
    job.Value = v;
    if (bpp < 8) {
      uint8_t b = 0;
      if (bpp == 1) b = v ? 0xFF : 0x00;
      if (bpp == 2) b = uint8_t(v | v << 2 | v << 4 | v << 6);
      if (bpp == 4) b = uint8_t(v | v << 4);
      job.Pattern[0] = b;
      job.PatternBytes = 1;
      job.Pixels = static_cast<int32_t>(RowBytesFor(width, d));
      return true;
    }
    job.PatternBytes = bpp / 8;
    for (uint32_t i = 0; i < job.PatternBytes; ++i) job.Pattern[i] = uint8_t(v >> (8 * i));
    return true;
  }
  if (d.ComponentType == ComponentInteger) {  // 48 and 64 bits: 16-bit components
    for (int c = 0; c < 4; ++c) {
      if (d.Bits[c] == 0) continue;
      const uint32_t c16 = std::min<uint32_t>(TruncToU32(double(components[c]) * 65535.0), 65535);
      const auto value = static_cast<uint16_t>(c16 >> (16 - d.Bits[c]));
      std::memcpy(job.Pattern + d.Shift[c] / 8, &value, 2);
    }
    job.PatternBytes = bpp / 8;
    return true;
  }
  if (d.ComponentType == ComponentFloat) {
    for (int c = 0; c < 4; ++c) {
      if (d.Bits[c] == 0) continue;
      std::memcpy(job.Pattern + d.Shift[c] / 8, &components[c], 4);
    }
    job.PatternBytes = bpp / 8;
    return true;
  }
  return false;  // 64-bit float grey: not filled
}

}  // namespace

namespace {

FillKernel ChooseFill(int32_t format) {
  FillKernel kernel = FillGeneric;
  if (!g_forceGenericPixelPath) {
    for (const FillEntry& entry : kFastFills) {
      if (entry.Format == format) kernel = entry.Kernel;
    }
  }
  return kernel;
}

// The checks both fills make; nothing to fill is true with fill false.
bool CanFill(const C_Image* image, FormatDescriptor& d, bool& fill) {
  fill = false;
  if (!image) return Fail(ErrorMissingArgument);
  if (!DescribeFormat(image->Format, d)) return Fail(ErrorNoFormat);
  if (d.BitsPerPixel == 0) return true;  // a placeholder: no pixels to fill
  if (!PixelsCover(*image, d)) return Fail(ErrorMissingArgument);
  fill = image->Width > 0 && image->Height > 0;
  return true;
}

}  // namespace

bool FillImage(C_Image* image, const C_Color& color) {
  FormatDescriptor d;
  bool fill = false;
  if (!CanFill(image, d, fill)) return false;
  FillJob job;
  if (!fill || !MakeFillJob(d, color, image->Width, job)) return true;
  const FillKernel kernel = ChooseFill(image->Format);
  // Row by row, so that the padding of a wider pitch is left alone; packed rows
  // are filled as one long row.
  if (image->Pitch == int32_t(RowBytesFor(image->Width, d)) && d.BitsPerPixel >= 8) {
    job.Pixels = static_cast<int32_t>(int64_t(image->Width) * image->Height);
    kernel(job, image->Pixels);
    return true;
  }
  uint8_t* row = image->Pixels;
  for (int32_t y = 0; y < image->Height; ++y, row += image->Pitch) kernel(job, row);
  return true;
}

bool FillImageArea(C_Image* image, const PixelRect& area, const C_Color& color) {
  FormatDescriptor d;
  bool fill = false;
  if (!CanFill(image, d, fill)) return false;
  const PixelRect cut{std::max(area.X1, 0), std::max(area.Y1, 0), std::min(area.X2, image->Width),
                      std::min(area.Y2, image->Height)};
  if (!fill || cut.Empty()) return true;
  const bool wholeRows = cut.X1 == 0 && cut.X2 == image->Width;
  if (d.BitsPerPixel % 8 != 0 && !wholeRows) return Fail(ErrorNoFormat);  // not byte-aligned
  FillJob job;
  if (!MakeFillJob(d, color, cut.X2 - cut.X1, job)) return true;
  const FillKernel kernel = ChooseFill(image->Format);
  const size_t offset = size_t(cut.X1) * (d.BitsPerPixel / 8);
  for (int32_t y = cut.Y1; y < cut.Y2; ++y) kernel(job, image->RowAddress(y) + offset);
  return true;
}

bool FlipVertical(C_Image* image) {
  if (!image) return Fail(ErrorMissingArgument);
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d)) return Fail(ErrorNoFormat);
  if (d.BitsPerPixel == 0) return true;
  if (!PixelsCover(*image, d)) return Fail(ErrorMissingArgument);
  // The pixel bytes of a row (whole bytes for sub-byte formats), exchanged in place.
  const size_t bytes = RowBytesFor(image->Width, d);
  for (int32_t i = 0; i < image->Height / 2; ++i) {
    uint8_t* top = image->Pixels + size_t(i) * size_t(image->Pitch);
    uint8_t* bottom = image->Pixels + size_t(image->Height - 1 - i) * size_t(image->Pitch);
    std::swap_ranges(top, top + bytes, bottom);
  }
  return true;
}
