// The option list and the frame's composition.
#include "app/demo_gui.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/demo_state.h"
#include "core/collection.h"
#include "core/string.h"
#include "font/font.h"
#include "font/font_type.h"
#include "graphics/api/graphic_api.h"
#include "graphics/raster/draw_options.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/surface.h"
#include "widget/desktop.h"
#include "widget/widget.h"

C_Desktop* DemoDesktop = nullptr;
C_Collection* FontPack = nullptr;
C_Collection* GuiGraphicsPack = nullptr;
C_Surface* LightSurface = nullptr;
C_FontType* StatusFontType = nullptr;
C_String* StatusText = nullptr;

namespace {

// One row of the option list: the widget's rectangle (second corner as width and
// height, anchors 0x33), its first-corner anchor and the pivot anchor.
struct OptionPlace {
  float X1, Y1, X2, Y2;
  uint8_t Anchor1, Anchor2, PivotAnchor;
};

// Each option is 100 x 36 with its bottom-left corner at the resolved point; the
// first of a row 37 pixels from the page's left edge, each next one 37 pixels after
// the previous (anchor 0x18); the rows' bottoms 59 and 9 pixels above the page's
// bottom edge.
constexpr OptionPlace kOptionPlaces[kOptionCount] = {
    {37, -59, 100, 36, 0x10, 0x33, 0x10}, {37, -59, 100, 36, 0x18, 0x33, 0x10},
    {37, -59, 100, 36, 0x18, 0x33, 0x10}, {37, -9, 100, 36, 0x10, 0x33, 0x10},
    {37, -9, 100, 36, 0x18, 0x33, 0x10},  {37, -9, 100, 36, 0x18, 0x33, 0x10},
};
constexpr OptionPlace kSeparatorPlace = {-70, -63, -30, 18, 0x10, 0x30, 0x00};
constexpr int32_t kOptionsPerGroup = 3;

// The overlay's constants.
const C_Color kBackground(0.5019608f, 0.6862745f, 0.8235294f, 1.0f);  // (128, 175, 210)
const C_Color kStatusColor(0.5019608f, 0.0f, 0.0f, 1.0f);
const C_Color kStatusSecondColor(0.0f, 0.0f, 0.0f, 1.0f);
constexpr uint8_t kTopMiddle = 0x02;  // x from the horizontal middle, y from the top
constexpr float kViewTop = 30;        // the view's top edge below the drawing area's top
constexpr float kLightOffsetY = 256;  // the sprite's hot spot below the light's y
constexpr float kGenerationLineX = 30;
constexpr float kFrameLineX = 170;
constexpr float kStatusLineY = 7;
constexpr int32_t kStatusBufferSize = 64;

C_Rect RectOf(const OptionPlace& place) {
  return C_Rect(place.X1, place.Y1, place.X2, place.Y2, place.Anchor1, place.Anchor2,
                C_Vector2D(0, 0, place.PivotAnchor));
}

bool AppendClone(C_Widget* root, C_Widget* source, const OptionPlace& place, const char* name,
                 const char* label, int32_t checked) {
  auto* widget = static_cast<C_Widget*>(source->Clone());
  if (!widget) return false;
  widget->Setup(RectOf(place), name, label);
  if (checked >= 0) widget->Checked = static_cast<uint8_t>(checked);
  if (!root->AddChild(widget)) {
    delete widget;
    return false;
  }
  return true;
}

C_Surface* ViewSurface() {
  switch (ViewMode) {
    case ViewHeightMap:
      return HeightSurface;
    case ViewNormalMap:
      return NormalSurface;
    case ViewBumpMapping:
      return ShadedSurface;
    default:
      return nullptr;
  }
}

// Draws one status line through StatusText, whose own buffer is set aside while it
// points at the line, so that no frame allocates.
void DrawStatusLine(C_GraphicApi* api, const char* prefix, float rate, float x) {
  if (!StatusText) return;
  char line[kStatusBufferSize];
  FormatStatusLine(line, kStatusBufferSize, prefix, rate);
  char* own = StatusText->Text;
  const int32_t ownLength = StatusText->Length;
  StatusText->Text = line;
  StatusText->Length = static_cast<int32_t>(std::strlen(line));
  C_Font* font = FontPack ? ItemAs<C_Font>(*FontPack, 0) : nullptr;
  const C_Vector2D position(x, kStatusLineY, 0x00);
  api->DrawText(StatusText, font, StatusFontType, &kStatusColor, &kStatusSecondColor, &position, 1,
                0, 0);
  StatusText->Text = own;
  StatusText->Length = ownLength;
}

// A dirty rectangle that any drawn pixel enlarges.
C_Rect NothingDrawn() {
  constexpr float kFar = 1e9f;
  return C_Rect(kFar, kFar, -kFar, -kFar, 0, 0);
}

// Clears the back buffer but for the drawn box (in pixels; empty: everything): the
// rows above and below it, then left and right of it.
void ClearAround(C_GraphicApi* api, const C_Rect& drawn) {
  if (api->GetState() != ApiDrawing) return;  // as Clear: only while drawing
  C_Surface* target = api->GetTarget();
  C_Image* image = target ? target->FindImage(kColorChannel) : nullptr;
  if (!image) return;
  const int32_t w = image->Width;
  const int32_t h = image->Height;
  if (!(drawn.X1 < drawn.X2 && drawn.Y1 < drawn.Y2)) {
    FillImageArea(image, PixelRect{0, 0, w, h}, kBackground);
    return;
  }
  // The box holds whole pixels inside the image, as the draw reported them.
  const PixelRect box{std::clamp(int32_t(drawn.X1), 0, w), std::clamp(int32_t(drawn.Y1), 0, h),
                      std::clamp(int32_t(drawn.X2), 0, w), std::clamp(int32_t(drawn.Y2), 0, h)};
  FillImageArea(image, PixelRect{0, 0, w, box.Y1}, kBackground);
  FillImageArea(image, PixelRect{0, box.Y1, box.X1, box.Y2}, kBackground);
  FillImageArea(image, PixelRect{box.X2, box.Y1, w, box.Y2}, kBackground);
  FillImageArea(image, PixelRect{0, box.Y2, w, h}, kBackground);
}

}  // namespace

