// What composites do when their parts act: scroll bars step, page and apply their
// value; text boxes and scroll spaces show, hide and size their bars; forms change
// mode, dock and roll up.
//
// Sections: scroll bars; text boxes; the update dispatch and the composite
// passes (text boxes, scroll spaces); forms.
#include <algorithm>
#include <new>

#include "core/collection.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace {

C_ScrollBar* BarPart(const C_Widget* composite, uint16_t part, uint16_t kind) {
  return dynamic_cast<C_ScrollBar*>(composite->FindPart(part, kind));
}

// Value and offset clamped together: above Maximum both go to Maximum, below 0
// both go to 0. offset is the scroll position the value mirrors (sign applied by
// the caller through `sign`).
void ClampBar(C_ScrollBar& bar, float& offset, float sign) {
  if (bar.Value > bar.Maximum) {
    bar.Value = bar.Maximum;
    offset = sign * bar.Maximum;
  }
  if (bar.Value < 0) {
    bar.Value = 0;
    offset = 0;
  }
}

void RemoveDocked(C_Widget* holder, C_Widget* form) {
  if (!holder || !holder->Docked) return;
  for (uint32_t k = 0; k < holder->Docked->Count; ++k) {
    if (holder->Docked->Items[k] == form) {
      holder->Docked->RemoveAt(k);
      return;
    }
  }
}

void AppendDocked(C_Widget* holder, C_Widget* form) {
  if (!holder) return;
  RemoveDocked(holder, form);
  if (!holder->Docked) holder->Docked = new (std::nothrow) C_Collection();
  if (holder->Docked) holder->Docked->Append(form);
}

C_Rect FillParent() {
  return C_Rect(0.0f, 0.0f, 0.0f, 0.0f, MakeAnchor(AnchorStart, AnchorStart),
                MakeAnchor(AnchorEnd, AnchorEnd));
}

}  // namespace

// --- scroll bars ----------------------------------------------------------------------

C_Rect C_Desktop::ScrollTrack(const C_ScrollBar& bar) const {
  const C_Rect& client = bar.ResolvedClient;
  const C_Rect local(0.0f, 0.0f, client.X2 - client.X1, client.Y2 - client.Y1, kAnchorResolved,
                     kAnchorResolved);
  C_Rect track = bar.DragLimits;
  ResolveRect(track, local, nullptr, nullptr);
  return track;
}

void C_Desktop::ApplyScrollValue(C_ScrollBar* bar) {
  if (!bar) return;
  C_Widget* parent = bar->Parent;
  if (parent && parent->Kind == KindTextBox) {
    C_Widget* area = parent->FindPart(PartTextArea, KindPlain);
    if (C_Layer_Text* layer = area ? area->FindTextLayer() : nullptr) {
      if (bar->PartId == PartTextHScroll) layer->Scroll.X = -bar->Value;
      if (bar->PartId == PartTextVScroll) layer->Scroll.Y = -bar->Value;
    }
  } else if (parent && parent->Kind == KindScrollSpace) {
    if (C_Widget* content = parent->FindPart(PartContent, KindPlain)) {
      if (bar->PartId == PartSpaceHScroll) content->ScrollOffset.X = bar->Value;
      if (bar->PartId == PartSpaceVScroll) content->ScrollOffset.Y = bar->Value;
    }
  }
  PlaceThumb(*bar, ScrollTrack(*bar));
  if (Hooks.OnScroll) Hooks.OnScroll(bar);
}

void C_Desktop::RunPartAction(C_Widget* part) {
  C_Widget* parent = part ? part->Parent : nullptr;
  if (!parent || (parent->Kind != KindHScrollBar && parent->Kind != KindVScrollBar)) return;
  auto* bar = dynamic_cast<C_ScrollBar*>(parent);
  if (!bar) return;
  switch (part->PartId) {
    case PartStepDown:
      bar->Value = std::max(bar->Value - bar->Step, bar->Minimum);
      break;
    case PartStepUp:
      bar->Value = std::min(bar->Value + bar->Step, bar->Maximum);
      break;
    case PartPageDown:
      bar->Value = std::max(bar->Value - bar->PageSize, bar->Minimum);
      break;
    case PartPageUp:
      bar->Value = std::min(bar->Value + bar->PageSize, bar->Maximum);
      break;
    default:
      PlaceThumb(*bar, ScrollTrack(*bar));
      return;
  }
  ApplyScrollValue(bar);
}

