// C_Array: a resizable byte buffer whose capacity is counted in MemoryInUse.
#pragma once

#include <cstdint>

#include "core/object.h"

// Resize mode word: bits 0-3 the policy, 0x10 zero-fill, 0x100 keep the contents.
enum ResizeMode : uint32_t {
  ResizeExact = 0,      // the buffer becomes exactly the size
  ResizeAtLeast = 1,    // the buffer grows only when the size exceeds Capacity
  ResizeGrowBySum = 2,  // when growing, exact resize to size + Capacity
  ResizeZeroFill = 0x10,
  ResizeKeep = 0x100,
};

class C_Array : public C_Object {
 public:
  C_Array() = default;
  C_Array(const C_Array&) = delete;
  C_Array& operator=(const C_Array&) = delete;
  ~C_Array() override;

  void Init() override;     // zeroes all five fields
  void Release() override;  // frees Data; Data, Capacity, Length reset (tags kept)
  C_Object* Clone() override;
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  // The array writes and checks the root's id; its factory sits at id 23.
  uint16_t GetClassId() const override { return class_id::Object; }
  virtual void CopyTo(C_Array* target) const;

  // Sets Length to size, reallocating as the mode word says. False for an
  // unsupported policy or when memory runs out (then nothing changes).
  bool Resize(uint32_t size, uint32_t mode);

  uint8_t* Data = nullptr;  // heap buffer, null when empty
  uint32_t Capacity = 0;    // allocated bytes
  uint32_t Length = 0;      // bytes in use
  int32_t Tag1 = 0;         // kept for the array's user; copied, not stored
  int32_t Tag2 = 0;
};
