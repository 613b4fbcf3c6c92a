// The SDL side of a window, and the helpers the platform files share. Internal to
// platform/: nothing outside this folder may include it.
#pragma once

#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/present_path.h"
#include "platform/window.h"
#include "platform/window_region.h"

struct WindowPlatformRecord {
  SDL_Window* Handle = nullptr;        // the platform window; null while closed
  SDL_Window* ParentHandle = nullptr;  // the parent's window when opened with an open parent
  void* Module = nullptr;              // no module instance under SDL; always null
  uint32_t Buttons = 0;                // SDL button mask as the events last reported it
  int32_t PointerX = 0;                // client pixels of the last mouse event
  int32_t PointerY = 0;
  uint64_t LastTick = 0;      // SDL_GetTicks64 of the last Timer call
  bool TimerRunning = false;  // between Open and Close
  bool InputEnabled = true;   // Enabled as the last Update(UpdateEnabled) applied it
  bool Shaped = false;        // created as an SDL shaped window
  bool Placed = false;        // PlacedX, PlacedY hold where Update(UpdateRectangle) put the window
  int32_t PlacedX = 0;        // client origin in screen pixels set by Update(UpdateRectangle)
  int32_t PlacedY = 0;
  std::vector<PixelRect> Region;  // the last shape built by Update(UpdateShape)
  // Presentation: the path fixed by the first present that showed a frame and, on
  // the texture path, the renderer, its window-sized streaming texture and the
  // texture's pixel layout.
  PresentPath Path = PresentAutomatic;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  int32_t TextureWidth = 0;
  int32_t TextureHeight = 0;
  SDL_PixelFormat* TextureFormat = nullptr;
  std::string PresentProblem;  // why the last present showed nothing; empty when it did
};

// Pixels to present into: a window surface, or the locked part of a texture, whose
// first byte is pixel (Left, Top) of the client area.
struct PixelTarget {
  uint8_t* Pixels = nullptr;
  int32_t Pitch = 0;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  const SDL_PixelFormat* Format = nullptr;
};

// Initialises SDL's video (and with it the event queue) once per process, with the
// hints the window layer depends on. False when no video driver can start.
bool EnsureVideo();
// Initialises only the event queue: enough to post and pump the quit message.
bool EnsureEvents();

// The window an SDL window id belongs to, or null (closed, or not ours).
C_Window* FindWindow(uint32_t windowId);

// Turns one SDL event into the window's handler calls.
void DispatchEvent(const SDL_Event& event);

// Open windows with a running 1 ms timer, in opening order.
void StartWindowTimer(C_Window* window);
void StopWindowTimer(C_Window* window);
// The most recently opened window that is still open, or null.
C_Window* LatestOpenWindow();

// Shows the window's PresentImage (Update 62) through its present path, and
// records in the platform record whether that worked.
void PresentWindow(C_Window* window);

// The texture path (present_texture.cpp). Opens the area (client pixels; null: the
// whole client area) of the window's texture for writing, making the renderer and
// a texture of the window's size as needed; false with PresentProblem set when it
// cannot. ShowTexture closes it and draws the whole texture into the window.
bool LockTexture(WindowPlatformRecord& p, const SDL_Rect* area, PixelTarget& target);
void ShowTexture(WindowPlatformRecord& p);
// Frees the renderer, its texture and the format; before the window is destroyed.
void ReleasePresentTexture(WindowPlatformRecord& p);
// Builds the shape from RegionImage and applies it where SDL can (Update 55).
void ApplyWindowShape(C_Window* window);

// Frees the cursors made by SetCursorShape; run just before SDL shuts down.
void FreeCursors();

// Single-byte (Latin-1) text as UTF-8, which SDL expects for titles.
std::vector<char> Latin1ToUtf8(const char* text);

// trunc(value) as an int, saturated well inside the int range (NaN gives 0), so
// that coordinates from any float stay safe to add to.
inline int32_t TruncToInt(float value) {
  constexpr float kLimit = 1073741824.0f;  // 2^30
  if (!(value > -kLimit)) return value < 0 ? -(1 << 30) : 0;
  if (!(value < kLimit)) return 1 << 30;
  return static_cast<int32_t>(std::trunc(value));
}

// Calls a handler of both banks, the framework's first, each only when set.
template <class Handler, class... Args>
void CallHandlers(C_Window* window, Handler WindowHandlers::*slot, Args... args) {
  if (Handler framework = window->FrameworkHandlers.*slot) framework(window, args...);
  if (Handler application = window->Handlers.*slot) application(window, args...);
}
