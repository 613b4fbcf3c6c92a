// Layout of anchored geometry: turning points and rectangles stored relative to
// a parent rectangle, its siblings or a grid of cells into absolute coordinates.
#pragma once

#include "graphics/geometry/anchor.h"
#include "graphics/geometry/rect.h"

// Moves the point by the rectangle's left, right or centre as its horizontal code
// says (start, end, middle), likewise by the top, bottom or middle; other codes
// leave the coordinate. The point's anchor becomes kAnchorResolved.
void ResolvePoint(C_Vector2D& point, const C_Rect& rect);

// Resolves rect in place against its parent and returns its Pivot, which ends at
// (0, 0) with anchor kAnchorResolved: the pivot, resolved against the rectangle's
// own size, is subtracted from all four edges. A rectangle whose two anchors are
// both kAnchorResolved is left untouched, so resolving twice equals resolving once.
// previous is read only by AnchorAfterPrevious and next only by AnchorBeforeNext;
// either may be null, and an absent sibling reads as an all-zero rectangle.
C_Vector2D& ResolveRect(C_Rect& rect, const C_Rect& parent, const C_Rect* previous,
                        const C_Rect* next);

// As ResolveRect, and the grid codes too: the parent is divided into columns x rows
// cells (0 taken as 1); the first corner's values name a cell (an index past the
// last place that fits wraps onto the next row or column), the second corner's
// values are spans in cells.
C_Vector2D& ResolveGridRect(C_Rect& rect, const C_Rect& parent, float columns, float rows,
                            const C_Rect* previous, const C_Rect* next);
