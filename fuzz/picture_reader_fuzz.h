// The body shared by the picture-reader fuzz targets: one reader over arbitrary
// bytes in memory. Besides what the sanitizers catch, it stops on a loaded image
// whose sizes disagree with its buffers, and on a failed load that leaves pixels
// behind or memory counted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/byte_stream.h"
#include "core/memory_counter.h"
#include "image/image.h"
#include "image/picture_readers.h"

using PictureReader = bool (*)(ByteStream* stream, C_Image* image);

inline int FuzzPictureReader(PictureReader read, const uint8_t* data, size_t size) {
  ByteStream* stream = NewMemoryReader(data, size);
  if (!stream) return 0;
  const uint64_t before = MemoryInUse;
  C_Image image;
  if (read(stream, &image)) {
    if (!image.Pixels || image.Width <= 0 || image.Height <= 0 || image.Width > kMaxPictureSide ||
        image.Height > kMaxPictureSide || image.PixelBytes != image.Pitch * image.Height ||
        image.RowBytes > image.Pitch) {
      __builtin_trap();
    }
    // Touch every pixel and palette byte so that the sanitizers see a short buffer.
    volatile uint32_t sum = 0;
    for (int32_t i = 0; i < image.PixelBytes; ++i) sum = sum + image.Pixels[i];
    for (int32_t i = 0; i < image.PaletteBytes; ++i) sum = sum + image.Palette[i];
  } else if (image.Pixels || image.Palette || MemoryInUse != before) {
    __builtin_trap();
  }
  FreeStream(stream);
  image.Release();
  image.Init();
  if (MemoryInUse != before) __builtin_trap();
  return 0;
}
