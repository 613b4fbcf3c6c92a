// Presentation: copying a bottom-up image into the window's pixels (its surface or
// its texture, present_path.h), the margins around it, and plain rectangle fills.
#include <algorithm>
#include <cstring>

#include "core/error.h"
#include "core/row_split.h"
#include "platform/system_color.h"
#include "platform/window_record.h"

namespace {

// A 32-bit target laid out like the presented pixels (blue in the lowest byte, red
// in the third) takes whole rows unconverted.
bool TakesRowsAsIs(const SDL_PixelFormat* f) {
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

uint8_t* PixelAddress(const PixelTarget& t, int64_t x, int64_t y) {
  return t.Pixels + (y - t.Top) * t.Pitch + (x - t.Left) * t.Format->BytesPerPixel;
}

// Fills [x1, x2) x [y1, y2) in client pixels, clipped to the target; empty
// rectangles are skipped.
void FillClipped(const PixelTarget& t, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                 uint32_t pixel) {
  x1 = std::max<int64_t>(x1, t.Left);
  y1 = std::max<int64_t>(y1, t.Top);
  x2 = std::min<int64_t>(x2, int64_t{t.Left} + t.Width);
  y2 = std::min<int64_t>(y2, int64_t{t.Top} + t.Height);
  if (x1 >= x2 || y1 >= y2) return;
  if (t.Format->BytesPerPixel == 4) {
    // SDL's own fill streams past the cache, which is slow for the narrow side
    // margins; a plain loop stays in cache for the update that follows.
    uint8_t* row = PixelAddress(t, x1, y1);
    const size_t count = static_cast<size_t>(x2 - x1);
    for (int64_t y = y1; y < y2; ++y, row += t.Pitch) {
      std::fill_n(reinterpret_cast<uint32_t*>(row), count, pixel);
    }
    return;
  }
  SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(
      PixelAddress(t, x1, y1), static_cast<int>(x2 - x1), static_cast<int>(y2 - y1),
      t.Format->BitsPerPixel, t.Pitch, t.Format->format);
  if (!view) return;
  SDL_FillRect(view, nullptr, pixel);
  SDL_FreeSurface(view);
}

// Copies the visible part of the image into the target with its top-left corner
// at (x, y). Screen row r shows picture row r - y, which RowAddress finds at the
// bottom-up memory position, so the rows are flipped while they are copied. The
// rows of a large image taken as they are go through the installed row splitter.
void CopyImage(const C_Image& image, uint32_t bitsPerPixel, const PixelTarget& t, int32_t x,
               int32_t y) {
  const int64_t left = std::max<int64_t>(x, t.Left);
  const int64_t top = std::max<int64_t>(y, t.Top);
  const int64_t right = std::min<int64_t>(int64_t{x} + image.Width, int64_t{t.Left} + t.Width);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + image.Height, int64_t{t.Top} + t.Height);
  if (left >= right || top >= bottom) return;
  const int32_t columns = static_cast<int32_t>(right - left);
  const int32_t rows = static_cast<int32_t>(bottom - top);
  const uint32_t bytesPerPixel = bitsPerPixel / 8;
  const uint8_t* source = image.RowAddress(static_cast<int32_t>(top - y)) +
                          static_cast<size_t>(left - x) * bytesPerPixel;
  uint8_t* target = PixelAddress(t, left, top);
  const intptr_t sourceStep = image.BottomUp ? -intptr_t{image.Pitch} : intptr_t{image.Pitch};

  if (bitsPerPixel == 32 && TakesRowsAsIs(t.Format)) {
    const size_t rowBytes = static_cast<size_t>(columns) * 4;
    auto band = [&](int32_t first, int32_t end) {
      for (int32_t r = first; r < end; ++r) {
        std::memcpy(target + intptr_t{t.Pitch} * r, source + sourceStep * r, rowBytes);
      }
    };
    SplitRowsWith(rows, columns, band);
    return;
  }
  const uint32_t layout = SourceLayout(bitsPerPixel);
  if (layout == SDL_PIXELFORMAT_UNKNOWN) return;  // other depths have no layout to show
  for (int32_t r = 0; r < rows; ++r) {
    SDL_ConvertPixels(columns, 1, layout, source, image.Pitch, t.Format->format, target, t.Pitch);
    source += sourceStep;
    target += t.Pitch;
  }
}

// The image at PresentPosition and the four margins around it in the background
// colour, over the whole client area the target covers.
void DrawFrame(C_Window* window, uint32_t bitsPerPixel, const PixelTarget& t) {
  const C_Image* image = window->PresentImage;
  const int32_t x = TruncToInt(window->PresentPosition.X);
  const int32_t y = TruncToInt(window->PresentPosition.Y);
  if (image->Pixels) CopyImage(*image, bitsPerPixel, t, x, y);

  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  GetSystemColorBytes(window->Colors[0].SystemIndex, red, green, blue);
  const uint32_t background = SDL_MapRGB(t.Format, red, green, blue);
  const int64_t w = int64_t{t.Left} + t.Width;
  const int64_t h = int64_t{t.Top} + t.Height;
  const int64_t imageRight = int64_t{x} + image->Width;
  const int64_t imageBottom = int64_t{y} + image->Height;
  // The four margins, without filling their corners twice: full-width strips
  // above and below the image, then the sides beside its rows.
  FillClipped(t, 0, 0, w, y, background);
  FillClipped(t, 0, imageBottom, w, h, background);
  FillClipped(t, 0, y, x, imageBottom, background);
  FillClipped(t, imageRight, y, w, imageBottom, background);
}

// The window surface as a target, locked when it must be; false when the driver
// offers none (Wayland) or it cannot be locked.
bool LockSurface(WindowPlatformRecord& p, PixelTarget& target) {
  // SDL makes a new surface after every size change; asking each time is cheap.
  SDL_Surface* surface = SDL_GetWindowSurface(p.Handle);
  if (!surface || (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)) {
    p.PresentProblem = "no window surface: ";
    p.PresentProblem += SDL_GetError();
    return false;
  }
  target = PixelTarget{static_cast<uint8_t*>(surface->pixels),
                       surface->pitch,
                       0,
                       0,
                       surface->w,
                       surface->h,
                       surface->format};
  return true;
}

// Shows the area (client pixels; null: all) of the surface LockSurface opened.
void ShowSurface(WindowPlatformRecord& p, const SDL_Rect* area) {
  SDL_Surface* surface = SDL_GetWindowSurface(p.Handle);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (area) {
    SDL_UpdateWindowSurfaceRects(p.Handle, area, 1);
  } else {
    SDL_UpdateWindowSurface(p.Handle);
  }
}

// Opens the window's pixels on its path, choosing the path on first success: the
// one asked for, or automatically the surface and, where the driver has none, the
// texture. A window that showed a frame keeps its path (SDL does not let one
// window mix its surface with a renderer).
bool LockWindowPixels(WindowPlatformRecord& p, const SDL_Rect* area, PixelTarget& target) {
  p.PresentProblem.clear();
  PresentPath path = p.Path;
  if (path == PresentAutomatic) path = RequestedPresentPath();
  bool locked = false;
  if (path == PresentSurface || path == PresentAutomatic) {
    locked = LockSurface(p, target);
    if (locked) path = PresentSurface;
  }
  if (!locked && (path == PresentTexture || path == PresentAutomatic)) {
    const std::string surfaceProblem = p.PresentProblem;
    locked = LockTexture(p, area, target);
    if (locked) path = PresentTexture;
    if (!locked && !surfaceProblem.empty())
      p.PresentProblem = surfaceProblem + "; " + p.PresentProblem;
  }
  if (locked) p.Path = path;
  return locked;
}

void ShowWindowPixels(WindowPlatformRecord& p, const SDL_Rect* area) {
  if (p.Path == PresentTexture) {
    ShowTexture(p);
  } else {
    ShowSurface(p, area);
  }
}

}  // namespace

