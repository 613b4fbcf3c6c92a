#include "font/font_type.h"

#include "core/byte_stream.h"
#include "core/error.h"

C_FontType::C_FontType() : Name("MS Sans Serif") {}

C_FontType::C_FontType(const char* name, float size) : Name(name), Size(size), Kind(kKindNamed) {}

bool C_FontType::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  if (version != FormatVersion) return true;
  if (!Name.Load(stream, context)) return Fail();
  uint8_t bytes[4] = {};
  float size = 0;
  uint8_t flag1 = 0, flag2 = 0;
  if (!ReadBytes(stream, bytes, sizeof bytes) || !ReadField(stream, size) ||
      !ReadField(stream, flag1) || !ReadField(stream, flag2)) {
    return Fail(ErrorUnexpectedData);
  }
  Kind = bytes[0];
  Size = size;
  // The flags are stored twice; the second pair is the one in force.
  StyleFlag1 = flag1;
  StyleFlag2 = flag2;
  return true;
}

bool C_FontType::Save(ByteStream* stream, int32_t context) {
  const uint8_t bytes[4] = {Kind, StyleFlag1, StyleFlag2, 0};
  return (WriteField(stream, GetClassId()) && WriteField(stream, FormatVersion) &&
          Name.Save(stream, context) && WriteBytes(stream, bytes, sizeof bytes) &&
          WriteField(stream, Size) && WriteField(stream, StyleFlag1) &&
          WriteField(stream, StyleFlag2)) ||
         Fail();
}
