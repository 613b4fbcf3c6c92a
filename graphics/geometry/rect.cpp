#include "graphics/geometry/rect.h"

#include "core/record_stream.h"

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
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_Rect::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_Rect::Fields(RecordVisitor& v) {
  return v.Field("X1", X1) && v.Field("Y1", Y1) && v.Field("X2", X2) && v.Field("Y2", Y2) &&
         v.Field("Anchor1", Anchor1, Shown::Hex) && v.Field("Anchor2", Anchor2, Shown::Hex) &&
         v.Member("Pivot", Pivot);
}
