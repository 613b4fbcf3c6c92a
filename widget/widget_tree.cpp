// The widget tree: links from children to parents, adding children, finding
// widgets, parts and text layers, and setting up cloned templates.
#include <cstring>
#include <new>

#include "core/collection.h"
#include "skin/decal.h"
#include "widget/widget.h"

C_Widget* C_Widget::ChildAt(uint32_t index) const {
  // A caller may have put anything into the list; only widgets are children.
  return Children ? dynamic_cast<C_Widget*>(Children->GetAt(index)) : nullptr;
}

uint32_t C_Widget::ChildCount() const {
  return Children ? Children->Count : 0;
}

void C_Widget::Relink() {
  for (uint32_t i = 0; i < ChildCount(); ++i) {
    C_Widget* child = ChildAt(i);
    if (!child) continue;
    child->Parent = this;
    child->ParentList = Children;
    child->Index = static_cast<int32_t>(i);
    child->Relink();
  }
  if (!DrawOrder) return;
  for (uint32_t k = 0; k < DrawOrder->Count; ++k) {
    if (auto* child = dynamic_cast<C_Widget*>(DrawOrder->Items[k]))
      child->OrderIndex = static_cast<int32_t>(k);
  }
}

bool C_Widget::IsSelfOrAncestor(const C_Widget* widget) const {
  for (const C_Widget* w = this; w; w = w->Parent) {
    if (w == widget) return true;
  }
  return false;
}

bool C_Widget::AddChild(C_Widget* child) {
  if (!child) return false;
  C_Widget* receiver = this;
  if (Kind == KindScrollSpace) {
    if (C_Widget* content = FindPart(PartContent, KindPlain)) receiver = content;
  } else if (Page != kAllPages && ChildAt(0)) {
    receiver = ChildAt(0);
  }
  // A widget already in a tree, or one that would contain itself, is refused: the
  // tree owns each widget once and has no cycles.
  if (child->Parent || receiver->IsSelfOrAncestor(child)) return false;
  if (!receiver->Children) receiver->Children = new (std::nothrow) C_Collection();
  if (!receiver->DrawOrder) receiver->DrawOrder = new (std::nothrow) C_Collection();
  if (!receiver->Children || !receiver->DrawOrder) return false;
  if (!receiver->Children->Append(child)) return false;
  if (!receiver->DrawOrder->Append(child)) {
    receiver->Children->RemoveAt(receiver->Children->Count - 1);
    return false;
  }
  child->Parent = receiver;
  child->ParentList = receiver->Children;
  child->Index = static_cast<int32_t>(receiver->Children->Count - 1);
  child->OrderIndex = static_cast<int32_t>(receiver->DrawOrder->Count - 1);
  ActiveChild = child;
  return true;
}

C_Widget* C_Widget::FindWidget(const char* name, uint32_t tag, uint16_t kind, bool deep) const {
  for (uint32_t i = 0; i < ChildCount(); ++i) {
    C_Widget* child = ChildAt(i);
    if (!child) continue;
    if (child->Kind == kind && child->Tag == tag && name && child->Name.Equals(name)) return child;
    if (deep) {
      if (C_Widget* found = child->FindWidget(name, tag, kind, true)) return found;
    }
  }
  return nullptr;
}

C_Widget* C_Widget::FindPart(uint16_t partId, uint16_t kind) const {
  for (uint32_t i = 0; i < ChildCount(); ++i) {
    C_Widget* child = ChildAt(i);
    if (child && child->PartId == partId && child->Kind == kind) return child;
  }
  return nullptr;
}

C_Layer_Text* C_Widget::FindTextLayer() const {
  const C_Decal* decal = Decals[SlotNormal];
  if (!decal || !decal->Layers) return nullptr;
  for (uint32_t i = 0; i < decal->Layers->Count; ++i) {
    if (auto* text = dynamic_cast<C_Layer_Text*>(decal->Layers->Items[i])) return text;
  }
  return nullptr;
}

void C_Widget::SetText(const char* text) {
  if (!text) return;
  Text.Assign(C_String(text));
  if (Kind == KindForm) {
    for (uint16_t part = PartFrameNormal; part <= PartFrameRolledUp; ++part) {
      if (C_Widget* frame = FindPart(part, KindPlain)) frame->Text.Assign(C_String(text));
    }
  } else if (Kind == KindTextBox) {
    if (C_Widget* area = FindPart(PartTextArea, KindPlain)) area->Text.Assign(C_String(text));
  }
}

void C_Widget::Setup(const C_Rect& rect, const char* name, const char* text) {
  if (name) Name.Assign(C_String(name));
  SetText(text);
  Tag = 0;
  Rect = rect;
  BaseX2 = rect.X2;
  BaseY2 = rect.Y2;
  SetUpFlag = 1;
  Visible = 1;
  Movable = 0;
  Resizable = 0;
}

void C_Widget::SetupPage(const C_Rect& rect, const C_Rect& client, const char* name) {
  if (name) Name.Assign(C_String(name));
  Tag = 0;
  Rect = rect;
  BaseX2 = rect.X2;
  BaseY2 = rect.Y2;
  ClientRect = client;
  Kind = KindPlain;
  PartId = PartNone;
  SetUpFlag = 1;
  Visible = 1;
  Checked = 0;
  Movable = 0;
  Resizable = 0;
  BringToFront = 0;
}
