// Record layouts of the graphics value classes: colours, rectangles and circles.
#include "core/class_id.h"
#include "tools/pakdump/record_dumper.h"

namespace {

bool DescribeColor(RecordDumper& d) {
  return d.F32("Red") && d.F32("Green") && d.F32("Blue") && d.F32("Alpha");
}

// Anchors are shown in hex: each nibble is a separate horizontal or vertical code.
bool DescribeRect(RecordDumper& d) {
  return d.F32("X1") && d.F32("Y1") && d.F32("X2") && d.F32("Y2") && d.U8("Anchor1") &&
         d.U8("Anchor2") && d.Record("Pivot", RecordRole::Member, class_id::Vector2D);
}

bool DescribeCircle(RecordDumper& d) {
  return d.Record("Center", RecordRole::Member, class_id::Vector2D) && d.F32("Radius");
}

const bool registered = RegisterDescriber(class_id::Color, "C_Color", DescribeColor) &&
                        RegisterDescriber(class_id::Rect, "C_Rect", DescribeRect) &&
                        RegisterDescriber(class_id::Circle, "C_Circle", DescribeCircle);

}  // namespace
