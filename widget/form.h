// C_Form: a window-like widget. Child 0 is the client content; children with part
// ids 4 to 7 are the frames of the four display modes, and the form's Page shows
// the frame of its mode.
#pragma once

#include "widget/widget.h"

enum FormMode : uint8_t {
  FormNormal = 0,
  FormMinimised = 1,
  FormMaximised = 2,
  FormRolledUp = 3,
};

class C_Form : public C_Widget {
 public:
  C_Form() = default;

  void Init() override;  // widget defaults, Mode 0
  C_Object* Clone() override;
  // After the widget contents: version, u8 Mode.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Form; }
  // Once: keeps Rect as SavedRect and, in a tree, places the form by its mode and
  // selects the mode's frame; then the widget preparation.
  void Prepare(WidgetHook hook) override;
  using C_Widget::CopyTo;
  // The widget copy, then Mode.
  virtual void CopyTo(C_Form* target);

  // Shows the frame of the current mode: Page = the frame's child index - 1. In
  // mode 3 a bottom given as a height takes the height of frame 7. A missing frame
  // leaves Page as it is.
  void SelectFrame();

  uint8_t Mode = FormNormal;
  C_Rect SavedRect;  // run-time: the normal-mode Rect while in another mode
};
