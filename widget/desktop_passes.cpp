// The three passes over the widget tree, run under the desktop's lock: layout
// (working rectangles, scroll offsets, activation, docking, resolution), hit test
// (zones, and the edit target's text laid out for the caret), and paint (each
// widget's decal by state, then its children through its own interface).
//
// Sections: clip save and restore; layout; hit test and text layout; paint; the
// locked entry points.
#include <algorithm>

#include "core/collection.h"
#include "core/string.h"
#include "font/font.h"
#include "font/render_text.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "image/surface.h"
#include "skin/decal.h"
#include "widget/desktop.h"
#include "widget/form.h"

namespace {

// --- clip save and restore ----------------------------------------------------------

// The root interface's own clip, kept across a pass and put back after it.
struct ClipKeeper {
  explicit ClipKeeper(C_GraphicApi* api) : api(api) {
    if (api && api->UserClip) {
      had = true;
      saved = *api->UserClip;
    }
  }
  ~ClipKeeper() {
    if (!api) return;
    if (had) {
      api->SetClip(&saved);
    } else if (api->UserClip) {
      api->ResetClip();
    }
  }
  C_GraphicApi* api;
  bool had = false;
  C_Rect saved;
};

C_Rect Absolute(float x1, float y1, float x2, float y2) {
  return C_Rect(x1, y1, x2, y2, kAnchorResolved, kAnchorResolved);
}

C_Rect Intersection(const C_Rect& a, const C_Rect& b) {
  return Absolute(std::max(a.X1, b.X1), std::max(a.Y1, b.Y1), std::min(a.X2, b.X2),
                  std::min(a.Y2, b.Y2));
}

bool IsContentPart(const C_Widget* w) {
  return w->PartId == PartContent && w->Parent && w->Parent->Kind == KindScrollSpace;
}

// A form in mode 1 or 3 shows its frame without its client content.
bool HidesContent(const C_Widget* w) {
  const auto* form = dynamic_cast<const C_Form*>(w);
  return form && (form->Mode == FormMinimised || form->Mode == FormRolledUp);
}

// The child a paged widget shows (child Page + 1), or none.
C_Widget* PageChild(const C_Widget* w) {
  const int64_t index = static_cast<int64_t>(w->Page) + 1;
  return index > 0 && index < static_cast<int64_t>(w->ChildCount())
             ? w->ChildAt(static_cast<uint32_t>(index))
             : nullptr;
}

// --- layout -------------------------------------------------------------------------

void SetWorkRects(C_Widget* w) {
  w->WorkRect = w->Rect;
  const bool content = IsContentPart(w);
  for (uint32_t i = 0; i < w->ChildCount(); ++i) {
    C_Widget* child = w->ChildAt(i);
    if (!child) continue;
    SetWorkRects(child);
    if (!content) continue;
    // Edges placed after a sibling or given as sizes move with what they follow.
    C_Rect& r = child->WorkRect;
    if (HorizontalAnchor(r.Anchor1) != AnchorAfterPrevious) r.X1 -= w->ScrollOffset.X;
    if (VerticalAnchor(r.Anchor1) != AnchorAfterPrevious) r.Y1 -= w->ScrollOffset.Y;
    if (!IsExtentCode(HorizontalAnchor(r.Anchor2))) r.X2 -= w->ScrollOffset.X;
    if (!IsExtentCode(VerticalAnchor(r.Anchor2))) r.Y2 -= w->ScrollOffset.Y;
  }
}

float SizeOf(float v1, float v2, uint8_t code) {
  return IsExtentCode(code) ? v2 : v2 - v1;
}

// Minimised forms in rows along the bottom of the client area, from the left; a
// form that would pass the right edge starts a new row above.
void ArrangeDocked(C_Widget* w) {
  if (!w->Docked || w->Docked->Count == 0) return;
  const float width = w->ResolvedClient.X2 - w->ResolvedClient.X1;
  float x = 0, bottom = 0;
  for (uint32_t i = 0; i < w->Docked->Count; ++i) {
    auto* form = dynamic_cast<C_Form*>(w->Docked->Items[i]);
    if (!form) continue;
    const C_Widget* frame = form->FindPart(PartFrameMinimised, KindPlain);
    const C_Rect& f = frame ? frame->Rect : form->Rect;
    const float fw = SizeOf(f.X1, f.X2, HorizontalAnchor(f.Anchor2));
    const float fh = SizeOf(f.Y1, f.Y2, VerticalAnchor(f.Anchor2));
    if (x > 0 && x + fw > width) {
      x = 0;
      bottom += fh;
    }
    const uint8_t fromBottom = MakeAnchor(AnchorStart, AnchorEnd);
    form->Rect = C_Rect(x, -bottom - fh, x + fw, -bottom, fromBottom, fromBottom);
    form->WorkRect = form->Rect;
    form->Inactive = 1;
    x += fw;
  }
}

void Activate(C_Widget* w, uint8_t windowActive) {
  if (w->Api) {
    const C_Widget* parent = w->Parent;
    if (!parent) {
      w->Inactive = windowActive ? 0 : 1;
    } else if (parent->Page != kAllPages) {
      w->Inactive = parent->Inactive;
    } else {
      uint8_t inactive = w->ActivationMode == 0 ? (parent->ActiveChild != w) : parent->Inactive;
      if (parent->Inactive) inactive = 1;
      w->Inactive = inactive;
    }
    // A docked form stays inactive, whatever its place among its siblings.
    const auto* form = dynamic_cast<const C_Form*>(w);
    if (form && form->Mode == FormMinimised) w->Inactive = 1;
    w->Owner.Active = windowActive;
  }
  ArrangeDocked(w);
  for (uint32_t i = 0; i < w->ChildCount(); ++i) {
    if (C_Widget* child = w->ChildAt(i)) Activate(child, windowActive);
  }
}

const C_Widget* VisibleSibling(const C_Widget* parent, uint32_t from, int32_t step) {
  for (int64_t i = static_cast<int64_t>(from) + step;
       i >= 0 && i < static_cast<int64_t>(parent->ChildCount()); i += step) {
    const C_Widget* s = parent->ChildAt(static_cast<uint32_t>(i));
    if (s && s->Visible == 1) return s;
  }
  return nullptr;
}

// Children are resolved against the widget's client area; origin is the
// viewport origin of the interface the widget draws its children in.
void ResolveChildren(C_Widget* w) {
  const C_Rect& client = w->ResolvedClient;
  for (uint32_t i = 0; i < w->ChildCount(); ++i) {
    C_Widget* child = w->ChildAt(i);
    if (!child) continue;
    const C_Widget* previous = VisibleSibling(w, i, -1);
    const C_Widget* next = VisibleSibling(w, i, +1);
    C_Rect nextRect;
    if (next) {
      nextRect = next->WorkRect;
      ResolveRect(nextRect, client, nullptr, nullptr);
    }
    C_Rect r = child->WorkRect;
    ResolveRect(r, client, previous ? &previous->Resolved : nullptr, next ? &nextRect : nullptr);
    r.Anchor1 = r.Anchor2 = kAnchorResolved;
    child->Resolved = r;
    C_Rect inner = child->ClientRect;
    ResolveRect(inner, r, nullptr, nullptr);
    inner.Anchor1 = inner.Anchor2 = kAnchorResolved;
    child->ResolvedClient = inner;
    child->Owner.Area = C_Rect(inner.X1 - client.X1, inner.Y1 - client.Y1, inner.X2 - client.X1,
                               inner.Y2 - client.Y1, 0, 0);
  }
  for (uint32_t i = 0; i < w->ChildCount(); ++i) {
    if (C_Widget* child = w->ChildAt(i)) ResolveChildren(child);
  }
}

// --- hit test and text layout ---------------------------------------------------------

C_Font* FindFont(C_Collection* fonts, const C_FontType& type) {
  if (!fonts) return nullptr;
  const int32_t index = fonts->FindByName(type.Name.c_str());
  if (index < 0) return nullptr;
  return dynamic_cast<C_Font*>(fonts->GetAt(static_cast<uint32_t>(index)));
}

void Measure(C_Layer_Text& layer, C_Font* font, const C_Rect& box) {
  C_TextFormat format = layer.Format;
  format.MultiLine = layer.MultiLine;
  format.Password = layer.Password;
  TextRequest request;
  request.LayoutRect = box;
  request.Text = &layer.Text;
  request.Font = font;
  request.Type = &layer.Font;
  request.Format = &format;
  request.Position = layer.Scroll;
  request.Flags[0] = layer.LayoutFlag;
  request.Flags[1] = layer.WrapX;
  request.Flags[2] = layer.WrapY;
  request.MeasureOnly = 1;
  request.Layout = &layer.Layout;
  request.Extent = &layer.Extent;
  RenderText(request);
}

}  // namespace

