#include <new>

#include "skin/layers.h"
#include "skin/record_fields.h"

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
  if (!ReadClassId(stream, *this)) return false;
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) return true;
  return LoadFields(stream, context, Position, Frame, Image, ImageName, Param1, Angle, Opacity,
                    BlendA, BlendB, Pivot, Param4, TintColor, TintSource, TintMode, GrowContent);
}

bool C_Layer_Image::Save(ByteStream* stream, int32_t context) {
  return SaveHeader(stream, *this) &&
         SaveFields(stream, context, Position, Frame, Image, ImageName, Param1, Angle, Opacity,
                    BlendA, BlendB, Pivot, Param4, TintColor, TintSource, TintMode, GrowContent);
}
