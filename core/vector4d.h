// C_Vector4D: four f32 components.
#pragma once

#include "core/object.h"

class C_Vector4D : public C_Object {
 public:
  C_Vector4D() = default;
  C_Vector4D(float x, float y, float z, float w) : X(x), Y(y), Z(z), W(w) {}

  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Vector4D; }

  float X = 0;
  float Y = 0;
  float Z = 0;
  float W = 0;
};
