// C_Rect: a rectangle in f32 pixels whose corners may be stored relative to a
// parent (see graphics/anchor.h) and a pivot that places it; resolved by resolve.h.
#pragma once

#include "core/size.h"
#include "core/vector2d.h"

class C_Rect : public C_Object {
 public:
  C_Rect() = default;  // all zero: edges, anchors and the pivot
  C_Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t anchor1, uint8_t anchor2,
         const C_Vector2D& pivot = C_Vector2D());
  C_Rect(float x1, float y1, float x2, float y2, uint8_t anchor1, uint8_t anchor2,
         const C_Vector2D& pivot = C_Vector2D());
  // Anchors 0: every edge relative to the parent's left or top.
  C_Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const C_Vector2D& pivot = C_Vector2D());
  // (0, 0, width, height) with anchors 0.
  explicit C_Rect(const C_Size& size, const C_Vector2D& pivot = C_Vector2D());

  // Record: id 11, f32 X1 Y1 X2 Y2, u8 Anchor1 Anchor2, then the Pivot's own record.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Rect; }

  float X1 = 0;  // left edge once resolved; before, a value read as Anchor1's low nibble says
  float Y1 = 0;  // top edge; before resolving, as Anchor1's high nibble says
  float X2 = 0;  // right edge; before resolving, as Anchor2's low nibble says
  float Y2 = 0;  // bottom edge; before resolving, as Anchor2's high nibble says
  uint8_t Anchor1 = 0;  // anchor of (X1, Y1); kAnchorResolved once absolute
  uint8_t Anchor2 = 0;  // anchor of (X2, Y2); kAnchorResolved once absolute
  C_Vector2D Pivot;     // point of the rectangle put at the resolved place; its anchor
                        // resolves against the rectangle's own size
};
