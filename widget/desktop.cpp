// The desktop's life cycle, its stored form, and the set-up the application runs
// at start-up and shutdown: handlers, resources, the root page, preparation.
#include "widget/desktop.h"

#include <new>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/record_stream.h"
#include "core/resource.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/anchor.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace {

// The window's framework handlers: each finds the desktop the window works for.
void OnKeyDown(C_Window* window, int32_t character, int32_t key) {
  if (C_Desktop* desktop = DesktopOf(window)) desktop->KeyDown(character, key);
}
void OnButtonDown(C_Window* window, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  if (C_Desktop* desktop = DesktopOf(window)) desktop->ButtonDown(l, m, r, x, y);
}
void OnMouseMove(C_Window* window, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  if (C_Desktop* desktop = DesktopOf(window)) desktop->MouseMove(l, m, r, x, y);
}
void OnButtonUp(C_Window* window, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  if (C_Desktop* desktop = DesktopOf(window)) desktop->ButtonUp(l, m, r, x, y);
}
void OnTimer(C_Window* window, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  if (C_Desktop* desktop = DesktopOf(window)) desktop->Timer(l, m, r, x, y);
}
// The notifications the desktop does not act on.
void IgnoreEvent(C_Window*) {}
void IgnoreButton(C_Window*, int32_t) {}
void IgnoreKey(C_Window*, int32_t, int32_t) {}

void FreeCollection(C_Collection*& list) {
  DeleteOwnedObject(list);
  list = nullptr;
}

void PrepareItems(C_Collection* list) {
  if (!list) return;
  for (uint32_t i = 0; i < list->Count; ++i) {
    if (auto* resource = dynamic_cast<C_Resource*>(list->Items[i])) resource->Prepare();
  }
}

// Visits every widget below and including widget, parents first.
template <class Visit>
void ForEachWidget(C_Widget* widget, Visit visit) {
  if (!widget) return;
  visit(widget);
  for (uint32_t i = 0; i < widget->ChildCount(); ++i) ForEachWidget(widget->ChildAt(i), visit);
}

}  // namespace

C_Desktop* DesktopOf(C_Window* window) {
  return window ? dynamic_cast<C_Desktop*>(window->HandlerTarget) : nullptr;
}

C_Desktop::C_Desktop() {
  Init();
}

C_Desktop::~C_Desktop() {
  Release();
  C_Window* window = OwnerWindow();
  if (window && window->HandlerTarget == this) window->HandlerTarget = nullptr;
}

void C_Desktop::Init() {
  Hooks = DesktopHooks();
  Sheets = Images2 = Images3 = nullptr;
  Status = DesktopCreated;
  Drawing = nullptr;
  Fonts = nullptr;
  Root = nullptr;
  Dragging = 0;
  DragAction = kNoDragAction;
  PressPoint = C_Vector2D();
  PressRect = C_Rect();
  HitWidget = Pressed = DragOwner = Focus = Hovered = EditTarget = Drawn = nullptr;
  EditLayer = nullptr;
  LastRepeat = 0;
  Lock.store(0);
  for (C_Object*& object : Stored) object = nullptr;
  Clock = nullptr;
  Pointer = C_Vector2D();
}

void C_Desktop::Release() {
  DestroyInterfaces(Root);
  FreeCollection(Sheets);
  FreeCollection(Images2);
  DeleteOwnedObject(Root);
  Root = nullptr;
  for (C_Object*& object : Stored) {
    DeleteOwnedObject(object);
    object = nullptr;
  }
  ForgetWidget(nullptr);
}

bool C_Desktop::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Desktop::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The version, then three optional objects announced by class id.
bool C_Desktop::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  static constexpr const char* kNames[3] = {"Stored1", "Stored2", "Stored3"};
  for (int i = 0; i < 3; ++i) {
    if (v.Reading()) {
      DeleteOwnedObject(Stored[i]);
      Stored[i] = nullptr;
    }
    if (!v.Held(kNames[i], Stored[i], HeldRule::Optional)) return false;
  }
  return true;
}

C_Window* C_Desktop::OwnerWindow() const {
  return Drawing && Drawing->Owner ? Drawing->Owner->Window : nullptr;
}

DecalResources C_Desktop::Resources() const {
  DecalResources resources;
  resources.Fonts = Fonts;
  resources.Sheets = Sheets;
  resources.Images2 = Images2;
  resources.Images3 = Images3;
  return resources;
}

double C_Desktop::Now() const {
  return Clock ? Clock() : ReadClock();
}

