#include "graphics/geometry/color.h"

#include "core/value_record.h"

C_Color C_Color::FromBytes(int32_t red, int32_t green, int32_t blue) {
  return C_Color(static_cast<float>(red / 255.0), static_cast<float>(green / 255.0),
                 static_cast<float>(blue / 255.0), 1.0f);
}

bool C_Color::Load(ByteStream* stream, int32_t) {
  return LoadValueRecord(stream, *this, Red, Green, Blue, Alpha);
}

bool C_Color::Save(ByteStream* stream, int32_t) {
  return SaveValueRecord(stream, *this, Red, Green, Blue, Alpha);
}
