// Fuzz target: arbitrary bytes loaded as an object record of every registered class,
// and once more the way a container reads an object (CreateFromStream, then Load).
// Whatever a load builds is freed again, and the counted heap must come back to
// where it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/byte_stream.h"
#include "core/class_registry.h"
#include "core/collection.h"
#include "core/memory_counter.h"
#include "core/object.h"

namespace {

void LoadAndFree(C_Object* object, const uint8_t* data, size_t size) {
  ByteStream* stream = NewMemoryReader(data, size);
  if (object && stream) object->Load(stream, 0);
  DeleteOwnedObject(object);
  FreeStream(stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint64_t countedBefore = MemoryInUse;
  for (uint32_t id = 1; id < kClassRegistrySize; ++id) {
    if (ClassRegistry[id]) LoadAndFree(CreateObject(id), data, size);
  }
  ByteStream* stream = NewMemoryReader(data, size);
  C_Object* created = CreateFromStream(stream);
  if (created) created->Load(stream, 0);
  DeleteOwnedObject(created);
  FreeStream(stream);
  // Every counted buffer a load allocated must have been given back.
  if (MemoryInUse != countedBefore) std::abort();
  return 0;
}
