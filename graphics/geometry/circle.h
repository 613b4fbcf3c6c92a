// C_Circle: a centre point (with its own anchor byte) and a radius, in f32 pixels.
#pragma once

#include "core/vector2d.h"

class C_Circle : public C_Object {
 public:
  C_Circle() = default;  // centre (0, 0), anchor 0, radius 0
  C_Circle(const C_Vector2D& center, float radius) : Center(center), Radius(radius) {}

  // Record: id 10, the Center's own record, f32 Radius.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Circle; }

  C_Vector2D Center;  // may be anchored against a rectangle like any point
  float Radius = 0;   // pixels
};
