// Presentation: copying a bottom-up image into the window surface, the margins
// around it, and plain rectangle fills.
#include <algorithm>
#include <cstring>

#include "core/error.h"
#include "platform/system_color.h"
#include "platform/window_record.h"

namespace {

// A 32-bit window surface laid out like the presented pixels (blue in the lowest
// byte, red in the third) takes whole rows unconverted.
bool SurfaceTakesRowsAsIs(const SDL_Surface* surface) {
  const SDL_PixelFormat* f = surface->format;
  return f->BytesPerPixel == 4 && f->Rmask == 0x00FF0000u && f->Gmask == 0x0000FF00u &&
         f->Bmask == 0x000000FFu;
}

// The SDL layout of presented pixels by depth: 16 bits are 5-5-5 red, green,
// blue; 24 bits blue, green, red bytes; 32 bits the same with a fourth, unused byte.
uint32_t SourceLayout(uint32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 16:
      return SDL_PIXELFORMAT_RGB555;
    case 24:
      return SDL_PIXELFORMAT_BGR24;
    case 32:
      return SDL_PIXELFORMAT_RGB888;
    default:
      return SDL_PIXELFORMAT_UNKNOWN;
  }
}

// Fills [x1, x2) x [y1, y2), clipped to the surface; empty rectangles are skipped.
void FillClipped(SDL_Surface* surface, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                 uint32_t pixel) {
  x1 = std::max<int64_t>(x1, 0);
  y1 = std::max<int64_t>(y1, 0);
  x2 = std::min<int64_t>(x2, surface->w);
  y2 = std::min<int64_t>(y2, surface->h);
  if (x1 >= x2 || y1 >= y2) return;
  if (surface->format->BytesPerPixel == 4) {
    // SDL's own fill streams past the cache, which is slow for the narrow side
    // margins; a plain loop stays in cache for the update that follows.
    uint8_t* row = static_cast<uint8_t*>(surface->pixels) + y1 * surface->pitch + x1 * 4;
    const size_t count = static_cast<size_t>(x2 - x1);
    for (int64_t y = y1; y < y2; ++y, row += surface->pitch) {
      std::fill_n(reinterpret_cast<uint32_t*>(row), count, pixel);
    }
    return;
  }
  SDL_Rect r{static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1),
             static_cast<int>(y2 - y1)};
  SDL_FillRect(surface, &r, pixel);
}

// Copies the visible part of the image into the surface with its top-left corner
// at (x, y). Screen row r shows picture row r - y, which RowAddress finds at the
// bottom-up memory position, so the rows are flipped while they are copied.
void CopyImage(const C_Image& image, uint32_t bitsPerPixel, SDL_Surface* surface, int32_t x,
               int32_t y) {
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + image.Width, surface->w);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + image.Height, surface->h);
  if (left >= right || top >= bottom) return;
  const int32_t columns = static_cast<int32_t>(right - left);
  const int32_t rows = static_cast<int32_t>(bottom - top);
  const uint32_t bytesPerPixel = bitsPerPixel / 8;
  const uint8_t* source = image.RowAddress(static_cast<int32_t>(top - y)) +
                          static_cast<size_t>(left - x) * bytesPerPixel;
  uint8_t* target = static_cast<uint8_t*>(surface->pixels) + top * surface->pitch +
                    left * surface->format->BytesPerPixel;
  const intptr_t sourceStep = image.BottomUp ? -intptr_t{image.Pitch} : intptr_t{image.Pitch};

  if (bitsPerPixel == 32 && SurfaceTakesRowsAsIs(surface)) {
    const size_t rowBytes = static_cast<size_t>(columns) * 4;
    for (int32_t r = 0; r < rows; ++r) {
      std::memcpy(target, source, rowBytes);
      source += sourceStep;
      target += surface->pitch;
    }
    return;
  }
  const uint32_t layout = SourceLayout(bitsPerPixel);
  if (layout == SDL_PIXELFORMAT_UNKNOWN) return;  // other depths have no layout to show
  for (int32_t r = 0; r < rows; ++r) {
    SDL_ConvertPixels(columns, 1, layout, source, image.Pitch, surface->format->format, target,
                      surface->pitch);
    source += sourceStep;
    target += surface->pitch;
  }
}

}  // namespace

