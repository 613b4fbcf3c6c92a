#include "skin/decal.h"

#include <new>

#include "core/collection.h"
#include "core/record_stream.h"
#include "graphics/geometry/anchor.h"

namespace {

C_Collection* CloneList(const C_Collection* list) {
  if (!list) return nullptr;
  auto* copy = new (std::nothrow) C_Collection();
  if (copy) list->CopyTo(copy);
  return copy;
}

// A flag byte, then the list's collection record when the flag is 1. A list that
// fails half-way stays in its member, so Release frees what was read.
bool ListField(RecordVisitor& v, const char* name, C_Collection*& list) {
  bool present = list != nullptr;
  if (!v.Presence(name, present)) return false;
  if (!present) return true;
  if (v.Reading()) {
    list = new (std::nothrow) C_Collection();
    if (!list) return Fail(ErrorAllocation);
  }
  return v.Member(name, *list);
}

}  // namespace

C_Decal::~C_Decal() {
  Release();
}

void C_Decal::Init() {
  Layers = nullptr;
  CheckedLayers = nullptr;
  Margins = C_Rect();
}

void C_Decal::Release() {
  DeleteOwnedObject(Layers);
  DeleteOwnedObject(CheckedLayers);
  Layers = nullptr;
  CheckedLayers = nullptr;
}

C_Object* C_Decal::Clone() {
  auto* copy = new (std::nothrow) C_Decal();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Decal::CopyTo(C_Decal* target) const {
  if (!target || target == this) return;
  target->Release();
  target->Layers = CloneList(Layers);
  target->CheckedLayers = CloneList(CheckedLayers);
  target->Margins = Margins;
}

C_Rect C_Decal::AreaFor(const C_Rect& rect) const {
  return C_Rect(rect.X1 - Margins.X1, rect.Y1 - Margins.Y1, rect.X2 + Margins.X2,
                rect.Y2 + Margins.Y2, kAnchorResolved, kAnchorResolved);
}

bool C_Decal::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  return LoadFields(stream, context, *this);
}

bool C_Decal::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Decal::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return ListField(v, "Layers", Layers) && ListField(v, "CheckedLayers", CheckedLayers) &&
         v.Member("Margins", Margins);
}
