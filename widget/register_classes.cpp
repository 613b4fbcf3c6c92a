// Registration of the skin and widget classes during static initialisation, in one
// group: a widget file holds both.
#include "core/class_registry.h"
#include "skin/decal.h"
#include "skin/layers.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"
#include "widget/widget.h"

namespace {

bool RegisterSkinsAndWidgets() {
  EnsureClassRegistry();
  RegisterClass(class_id::LayerRect, MakeObject<C_Layer_Rect>);
  RegisterClass(class_id::LayerLine, MakeObject<C_Layer_Line>);
  RegisterClass(class_id::LayerText, MakeObject<C_Layer_Text>);
  RegisterClass(class_id::LayerImage, MakeObject<C_Layer_Image>);
  RegisterClass(class_id::LayerBrush, MakeObject<C_Layer_Brush>);
  RegisterClass(class_id::LayerZone, MakeObject<C_Layer_Zone>);
  RegisterClass(class_id::Decal, MakeObject<C_Decal>);
  RegisterClass(class_id::Widget, MakeObject<C_Widget>);
  RegisterClass(class_id::Form, MakeObject<C_Form>);
  RegisterClass(class_id::ScrollBar, MakeObject<C_ScrollBar>);
  RegisterClass(class_id::TextBox, MakeObject<C_TextBox>);
  return true;
}

const bool skinsAndWidgetsRegistered = RegisterSkinsAndWidgets();

}  // namespace
