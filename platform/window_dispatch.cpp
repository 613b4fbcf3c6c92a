// The dispatcher: one SDL event becomes the handler calls of the window it
// belongs to, in the order the framework and the application rely on.
#include "platform/cursor.h"
#include "platform/key_map.h"
#include "platform/window_record.h"

namespace {

constexpr uint32_t kThreeButtons = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_RMASK;

int32_t IsDown(uint32_t buttons, uint32_t mask) {
  return (buttons & mask) ? 1 : 0;
}

// Size change: the client area first, so that every handler sees the new one.
void RunSizeSequence(C_Window* window) {
  window->Update(UpdateClientArea);
  CallHandlers(window, &WindowHandlers::Size);
  if (window->Owner.ResizeHandler) window->Owner.ResizeHandler(&window->Owner);
  CallHandlers(window, &WindowHandlers::AfterSize);
  if (window->Owner.RepaintHandler) window->Owner.RepaintHandler(&window->Owner);
}

void DispatchWindowEvent(const SDL_WindowEvent& event) {
  C_Window* window = FindWindow(event.windowID);
  if (!window) return;
  WindowPlatformRecord& p = *window->Platform;
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      // Only the handlers decide whether the window goes.
      CallHandlers(window, &WindowHandlers::Close);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      window->Owner.Active = 1;
      CallHandlers(window, &WindowHandlers::Activate);
      CallHandlers(window, &WindowHandlers::FocusGained);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      window->Owner.Active = 0;
      CallHandlers(window, &WindowHandlers::Deactivate);
      CallHandlers(window, &WindowHandlers::FocusLost);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      RunSizeSequence(window);
      break;
    case SDL_WINDOWEVENT_MOVED:
      // SDL reports a move after the fact, so a fixed window is put back.
      if (window->Movable == 0 && p.Placed &&
          (event.data1 != p.PlacedX || event.data2 != p.PlacedY)) {
        SDL_SetWindowPosition(p.Handle, p.PlacedX, p.PlacedY);
      }
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      // The surface still holds the last presented frame; show it again.
      if (SDL_GetWindowSurface(p.Handle)) SDL_UpdateWindowSurface(p.Handle);
      break;
    default:
      break;
  }
}

// A key press names its character in the text-input event SDL queues right
// after it (when there is one); only that next event is looked at.
int32_t TakePairedCharacter(const SDL_KeyboardEvent& event) {
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
      next.type == SDL_TEXTINPUT && next.text.windowID == event.windowID) {
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    return CharacterFromText(next.text.text);
  }
  return CharacterFromSdl(event.keysym.sym, event.keysym.mod);
}

void DispatchKey(const SDL_KeyboardEvent& event) {
  C_Window* window = FindWindow(event.windowID);
  const bool pressed = event.type == SDL_KEYDOWN;
  // The paired character belongs to this key even when nobody receives it.
  const int32_t character =
      pressed ? TakePairedCharacter(event) : CharacterFromSdl(event.keysym.sym, event.keysym.mod);
  if (!window || !window->Platform->InputEnabled) return;
  const int32_t virtualKey = VirtualKeyFromSdl(event.keysym.sym);
  if (pressed) {
    CallHandlers(window, &WindowHandlers::KeyDown, character, virtualKey);
  } else {
    // A 'q' that another key gave reads as no character on release.
    const int32_t released = character == 'q' && virtualKey != 81 ? 0 : character;
    CallHandlers(window, &WindowHandlers::KeyUp, released, virtualKey);
  }
}

void DispatchMotion(const SDL_MouseMotionEvent& event) {
  C_Window* window = FindWindow(event.windowID);
  if (!window || !window->Platform->InputEnabled) return;
  WindowPlatformRecord& p = *window->Platform;
  p.Buttons = event.state;
  p.PointerX = event.x;
  p.PointerY = event.y;
  const int32_t left = IsDown(event.state, SDL_BUTTON_LMASK);
  const int32_t middle = IsDown(event.state, SDL_BUTTON_MMASK);
  const int32_t right = IsDown(event.state, SDL_BUTTON_RMASK);
  if ((event.state & kThreeButtons) == 0) {
    CallHandlers(window, &WindowHandlers::MouseMove, 0, 0, 0, event.x, event.y);
  } else if (window->Captured == 1) {
    CallHandlers(window, &WindowHandlers::MouseMove, left, middle, right, event.x, event.y);
  }
  window->LastLeft = static_cast<float>(left);
  window->LastMiddle = static_cast<float>(middle);
  window->LastRight = static_cast<float>(right);
  SetCursorShape(window->CursorCode);
}

// SDL numbers the three buttons 1 left, 2 middle, 3 right, as the handlers do.
void DispatchButton(const SDL_MouseButtonEvent& event) {
  if (event.button < SDL_BUTTON_LEFT || event.button > SDL_BUTTON_RIGHT) return;
  C_Window* window = FindWindow(event.windowID);
  if (!window || !window->Platform->InputEnabled) return;
  WindowPlatformRecord& p = *window->Platform;
  const uint32_t mask = SDL_BUTTON(event.button);
  p.PointerX = event.x;
  p.PointerY = event.y;
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    p.Buttons |= mask;
    CallHandlers(window, &WindowHandlers::ButtonDown, IsDown(p.Buttons, SDL_BUTTON_LMASK),
                 IsDown(p.Buttons, SDL_BUTTON_MMASK), IsDown(p.Buttons, SDL_BUTTON_RMASK), event.x,
                 event.y);
    SDL_CaptureMouse(SDL_TRUE);
    window->Captured = 1;
    return;
  }
  p.Buttons &= ~mask;
  if (window->Captured != 1) return;
  const int32_t button = event.button;
  CallHandlers(window, &WindowHandlers::ButtonUp, button == SDL_BUTTON_LEFT ? 1 : 0,
               button == SDL_BUTTON_MIDDLE ? 1 : 0, button == SDL_BUTTON_RIGHT ? 1 : 0, event.x,
               event.y);
  CallHandlers(window, &WindowHandlers::Click, button);
  if ((p.Buttons & kThreeButtons) == 0) {
    window->Captured = 0;
    SDL_CaptureMouse(SDL_FALSE);
  }
}

}  // namespace

void DispatchEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      DispatchWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      DispatchKey(event.key);
      break;
    case SDL_MOUSEMOTION:
      DispatchMotion(event.motion);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      DispatchButton(event.button);
      break;
    default:
      break;
  }
}
