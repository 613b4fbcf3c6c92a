// C_TextBox: a composite of a text area (part 24, whose decal slot 0 holds the
// text layer) and two scroll bars (parts 25 and 26), with a font type, a text
// format and three flags of its own.
#pragma once

#include "font/font_type.h"
#include "font/text_format.h"
#include "widget/widget.h"

class C_TextBox : public C_Widget {
 public:
  C_TextBox() = default;

  void Init() override;  // widget defaults, the default font type and format, flags 0
  C_Object* Clone() override;
  // After the widget contents: version, the Font record, the Format record, u8
  // ScrollBars, BoxFlag2, BoxFlag3.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::TextBox; }
  using C_Widget::CopyTo;
  // The widget copy, the font type's name, size, kind and style flags, every field
  // of the format, and the three flags.
  virtual void CopyTo(C_TextBox* target);

  C_FontType Font;
  C_TextFormat Format;
  uint8_t ScrollBars = 0;  // 1: the composite update manages the scroll bars
  uint8_t BoxFlag2 = 0;    // stored and copied
  uint8_t BoxFlag3 = 0;    // stored and copied
};
