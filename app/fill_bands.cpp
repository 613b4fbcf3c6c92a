#include "app/fill_bands.h"

#include <atomic>

#include "image/image.h"
#include "image/image_ops.h"
#include "image/pixel_rows.h"
#include "thread/worker_pool.h"

bool FillImageInBands(C_Image* image, const C_Color& color) {
  FormatDescriptor d;
  if (!image || !DescribeFormat(image->Format, d) || !image->Pixels || !PixelsCover(*image, d)) {
    return FillImage(image, color);
  }
  std::atomic<bool> filled{true};
  auto band = [image, &color, &filled](int32_t first, int32_t end) {
    C_Image rows;  // a view of the band's rows; the pixels stay the image's
    const bool ok = rows.AttachPixels(image->Width, image->Pitch, end - first, image->Format,
                                      pixel_format::None,
                                      image->Pixels + size_t(first) * size_t(image->Pitch)) &&
                    FillImage(&rows, color);
    if (!ok) filled.store(false, std::memory_order_relaxed);
  };
  Workers.Bands(image->Height, band);
  return filled.load(std::memory_order_relaxed);
}
