// C_Color: the system's colour value, four f32 channels nominally 0..1 (1 is
// opaque), turned into pixels only when written into an image of some format.
#pragma once

#include "core/object.h"

class C_Color : public C_Object {
 public:
  C_Color() = default;  // all zero, alpha included
  C_Color(float red, float green, float blue, float alpha)
      : Red(red), Green(green), Blue(blue), Alpha(alpha) {}

  // Each channel value / 255, alpha 1.
  static C_Color FromBytes(int32_t red, int32_t green, int32_t blue);

  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Color; }

  float Red = 0;    // 0..1; values outside are kept as they are
  float Green = 0;  // 0..1
  float Blue = 0;   // 0..1
  float Alpha = 0;  // 0..1, 1 opaque
};
