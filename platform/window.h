// C_Window: one platform window. It turns the platform's messages into calls of
// installed handler functions and shows finished pixels in its client area.
#pragma once

#include <cstdint>

#include "core/collection.h"
#include "core/object.h"
#include "core/string.h"
#include "core/vector2d.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "image/image.h"
#include "platform/draw_owner.h"

class C_GraphicApi;
class C_Window;
struct WindowPlatformRecord;

// Handler signatures, by the arguments that follow the window.
using WindowEventHandler = void (*)(C_Window* window);
// button: 1 left, 2 middle, 3 right.
using WindowButtonHandler = void (*)(C_Window* window, int32_t button);
// character: the translated single-byte character, 0 when the key has none.
using WindowKeyHandler = void (*)(C_Window* window, int32_t character, int32_t virtualKey);
// left, middle, right: 1 down, 0 up; x, y: client pixels.
using WindowMouseHandler = void (*)(C_Window* window, int32_t left, int32_t middle, int32_t right,
                                    int32_t x, int32_t y);

// One bank of handlers. A window holds two: the framework's (installed by the
// desktop) and the application's; for every message the framework's runs first.
struct WindowHandlers {
  WindowEventHandler Activate = nullptr;      // activation other than by a mouse click
  WindowEventHandler Deactivate = nullptr;    // deactivation
  WindowButtonHandler Click = nullptr;        // button release, after ButtonUp
  WindowButtonHandler DoubleClick = nullptr;  // never fired: no double-click messages are asked for
  WindowEventHandler FocusGained = nullptr;   // keyboard focus gained
  WindowEventHandler FocusLost = nullptr;     // keyboard focus lost
  WindowKeyHandler KeyDown = nullptr;         // key pressed (also for each auto-repeat)
  WindowKeyHandler KeyUp = nullptr;           // key released
  WindowEventHandler Create = nullptr;        // at the end of Open
  WindowEventHandler Destroy = nullptr;       // in Close, before the platform window goes
  WindowMouseHandler ButtonDown = nullptr;    // left, middle or right button pressed
  WindowMouseHandler MouseMove = nullptr;     // pointer moved
  WindowMouseHandler ButtonUp = nullptr;      // button released (only the released one reads 1)
  WindowMouseHandler Timer = nullptr;         // 1 ms tick while no other message is pending
  WindowEventHandler AfterSize = nullptr;     // size changed, after the interface's resize handler
  WindowEventHandler Size = nullptr;          // size changed, before that handler
  WindowEventHandler Close = nullptr;         // close request; the window stays until Close()
};

// A colour slot: a colour and the system colour index it stands for.
struct WindowColorSlot {
  C_Color Color;            // filled from the system colour at Init
  int32_t SystemIndex = 0;  // GetSystemColor index; slot 0's is the presentation background
};

// Update codes: which property Update applies to the platform window.
enum WindowUpdateCode : int32_t {
  UpdateCaption = 38,     // title from Caption
  UpdateRectangle = 39,   // position and size from Placement, client area sized exactly
  UpdateEnabled = 47,     // input accepted or dropped by Enabled
  UpdateVisibility = 48,  // shown or hidden by Visible
  UpdateFrameStyle = 49,  // framed or borderless by Borderless
  UpdateTopMost = 50,     // kept above other windows by TopMost
  UpdateCursor = 53,      // pointer shape from CursorCode
  UpdateShape = 55,       // shape from RegionImage
  UpdateAll = 61,         // every property above, in this order
  UpdatePresent = 62,     // show PresentImage at PresentPosition
  UpdateClientArea = 63,  // the DrawOwner's Area from the client area
};

class C_Window : public C_Object {
 public:
  C_Window();
  C_Window(const C_Window&) = delete;
  C_Window& operator=(const C_Window&) = delete;
  ~C_Window() override;  // closes an open window first

