// DrawOwner: the record a drawing interface attaches to. A window embeds one for
// its client area and every widget embeds one for its own rectangle.
#pragma once

#include <cstdint>

#include "graphics/geometry/rect.h"

class C_GraphicApi;
class C_Window;
struct DrawOwner;

// Resize and repaint notifications the attached interface installs in its owner.
using DrawOwnerHandler = void (*)(DrawOwner* owner);

struct DrawOwner {
  C_Window* Window = nullptr;                 // the embedding window; null in a widget
  C_Rect Area;                                // window: client area in screen pixels;
                                              // widget: its rectangle in the parent's coordinates
  uint8_t Active = 0;                         // 1 while the window has the keyboard focus
  C_GraphicApi* ParentApi = nullptr;          // widgets only: the parent's interface
  DrawOwnerHandler RepaintHandler = nullptr;  // set by the interface's Attach
  DrawOwnerHandler ResizeHandler = nullptr;   // set by the interface's Attach
  C_GraphicApi* ChildApi = nullptr;           // widgets only: their own interface
};
