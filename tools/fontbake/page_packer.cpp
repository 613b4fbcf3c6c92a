#include "tools/fontbake/page_packer.h"

#include <algorithm>
#include <numeric>

std::vector<PageSize> PackBoxes(std::vector<PackedBox>& boxes, int32_t pageWidth,
                                int32_t pageHeight) {
  std::vector<size_t> order(boxes.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return boxes[a].Height > boxes[b].Height; });
  std::vector<PageSize> pages;
  int32_t x = 0, y = 0, shelf = 0;
  for (size_t i : order) {
    PackedBox& box = boxes[i];
    if (box.Width <= 0 || box.Height <= 0) continue;
    if (pages.empty()) pages.push_back({pageWidth, 0});
    if (x + box.Width > pageWidth) {  // next shelf
      y += shelf + 1;
      x = 0;
      shelf = 0;
    }
    if (y + box.Height > pageHeight) {  // next page
      pages.push_back({pageWidth, 0});
      x = y = shelf = 0;
    }
    box.Page = static_cast<uint32_t>(pages.size() - 1);
    box.X = x;
    box.Y = y;
    x += box.Width + 1;
    shelf = std::max(shelf, box.Height);
    pages.back().Height = std::max(pages.back().Height, y + box.Height);
  }
  return pages;
}
