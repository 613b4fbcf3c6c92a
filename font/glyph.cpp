#include "font/glyph.h"

#include <new>
#include <utility>

#include "core/collection.h"
#include "core/error.h"
#include "core/record_stream.h"
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
  return LoadFields(stream, context, *this);
}

bool C_Glyph::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The version, the variants, then the code. Loaded variants stand in reverse
// stored order (each is put at the front), and Save writes them in list order; the
// text form keeps stored order both ways. A hole in the list is written as a
// default variant so that the count holds.
bool C_Glyph::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  const bool reading = v.Reading();
  uint32_t n = VariantCount();
  if (!v.BeginList("Variants", n, ListCount::Stored, kMinVariantBytes)) return false;
  if (reading && n > 0) {
    Variants = new (std::nothrow) C_Collection();
    if (Variants == nullptr) {
      v.EndList();
      return Fail(ErrorAllocation);
    }
  }
  bool ok = true;
  for (uint32_t i = 0; ok && i < n; ++i) {
    ok = v.Element(i) && VariantField(v, reading ? 0 : (v.TextForm() ? n - 1 - i : i));
    v.EndElement();
  }
  v.EndList();
  if (!ok) return false;
  // Appended, then turned round: the same order as inserting each at the front,
  // without moving the whole list once per variant.
  if (reading && !v.TextForm() && n > 1) {
    for (uint32_t a = 0, b = Variants->Count - 1; a < b; ++a, --b)
      std::swap(Variants->Items[a], Variants->Items[b]);
  }
  return v.Field("Code", Code, Shown::Code);
}

bool C_Glyph::VariantField(RecordVisitor& v, uint32_t index) {
  if (!v.Reading()) {
    C_Object* item = Variants->GetAt(index);
    C_BitmapGlyph empty;
    C_Object* variant =
        item != nullptr && item->GetClassId() == class_id::BitmapGlyph ? item : &empty;
    return v.Member(nullptr, *variant);
  }
  auto* variant = new (std::nothrow) C_BitmapGlyph();
  if (variant == nullptr) return Fail(ErrorAllocation);
  if (!v.Member(nullptr, *variant) || !Variants->Append(variant)) {
    delete variant;
    return Fail(ErrorUnexpectedData);
  }
  return true;
}
