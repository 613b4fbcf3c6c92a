// C_Size: a width and height in f32 pixels.
#pragma once

#include "core/object.h"

class C_Size : public C_Object {
 public:
  C_Size() = default;
  C_Size(float width, float height) : Width(width), Height(height) {}

  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Size; }

  float Width = 0;
  float Height = 0;
};
