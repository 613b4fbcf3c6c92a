#include "core/collection.h"

#include <cstring>
#include <new>

#include "core/byte_stream.h"
#include "core/error.h"
#include "core/memory_counter.h"
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
  uint32_t count = 0;
  if (!ReadField(stream, count)) return Fail(ErrorUnexpectedData);
  if (count == 0) return true;
  // Every item takes at least its 2-byte class id, which bounds the slot array by
  // what the stream holds beyond the bytes that enclosing collections still need,
  // so nested collections cannot all claim the same bytes.
  if (!StreamCanHold(stream, 2ull * count)) return Fail(ErrorUnexpectedData);
  Items = static_cast<C_Object**>(CountedMalloc(kSlotBytes * count));
  if (!Items) return Fail(ErrorAllocation);
  Capacity = count;
  const int64_t committedOutside = stream->Committed;
  bool complete = true;
  for (uint32_t i = 0; i < count && complete; ++i) {
    stream->Committed = committedOutside + 2 * static_cast<int64_t>(count - i - 1);
    const int64_t start = StreamOffset(stream);
    C_Object* item = nullptr;
    const bool loaded = LoadHeldObject(stream, context, item);
    Items[Count++] = item;  // a failed item stays, so its owner can free it
    if (!loaded && stream->Broken) complete = false;
    // An item that consumed nothing (an unregistered id, or a class that stores
    // nothing) leaves its id unread, so every further item would repeat it and the
    // rest of the record cannot be read: it is refused instead of looped over.
    if (complete && i + 1 < count && StreamOffset(stream) == start) {
      stream->Broken = true;
      SetError(ErrorUnexpectedData);
      complete = false;
    }
  }
  stream->Committed = committedOutside;
  return complete || Fail();
}

bool C_Collection::Save(ByteStream* stream, int32_t context) {
  const uint32_t count = Items ? Count : 0;
  bool saved = WriteField(stream, GetClassId()) && WriteField(stream, count);
  for (uint32_t i = 0; saved && i < count; ++i) saved = SaveHeldObject(stream, context, Items[i]);
  return saved || Fail();
}
