#include "graphics/raster/raster_target.h"

#include <algorithm>
#include <cmath>

#include "core/error.h"
#include "graphics/geometry/rect.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

int32_t SaturateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

bool DecodeRasterImage(C_Image* image, RasterImage& view) {
  view = RasterImage{};
  if (image == nullptr || image->Pixels == nullptr || image->Width <= 0 || image->Height <= 0)
    return false;
  if (!DescribeFormat(image->Format, view.format) || view.format.BitsPerPixel == 0) return false;
  // The buffer must hold every row the size claims: a hand-built or half-created
  // image may say otherwise, and the kernels trust these rows.
  if (!PixelsCover(*image, view.format)) return false;
  view.image = image;
  static_cast<PixelView&>(view) = RowsOf(*image);
  return true;
}

bool OpenRasterTarget(C_Surface* surface, RasterTarget& target) {
  target = RasterTarget{};
  if (surface == nullptr) return false;
  C_Image* color = surface->FindImage(kColorChannel);
  if (color == nullptr || color->Pixels == nullptr) return false;
  if (!DecodeRasterImage(color, target.color)) return Fail(ErrorNoFormat);
  RasterImage mask;
  if (DecodeRasterImage(surface->FindImage(kAlphaChannel), mask) && mask.format.BitsPerPixel == 8 &&
      mask.Width >= target.color.Width && mask.Height >= target.color.Height) {
    target.mask = mask;
  }
  return true;
}

PixelRect ComputeBounds(int32_t targetWidth, int32_t targetHeight, const C_Rect* viewport,
                        const C_Rect* clip) {
  PixelRect b{0, 0, targetWidth, targetHeight};
  if (viewport != nullptr) {
    b = {SaturateToInt(viewport->X1), SaturateToInt(viewport->Y1), SaturateToInt(viewport->X2),
         SaturateToInt(viewport->Y2)};
  }
  b.X1 = std::max(b.X1, 0);
  b.Y1 = std::max(b.Y1, 0);
  b.X2 = std::min(b.X2, targetWidth);
  b.Y2 = std::min(b.Y2, targetHeight);
  if (clip != nullptr) {
    b.X1 = std::max(b.X1, SaturateToInt(clip->X1));
    b.Y1 = std::max(b.Y1, SaturateToInt(clip->Y1));
    b.X2 = std::min(b.X2, SaturateToInt(clip->X2));
    b.Y2 = std::min(b.Y2, SaturateToInt(clip->Y2));
  }
  return b;
}
