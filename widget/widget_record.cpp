// The widget record: the decal list between its markers, the stored fields, the
// optional extras and children peeked by class id, and the drawing order as
// indexes into the children.
#include <new>

#include "core/collection.h"
#include "skin/decal.h"
#include "skin/record_fields.h"
#include "widget/widget.h"

namespace {

// Reads an optional object: a u16 0 stands for none; any other id must name a
// registered class, whose object is created and loaded. `object` receives what
// was created even when loading it fails, so that the caller can free it.
bool LoadOptional(ByteStream* stream, int32_t context, C_Object*& object) {
  object = nullptr;
  uint16_t id = 0;
  if (!ReadField(stream, id)) return Fail(ErrorUnexpectedData);
  if (id == class_id::None) return true;
  StepBack(stream, 2);
  if (!LoadHeldObject(stream, context, object)) return Fail();
  // An unregistered id leaves the stream before it: nothing more can be read.
  if (!object) return Fail(ErrorUnexpectedData);
  return true;
}

bool SaveOptional(ByteStream* stream, int32_t context, C_Object* object) {
  if (!object) return WriteField<uint16_t>(stream, class_id::None) || Fail();
  return object->Save(stream, context);
}

// The optional object as a collection; anything else is refused and freed.
bool TakeCollection(C_Object* object, C_Collection*& list) {
  list = dynamic_cast<C_Collection*>(object);
  if (object && !list) {
    DeleteOwnedObject(object);
    return Fail(ErrorUnexpectedData);
  }
  return true;
}

}  // namespace

C_Widget* DrawOrderAt(const C_Widget& widget, uint32_t index) {
  if (!widget.DrawOrder) return nullptr;
  return dynamic_cast<C_Widget*>(widget.DrawOrder->GetAt(index));
}

bool C_Widget::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  bool stopped = false;
  if (LoadWidgetContents(stream, context, stopped)) return true;
  Release();
  Init();
  return Fail();
}

bool C_Widget::Save(ByteStream* stream, int32_t context) {
  return (WriteField(stream, GetClassId()) || Fail()) && SaveWidgetContents(stream, context);
}

// After the start byte, bytes are read one at a time: an entry marker is followed
// by a slot and a decal, the end marker or the end of the data ends the list, and
// anything else is skipped. A start byte that is not the marker means no list.
bool C_Widget::LoadDecalList(ByteStream* stream, int32_t context) {
  uint8_t byte = 0;
  if (!ReadField(stream, byte)) return Fail(ErrorUnexpectedData);
  if (byte != kDecalListStart) return true;
  while (ReadField(stream, byte) && byte != kDecalListEnd) {
    if (byte != kDecalEntry) continue;
    uint8_t slot = 0;
    if (!ReadField(stream, slot)) break;
    auto* decal = new (std::nothrow) C_Decal();
    if (!decal) return Fail(ErrorAllocation);
    if (!decal->Load(stream, context)) {
      DeleteOwnedObject(decal);
      return Fail();
    }
    // A slot outside the ten is read, to keep the stream aligned, then dropped; a
    // slot given twice keeps the later decal.
    if (slot >= kDecalSlots) {
      DeleteOwnedObject(decal);
      continue;
    }
    DeleteOwnedObject(Decals[slot]);
    Decals[slot] = decal;
  }
  // A list cut short by the end of the data leaves the stream broken, and the
  // fields after it fail to read.
  return true;
}

bool C_Widget::LoadChildren(ByteStream* stream, int32_t context) {
  C_Object* object = nullptr;
  const bool loaded = LoadOptional(stream, context, object);
  if (!TakeCollection(object, Children)) return false;
  if (!loaded) return false;
  if (!Children) return true;
  // Every child must be a widget: a record that holds anything else is refused.
  for (uint32_t i = 0; i < Children->Count; ++i) {
    if (!dynamic_cast<C_Widget*>(Children->Items[i])) return Fail(ErrorUnexpectedData);
  }
  return true;
}

// One index per child. An index outside the children, or one that names a child
// already placed, leaves its entry empty, so that no child is drawn twice.
bool C_Widget::LoadDrawOrder(ByteStream* stream) {
  const uint32_t count = ChildCount();
  if (count == 0) return true;
  if (!StreamCanHold(stream, 4ull * count)) return Fail(ErrorUnexpectedData);
  DrawOrder = new (std::nothrow) C_Collection();
  if (!DrawOrder) return Fail(ErrorAllocation);
  for (uint32_t k = 0; k < count; ++k) {
    int32_t index = -1;
    if (!ReadField(stream, index)) return Fail(ErrorUnexpectedData);
    C_Widget* child = index >= 0 ? ChildAt(static_cast<uint32_t>(index)) : nullptr;
    for (uint32_t j = 0; child && j < DrawOrder->Count; ++j) {
      if (DrawOrder->Items[j] == child) child = nullptr;
    }
    if (!DrawOrder->Append(child)) return Fail(ErrorAllocation);
  }
  return true;
}

bool C_Widget::LoadWidgetContents(ByteStream* stream, int32_t context, bool& stopped) {
  stopped = false;
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) {
    stopped = true;
    return true;
  }
  if (!LoadDecalList(stream, context)) return false;
  if (!LoadFields(stream, context, Name, Tag, Kind, PartId, Rect, ClientRect, DragLimits, AltColor,
                  AltSource, Color, ColorSource, Text, Flag0, Visible, Flag2, Checked, Movable,
                  Page, MinWidth, MinHeight, Opacity, Resizable, BringToFront, Remembered,
                  ActivationMode, Rect4)) {
    return false;
  }
  C_Object* extras = nullptr;
  const bool extrasLoaded = LoadOptional(stream, context, extras);
  if (!TakeCollection(extras, Extras) || !extrasLoaded) return false;
  if (!LoadChildren(stream, context) || !LoadDrawOrder(stream)) return false;
  BaseX2 = Rect.X2;
  BaseY2 = Rect.Y2;
  Relink();
  return true;
}

bool C_Widget::SaveWidgetContents(ByteStream* stream, int32_t context) {
  if (!WriteField(stream, FormatVersion) || !WriteField(stream, kDecalListStart)) return Fail();
  for (int32_t slot = 0; slot < kDecalSlots; ++slot) {
    if (!Decals[slot]) continue;
    if (!WriteField(stream, kDecalEntry) || !WriteField(stream, static_cast<uint8_t>(slot)) ||
        !Decals[slot]->Save(stream, context)) {
      return Fail();
    }
  }
  if (!WriteField(stream, kDecalListEnd)) return Fail();
  if (!SaveFields(stream, context, Name, Tag, Kind, PartId, Rect, ClientRect, DragLimits, AltColor,
                  AltSource, Color, ColorSource, Text, Flag0, Visible, Flag2, Checked, Movable,
                  Page, MinWidth, MinHeight, Opacity, Resizable, BringToFront, Remembered,
                  ActivationMode, Rect4)) {
    return false;
  }
  if (!SaveOptional(stream, context, Extras)) return false;
  if (!Children) return WriteField<uint16_t>(stream, class_id::None) || Fail();
  Relink();
  if (!Children->Save(stream, context)) return false;
  for (uint32_t k = 0; k < ChildCount(); ++k) {
    const C_Widget* child = DrawOrderAt(*this, k);
    const int32_t index = child ? child->Index : -1;
    if (!WriteField(stream, index)) return Fail();
  }
  return true;
}
