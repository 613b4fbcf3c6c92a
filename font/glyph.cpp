#include "font/glyph.h"

#include <new>
#include <utility>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "font/bitmap_glyph.h"

namespace {

// Smallest stored variant: class id and version.
constexpr uint64_t kMinVariantBytes = 4;

}  // namespace

C_Glyph::~C_Glyph() {
  Release();
}

void C_Glyph::Init() {
  Code = -1;
  Variants = nullptr;
}

void C_Glyph::Release() {
  if (Variants != nullptr) {
    Variants->DeleteItems();
    delete Variants;
  }
  Variants = nullptr;
}

C_Object* C_Glyph::Clone() {
  auto* copy = new (std::nothrow) C_Glyph();
  if (copy != nullptr) CopyTo(copy);
  return copy;
}

void C_Glyph::CopyTo(C_Glyph* target) const {
  if (target == nullptr || target == this) return;
  target->Release();
  target->Code = Code;
  if (Variants != nullptr) target->Variants = static_cast<C_Collection*>(Variants->Clone());
}

bool C_Glyph::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Code = -1;
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  if (version != FormatVersion) return true;
  uint32_t n = 0;
  if (!ReadField(stream, n)) return Fail(ErrorUnexpectedData);
  if (n > 0) {
    if (!StreamCanHold(stream, kMinVariantBytes * n + sizeof(int32_t)))
      return Fail(ErrorUnexpectedData);
    Variants = new (std::nothrow) C_Collection();
    if (Variants == nullptr) return Fail(ErrorAllocation);
    for (uint32_t i = 0; i < n; ++i) {
      auto* variant = new (std::nothrow) C_BitmapGlyph();
      if (variant == nullptr) return Fail(ErrorAllocation);
      if (!variant->Load(stream, context) || !Variants->Append(variant)) {
        delete variant;
        return Fail(ErrorUnexpectedData);
      }
    }
    // Appended, then turned round: the same order as inserting each at the front,
    // without moving the whole list once per variant.
    for (uint32_t a = 0, b = Variants->Count - 1; a < b; ++a, --b)
      std::swap(Variants->Items[a], Variants->Items[b]);
  }
  int32_t code = -1;
  if (!ReadField(stream, code)) return Fail(ErrorUnexpectedData);
  Code = code;
  return true;
}

bool C_Glyph::Save(ByteStream* stream, int32_t context) {
  const uint32_t n = VariantCount();
  bool ok = WriteField(stream, GetClassId()) && WriteField(stream, FormatVersion) &&
            WriteField(stream, n);
  for (uint32_t i = 0; ok && i < n; ++i) {
    C_Object* item = Variants->GetAt(i);
    // A hole in the list is written as a default variant so that the count holds.
    C_BitmapGlyph empty;
    C_Object* variant =
        item != nullptr && item->GetClassId() == class_id::BitmapGlyph ? item : &empty;
    ok = variant->Save(stream, context);
  }
  return (ok && WriteField(stream, Code)) || Fail();
}
