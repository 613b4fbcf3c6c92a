#include <new>

#include "skin/layers.h"
#include "skin/record_fields.h"

C_Object* C_Layer_Line::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Line();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Line::CopyTo(C_Layer_Line* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Line::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) return true;
  return LoadFields(stream, context, From, To, LineColor, LineSource, Spare1, Spare2, Spare3,
                    Spare4);
}

bool C_Layer_Line::Save(ByteStream* stream, int32_t context) {
  return SaveHeader(stream, *this) && SaveFields(stream, context, From, To, LineColor, LineSource,
                                                 Spare1, Spare2, Spare3, Spare4);
}
