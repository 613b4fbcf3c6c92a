#include <new>

#include "skin/layers.h"
#include "skin/record_fields.h"

C_Object* C_Layer_Rect::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Rect();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Rect::CopyTo(C_Layer_Rect* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Rect::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) return true;
  return LoadFields(stream, context, Area, FillColor, FillSource, BorderColor, BorderSource, Mode,
                    Spare1, Spare2, Spare3);
}

bool C_Layer_Rect::Save(ByteStream* stream, int32_t context) {
  return SaveHeader(stream, *this) &&
         SaveFields(stream, context, Area, FillColor, FillSource, BorderColor, BorderSource, Mode,
                    Spare1, Spare2, Spare3);
}
