#include "font/font.h"

#include <cstring>
#include <new>

#include "core/array.h"
#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
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

// Reads count records of T into list (created when absent); false on the first
// failure, which deletes the failed object. The records still to come hold at
// least their id and version, which enclosing readers may not count on.
template <class T>
bool LoadRecords(ByteStream* stream, int32_t context, uint32_t count, C_Collection*& list,
                 void (*loaded)(C_Font&, T&, uint32_t), C_Font& font) {
  if (!StreamCanHold(stream, kMinRecordBytes * count)) return Fail(ErrorUnexpectedData);
  if (list == nullptr) {
    list = new (std::nothrow) C_Collection();
    if (list == nullptr) return Fail(ErrorAllocation);
  }
  const int64_t committedOutside = stream->Committed;
  bool ok = true;
  for (uint32_t i = 0; i < count && ok; ++i) {
    stream->Committed = committedOutside + static_cast<int64_t>(kMinRecordBytes * (count - i - 1));
    auto* item = new (std::nothrow) T();
    if (item == nullptr) {
      ok = Fail(ErrorAllocation);
    } else if (!item->Load(stream, context) || !list->Append(item)) {
      delete item;
      ok = Fail(ErrorUnexpectedData);
    } else if (loaded != nullptr) {
      loaded(font, *item, list->Count - 1);
    }
  }
  stream->Committed = committedOutside;
  return ok;
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
  if (!LoadName(stream)) return Fail();
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  if (version != FormatVersion) return true;

  uint32_t count = 0;
  if (!ReadField(stream, count)) return Fail(ErrorUnexpectedData);
  auto index = [](C_Font& font, C_Glyph& glyph, uint32_t position) {
    font.IndexGlyph(glyph.Code, position);
  };
  if (count > 0 && !LoadRecords<C_Glyph>(stream, context, count, Glyphs, index, *this))
    return false;
  if (!ReadField(stream, count)) return Fail(ErrorUnexpectedData);
  if (count > 0 && !LoadRecords<C_Surface>(stream, context, count, Pages, nullptr, *this))
    return false;
  return true;
}

bool C_Font::Save(ByteStream* stream, int32_t context) {
  bool ok =
      WriteField(stream, GetClassId()) && SaveName(stream) && WriteField(stream, FormatVersion);
  const uint32_t glyphs = Glyphs != nullptr ? Glyphs->Count : 0;
  ok = ok && WriteField(stream, glyphs);
  for (uint32_t i = 0; ok && i < glyphs; ++i) {
    C_Object* item = Glyphs->GetAt(i);
    C_Glyph empty;
    ok = (item != nullptr && item->GetClassId() == class_id::Glyph ? item : &empty)
             ->Save(stream, context);
  }
  const uint32_t pages = PageCount();
  ok = ok && WriteField(stream, pages);
  for (uint32_t i = 0; ok && i < pages; ++i) {
    C_Object* item = Pages->GetAt(i);
    C_Surface empty;
    ok = (item != nullptr && item->GetClassId() == class_id::Surface ? item : &empty)
             ->Save(stream, context);
  }
  return ok || Fail();
}
