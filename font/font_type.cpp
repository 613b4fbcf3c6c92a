#include "font/font_type.h"

#include "core/error.h"
#include "core/record_stream.h"

C_FontType::C_FontType() : Name("MS Sans Serif") {}

C_FontType::C_FontType(const char* name, float size) : Name(name), Size(size), Kind(kKindNamed) {}

bool C_FontType::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_FontType::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The style flags are stored twice; the first copies and the spare byte after
// them are read and dropped, and the second pair is the one in force.
bool C_FontType::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  if (!v.Member("Name", Name)) return Fail();
  uint8_t firstFlag1 = StyleFlag1, firstFlag2 = StyleFlag2, spare = 0;
  return v.Field("Kind", Kind) && v.Field("FirstStyleFlag1", firstFlag1, Shown::Dropped) &&
         v.Field("FirstStyleFlag2", firstFlag2, Shown::Dropped) &&
         v.Field("Spare", spare, Shown::Dropped) && v.Field("Size", Size) &&
         v.Field("StyleFlag1", StyleFlag1, Shown::Hex) &&
         v.Field("StyleFlag2", StyleFlag2, Shown::Hex);
}