void C_Desktop::InstallHandlers(C_GraphicApi* drawing) {
  Status = DesktopAttached;
  Drawing = drawing;
  C_Window* window = OwnerWindow();
  if (!window) return;
  window->HandlerTarget = this;
  WindowHandlers& h = window->FrameworkHandlers;
  h.KeyDown = OnKeyDown;
  h.ButtonDown = OnButtonDown;
  h.MouseMove = OnMouseMove;
  h.ButtonUp = OnButtonUp;
  h.Timer = OnTimer;
  h.Activate = h.Deactivate = h.FocusGained = h.FocusLost = IgnoreEvent;
  h.Create = h.Destroy = h.Size = h.AfterSize = IgnoreEvent;
  h.Click = h.DoubleClick = IgnoreButton;
  h.KeyUp = IgnoreKey;
}

void C_Desktop::BindResources() {
  if (Status != DesktopAttached) return;
  PrepareItems(Sheets);
  PrepareItems(Images2);
  Status = DesktopResources;
}

void C_Desktop::CreatePage() {
  DestroyInterfaces(Root);
  DeleteOwnedObject(Root);
  ForgetWidget(nullptr);
  Root = new (std::nothrow) C_Widget();
  if (!Root) {
    Fail(ErrorAllocation);
    return;
  }
  const C_Rect fill(0.0f, 0.0f, 0.0f, 0.0f, MakeAnchor(AnchorStart, AnchorStart),
                    MakeAnchor(AnchorEnd, AnchorEnd));
  Root->SetupPage(fill, fill, "Gui Page");
}

void C_Desktop::PrepareAll() {
  if (!Root) return;
  Root->Relink();
  // A prepared widget prepares nothing again, so widgets added since the last
  // call are prepared where they hang.
  struct Preparer {
    static void Run(C_Widget* widget, WidgetHook hook) {
      if (!widget->Prepared) {
        widget->Prepare(hook);
        return;
      }
      for (uint32_t i = 0; i < widget->ChildCount(); ++i) {
        if (C_Widget* child = widget->ChildAt(i)) Run(child, hook);
      }
    }
  };
  Preparer::Run(Root, Hooks.OnUpdate);
  {
    SpinLockGuard guard(Lock);
    LayoutTree();
  }
  CreateInterfaces(Root, Drawing);
  // Depth-first, children before their parent: every widget is updated after
  // its parts, so the parent's update that follows each child's is the parent's
  // own visit, made once when its last child is done rather than once per child.
  // The visit stops when the hook replaces the tree.
  struct Visitor {
    C_Desktop* desktop;
    uint32_t tree;
    bool Visit(C_Widget* widget) {
      for (uint32_t i = 0; i < widget->ChildCount(); ++i) {
        C_Widget* child = widget->ChildAt(i);
        if (child && !Visit(child)) return false;
      }
      desktop->UpdateWidget(widget);
      if (desktop->Hooks.OnUpdate) desktop->Hooks.OnUpdate(widget);
      return !desktop->TreeReplacedSince(tree);
    }
  } visitor{this, TreeVersion};
  visitor.Visit(Root);
}

void C_Desktop::UnprepareAll() {
  if (!Root) return;
  DestroyInterfaces(Root);
  Root->Unprepare(Hooks.OnUnprepare);
}

void C_Desktop::CreateInterfaces(C_Widget* widget, C_GraphicApi* parentApi) {
  if (!widget) return;
  if (!widget->Api) widget->Api = new (std::nothrow) C_GraphicApi();
  if (!widget->Api) return;
  C_GraphicApi* api = widget->Api;
  // Reset an interface made earlier, so that it binds to the current parent.
  if (api->State != ApiCreated) {
    api->Close();
    api->State = ApiCreated;
    api->Owner = nullptr;
  }
  // The area stays as the layout pass left it: the client area in the parent's
  // client coordinates, which the parent's viewport origin is added to.
  const C_Rect area = widget->Owner.Area;
  widget->Owner = DrawOwner();
  widget->Owner.ParentApi = parentApi;
  widget->Owner.Area = area;
  if (parentApi && parentApi->Owner) widget->Owner.Active = parentApi->Owner->Active;
  api->Attach(&widget->Owner);
  api->Open();
  for (uint32_t i = 0; i < widget->ChildCount(); ++i) CreateInterfaces(widget->ChildAt(i), api);
}

void C_Desktop::DestroyInterfaces(C_Widget* widget) {
  ForEachWidget(widget, [](C_Widget* w) {
    delete w->Api;
    w->Api = nullptr;
    w->Owner = DrawOwner();
  });
}

// Every pointer the desktop keeps into the tree is dropped when the tree changes
// under it (a null gone drops them all).
void C_Desktop::ForgetWidget(const C_Widget* gone) {
  C_Widget** fields[] = {&HitWidget, &Pressed, &DragOwner, &Focus, &Hovered, &EditTarget, &Drawn};
  for (C_Widget** field : fields) {
    if (!gone || *field == gone) *field = nullptr;
  }
  if (!gone || !EditTarget) EditLayer = nullptr;
  if (!gone) {
    Dragging = 0;
    ++TreeVersion;
  }
}
