#include "widget/form.h"

#include <new>

#include "core/record_stream.h"
#include "graphics/geometry/anchor.h"

namespace {

// Part id of the frame shown in each mode.
uint16_t FramePart(uint8_t mode) {
  return static_cast<uint16_t>(PartFrameNormal +
                               (mode <= FormRolledUp ? mode : uint8_t{FormNormal}));
}

constexpr uint8_t kFromBottom = MakeAnchor(AnchorStart, AnchorEnd);  // 0x10

}  // namespace

void C_Form::Init() {
  C_Widget::Init();
  Mode = FormNormal;
  SavedRect = C_Rect();
}

C_Object* C_Form::Clone() {
  auto* copy = new (std::nothrow) C_Form();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Form::CopyTo(C_Form* target) {
  if (!target || target == this) return;
  C_Widget::CopyTo(target);
  target->Mode = Mode;
}

bool C_Form::Load(ByteStream* stream, int32_t context) {
  return LoadWidgetRecord(stream, context);
}

bool C_Form::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The widget's fields, then a version word of its own and its fields.
bool C_Form::Fields(RecordVisitor& v) {
  bool current = false;
  if (!DerivedVersion(v, current)) return false;
  return !current || (v.Field("Mode", Mode));
}

void C_Form::SelectFrame() {
  const C_Widget* frame = FindPart(FramePart(Mode), KindPlain);
  if (!frame) return;
  Page = frame->Index - 1;
  // Only the vertical code matters: the form template's own anchors are 0x33.
  if (Mode == FormRolledUp && IsExtentCode(VerticalAnchor(Rect.Anchor2))) Rect.Y2 = frame->Rect.Y2;
}

void C_Form::Prepare(WidgetHook hook) {
  if (Prepared) return;
  Relink();
  SavedRect = Rect;
  if (Parent) {
    switch (Mode) {
      case FormMinimised:
        Rect.Anchor1 = kFromBottom;
        Rect.Anchor2 = kFromBottom;
        break;
      case FormMaximised:
        Rect = C_Rect(0.0f, 0.0f, 0.0f, 0.0f, MakeAnchor(AnchorStart, AnchorStart),
                      MakeAnchor(AnchorEnd, AnchorEnd));
        break;
      case FormRolledUp:
        // A bottom given as a height takes frame 7's in SelectFrame.
        if (const C_Widget* frame = FindPart(PartFrameRolledUp, KindPlain);
            frame && !IsExtentCode(VerticalAnchor(Rect.Anchor2)))
          Rect.Y2 = Rect.Y1 + frame->Rect.Y2;
        break;
      default:
        break;
    }
    SelectFrame();
  }
  C_Widget::Prepare(hook);
}
