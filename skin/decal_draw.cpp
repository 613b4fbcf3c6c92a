// Drawing a decal's layers through the drawing interface, and the zone hit rule.
#include "skin/decal_draw.h"

#include <algorithm>

#include "core/class_id.h"
#include "core/collection.h"
#include "core/string.h"
#include "font/font.h"
#include "font/render_text.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "graphics/raster/draw_options.h"
#include "image/surface.h"
#include "skin/decal.h"

namespace {

// The two fixed colours of a text layer: the highlight of edited text is grey,
// that of a caption black.
const C_Color kEditHighlight = C_Color::FromBytes(128, 128, 128);
const C_Color kCaptionHighlight = C_Color::FromBytes(0, 0, 0);

C_Color LayerColor(const C_Color& color, uint32_t source, const DecalWidget& widget) {
  C_Color c = ResolveColorSource(color, source, widget.Parent);
  c.Alpha *= widget.Opacity;
  return c;
}

void Enlarge(C_Rect& extent, const C_Rect& by) {
  extent.X1 = std::min(extent.X1, by.X1);
  extent.Y1 = std::min(extent.Y1, by.Y1);
  extent.X2 = std::max(extent.X2, by.X2);
  extent.Y2 = std::max(extent.Y2, by.Y2);
}

// The fill is drawn inside the one-pixel frame, then the frame over it; the
// layer's Mode travels in the interface's spare argument.
void DrawRectLayer(C_GraphicApi* api, const C_Layer_Rect& layer, const C_Rect& area,
                   const DecalWidget& widget) {
  const C_Rect box = ResolveLayerArea(layer.Area, area);
  const C_Color border = LayerColor(layer.BorderColor, layer.BorderSource, widget);
  const C_Color fill = LayerColor(layer.FillColor, layer.FillSource, widget);
  const C_Rect inner(box.X1 + 1, box.Y1 + 1, box.X2 - 1, box.Y2 - 1, kAnchorResolved,
                     kAnchorResolved);
  api->DrawRect(&inner, &fill, 1, fill.Alpha, layer.Mode);
  api->DrawRect(&box, &border, 0, border.Alpha, layer.Mode);
}

C_Font* FindFont(const DecalResources& resources, const C_FontType& type) {
  if (!resources.Fonts) return nullptr;
  const int32_t index = resources.Fonts->FindByName(type.Name.c_str());
  if (index < 0) return nullptr;
  return dynamic_cast<C_Font*>(resources.Fonts->GetAt(static_cast<uint32_t>(index)));
}

void DrawTextLayer(C_GraphicApi* api, const DecalResources& resources, C_Layer_Text& layer,
                   const C_Rect& area, const DecalWidget& widget) {
  const C_Rect box = ResolveLayerArea(layer.Area, area);
  C_Font* font = FindFont(resources, layer.Font);
  if (!font) return;
  C_TextFormat format = layer.Format;
  format.MultiLine = layer.MultiLine;
  format.Password = layer.Password;
  const bool caret = widget.EditFocus && layer.Editable == 1 && api->IsActive();
  const bool widgetText = layer.UseWidgetText == 1 && widget.Text != nullptr;

  TextRequest request;
  request.Color = LayerColor(layer.TextColor, layer.TextSource, widget);
  request.LayoutRect = box;
  request.Text = widgetText ? widget.Text : &layer.Text;
  request.Font = font;
  request.Type = &layer.Font;
  request.Format = &format;
  request.Position = layer.Scroll;
  request.Flags[0] = layer.LayoutFlag;
  request.Flags[1] = layer.WrapX;
  request.Flags[2] = layer.WrapY;
  const C_Color& highlight = layer.UseWidgetText == 1 ? kEditHighlight : kCaptionHighlight;
  request.HighlightColor = C_Color(highlight.Red, highlight.Green, highlight.Blue, highlight.Alpha);
  // Without the focus the caret is not drawn, but its place is kept for editing.
  const int32_t keptCaret = layer.Layout.CaretIndex;
  if (!caret) layer.Layout.CaretIndex = -1;
  request.Layout = &layer.Layout;
  request.Extent = &layer.Extent;
  api->DrawTextBox(&request);
  layer.Layout.CaretIndex = keptCaret;
  if (layer.GrowContent == 1 && widget.ContentExtent) Enlarge(*widget.ContentExtent, layer.Extent);
}

void DrawImageLayer(C_GraphicApi* api, const DecalResources& resources, const C_Layer_Image& layer,
                    const C_Rect& area, const DecalWidget& widget) {
  C_Vector2D at = layer.Position;
  ResolvePoint(at, area);
  C_Surface* picture = ResolveImageRef(resources, layer.Image, widget.ImageRef);
  if (!picture) return;
  DrawOptions options;
  options.Angle = layer.Angle;
  options.Pivot = layer.Pivot;
  options.Opacity = layer.Opacity * widget.Opacity;
  options.MirrorY = layer.MirrorVertical;
  options.MirrorX = layer.MirrorHorizontal;
  if (layer.TintMode != 0) {
    options.Tint = ResolveColorSource(layer.TintColor, layer.TintSource, widget.Parent);
    options.UseTint = 1;
  }
  const C_Rect& frame = layer.Frame.Anchor1 == kFrameFromWidget ? widget.ImageRect : layer.Frame;
  C_Rect* dirty = layer.GrowContent != 0 ? widget.ContentExtent : nullptr;
  api->DrawSurface(picture, &frame, &at, 0, &options, dirty);
}

void DrawBrushLayer(C_GraphicApi* api, const DecalResources& resources, const C_Layer_Brush& layer,
                    const C_Rect& area, const DecalWidget& widget) {
  const C_Rect box = ResolveLayerArea(layer.Area, area);
  C_Surface* sheet =
      resources.Sheets ? dynamic_cast<C_Surface*>(resources.Sheets->GetAt(layer.Sheet)) : nullptr;
  if (!sheet) return;
  DrawOptions options;
  options.Angle = layer.Angle;
  options.Opacity = layer.Opacity * widget.Opacity;
  options.MirrorY = layer.MirrorVertical;
  options.MirrorX = layer.MirrorHorizontal;
  options.WrapX = layer.TileAcross;
  options.WrapY = layer.TileDown;
  if (layer.TintMode != 0) {
    options.Tint = ResolveColorSource(layer.TintColor, layer.TintSource, widget.Parent);
    options.UseTint = 1;
  }
  api->BlitSurface(sheet, &layer.SourceRect, &box, nullptr, 0, &options, nullptr);
}

}  // namespace

