// C_ScrollBar: a widget that holds a value in a range and shows it with a thumb
// (part 18) moved along the track its DragLimits give; Kind 16 is horizontal, 17
// vertical. The thumb arithmetic is given as plain functions.
#pragma once

#include "widget/widget.h"

class C_ScrollBar : public C_Widget {
 public:
  C_ScrollBar() = default;

  void Init() override;  // widget defaults and the five values' defaults
  C_Object* Clone() override;
  // After the widget contents: version, f32 Value, Minimum, Maximum, PageSize,
  // Step. Another version keeps the defaults.
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::ScrollBar; }
  using C_Widget::CopyTo;
  virtual void CopyTo(C_ScrollBar* target);

  float Value = 0;
  float Minimum = 0;
  float Maximum = 300;
  float PageSize = 50;
  float Step = 1;
};

// The shortest thumb.
inline constexpr float kMinThumbLength = 16;

// Thumb length on a track of length track: track x page / (range + page),
// truncated, at least kMinThumbLength. An empty or negative range gives the whole
// track (at least the minimum).
float ThumbLength(float track, float minimum, float maximum, float pageSize);
// The thumb's near edge: (value - minimum) x (track - thumb) / range + trackStart;
// the track's start when the range is empty.
float ThumbStart(float value, float minimum, float maximum, float trackStart, float track,
                 float thumb);
// The value a thumb at thumbStart stands for: minimum + (thumbStart - trackStart) x
// range / (track - thumb); minimum when the range is empty or the thumb fills the
// track.
float ValueFromThumb(float thumbStart, float trackStart, float track, float thumb, float minimum,
                     float maximum);

// Places the thumb (part 18) of a scroll bar on its resolved track: length as its
// width (X2, Kind 16) or height (Y2, Kind 17) and its near edge. False without a
// thumb or for a bar of another kind.
bool PlaceThumb(C_ScrollBar& bar, const C_Rect& track);
