// C_Window life cycle: defaults, opening and closing the SDL window, and the
// screen rectangle.
#include <algorithm>
#include <new>

#include "core/random.h"
#include "graphics/geometry/anchor.h"
#include "platform/system_color.h"
#include "platform/window_record.h"

namespace {

// SDL positions and sizes a window by its client area; a zero size is refused.
int32_t AtLeastOne(int32_t value) {
  return value < 1 ? 1 : value;
}

void ClientOrigin(SDL_Window* handle, int32_t& x, int32_t& y) {
  x = 0;
  y = 0;
  if (handle) SDL_GetWindowPosition(handle, &x, &y);
}

// One edge of a top-level window on the screen. Unlike the parent-relative rule of
// the resolver, AnchorEnd reads the value as a distance back from the screen's far
// edge (far - value), and AnchorMiddle adds the value to half the screen in whole
// pixels; that is how windows are placed on the screen. AnchorExtent (second edges
// only, where first is the resolved first edge) makes the value a length. Other
// codes leave the edge as it was.
float ScreenEdge(uint8_t code, float value, float far, float half, float current,
                 const float* first = nullptr) {
  switch (code) {
    case AnchorStart:
      return value;
    case AnchorEnd:
      return far - value;
    case AnchorMiddle:
      return value + half;
    case AnchorExtent:
      return first != nullptr ? value + *first : current;
    default:
      return current;
  }
}

}  // namespace

C_Window::C_Window() {
  Init();
}

C_Window::~C_Window() {
  Release();
}

void C_Window::Init() {
  Name.Assign(C_String("No name"));
  Reserved = 0;
  Caption.Assign(C_String("Form window"));
  Placement = C_Rect(0, 0, 640, 480);
  const int32_t indices[3] = {SysColorButtonFace, SysColorButtonText, SysColorButtonText};
  for (int32_t i = 0; i < 3; ++i) {
    Colors[i].SystemIndex = indices[i];
    GetSystemColor(indices[i], Colors[i].Color);
  }
  Flag1 = Flag2 = Movable = Resizable = Enabled = Visible = 1;
  Borderless = 0;
  TopMost = 0;
  PopupChild = 0;
  CursorCode = 65;
  RegionImage = nullptr;
  PresentImage = new (std::nothrow) C_Image();
  Handlers = WindowHandlers();
  FrameworkHandlers = WindowHandlers();
  HandlerTarget = nullptr;
  ParentWindow = nullptr;
  Children = new (std::nothrow) C_Collection();
  Opened = 0;
  ClassName.Assign(C_String());
  ScreenRect = C_Rect();
  RegionOffset = C_Rect();
  Platform = new (std::nothrow) WindowPlatformRecord();
  LastLeft = LastMiddle = LastRight = 0;
  Captured = 0;
  Owner = DrawOwner();
  Owner.Window = this;
  Api = nullptr;
  PresentPosition = C_Vector2D();
}

// An open window must go first: its SDL window points back at this object.
void C_Window::Release() {
  Close();
  delete Platform;
  Platform = nullptr;
  delete PresentImage;
  PresentImage = nullptr;
  if (Children) Children->Release();
  delete Children;
  Children = nullptr;
}

