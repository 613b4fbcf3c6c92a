#include <new>

#include "skin/layers.h"
#include "skin/record_fields.h"

C_Layer_Brush::C_Layer_Brush() = default;

C_Object* C_Layer_Brush::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Brush();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Brush::CopyTo(C_Layer_Brush* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Brush::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) return true;
  return LoadFields(stream, context, Area, SourceRect, Sheet, SheetName, Param1, Angle, Opacity,
                    Param3, BlendA, BlendB, BlendC, BlendD, Param4, Param5, TintColor, TintSource,
                    TintMode, Spare1);
}

bool C_Layer_Brush::Save(ByteStream* stream, int32_t context) {
  return SaveHeader(stream, *this) &&
         SaveFields(stream, context, Area, SourceRect, Sheet, SheetName, Param1, Angle, Opacity,
                    Param3, BlendA, BlendB, BlendC, BlendD, Param4, Param5, TintColor, TintSource,
                    TintMode, Spare1);
}
