// The graphics sheet of the skin, painted by the builder: bevels, fields, check
// marks, option rings and dots, arrows, caption-button glyphs, the scroll track
// and the caption bars, each a named tile of one sheet.
#pragma once

#include <cstdint>

class C_Surface;

// The sheet's name and its index in "guigfx.pak".
inline constexpr const char* kControlsSheetName = "controls";
inline constexpr uint32_t kControlsSheet = 0;

// Tiles of 16 x 16 pixels in the first row, at x = 16 x tile.
enum Tile : uint32_t {
  TileBevelRaised = 0,  // a button at rest
  TileBevelSunken = 1,  // a pressed button
  TileBevelHover = 2,   // a button under the pointer
  TileField = 3,        // a sunken white field (text boxes, check boxes)
  TileCheckMark = 4,
  TileOptionRing = 5,
  TileOptionDot = 6,
  TileArrowUp = 7,
  TileArrowDown = 8,
  TileArrowLeft = 9,
  TileArrowRight = 10,
  TileGlyphMinimise = 11,
  TileGlyphMaximise = 12,
  TileGlyphRestore = 13,
  TileGlyphRollUp = 14,
  TileTrack = 15,   // the scroll track's dither, tiled
  TileWindow = 16,  // second row: a window's raised edge
  TileEtched = 17,  // second row: an etched group frame
};
inline constexpr float kTileSize = 16;
// The caption bars: 128 x 16 each in the third row.
inline constexpr float kCaptionY = 32;
inline constexpr float kCaptionWidth = 128;
inline constexpr float kActiveCaptionX = 0;
inline constexpr float kInactiveCaptionX = 128;

inline constexpr int32_t kSheetWidth = 256;
inline constexpr int32_t kSheetHeight = 48;

// Left and top of a tile on the sheet.
float TileX(Tile tile);
float TileY(Tile tile);

// A new sheet: an A8R8G8B8 colour image and an 8-bit alpha image, named
// kControlsSheetName. Null when out of memory.
C_Surface* PaintControlsSheet();
