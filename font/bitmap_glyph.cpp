#include "font/bitmap_glyph.h"

#include <cmath>
#include <new>

#include "core/byte_stream.h"
#include "core/error.h"

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
  (void)context;
  if (!ReadClassId(stream, *this)) return false;
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  if (version != FormatVersion) return true;
  uint16_t pixelSize = 0;
  uint8_t kind = 0, style = 0;
  uint32_t page = 0;
  int16_t v[8] = {};
  if (!ReadField(stream, pixelSize) || !ReadField(stream, kind) || !ReadField(stream, style) ||
      !ReadField(stream, page)) {
    return Fail(ErrorUnexpectedData);
  }
  for (int16_t& value : v) {
    if (!ReadField(stream, value)) return Fail(ErrorUnexpectedData);
  }
  PixelSize = pixelSize;
  Kind = kind;
  Style = style;
  Page = page;
  Source.X1 = v[0];
  Source.Y1 = v[1];
  Source.X2 = v[2];
  Source.Y2 = v[3];
  Advance.X = v[4];
  Advance.Y = v[5];
  Offset.X = v[6];
  Offset.Y = v[7];
  return true;
}

bool C_BitmapGlyph::Save(ByteStream* stream, int32_t context) {
  (void)context;
  const float fields[8] = {Source.X1, Source.Y1, Source.X2, Source.Y2,
                           Advance.X, Advance.Y, Offset.X,  Offset.Y};
  bool ok = WriteField(stream, GetClassId()) && WriteField(stream, FormatVersion) &&
            WriteField(stream, PixelSize) && WriteField(stream, Kind) &&
            WriteField(stream, Style) && WriteField(stream, Page);
  for (float f : fields) ok = ok && WriteField(stream, StoredCoordinate(f));
  return ok || Fail();
}
