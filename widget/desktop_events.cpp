// The desktop's event handlers: press (bring to front, active children, focus),
// hover, drags with their limits, clicks on release (form commands, option
// groups, check boxes), the auto-repeat of a held click, and text editing.
//
// Sections: helpers; press; move and hover; drag; release and clicks; timer; keys.
#include <algorithm>
#include <cmath>

#include "core/collection.h"
#include "core/string.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "platform/cursor.h"
#include "platform/window.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"

namespace {

// --- helpers ------------------------------------------------------------------------

// Deepest chain the focus walk follows; a tree deeper than this is not realistic.
constexpr int32_t kMaxDepth = 4096;

bool IsChildOf(const C_Widget* parent, const C_Widget* child) {
  for (uint32_t i = 0; i < parent->ChildCount(); ++i) {
    if (parent->ChildAt(i) == child) return true;
  }
  return false;
}

// Moves widget to the end of its parent's drawing order.
void BringToFront(C_Widget* widget) {
  C_Widget* parent = widget->Parent;
  if (!parent || !parent->DrawOrder) return;
  C_Collection* order = parent->DrawOrder;
  for (uint32_t k = 0; k < order->Count; ++k) {
    if (order->Items[k] != widget) continue;
    order->RemoveAt(k);
    order->Append(widget);
    break;
  }
  for (uint32_t k = 0; k < order->Count; ++k) {
    if (auto* w = static_cast<C_Widget*>(order->Items[k])) w->OrderIndex = static_cast<int32_t>(k);
  }
}

// A press with the right button down turns edge drags into moves.
uint32_t RightButtonAction(uint32_t action) {
  switch (action) {
    case ZoneLeftEdge:
    case ZoneRightEdge:
      return ZoneMoveHorizontal;
    case ZoneTopEdge:
    case ZoneBottomEdge:
      return ZoneMoveVertical;
    case ZoneTopLeft:
    case ZoneTopRight:
    case ZoneBottomLeft:
    case ZoneBottomRight:
      return ZoneMove;
    default:
      return action;
  }
}

// Checks widget and clears the siblings of kind between the nearest group
// separators before and after it.
void CheckInGroup(C_Widget* widget, uint16_t kind) {
  C_Widget* parent = widget->Parent;
  if (!parent) {
    widget->Checked = 1;
    return;
  }
  const int32_t count = static_cast<int32_t>(parent->ChildCount());
  const int32_t at = widget->Index;
  for (int32_t i = at - 1; i >= 0; --i) {
    C_Widget* s = parent->ChildAt(static_cast<uint32_t>(i));
    if (!s) continue;
    if (s->Kind == KindGroupSeparator) break;
    if (s->Kind == kind) s->Checked = 0;
  }
  for (int32_t i = at + 1; i < count; ++i) {
    C_Widget* s = parent->ChildAt(static_cast<uint32_t>(i));
    if (!s) continue;
    if (s->Kind == KindGroupSeparator) break;
    if (s->Kind == kind) s->Checked = 0;
  }
  widget->Checked = 1;
}

C_Form* FormOfCaptionButton(C_Widget* button) {
  for (C_Widget* w = button->Parent; w; w = w->Parent) {
    if (auto* form = dynamic_cast<C_Form*>(w)) return form;
  }
  return nullptr;
}

}  // namespace

// --- press --------------------------------------------------------------------------