// --- text boxes -------------------------------------------------------------------------

namespace {

struct TextBoxParts {
  C_Widget* Area;
  C_Layer_Text* Layer;
  C_ScrollBar* Across;
  C_ScrollBar* Down;
};

}  // namespace

static void SizeTextBoxBars(const TextBoxParts& p) {
  C_Layer_Text& layer = *p.Layer;
  const TextLayout& t = layer.Layout;
  const float size = layer.Font.Size > 0 ? layer.Font.Size : 1.0f;
  C_ScrollBar& h = *p.Across;
  C_ScrollBar& v = *p.Down;
  h.Value = -layer.Scroll.X;
  h.Minimum = 0;
  h.Maximum = t.ExtentWidth + 10 - t.VisibleWidth;
  h.PageSize = t.VisibleWidth / size;
  h.Step = size;
  ClampBar(h, layer.Scroll.X, -1);
  v.Value = -layer.Scroll.Y;
  v.Minimum = 0;
  v.Maximum = t.ExtentHeight - t.VisibleHeight;
  v.PageSize = t.VisibleHeight / 1.5f;
  v.Step = size;
  ClampBar(v, layer.Scroll.Y, -1);

  const bool across = h.Maximum >= 0 && layer.Format.Align == AlignLeft;
  h.Visible = across ? 1 : 0;
  const float bottom = across ? -kBarThickness : 0;
  v.Rect.Y2 = bottom;
  p.Area->Rect.Y2 = bottom;
  if (!across) {
    layer.Scroll.X = 0;
    h.Value = 0;
  }
  const bool down = v.Maximum >= 0;
  v.Visible = down ? 1 : 0;
  const float right = down ? -kBarThickness : 0;
  h.Rect.X2 = right;
  p.Area->Rect.X2 = right;
  if (!down) {
    layer.Scroll.Y = 0;
    v.Value = 0;
  }
}

// --- the update dispatch ----------------------------------------------------------------

namespace {

// The part whose far edges a composite's bars push in: the text area or the content.
C_Widget* SizedPart(const C_Widget* composite) {
  return composite->Kind == KindTextBox ? composite->FindPart(PartTextArea, KindPlain)
                                        : composite->FindPart(PartContent, KindPlain);
}

// Passes a composite update may take: a shown bar narrows the part, which can
// show the other bar, which narrows it again.
constexpr int kCompositePasses = 3;

}  // namespace

void C_Desktop::UpdateWidget(C_Widget* widget) {
  if (!widget) return;
  if (widget->Kind == KindHScrollBar || widget->Kind == KindVScrollBar) {
    if (auto* bar = dynamic_cast<C_ScrollBar*>(widget)) PlaceThumb(*bar, ScrollTrack(*bar));
    return;
  }
  if (widget->Kind != KindTextBox && widget->Kind != KindScrollSpace) return;
  // Each pass measures with the part's size the previous one left; the update is
  // done when a pass leaves the part's edges where they were.
  for (int pass = 0; pass < kCompositePasses; ++pass) {
    const C_Widget* part = SizedPart(widget);
    const float right = part ? part->Rect.X2 : 0, bottom = part ? part->Rect.Y2 : 0;
    CompositePass(widget);
    if (!part || (part->Rect.X2 == right && part->Rect.Y2 == bottom)) break;
  }
}

