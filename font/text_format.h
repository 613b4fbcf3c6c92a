// C_TextFormat: the layout settings of a text: alignment, ellipsis, the leading
// of the caret row, the text's left and right edges within its rectangle, and the
// run-time switches (multi-line, password, a hook that sees every glyph).
#pragma once

#include <cstdint>

#include "core/object.h"
#include "core/vector2d.h"
#include "graphics/raster/draw_options.h"

// Align codes.
enum TextAlign : uint8_t {
  AlignLeft = 0,      // and lines are never wrapped
  AlignLeftWrap = 1,  // left, wrapped
  AlignRight = 2,
  AlignCentre = 3,
  AlignJustify = 4,  // extra space spread over the spaces of lines broken at a space
};

// Where one glyph is about to be drawn: the picture's centre and the draw's options
// (scale, pivot at the picture's centre, the text colour as tint and opacity).
struct GlyphPlacement {
  C_Vector2D Position;  // absolute target pixels
  DrawOptions Options;
  int32_t Index = 0;     // of the character in the text
  uint8_t Code = 0;      // drawn code (a '*' in password mode)
  void* Data = nullptr;  // the format's HookData
};

// Called before each glyph is drawn; the draw uses the placement as left.
using GlyphHookFunction = void (*)(GlyphPlacement& placement);

class C_TextFormat : public C_Object {
 public:
  C_TextFormat() = default;

  // Record: id 2 (the font type's id: a text format is never created from the
  // registry), version 100, u8 Align, Ellipsis, SpareFlag1, f32 Leading, f32
  // LeftEdge, u8 LeftAnchor, f32 RightEdge, u8 RightAnchor, f32 Extra, u8
  // ExtraAnchor, SpareFlag2, then Spare1..3 as 4 bytes each.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::FontType; }

  uint8_t Align = AlignLeft;
  uint8_t Ellipsis = 0;    // 1: a line that does not fit ends in "..."
  uint8_t SpareFlag1 = 0;  // stored and copied
  float Leading = 0;       // added to a line's top: the row of caret and hit tests
  float LeftEdge = 0;      // resolved against the layout rectangle with LeftAnchor
  float RightEdge = 0;     // resolved with RightAnchor
  float Extra = 0;         // stored and copied
  uint8_t LeftAnchor = 0;
  uint8_t RightAnchor = 1;                      // from the rectangle's right
  uint8_t ExtraAnchor = 0;                      // stored and copied
  uint8_t SpareFlag2 = 0;                       // stored and copied
  uint32_t Spare1 = 0, Spare2 = 0, Spare3 = 0;  // stored and copied
  // Not stored:
  uint8_t MultiLine = 0;  // set by the owning text layer
  uint8_t Password = 0;   // 1: codes 32..127 are drawn and measured as '*'
  GlyphHookFunction GlyphHook = nullptr;
  void* HookData = nullptr;  // handed to the hook in each placement
};
