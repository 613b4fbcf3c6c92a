// Whole-image operations: fill with a colour, vertical flip, conversion between
// pixel formats.
#pragma once

#include "graphics/geometry/pixel_rect.h"
#include "image/image.h"

class C_Color;

// Sets every pixel to the colour. False with ErrorNoFormat for an undescribed format.
bool FillImage(C_Image* image, const C_Color& color);
// Sets the pixels of picture rows [Y1, Y2) and columns [X1, X2) of area (cut to the
// image) to the colour. False with ErrorNoFormat for an undescribed format, or for
// a part of the rows of a format whose pixels are not whole bytes.
bool FillImageArea(C_Image* image, const PixelRect& area, const C_Color& color);
// Exchanges rows top to bottom. False with ErrorNoFormat for an undescribed format.
bool FlipVertical(C_Image* image);
// Writes source's pixels into target in target's format; both have the same size.
// False with ErrorNoFormat for an undescribed format, and for combinations without a rule.
bool ConvertPixels(C_Image* target, const C_Image* source);
// ConvertPixels for picture rows [first, end) alone (cut to the images), on the
// calling thread: for row work that brings an image's copy up to date band by
// band while the rows it has just made are in cache. The same checks and failures.
bool ConvertPixelRows(C_Image* target, const C_Image* source, int32_t first, int32_t end);

// Test hook: when true, FillImage and ConvertPixels skip their fast kernels and use
// the generic per-pixel path, which must give identical bytes.
void ForceGenericPixelPath(bool generic);
// True while the generic path is forced; every kernel chooser in the system asks it.
bool GenericPixelPathForced();
