// Drawing one decal, and hit-testing its zones. What the drawing needs from the
// desktop (fonts, sheets, image collections) and from the widget it draws for
// (rectangle, checked flag, opacity, parent colour, text, image, edit focus) comes
// in two plain records, so that decals can be drawn without a desktop.
#pragma once

#include <cstdint>

#include "core/vector2d.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"
#include "skin/color_source.h"
#include "skin/layers.h"

class C_Collection;
class C_Decal;
class C_GraphicApi;
class C_String;
class C_Surface;

// The desktop's collections that layers draw from; any of them may be none.
struct DecalResources {
  C_Collection* Fonts = nullptr;    // C_Font items, found by name
  C_Collection* Sheets = nullptr;   // the graphics sheets (C_Surface items)
  C_Collection* Images2 = nullptr;  // image collection selected by 0x2
  C_Collection* Images3 = nullptr;  // image collection selected by 0x3
};

// The widget a decal is drawn for.
struct DecalWidget {
  C_Rect Rect;  // resolved rectangle, in the drawing interface's coordinates
  uint8_t Checked = 0;
  float Opacity = 1;
  InheritedColor Parent;     // for colour source 34
  C_String* Text = nullptr;  // the widget's text, for UseWidgetText layers
  uint32_t ImageRef = MakeImageRef(ImageNone, 0);
  C_Rect ImageRect;                 // for image layers whose Frame is marked 255
  C_Rect* ContentExtent = nullptr;  // enlarged by GrowContent layers; may be none
  bool EditFocus = false;           // the widget holds the text-edit focus
};

// Draws the decal's layers in list order: CheckedLayers when the widget is
// checked (a missing one counts as empty), else Layers; nothing at all when Layers
// is none. Line and zone layers draw nothing. A layer whose font, picture or sheet
// is missing is skipped. False only for a missing interface or decal.
bool DrawDecal(C_GraphicApi* api, const DecalResources& resources, C_Decal* decal,
               const DecalWidget& widget);

// The picture an image reference stands for, or none (see ImageSelector).
C_Surface* ResolveImageRef(const DecalResources& resources, uint32_t ref, uint32_t widgetRef);

// The zone of the decal's Layers list that point hits, or none: each zone's area
// resolved in the decal's area, its corners ordered, clipped to clip shrunk by one
// pixel on every side, edges included; of several, the last in the list.
const C_Layer_Zone* HitZone(const C_Decal* decal, const C_Rect& widgetRect, const C_Rect& clip,
                            const C_Vector2D& point);

// The rectangle of a zone or layer area resolved in the decal's area.
C_Rect ResolveLayerArea(const C_Rect& area, const C_Rect& decalArea);