bool BuildOptionList(C_Desktop* desktop, C_Widget* optionTemplate, C_Widget* separatorTemplate,
                     int32_t initialShape, int32_t initialView) {
  if (!desktop || !desktop->Root || !optionTemplate || !separatorTemplate) return false;
  C_Widget* root = desktop->Root;
  for (int32_t i = 0; i < kOptionCount; ++i) {
    if (i == kOptionsPerGroup &&
        !AppendClone(root, separatorTemplate, kSeparatorPlace, "Separator1", "", -1)) {
      return false;
    }
    const int32_t initial = i < kOptionsPerGroup ? initialShape : initialView + kOptionsPerGroup;
    if (!AppendClone(root, optionTemplate, kOptionPlaces[i], kOptionNames[i], kOptionLabels[i],
                     i == initial ? 1 : 0)) {
      return false;
    }
  }
  return true;
}

void ReadOptions(const C_Desktop* desktop, int32_t& shapeMode, int32_t& viewMode) {
  if (!desktop || !desktop->Root) return;
  for (int32_t i = 0; i < kOptionCount; ++i) {
    const C_Widget* option = desktop->Root->FindWidget(kOptionNames[i], 0, kOptionKind, true);
    if (!option || option->Checked != 1) continue;
    if (i < kOptionsPerGroup) {
      shapeMode = i;
    } else {
      viewMode = i - kOptionsPerGroup;
    }
  }
}

void FormatStatusLine(char* buffer, int32_t size, const char* prefix, float rate) {
  // RateForDisplay truncates toward zero and keeps an unmeasured or infinite rate a
  // finite whole number.
  std::snprintf(buffer, static_cast<size_t>(size), "%s%d fps", prefix, RateForDisplay(rate));
}

void DrawOverlay(C_GraphicApi* api) {
  if (!api) return;
  DrawOptions options;
  options.Pivot.Anchor = kTopMiddle;  // the image's hot spot: the middle of its top edge
  api->BeginDraw();
  const C_Vector2D viewPosition(0, kViewTop, kTopMiddle);
  C_Surface* view = ViewSurface();
  if (view && DrawOverwrites(view, api->GetTarget(), options)) {
    // The view covers most of the back buffer and replaces what it covers: it is
    // drawn first and only the rest is cleared, which gives the same pixels as
    // clearing everything first and saves writing the view's area twice.
    C_Rect drawn = NothingDrawn();
    api->DrawSurface(view, nullptr, &viewPosition, 0, &options, &drawn);
    ClearAround(api, drawn);
  } else {
    api->Clear(&kBackground);
    if (view) api->DrawSurface(view, nullptr, &viewPosition, 0, &options, nullptr);
  }
  if (ViewMode == ViewBumpMapping && LightSurface) {
    const C_Vector2D lightPosition(LightDirection.X, LightDirection.Y + kLightOffsetY, kTopMiddle);
    api->DrawSurface(LightSurface, nullptr, &lightPosition, 0, &options, nullptr);
  }
  DrawStatusLine(api, "Generation: ", GenerationRate, kGenerationLineX);
  DrawStatusLine(api, "All: ", FrameRate, kFrameLineX);
  api->EndDraw();
}

void PaintWidgets() {
  if (!DemoDesktop) return;
  if (DemoDesktop->Status == DesktopResources) {
    DemoDesktop->Layout();
    if (DemoDesktop->Root) DemoDesktop->UpdateWidget(DemoDesktop->Root);
  }
  DemoDesktop->Paint();
}

bool PaintOverlay(C_GraphicApi* api) {
  if (!api) return false;
  DrawOverlay(api);
  PaintWidgets();
  return api->Present();
}
