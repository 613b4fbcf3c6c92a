#include "font/text_format.h"

#include "core/error.h"
#include "core/record_stream.h"

// A short record leaves the format as it was: the fields are read into a copy.
bool C_TextFormat::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  C_TextFormat read = *this;
  if (!LoadFields(stream, context, read)) return false;
  *this = read;
  return true;
}

bool C_TextFormat::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_TextFormat::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return v.Field("Align", Align) && v.Field("Ellipsis", Ellipsis) &&
         v.Field("SpareFlag1", SpareFlag1, Shown::Hex) && v.Field("Leading", Leading) &&
         v.Field("LeftEdge", LeftEdge) && v.Field("LeftAnchor", LeftAnchor, Shown::Hex) &&
         v.Field("RightEdge", RightEdge) && v.Field("RightAnchor", RightAnchor, Shown::Hex) &&
         v.Field("Extra", Extra) && v.Field("ExtraAnchor", ExtraAnchor, Shown::Hex) &&
         v.Field("SpareFlag2", SpareFlag2, Shown::Hex) && v.Field("Spare1", Spare1, Shown::Hex) &&
         v.Field("Spare2", Spare2, Shown::Hex) && v.Field("Spare3", Spare3, Shown::Hex);
}