void C_Window::Open() {
  if (Opened) return;
  const int32_t r1 = Random();
  const int32_t r2 = Random();
  ClassName.Assign(C_String(r1 + r2));
  if (!Platform) return;
  WindowPlatformRecord& p = *Platform;
  p.ParentHandle = nullptr;
  if (ParentWindow && ParentWindow->Opened && ParentWindow->Platform) {
    p.ParentHandle = ParentWindow->Platform->Handle;
  }
  ComputeScreenRect();
  if (!EnsureVideo()) return;

  // SDL has no child windows: a child becomes a top-level window placed over
  // its parent's client area, where its ScreenRect says.
  int32_t x = TruncToInt(ScreenRect.X1);
  int32_t y = TruncToInt(ScreenRect.Y1);
  int32_t originX = 0;
  int32_t originY = 0;
  ClientOrigin(p.ParentHandle, originX, originY);
  x += originX;
  y += originY;
  const int32_t width = AtLeastOne(TruncToInt(ScreenRect.X2 - ScreenRect.X1));
  const int32_t height = AtLeastOne(TruncToInt(ScreenRect.Y2 - ScreenRect.Y1));
  uint32_t flags = Resizable == 1 ? SDL_WINDOW_RESIZABLE : 0;
  if (p.ParentHandle) flags |= SDL_WINDOW_SKIP_TASKBAR;
  const std::vector<char> title = Latin1ToUtf8(Caption.c_str());

  // Only a shaped window can take a shape later, so a window with a mask asks for
  // one; drivers without shaped windows give a plain window instead.
  SDL_Window* handle = nullptr;
  p.Shaped = false;
  if (RegionImage) {
    handle = SDL_CreateShapedWindow(title.data(), static_cast<unsigned>(std::max(x, 0)),
                                    static_cast<unsigned>(std::max(y, 0)), width, height, flags);
    p.Shaped = handle != nullptr;
  }
  if (!handle) handle = SDL_CreateWindow(title.data(), x, y, width, height, flags);
  if (!handle) return;
  p.Handle = handle;
  SDL_ShowWindow(handle);
  SDL_RaiseWindow(handle);

  SDL_SetWindowData(handle, "widget", this);
  p.Buttons = 0;
  p.InputEnabled = true;
  p.Placed = false;
  p.Region.clear();
  StartWindowTimer(this);
  Opened = 1;
  Update(UpdateAll);
  Owner.Active = 1;
  CallHandlers(this, &WindowHandlers::Create);
}

void C_Window::Close() {
  if (!Opened || !Platform) return;
  WindowPlatformRecord& p = *Platform;
  CallHandlers(this, &WindowHandlers::Destroy);
  // The handler may have closed the window itself.
  if (!Opened || !p.Handle) return;
  SDL_SetWindowData(p.Handle, "widget", nullptr);
  StopWindowTimer(this);
  if (Captured == 1) SDL_CaptureMouse(SDL_FALSE);
  ReleasePresentTexture(p);
  SDL_DestroyWindow(p.Handle);
  p.Handle = nullptr;
  p.ParentHandle = nullptr;
  p.Buttons = 0;
  p.Shaped = false;
  Captured = 0;
  Owner.Active = 0;
  Opened = 0;
}

void C_Window::ComputeScreenRect() {
  if (ParentWindow) return;
  int32_t w = 0;
  int32_t h = 0;
  SDL_Rect bounds;
  if (EnsureVideo() && SDL_GetDisplayBounds(0, &bounds) == 0) {
    w = bounds.w;
    h = bounds.h;
  }
  const C_Rect& p = Placement;
  const float fw = static_cast<float>(w);
  const float fh = static_cast<float>(h);
  const float halfW = static_cast<float>(w / 2);
  const float halfH = static_cast<float>(h / 2);
  ScreenRect.X1 = ScreenEdge(HorizontalAnchor(p.Anchor1), p.X1, fw, halfW, ScreenRect.X1);
  ScreenRect.Y1 = ScreenEdge(VerticalAnchor(p.Anchor1), p.Y1, fh, halfH, ScreenRect.Y1);
  ScreenRect.X2 =
      ScreenEdge(HorizontalAnchor(p.Anchor2), p.X2, fw, halfW, ScreenRect.X2, &ScreenRect.X1);
  ScreenRect.Y2 =
      ScreenEdge(VerticalAnchor(p.Anchor2), p.Y2, fh, halfH, ScreenRect.Y2, &ScreenRect.Y1);
}

C_Window* FindWindow(uint32_t windowId) {
  SDL_Window* handle = SDL_GetWindowFromID(windowId);
  if (!handle) return nullptr;
  return static_cast<C_Window*>(SDL_GetWindowData(handle, "widget"));
}

uint32_t GetPlatformWindowId(const C_Window* window) {
  if (!window || !window->Opened || !window->Platform || !window->Platform->Handle) return 0;
  return SDL_GetWindowID(window->Platform->Handle);
}

C_Rect GetClientScreenRect(const C_Window* window) {
  if (!window || !window->Opened || !window->Platform || !window->Platform->Handle) return C_Rect();
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
  SDL_GetWindowPosition(window->Platform->Handle, &x, &y);
  SDL_GetWindowSize(window->Platform->Handle, &w, &h);
  return C_Rect(x, y, x + w, y + h);
}
