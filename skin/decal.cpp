#include "skin/decal.h"

#include <new>

#include "core/collection.h"
#include "graphics/geometry/anchor.h"
#include "skin/record_fields.h"

namespace {

constexpr uint8_t kListFollows = 1;
constexpr uint8_t kNoList = 0;

C_Collection* CloneList(const C_Collection* list) {
  if (!list) return nullptr;
  auto* copy = new (std::nothrow) C_Collection();
  if (copy) list->CopyTo(copy);
  return copy;
}

bool LoadList(ByteStream* stream, int32_t context, C_Collection*& list) {
  uint8_t flag = kNoList;
  if (!ReadField(stream, flag)) return Fail(ErrorUnexpectedData);
  if (flag != kListFollows) return true;
  list = new (std::nothrow) C_Collection();
  if (!list) return Fail(ErrorAllocation);
  return list->Load(stream, context);
}

bool SaveList(ByteStream* stream, int32_t context, C_Collection* list) {
  if (!list) return WriteField(stream, kNoList) || Fail();
  return (WriteField(stream, kListFollows) || Fail()) && list->Save(stream, context);
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

// A list that fails half-way stays in its member, so Release frees what was read.
bool C_Decal::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) return true;
  return LoadList(stream, context, Layers) && LoadList(stream, context, CheckedLayers) &&
         Margins.Load(stream, context);
}

bool C_Decal::Save(ByteStream* stream, int32_t context) {
  return SaveHeader(stream, *this) && SaveList(stream, context, Layers) &&
         SaveList(stream, context, CheckedLayers) && Margins.Save(stream, context);
}
