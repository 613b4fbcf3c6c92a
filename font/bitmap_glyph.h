// C_BitmapGlyph: one pre-rendered picture of a character at one pixel size, kind
// and style: where it lies on a page of its font, how far it advances the pen and
// where it sits against the pen and the baseline.
#pragma once

#include <cstdint>

#include "core/object.h"
#include "core/vector2d.h"
#include "graphics/geometry/rect.h"

inline constexpr uint32_t kNoPage = 0xFFFFFFFFu;

class C_BitmapGlyph : public C_Object {
 public:
  C_BitmapGlyph() = default;

  C_Object* Clone() override;  // a new variant given to CopyTo
  // Record: id 5, version 100, u16 PixelSize, u8 Kind, u8 Style, u32 Page, then
  // eight i16: Source left, top, right, bottom, Advance x, y, Offset x, y. Saving
  // truncates each float toward zero and keeps the low 16 bits.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::BitmapGlyph; }
  virtual void CopyTo(C_BitmapGlyph* target) const;  // every field

  uint16_t PixelSize = 0;   // size the picture was rendered at
  uint8_t Kind = 0;         // compared with C_FontType::Kind
  uint8_t Style = 0;        // style code 4..7
  uint32_t Page = kNoPage;  // index into the font's pages
  C_Rect Source;            // picture on the page: left, top, right, bottom
  C_Vector2D Advance;       // x: pen advance at PixelSize; y stored only
  C_Vector2D Offset;        // x: pen to picture's left; y: picture's top down to baseline
};
