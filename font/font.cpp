#include "font/font.h"

#include <cstring>
#include <new>
#include <type_traits>

#include "core/array.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/record_stream.h"
#include "font/glyph.h"
#include "font/internal/glyph_table.h"
#include "image/surface.h"

namespace {

// Smallest stored glyph or surface: class id and version.
constexpr uint64_t kMinRecordBytes = 4;

// Deletes a collection of owned objects and nulls the pointer.
void DeleteCollection(C_Collection*& list) {
  if (list != nullptr) {
    list->DeleteItems();
    delete list;
  }
  list = nullptr;
}

}  // namespace

C_Font::~C_Font() {
  Release();
  delete textTables_;
}

void C_Font::Init() {
  C_Resource::Init();
  Glyphs = nullptr;
  Pages = nullptr;
  CodeIndex = nullptr;
}

void C_Font::Release() {
  DeleteCollection(Glyphs);
  DeleteCollection(Pages);
  delete CodeIndex;
  CodeIndex = nullptr;
  GlyphsChanged();
  C_Resource::Release();
}

C_Object* C_Font::Clone() {
  auto* copy = new (std::nothrow) C_Font();
  if (copy == nullptr) return nullptr;
  CopyTo(copy);
  CopyFont(copy);
  return copy;
}

bool C_Font::CopyFont(C_Font* target) const {
  if (target == nullptr || target == this) return false;
  DeleteCollection(target->Glyphs);
  DeleteCollection(target->Pages);
  delete target->CodeIndex;
  target->CodeIndex = nullptr;
  target->GlyphsChanged();
  bool complete = true;
  if (Glyphs != nullptr) {
    target->Glyphs = static_cast<C_Collection*>(Glyphs->Clone());
    complete = complete && target->Glyphs != nullptr;
  }
  if (Pages != nullptr) {
    target->Pages = static_cast<C_Collection*>(Pages->Clone());
    complete = complete && target->Pages != nullptr;
  }
  if (CodeIndex != nullptr) {
    target->CodeIndex = static_cast<C_Array*>(CodeIndex->Clone());
    complete = complete && target->CodeIndex != nullptr;
  }
  return complete || Fail(ErrorAllocation);
}

bool C_Font::IndexGlyph(int32_t code, uint32_t position) {
  if (code < 0 || code >= kCodeCount) return true;
  if (CodeIndex == nullptr) {
    CodeIndex = new (std::nothrow) C_Array();
    if (CodeIndex == nullptr) return Fail(ErrorAllocation);
  }
  const uint32_t needed = static_cast<uint32_t>(code + 1) * sizeof(uint32_t);
  if (CodeIndex->Length < needed &&
      !CodeIndex->Resize(needed, ResizeAtLeast | ResizeZeroFill | ResizeKeep)) {
    return Fail(ErrorAllocation);
  }
  const uint32_t entry = position + 1;
  std::memcpy(CodeIndex->Data + static_cast<size_t>(code) * sizeof(uint32_t), &entry, sizeof entry);
  return true;
}

const C_Glyph* C_Font::FindGlyph(int32_t code) const {
  if (CodeIndex == nullptr || code < 0 || Glyphs == nullptr) return nullptr;
  const uint64_t at = static_cast<uint64_t>(code) * sizeof(uint32_t);
  if (at + sizeof(uint32_t) > CodeIndex->Length || CodeIndex->Data == nullptr) return nullptr;
  uint32_t entry = 0;
  std::memcpy(&entry, CodeIndex->Data + at, sizeof entry);
  if (entry == 0 || entry > Glyphs->Count) return nullptr;
  C_Object* item = Glyphs->GetAt(entry - 1);
  if (item == nullptr || item->GetClassId() != class_id::Glyph) return nullptr;
  return static_cast<const C_Glyph*>(item);
}

void C_Font::GlyphsChanged() const {
  if (textTables_ != nullptr) textTables_->Clear();
}

GlyphTables* C_Font::TextTables() const {
  if (textTables_ == nullptr) textTables_ = new (std::nothrow) GlyphTables();
  return textTables_;
}

uint32_t C_Font::PageCount() const {
  return Pages != nullptr ? Pages->Count : 0;
}

C_Surface* C_Font::PageAt(uint32_t index) const {
  if (Pages == nullptr || index >= Pages->Count) return nullptr;
  C_Object* item = Pages->GetAt(index);
  if (item == nullptr || item->GetClassId() != class_id::Surface) return nullptr;
  return static_cast<C_Surface*>(item);
}

bool C_Font::Prepare() {
  bool ok = true;
  for (uint32_t i = 0; i < PageCount(); ++i) {
    C_Surface* page = PageAt(i);
    if (page != nullptr) ok = page->Prepare() && ok;
  }
  return ok;
}

bool C_Font::Attach(const ImageHook* hook) {
  if (Pages == nullptr) return false;
  for (uint32_t i = 0; i < Pages->Count; ++i) {
    C_Surface* page = PageAt(i);
    if (page != nullptr) page->Attach(hook);
  }
  return true;
}

bool C_Font::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  return LoadFields(stream, context, *this);
}

bool C_Font::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The name (as a resource stores it), the version, the glyphs, then the page
// surfaces. Each stored glyph and page holds at least its class id and version,
// which enclosing readers may not count on.
bool C_Font::Fields(RecordVisitor& v) {
  if (!NameField(v)) return Fail();
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  return ListField<C_Glyph>(v, "Glyphs", Glyphs, class_id::Glyph) &&
         ListField<C_Surface>(v, "Pages", Pages, class_id::Surface);
}

// Reading, each record is appended (a glyph is indexed by its code); writing, an
// item of another class or a hole is written as a default record so that the count
// holds.
template <class T>
bool C_Font::ListField(RecordVisitor& v, const char* name, C_Collection*& list, uint16_t classId) {
  const bool reading = v.Reading();
  uint32_t count = list != nullptr ? list->Count : 0;
  if (!v.BeginList(name, count, ListCount::Stored, kMinRecordBytes)) return false;
  if (reading && count > 0 && list == nullptr) {
    list = new (std::nothrow) C_Collection();
    if (list == nullptr) {
      v.EndList();
      return Fail(ErrorAllocation);
    }
  }
  bool ok = true;
  for (uint32_t i = 0; ok && i < count; ++i) {
    ok = v.Element(i);
    if (ok && !reading) {
      C_Object* item = list->GetAt(i);
      T empty;
      ok = v.Member(nullptr, item != nullptr && item->GetClassId() == classId ? *item : empty);
    } else if (ok) {
      auto* item = new (std::nothrow) T();
      if (item == nullptr) {
        ok = Fail(ErrorAllocation);
      } else if (!v.Member(nullptr, *item) || !list->Append(item)) {
        delete item;
        ok = Fail(ErrorUnexpectedData);
      } else if constexpr (std::is_same_v<T, C_Glyph>) {
        IndexGlyph(item->Code, list->Count - 1);
      }
    }
    v.EndElement();
  }
  v.EndList();
  return ok;
}
