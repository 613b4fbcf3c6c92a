// The text operations: a root hands the text routine its target, user viewport
// and clip; a child narrows the root to its own rectangles first.
#include "font/render_text.h"
#include "font/text_format.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/color.h"

namespace {

// Resolved against the viewport, this rectangle is the whole viewport.
const C_Rect kFillViewport(0.0f, 0.0f, 0.0f, 0.0f, MakeAnchor(AnchorStart, AnchorStart),
                           MakeAnchor(AnchorEnd, AnchorEnd));

}  // namespace

bool C_GraphicApi::DrawTextBox(const TextRequest* request) {
  if (request == nullptr) return false;
  return Forward([&](C_GraphicApi* root) {
    if (root != this) return root->DrawTextBox(request);
    TextRequest call = *request;
    call.Target = Target;
    call.Viewport = UserViewport;
    call.Clip = UserClip;
    return RenderText(call);
  });
}

bool C_GraphicApi::DrawTextFormatted(const C_String* text, C_Font* font, const C_FontType* type,
                                     const C_Color* color, const C_Color* secondColor,
                                     const C_Vector2D* position, uint8_t flag1, uint8_t flag2,
                                     uint8_t flag3, const C_Rect* layoutRect, C_Rect* extent) {
  if (color == nullptr || layoutRect == nullptr) return false;
  const C_TextFormat format;
  TextRequest request;
  request.Color = C_Color(color->Red, color->Green, color->Blue, color->Alpha);
  request.LayoutRect = *layoutRect;
  request.Text = text;
  request.Font = font;
  request.Type = type;
  request.Format = &format;
  if (position != nullptr) request.Position = *position;
  request.Flags[0] = flag1;
  request.Flags[1] = flag2;
  request.Flags[2] = flag3;
  request.HighlightColor = secondColor != nullptr ? C_Color(secondColor->Red, secondColor->Green,
                                                            secondColor->Blue, secondColor->Alpha)
                                                  : C_Color(0, 0, 0, 1);
  request.Extent = extent;
  return DrawTextBox(&request);
}

bool C_GraphicApi::DrawText(const C_String* text, C_Font* font, const C_FontType* type,
                            const C_Color* color, const C_Color* secondColor,
                            const C_Vector2D* position, uint8_t flag1, uint8_t flag2,
                            uint8_t flag3) {
  return DrawTextFormatted(text, font, type, color, secondColor, position, flag1, flag2, flag3,
                           &kFillViewport, nullptr);
}
