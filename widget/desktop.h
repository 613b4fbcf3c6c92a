// C_Desktop: joins the widget tree to the window and the drawing interface. It owns
// the root page, holds the collections layers draw from, receives the window's
// keyboard, mouse and timer events, hit-tests them against the widgets' zones and
// turns them into hover, press, drag, click, check and text-edit behaviour; it also
// runs the layout, hit-test and paint passes under its lock.
//
// Sections: hooks and constants; the class (life cycle, set-up, passes, events,
// composite behaviour, fields).
#pragma once

#include <cstdint>

#include "core/object.h"
#include "core/spin_lock.h"
#include "core/vector2d.h"
#include "graphics/geometry/rect.h"
#include "skin/decal_draw.h"
#include "widget/widget.h"

class C_Collection;
class C_Form;
class C_GraphicApi;
class C_ScrollBar;
class C_Window;

// --- hooks and constants ----------------------------------------------------------

// Notifications the application may set; every one is called with the widget
// concerned.
using DesktopCodeHook = void (*)(C_Widget* widget, int32_t code);
using DesktopMouseHook = void (*)(C_Widget* widget, int32_t left, int32_t middle, int32_t right,
                                  float x, float y);
using DesktopMovedHook = void (*)(C_Widget* widget, const C_Rect& rect);
using DesktopScrollHook = void (*)(C_ScrollBar* bar);

struct DesktopHooks {
  DesktopCodeHook OnPress = nullptr;
  DesktopCodeHook OnRelease = nullptr;
  WidgetHook OnUpdate = nullptr;
  WidgetHook OnUnprepare = nullptr;
  DesktopMouseHook OnMouseDown = nullptr;
  DesktopMouseHook OnDrag = nullptr;
  DesktopMouseHook OnMouseUp = nullptr;
  DesktopScrollHook OnScroll = nullptr;
  DesktopMovedHook OnMoved = nullptr;
};

enum DesktopStatus : uint32_t {
  DesktopCreated = 127,
  DesktopAttached = 128,   // handlers installed, drawing interface known
  DesktopResources = 130,  // resources prepared; keys are handled
};

// Edit events: what the next hit test does with the edit target's text layout.
enum EditEventCode : uint32_t {
  EditNone = 0,
  EditCaretAtPoint = 1,  // caret under the press point
  EditRelayout = 2,      // caret position recomputed after an edit
  EditKey = 3,           // a key is being handled
  EditLineUp = 4,
  EditLineDown = 5,
  EditComposite = 6,  // set by the text box's composite update
};

// Virtual-key codes the text editing reads.
enum DesktopKey : int32_t {
  KeyBackspace = 8,
  KeyTab = 9,
  KeyEnter = 13,
  KeyArrowLeft = 0x25,
  KeyArrowUp = 0x26,
  KeyArrowRight = 0x27,
  KeyArrowDown = 0x28,
  KeyDelete = 0x2E,
};

// DragAction after a press on nothing.
inline constexpr uint32_t kNoDragAction = 0xFFFFFFFFu;
// Auto-repeat of a held click: the first repeat after kRepeatDelay seconds, then
// every kRepeatDelay - kRepeatRewind seconds.
inline constexpr double kRepeatDelay = 0.4;
inline constexpr double kRepeatRewind = 0.35;
// Space a shown scroll bar takes from its composite's other parts.
inline constexpr float kBarThickness = 16;

// The source of time in seconds; the window clock unless a test sets another.
using DesktopClock = double (*)();

// --- the class ----------------------------------------------------------------------

class C_Desktop : public C_Object {
 public:
  C_Desktop();
  C_Desktop(const C_Desktop&) = delete;
  C_Desktop& operator=(const C_Desktop&) = delete;
  ~C_Desktop() override;

  // Life cycle: the defaults and status 127; Release frees the sheets, the second
  // image collection and the root page after destroying the widgets' interfaces.
  void Init() override;
  void Release() override;
  // Version, then three optional object records.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Desktop; }

  // --- set-up (desktop.cpp) -------------------------------------------------------
  // Status 128 and the drawing interface; with an owner window, the desktop
  // becomes its handler target and its five handlers are installed.
  void InstallHandlers(C_GraphicApi* drawing);
  // Status 128 only: Prepare on every sheet and every item of Images2, then 130.
  void BindResources();
  // A new root page "Gui Page" filling the window (any old one is deleted).
  void CreatePage();
  // Prepare, layout, the widgets' drawing interfaces, then every widget's update.
  void PrepareAll();
  // Drops every widget's drawing interface and unprepares the tree.
  void UnprepareAll();

