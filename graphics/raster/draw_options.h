// DrawOptions: how one image draw maps, filters and colours its source. A plain
// record: callers keep one and change a few fields between draws.
#pragma once

#include <cstdint>

#include "core/vector2d.h"
#include "graphics/geometry/color.h"

struct DrawOptions {
  DrawOptions();

  C_Vector2D Scale;         // horizontal and vertical factors; (1, 1). Not > 0: nothing drawn
  float Angle = 0;          // rotation in degrees, clockwise on screen (y runs down)
  C_Vector2D Pivot;         // hot spot in source pixels, anchors against the source rect;
                            // placed at the drawing position, the image turns about it
  C_Vector2D Reserved;      // not read by the drawing routines
  uint8_t MirrorY = 0;      // 1: mirror vertically
  uint8_t MirrorX = 0;      // 1: mirror horizontally
  uint8_t WrapX = 0;        // 1: also draw shifted by the bounds' width; a blit tiles across
  uint8_t WrapY = 0;        // 1: the same vertically; a blit tiles down
  uint32_t UserValue = 0;   // not read here; copied with the rest
  uint8_t UserByte1 = 0;    // likewise
  uint8_t UserByte2 = 0;    // likewise
  float Opacity = 1;        // 0 (or NaN) draws nothing; below 1 blends; above 1 counts as 1
  uint32_t UserValue2 = 0;  // not read here
  int32_t Smooth = 0;       // non-zero: bilinear sampling when scaled or rotated
  uint32_t UserValue3 = 0;  // not read here
  C_Color ColorKey;         // (1, 0, 1, 1); source pixels equal to it (packed) are skipped
  uint8_t UseColorKey = 0;  // 1 enables ColorKey; set by a draw whose source has a key
  C_Color Tint;             // (1, 1, 1, 1); replaces the colour of every drawn pixel
  uint8_t UseTint = 0;      // 1 enables Tint
  C_Color Offset;           // (0, 0, 0, 0); added to red, green, blue (x 256 per channel)
  uint8_t UseOffset = 0;    // 1 enables Offset
  C_Color Contrast;         // (0, 0, 0, 0); per-channel factor (x 256) around 128
  uint8_t UseContrast = 0;  // 1 enables Contrast
};
