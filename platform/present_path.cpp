#include "platform/present_path.h"

#include <cstring>

#include "platform/window_record.h"

namespace {

PresentPath chosen = PresentAutomatic;  // by SetPresentPath

}  // namespace

void SetPresentPath(PresentPath path) {
  chosen = path;
}

PresentPath RequestedPresentPath() {
  if (chosen != PresentAutomatic) return chosen;
  const char* value = SDL_getenv("DF_PRESENT");
  if (!value) return PresentAutomatic;
  if (std::strcmp(value, "surface") == 0) return PresentSurface;
  if (std::strcmp(value, "texture") == 0) return PresentTexture;
  return PresentAutomatic;
}

PresentPath WindowPresentPath(const C_Window* window) {
  if (!window || !window->Opened || !window->Platform) return PresentAutomatic;
  return window->Platform->Path;
}

const char* PresentFailure(const C_Window* window) {
  if (!window || !window->Platform || window->Platform->PresentProblem.empty()) return nullptr;
  return window->Platform->PresentProblem.c_str();
}
