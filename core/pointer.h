// C_Pointer: the minimal holder of one pointer-sized value; never stored.
#pragma once

#include <cstdint>

#include "core/object.h"

class C_Pointer : public C_Object {
 public:
  uint16_t GetClassId() const override { return class_id::Pointer; }
  virtual void SetValue(uintptr_t value) { Value = value; }
  virtual uintptr_t GetValue() const { return Value; }

  uintptr_t Value = 0;  // wide enough for the pointers it is used to carry
};
