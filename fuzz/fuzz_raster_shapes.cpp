// Draws shapes chosen by the input (pixel, line, rectangle, circle, span fill)
// with arbitrary coordinates, colours, opacity, viewport and clip onto small
// images of several depths and row orders, surrounded by guard pixels that must
// come out untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/vector2d.h"
#include "graphics/geometry/circle.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/shapes.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/pixel_format.h"
#include "image/surface.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // Mostly small coordinates around the image, sometimes any float bit pattern.
  float Coordinate() {
    const uint8_t kind = Byte();
    if (kind < 200) return static_cast<float>(static_cast<int8_t>(Byte())) / 4.0f;
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = (bits << 8) | Byte();
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
  }
  float Unit() { return static_cast<float>(Byte()) / 200.0f - 0.1f; }
  bool More() const { return pos_ < size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

constexpr int32_t kGuard = 4;
constexpr uint8_t kGuardByte = 0xA5;

C_Rect ReadRect(Input& in) {
  const float x1 = in.Coordinate(), y1 = in.Coordinate(), x2 = in.Coordinate(),
              y2 = in.Coordinate();
  const uint8_t anchor1 = in.Byte(), anchor2 = in.Byte();
  return C_Rect(x1, y1, x2, y2, anchor1, anchor2,
                C_Vector2D(in.Coordinate(), in.Coordinate(), in.Byte()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  const int32_t formats[] = {pixel_format::Grey8,    pixel_format::R5G6B5, pixel_format::A8R8G8B8,
                             pixel_format::R8G8B8A8, pixel_format::R8G8B8, pixel_format::Grey1};
  const uint8_t setup = in.Byte();
  const int32_t format = formats[setup % 6];
  const int32_t width = 1 + in.Byte() % 24, height = 1 + in.Byte() % 24;
  const bool bottomUp = (setup & 0x10) != 0, withMask = (setup & 0x20) != 0;

  // The image the shapes see is a window into a larger block whose border must
  // stay as it was: an attached pixel block with the guard rows and columns around.
  FormatDescriptor d;
  DescribeFormat(format, d);
  const int32_t bytes = d.BytesPerPixel;
  const int32_t pitch = (width + 2 * kGuard) * bytes;
  const int32_t rows = height + 2 * kGuard;
  uint8_t* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(pitch * rows)));
  uint8_t* maskBlock =
      static_cast<uint8_t*>(std::malloc(static_cast<size_t>((width + 2 * kGuard) * rows)));
  std::memset(block, kGuardByte, static_cast<size_t>(pitch * rows));
  std::memset(maskBlock, kGuardByte, static_cast<size_t>((width + 2 * kGuard) * rows));
  C_Image image, mask;
  image.AttachPixels(width, pitch, height, format, pixel_format::None,
                     block + kGuard * pitch + kGuard * bytes);
  image.BottomUp = bottomUp ? 1 : 0;
  mask.AttachPixels(width, width + 2 * kGuard, height, pixel_format::Grey8, pixel_format::None,
                    maskBlock + kGuard * (width + 2 * kGuard) + kGuard);
  mask.BottomUp = image.BottomUp;
  {
    C_Surface surface(&image);
    if (withMask) surface.SetChannel(&mask, kAlphaChannel);
    for (int shapes = 0; shapes < 8 && in.More(); ++shapes) {
      const uint8_t op = in.Byte();
      const C_Color color(in.Unit(), in.Unit(), in.Unit(), in.Unit());
      C_Rect viewport = ReadRect(in), clip = ReadRect(in);
      const C_Rect* v = (op & 0x10) ? &viewport : nullptr;
      const C_Rect* c = (op & 0x20) ? &clip : nullptr;
      switch (op % 5) {
        case 0:
          DrawPixel(&surface, C_Vector2D(in.Coordinate(), in.Coordinate()), color, v, c);
          break;
        case 1: {
          const C_Vector2D from(in.Coordinate(), in.Coordinate());
          DrawLine(&surface, from, C_Vector2D(in.Coordinate(), in.Coordinate()), color, v, c);
          break;
        }
        case 2: {
          const C_Rect r = ReadRect(in);
          DrawRectangle(&surface, r, color, v, c, in.Byte() & 1, in.Coordinate());
          break;
        }
        case 3: {
          const C_Vector2D centre(in.Coordinate(), in.Coordinate());
          DrawCircle(&surface, C_Circle(centre, in.Coordinate()), color, v, c, in.Byte() & 1);
          break;
        }
        default:
          FillSpans(&surface, color, v, c);
          break;
      }
    }
  }
  // Every byte outside the window (and, for the mask, outside its window) is intact.
  for (int32_t y = 0; y < rows; ++y)
    for (int32_t x = 0; x < pitch; ++x) {
      const bool inside =
          y >= kGuard && y < kGuard + height && x >= kGuard * bytes && x < (kGuard + width) * bytes;
      if (!inside && block[y * pitch + x] != kGuardByte) __builtin_trap();
    }
  const int32_t maskPitch = width + 2 * kGuard;
  for (int32_t y = 0; y < rows; ++y)
    for (int32_t x = 0; x < maskPitch; ++x) {
      const bool inside = y >= kGuard && y < kGuard + height && x >= kGuard && x < kGuard + width;
      if (!inside && maskBlock[y * maskPitch + x] != kGuardByte) __builtin_trap();
      if (inside && !withMask && maskBlock[y * maskPitch + x] != kGuardByte) __builtin_trap();
    }
  std::free(block);
  std::free(maskBlock);
  return 0;
}
