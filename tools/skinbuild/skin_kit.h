// The builder's vocabulary for describing templates: anchored boxes, the layers of
// the look (nine-slice bevels, tiles, captions, texts, zones) and widgets with
// their decals.
#pragma once

#include <cstdint>

#include "graphics/geometry/anchor.h"
#include "graphics/geometry/rect.h"
#include "skin/decal.h"
#include "skin/layers.h"
#include "tools/skinbuild/sheets.h"
#include "widget/widget.h"

class C_Collection;

namespace kit {

// Anchor bytes used by the templates.
inline constexpr uint8_t kTopLeft = MakeAnchor(AnchorStart, AnchorStart);       // 0x00
inline constexpr uint8_t kBottomRight = MakeAnchor(AnchorEnd, AnchorEnd);       // 0x11
inline constexpr uint8_t kTopRight = MakeAnchor(AnchorEnd, AnchorStart);        // 0x01
inline constexpr uint8_t kBottomLeft = MakeAnchor(AnchorStart, AnchorEnd);      // 0x10
inline constexpr uint8_t kSize = MakeAnchor(AnchorExtent, AnchorExtent);        // 0x33
inline constexpr uint8_t kLeftMiddle = MakeAnchor(AnchorStart, AnchorMiddle);   // 0x20
inline constexpr uint8_t kRightMiddle = MakeAnchor(AnchorEnd, AnchorMiddle);    // 0x21
inline constexpr uint8_t kCentre = MakeAnchor(AnchorMiddle, AnchorMiddle);      // 0x22
inline constexpr uint8_t kWidthToBottom = MakeAnchor(AnchorExtent, AnchorEnd);  // 0x13
inline constexpr uint8_t kRightHeight = MakeAnchor(AnchorEnd, AnchorExtent);    // 0x31

inline C_Rect Box(float x1, float y1, float x2, float y2, uint8_t anchor1, uint8_t anchor2) {
  return C_Rect(x1, y1, x2, y2, anchor1, anchor2);
}
// The whole parent, inset by the same amount on every side.
inline C_Rect Fill(float inset = 0) {
  return Box(inset, inset, -inset, -inset, kTopLeft, kBottomRight);
}
// A size x size square centred in the parent.
inline C_Rect Centred(float size) {
  return Box(-size / 2, -size / 2, size, size, kCentre, kSize);
}

// The faces of "fonts.pak" the texts use.
inline constexpr const char* kUiFace = "DejaVu Sans";
inline constexpr float kUiSize = 12;

// A tile of the controls sheet stretched as nine pieces: corners kept, edges and
// middle stretched, inside `area` inset by `inset`. `border` is the tile's edge.
void AddNineSlice(C_Collection* list, Tile tile, float border = 2, float inset = 0);
// A part of the sheet (x, y, w, h) copied into area, stretched or tiled.
void AddSheetPiece(C_Collection* list, const C_Rect& area, float x, float y, float w, float h,
                   bool tile = false);
// A whole tile copied unscaled into area (which should be 16 x 16).
void AddTile(C_Collection* list, Tile tile, const C_Rect& area);
// A framed rectangle in system colours; fill alpha 0 with `fillSource` 33 leaves
// the inside clear.
void AddFrame(C_Collection* list, const C_Rect& area, uint32_t fillSource, uint32_t borderSource);
// A text in the UI face: the widget's text unless `text` is given.
C_Layer_Text* AddText(C_Collection* list, const C_Rect& area, uint32_t colourSource, uint8_t align,
                      const char* text = nullptr, bool bold = false);
void AddZone(C_Collection* list, const C_Rect& area, uint8_t action, uint8_t cursor);

// The decal in slot, created when missing, and its two lists.
C_Collection* Layers(C_Widget* widget, uint32_t slot);
C_Collection* CheckedLayers(C_Widget* widget, uint32_t slot);

// A widget (or a derived one, given) with kind, part and rect, visible.
C_Widget* Make(uint16_t kind, uint16_t part, const C_Rect& rect, C_Widget* widget = nullptr);

}  // namespace kit
