// The text routine: set-up, then line by line: alignment, hit query, highlight,
// glyphs, ellipsis and caret; finally the extent and the layout record.
#include "font/render_text.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "core/string.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/internal/glyph_painter.h"
#include "font/internal/text_lines.h"
#include "font/text_format.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "graphics/raster/shapes.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

namespace {

std::atomic<bool> genericGlyphs{false};

constexpr float kLineHeightFactor = 1.5f;
constexpr float kHighlightAbove = 7.0f;  // the highlight starts size / 7 above the row
constexpr float kHighlightBelow = 1.2f;  // and ends size / 1.2 below it
constexpr float kCaretAbove = 0.125f;    // the caret starts size x 0.125 above the row
constexpr float kCaretBelow = 1.1f;      // and ends size / 1.1 below it

// A filled rectangle in absolute pixels.
void FillBox(C_Surface* target, float x1, float y1, float x2, float y2, const C_Color& color,
             const C_Rect& bounds) {
  const C_Rect box(x1, y1, x2, y2, kAnchorResolved, kAnchorResolved);
  DrawRectangle(target, box, color, nullptr, &bounds, 1, color.Alpha);
}

// Everything the line loop shares.
struct Run {
  const TextRequest& request;
  const C_FontType& type;
  const C_TextFormat& format;
  TextMetrics& metrics;
  GlyphPainter* painter;  // null when nothing is drawn
  C_Rect bounds;          // drawable pixels, for the shapes
  const char* text = nullptr;
  int32_t length = 0;
  float lineLeft = 0;  // where lines start before alignment
  float available = 0;
  float lineHeight = 0;
  bool hitPending = false;
};

// How far the pen moves over a drawn code on a line whose spaces are widened by
// extra. A tab's advance is the one breaking measured, from the pen's offset
// without the widening, so that the line keeps the width it was broken to.
float Step(TextMetrics& metrics, uint8_t code, const GlyphCell& cell, float extra,
           float& measured) {
  const float advance = metrics.AdvanceOf(cell, code, measured);
  measured += advance;
  return code == kSpace ? advance + extra : advance;
}

// How the glyphs of a text are drawn, chosen once for the text: Ink(cell, code,
// pen, line top, index) draws a drawn cell's picture.
// Flush() draws what an ink keeps waiting, before anything else is drawn.
struct NoInk {
  static constexpr bool kDraws = false;
  void operator()(const GlyphCell&, uint8_t, float, float, int32_t) const {}
  void Flush() const {}
};
struct PlainInk {
  static constexpr bool kDraws = true;
  GlyphPainter* painter;
  void operator()(const GlyphCell& cell, uint8_t, float pen, float top, int32_t) const {
    painter->DrawPlain(cell, pen, top);
  }
  void Flush() const { painter->Flush(); }
};
struct GenericInk {
  static constexpr bool kDraws = true;
  GlyphPainter* painter;
  void operator()(const GlyphCell& cell, uint8_t, float pen, float top, int32_t) const {
    painter->DrawGeneric(cell, pen, top);
  }
  void Flush() const {}
};
struct FoldedInk {
  static constexpr bool kDraws = true;
  GlyphPainter* painter;
  void operator()(const GlyphCell& cell, uint8_t code, float pen, float top, int32_t k) const {
    painter->DrawFolded(cell, code, pen, top, k);
  }
  void Flush() const {}
};

// Draws (or only walks) one line; returns the pen after its last drawn picture.
template <class Ink>
float LayLine(Run& run, const TextLine& line, float x, float top, const Ink& ink) {
  const TextRequest& r = run.request;
  TextLayout* layout = r.Layout;
  const float size = run.type.Size;
  const float row = top + run.format.Leading;
  float extra = 0;  // widening of each space on a justified line
  if (run.format.Align == AlignJustify && line.BrokenAtSpace && line.Spaces > 0 &&
      run.available > line.Width) {
    extra = (run.available - line.Width) / static_cast<float>(line.Spaces);
  }
  const bool inBand =
      run.hitPending && layout->Query.Y >= row && layout->Query.Y < row + run.lineHeight;

  // The highlight goes behind the characters, so it is measured first.
  if (Ink::kDraws && layout != nullptr && layout->HighlightStart >= 0 &&
      layout->HighlightEnd > layout->HighlightStart) {
    const int32_t from = std::max(layout->HighlightStart, line.Start);
    const int32_t to = std::min(layout->HighlightEnd, line.End);
    if (from < to) {
      float pen = x, left = x, measured = 0;
      for (int32_t k = line.Start; k < to; ++k) {
        if (k == from) left = pen;
        const uint8_t code = run.metrics.DrawnCode(static_cast<uint8_t>(run.text[k]));
        pen += Step(run.metrics, code, run.metrics.Cell(code), extra, measured);
      }
      ink.Flush();
      FillBox(r.Target, left, row - size / kHighlightAbove, pen, row + size / kHighlightBelow,
              r.HighlightColor, run.bounds);
    }
  }

  float pen = x;
  float measured = 0;  // the pen's offset as breaking measured it, without widening
  bool caretHere = false;
  float caretX = 0;
  const int32_t caretIndex = layout != nullptr ? layout->CaretIndex : -1;
  bool hitPending = inBand;
  // Locals, so that what the ink writes is not read back for every character.
  TextMetrics metrics = run.metrics;
  const char* const text = run.text;
  const float queryX = inBand ? layout->Query.X : 0;
  for (int32_t k = line.Start, end = line.End; k < end; ++k) {
    const uint8_t code = metrics.DrawnCode(static_cast<uint8_t>(text[k]));
    const GlyphCell& cell = metrics.Cell(code);
    const float advance = Step(metrics, code, cell, extra, measured);
    if (k == caretIndex) {
      caretHere = true;
      caretX = pen;
    }
    if (hitPending && queryX < pen + advance * 0.5f) {
      layout->HitIndex = k;
      hitPending = run.hitPending = false;
    }
    if (Ink::kDraws && cell.Inked) ink(cell, code, pen, top, k);
    pen += advance;
  }
  if (line.Dots > 0) {
    const GlyphCell& stop = run.metrics.Cell(kFullStop);
    for (int32_t dot = 0; dot < line.Dots; ++dot) {
      if (Ink::kDraws && stop.Drawn) ink(stop, kFullStop, pen, top, line.End);
      pen += stop.Advance;
    }
  }
  if (hitPending) {  // past the end of the line
    layout->HitIndex = line.End;
    run.hitPending = false;
  }
  // A caret after the last drawn character: on the line it ends, or the text's end.
  if (layout != nullptr && !caretHere && layout->CaretIndex >= line.End &&
      (layout->CaretIndex < line.Next ||
       (line.Next >= run.length && !line.EndsInLineFeed && layout->CaretIndex == run.length))) {
    caretHere = true;
    caretX = pen;
  }
  if (caretHere) {
    layout->CaretX = caretX;
    layout->CaretTop = row;
    layout->CaretBottom = row + run.lineHeight;
    if (Ink::kDraws) {
      ink.Flush();
      FillBox(r.Target, caretX, row - size * kCaretAbove, caretX + 1, row + size / kCaretBelow,
              C_Color(0, 0, 0, 1), run.bounds);
    }
  }
  return pen;
}

// What the lines of a text span.
struct Spread {
  float firstLeft = 0;
  float right = 0;
  float bottom = 0;  // the top of the line after the last
  int32_t lines = 0;
};

// Breaks, aligns and lays every line from the text's top.
template <class Ink>
Spread LayLines(Run& run, const LineRules& rules, float top, const Ink& ink) {
  const uint8_t align = run.format.Align;
  Spread spread;
  TextLine line;
  for (int32_t start = 0;;) {
    BreakLine(run.metrics, run.text, run.length, start, top, rules, line);
    float x = run.lineLeft;
    if (align == AlignRight) x += rules.Available - line.Width;
    if (align == AlignCentre) x += (rules.Available - line.Width) * 0.5f;
    const float end = LayLine(run, line, x, top, ink);
    if (spread.lines == 0) {
      spread.firstLeft = x;
      spread.right = end;
    }
    spread.right = std::max(spread.right, end);
    ++spread.lines;
    top += run.lineHeight;
    if (line.Next >= run.length && !line.EndsInLineFeed) break;
    start = line.Next;
  }
  ink.Flush();
  spread.bottom = top;
  return spread;
}

}  // namespace

