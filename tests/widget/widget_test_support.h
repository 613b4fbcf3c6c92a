// Building small widget trees for the widget tests.
#pragma once

#include <memory>

#include "core/collection.h"
#include "core/string.h"
#include "skin/decal.h"
#include "widget/widget.h"

namespace widget_test {

struct Owned {
  void operator()(C_Object* o) const { DeleteOwnedObject(o); }
};
template <class T>
using Ptr = std::unique_ptr<T, Owned>;

inline C_Widget* Named(const char* name, uint16_t kind = KindPlain, uint16_t part = PartNone) {
  auto* w = new C_Widget();
  w->Name.Assign(C_String(name));
  w->Kind = kind;
  w->PartId = part;
  return w;
}

// A decal with one zone layer of the action.
inline C_Decal* ZoneDecal(uint8_t action) {
  auto* d = new C_Decal();
  d->Layers = new C_Collection();
  auto* z = new C_Layer_Zone();
  z->Action = action;
  d->Layers->Append(z);
  return d;
}

}  // namespace widget_test
