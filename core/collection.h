// C_Collection: an ordered, doubling list of object pointers. It owns its pointer
// array (counted in MemoryInUse) but not the objects, unless its owner says so.
#pragma once

#include <cstdint>

#include "core/object.h"

class C_Collection : public C_Object {
 public:
  C_Collection() = default;
  C_Collection(const C_Collection&) = delete;
  C_Collection& operator=(const C_Collection&) = delete;
  ~C_Collection() override;

  void Init() override;        // Items null, Capacity 0, Count 0
  void Release() override;     // frees Items (not the objects); Items, Capacity, Count reset
  C_Object* Clone() override;  // a new collection holding clones of the items
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Collection; }
  // Appends a clone of every item to target, keeping target's items; null stays null.
  virtual void CopyTo(C_Collection* target) const;

  // Inserts before index; appends when index >= Count. False when out of memory.
  bool Insert(uint32_t index, C_Object* item);
  bool Append(C_Object* item) { return Insert(Count, item); }
  C_Object* RemoveAt(uint32_t index);  // takes the item out without deleting it
  C_Object* GetAt(uint32_t index) const;
  // Index of the first non-null resource whose name equals text; -1 when none.
  int32_t FindByName(const char* text) const;
  // Release, Init and delete every non-null item (through DeleteOwnedObject, so
  // nested collections lose their items too); Items and Count stay as they were.
  void DeleteItems();

  C_Object** Items = nullptr;  // heap array of Capacity slots; null when empty
  uint32_t Capacity = 0;       // slots in Items
  uint32_t Count = 0;          // slots in use, 0..Capacity
};

// Deletes an object its owner read from a stream or otherwise owns: Release, Init,
// delete. A collection's items go first, since a collection read from a file is the
// only owner of what it read, however deeply nested. Null is ignored.
void DeleteOwnedObject(C_Object* object);

// The item at index as a T; null when it is missing or of another class. A file
// decides what its items are, so an item read from one is taken only as what it is.
template <class T>
T* ItemAs(const C_Collection& list, uint32_t index) {
  return dynamic_cast<T*>(list.GetAt(index));
}

// True when every item that is not null is a T.
template <class T>
bool HoldsOnly(const C_Collection& list) {
  for (uint32_t i = 0; i < list.Count; ++i) {
    if (list.Items[i] && !dynamic_cast<T*>(list.Items[i])) return false;
  }
  return true;
}
