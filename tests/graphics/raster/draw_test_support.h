// Small pictures for the image-drawing tests: 32-bit surfaces with optional alpha
// or mask images, and pixel access by picture coordinates.
#pragma once

#include <cstdint>
#include <memory>

#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

namespace draw_test {

// An owned surface with an A8R8G8B8 colour image (and optionally an 8-bit key-2 image).
struct Picture {
  C_Surface surface;

  Picture(int32_t width, int32_t height, uint32_t fill = 0,
          int32_t format = pixel_format::A8R8G8B8) {
    auto* image = new C_Image;
    image->Create(width, format, height);
    surface.SetChannel(image, kColorChannel);
    if (image->BitsPerPixel != 32) return;
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) Set(x, y, fill);
    }
  }
  C_Image& Color() const { return *surface.FindImage(kColorChannel); }
  C_Image* Second() const { return surface.FindImage(kAlphaChannel); }
  uint32_t At(int32_t x, int32_t y) const {
    return reinterpret_cast<const uint32_t*>(Color().RowAddress(y))[x];
  }
  void Set(int32_t x, int32_t y, uint32_t v) {
    reinterpret_cast<uint32_t*>(Color().RowAddress(y))[x] = v;
  }
  // Adds an 8-bit key-2 image (alpha of a source, mask of a target) filled with value.
  void AddSecond(uint8_t value, int32_t width = -1, int32_t height = -1) {
    auto* image = new C_Image;
    image->Create(width < 0 ? Color().Width : width, pixel_format::Grey8,
                  height < 0 ? Color().Height : height);
    for (int32_t y = 0; y < image->Height; ++y) {
      for (int32_t x = 0; x < image->Width; ++x) image->RowAddress(y)[x] = value;
    }
    surface.SetChannel(image, kAlphaChannel);
  }
  uint8_t& SecondAt(int32_t x, int32_t y) { return Second()->RowAddress(y)[x]; }
};

// A distinct opaque colour for every source position.
inline uint32_t Tag(int32_t x, int32_t y) {
  return 0xFF000000u | (static_cast<uint32_t>(x + 1) << 16) | (static_cast<uint32_t>(y + 1) << 8) |
         0x5A;
}

// A source whose every pixel is Tag(x, y).
inline std::unique_ptr<Picture> Tagged(int32_t width, int32_t height) {
  auto p = std::make_unique<Picture>(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) p->Set(x, y, Tag(x, y));
  }
  return p;
}

}  // namespace draw_test
