// C_Complex: two raw 32-bit words that are stored and copied, never computed with.
#pragma once

#include "core/object.h"

class C_Complex : public C_Object {
 public:
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Complex; }

  int32_t Real = 0;
  int32_t Imaginary = 0;
};