void C_Desktop::CompositePass(C_Widget* widget) {
  if (widget->Kind == KindTextBox) {
    auto* box = dynamic_cast<C_TextBox*>(widget);
    if (!box || box->ScrollBars != 1) return;
    C_Widget* area = box->FindPart(PartTextArea, KindPlain);
    C_ScrollBar* across = BarPart(box, PartTextHScroll, KindHScrollBar);
    C_ScrollBar* down = BarPart(box, PartTextVScroll, KindVScrollBar);
    if (!area) return;
    area->EditEvent = EditComposite;
    if (area->Parent) EditTarget = area;
    Layout();
    HitTest(Pointer);
    C_Layer_Text* layer = area->FindTextLayer();
    if (!layer || !across || !down) return;
    SizeTextBoxBars({area, layer, across, down});
    // The bars and the text area have new sizes: lay out and measure again.
    Layout();
    HitTest(Pointer);
    PlaceThumb(*across, ScrollTrack(*across));
    PlaceThumb(*down, ScrollTrack(*down));
    return;
  }
  if (widget->Kind != KindScrollSpace) return;

  // --- scroll spaces -------------------------------------------------------------------
  C_Widget* content = widget->FindPart(PartContent, KindPlain);
  if (!content || content->ChildCount() == 0) return;
  C_ScrollBar* across = BarPart(widget, PartSpaceHScroll, KindHScrollBar);
  C_ScrollBar* down = BarPart(widget, PartSpaceVScroll, KindVScrollBar);
  Layout();
  // The children's extent in the content's own unscrolled pixels.
  const C_Rect& client = content->ResolvedClient;
  float right = 0, bottom = 0;
  for (uint32_t i = 0; i < content->ChildCount(); ++i) {
    const C_Widget* child = content->ChildAt(i);
    if (!child || child->Visible != 1) continue;
    right = std::max(right, child->Resolved.X2 - client.X1 + content->ScrollOffset.X);
    bottom = std::max(bottom, child->Resolved.Y2 - client.Y1 + content->ScrollOffset.Y);
  }
  struct Direction {
    C_ScrollBar* bar;
    float extent, visible;
    float& offset;
    float& oppositeEdge;
  };
  Direction directions[] = {
      {across, right, client.X2 - client.X1, content->ScrollOffset.X, content->Rect.Y2},
      {down, bottom, client.Y2 - client.Y1, content->ScrollOffset.Y, content->Rect.X2}};
  for (Direction& d : directions) {
    if (!d.bar) continue;
    if (d.extent > d.visible) {
      d.bar->Visible = 1;
      d.bar->Minimum = 0;
      d.bar->Maximum = d.extent - d.visible;
      d.bar->PageSize = 100;
      d.bar->Step = 10;
      d.offset = std::clamp(d.offset, 0.0f, d.bar->Maximum);
      d.bar->Value = d.offset;
      d.oppositeEdge = -kBarThickness;
    } else {
      d.bar->Visible = 0;
      d.oppositeEdge = 0;
      d.offset = 0;
      d.bar->Value = 0;
    }
  }
  // Each shown bar also keeps the other out of the corner they would share, as in
  // a text box, so that both arrows there can be reached.
  if (across && down) {
    down->Rect.Y2 = across->Visible ? -kBarThickness : 0;
    across->Rect.X2 = down->Visible ? -kBarThickness : 0;
  }
  Layout();
  if (across) PlaceThumb(*across, ScrollTrack(*across));
  if (down) PlaceThumb(*down, ScrollTrack(*down));
}

// --- forms ------------------------------------------------------------------------------

void C_Desktop::RunFormCommand(C_Form* form, uint16_t command) {
  if (!form) return;
  C_Widget* holder = form->Parent ? form->Parent : Root;
  switch (command) {
    case PartMinimise:
      if (form->Mode == FormMaximised || form->Mode == FormRolledUp) {
        // the normal-mode rectangle saved when that mode began stays
      } else if (form->Mode == FormNormal) {
        form->SavedRect = form->Rect;
      }
      form->Mode = FormMinimised;
      form->SelectFrame();
      form->Rect.Anchor1 = MakeAnchor(AnchorStart, AnchorEnd);
      form->Rect.Anchor2 = MakeAnchor(AnchorStart, AnchorEnd);
      AppendDocked(holder, form);
      break;
    case PartRestore:
      RemoveDocked(holder, form);
      form->Mode = FormNormal;
      form->SelectFrame();
      form->Rect = form->SavedRect;
      form->Inactive = 0;
      if (form->Parent && form->Parent->PartId == PartContent && form->Parent->Parent &&
          form->Parent->Parent->Kind == KindScrollSpace)
        UpdateWidget(form->Parent->Parent);
      if (Hooks.OnMoved) Hooks.OnMoved(form, form->Rect);
      break;
    case PartMaximise:
    case PartRollUp: {
      if (form->Mode == FormMinimised) RemoveDocked(holder, form);
      if (form->Mode == FormNormal) form->SavedRect = form->Rect;
      form->Mode = command == PartMaximise ? FormMaximised : FormRolledUp;
      form->SelectFrame();
      if (command == PartMaximise) {
        form->Rect = FillParent();
      } else {
        UpdateWidget(form);
        UpdateWidget(form->Parent);
      }
      break;
    }
    default:
      break;
  }
}
