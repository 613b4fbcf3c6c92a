#include "graphics/geometry/circle.h"

#include "core/record_stream.h"

bool C_Circle::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Circle::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Circle::Fields(RecordVisitor& v) {
  return v.Member("Center", Center) && v.Field("Radius", Radius);
}
