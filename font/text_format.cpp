#include "font/text_format.h"

#include "core/byte_stream.h"
#include "core/error.h"

bool C_TextFormat::Load(ByteStream* stream, int32_t context) {
  (void)context;
  if (!ReadClassId(stream, *this)) return false;
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  if (version != FormatVersion) return true;
  C_TextFormat f;
  const bool ok = ReadField(stream, f.Align) && ReadField(stream, f.Ellipsis) &&
                  ReadField(stream, f.SpareFlag1) && ReadField(stream, f.Leading) &&
                  ReadField(stream, f.LeftEdge) && ReadField(stream, f.LeftAnchor) &&
                  ReadField(stream, f.RightEdge) && ReadField(stream, f.RightAnchor) &&
                  ReadField(stream, f.Extra) && ReadField(stream, f.ExtraAnchor) &&
                  ReadField(stream, f.SpareFlag2) && ReadField(stream, f.Spare1) &&
                  ReadField(stream, f.Spare2) && ReadField(stream, f.Spare3);
  // A short record leaves the format as it was.
  if (!ok) return Fail(ErrorUnexpectedData);
  f.MultiLine = MultiLine;
  f.Password = Password;
  f.GlyphHook = GlyphHook;
  f.HookData = HookData;
  *this = f;
  return true;
}

bool C_TextFormat::Save(ByteStream* stream, int32_t context) {
  (void)context;
  return (WriteField(stream, GetClassId()) && WriteField(stream, FormatVersion) &&
          WriteField(stream, Align) && WriteField(stream, Ellipsis) &&
          WriteField(stream, SpareFlag1) && WriteField(stream, Leading) &&
          WriteField(stream, LeftEdge) && WriteField(stream, LeftAnchor) &&
          WriteField(stream, RightEdge) && WriteField(stream, RightAnchor) &&
          WriteField(stream, Extra) && WriteField(stream, ExtraAnchor) &&
          WriteField(stream, SpareFlag2) && WriteField(stream, Spare1) &&
          WriteField(stream, Spare2) && WriteField(stream, Spare3)) ||
         Fail();
}