void ForceGenericGlyphPath(bool generic) {
  genericGlyphs.store(generic, std::memory_order_relaxed);
}

bool RenderText(const TextRequest& r) {
  // An empty text is one empty line: it still has its line height, caret and extent.
  if (r.Font == nullptr || r.Font->CodeIndex == nullptr || r.Text == nullptr ||
      r.Text->Text == nullptr || r.Text->Length < 0 || r.Type == nullptr) {
    return false;
  }
  const C_TextFormat defaults;
  const C_TextFormat& format = r.Format != nullptr ? *r.Format : defaults;
  const C_FontType& type = *r.Type;
  // The font's tables for this size, or a table for this text alone without memory.
  GlyphTables* tables = r.Font->TextTables();
  VariantChoice choice;
  if (tables != nullptr ? !tables->Choose(*r.Font, type, *r.Text, format.Password == 1, choice)
                        : !SelectVariant(*r.Font, type, *r.Text, format.Password == 1, choice)) {
    return false;
  }

  // The whole target, or nothing at all when there is none.
  C_Rect whole;
  const C_Image* targetImage = r.Target != nullptr ? r.Target->FindImage(kColorChannel) : nullptr;
  if (targetImage != nullptr) {
    whole = C_Rect(0.0f, 0.0f, static_cast<float>(targetImage->Width),
                   static_cast<float>(targetImage->Height), kAnchorResolved, kAnchorResolved);
  }
  C_Rect area = r.LayoutRect;
  ResolveRect(area, r.Viewport != nullptr ? *r.Viewport : whole, nullptr, nullptr);
  C_Vector2D position = r.Position;
  ResolvePoint(position, area);
  C_Vector2D leftEdge(format.LeftEdge, 0, format.LeftAnchor);
  C_Vector2D rightEdge(format.RightEdge, 0, format.RightAnchor);
  ResolvePoint(leftEdge, area);
  ResolvePoint(rightEdge, area);

  GlyphTable own;
  GlyphTable* table = &own;
  if (tables != nullptr) {
    table = &tables->TableFor(*r.Font, choice.Index, choice.Scale, type.Size);
  } else {
    own.Reset(*r.Font, choice.Index, choice.Scale, type.Size);
  }
  TextMetrics metrics(*table, format.Password == 1);
  const float size = type.Size;
  const float lineHeight = kLineHeightFactor * size + 1;
  LineRules rules;
  rules.Available = rightEdge.X - leftEdge.X;
  rules.Wrap = format.Align != AlignLeft;
  rules.Justify = format.Align == AlignJustify;
  rules.Ellipsis = format.Ellipsis == 1;
  rules.StopAdvance = rules.Ellipsis ? metrics.Cell(kFullStop).Advance : 0;
  rules.EllipsisWidth = 3 * rules.StopAdvance;
  rules.LineHeight = lineHeight;
  rules.Bottom = area.Y2;

  const bool drawing = r.MeasureOnly == 0 && targetImage != nullptr;
  PixelRect bounds;
  if (drawing) {
    bounds = ComputeBounds(targetImage->Width, targetImage->Height,
                           r.Viewport != nullptr ? r.Viewport : &whole, r.Clip);
  }
  const float wrapX[2] = {leftEdge.X + (position.X - area.X1), rules.Available};
  const float wrapY[2] = {area.Y1, area.Y2 - area.Y1};
  GlyphPainter painter(*r.Font, tables, r.Target, bounds, r.Color, choice.Scale, format,
                       r.Flags[1] != 0 ? wrapX : nullptr, r.Flags[2] != 0 ? wrapY : nullptr,
                       genericGlyphs.load(std::memory_order_relaxed));

  Run run{r,
          type,
          format,
          metrics,
          drawing && !bounds.Empty() ? &painter : nullptr,
          C_Rect(bounds.X1, bounds.Y1, bounds.X2, bounds.Y2)};
  run.text = r.Text->Text;
  run.length = r.Text->Length;
  run.lineLeft = leftEdge.X + (position.X - area.X1);
  run.available = rules.Available;
  run.lineHeight = lineHeight;
  if (r.Layout != nullptr) {
    r.Layout->HitIndex = -1;
    run.hitPending = !(r.Layout->Query.X == kNoQuery && r.Layout->Query.Y == kNoQuery);
  }

  Spread spread;
  if (run.painter == nullptr) {
    spread = LayLines(run, rules, position.Y, NoInk{});
  } else if (painter.Chosen() == GlyphPainter::Way::Plain) {
    spread = LayLines(run, rules, position.Y, PlainInk{&painter});
  } else if (painter.Chosen() == GlyphPainter::Way::Generic) {
    spread = LayLines(run, rules, position.Y, GenericInk{&painter});
  } else {
    spread = LayLines(run, rules, position.Y, FoldedInk{&painter});
  }
  const float firstLeft = spread.firstLeft, right = spread.right, top = spread.bottom;
  const int32_t lines = spread.lines;

  const C_Rect extent(firstLeft, position.Y, right, top, kAnchorResolved, kAnchorResolved);
  if (r.Extent != nullptr) *r.Extent = extent;
  if (r.Layout != nullptr) {
    TextLayout& layout = *r.Layout;
    layout.Extent = extent;
    layout.LineHeight = lineHeight;
    layout.ExtentWidth = right - firstLeft;
    layout.ExtentHeight = top - position.Y;
    layout.VisibleWidth = rules.Available;
    layout.VisibleHeight = area.Y2 - area.Y1;
    layout.LineCount = lines;
  }
  return true;
}
