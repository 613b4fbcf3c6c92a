#include "core/collection.h"

#include <cstring>
#include <new>

#include "core/error.h"
#include "core/memory_counter.h"
#include "core/record_stream.h"
#include "core/resource.h"

namespace {
constexpr size_t kSlotBytes = sizeof(C_Object*);
}

C_Collection::~C_Collection() {
  Release();
}

void C_Collection::Init() {
  Items = nullptr;
  Capacity = 0;
  Count = 0;
}

// The sizes go with the array, so that nothing can use or free it again.
void C_Collection::Release() {
  if (Items) CountedFree(Items, kSlotBytes * Capacity);
  Items = nullptr;
  Capacity = 0;
  Count = 0;
}

C_Object* C_Collection::Clone() {
  auto* copy = new (std::nothrow) C_Collection();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Collection::CopyTo(C_Collection* target) const {
  if (!target || target == this) return;
  for (uint32_t i = 0; i < Count; ++i) {
    C_Object* item = Items[i];
    target->Append(item ? item->Clone() : nullptr);
  }
}

bool C_Collection::Insert(uint32_t index, C_Object* item) {
  if (!Items) {
    Items = static_cast<C_Object**>(CountedMalloc(kSlotBytes));
    if (!Items) return false;
    Items[0] = item;
    Capacity = 1;
    Count = 1;
    return true;
  }
  if (Count + 1 > Capacity) {
    if (Capacity > UINT32_MAX / 2) return false;
    auto* grown = static_cast<C_Object**>(
        CountedRealloc(Items, kSlotBytes * Capacity, kSlotBytes * Capacity * 2));
    if (!grown) return false;
    Items = grown;
    Capacity *= 2;
  }
  if (index >= Count) {
    Items[Count] = item;
  } else {
    std::memmove(Items + index + 1, Items + index, kSlotBytes * (Count - index));
    Items[index] = item;
  }
  ++Count;
  return true;
}

C_Object* C_Collection::RemoveAt(uint32_t index) {
  if (!Items || index >= Count) return nullptr;
  C_Object* item = Items[index];
  if (Count > 1) {
    std::memmove(Items + index, Items + index + 1, kSlotBytes * (Count - index - 1));
    --Count;
  } else {
    CountedFree(Items, kSlotBytes * Capacity);
    Init();
  }
  return item;
}

C_Object* C_Collection::GetAt(uint32_t index) const {
  if (!Items || index >= Count) return nullptr;
  return Items[index];
}

int32_t C_Collection::FindByName(const char* text) const {
  if (!Items || !text) return -1;
  for (uint32_t i = 0; i < Count; ++i) {
    // Only resources have names; other classes are skipped rather than misread.
    auto* resource = dynamic_cast<C_Resource*>(Items[i]);
    if (resource && resource->Name && std::strcmp(resource->Name, text) == 0) {
      return static_cast<int32_t>(i);
    }
  }
  return -1;
}

void C_Collection::DeleteItems() {
  if (!Items) return;
  for (uint32_t i = 0; i < Count; ++i) DeleteOwnedObject(Items[i]);
}

void DeleteOwnedObject(C_Object* object) {
  if (!object) return;
  if (auto* inner = dynamic_cast<C_Collection*>(object)) inner->DeleteItems();
  object->Release();
  object->Init();
  delete object;
}

bool C_Collection::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  return LoadFields(stream, context, *this);
}

bool C_Collection::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// Every item takes at least its 2-byte class id. A missing item is a class id 0;
// an item whose load fails stays in the list, so that its owner can free it.
bool C_Collection::Fields(RecordVisitor& v) {
  uint32_t count = Items ? Count : 0;
  if (!v.BeginList("Items", count, ListCount::Stored, 2)) return false;
  if (v.Reading() && count > 0) {
    Items = static_cast<C_Object**>(CountedMalloc(kSlotBytes * count));
    if (!Items) {
      v.EndList();
      return Fail(ErrorAllocation);
    }
    Capacity = count;
  }
  bool complete = true;
  for (uint32_t i = 0; i < count && complete; ++i) {
    C_Object* item = v.Reading() ? nullptr : Items[i];
    complete = v.Element(i) && v.Held(nullptr, item, HeldRule::ListItem);
    v.EndElement();
    if (v.Reading()) Items[Count++] = item;
  }
  v.EndList();
  return complete;
}
