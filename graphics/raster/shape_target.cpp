#include "graphics/raster/internal/shape_target.h"

#include "core/error.h"
#include "graphics/geometry/color.h"
#include "image/pixel_format.h"

namespace shape_detail {

bool OpenShapeTarget(C_Surface* surface, const C_Color& color, const C_Rect* viewport,
                     const C_Rect* clip, ShapeTarget& out) {
  out = ShapeTarget{};
  if (!OpenRasterTarget(surface, out.target)) return Fail();
  const RasterImage& image = out.target.color;
  const FormatDescriptor& format = image.format;
  out.bounds = ComputeBounds(image.Width, image.Height, viewport, clip);
  // Palette indexes, grey and packed RGB of 8, 16 and 32 bits are integer pixels;
  // bit-sized and float layouts would need their own writers and are left alone.
  if (format.ComponentType == ComponentInteger &&
      (format.BitsPerPixel == 8 || format.BitsPerPixel == 16 || format.BitsPerPixel == 32)) {
    out.pixelBytes = static_cast<int32_t>(format.BitsPerPixel / 8);
    out.color = PackColor(format.Format, color);
  }
  out.blendable =
      out.pixelBytes == 4 && format.Bits[0] == 8 && format.Bits[1] == 8 && format.Bits[2] == 8;
  for (int c = 0; c < 3; ++c) out.shift[c] = format.Shift[c];
  return true;
}

void StoreSpan(const ShapeTarget& t, int32_t y, int32_t x, int32_t count) {
  uint8_t* row = t.target.color.Row(y);
  WithPixelType(t.pixelBytes,
                [&](auto pixel) { StoreRow<decltype(pixel)>(row, x, count, t.color); });
}

}  // namespace shape_detail