void C_Desktop::ButtonDown(int32_t left, int32_t middle, int32_t right, int32_t x, int32_t y) {
  if (Dragging) return;
  Pointer = C_Vector2D(static_cast<float>(x), static_cast<float>(y));
  Dragging = 1;
  Pressed = nullptr;
  Layout();
  const C_Layer_Zone* zone = nullptr;
  C_Widget* hit = HitTest(Pointer, &zone);
  if (hit) {
    for (C_Widget* w = hit; w; w = w->Parent) {
      if (w->BringToFront) BringToFront(w);
    }
    for (C_Widget* w = hit; w->Parent; w = w->Parent) {
      if (w->Remembered == 1) w->Parent->ActiveChild = w;
    }
    C_Widget* focus = Root;
    for (int32_t depth = 0; focus && depth < kMaxDepth; ++depth) {
      C_Widget* next = focus->ActiveChild;
      if (!next || !IsChildOf(focus, next)) break;
      focus = next;
    }
    Focus = focus;
    Layout();
    hit = HitTest(Pointer, &zone);
  }
  if (!hit || !zone) {
    DragAction = kNoDragAction;
    return;
  }
  DragAction = right ? RightButtonAction(zone->Action) : zone->Action;
  PressPoint = Pointer;
  Pressed = hit;
  DragOwner = HitWidget;
  PressRect = hit->Rect;
  PressResolved = hit->Resolved;
  hit->State = StatePressed;
  if (DragAction == ZoneEditText) {
    EditTarget = hit;
    hit->EditEvent = EditCaretAtPoint;
    HitTest(Pointer);
  }
  if (DragAction == ZoneClick && hit->Kind == KindPressOption && !hit->Checked)
    CheckInGroup(hit, KindPressOption);
  LastRepeat = Now();
  const uint32_t tree = TreeVersion;
  if (Hooks.OnMouseDown)
    Hooks.OnMouseDown(hit, left, middle, right, Pointer.X - hit->Resolved.X1,
                      Pointer.Y - hit->Resolved.Y1);
  if (TreeReplacedSince(tree)) return;
  if (hit->Parent) RunPartAction(hit);
  if (TreeReplacedSince(tree)) return;
  if (Hooks.OnPress) Hooks.OnPress(hit, 0);
}

// --- move and hover -------------------------------------------------------------------

void C_Desktop::HoverUpdate(C_Widget* hit, const C_Layer_Zone* zone) {
  if (hit) hit->State = StateHovered;
  if (C_Window* window = OwnerWindow()) {
    window->CursorCode = zone ? zone->Cursor : static_cast<uint16_t>(CursorArrow);
    window->Update(UpdateCursor);
  }
  if (Hovered && Hovered != hit) Hovered->State = StateNormal;
  Hovered = hit;
}

void C_Desktop::MouseMove(int32_t left, int32_t middle, int32_t right, int32_t x, int32_t y) {
  Pointer = C_Vector2D(static_cast<float>(x), static_cast<float>(y));
  Layout();
  const C_Layer_Zone* zone = nullptr;
  C_Widget* hit = HitTest(Pointer, &zone);
  if (!Dragging) {
    HoverUpdate(hit, zone);
    return;
  }
  if (!Pressed) return;
  ApplyDrag(Pointer);
  const uint32_t tree = TreeVersion;
  MovedWidgetUpdate();
  if (TreeReplacedSince(tree)) return;
  if (Hooks.OnDrag)
    Hooks.OnDrag(Pressed, left, middle, right, Pointer.X - Pressed->Resolved.X1,
                 Pointer.Y - Pressed->Resolved.Y1);
}

// --- drag ---------------------------------------------------------------------------

