// Resolving anchored points, rectangles and grid cells into absolute coordinates.
#include "graphics/geometry/resolve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A pivot that does not move the rectangle.
const C_Vector2D kNoPivot(0, 0, kAnchorResolved);

void ExpectEdges(const C_Rect& rect, float x1, float y1, float x2, float y2) {
  EXPECT_EQ(rect.X1, x1);
  EXPECT_EQ(rect.Y1, y1);
  EXPECT_EQ(rect.X2, x2);
  EXPECT_EQ(rect.Y2, y2);
}

}  // namespace

TEST(ResolvePoint, AddsEdgeOrCentreByNibble) {
  const C_Rect rect(10, 20, 110, 220);
  C_Vector2D point(1, 2, MakeAnchor(AnchorEnd, AnchorMiddle));
  EXPECT_EQ(point.Anchor, 0x21);
  ResolvePoint(point, rect);
  EXPECT_EQ(point.X, 111);
  EXPECT_EQ(point.Y, 122);
  EXPECT_EQ(point.Anchor, kAnchorResolved);

  // Codes a point has no rule for leave the coordinate but still mark it resolved.
  C_Vector2D other(1, 2, MakeAnchor(AnchorFractionOfStart, AnchorAbsolute));
  ResolvePoint(other, rect);
  EXPECT_EQ(other.X, 1);
  EXPECT_EQ(other.Y, 2);
  EXPECT_EQ(other.Anchor, kAnchorResolved);

  C_Vector2D topLeft(-1, -2, MakeAnchor(AnchorStart, AnchorEnd));
  ResolvePoint(topLeft, rect);
  EXPECT_EQ(topLeft.X, 9);
  EXPECT_EQ(topLeft.Y, 218);
}

TEST(ResolveRect, CentredByMiddleAnchorAndPivot) {
  const C_Rect parent(0, 0, 100, 50);
  C_Rect rect(0, 0, 20, 10, 0x22, 0x33, C_Vector2D(0, 0, 0x22));
  C_Vector2D& pivot = ResolveRect(rect, parent, nullptr, nullptr);
  ExpectEdges(rect, 40, 20, 60, 30);
  EXPECT_EQ(rect.Anchor1, kAnchorResolved);
  EXPECT_EQ(rect.Anchor2, kAnchorResolved);
  EXPECT_EQ(&pivot, &rect.Pivot);
  EXPECT_EQ(pivot.X, 0);
  EXPECT_EQ(pivot.Y, 0);
  EXPECT_EQ(pivot.Anchor, kAnchorResolved);

  // Resolving again changes nothing; so does the grid variant.
  const C_Rect once = rect;
  ResolveRect(rect, C_Rect(7, 7, 9, 9), nullptr, nullptr);
  ResolveGridRect(rect, C_Rect(7, 7, 9, 9), 3, 3, nullptr, nullptr);
  ExpectEdges(rect, once.X1, once.Y1, once.X2, once.Y2);
}

TEST(ResolveRect, ResolvedRectangleIsUntouched) {
  const C_Rect resolved(1.5f, 2.5f, 3.5f, 4.5f, kAnchorResolved, kAnchorResolved,
                        C_Vector2D(6, 7, 0x11));
  for (int grid = 0; grid < 2; ++grid) {
    C_Rect rect = resolved;
    C_Vector2D& pivot = grid ? ResolveGridRect(rect, C_Rect(0, 0, 9, 9), 2, 2, nullptr, nullptr)
                             : ResolveRect(rect, C_Rect(0, 0, 9, 9), nullptr, nullptr);
    ExpectEdges(rect, 1.5f, 2.5f, 3.5f, 4.5f);
    EXPECT_EQ(pivot.X, 6);
    EXPECT_EQ(pivot.Y, 7);
    EXPECT_EQ(pivot.Anchor, 0x11);
  }
}

