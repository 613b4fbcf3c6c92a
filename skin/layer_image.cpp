#include <new>

#include "core/record_stream.h"
#include "skin/code_names.h"
#include "skin/layers.h"

C_Layer_Image::C_Layer_Image() = default;

C_Object* C_Layer_Image::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Image();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Image::CopyTo(C_Layer_Image* target) const {
  if (target && target != this) *target = *this;
}

bool C_Layer_Image::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Layer_Image::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Layer_Image::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return v.Field("Position", Position) && v.Field("Frame", Frame) &&
         v.Field("Image", Image, Shown::Code) && v.Field("ImageName", ImageName) &&
         v.Field("SparePoint1", SparePoint1) && v.Field("Angle", Angle) &&
         v.Field("Opacity", Opacity) && v.Field("MirrorVertical", MirrorVertical) &&
         v.Field("MirrorHorizontal", MirrorHorizontal) && v.Field("Pivot", Pivot) &&
         v.Field("SpareByte4", SpareByte4, Shown::Hex) && v.Field("TintColor", TintColor) &&
         v.Code("TintSource", TintSource, ColorSourceName) && v.Field("TintMode", TintMode) &&
         v.Field("GrowContent", GrowContent);
}