// The pressed widget's rectangle from the one it had at the press, moved or
// resized by the pointer's travel, kept to the minimum size and inside the
// parent's drag limits.
void C_Desktop::ApplyDrag(const C_Vector2D& point) {
  if (!Pressed || !DragOwner || DragAction == kNoDragAction) return;
  const uint32_t action = DragAction;
  const bool moving =
      action == ZoneMove || action == ZoneMoveHorizontal || action == ZoneMoveVertical;
  const bool sizing = action >= ZoneLeftEdge && action <= ZoneBottomRight;
  if (moving && !DragOwner->Movable) return;
  if (sizing && !DragOwner->Resizable) return;
  if (!moving && !sizing) return;

  float dx = point.X - PressPoint.X;
  float dy = point.Y - PressPoint.Y;
  // The parent's limits in the same absolute pixels as the resolved rectangles.
  C_Rect limits = Pressed->Parent ? Pressed->Parent->DragLimits : C_Rect();
  const bool limited = Pressed->Parent != nullptr;
  if (limited) ResolveRect(limits, Pressed->Parent->ResolvedClient, nullptr, nullptr);
  const C_Rect& at = PressResolved;
  const float width = at.X2 - at.X1, height = at.Y2 - at.Y1;
  C_Rect r = PressRect;
  const bool sizeX = IsExtentCode(HorizontalAnchor(r.Anchor2));
  const bool sizeY = IsExtentCode(VerticalAnchor(r.Anchor2));

  if (moving) {
    if (action == ZoneMoveVertical) dx = 0;
    if (action == ZoneMoveHorizontal) dy = 0;
    if (limited) {
      // Pushed past a limit, the widget goes back inside with its size unchanged.
      if (at.X2 + dx > limits.X2) dx = limits.X2 - at.X2;
      if (at.X1 + dx < limits.X1) dx = limits.X1 - at.X1;
      if (at.Y2 + dy > limits.Y2) dy = limits.Y2 - at.Y2;
      if (at.Y1 + dy < limits.Y1) dy = limits.Y1 - at.Y1;
    }
    r.X1 += dx;
    r.Y1 += dy;
    if (!sizeX) r.X2 += dx;
    if (!sizeY) r.Y2 += dy;
    Pressed->Rect = r;
    return;
  }

  const bool leftEdge = action == ZoneLeftEdge || action == ZoneTopLeft || action == ZoneBottomLeft;
  const bool rightEdge =
      action == ZoneRightEdge || action == ZoneTopRight || action == ZoneBottomRight;
  const bool topEdge = action == ZoneTopEdge || action == ZoneTopLeft || action == ZoneTopRight;
  const bool bottomEdge =
      action == ZoneBottomEdge || action == ZoneBottomLeft || action == ZoneBottomRight;
  const float minW = std::max(Pressed->MinWidth, 0.0f);
  const float minH = std::max(Pressed->MinHeight, 0.0f);
  if (leftEdge) {
    float d = std::min(dx, width - minW);  // an edge stops at the minimum width
    if (limited && at.X1 + d < limits.X1) d = limits.X1 - at.X1;
    r.X1 += d;
    if (sizeX) r.X2 -= d;
  }
  if (rightEdge) {
    float d = std::max(dx, minW - width);
    if (limited && at.X2 + d > limits.X2) d = limits.X2 - at.X2;
    r.X2 += d;
  }
  if (topEdge) {
    float d = std::min(dy, height - minH);
    if (limited && at.Y1 + d < limits.Y1) d = limits.Y1 - at.Y1;
    r.Y1 += d;
    if (sizeY) r.Y2 -= d;
  }
  if (bottomEdge) {
    float d = std::max(dy, minH - height);
    if (limited && at.Y2 + d > limits.Y2) d = limits.Y2 - at.Y2;
    r.Y2 += d;
  }
  Pressed->Rect = r;
}

void C_Desktop::MovedWidgetUpdate() {
  if (!Pressed) return;
  const uint32_t tree = TreeVersion;
  C_Widget* parent = Pressed->Parent;
  if (Pressed->PartId == PartThumb && parent &&
      (parent->Kind == KindHScrollBar || parent->Kind == KindVScrollBar)) {
    if (auto* bar = dynamic_cast<C_ScrollBar*>(parent)) {
      Layout();
      const C_Rect track = ScrollTrack(*bar);
      const C_Rect& thumb = Pressed->Rect;
      const bool across = bar->Kind == KindHScrollBar;
      const float length = across ? track.X2 - track.X1 : track.Y2 - track.Y1;
      const float t = ThumbLength(length, bar->Minimum, bar->Maximum, bar->PageSize);
      const float value = ValueFromThumb(across ? thumb.X1 : thumb.Y1, across ? track.X1 : track.Y1,
                                         length, t, bar->Minimum, bar->Maximum);
      bar->Value = std::clamp(value, bar->Minimum, std::max(bar->Minimum, bar->Maximum));
      ApplyScrollValue(bar);
      if (TreeReplacedSince(tree)) return;
    }
  } else if (parent && parent->PartId == PartContent && parent->Parent &&
             parent->Parent->Kind == KindScrollSpace) {
    UpdateWidget(parent->Parent);
  }
  if (Hooks.OnMoved) Hooks.OnMoved(Pressed, Pressed->Rect);
}

// --- release and clicks ---------------------------------------------------------------

void C_Desktop::ClickRelease(C_Widget* widget) {
  switch (widget->Kind) {
    case KindButton:
      if (widget->PartId >= PartMinimise && widget->PartId <= PartRollUp) {
        if (C_Form* form = FormOfCaptionButton(widget)) RunFormCommand(form, widget->PartId);
      }
      break;
    case KindOption:
      if (!widget->Checked) CheckInGroup(widget, KindOption);
      break;
    case KindCheckBox:
      widget->Checked = widget->Checked ? 0 : 1;
      break;
    default:
      break;
  }
}

