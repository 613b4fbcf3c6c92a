#include "graphics/geometry/color.h"

#include "core/record_stream.h"

C_Color C_Color::FromBytes(int32_t red, int32_t green, int32_t blue) {
  return C_Color(static_cast<float>(red / 255.0), static_cast<float>(green / 255.0),
                 static_cast<float>(blue / 255.0), 1.0f);
}

bool C_Color::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Color::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Color::Fields(RecordVisitor& v) {
  return v.Field("Red", Red) && v.Field("Green", Green) && v.Field("Blue", Blue) &&
         v.Field("Alpha", Alpha);
}
