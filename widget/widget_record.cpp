// The widget record: the version, the decal list between its markers, the stored
// fields, the optional extras and children announced by class id, and the drawing
// order as indexes into the children.
#include <new>

#include "core/collection.h"
#include "core/record_stream.h"
#include "skin/code_names.h"
#include "skin/decal.h"
#include "widget/code_names.h"
#include "widget/widget.h"

C_Widget* DrawOrderAt(const C_Widget& widget, uint32_t index) {
  if (!widget.DrawOrder) return nullptr;
  return dynamic_cast<C_Widget*>(widget.DrawOrder->GetAt(index));
}

bool C_Widget::Load(ByteStream* stream, int32_t context) {
  return LoadWidgetRecord(stream, context);
}

bool C_Widget::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Widget::Fields(RecordVisitor& v) {
  bool stopped = false;
  return WidgetFields(v, stopped);
}

bool C_Widget::LoadWidgetRecord(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  if (LoadFields(stream, context, *this)) return true;
  Release();
  Init();
  return Fail();
}

bool C_Widget::DerivedVersion(RecordVisitor& v, bool& current) {
  current = false;
  bool stopped = false;
  if (!WidgetFields(v, stopped)) return false;
  return stopped || v.Version(current);
}

// After the start byte, an entry marker is followed by a slot and a decal, and
// the end marker or the end of the data ends the list. A slot outside the ten is
// read, to keep the stream aligned, then dropped; a slot given twice keeps the
// later decal.
bool C_Widget::DecalsField(RecordVisitor& v) {
  static constexpr ListMarkers kDecalList = {kDecalListStart, kDecalEntry, kDecalListEnd, "decal"};
  bool present = true;
  if (!v.BeginMarkedList("Decals", kDecalList, present)) return false;
  if (!present) return true;
  const bool reading = v.Reading();
  for (int32_t next = 0;;) {
    while (!reading && next < kDecalSlots && !Decals[next]) ++next;
    bool more = reading || next < kDecalSlots;
    if (!v.NextEntry(kDecalList, more)) return false;
    if (!more) return true;
    uint8_t slot = static_cast<uint8_t>(next++);
    C_Decal* decal = reading ? new (std::nothrow) C_Decal() : Decals[slot];
    bool ok = decal != nullptr || Fail(ErrorAllocation);
    ok = ok && v.Field("Slot", slot) && v.Member("Decal", *decal);
    v.EndElement();
    if (!reading) {
      if (!ok) return false;
      continue;
    }
    if (!ok || slot >= kDecalSlots) {
      DeleteOwnedObject(decal);
      if (!ok) return false;
      continue;
    }
    DeleteOwnedObject(Decals[slot]);
    Decals[slot] = decal;
  }
}

// An optional collection announced by its class id; anything else is refused.
bool C_Widget::HeldListField(RecordVisitor& v, const char* name, C_Collection*& list) {
  C_Object* object = list;
  const bool walked = v.Held(name, object, HeldRule::Known);
  if (!v.Reading()) return walked;
  list = dynamic_cast<C_Collection*>(object);
  if (object && !list) {
    DeleteOwnedObject(object);
    return Fail(ErrorUnexpectedData);
  }
  return walked;
}

// One index per child. Reading, an index outside the children, or one that names
// a child already placed, leaves its entry empty, so that no child is drawn twice.
bool C_Widget::DrawOrderField(RecordVisitor& v) {
  uint32_t count = ChildCount();
  if (!v.BeginList("DrawOrder", count, ListCount::Implied, 4)) return false;
  const bool reading = v.Reading();
  if (reading && count > 0) {
    DrawOrder = new (std::nothrow) C_Collection();
    if (!DrawOrder) {
      v.EndList();
      return Fail(ErrorAllocation);
    }
  }
  bool ok = true;
  for (uint32_t k = 0; ok && k < count; ++k) {
    const C_Widget* placed = reading ? nullptr : DrawOrderAt(*this, k);
    int32_t index = placed ? placed->Index : -1;
    ok = v.Element(k) && v.Field(nullptr, index);
    v.EndElement();
    if (!ok || !reading) continue;
    C_Widget* child = index >= 0 ? ChildAt(static_cast<uint32_t>(index)) : nullptr;
    for (uint32_t j = 0; child && j < DrawOrder->Count; ++j) {
      if (DrawOrder->Items[j] == child) child = nullptr;
    }
    ok = DrawOrder->Append(child) || Fail(ErrorAllocation);
  }
  v.EndList();
  return ok;
}

bool C_Widget::WidgetFields(RecordVisitor& v, bool& stopped) {
  stopped = false;
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) {
    stopped = true;
    return true;
  }
  const bool reading = v.Reading();
  if (!DecalsField(v)) return false;
  if (!v.Field("Name", Name) || !v.Field("Tag", Tag, Shown::Code) ||
      !v.Code("Kind", Kind, WidgetKindName) || !v.Code("PartId", PartId, WidgetPartName) ||
      !v.Field("Rect", Rect) || !v.Field("ClientRect", ClientRect) ||
      !v.Field("DragLimits", DragLimits) || !v.Field("AltColor", AltColor) ||
      !v.Code("AltSource", AltSource, ColorSourceName) || !v.Field("Color", Color) ||
      !v.Code("ColorSource", ColorSource, ColorSourceName) || !v.Field("Text", Text) ||
      !v.Field("SetUpFlag", SetUpFlag) || !v.Field("Visible", Visible) ||
      !v.Field("SpareFlag", SpareFlag) || !v.Field("Checked", Checked) ||
      !v.Field("Movable", Movable) || !v.Field("Page", Page) || !v.Field("MinWidth", MinWidth) ||
      !v.Field("MinHeight", MinHeight) || !v.Field("Opacity", Opacity) ||
      !v.Field("Resizable", Resizable) || !v.Field("BringToFront", BringToFront) ||
      !v.Field("Remembered", Remembered) || !v.Field("ActivationMode", ActivationMode) ||
      !v.Field("SpareRect", SpareRect)) {
    return false;
  }
  if (!HeldListField(v, "Extras", Extras)) return false;
  if (!reading) Relink();
  if (!HeldListField(v, "Children", Children)) return false;
  // Every child must be a widget: a record that holds anything else is refused.
  for (uint32_t i = 0; reading && Children && i < Children->Count; ++i) {
    if (!dynamic_cast<C_Widget*>(Children->Items[i])) return Fail(ErrorUnexpectedData);
  }
  if (!DrawOrderField(v)) return false;
  if (reading) {
    BaseX2 = Rect.X2;
    BaseY2 = Rect.Y2;
    Relink();
  }
  return true;
}
