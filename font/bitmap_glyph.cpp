#include "font/bitmap_glyph.h"

#include <cmath>
#include <new>

#include "core/error.h"
#include "core/record_stream.h"

namespace {

// Toward zero, saturated to 32 bits (NaN gives 0), then the low 16 bits.
int16_t StoredCoordinate(float value) {
  int64_t whole = 0;
  if (std::isnan(value)) {
    whole = 0;
  } else if (value >= 2147483647.0f) {
    whole = INT32_MAX;
  } else if (value <= -2147483648.0f) {
    whole = INT32_MIN;
  } else {
    whole = static_cast<int64_t>(value);
  }
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(whole) & 0xFFFFu));
}

}  // namespace

C_Object* C_BitmapGlyph::Clone() {
  auto* copy = new (std::nothrow) C_BitmapGlyph();
  if (copy != nullptr) CopyTo(copy);
  return copy;
}

void C_BitmapGlyph::CopyTo(C_BitmapGlyph* target) const {
  if (target == nullptr || target == this) return;
  target->PixelSize = PixelSize;
  target->Kind = Kind;
  target->Style = Style;
  target->Page = Page;
  target->Source = Source;
  target->Advance = Advance;
  target->Offset = Offset;
}

bool C_BitmapGlyph::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  // A short record leaves the variant as it was: the fields are read into a copy.
  C_BitmapGlyph read;
  CopyTo(&read);
  if (!LoadFields(stream, context, read)) return false;
  read.CopyTo(this);
  return true;
}

bool C_BitmapGlyph::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The coordinates are stored as i16, cut toward zero.
bool C_BitmapGlyph::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  float* const coordinates[8] = {&Source.X1, &Source.Y1, &Source.X2, &Source.Y2,
                                 &Advance.X, &Advance.Y, &Offset.X,  &Offset.Y};
  static constexpr const char* kNames[8] = {"SourceX1", "SourceY1", "SourceX2", "SourceY2",
                                            "AdvanceX", "AdvanceY", "OffsetX",  "OffsetY"};
  if (!v.Field("PixelSize", PixelSize) || !v.Field("Kind", Kind) || !v.Field("Style", Style) ||
      !v.Field("Page", Page, Shown::Code)) {
    return false;
  }
  for (int i = 0; i < 8; ++i) {
    int16_t stored = StoredCoordinate(*coordinates[i]);
    if (!v.Field(kNames[i], stored)) return false;
    if (v.Reading()) *coordinates[i] = stored;
  }
  return true;
}
