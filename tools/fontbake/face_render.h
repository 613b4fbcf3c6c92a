// FreeType rendering of single characters into 8-bit coverage bitmaps with the
// face's own metrics.
#pragma once

#include <ft2build.h>

#include <cstdint>
#include <string>
#include <vector>
#include FT_FREETYPE_H

// How a kind is rendered. Kind 0 (the default font type, widget text that may be
// scaled) uses light hinting, which keeps the face's own shapes, and the face's
// unhinted advance rounded to whole pixels. Kind 10 (types made from a name and a
// size: the status line and other small UI text drawn at their own size) uses full
// hinting, which snaps stems to the pixel grid, and the hinted advance.
enum class Hinting { Light, Full };

struct RenderedGlyph {
  int32_t Width = 0;  // of the bitmap; 0 for a character without ink (a space)
  int32_t Height = 0;
  int32_t Left = 0;               // pen to the bitmap's left edge
  int32_t Top = 0;                // bitmap's top edge above the baseline
  int32_t Advance = 0;            // whole pixels
  std::vector<uint8_t> Coverage;  // Width x Height, rows top to bottom
};

class FaceRenderer {
 public:
  FaceRenderer();
  ~FaceRenderer();
  FaceRenderer(const FaceRenderer&) = delete;
  FaceRenderer& operator=(const FaceRenderer&) = delete;

  bool Open(const std::string& path);  // false with a message on stderr
  std::string FamilyName() const;
  // Whether the face has a glyph for the Unicode code point.
  bool Has(uint32_t codePoint) const;
  bool Render(uint32_t codePoint, int32_t pixelSize, Hinting hinting, RenderedGlyph& out);

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};