// Lays out the edit target's text layers by its EditEvent: the caret under the
// point, one line up or down, or only its position after an edit.
struct DesktopInternals {
  static void LayOutEditText(C_Desktop& d, C_Widget* w, const C_Vector2D& point) {
    C_Decal* decal = w->Decals[SlotNormal];
    if (!decal || !decal->Layers) return;
    const C_Rect area = decal->AreaFor(w->Resolved);
    for (uint32_t i = 0; i < decal->Layers->Count; ++i) {
      auto* layer = dynamic_cast<C_Layer_Text*>(decal->Layers->Items[i]);
      if (!layer) continue;
      if (layer->UseWidgetText == 1) layer->Text.Assign(w->Text);
      C_Font* font = FindFont(d.Fonts, layer->Font);
      const int32_t length = static_cast<int32_t>(layer->Text.Length);
      TextLayout& t = layer->Layout;
      t.CaretIndex = std::clamp(t.CaretIndex, 0, length);
      if (font) {
        const C_Rect box = ResolveLayerArea(layer->Area, area);
        const uint32_t event = w->EditEvent;
        if (event == EditCaretAtPoint || event == EditLineUp || event == EditLineDown) {
          if (event == EditCaretAtPoint) {
            t.Query = point;
          } else {
            Measure(*layer, font, box);  // the caret's current row
            const float rows = event == EditLineUp ? -0.5f : 1.5f;
            t.Query = C_Vector2D(t.CaretX, t.CaretTop + rows * t.LineHeight);
          }
          Measure(*layer, font, box);
          if (t.HitIndex >= 0) {
            t.CaretIndex = std::min(t.HitIndex, length);
          } else if (event == EditCaretAtPoint) {
            t.CaretIndex = length;
          }
          t.Query = C_Vector2D(kNoQuery, kNoQuery);
          w->EditEvent = EditRelayout;
        }
        Measure(*layer, font, box);
      }
      if (layer->Editable == 1 && !d.EditLayer) d.EditLayer = layer;
    }
  }

