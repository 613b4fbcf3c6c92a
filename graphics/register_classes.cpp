// Registration of the colour and geometry classes during static initialisation.
#include "core/class_registry.h"
#include "graphics/color.h"

namespace {

bool RegisterColors() {
  EnsureClassRegistry();
  RegisterClass(class_id::Color, MakeObject<C_Color>);
  return true;
}

const bool colorsRegistered = RegisterColors();

}  // namespace
