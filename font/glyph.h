// C_Glyph: one character of a font: its code and its pre-rendered variants.
#pragma once

#include <cstdint>

#include "core/collection.h"
#include "core/object.h"
#include "font/bitmap_glyph.h"

class C_Glyph : public C_Object {
 public:
  C_Glyph() = default;
  C_Glyph(const C_Glyph&) = delete;
  C_Glyph& operator=(const C_Glyph&) = delete;
  ~C_Glyph() override;

  void Init() override;     // Code -1, no variants
  void Release() override;  // deletes the variants and their collection
  C_Object* Clone() override;
  // Record: id 6, version 100, u32 n, n variant records, i32 Code. The variants
  // are read into reverse file order (each goes to the front), as they always were.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Glyph; }
  // Code and a clone of the variants; the target's own variants are released first.
  virtual void CopyTo(C_Glyph* target) const;

  // The variant at index, or null when there is none. Only variants are ever put
  // in the list (by Load, CopyTo and the font baker), so the item is not asked for
  // its class: this runs for every variant of a text's sample glyph.
  const C_BitmapGlyph* VariantAt(uint32_t index) const {
    if (Variants == nullptr || Variants->Items == nullptr || index >= Variants->Count)
      return nullptr;
    return static_cast<const C_BitmapGlyph*>(Variants->Items[index]);
  }
  uint32_t VariantCount() const { return Variants != nullptr ? Variants->Count : 0; }

  int32_t Code = -1;                 // character code, 0..255 in practice
  C_Collection* Variants = nullptr;  // owned C_BitmapGlyph items (nothing else), or null

 private:
  // One variant of the list: walked from the list (writing) or appended (reading).
  bool VariantField(RecordVisitor& v, uint32_t index);
};
