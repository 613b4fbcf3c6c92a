#include "tools/skinbuild/skin_kit.h"

#include "core/collection.h"
#include "core/string.h"
#include "platform/system_color.h"
#include "skin/color_source.h"

namespace kit {

void AddSheetPiece(C_Collection* list, const C_Rect& area, float x, float y, float w, float h,
                   bool tile) {
  auto* brush = new C_Layer_Brush();
  brush->Area = area;
  brush->SourceRect = Box(x, y, x + w, y + h, kTopLeft, kTopLeft);
  brush->Sheet = kControlsSheet;
  brush->SheetName.Assign(C_String(kControlsSheetName));
  brush->TileAcross = tile ? 1 : 0;
  brush->TileDown = tile ? 1 : 0;
  list->Append(brush);
}

void AddTile(C_Collection* list, Tile tile, const C_Rect& area) {
  AddSheetPiece(list, area, TileX(tile), TileY(tile), kTileSize, kTileSize);
}

void AddNineSlice(C_Collection* list, Tile tile, float b, float i) {
  const float x = TileX(tile), y = TileY(tile), m = kTileSize - 2 * b, s = kTileSize;
  // Rows top, middle, bottom; columns left, middle, right.
  struct Piece {
    C_Rect area;
    float sx, sy, sw, sh;
  } pieces[] = {
      {Box(i, i, i + b, i + b, kTopLeft, kTopLeft), 0, 0, b, b},
      {Box(i + b, i, -i - b, i + b, kTopLeft, kTopRight), b, 0, m, b},
      {Box(-i - b, i, -i, i + b, kTopRight, kTopRight), s - b, 0, b, b},
      {Box(i, i + b, i + b, -i - b, kTopLeft, kBottomLeft), 0, b, b, m},
      {Box(i + b, i + b, -i - b, -i - b, kTopLeft, kBottomRight), b, b, m, m},
      {Box(-i - b, i + b, -i, -i - b, kTopRight, kBottomRight), s - b, b, b, m},
      {Box(i, -i - b, i + b, -i, kBottomLeft, kBottomLeft), 0, s - b, b, b},
      {Box(i + b, -i - b, -i - b, -i, kBottomLeft, kBottomRight), b, s - b, m, b},
      {Box(-i - b, -i - b, -i, -i, kBottomRight, kBottomRight), s - b, s - b, b, b},
  };
  for (const Piece& p : pieces) AddSheetPiece(list, p.area, x + p.sx, y + p.sy, p.sw, p.sh);
}

void AddFrame(C_Collection* list, const C_Rect& area, uint32_t fillSource, uint32_t borderSource) {
  auto* rect = new C_Layer_Rect();
  rect->Area = area;
  rect->FillSource = fillSource;
  rect->BorderSource = borderSource;
  list->Append(rect);
}

C_Layer_Text* AddText(C_Collection* list, const C_Rect& area, uint32_t colourSource, uint8_t align,
                      const char* text, bool bold) {
  auto* layer = new C_Layer_Text();
  layer->Area = area;
  layer->Font = C_FontType(kUiFace, kUiSize);
  layer->Font.StyleFlag1 = bold ? 1 : 0;
  layer->Format.Align = align;
  layer->Format.Ellipsis = 1;
  layer->TextSource = colourSource;
  if (text) {
    layer->Text.Assign(C_String(text));
  } else {
    layer->UseWidgetText = 1;
  }
  list->Append(layer);
  return layer;
}

void AddZone(C_Collection* list, const C_Rect& area, uint8_t action, uint8_t cursor) {
  auto* zone = new C_Layer_Zone();
  zone->Area = area;
  zone->Action = action;
  zone->Cursor = cursor;
  list->Append(zone);
}

namespace {
C_Decal* DecalAt(C_Widget* widget, uint32_t slot) {
  if (!widget->Decals[slot]) widget->Decals[slot] = new C_Decal();
  return widget->Decals[slot];
}
}  // namespace

C_Collection* Layers(C_Widget* widget, uint32_t slot) {
  C_Decal* decal = DecalAt(widget, slot);
  if (!decal->Layers) decal->Layers = new C_Collection();
  return decal->Layers;
}

C_Collection* CheckedLayers(C_Widget* widget, uint32_t slot) {
  C_Decal* decal = DecalAt(widget, slot);
  if (!decal->CheckedLayers) decal->CheckedLayers = new C_Collection();
  return decal->CheckedLayers;
}

C_Widget* Make(uint16_t kind, uint16_t part, const C_Rect& rect, C_Widget* widget) {
  if (!widget) widget = new C_Widget();
  widget->Kind = kind;
  widget->PartId = part;
  widget->Rect = rect;
  widget->BaseX2 = rect.X2;
  widget->BaseY2 = rect.Y2;
  widget->ClientRect = Fill();
  widget->Visible = 1;
  widget->Color = C_Color();
  widget->ColorSource = SysColorButtonFace;
  return widget;
}

}  // namespace kit
