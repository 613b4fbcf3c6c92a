// C_Font: a named bitmap font: one glyph per character code with its pre-rendered
// variants, the page surfaces the variants are cut from, and an index from
// character code to glyph.
#pragma once

#include <cstdint>

#include "core/resource.h"

class C_Array;
class C_BitmapGlyph;
class C_Collection;
class C_FontType;
class C_Glyph;
class GlyphTables;
class C_String;
class C_Surface;

// Character codes a font indexes: bytes, 0..255. Glyphs with other codes are kept
// but never found, so a stored code cannot size the index.
inline constexpr int32_t kCodeCount = 256;

class C_Font : public C_Resource {
 public:
  C_Font() = default;
  C_Font(const C_Font&) = delete;
  C_Font& operator=(const C_Font&) = delete;
  ~C_Font() override;

  void Init() override;        // name, glyphs, pages and index none
  void Release() override;     // frees name, glyphs (with variants), pages and index
  C_Object* Clone() override;  // a new font with this name, given to CopyFont
  // Record: id 7, u32 name length with terminator, the name, version 100, u32 g and
  // g glyph records, u32 p and p surface records. A later glyph of the same code
  // takes over the index entry.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Font; }
  bool Prepare() override;                      // Prepare of every page, in order
  bool Attach(const ImageHook* hook) override;  // to every page; false without pages
  // Gives target clones of the glyphs, pages and index (not the name); the
  // target's own are released first. False when something could not be cloned.
  virtual bool CopyFont(C_Font* target) const;

  // The glyph for a character code, or null (no index entry, or a stale one).
  const C_Glyph* FindGlyph(int32_t code) const;
  C_Surface* PageAt(uint32_t index) const;  // null past the pages or for a non-surface
  uint32_t PageCount() const;

  // Texts keep each code's layout and picture placement per size across texts.
  // Replacing or resizing Glyphs, Pages or CodeIndex empties what they keep; code
  // that edits a glyph, variant or page in place calls GlyphsChanged afterwards.
  void GlyphsChanged() const;
  // What texts keep for this font, made on first use; null without memory.
  GlyphTables* TextTables() const;

  C_Collection* Glyphs = nullptr;  // owned C_Glyph items in file order, or null
  C_Collection* Pages = nullptr;   // owned C_Surface items, or null
  C_Array* CodeIndex = nullptr;    // u32 per code: glyph position + 1, or 0

 private:
  bool IndexGlyph(int32_t code, uint32_t position);
  template <class T>
  bool ListField(RecordVisitor& v, const char* name, C_Collection*& list, uint16_t classId);

  mutable GlyphTables* textTables_ = nullptr;
};

// The variant a text is drawn with: one index into every glyph's variant list, and
// the scale from its pixel size to the requested size.
struct VariantChoice {
  uint32_t Index = 0;
  float Scale = 0;
  const C_BitmapGlyph* Sample = nullptr;  // the sample character's chosen variant
};

// The code whose glyph decides the variant: '*' in password mode; otherwise the
// first byte 33..127 of the text, else its last byte, and 'k' for an empty text.
uint8_t SampleCode(const C_String& text, bool password);

// Picks the sample glyph's variant of the type's style code and kind whose pixel
// size is nearest the requested size (the first of equally near ones). Variants of
// pixel size 0 never qualify: the scale divides by it. False when the font has no
// index, the text no buffer, the sample no glyph, or no variant qualifies.
bool SelectVariant(const C_Font& font, const C_FontType& type, const C_String& text, bool password,
                   VariantChoice& choice);
