// Choosing the one variant index a whole text is drawn with.
#include <cmath>

#include "core/string.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/glyph.h"

uint8_t SampleCode(const C_String& text, bool password) {
  if (password) return '*';
  if (text.Text == nullptr || text.Length <= 0) return 'k';
  for (int32_t i = 0; i < text.Length; ++i) {
    // Compared as signed bytes, so 128..255 never qualify.
    const int32_t c = static_cast<signed char>(text.Text[i]);
    if (c >= 33) return static_cast<uint8_t>(c);  // 127 is the largest signed byte
  }
  return static_cast<uint8_t>(text.Text[text.Length - 1]);
}

bool SelectVariant(const C_Font& font, const C_FontType& type, const C_String& text, bool password,
                   VariantChoice& choice) {
  choice = VariantChoice{};
  if (font.CodeIndex == nullptr || text.Text == nullptr) return false;
  const C_Glyph* sample = font.FindGlyph(SampleCode(text, password));
  if (sample == nullptr) return false;
  const uint8_t style = type.StyleCode();
  float best = 65536.0f;
  bool found = false;
  for (uint32_t i = 0; i < sample->VariantCount(); ++i) {
    const C_BitmapGlyph* v = sample->VariantAt(i);
    if (v == nullptr || v->Style != style || v->Kind != type.Kind || v->PixelSize == 0) continue;
    const float difference = std::fabs(static_cast<float>(v->PixelSize) - type.Size);
    if (difference < best) {
      best = difference;
      choice.Index = i;
      choice.Sample = v;
      found = true;
      if (difference == 0) break;  // nothing later can be strictly better
    }
  }
  if (!found) return false;
  choice.Scale = type.Size / static_cast<float>(choice.Sample->PixelSize);
  return true;
}
