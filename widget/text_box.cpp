#include "widget/text_box.h"

#include <new>

#include "core/record_stream.h"

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
  return LoadWidgetRecord(stream, context);
}

bool C_TextBox::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The widget's fields, then a version word of its own and its fields.
bool C_TextBox::Fields(RecordVisitor& v) {
  bool current = false;
  if (!DerivedVersion(v, current)) return false;
  return !current ||
         (v.Field("Font", Font) && v.Field("Format", Format) && v.Field("ScrollBars", ScrollBars) &&
          v.Field("BoxFlag2", BoxFlag2, Shown::Hex) && v.Field("BoxFlag3", BoxFlag3, Shown::Hex));
}
