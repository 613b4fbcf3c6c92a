#include "platform/program_env.h"

#include <cstring>

#include "platform/window_record.h"

namespace {

// Drivers that start without any display and show nothing.
bool DrawsOffScreen(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

C_String ProgramFolder() {
  char* path = SDL_GetBasePath();
  if (!path) return C_String("");
  C_String folder(path);
  SDL_free(path);
  return folder;
}

bool UseHeadlessVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return false;
  return SDL_setenv("SDL_VIDEODRIVER", "dummy", 1) == 0;
}

bool OpenVisibleDisplay() {
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  if (!EnsureVideo()) return false;
  if (chosen && chosen[0] != '\0') return true;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (DrawsOffScreen(driver)) {
    SDL_SetError("neither an X11 nor a Wayland display answered");
    return false;
  }
  return true;
}

const char* VideoErrorText() {
  const char* text = SDL_GetError();
  return text && text[0] ? text : "the video system did not start";
}
