#include "graphics/raster/raster_target.h"

#include <algorithm>
#include <cmath>

#include "core/error.h"
#include "graphics/geometry/rect.h"
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
  const int64_t rowBytes = (int64_t{image->Width} * view.format.BitsPerPixel + 7) / 8;
  if (image->Pitch < rowBytes ||
      int64_t{image->Pitch} * (image->Height - 1) + rowBytes > int64_t{image->PixelBytes})
    return false;
  view.image = image;
  view.width = image->Width;
  view.height = image->Height;
  view.pitch = image->BottomUp ? -static_cast<intptr_t>(image->Pitch) : image->Pitch;
  view.firstRow = image->RowAddress(0);
  return true;
}

bool OpenRasterTarget(C_Surface* surface, RasterTarget& target) {
  target = RasterTarget{};
  if (surface == nullptr) return false;
  C_Image* color = surface->FindImage(1);
  if (color == nullptr || color->Pixels == nullptr) return false;
  if (!DecodeRasterImage(color, target.color)) return Fail(ErrorNoFormat);
  RasterImage mask;
  if (DecodeRasterImage(surface->FindImage(2), mask) && mask.format.BitsPerPixel == 8 &&
      mask.width >= target.color.width && mask.height >= target.color.height) {
    target.mask = mask;
  }
  return true;
}

RasterBounds ComputeBounds(int32_t targetWidth, int32_t targetHeight, const C_Rect* viewport,
                           const C_Rect* clip) {
  RasterBounds b{0, 0, targetWidth, targetHeight};
  if (viewport != nullptr) {
    b = {SaturateToInt(viewport->X1), SaturateToInt(viewport->Y1), SaturateToInt(viewport->X2),
         SaturateToInt(viewport->Y2)};
  }
  b.x1 = std::max(b.x1, 0);
  b.y1 = std::max(b.y1, 0);
  b.x2 = std::min(b.x2, targetWidth);
  b.y2 = std::min(b.y2, targetHeight);
  if (clip != nullptr) {
    b.x1 = std::max(b.x1, SaturateToInt(clip->X1));
    b.y1 = std::max(b.y1, SaturateToInt(clip->Y1));
    b.x2 = std::min(b.x2, SaturateToInt(clip->X2));
    b.y2 = std::min(b.y2, SaturateToInt(clip->Y2));
  }
  return b;
}