  static void Hit(C_Desktop& d, C_Widget* w, const C_Rect& clip, const C_Vector2D& point,
                  C_Widget*& found, const C_Layer_Zone*& zone) {
    if (w->Visible != 1) return;
    if (const C_Layer_Zone* z = HitZone(w->Decals[SlotNormal], w->Resolved, clip, point)) {
      d.HitWidget = w;
      found = w->Parent && w->Parent->Page != kAllPages ? w->Parent : w;
      zone = z;
    }
    if (w == d.EditTarget) LayOutEditText(d, w, point);
    const C_Rect inner = Intersection(clip, w->ResolvedClient);
    if (w->Page != kAllPages) {
      // Only what the paint pass shows can be hit: the page, and child 0 over it.
      if (C_Widget* page = PageChild(w)) Hit(d, page, inner, point, found, zone);
      if (!HidesContent(w)) {
        if (C_Widget* content = w->ChildAt(0)) Hit(d, content, inner, point, found, zone);
      }
      return;
    }
    const uint32_t count = w->DrawOrder ? w->DrawOrder->Count : w->ChildCount();
    for (uint32_t k = 0; k < count; ++k) {
      C_Widget* child = w->DrawOrder ? DrawOrderAt(*w, k) : w->ChildAt(k);
      if (child) Hit(d, child, inner, point, found, zone);
    }
  }

  static void PaintChildren(C_Desktop& d, C_Widget* w) {
    C_GraphicApi* api = w->Api;
    if (w->Page != kAllPages) {
      if (C_Widget* page = PageChild(w)) d.PaintWidget(page, api);
      if (!HidesContent(w)) {
        if (C_Widget* content = w->ChildAt(0)) d.PaintWidget(content, api);
      }
      return;
    }
    const uint32_t count = w->DrawOrder ? w->DrawOrder->Count : w->ChildCount();
    for (uint32_t k = 0; k < count; ++k) {
      C_Widget* child = w->DrawOrder ? DrawOrderAt(*w, k) : w->ChildAt(k);
      if (child) d.PaintWidget(child, api);
    }
  }
};

// The back buffer's area at the size it has now: a buffer that follows its window
// is no longer the configured size. Before the buffer exists, the configured size.
static C_Rect BufferArea(const C_GraphicApi* drawing) {
  if (drawing == nullptr) return Absolute(0, 0, 0, 0);
  const C_Surface* buffer = drawing->GetTarget();
  const float width = static_cast<float>(buffer ? buffer->Width : int32_t(drawing->Width));
  const float height = static_cast<float>(buffer ? buffer->Height : int32_t(drawing->Height));
  return Absolute(0, 0, width, height);
}