void ShowImage(C_Image* image, C_Window* window, const C_Vector2D& position) {
  if (!image || !window || !window->PresentImage) return;
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d) || d.BitsPerPixel == 0) {
    Fail(ErrorNoFormat);
    return;
  }
  if (!window->PresentImage->AttachPixels(image->Width, image->Pitch, image->Height, image->Format,
                                          image->PaletteFormat, image->Pixels)) {
    return;
  }
  // The first row in memory is the bottom row on screen, whatever the image says.
  window->PresentImage->BottomUp = 1;
  window->PresentPosition = C_Vector2D(position.X, position.Y, position.Anchor);
  window->Update(UpdatePresent);
}

void PresentWindow(C_Window* window) {
  C_Image* image = window->PresentImage;
  SDL_Window* handle = window->Platform ? window->Platform->Handle : nullptr;
  if (!image || !handle) return;
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d) || d.BitsPerPixel == 0) return;
  // SDL makes a new surface after every size change; asking each time is cheap.
  SDL_Surface* surface = SDL_GetWindowSurface(handle);
  if (!surface) return;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;

  const int32_t x = TruncToInt(window->PresentPosition.X);
  const int32_t y = TruncToInt(window->PresentPosition.Y);
  if (image->Pixels) CopyImage(*image, d.BitsPerPixel, surface, x, y);

  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  GetSystemColorBytes(window->Colors[0].SystemIndex, red, green, blue);
  const uint32_t background = SDL_MapRGB(surface->format, red, green, blue);
  const int64_t w = surface->w;
  const int64_t h = surface->h;
  const int64_t imageRight = int64_t{x} + image->Width;
  const int64_t imageBottom = int64_t{y} + image->Height;
  // The four margins, without filling their corners twice: full-width strips
  // above and below the image, then the sides beside its rows.
  FillClipped(surface, 0, 0, w, y, background);
  FillClipped(surface, 0, imageBottom, w, h, background);
  FillClipped(surface, 0, y, x, imageBottom, background);
  FillClipped(surface, imageRight, y, w, imageBottom, background);

  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurface(handle);
}

bool FillRect(C_Window* window, const C_Color& colour, const C_Rect& rect) {
  if (!window || !window->Opened || !window->Platform || !window->Platform->Handle) return false;
  SDL_Window* handle = window->Platform->Handle;
  SDL_Surface* surface = SDL_GetWindowSurface(handle);
  if (!surface) return false;
  auto toByte = [](float component) {
    const float scaled = component * 255.0f;
    if (!(scaled > 0.0f)) return uint8_t{0};
    return scaled >= 255.0f ? uint8_t{255} : static_cast<uint8_t>(scaled);
  };
  const uint32_t pixel =
      SDL_MapRGB(surface->format, toByte(colour.Red), toByte(colour.Green), toByte(colour.Blue));
  const int64_t x1 = std::max<int64_t>(TruncToInt(rect.X1), 0);
  const int64_t y1 = std::max<int64_t>(TruncToInt(rect.Y1), 0);
  const int64_t x2 = std::min<int64_t>(TruncToInt(rect.X2), surface->w);
  const int64_t y2 = std::min<int64_t>(TruncToInt(rect.Y2), surface->h);
  if (x1 >= x2 || y1 >= y2) return true;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  FillClipped(surface, x1, y1, x2, y2, pixel);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  SDL_Rect shown{static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1),
                 static_cast<int>(y2 - y1)};
  SDL_UpdateWindowSurfaceRects(handle, &shown, 1);
  return true;
}
