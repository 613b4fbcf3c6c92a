#include "graphics/geometry/circle.h"

#include "core/byte_stream.h"
#include "core/error.h"

bool C_Circle::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  if (!Center.Load(stream, context)) return Fail();
  if (!ReadField(stream, Radius)) return Fail(ErrorUnexpectedData);
  return true;
}

bool C_Circle::Save(ByteStream* stream, int32_t context) {
  if (!WriteField(stream, GetClassId())) return Fail();
  if (!Center.Save(stream, context)) return Fail();
  if (!WriteField(stream, Radius)) return Fail();
  return true;
}
