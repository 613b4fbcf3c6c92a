#include "widget/scroll_bar.h"

#include <cmath>
#include <new>

#include "core/record_stream.h"

void C_ScrollBar::Init() {
  C_Widget::Init();
  Value = 0;
  Minimum = 0;
  Maximum = 300;
  PageSize = 50;
  Step = 1;
}

C_Object* C_ScrollBar::Clone() {
  auto* copy = new (std::nothrow) C_ScrollBar();
  if (copy) CopyTo(copy);
  return copy;
}

void C_ScrollBar::CopyTo(C_ScrollBar* target) {
  if (!target || target == this) return;
  C_Widget::CopyTo(target);
  target->Value = Value;
  target->Minimum = Minimum;
  target->Maximum = Maximum;
  target->PageSize = PageSize;
  target->Step = Step;
}

bool C_ScrollBar::Load(ByteStream* stream, int32_t context) {
  return LoadWidgetRecord(stream, context);
}

bool C_ScrollBar::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

// The widget's fields, then a version word of its own and its fields.
bool C_ScrollBar::Fields(RecordVisitor& v) {
  bool current = false;
  if (!DerivedVersion(v, current)) return false;
  return !current ||
         (v.Field("Value", Value) && v.Field("Minimum", Minimum) && v.Field("Maximum", Maximum) &&
          v.Field("PageSize", PageSize) && v.Field("Step", Step));
}

float ThumbLength(float track, float minimum, float maximum, float pageSize) {
  const float range = maximum - minimum;
  float length = track;
  if (range > 0 && range + pageSize > 0) length = std::trunc(track * pageSize / (range + pageSize));
  // NaN compares false and is replaced too.
  return length >= kMinThumbLength ? length : kMinThumbLength;
}

float ThumbStart(float value, float minimum, float maximum, float trackStart, float track,
                 float thumb) {
  const float range = maximum - minimum;
  if (!(range > 0)) return trackStart;
  return (value - minimum) * (track - thumb) / range + trackStart;
}

float ValueFromThumb(float thumbStart, float trackStart, float track, float thumb, float minimum,
                     float maximum) {
  const float range = maximum - minimum;
  const float travel = track - thumb;
  if (!(range > 0) || travel == 0) return minimum;
  return minimum + (thumbStart - trackStart) * range / travel;
}

bool PlaceThumb(C_ScrollBar& bar, const C_Rect& track) {
  C_Widget* thumb = bar.FindPart(PartThumb, KindButton);
  if (!thumb) return false;
  if (bar.Kind == KindHScrollBar) {
    const float length = track.X2 - track.X1;
    const float t = ThumbLength(length, bar.Minimum, bar.Maximum, bar.PageSize);
    thumb->Rect.X2 = t;
    thumb->Rect.X1 = ThumbStart(bar.Value, bar.Minimum, bar.Maximum, track.X1, length, t);
    return true;
  }
  if (bar.Kind == KindVScrollBar) {
    const float length = track.Y2 - track.Y1;
    const float t = ThumbLength(length, bar.Minimum, bar.Maximum, bar.PageSize);
    thumb->Rect.Y2 = t;
    thumb->Rect.Y1 = ThumbStart(bar.Value, bar.Minimum, bar.Maximum, track.Y1, length, t);
    return true;
  }
  return false;
}
