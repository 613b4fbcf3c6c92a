// SDL start-up and shutdown for the window layer.
#include <cstdlib>

#include "platform/program_env.h"
#include "platform/window_record.h"

namespace {

bool shutdownRegistered = false;
bool videoFailed = false;

void ShutdownSdl() {
  FreeCursors();
  SDL_Quit();
  videoFailed = false;
}

void RegisterShutdown() {
  if (shutdownRegistered) return;
  shutdownRegistered = true;
  std::atexit(ShutdownSdl);
}

}  // namespace

bool EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  // A display that failed once is not tried again on every cursor change.
  if (videoFailed) return false;
  // A GL-backed window surface recreates the window (losing its shape) and crashes
  // inside Mesa with some drivers; the plain framebuffer is all presentation needs.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Closing the last window must stay a close request that the application
  // answers; SDL would otherwise queue the quit message by itself.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    videoFailed = true;
    return false;
  }
  RegisterShutdown();
  return true;
}

bool EnsureEvents() {
  if (SDL_WasInit(SDL_INIT_EVENTS)) return true;
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return false;
  RegisterShutdown();
  return true;
}

std::vector<char> Latin1ToUtf8(const char* text) {
  std::vector<char> out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); p && *p; ++p) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p));
    } else {
      out.push_back(static_cast<char>(0xC0 | (*p >> 6)));
      out.push_back(static_cast<char>(0x80 | (*p & 0x3F)));
    }
  }
  out.push_back('\0');
  return out;
}

void CloseVideo() {
  ShutdownSdl();
}
