#include <new>

#include "core/record_stream.h"
#include "skin/code_names.h"
#include "skin/layers.h"

C_Object* C_Layer_Line::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Line();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Line::CopyTo(C_Layer_Line* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Line::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Layer_Line::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Layer_Line::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return v.Field("From", From) && v.Field("To", To) && v.Field("LineColor", LineColor) &&
         v.Code("LineSource", LineSource, ColorSourceName) &&
         v.Field("Spare1", Spare1, Shown::Hex) && v.Field("Spare2", Spare2, Shown::Hex) &&
         v.Field("Spare3", Spare3, Shown::Hex) && v.Field("Spare4", Spare4, Shown::Hex);
}
