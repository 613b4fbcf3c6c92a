// C_Vector3D: three f32 components.
#pragma once

#include "core/object.h"

class C_Vector3D : public C_Object {
 public:
  C_Vector3D() = default;
  C_Vector3D(float x, float y, float z) : X(x), Y(y), Z(z) {}

  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Vector3D; }

  // Scales to length 1 (length rounded to f32); a zero vector stays zero.
  void Normalize();

  float X = 0;
  float Y = 0;
  float Z = 0;
};
