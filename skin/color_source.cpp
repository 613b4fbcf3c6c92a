#include "skin/color_source.h"

#include <limits>

#include "platform/system_color.h"

namespace {

C_Color SystemColor(uint32_t code) {
  C_Color colour;
  // Codes beyond the signed range are far past the table: black, like any code
  // without a colour of its own.
  const int32_t index = code > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())
                            ? std::numeric_limits<int32_t>::max()
                            : static_cast<int32_t>(code);
  GetSystemColor(index, colour);
  return colour;
}

}  // namespace

C_Color ResolveColorSource(const C_Color& color, uint32_t source, const InheritedColor& parent) {
  if (source == kColorSourceOwn) return C_Color(color.Red, color.Green, color.Blue, color.Alpha);
  if (source == kColorSourceParent) {
    if (!parent.Present) return C_Color();
    if (parent.Source == kColorSourceOwn) {
      return C_Color(parent.Color.Red, parent.Color.Green, parent.Color.Blue, parent.Color.Alpha);
    }
    return SystemColor(parent.Source);
  }
  return SystemColor(source);
}
