#include "core/resource.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "core/error.h"
#include "core/record_stream.h"

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

// An unnamed resource is stored with the empty name: the record needs n >= 1.
bool C_Resource::NameField(RecordVisitor& v) {
  return v.Text("Name", Name, nullptr);
}

bool C_Resource::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Resource::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Resource::Fields(RecordVisitor& v) {
  return NameField(v);
}