void C_Desktop::LayoutTree() {
  if (!Root) return;
  Root->Relink();
  SetWorkRects(Root);
  const uint8_t active = Drawing && Drawing->Owner ? Drawing->Owner->Active : 0;
  Activate(Root, active);
  // The root page is resolved against the whole back buffer.
  const C_Rect whole = BufferArea(Drawing);
  C_Rect r = Root->WorkRect;
  ResolveRect(r, whole, nullptr, nullptr);
  r.Anchor1 = r.Anchor2 = kAnchorResolved;
  Root->Resolved = r;
  C_Rect inner = Root->ClientRect;
  ResolveRect(inner, r, nullptr, nullptr);
  inner.Anchor1 = inner.Anchor2 = kAnchorResolved;
  Root->ResolvedClient = inner;
  Root->Owner.Area = C_Rect(inner.X1, inner.Y1, inner.X2, inner.Y2, 0, 0);
  ResolveChildren(Root);
}

C_Widget* C_Desktop::HitTree(const C_Vector2D& point, const C_Layer_Zone** zone) {
  C_Widget* found = nullptr;
  const C_Layer_Zone* foundZone = nullptr;
  HitWidget = nullptr;
  EditLayer = nullptr;
  if (Root) {
    DesktopInternals::Hit(*this, Root, BufferArea(Drawing), point, found, foundZone);
  }
  if (zone) *zone = foundZone;
  return found;
}

// --- paint ----------------------------------------------------------------------------

void C_Desktop::PaintWidget(C_Widget* w, C_GraphicApi* api) {
  // Hidden widgets (a composite's unneeded bars) are not drawn, as they are not hit.
  if (!w->Prepared || w->Visible != 1 || !api) return;
  uint32_t slot = w->State < static_cast<uint32_t>(kDecalSlots) ? w->State : SlotNormal;
  if (slot == SlotNormal && !w->Inactive && w->Decals[SlotActive]) slot = SlotActive;
  C_Decal* decal = w->Decals[slot] ? w->Decals[slot] : w->Decals[SlotNormal];
  Drawn = w;
  w->ContentExtent =
      C_Rect(65536.0f, 65536.0f, -65536.0f, -65536.0f, kAnchorResolved, kAnchorResolved);
  if (decal) {
    DecalWidget drawn;
    drawn.Rect = w->Resolved;
    drawn.Checked = w->Checked;
    drawn.Opacity = w->Opacity;
    if (w->Parent) {
      drawn.Parent.Present = true;
      drawn.Parent.Color = w->Parent->Color;
      drawn.Parent.Source = w->Parent->ColorSource;
    }
    drawn.Text = &w->Text;
    drawn.ImageRef = w->ImageRef;
    drawn.ImageRect = w->ImageRect;
    drawn.ContentExtent = &w->ContentExtent;
    drawn.EditFocus = w == EditTarget;
    DrawDecal(api, Resources(), decal, drawn);
  }
  if (w->Api && w->Api->State == ApiOpen) {
    w->Api->BeginDraw();
    DesktopInternals::PaintChildren(*this, w);
    w->Api->EndDraw();
  }
  if ((w->Rect.Anchor2 & 0x0F) == AnchorExtentAlt && w->ContentExtent.X2 >= w->ContentExtent.X1)
    w->Rect.X2 = w->ContentExtent.X2 - w->ContentExtent.X1 + w->BaseX2;
}

// --- the locked entry points ------------------------------------------------------

void C_Desktop::Layout() {
  SpinLockGuard guard(Lock);
  ClipKeeper keep(Drawing);
  LayoutTree();
}

C_Widget* C_Desktop::HitTest(const C_Vector2D& point, const C_Layer_Zone** zone) {
  SpinLockGuard guard(Lock);
  ClipKeeper keep(Drawing);
  return HitTree(point, zone);
}

void C_Desktop::Paint() {
  SpinLockGuard guard(Lock);
  ClipKeeper keep(Drawing);
  Drawn = nullptr;
  if (!Root || !Drawing) return;
  // The application normally paints between its own BeginDraw and EndDraw; a
  // desktop painted outside them opens the frame itself.
  const bool opened = Drawing->State == ApiOpen;
  if (opened) Drawing->BeginDraw();
  if (Drawing->State == ApiDrawing) PaintWidget(Root, Drawing);
  if (opened) Drawing->EndDraw();
}
