// Window shapes: the region rectangles of a mask, and applying them to a shaped
// SDL window.
#include "platform/window_region.h"

#include <algorithm>

#include "core/error.h"
#include "image/image.h"
#include "platform/window_record.h"

namespace {

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void AddRun(std::vector<PixelRect>& rects, int64_t x1, int64_t x2, int64_t y) {
  rects.push_back({Saturate(x1), Saturate(y), Saturate(x2), Saturate(y + 1)});
}

// The window's mask as an SDL surface of the client size: opaque where the region is.
SDL_Surface* MakeShapeSurface(SDL_Window* handle, const std::vector<PixelRect>& rects) {
  int32_t w = 0;
  int32_t h = 0;
  SDL_GetWindowSize(handle, &w, &h);
  SDL_Surface* shape = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!shape) return nullptr;
  SDL_FillRect(shape, nullptr, 0);
  for (const PixelRect& r : rects) {
    SDL_Rect area{r.X1, r.Y1, r.X2 - r.X1, r.Y2 - r.Y1};
    SDL_FillRect(shape, &area, 0xFFFFFFFFu);  // clipped to the surface by SDL
  }
  return shape;
}

}  // namespace

bool BuildWindowRegion(const C_Image* mask, const C_Rect& offset, std::vector<PixelRect>& rects) {
  rects.clear();
  if (!mask) return Fail(ErrorMissingArgument);
  FormatDescriptor d;
  if (!DescribeFormat(mask->Format, d) || d.BitsPerPixel == 0) return Fail(ErrorNoFormat);
  if (!mask->Pixels) return true;
  const int64_t ox = TruncToInt(offset.X1);
  const int64_t oy = TruncToInt(offset.Y1);
  // One byte per column, but never past the row's own pixel bytes.
  const int32_t columns = std::min(mask->Width, mask->RowBytes);
  for (int32_t y = 0; y < mask->Height; ++y) {
    const uint8_t* row = mask->RowAddress(y);
    int32_t start = -1;
    for (int32_t x = 0; x < columns; ++x) {
      if (row[x] == 255) {
        if (start < 0) start = x;
      } else if (start >= 0) {
        AddRun(rects, ox + start, ox + x, oy + y);
        start = -1;
      }
    }
    if (start >= 0) AddRun(rects, ox + start, ox + columns, oy + y);
  }
  return true;
}

std::vector<PixelRect> GetWindowRegion(const C_Window* window) {
  if (!window || !window->Platform) return {};
  return window->Platform->Region;
}

void ApplyWindowShape(C_Window* window) {
  if (!window->RegionImage) return;  // no shape asked for
  std::vector<PixelRect> rects;
  if (!BuildWindowRegion(window->RegionImage, window->RegionOffset, rects)) return;
  WindowPlatformRecord& p = *window->Platform;
  p.Region = std::move(rects);
  if (!p.Shaped) return;  // the driver gave a plain window: nothing can take the shape
  SDL_Surface* shape = MakeShapeSurface(p.Handle, p.Region);
  if (!shape) return;
  SDL_WindowShapeMode mode{};
  mode.mode = ShapeModeDefault;
  SDL_SetWindowShape(p.Handle, shape, &mode);
  SDL_FreeSurface(shape);
}
