#include "graphics/raster/draw_options.h"

DrawOptions::DrawOptions()
    : Scale(1, 1),
      ColorKey(1, 0, 1, 1),
      Tint(1, 1, 1, 1),
      Offset(0, 0, 0, 0),
      Contrast(0, 0, 0, 0) {}
