// Image drawing: one surface drawn onto another at a position (scaled, rotated,
// mirrored, wrapped, blended as the DrawOptions say), and the blit of a part of a
// surface into a destination rectangle, stretched or tiled.
#pragma once

#include "core/vector2d.h"
#include "graphics/geometry/rect.h"
#include "graphics/raster/draw_options.h"

class C_Surface;

// Draws source (its colour image, key 1, with its 8-bit alpha image, key 2, when it
// has one) onto target's 32-bit colour image and 8-bit mask. sourceRect selects a
// part (anchors and frame cells resolved against the source image; null = all);
// viewport and clip (either may be null) bound the drawing; position places the
// options' Pivot. options null = defaults. A source surface whose Extra is a
// C_Color sets options->ColorKey and UseColorKey (the change stays). dirtyRect (may
// be null) is enlarged to the box of the pixels drawn. False when the target has no
// colour image or the source neither colour nor alpha image, and (ErrorNoFormat, then -1) when
// one of them is not a 32-bit format with 8-bit red, green and blue or an alpha or
// mask image is not 8-bit or smaller than its colour image. Degenerate geometry
// (scale not > 0, NaN, empty source rectangle, opacity 0) draws nothing and is true.
bool DrawSurface(C_Surface* source, C_Surface* target, const C_Rect* sourceRect,
                 const C_Rect* viewport, const C_Rect* clip, const C_Vector2D& position,
                 DrawOptions* options, C_Rect* dirtyRect);

// True when DrawSurface(source, target, ..., options, dirtyRect) writes every pixel
// of the box it adds to dirtyRect with a value taken from the source alone: a plain
// copy (opaque, no alpha image, mask, tint, colour key or effects), neither rotated
// nor wrapped. What the draw covers then needs no clearing before it. False as well
// for surfaces the draw would refuse.
bool DrawOverwrites(C_Surface* source, C_Surface* target, const DrawOptions& options);

// Puts the source rectangle into destination (resolved against the viewport, then
// moved by position). Without WrapX/WrapY the source is stretched to fill it; a
// wrapped axis tiles it at the options' scale, the pattern starting at the options'
// Pivot. Nothing is drawn outside destination and the bounds. reserved is not read.
// Results as DrawSurface.
bool BlitSurface(C_Surface* source, C_Surface* target, const C_Rect* sourceRect,
                 const C_Rect* viewport, const C_Rect* clip, const C_Rect& destination,
                 const C_Vector2D& position, float reserved, const DrawOptions* options,
                 C_Rect* dirtyRect);