// Every code on both edges and both axes, against a parent that is not square so
// that an axis mix-up shows.
TEST(ResolveRect, EachCodeOnEachEdge) {
  const C_Rect parent(10, 20, 210, 120);  // 200 wide, 100 high
  const C_Rect previous(0, 0, 50, 60);
  const C_Rect next(150, 90, 0, 0);
  struct Case {
    uint8_t code;
    float v1, v2;
    float x1, y1, x2, y2;
  };
  const Case cases[] = {
      {AnchorStart, 5, 7, 15, 25, 17, 27},
      {AnchorEnd, 5, 7, 215, 125, 217, 127},
      {AnchorMiddle, 5, 7, 115, 75, 117, 77},
      {AnchorExtent, 5, 7, 5, 5, 12, 12},
      {AnchorAbsolute, 5, 7, 5, 5, 7, 7},
      {AnchorExtentAlt, 5, 7, 5, 5, 12, 12},
      {AnchorFractionOfStart, 0.25f, 0.5f, 60, 45, 110, 70},
      {AnchorFractionOfEnd, -0.25f, -0.5f, 160, 95, 110, 70},
      {AnchorAfterPrevious, 5, 7, 55, 65, 7, 7},
      {AnchorBeforeNext, 5, 7, 5, 5, 157, 97},
      {AnchorGridFromStart, 5, 7, 5, 5, 7, 7},  // grid codes only in ResolveGridRect
      {AnchorGridFromEnd, 5, 7, 5, 5, 7, 7},
      {0xA, 5, 7, 5, 5, 7, 7},
      {0xF, 5, 7, 5, 5, 7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    const uint8_t anchor =
        MakeAnchor(static_cast<AnchorCode>(c.code), static_cast<AnchorCode>(c.code));
    C_Rect rect(c.v1, c.v1, c.v2, c.v2, anchor, anchor, kNoPivot);
    ResolveRect(rect, parent, &previous, &next);
    ExpectEdges(rect, c.x1, c.y1, c.x2, c.y2);
  }
}

TEST(ResolveRect, MixedNibblesAndExtentReadsResolvedEdge) {
  const C_Rect parent(0, 0, 200, 100);
  C_Rect rect(-30.0f, 0.0f, 30.0f, -0.25f, MakeAnchor(AnchorEnd, AnchorMiddle),
              MakeAnchor(AnchorExtent, AnchorFractionOfEnd), kNoPivot);
  ResolveRect(rect, parent, nullptr, nullptr);
  // X2 is the resolved X1 plus the width 30; Y2 a quarter inside the bottom edge.
  ExpectEdges(rect, 170, 50, 200, 75);
}

TEST(ResolveRect, AbsentSiblingReadsAsEmptyRectangle) {
  C_Rect rect(5.0f, 6.0f, -7.0f, -8.0f, MakeAnchor(AnchorAfterPrevious, AnchorAfterPrevious),
              MakeAnchor(AnchorBeforeNext, AnchorBeforeNext), kNoPivot);
  ResolveRect(rect, C_Rect(100, 100, 200, 200), nullptr, nullptr);
  ExpectEdges(rect, 5, 6, -7, -8);
}

TEST(ResolveRect, PivotPlacesPointOfRectangle) {
  const C_Rect parent(0, 0, 100, 100);
  // Bottom-right corner at the parent's centre.
  C_Rect corner(0, 0, 20, 10, 0x22, 0x33, C_Vector2D(0, 0, 0x11));
  ResolveRect(corner, parent, nullptr, nullptr);
  ExpectEdges(corner, 30, 40, 50, 50);
  // An absolute pivot shifts by its own values; an anchored one adds its offset too.
  C_Rect shifted(10, 10, 20, 20, C_Vector2D(3, 4, kAnchorResolved));
  ResolveRect(shifted, parent, nullptr, nullptr);
  ExpectEdges(shifted, 7, 6, 17, 16);
  C_Rect offset(10, 10, 20, 20, C_Vector2D(1, -1, 0x20));
  ResolveRect(offset, parent, nullptr, nullptr);
  ExpectEdges(offset, 9, 6, 19, 16);
}

TEST(ResolveRect, EachStepRoundsToF32) {
  // 2^24 + 1 is not an f32: the centre rounds to 2^24 before the value is added,
  // where wider arithmetic would carry 2^24 + 2.
  const C_Rect parent(16777216.0f, 0.0f, 16777218.0f, 0.0f, 0, 0);
  C_Rect rect(1.0f, 0.0f, 0.0f, 0.0f, MakeAnchor(AnchorMiddle, AnchorAbsolute), kAnchorResolved,
              kNoPivot);
  ResolveRect(rect, parent, nullptr, nullptr);
  EXPECT_EQ(rect.X1, 16777216.0f);
}

TEST(ResolveGridRect, CellIndexWrapsOntoNextRow) {
  const C_Rect parent(0, 0, 400, 100);
  // Cell 5 of a 4 x 1 grid with spans of one cell: second column, full height.
  C_Rect rect(5.0f, 0.0f, 1.0f, 1.0f, 0xCC, 0xCC, kNoPivot);
  ResolveGridRect(rect, parent, 4, 1, nullptr, nullptr);
  ExpectEdges(rect, 100, 0, 200, 100);
  // A row span of 0 leaves two row places, so the same index lands in row 1.
  C_Rect flat(5.0f, 0.0f, 1.0f, 0.0f, 0xCC, 0xCC, kNoPivot);
  ResolveGridRect(flat, parent, 4, 1, nullptr, nullptr);
  ExpectEdges(flat, 100, 100, 200, 100);
  // A row index past the last row moves one column on.
  C_Rect down(0.0f, 3.0f, 1.0f, 1.0f, 0xCC, 0xCC, kNoPivot);
  ResolveGridRect(down, C_Rect(0, 0, 200, 200), 2, 2, nullptr, nullptr);
  ExpectEdges(down, 100, 100, 200, 200);
}

TEST(ResolveGridRect, FromEndCodesZeroSizesAndPlainCodes) {
  const C_Rect parent(0, 0, 400, 100);
  C_Rect fromEnd(1.0f, 0.0f, 1.0f, 1.0f, MakeAnchor(AnchorGridFromEnd, AnchorGridFromStart), 0xCC,
                 kNoPivot);
  ResolveGridRect(fromEnd, parent, 4, 1, nullptr, nullptr);
  ExpectEdges(fromEnd, 500, 0, 200, 100);
  // Zero columns and rows count as one: cell 0 spans the whole parent.
  C_Rect whole(0.0f, 0.0f, 1.0f, 1.0f, 0xCC, 0xCC, kNoPivot);
  ResolveGridRect(whole, parent, 0, 0, nullptr, nullptr);
  ExpectEdges(whole, 0, 0, 400, 100);
  // Without grid codes it resolves as ResolveRect does.
  C_Rect centred(0, 0, 20, 10, 0x22, 0x33, C_Vector2D(0, 0, 0x22));
  ResolveGridRect(centred, C_Rect(0, 0, 100, 50), 4, 4, nullptr, nullptr);
  ExpectEdges(centred, 40, 20, 60, 30);
}

TEST(ResolveGridRect, SpanOneMoreThanGridStaysFinite) {
  // columns + 1 - span = 0 would divide by zero; one place is assumed instead.
  C_Rect wide(2.0f, 0.0f, 5.0f, 1.0f, 0xCC, 0xCC, kNoPivot);
  ResolveGridRect(wide, C_Rect(0, 0, 400, 100), 4, 1, nullptr, nullptr);
  ExpectEdges(wide, 0, 0, 500, 100);
  C_Rect tall(0.0f, 2.0f, 1.0f, 3.0f, 0xCC, 0xCC, kNoPivot);
  ResolveGridRect(tall, C_Rect(0, 0, 400, 100), 4, 2, nullptr, nullptr);
  EXPECT_TRUE(std::isfinite(tall.X1) && std::isfinite(tall.X2));
  ExpectEdges(tall, 200, 0, 300, 150);
}
