#include <new>

#include "core/record_stream.h"
#include "skin/code_names.h"
#include "skin/layers.h"

C_Object* C_Layer_Text::Clone() {
  auto* copy = new (std::nothrow) C_Layer_Text();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Layer_Text::CopyTo(C_Layer_Text* target) const {
  if (!target || target == this) return;
  const TextLayout layout = target->Layout;
  const C_Rect extent = target->Extent;
  *target = *this;
  target->Layout = layout;
  target->Extent = extent;
}

bool C_Layer_Text::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Layer_Text::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Layer_Text::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return v.Field("Text", Text) && v.Field("Font", Font) && v.Field("Format", Format) &&
         v.Field("TextColor", TextColor) && v.Code("TextSource", TextSource, ColorSourceName) &&
         v.Field("Color2", Color2) && v.Code("Source2", Source2, ColorSourceName) &&
         v.Field("Mode2", Mode2) && v.Field("Scroll", Scroll) && v.Field("Area", Area) &&
         v.Field("LayoutFlag", LayoutFlag, Shown::Hex) && v.Field("WrapX", WrapX, Shown::Hex) &&
         v.Field("WrapY", WrapY, Shown::Hex) && v.Field("UseWidgetText", UseWidgetText) &&
         v.Field("Spare1", Spare1, Shown::Hex) && v.Field("MultiLine", MultiLine) &&
         v.Field("Editable", Editable) && v.Field("Password", Password) &&
         v.Field("Color3", Color3) && v.Code("Source3", Source3, ColorSourceName) &&
         v.Field("GrowContent", GrowContent);
}
