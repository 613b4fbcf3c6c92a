// RenderText: lays out a string with a bitmap font inside a rectangle, draws it
// (glyphs, highlighted range, caret) or only measures it, and answers where a
// point falls in the text and where the caret lies.
#pragma once

#include <cstdint>

#include "core/vector2d.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/rect.h"

class C_Font;
class C_FontType;
class C_String;
class C_Surface;
class C_TextFormat;

// A query point at (kNoQuery, kNoQuery) asks no hit question: the caret's place
// is reported instead.
inline constexpr float kNoQuery = -10000.0f;

// What a text layer keeps between draws: it sets the query point, the caret index
// and the highlighted range, and the routine fills the rest.
struct TextLayout {
  C_Vector2D Query{kNoQuery, kNoQuery};  // point to hit-test, absolute pixels
  C_Rect Extent;                         // laid-out text: first line's left .. widest line's right
  float LineHeight = 0;                  // 1.5 x size + 1
  float CaretTop = 0;                    // caret's row (line top + leading)
  float CaretBottom = 0;                 // row + line height
  float CaretX = 0;                      // left edge of the caret character
  int32_t CaretIndex = -1;               // character the caret stands before; -1 none
  float ExtentWidth = 0;
  float ExtentHeight = 0;
  float VisibleWidth = 0;       // available width between the resolved edges
  float VisibleHeight = 0;      // height of the layout rectangle
  int32_t HighlightStart = -1;  // highlighted characters: start <= i < end; -1 none
  int32_t HighlightEnd = -1;
  int32_t HitIndex = -1;  // answer to the query: index under the point, or -1
  int32_t LineCount = 0;
};

// Every argument of the text routine, in its order.
struct TextRequest {
  C_Color Color;      // text colour; its alpha is the opacity
  C_Rect LayoutRect;  // resolved against the viewport
  const C_String* Text = nullptr;
  C_Font* Font = nullptr;
  const C_FontType* Type = nullptr;
  const C_TextFormat* Format = nullptr;  // null: the default format
  C_Surface* Target = nullptr;           // may be null when measuring
  C_Vector2D Position;                   // resolved against the layout rectangle
  uint8_t Flags[3] = {};                 // [1]: wrap glyph x into the available width, [2]: y
                                         // into the rectangle's height; [0] asks for the layout
  C_Color HighlightColor;                // fills the highlighted range
  uint8_t MeasureOnly = 0;               // 1: fill the layout and extent, draw nothing
  TextLayout* Layout = nullptr;
  const C_Rect* Viewport = nullptr;  // null: the target's size
  const C_Rect* Clip = nullptr;      // null: the target's size; else within the viewport
  C_Rect* Extent = nullptr;          // filled with the laid-out extent (may be null)
};

// False, drawing nothing, without a font, its index, a text buffer, a type, or a
// variant that qualifies (see SelectVariant). True when the text was laid out; an
// empty text is one empty line, with its line height, caret and an extent without
// width.
bool RenderText(const TextRequest& request);

// Draws every glyph through the clipping stamp, the way a glyph that crosses the
// bounds is drawn, instead of stamping the ones inside straight; the pictures are
// the same (the tests compare the two). Off unless set.
void ForceGenericGlyphPath(bool generic);
