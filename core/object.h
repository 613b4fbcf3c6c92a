// C_Object: the root of every framework class, a fixed table of virtual operations
// for life cycle, copying, persistence and identification.
#pragma once

#include <cstdint>

#include "core/class_id.h"

struct ByteStream;
class RecordVisitor;

class C_Object {
 public:
  C_Object() = default;
  C_Object(const C_Object&) = default;
  C_Object& operator=(const C_Object&) = default;
  virtual ~C_Object() = default;

  // Sets members to their empty state without freeing anything.
  virtual void Init() {}
  // Frees owned contents without resetting members; Release then Init empties.
  virtual void Release() {}
  virtual void Open() {}
  virtual void Close() {}
  virtual void CopyObject(C_Object* target) { (void)target; }
  // A new plain C_Object given to CopyObject; null when allocation fails.
  virtual C_Object* Clone();
  // Reads this object's record; the context is handed unchanged to held objects.
  virtual bool Load(ByteStream* stream, int32_t context);
  // Writes this object's record.
  virtual bool Save(ByteStream* stream, int32_t context);
  virtual uint16_t GetClassId() const { return class_id::Object; }
  // Walks the stored fields after the class id, in stored order: the one list from
  // which Load, Save, the record descriptions and the text form all come. A class
  // that stores nothing keeps this empty walk.
  virtual bool Fields(RecordVisitor& visitor);
};

// Reads a record's class id and checks it against the object's: on a mismatch
// stores ErrorUnexpectedData then -1 and returns false, leaving the two id bytes consumed. Also
// false (with -1) when the stream ran out before the id.
bool ReadClassId(ByteStream* stream, const C_Object& object);
