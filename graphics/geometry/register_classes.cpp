// Registration of the colour and geometry classes during static initialisation.
#include "core/class_registry.h"
#include "graphics/geometry/circle.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"

namespace {

bool RegisterColors() {
  EnsureClassRegistry();
  RegisterClass(class_id::Color, MakeObject<C_Color>);
  return true;
}

bool RegisterGeometry() {
  EnsureClassRegistry();
  RegisterClass(class_id::Circle, MakeObject<C_Circle>);
  RegisterClass(class_id::Rect, MakeObject<C_Rect>);
  return true;
}

const bool colorsRegistered = RegisterColors();
const bool geometryRegistered = RegisterGeometry();

}  // namespace
