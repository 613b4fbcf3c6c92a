// The per-text state of layout: the chosen variant's cells per code, and the
// breaking of the text into lines.
#pragma once

#include <cstdint>

#include "font/internal/glyph_table.h"

inline constexpr uint8_t kTab = 9;
inline constexpr uint8_t kLineFeed = 10;
inline constexpr uint8_t kSpace = 32;
inline constexpr uint8_t kFullStop = 46;
inline constexpr uint8_t kPasswordCode = '*';

class TextMetrics {
 public:
  TextMetrics(GlyphTable& table, bool password) : table_(table), password_(password) {}

  // The code a byte is drawn and measured as.
  uint8_t DrawnCode(uint8_t byte) const {
    return password_ && byte >= 32 && byte <= 127 ? kPasswordCode : byte;
  }
  const GlyphCell& Cell(uint8_t code) { return table_.Cell(code); }
  // Advance of a drawn code with the pen penOffset pixels into its line (tabs).
  float Advance(uint8_t code, float penOffset) { return AdvanceOf(Cell(code), code, penOffset); }
  // The same with the code's cell already at hand.
  static float AdvanceOf(const GlyphCell& cell, uint8_t code, float penOffset) {
    if (cell.Plain) return cell.Advance;
    return code == kTab ? TabAdvance(penOffset) : 0.0f;
  }

 private:
  static float TabAdvance(float penOffset);

  GlyphTable& table_;
  bool password_;
};

// How lines are broken.
struct LineRules {
  float Available = 0;   // width between the resolved edges
  bool Wrap = false;     // Align other than 0
  bool Justify = false;  // Align 4: lines broken at a space count their spaces
  bool Ellipsis = false;
  float StopAdvance = 0;    // of one full stop
  float EllipsisWidth = 0;  // three full stops
  float LineHeight = 0;
  float Bottom = 0;  // of the layout rectangle
};

struct TextLine {
  int32_t Start = 0;   // first character drawn
  int32_t End = 0;     // one past the last character drawn
  int32_t Next = 0;    // first character of the next line
  float Width = 0;     // of the drawn characters and the dots after them; not
                       // measured on left-aligned lines that are never cut
  int32_t Spaces = 0;  // spaces among the drawn characters, on justified lines broken at one
  int32_t Dots = 0;    // full stops drawn after a cut line: 3, fewer where 3 do not fit
  bool BrokenAtSpace = false;
  bool EndsInLineFeed = false;
};

// The line that starts at character start with its top at top.
void BreakLine(TextMetrics& metrics, const char* text, int32_t length, int32_t start, float top,
               const LineRules& rules, TextLine& line);
