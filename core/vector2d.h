// C_Vector2D: a point or offset in f32 with an anchor byte that says how it
// resolves against a rectangle (low nibble horizontal, high nibble vertical).
#pragma once

#include "core/object.h"

class C_Vector2D : public C_Object {
 public:
  C_Vector2D() = default;
  C_Vector2D(float x, float y, uint8_t anchor = 0) : X(x), Y(y), Anchor(anchor) {}

  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Vector2D; }

  static C_Vector2D Add(const C_Vector2D& a, const C_Vector2D& b);  // anchor 0
  static C_Vector2D Scale(const C_Vector2D& v, float s);            // anchor 0
  // Rotates about the origin; an angle of exactly 0 leaves the bits untouched.
  void RotateDegrees(float degrees);

  float X = 0;
  float Y = 0;
  uint8_t Anchor = 0;
};
