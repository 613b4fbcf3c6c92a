#include "core/resource.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "core/byte_stream.h"
#include "core/error.h"

C_Resource::~C_Resource() {
  std::free(Name);
}

void C_Resource::Init() {
  Name = nullptr;
}

// Name is nulled as well so that a destructor after Release cannot free it twice.
void C_Resource::Release() {
  std::free(Name);
  Name = nullptr;
}

C_Object* C_Resource::Clone() {
  auto* copy = new (std::nothrow) C_Resource();
  if (copy) CopyTo(copy);
  return copy;
}

void C_Resource::CopyTo(C_Resource* target) const {
  if (!target || target == this || !Name) return;
  target->SetName(Name);
}

void C_Resource::SetName(const char* text) {
  char* copy = nullptr;
  if (text) {
    const size_t size = std::strlen(text) + 1;
    copy = static_cast<char*>(std::malloc(size));
    if (!copy) return;
    std::memcpy(copy, text, size);
  }
  std::free(Name);
  Name = copy;
}

bool C_Resource::LoadName(ByteStream* stream) {
  uint32_t n = 0;
  if (!ReadField(stream, n)) return Fail(ErrorUnexpectedData);
  if (n == 0 || n > INT32_MAX || !StreamCanHold(stream, n)) return Fail(ErrorUnexpectedData);
  auto* name = static_cast<char*>(std::malloc(n));
  if (!name) return Fail(ErrorAllocation);
  if (!ReadBytes(stream, name, n)) {
    std::free(name);
    return Fail(ErrorUnexpectedData);
  }
  name[n - 1] = '\0';  // the stored terminator is not trusted
  std::free(Name);
  Name = name;
  return true;
}

bool C_Resource::SaveName(ByteStream* stream) const {
  // An unnamed resource is stored with the empty name: the record needs n >= 1.
  const char* name = Name ? Name : "";
  const uint32_t n = static_cast<uint32_t>(std::strlen(name)) + 1;
  return WriteField(stream, n) && WriteBytes(stream, name, n);
}

bool C_Resource::Load(ByteStream* stream, int32_t context) {
  (void)context;
  if (!ReadClassId(stream, *this)) return false;
  return LoadName(stream) || Fail();
}

bool C_Resource::Save(ByteStream* stream, int32_t context) {
  (void)context;
  return (WriteField(stream, GetClassId()) && SaveName(stream)) || Fail();
}
