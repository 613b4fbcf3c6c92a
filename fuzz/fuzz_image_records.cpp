// Feeds arbitrary bytes to the image and surface record readers, then exercises
// what loaded: saving it again, converting, filling and flipping its images.
#include <cstddef>
#include <cstdint>

#include "core/byte_stream.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/surface.h"

namespace {

void Exercise(C_Image* image) {
  if (!image || image->PixelBytes > (1 << 20)) return;
  ByteStream* out = NewMemoryWriter();
  image->Save(out, 0);
  FreeStream(out);
  C_Image converted;
  C_Image::ConvertInto(pixel_format::A8R8G8B8, &converted, image);
  C_Image::ConvertInto(pixel_format::RGBAFloat, &converted, image);
  C_Image copy;
  image->CopyTo(&copy);
  FlipVertical(&copy);
  FillImage(&copy, C_Color(0.25f, 0.5f, 0.75f, 1.0f));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    ByteStream* stream = NewMemoryReader(data, size);
    C_Image image;
    if (image.Load(stream, 0)) Exercise(&image);
    FreeStream(stream);
  }
  {
    ByteStream* stream = NewMemoryReader(data, size);
    C_Surface surface;
    surface.Load(stream, 0);
    for (int32_t key = 0; key < 4; ++key) Exercise(surface.FindImage(key));
    ByteStream* out = NewMemoryWriter();
    surface.Save(out, 0);
    FreeStream(out);
    FreeStream(stream);
  }
  return 0;
}
