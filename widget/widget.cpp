// The widget's life cycle, copying and preparation.
#include "widget/widget.h"

#include <new>

#include "core/collection.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/anchor.h"
#include "skin/decal.h"

namespace {

// Bounds for dragging children: everywhere, given as offsets from the parent's
// corners.
C_Rect DefaultDragLimits() {
  return C_Rect(-65535.0f, -65535.0f, 65535.0f, 65535.0f, MakeAnchor(AnchorStart, AnchorStart),
                MakeAnchor(AnchorEnd, AnchorEnd));
}

// A list that refers to widgets without owning them.
void FreeList(C_Collection*& list) {
  if (!list) return;
  list->Release();
  delete list;
  list = nullptr;
}

}  // namespace

C_Widget::C_Widget() {
  InitWidget();
}

C_Widget::~C_Widget() {
  ReleaseWidget();
}

void C_Widget::InitWidget() {
  Name = C_String();
  Tag = 0;
  Kind = KindPlain;
  PartId = PartNone;
  Rect = C_Rect();
  ClientRect = C_Rect();
  DragLimits = DefaultDragLimits();
  for (C_Decal*& decal : Decals) decal = nullptr;
  Children = nullptr;
  Page = kAllPages;
  MinWidth = 0;
  MinHeight = 0;
  SpareRect = C_Rect();
  Extras = nullptr;
  AltColor = C_Color();
  AltSource = 0;
  Color = C_Color();
  ColorSource = 0;
  Opacity = 1;
  Text = C_String();
  SetUpFlag = Visible = SpareFlag = Checked = Movable = Resizable = BringToFront = 0;
  Remembered = 1;
  ActivationMode = 0;

  Parent = nullptr;
  ParentList = nullptr;
  Index = 0;
  OrderIndex = 0;
  DrawOrder = nullptr;
  State = StateNormal;
  Inactive = 0;
  ActiveChild = nullptr;
  EditEvent = 0;
  Prepared = 0;
  Attachment = nullptr;
  OwnsAttachment = 0;
  ImageRef = MakeImageRef(ImageNone, 0);
  ImageRect = C_Rect();
  Owner = DrawOwner();
  Api = nullptr;
  Resolved = ResolvedClient = WorkRect = ContentExtent = C_Rect();
  ScrollOffset = C_Vector2D();
  Docked = nullptr;
  BaseX2 = BaseY2 = 0;
}

// Pointers are cleared as well, so that a widget released twice frees nothing twice.
void C_Widget::ReleaseWidget() {
  DeleteOwnedObject(Children);
  Children = nullptr;
  for (C_Decal*& decal : Decals) {
    DeleteOwnedObject(decal);
    decal = nullptr;
  }
  DeleteOwnedObject(Extras);
  Extras = nullptr;
  FreeList(Docked);
  FreeList(DrawOrder);
  if (OwnsAttachment) DeleteOwnedObject(Attachment);
  Attachment = nullptr;
  OwnsAttachment = 0;
  ActiveChild = nullptr;
  // The widget's own drawing interface goes with it, detaching from Owner.
  delete Api;
  Api = nullptr;
}

void C_Widget::Init() {
  InitWidget();
}

void C_Widget::Release() {
  ReleaseWidget();
}

void C_Widget::ClearWidget() {
  ReleaseWidget();
  InitWidget();
}

C_Object* C_Widget::Clone() {
  auto* copy = new (std::nothrow) C_Widget();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Widget::CopyTo(C_Widget* target) {
  if (!target || target == this) return;
  Relink();
  target->ReleaseWidget();
  target->Name = Name;
  target->Tag = Tag;
  target->Kind = Kind;
  target->PartId = PartId;
  if (Attachment) {
    target->Attachment = Attachment->Clone();
    target->OwnsAttachment = target->Attachment != nullptr;
  }
  target->Rect = Rect;
  target->BaseX2 = BaseX2;
  target->BaseY2 = BaseY2;
  target->ClientRect = ClientRect;
  target->DragLimits = DragLimits;
  for (int32_t slot = 0; slot < kDecalSlots; ++slot) {
    target->Decals[slot] = Decals[slot] ? static_cast<C_Decal*>(Decals[slot]->Clone()) : nullptr;
  }
  // The parent is not copied: a clone starts outside any tree, so that it can be
  // added, and a widget copied over keeps its own place.
  target->Page = Page;
  target->Extras = Extras ? static_cast<C_Collection*>(Extras->Clone()) : nullptr;
  target->AltColor = AltColor;
  target->AltSource = AltSource;
  target->Color = Color;
  target->ColorSource = ColorSource;
  target->Text = Text;
  target->SetUpFlag = SetUpFlag;
  target->Visible = Visible;
  target->SpareFlag = SpareFlag;
  target->Checked = Checked;
  target->Movable = Movable;
  target->Resizable = Resizable;
  target->BringToFront = BringToFront;
  target->MinWidth = MinWidth;
  target->MinHeight = MinHeight;
  target->ActivationMode = ActivationMode;
  target->Remembered = Remembered;
  // Fields the widget code does not read are copied as well, so that a clone saves
  // the same record as its original.
  target->Opacity = Opacity;
  target->SpareRect = SpareRect;
  target->ImageRef = ImageRef;
  target->ImageRect = ImageRect;
  if (!Children) return;
  target->Children = static_cast<C_Collection*>(Children->Clone());
  if (!target->Children) return;
  target->Relink();
  if (!DrawOrder) return;
  target->DrawOrder = new (std::nothrow) C_Collection();
  if (!target->DrawOrder) return;
  for (uint32_t k = 0; k < DrawOrder->Count; ++k) {
    const auto* child = dynamic_cast<const C_Widget*>(DrawOrder->Items[k]);
    target->DrawOrder->Append(child ? target->ChildAt(static_cast<uint32_t>(child->Index))
                                    : nullptr);
  }
  target->Relink();
}

void C_Widget::Prepare(WidgetHook hook) {
  if (Prepared) return;
  if (hook) hook(this);
  for (uint32_t i = 0; i < ChildCount(); ++i) {
    if (C_Widget* child = ChildAt(i)) child->Prepare(hook);
  }
  WorkRect = Rect;
  Prepared = 1;
}

void C_Widget::Unprepare(WidgetHook hook) {
  if (!Prepared) return;
  if (hook) hook(this);
  for (uint32_t i = 0; i < ChildCount(); ++i) {
    if (C_Widget* child = ChildAt(i)) child->Unprepare(hook);
  }
  Prepared = 0;
}
