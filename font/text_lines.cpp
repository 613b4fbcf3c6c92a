// Advances of the chosen variant and line breaking.
#include "font/internal/text_lines.h"

#include <cmath>
#include <cstring>

#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/glyph.h"

namespace {

// A tab moves the pen to 48 - (x mod 47) further, x being its offset in the line.
constexpr float kTabReach = 48.0f;
constexpr float kTabPeriod = 47.0f;

int32_t CountSpaces(const TextMetrics& metrics, const char* text, int32_t from, int32_t to) {
  int32_t spaces = 0;
  for (int32_t k = from; k < to; ++k)
    spaces += metrics.DrawnCode(static_cast<uint8_t>(text[k])) == kSpace ? 1 : 0;
  return spaces;
}

// The full stops of an ellipsis that fit the available width: all three unless
// the room is narrower than they are.
int32_t DotsThatFit(const LineRules& rules) {
  if (rules.EllipsisWidth <= rules.Available) return 3;
  int32_t dots = 0;
  while (dots < 3 && static_cast<float>(dots + 1) * rules.StopAdvance <= rules.Available) ++dots;
  return dots;
}

}  // namespace

TextMetrics::TextMetrics(const C_Font& font, uint32_t variantIndex, float scale, bool password)
    : font_(font), index_(variantIndex), scale_(scale), password_(password) {}

void TextMetrics::Fill(uint8_t code, GlyphCell& cell) const {
  cell.Advance = 0;
  const C_Glyph* glyph = font_.FindGlyph(code);
  cell.Variant = glyph != nullptr ? glyph->VariantAt(index_) : nullptr;
  if (cell.Variant == nullptr) return;
  const float advance = std::trunc(cell.Variant->Advance.X * scale_);
  cell.Advance = std::isfinite(advance) ? advance : 0.0f;
}

float TextMetrics::TabAdvance(float penOffset) {
  return kTabReach - std::fmod(std::trunc(penOffset), kTabPeriod);
}

void BreakLine(TextMetrics& metrics, const char* text, int32_t length, int32_t start, float top,
               const LineRules& rules, TextLine& line) {
  line = TextLine{};
  line.Start = start;
  if (!rules.Wrap && !rules.Ellipsis) {
    // A left-aligned line that is never cut runs to its line feed; nothing reads
    // its width.
    const auto* feed = static_cast<const char*>(
        std::memchr(text + start, kLineFeed, static_cast<size_t>(length - start)));
    line.End = feed != nullptr ? static_cast<int32_t>(feed - text) : length;
    line.EndsInLineFeed = feed != nullptr;
    line.Next = line.EndsInLineFeed ? line.End + 1 : line.End;
    return;
  }
  // Wrapping stops once no further line fits below, when an ellipsis is wanted.
  const bool wrap =
      rules.Wrap && (!rules.Ellipsis || top + 1.5f * rules.LineHeight <= rules.Bottom);
  float width = 0;
  int32_t lastSpace = -1;
  float widthAtSpace = 0;
  bool wrapped = false;
  int32_t i = start;
  for (; i < length; ++i) {
    const uint8_t code = metrics.DrawnCode(static_cast<uint8_t>(text[i]));
    if (code == kLineFeed) {
      line.EndsInLineFeed = true;
      break;
    }
    const float advance = metrics.Advance(code, width);
    // The line ends before its width reaches the available width.
    if (wrap && width + advance >= rules.Available) {
      if (code == kSpace) {  // the line ends at this very space
        line.End = i;
        line.Next = i + 1;
        line.Width = width;
        line.BrokenAtSpace = true;
        wrapped = true;
        break;
      }
      if (lastSpace >= 0) {
        line.End = lastSpace;
        line.Next = lastSpace + 1;
        line.Width = widthAtSpace;
        line.BrokenAtSpace = true;
        wrapped = true;
        break;
      }
      if (i > start) {  // inside a word longer than the line
        line.End = i;
        line.Next = i;
        line.Width = width;
        wrapped = true;
        break;
      }
      // A first character wider than the line still goes on it.
    }
    if (code == kSpace) {
      lastSpace = i;
      widthAtSpace = width;
    }
    width += advance;
  }
  if (wrapped) {
    if (rules.Justify && line.BrokenAtSpace)
      line.Spaces = CountSpaces(metrics, text, start, line.End);
    return;
  }
  line.End = i;
  line.Next = line.EndsInLineFeed ? i + 1 : i;
  line.Width = width;

  // An unwrapped line too wide for the room keeps the characters whose width plus
  // the ellipsis stays below the available width, and the dots follow them.
  if (!wrap && rules.Ellipsis && width > rules.Available) {
    float kept = 0;
    int32_t end = start;
    for (; end < line.End; ++end) {
      const uint8_t code = metrics.DrawnCode(static_cast<uint8_t>(text[end]));
      const float advance = metrics.Advance(code, kept);
      if (kept + advance + rules.EllipsisWidth >= rules.Available) break;
      kept += advance;
    }
    line.End = end;
    line.Dots = DotsThatFit(rules);
    line.Width = kept + static_cast<float>(line.Dots) * rules.StopAdvance;
  }
}
