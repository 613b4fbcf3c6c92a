#include <new>

#include "core/record_stream.h"
#include "skin/code_names.h"
#include "skin/layers.h"

C_Object* C_Layer_Rect::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Rect();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Rect::CopyTo(C_Layer_Rect* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Rect::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Layer_Rect::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Layer_Rect::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return v.Field("Area", Area) && v.Field("FillColor", FillColor) &&
         v.Code("FillSource", FillSource, ColorSourceName) && v.Field("BorderColor", BorderColor) &&
         v.Code("BorderSource", BorderSource, ColorSourceName) && v.Field("Mode", Mode) &&
         v.Field("Spare1", Spare1, Shown::Hex) && v.Field("Spare2", Spare2, Shown::Hex) &&
         v.Field("Spare3", Spare3, Shown::Hex);
}