  // --- passes (desktop_passes.cpp), each under the lock --------------------------
  void Layout();
  // The widget whose zone the point hits (the topmost), or none; zone receives
  // the zone.
  C_Widget* HitTest(const C_Vector2D& point, const C_Layer_Zone** zone = nullptr);
  void Paint();

  // --- events (desktop_events.cpp) -----------------------------------------------
  void KeyDown(int32_t character, int32_t key);
  void ButtonDown(int32_t left, int32_t middle, int32_t right, int32_t x, int32_t y);
  void MouseMove(int32_t left, int32_t middle, int32_t right, int32_t x, int32_t y);
  void ButtonUp(int32_t left, int32_t middle, int32_t right, int32_t x, int32_t y);
  void Timer(int32_t left, int32_t middle, int32_t right, int32_t x, int32_t y);

  // --- composite behaviour (desktop_composite.cpp) -----------------------------
  // Composite update of a text box or scroll space; a scroll bar's thumb update.
  void UpdateWidget(C_Widget* widget);
  // Form commands 8 to 11.
  void RunFormCommand(C_Form* form, uint16_t command);
  // Stepping by a pressed part of a scroll bar, then applying the value.
  void RunPartAction(C_Widget* part);
  // Applies a scroll bar's value to its composite and updates its thumb.
  void ApplyScrollValue(C_ScrollBar* bar);
  // A scroll bar's thumb track: its DragLimits resolved in its client area, with
  // the client area's top-left corner at (0, 0).
  C_Rect ScrollTrack(const C_ScrollBar& bar) const;

  // --- fields ---------------------------------------------------------------------
  DesktopHooks Hooks;
  C_Collection* Sheets = nullptr;   // owned graphics sheets
  C_Collection* Images2 = nullptr;  // owned, selector 0x2
  C_Collection* Images3 = nullptr;  // not owned, selector 0x3
  uint32_t Status = DesktopCreated;
  C_GraphicApi* Drawing = nullptr;  // the root drawing interface
  C_Collection* Fonts = nullptr;    // not owned: the application's fonts
  C_Widget* Root = nullptr;         // owned root page
  uint8_t Dragging = 0;
  uint32_t DragAction = kNoDragAction;
  C_Vector2D PressPoint;
  C_Rect PressRect;
  C_Widget* HitWidget = nullptr;
  C_Widget* Pressed = nullptr;
  C_Widget* DragOwner = nullptr;
  C_Widget* Focus = nullptr;
  C_Widget* Hovered = nullptr;
  C_Layer_Text* EditLayer = nullptr;
  C_Widget* EditTarget = nullptr;
  C_Widget* Drawn = nullptr;
  double LastRepeat = 0;
  SpinLockWord Lock{0};
  C_Object* Stored[3] = {};  // the stored form's three optional objects, owned
  DesktopClock Clock = nullptr;
  C_Vector2D Pointer;    // the last pointer position an event gave
  C_Rect PressResolved;  // the pressed widget's resolved rectangle at the press

 private:
  // Internal steps shared by the files of the desktop.
  friend struct DesktopInternals;
  C_Window* OwnerWindow() const;
  DecalResources Resources() const;
  double Now() const;
  // The passes without the lock.
  void LayoutTree();
  C_Widget* HitTree(const C_Vector2D& point, const C_Layer_Zone** zone);
  void PaintWidget(C_Widget* widget, C_GraphicApi* api);
  void CreateInterfaces(C_Widget* widget, C_GraphicApi* parentApi);
  void DestroyInterfaces(C_Widget* widget);
  void HoverUpdate(C_Widget* hit, const C_Layer_Zone* zone);
  void ApplyDrag(const C_Vector2D& point);
  void MovedWidgetUpdate();
  void ClickRelease(C_Widget* widget);
  void EditText(int32_t character, int32_t key);
  void ForgetWidget(const C_Widget* gone);
  // A hook may build the page again (CreatePage) or release the desktop: the
  // widgets an event was working on are gone then, and the event stops. Each
  // replacement of the tree counts one more version.
  uint32_t TreeVersion = 0;
  bool TreeReplacedSince(uint32_t version) const { return TreeVersion != version; }
  // One composite update of a text box or scroll space.
  void CompositePass(C_Widget* widget);
};

// The desktop the window's framework handlers act for, or none.
C_Desktop* DesktopOf(C_Window* window);
