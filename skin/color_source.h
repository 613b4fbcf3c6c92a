// Colour sources: where a layer's colour really comes from when it is drawn.
#pragma once

#include <cstdint>

#include "graphics/geometry/color.h"

// A colour source code follows every colour a layer or widget stores.
inline constexpr uint32_t kColorSourceOwn = 33;     // the stored colour itself
inline constexpr uint32_t kColorSourceParent = 34;  // the parent widget's colour
// Any other code is an index of the system colour table (opaque black beyond it).

// The parent widget's colour as layers inherit it through kColorSourceParent.
struct InheritedColor {
  bool Present = false;  // false: the drawn widget has no parent
  C_Color Color;
  uint32_t Source = 0;
};

// The colour a (colour, source) pair stands for: the colour itself for 33; for 34
// the parent's colour (its own for parent source 33, else the parent's source
// looked up as a system colour; transparent black without a parent); any other
// code the system colour of that index.
C_Color ResolveColorSource(const C_Color& color, uint32_t source, const InheritedColor& parent);
