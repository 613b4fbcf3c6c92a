// The display-mode switch: a full-screen mode for the most recently opened window.
#include "platform/display_mode.h"

#include "platform/message_pump.h"
#include "platform/window_record.h"

namespace {

uint32_t FormatForBits(int32_t bits) {
  switch (bits) {
    case 8:
      return SDL_PIXELFORMAT_INDEX8;
    case 15:
      return SDL_PIXELFORMAT_RGB555;
    case 16:
      return SDL_PIXELFORMAT_RGB565;
    case 24:
      return SDL_PIXELFORMAT_RGB24;
    case 32:
      return SDL_PIXELFORMAT_RGB888;
    default:
      return SDL_PIXELFORMAT_UNKNOWN;  // any depth
  }
}

void ShowError(const char* text) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text, nullptr);
}

// SDL changes the display mode only for a full-screen window; the closest mode
// the display offers (at least the requested size) stands in for an exact match.
bool SwitchTo(int32_t width, int32_t height, int32_t bits) {
  C_Window* window = LatestOpenWindow();
  if (!window || width <= 0 || height <= 0) return false;
  SDL_Window* handle = window->Platform->Handle;
  const int display = SDL_GetWindowDisplayIndex(handle);
  SDL_DisplayMode wanted{FormatForBits(bits), width, height, 0, nullptr};
  SDL_DisplayMode closest;
  if (!SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &closest)) return false;
  if (SDL_SetWindowDisplayMode(handle, &closest) != 0) return false;
  return SDL_SetWindowFullscreen(handle, SDL_WINDOW_FULLSCREEN) == 0;
}

}  // namespace

bool SetDisplayMode(int32_t width, int32_t height, int32_t bits) {
  SDL_DisplayMode current;
  if (!EnsureVideo() || SDL_GetCurrentDisplayMode(0, &current) != 0) {
    ShowError("Could Not Enum Display Settings");
    return false;
  }
  if (!SwitchTo(width, height, bits)) {
    ShowError("Display Mode Not Compatible");
    PostQuitMessage(0);
  }
  return true;
}
