// Every step is f32 arithmetic and is rounded to f32 as it is stored, so that
// layouts come out bit for bit the same wherever they are computed.
#include "graphics/geometry/resolve.h"

#include <cmath>

#include "core/numeric.h"

namespace {

// What one axis (X or Y) of a rectangle resolves against.
struct Axis {
  float ParentStart = 0;  // P.X1 / P.Y1
  float ParentEnd = 0;    // P.X2 / P.Y2
  float PreviousEnd = 0;  // previous sibling's X2 / Y2
  float NextStart = 0;    // next sibling's X1 / Y1
  bool Grid = false;      // grid codes apply (ResolveGridRect only)
  float Cells = 1;        // columns / rows, never 0
  float Cell = 0;         // column / row of the first edge
  float Span = 0;         // cells covered by the rectangle (l / m)
};

// The codes the two edges of an axis resolve alike. False for any other code.
bool ResolveShared(uint8_t code, float v, const Axis& axis, float cell, float& out) {
  const float start = axis.ParentStart;
  const float end = axis.ParentEnd;
  switch (code) {
    case AnchorStart:
      out = start + v;
      return true;
    case AnchorEnd:
      out = end + v;
      return true;
    case AnchorMiddle:
      out = start + (end - start) * 0.5f + v;
      return true;
    case AnchorFractionOfStart:
      out = start + (end - start) * v;
      return true;
    case AnchorFractionOfEnd:
      out = end + (end - start) * v;
      return true;
    case AnchorGridFromStart:
    case AnchorGridFromEnd:
      if (!axis.Grid) return false;
      out = (code == AnchorGridFromStart ? start : end) + (end - start) * cell / axis.Cells;
      return true;
    default:
      return false;
  }
}

// X1 or Y1.
float ResolveFirst(uint8_t code, float v, const Axis& axis) {
  float out = v;
  if (ResolveShared(code, v, axis, axis.Cell, out)) return out;
  if (code == AnchorAfterPrevious) return axis.PreviousEnd + v;
  return v;
}

// X2 or Y2; extents add to the already resolved first edge.
float ResolveSecond(uint8_t code, float v, const Axis& axis, float first) {
  float out = v;
  if (ResolveShared(code, v, axis, axis.Cell + axis.Span, out)) return out;
  if (code == AnchorExtent || code == AnchorExtentAlt) return first + v;
  if (code == AnchorBeforeNext) return axis.NextStart + v;
  return v;
}

const C_Rect kNoSibling;  // what an absent sibling reads as

Axis HorizontalAxis(const C_Rect& parent, const C_Rect* previous, const C_Rect* next) {
  Axis axis;
  axis.ParentStart = parent.X1;
  axis.ParentEnd = parent.X2;
  axis.PreviousEnd = (previous ? previous : &kNoSibling)->X2;
  axis.NextStart = (next ? next : &kNoSibling)->X1;
  return axis;
}

Axis VerticalAxis(const C_Rect& parent, const C_Rect* previous, const C_Rect* next) {
  Axis axis;
  axis.ParentStart = parent.Y1;
  axis.ParentEnd = parent.Y2;
  axis.PreviousEnd = (previous ? previous : &kNoSibling)->Y2;
  axis.NextStart = (next ? next : &kNoSibling)->Y1;
  return axis;
}

bool IsResolved(const C_Rect& rect) {
  return rect.Anchor1 == kAnchorResolved && rect.Anchor2 == kAnchorResolved;
}

// Resolves the four edges in the order X1, Y1, X2, Y2, then places the pivot.
C_Vector2D& ResolveEdges(C_Rect& rect, const Axis& horizontal, const Axis& vertical) {
  rect.X1 = ResolveFirst(HorizontalAnchor(rect.Anchor1), rect.X1, horizontal);
  rect.Y1 = ResolveFirst(VerticalAnchor(rect.Anchor1), rect.Y1, vertical);
  rect.X2 = ResolveSecond(HorizontalAnchor(rect.Anchor2), rect.X2, horizontal, rect.X1);
  rect.Y2 = ResolveSecond(VerticalAnchor(rect.Anchor2), rect.Y2, vertical, rect.Y1);

  // The pivot is a point of the rectangle itself; moving the rectangle by it puts
  // that point where the edges were resolved to.
  const C_Rect own(0.0f, 0.0f, rect.X2 - rect.X1, rect.Y2 - rect.Y1, 0, 0);
  ResolvePoint(rect.Pivot, own);
  rect.Anchor1 = kAnchorResolved;
  rect.Anchor2 = kAnchorResolved;
  rect.X1 -= rect.Pivot.X;
  rect.Y1 -= rect.Pivot.Y;
  rect.X2 -= rect.Pivot.X;
  rect.Y2 -= rect.Pivot.Y;
  rect.Pivot.X = 0;
  rect.Pivot.Y = 0;
  return rect.Pivot;
}

bool IsGridCode(uint8_t code) {
  return code == AnchorGridFromStart || code == AnchorGridFromEnd;
}

// Places a block of `span` cells can start at along an axis of `cells` cells. When
// the span is one more than the grid there is no such place; one is assumed so that
// the cell arithmetic never divides by zero.
float GridPlaces(float cells, float span) {
  const float places = cells + 1 - span;
  return places == 0 ? 1.0f : places;
}

}  // namespace

