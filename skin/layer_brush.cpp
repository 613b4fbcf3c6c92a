#include <new>

#include "core/record_stream.h"
#include "skin/code_names.h"
#include "skin/layers.h"

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
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Layer_Brush::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Layer_Brush::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return v.Field("Area", Area) && v.Field("SourceRect", SourceRect) &&
         v.Field("Sheet", Sheet, Shown::Code) && v.Field("SheetName", SheetName) &&
         v.Field("SparePoint1", SparePoint1) && v.Field("Angle", Angle) &&
         v.Field("Opacity", Opacity) && v.Field("SparePoint3", SparePoint3) &&
         v.Field("MirrorVertical", MirrorVertical) &&
         v.Field("MirrorHorizontal", MirrorHorizontal) && v.Field("TileAcross", TileAcross) &&
         v.Field("TileDown", TileDown) && v.Field("SparePoint4", SparePoint4) &&
         v.Field("SpareByte5", SpareByte5, Shown::Hex) && v.Field("TintColor", TintColor) &&
         v.Code("TintSource", TintSource, ColorSourceName) && v.Field("TintMode", TintMode) &&
         v.Field("Spare1", Spare1, Shown::Hex);
}