void C_Desktop::ButtonUp(int32_t left, int32_t middle, int32_t right, int32_t x, int32_t y) {
  Pointer = C_Vector2D(static_cast<float>(x), static_cast<float>(y));
  Layout();
  C_Widget* hit = HitTest(Pointer);
  if (!Dragging) return;
  C_Widget* pressed = Pressed;
  if (pressed) {
    ApplyDrag(Pointer);
    const bool over = hit == pressed;
    // A released widget loses its pressed look, whatever the press did.
    if (pressed->State == StatePressed) pressed->State = StateNormal;
    const uint32_t tree = TreeVersion;
    if (DragAction == ZoneClick && over) ClickRelease(pressed);
    if (TreeReplacedSince(tree)) return;
    MovedWidgetUpdate();
    if (TreeReplacedSince(tree)) return;
    if (Hooks.OnMouseUp)
      Hooks.OnMouseUp(pressed, left, middle, right, Pointer.X - pressed->Resolved.X1,
                      Pointer.Y - pressed->Resolved.Y1);
    if (TreeReplacedSince(tree)) return;
    if (over && Hooks.OnRelease) Hooks.OnRelease(pressed, 0);
  }
  Dragging = 0;
}

// --- timer --------------------------------------------------------------------------

void C_Desktop::Timer(int32_t, int32_t, int32_t, int32_t x, int32_t y) {
  Pointer = C_Vector2D(static_cast<float>(x), static_cast<float>(y));
  Layout();
  const C_Layer_Zone* zone = nullptr;
  C_Widget* hit = HitTest(Pointer, &zone);
  if (!Dragging) {
    HoverUpdate(hit, zone);
    return;
  }
  if (DragAction != ZoneClick || !Pressed) return;
  if (hit != Pressed) {
    Pressed->State = StateNormal;
    return;
  }
  Pressed->State = StatePressed;
  const double now = Now();
  if (now - LastRepeat > kRepeatDelay) {
    LastRepeat = now - kRepeatRewind;
    const uint32_t tree = TreeVersion;
    if (Pressed->Parent) RunPartAction(Pressed);
    if (TreeReplacedSince(tree)) return;
    if (Hooks.OnPress) Hooks.OnPress(Pressed, 0);
  }
}

// --- keys ---------------------------------------------------------------------------

void C_Desktop::KeyDown(int32_t character, int32_t key) {
  if (Status != DesktopResources || !Focus) return;
  Focus->EditEvent = EditKey;
  EditTarget = Focus;
  HitTest(Pointer);
  if (EditLayer && EditLayer->Editable == 1) EditText(character, key);
  if (EditTarget && EditTarget->Parent) UpdateWidget(EditTarget->Parent);
}

void C_Desktop::EditText(int32_t character, int32_t key) {
  C_Widget* target = EditTarget;
  C_Layer_Text* layer = EditLayer;
  C_String& text = target->Text;
  const int32_t length = static_cast<int32_t>(text.Length);
  int32_t c = std::clamp(layer->Layout.CaretIndex, 0, length);
  const bool multiLine = layer->MultiLine == 1;
  bool changed = true;
  if (key == KeyBackspace) {
    if (c > 0) text.DeleteChar(--c);
  } else if (key == KeyDelete) {
    if (c < length) text.DeleteChar(c);
  } else if (key == KeyEnter) {
    if (multiLine) text.InsertChar(c++, '\n');
  } else if (key == KeyArrowLeft) {
    if (c > 0) --c;
  } else if (key == KeyArrowRight) {
    if (c < length) ++c;
  } else if (key == KeyArrowUp) {
    target->EditEvent = EditLineUp;
    changed = false;
  } else if (key == KeyArrowDown) {
    target->EditEvent = EditLineDown;
    changed = false;
  } else if (character >= 32 && character <= 255 && character != 127) {
    text.InsertChar(c++, static_cast<char>(character));
  } else if (character == KeyTab && multiLine) {
    text.InsertChar(c++, '\t');
  } else {
    return;
  }
  layer->Layout.CaretIndex = c;
  if (changed) target->EditEvent = EditRelayout;
  HitTest(Pointer);
}
