#include "core/object.h"

#include <new>

#include "core/byte_stream.h"
#include "core/error.h"

C_Object* C_Object::Clone() {
  C_Object* copy = new (std::nothrow) C_Object();
  CopyObject(copy);
  return copy;
}

bool C_Object::Load(ByteStream* stream, int32_t context) {
  (void)context;
  return stream != nullptr;
}

bool C_Object::Save(ByteStream* stream, int32_t context) {
  (void)context;
  return stream != nullptr;
}

bool C_Object::Fields(RecordVisitor& visitor) {
  (void)visitor;
  return true;
}

bool ReadClassId(ByteStream* stream, const C_Object& object) {
  uint16_t id = 0;
  if (!ReadField(stream, id)) return Fail(ErrorUnexpectedData);
  if (id != object.GetClassId()) return Fail(ErrorUnexpectedData);
  return true;
}
