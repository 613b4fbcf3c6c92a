// Window shapes: the rectangles of the region an 8-bit mask describes.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/geometry/pixel_rect.h"

class C_Image;
class C_Rect;
class C_Window;

// Scans the mask's rows top to bottom and each row left to right: a run of bytes
// equal to 255 becomes one rectangle one row high, shifted by trunc(offset.X1) and
// trunc(offset.Y1). Rows are read no further than their pixel bytes. False (ErrorNoFormat,
// then -1) for a mask without a format description, or ErrorMissingArgument for a null mask.
bool BuildWindowRegion(const C_Image* mask, const C_Rect& offset, std::vector<PixelRect>& rects);

// The region the window's last shape update built (empty before one).
std::vector<PixelRect> GetWindowRegion(const C_Window* window);
