#include "widget/text_box.h"

#include <new>

#include "skin/record_fields.h"

void C_TextBox::Init() {
  C_Widget::Init();
  Font = C_FontType();
  Format = C_TextFormat();
  ScrollBars = 0;
  BoxFlag2 = 0;
  BoxFlag3 = 0;
}

C_Object* C_TextBox::Clone() {
  auto* copy = new (std::nothrow) C_TextBox();
  if (copy) CopyTo(copy);
  return copy;
}

void C_TextBox::CopyTo(C_TextBox* target) {
  if (!target || target == this) return;
  C_Widget::CopyTo(target);
  target->Font.Name.Assign(Font.Name);
  target->Font.Size = Font.Size;
  target->Font.Kind = Font.Kind;
  target->Font.StyleFlag1 = Font.StyleFlag1;
  target->Font.StyleFlag2 = Font.StyleFlag2;
  target->Format = Format;
  target->ScrollBars = ScrollBars;
  target->BoxFlag2 = BoxFlag2;
  target->BoxFlag3 = BoxFlag3;
}

bool C_TextBox::Load(ByteStream* stream, int32_t context) {
  return LoadDerivedRecord(stream, context, Font, Format, ScrollBars, BoxFlag2, BoxFlag3);
}

bool C_TextBox::Save(ByteStream* stream, int32_t context) {
  return SaveDerivedRecord(stream, context, Font, Format, ScrollBars, BoxFlag2, BoxFlag3);
}