bool ShowImage(C_Image* image, C_Window* window, const C_Vector2D& position) {
  if (!image || !window || !window->PresentImage) return false;
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d) || d.BitsPerPixel == 0) return Fail(ErrorNoFormat);
  if (!window->PresentImage->AttachPixels(image->Width, image->Pitch, image->Height, image->Format,
                                          image->PaletteFormat, image->Pixels)) {
    return false;
  }
  // The first row in memory is the bottom row on screen, whatever the image says.
  window->PresentImage->BottomUp = 1;
  window->PresentPosition = C_Vector2D(position.X, position.Y, position.Anchor);
  window->Update(UpdatePresent);
  return window->Opened && PresentFailure(window) == nullptr;
}

void PresentWindow(C_Window* window) {
  C_Image* image = window->PresentImage;
  if (!image || !window->Platform || !window->Platform->Handle) return;
  WindowPlatformRecord& p = *window->Platform;
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d) || d.BitsPerPixel == 0) {
    p.PresentProblem = "the presented image has no pixel format";
    return;
  }
  PixelTarget target;
  if (!LockWindowPixels(p, nullptr, target)) return;
  DrawFrame(window, d.BitsPerPixel, target);
  ShowWindowPixels(p, nullptr);
}

bool FillRect(C_Window* window, const C_Color& colour, const C_Rect& rect) {
  if (!window || !window->Opened || !window->Platform || !window->Platform->Handle) return false;
  WindowPlatformRecord& p = *window->Platform;
  int32_t width = 0;
  int32_t height = 0;
  SDL_GetWindowSize(p.Handle, &width, &height);
  const int64_t x1 = std::max<int64_t>(TruncToInt(rect.X1), 0);
  const int64_t y1 = std::max<int64_t>(TruncToInt(rect.Y1), 0);
  const int64_t x2 = std::min<int64_t>(TruncToInt(rect.X2), width);
  const int64_t y2 = std::min<int64_t>(TruncToInt(rect.Y2), height);
  if (x1 >= x2 || y1 >= y2) return true;
  const SDL_Rect area{static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1),
                      static_cast<int>(y2 - y1)};
  PixelTarget target;
  if (!LockWindowPixels(p, &area, target)) return false;
  auto toByte = [](float component) {
    const float scaled = component * 255.0f;
    if (!(scaled > 0.0f)) return uint8_t{0};
    return scaled >= 255.0f ? uint8_t{255} : static_cast<uint8_t>(scaled);
  };
  const uint32_t pixel =
      SDL_MapRGB(target.Format, toByte(colour.Red), toByte(colour.Green), toByte(colour.Blue));
  FillClipped(target, x1, y1, x2, y2, pixel);
  ShowWindowPixels(p, &area);
  return true;
}
