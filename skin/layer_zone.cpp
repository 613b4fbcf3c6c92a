#include <new>

#include "skin/layers.h"
#include "skin/record_fields.h"

C_Object* C_Layer_Zone::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Zone();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Zone::CopyTo(C_Layer_Zone* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Zone::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) return true;
  return LoadFields(stream, context, Area, Action, Cursor, Spare1);
}

bool C_Layer_Zone::Save(ByteStream* stream, int32_t context) {
  return SaveHeader(stream, *this) && SaveFields(stream, context, Area, Action, Cursor, Spare1);
}
