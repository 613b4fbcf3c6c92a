// A rectangle of whole pixels: X1 <= x < X2, Y1 <= y < Y2. Empty when X1 >= X2 or
// Y1 >= Y2. Drawable bounds, source areas and window regions all use it.
#pragma once

#include <cstdint>

struct PixelRect {
  int32_t X1 = 0;
  int32_t Y1 = 0;
  int32_t X2 = 0;  // exclusive
  int32_t Y2 = 0;  // exclusive

  bool Empty() const { return X1 >= X2 || Y1 >= Y2; }
  bool Contains(int32_t x, int32_t y) const { return x >= X1 && x < X2 && y >= Y1 && y < Y2; }
  bool operator==(const PixelRect&) const = default;
};
