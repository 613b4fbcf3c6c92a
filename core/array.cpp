#include "core/array.h"

#include <cstring>
#include <new>

#include "core/error.h"
#include "core/memory_counter.h"
#include "core/record_stream.h"

C_Array::~C_Array() {
  Release();
}

void C_Array::Init() {
  Data = nullptr;
  Capacity = 0;
  Length = 0;
  Tag1 = 0;
  Tag2 = 0;
}

// The sizes go with the buffer, so that nothing can use or free it again.
void C_Array::Release() {
  if (Data) CountedFree(Data, Capacity);
  Data = nullptr;
  Capacity = 0;
  Length = 0;
}

C_Object* C_Array::Clone() {
  auto* copy = new (std::nothrow) C_Array();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Array::CopyTo(C_Array* target) const {
  if (!target || target == this) return;
  if (Data && target->Resize(Length, ResizeExact)) std::memcpy(target->Data, Data, Length);
  target->Tag1 = Tag1;
  target->Tag2 = Tag2;
}

bool C_Array::Resize(uint32_t size, uint32_t mode) {
  const uint32_t policy = mode & 0xF;
  const bool zeroFill = (mode & ResizeZeroFill) != 0;
  const bool keep = (mode & ResizeKeep) != 0;
  if (policy == ResizeGrowBySum) {
    if (size <= Capacity) {
      Length = size;
      return true;
    }
    const uint64_t sum = static_cast<uint64_t>(size) + Capacity;
    if (sum > UINT32_MAX) return false;
    const uint32_t grownTo = static_cast<uint32_t>(sum);
    if (!Resize(grownTo, ResizeExact | (mode & 0xFF0))) return false;
    Length = size;
    return true;
  }
  if (policy != ResizeExact && policy != ResizeAtLeast) return false;

  const bool reallocate = policy == ResizeExact ? size != Capacity : size > Capacity;
  if (!reallocate) {
    if (zeroFill && !keep && policy == ResizeExact && Data) std::memset(Data, 0, Capacity);
    Length = size;
    return true;
  }
  const uint32_t oldCapacity = Capacity;
  if (keep && Data) {
    auto* grown = static_cast<uint8_t*>(CountedRealloc(Data, oldCapacity, size));
    if (!grown) return false;
    Data = grown;
    if (zeroFill && size > oldCapacity) std::memset(Data + oldCapacity, 0, size - oldCapacity);
  } else {
    auto* fresh = static_cast<uint8_t*>(CountedMalloc(size));
    if (!fresh) return false;
    if (Data) CountedFree(Data, oldCapacity);
    Data = fresh;
    if (zeroFill) std::memset(Data, 0, size);
  }
  Capacity = size;
  Length = size;
  return true;
}

bool C_Array::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  return LoadFields(stream, context, *this);
}

bool C_Array::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The length, a reserved word (written as 0, read and dropped) and the data bytes.
bool C_Array::Fields(RecordVisitor& v) {
  uint32_t length = Length;
  uint32_t reserved = 0;
  if (!v.Field("length", length) || !v.Field("reserved", reserved, Shown::Dropped)) return false;
  if (v.Reading()) {
    if (!v.CanHold(length)) return false;
    Release();
    Init();
    if (!Resize(length, ResizeExact)) return Fail(ErrorAllocation);
  }
  return v.Bytes("data", Data, Length);
}
