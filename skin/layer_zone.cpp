#include <new>

#include "core/record_stream.h"
#include "skin/code_names.h"
#include "skin/layers.h"

C_Object* C_Layer_Zone::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Zone();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Zone::CopyTo(C_Layer_Zone* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Zone::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Layer_Zone::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Layer_Zone::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return v.Field("Area", Area) && v.Code("Action", Action, ZoneActionName) &&
         v.Code("Cursor", Cursor, CursorName) && v.Field("Spare1", Spare1, Shown::Hex);
}