void ResolvePoint(C_Vector2D& point, const C_Rect& rect) {
  switch (HorizontalAnchor(point.Anchor)) {
    case AnchorStart:
      point.X += rect.X1;
      break;
    case AnchorEnd:
      point.X += rect.X2;
      break;
    case AnchorMiddle:
      point.X += rect.X1 + (rect.X2 - rect.X1) * 0.5f;
      break;
    default:
      break;
  }
  switch (VerticalAnchor(point.Anchor)) {
    case AnchorStart:
      point.Y += rect.Y1;
      break;
    case AnchorEnd:
      point.Y += rect.Y2;
      break;
    case AnchorMiddle:
      point.Y += rect.Y1 + (rect.Y2 - rect.Y1) * 0.5f;
      break;
    default:
      break;
  }
  point.Anchor = kAnchorResolved;
}

C_Vector2D& ResolveRect(C_Rect& rect, const C_Rect& parent, const C_Rect* previous,
                        const C_Rect* next) {
  if (IsResolved(rect)) return rect.Pivot;
  return ResolveEdges(rect, HorizontalAxis(parent, previous, next),
                      VerticalAxis(parent, previous, next));
}

C_Vector2D& ResolveGridRect(C_Rect& rect, const C_Rect& parent, float columns, float rows,
                            const C_Rect* previous, const C_Rect* next) {
  if (IsResolved(rect)) return rect.Pivot;
  if (columns == 0) columns = 1;
  if (rows == 0) rows = 1;

  // f, g: the first corner's cell indexes; l, m: the spans of the second corner.
  const float f = IsGridCode(HorizontalAnchor(rect.Anchor1)) ? rect.X1 : 0.0f;
  const float g = IsGridCode(VerticalAnchor(rect.Anchor1)) ? rect.Y1 : 0.0f;
  const float l = IsGridCode(HorizontalAnchor(rect.Anchor2)) ? rect.X2 : 0.0f;
  const float m = IsGridCode(VerticalAnchor(rect.Anchor2)) ? rect.Y2 : 0.0f;
  const float columnPlaces = GridPlaces(columns, l);
  const float rowPlaces = GridPlaces(rows, m);

  // An index past the last place of a row wraps onto the next row, and an index
  // past the last place of a column onto the next column.
  const float rowCarry = std::trunc(g / rowPlaces);
  const float column = FloatMod(f + rowCarry, columnPlaces);
  const float columnCarry = std::trunc(f / columnPlaces);
  const float row = FloatMod(columnCarry + g, rowPlaces);

  Axis horizontal = HorizontalAxis(parent, previous, next);
  horizontal.Grid = true;
  horizontal.Cells = columns;
  horizontal.Cell = column;
  horizontal.Span = l;
  Axis vertical = VerticalAxis(parent, previous, next);
  vertical.Grid = true;
  vertical.Cells = rows;
  vertical.Cell = row;
  vertical.Span = m;
  return ResolveEdges(rect, horizontal, vertical);
}
