// C_Window::Update: applying one window property to the SDL window.
#include "platform/cursor.h"
#include "platform/window_record.h"

namespace {

void ApplyCaption(C_Window& window, SDL_Window* handle) {
  const std::vector<char> title = Latin1ToUtf8(window.Caption.c_str());
  SDL_SetWindowTitle(handle, title.data());
}

// SDL places and sizes the client area, so the frame is measured once and the
// client origin moved by it: the outer corner lands on ScreenRect's X1, Y1 and
// the client area gets exactly the requested size.
void ApplyRectangle(C_Window& window, SDL_Window* handle) {
  window.ComputeScreenRect();
  WindowPlatformRecord& p = *window.Platform;
  int32_t x = TruncToInt(window.ScreenRect.X1);
  int32_t y = TruncToInt(window.ScreenRect.Y1);
  if (p.ParentHandle) {
    int32_t originX = 0;
    int32_t originY = 0;
    SDL_GetWindowPosition(p.ParentHandle, &originX, &originY);
    x += originX;
    y += originY;
  }
  int32_t width = TruncToInt(window.ScreenRect.X2 - window.ScreenRect.X1);
  int32_t height = TruncToInt(window.ScreenRect.Y2 - window.ScreenRect.Y1);
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  int32_t top = 0;
  int32_t left = 0;
  int32_t bottom = 0;
  int32_t right = 0;
  if (!window.Borderless && SDL_GetWindowBordersSize(handle, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;  // the driver cannot tell: no frame to allow for
  }
  p.PlacedX = x + left;
  p.PlacedY = y + top;
  p.Placed = true;
  SDL_SetWindowPosition(handle, p.PlacedX, p.PlacedY);
  SDL_SetWindowSize(handle, width, height);
  window.ScreenRect.X2 += static_cast<float>(left + right);
  window.ScreenRect.Y2 += static_cast<float>(top + bottom);
  if (window.Visible == 1) SDL_ShowWindow(handle);
}

void ApplyVisibility(const C_Window& window, SDL_Window* handle) {
  if (window.Visible == 1) {
    SDL_ShowWindow(handle);
  } else {
    SDL_HideWindow(handle);
  }
}

// A framed window keeps its sizing frame only while Resizable is 1; a borderless
// one has none.
void ApplyFrameStyle(const C_Window& window, SDL_Window* handle) {
  const bool framed = window.Borderless == 0;
  SDL_SetWindowBordered(handle, framed ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowResizable(handle, framed && window.Resizable == 1 ? SDL_TRUE : SDL_FALSE);
}

void ApplyTopMost(const C_Window& window, SDL_Window* handle) {
  SDL_SetWindowAlwaysOnTop(handle, window.TopMost == 1 ? SDL_TRUE : SDL_FALSE);
  if (window.TopMost == 1 && window.Visible == 1) SDL_ShowWindow(handle);
}

void ApplyClientArea(C_Window& window, SDL_Window* handle) {
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
  SDL_GetWindowPosition(handle, &x, &y);
  SDL_GetWindowSize(handle, &w, &h);
  C_Rect& area = window.Owner.Area;
  area.X1 = static_cast<float>(x);
  area.Y1 = static_cast<float>(y);
  area.X2 = static_cast<float>(x + w);
  area.Y2 = static_cast<float>(y + h);
}

}  // namespace

void C_Window::Update(int32_t code) {
  if (!Opened || !Platform || !Platform->Handle) return;
  SDL_Window* handle = Platform->Handle;
  switch (code) {
    case UpdateCaption:
      ApplyCaption(*this, handle);
      break;
    case UpdateRectangle:
      ApplyRectangle(*this, handle);
      break;
    case UpdateEnabled:
      Platform->InputEnabled = Enabled != 0;
      break;
    case UpdateVisibility:
      ApplyVisibility(*this, handle);
      break;
    case UpdateFrameStyle:
      ApplyFrameStyle(*this, handle);
      break;
    case UpdateTopMost:
      ApplyTopMost(*this, handle);
      break;
    case UpdateCursor:
      SetCursorShape(CursorCode);
      break;
    case UpdateShape:
      ApplyWindowShape(this);
      break;
    case UpdateAll: {
      // 40 to 46, 51, 52, 54 and 56 to 60 have no property, so only these remain.
      static constexpr int32_t kAll[] = {UpdateCaption,    UpdateRectangle,  UpdateEnabled,
                                         UpdateVisibility, UpdateFrameStyle, UpdateTopMost,
                                         UpdateCursor,     UpdateShape};
      for (int32_t each : kAll) Update(each);
      break;
    }
    case UpdatePresent:
      PresentWindow(this);
      break;
    case UpdateClientArea:
      ApplyClientArea(*this, handle);
      break;
    default:
      break;
  }
}
