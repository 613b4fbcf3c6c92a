#include <new>

#include "skin/layers.h"
#include "skin/record_fields.h"

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
  if (!ReadClassId(stream, *this)) return false;
  bool current = false;
  if (!LoadVersion(stream, current)) return false;
  if (!current) return true;
  return LoadFields(stream, context, Text, Font, Format, TextColor, TextSource, Color2, Source2,
                    Mode2, Scroll, Area, TextParam1, TextParam2, TextParam3, UseWidgetText, Spare1,
                    MultiLine, Editable, Password, Color3, Source3, GrowContent);
}

bool C_Layer_Text::Save(ByteStream* stream, int32_t context) {
  return SaveHeader(stream, *this) &&
         SaveFields(stream, context, Text, Font, Format, TextColor, TextSource, Color2, Source2,
                    Mode2, Scroll, Area, TextParam1, TextParam2, TextParam3, UseWidgetText, Spare1,
                    MultiLine, Editable, Password, Color3, Source3, GrowContent);
}