  // Defaults; creates PresentImage, the child list and the platform record.
  void Init() override;
  // Closes an open window, then frees the platform record, PresentImage and the child list.
  void Release() override;
  // Creates and shows the platform window; only when not Opened. Failure leaves Opened 0.
  void Open() override;
  // Destroys the platform window; only when Opened. The fields stay as they are.
  void Close() override;
  uint16_t GetClassId() const override { return class_id::Window; }
  // Placement resolved against the screen into ScreenRect; nothing for a child window.
  virtual void ComputeScreenRect();
  // Applies one property (a WindowUpdateCode) to the platform window; only when Opened.
  virtual void Update(int32_t code);

  C_String Name{"No name"};
  int32_t Reserved = 0;              // not read
  C_String Caption{"Form window"};   // window title (single-byte text)
  C_Rect Placement;                  // requested outer rectangle, anchors relative to the
                                     // screen (see ComputeScreenRect)
  WindowColorSlot Colors[3];         // system indices 2, 15, 15; the others are not read
  uint8_t Flag1 = 1;                 // not read by the window
  uint8_t Flag2 = 1;                 // not read by the window
  uint8_t Movable = 1;               // 0: the window is moved back when dragged
  uint8_t Resizable = 1;             // 1: the user can resize the window
  uint8_t Enabled = 1;               // 0: keyboard and mouse input is dropped (after Update 47)
  uint8_t Visible = 1;               // 0: hidden (after Update 48)
  uint16_t Borderless = 0;           // non-zero: no caption and frame
  uint16_t TopMost = 0;              // 1: kept above other windows
  uint16_t PopupChild = 0;           // with a parent: non-zero pop-up, 0 child window
  uint16_t CursorCode = 65;          // SetCursorShape code shown while the pointer moves here
  C_Image* RegionImage = nullptr;    // optional 8-bit shape mask, not owned; 255 = inside
  C_Image* PresentImage = nullptr;   // owned; bound to the presented pixels by ShowImage
  WindowHandlers Handlers;           // the application's bank
  WindowHandlers FrameworkHandlers;  // the framework's bank, called first
  C_Window* ParentWindow = nullptr;  // null: top-level window
  C_Collection* Children = nullptr;  // owned, created empty; not used by the window
  uint8_t Opened = 0;                // 1 while the platform window exists
  C_String ClassName;                // decimal text chosen by Open
  C_Rect ScreenRect;                 // outer rectangle in screen pixels; child windows: in
                                     // the parent's client pixels, set by the caller
  C_Rect RegionOffset;               // trunc(X1), trunc(Y1) shift the shape mask
  WindowPlatformRecord* Platform = nullptr;  // owned platform state, opaque outside platform/
  float LastLeft = 0;                        // button states at the last pointer move, 1 or 0
  float LastMiddle = 0;
  float LastRight = 0;
  float Captured = 0;           // 1 from a press inside the window until all are up
  DrawOwner Owner;              // what the drawing interface attaches to
  C_GraphicApi* Api = nullptr;  // the attached interface, set by its Attach
  C_Vector2D PresentPosition;   // client position of PresentImage's top-left corner
  // What the framework's handlers act for (the desktop); none until one installs them.
  C_Object* HandlerTarget = nullptr;
};

// The window's present operation: binds PresentImage to image's pixels (no copy),
// stores the position and shows them (Update 62). The pixels are read bottom-up:
// the first row in memory is the bottom row on screen. Nothing happens for an image
// without a format description (ErrorNoFormat then -1, are recorded). True when
// the frame reached the window; false when it did not (PresentFailure says why).
bool ShowImage(C_Image* image, C_Window* window, const C_Vector2D& position);

// The client rectangle in screen pixels; all zero for a window that is not open.
C_Rect GetClientScreenRect(const C_Window* window);

// Paints a rectangle of the window's client area (client pixels, clipped) in the
// colour (components x 255, truncated, clamped to 0..255) and shows it.
bool FillRect(C_Window* window, const C_Color& colour, const C_Rect& rect);

// The platform's id for the open window, for tests and tools that talk to the
// platform directly; 0 when not open.
uint32_t GetPlatformWindowId(const C_Window* window);
