// How a window's frames reach the screen: copied into the window's own surface
// where the video driver offers one (X11, the display-less drivers), or streamed
// into a texture that an SDL renderer draws (Wayland, whose driver has no window
// surface). Automatically the surface is tried first and the texture after it;
// DF_PRESENT=surface or DF_PRESENT=texture in the environment forces one.
#pragma once

#include <cstdint>

class C_Window;

enum PresentPath : uint8_t {
  PresentAutomatic = 0,  // the surface where it works, else the texture
  PresentSurface = 1,
  PresentTexture = 2,
};

// Overrides DF_PRESENT for windows that have not presented yet (tests);
// PresentAutomatic returns to what the environment says.
void SetPresentPath(PresentPath path);
// The path asked for: SetPresentPath's, else DF_PRESENT's, else PresentAutomatic.
PresentPath RequestedPresentPath();

// The path an open window's frames took; PresentAutomatic before the first
// present, or when nothing has been shown.
PresentPath WindowPresentPath(const C_Window* window);

// Why the window's last present showed nothing; null when it showed the frame
// (or the window has not presented yet).
const char* PresentFailure(const C_Window* window);
