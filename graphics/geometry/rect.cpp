#include "graphics/geometry/rect.h"

#include "core/value_record.h"

C_Rect::C_Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t anchor1, uint8_t anchor2,
               const C_Vector2D& pivot)
    : C_Rect(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), anchor1, anchor2, pivot) {}

C_Rect::C_Rect(float x1, float y1, float x2, float y2, uint8_t anchor1, uint8_t anchor2,
               const C_Vector2D& pivot)
    : X1(x1), Y1(y1), X2(x2), Y2(y2), Anchor1(anchor1), Anchor2(anchor2), Pivot(pivot) {}

C_Rect::C_Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const C_Vector2D& pivot)
    : C_Rect(x1, y1, x2, y2, 0, 0, pivot) {}

C_Rect::C_Rect(const C_Size& size, const C_Vector2D& pivot)
    : C_Rect(0.0f, 0.0f, size.Width, size.Height, 0, 0, pivot) {}

bool C_Rect::Load(ByteStream* stream, int32_t context) {
  if (!LoadValueRecord(stream, *this, X1, Y1, X2, Y2, Anchor1, Anchor2)) return false;
  return Pivot.Load(stream, context);
}

bool C_Rect::Save(ByteStream* stream, int32_t context) {
  if (!SaveValueRecord(stream, *this, X1, Y1, X2, Y2, Anchor1, Anchor2)) return false;
  if (!Pivot.Save(stream, context)) return Fail();
  return true;
}
