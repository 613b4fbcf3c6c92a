// Shelf packing of glyph bitmaps into pages: bitmaps sorted by height go left to
// right along shelves; a full page starts the next.
#pragma once

#include <cstdint>
#include <vector>

struct PackedBox {
  int32_t Width = 0, Height = 0;  // requested
  uint32_t Page = 0;              // filled by PackBoxes
  int32_t X = 0, Y = 0;
};

struct PageSize {
  int32_t Width = 0, Height = 0;
};

// Places every box with a non-empty size, leaving a one-pixel gap between boxes so
// that a scaled draw never samples a neighbour. Returns the size of each page
// (the last page's height cut to what it uses).
std::vector<PageSize> PackBoxes(std::vector<PackedBox>& boxes, int32_t pageWidth,
                                int32_t pageHeight);