C_Rect ResolveLayerArea(const C_Rect& area, const C_Rect& decalArea) {
  C_Rect box = area;
  ResolveRect(box, decalArea, nullptr, nullptr);
  return box;
}

C_Surface* ResolveImageRef(const DecalResources& resources, uint32_t ref, uint32_t widgetRef) {
  uint32_t selector = ref >> kImageSelectorShift;
  if (selector == ImageFromWidget) {
    ref = widgetRef;
    selector = ref >> kImageSelectorShift;
  }
  C_Collection* collection = nullptr;
  switch (selector) {
    case ImageFromSheets:
      collection = resources.Sheets;
      break;
    case ImageFromCollection2:
      collection = resources.Images2;
      break;
    case ImageFromCollection3:
      collection = resources.Images3;
      break;
    default:  // a widget reference selecting the widget again, or an unknown selector
      return nullptr;
  }
  if (!collection) return nullptr;
  return dynamic_cast<C_Surface*>(collection->GetAt(ref & kImageIndexMask));
}

bool DrawDecal(C_GraphicApi* api, const DecalResources& resources, C_Decal* decal,
               const DecalWidget& widget) {
  if (!api || !decal) return false;
  if (!decal->Layers) return true;
  C_Collection* list = widget.Checked ? decal->CheckedLayers : decal->Layers;
  if (!list) return true;
  const C_Rect area = decal->AreaFor(widget.Rect);
  // Each class id belongs to one layer class, so the id tells the class: one
  // virtual call per layer instead of a chain of run-time casts.
  for (uint32_t i = 0; i < list->Count; ++i) {
    C_Object* layer = list->Items[i];
    switch (layer ? layer->GetClassId() : 0) {
      case class_id::LayerRect:
        DrawRectLayer(api, *static_cast<C_Layer_Rect*>(layer), area, widget);
        break;
      case class_id::LayerText:
        DrawTextLayer(api, resources, *static_cast<C_Layer_Text*>(layer), area, widget);
        break;
      case class_id::LayerImage:
        DrawImageLayer(api, resources, *static_cast<C_Layer_Image*>(layer), area, widget);
        break;
      case class_id::LayerBrush:
        DrawBrushLayer(api, resources, *static_cast<C_Layer_Brush*>(layer), area, widget);
        break;
      default:
        break;
    }
  }
  return true;
}

const C_Layer_Zone* HitZone(const C_Decal* decal, const C_Rect& widgetRect, const C_Rect& clip,
                            const C_Vector2D& point) {
  if (!decal || !decal->Layers) return nullptr;
  const C_Rect area = decal->AreaFor(widgetRect);
  const float clipX1 = std::min(clip.X1, clip.X2) + 1, clipX2 = std::max(clip.X1, clip.X2) - 1;
  const float clipY1 = std::min(clip.Y1, clip.Y2) + 1, clipY2 = std::max(clip.Y1, clip.Y2) - 1;
  const C_Layer_Zone* hit = nullptr;
  const C_Collection* list = decal->Layers;
  for (uint32_t i = 0; i < list->Count; ++i) {
    const C_Object* item = list->Items[i];
    if (!item || item->GetClassId() != class_id::LayerZone) continue;
    const auto* zone = static_cast<const C_Layer_Zone*>(item);
    const C_Rect box = ResolveLayerArea(zone->Area, area);
    const float x1 = std::max(std::min(box.X1, box.X2), clipX1);
    const float x2 = std::min(std::max(box.X1, box.X2), clipX2);
    const float y1 = std::max(std::min(box.Y1, box.Y2), clipY1);
    const float y2 = std::min(std::max(box.Y1, box.Y2), clipY2);
    if (point.X >= x1 && point.X <= x2 && point.Y >= y1 && point.Y <= y2) hit = zone;
  }
  return hit;
}
