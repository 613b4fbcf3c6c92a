// Solid shapes drawn into a surface's colour image: a pixel, a line, a rectangle
// (filled or outlined, with opacity), a circle (outlined or filled) and the filling
// of the rows recorded in the span table. Each call holds RasterLock for its run.
#pragma once

#include <cstdint>

class C_Circle;
class C_Color;
class C_Rect;
class C_Surface;
class C_Vector2D;

// The shapes draw into 8-, 16- and 32-bit integer colour images (key 1); other
// formats draw nothing and succeed. viewport and clip are in absolute surface
// pixels and either may be null (the whole target): a pixel is drawable when it
// lies inside the target, the viewport and the clip, all truncated to integers.
// Every routine fails (false) when the target has no colour image, and records
// ErrorNoFormat then -1 when that image's format has no description. Other failures record -1.
// NaN coordinates draw nothing; huge ones are walked only where they meet the bounds.

// Writes one pixel, unblended, at the truncated point. The mask image is kept.
bool DrawPixel(C_Surface* target, const C_Vector2D& point, const C_Color& color,
               const C_Rect* viewport, const C_Rect* clip);

// A 16.16 fixed-point walk from `from` towards `to`, starting half a pixel in along
// both axes, one pixel per step along the longer axis; an end point exactly on a
// pixel boundary is not plotted, and coinciding end points draw nothing. Unblended;
// the mask image is kept.
bool DrawLine(C_Surface* target, const C_Vector2D& from, const C_Vector2D& to, const C_Color& color,
              const C_Rect* viewport, const C_Rect* clip);

// Resolves a copy of rect against the viewport (or the whole target), orders its
// edges and covers columns trunc(x1) .. trunc(x1) + trunc(x2 - x1) - 1 (rows
// likewise). filled 0 draws the one-pixel border of that area only. opacity 0 draws
// nothing; on 32-bit targets an opacity below 1 blends with weight
// trunc(opacity * 256) (through the mask rule when the target has a mask image),
// and an opaque draw sets the mask to 255. 8- and 16-bit targets are written
// unblended. Opacity above 1 counts as 1, below 0 as 0.
bool DrawRectangle(C_Surface* target, const C_Rect& rect, const C_Color& color,
                   const C_Rect* viewport, const C_Rect* clip, uint8_t filled, float opacity);

// A midpoint circle about the truncated centre with the truncated radius. filled 1
// fills every row the outline touches from its leftmost to its rightmost pixel
// (through the span table); otherwise only the outline is drawn. Unblended.
bool DrawCircle(C_Surface* target, const C_Circle& circle, const C_Color& color,
                const C_Rect* viewport, const C_Rect* clip, uint8_t filled);

// Writes the colour, unblended, over every row from GlobalSpanTable's first to its
// last row, from the row's left to its right edge inclusive, cut to the bounds.
bool FillSpans(C_Surface* target, const C_Color& color, const C_Rect* viewport, const C_Rect* clip);
