#include "tools/fontbake/preview.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/collection.h"
#include "core/string.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/glyph.h"
#include "font/render_text.h"
#include "font/text_format.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

namespace {

constexpr int32_t kSheetWidth = 1600;
constexpr int32_t kMargin = 12;
constexpr float kLabelSize = 11;
const char* const kPangram = "The quick brown fox jumps over the lazy dog. 0123456789 (!?&@$%)";
const char* const kStyleNames[4] = {"regular", "bold", "italic", "bold italic"};

struct Sample {
  uint8_t kind, style;
  uint16_t size;
};

// The kinds, styles and sizes the font's first glyph offers, in order.
std::vector<Sample> Ladder(const C_Font& font) {
  std::set<std::tuple<uint8_t, uint8_t, uint16_t>> seen;
  const C_Glyph* glyph = font.Glyphs != nullptr && font.Glyphs->Count > 0
                             ? static_cast<const C_Glyph*>(font.Glyphs->GetAt(0))
                             : nullptr;
  for (uint32_t i = 0; glyph != nullptr && i < glyph->VariantCount(); ++i) {
    const C_BitmapGlyph* v = glyph->VariantAt(i);
    if (v != nullptr) seen.insert({v->Kind, v->Style, v->PixelSize});
  }
  std::vector<Sample> ladder;
  for (const auto& [kind, style, size] : seen) ladder.push_back({kind, style, size});
  return ladder;
}

// Draws (or, with target null, measures) one text; returns the bottom of its extent.
float Text(C_Surface* target, C_Font* font, const C_FontType& type, const std::string& text,
           float x, float y, const C_Color& color) {
  C_String string(text.c_str());
  C_TextFormat format;
  format.Align = AlignLeftWrap;
  C_Rect extent;
  TextRequest r;
  r.Color = color;
  r.LayoutRect = C_Rect(x, y, static_cast<float>(kSheetWidth - kMargin), 1e9f, 0, 0);
  r.Text = &string;
  r.Font = font;
  r.Type = &type;
  r.Format = &format;
  r.Target = target;
  r.MeasureOnly = target == nullptr ? 1 : 0;
  r.Extent = &extent;
  if (!RenderText(r)) return y;
  return extent.Y2;
}

// The pack's first font; null when it holds none.
C_Font* FirstFont(const C_Collection& fonts) {
  for (uint32_t i = 0; i < fonts.Count; ++i) {
    if (C_Font* font = ItemAs<C_Font>(fonts, i)) return font;
  }
  return nullptr;
}

// Lays out the whole sheet; with target null only measures it. Returns its height.
// The pack's items that are not fonts are left out.
float Sheet(C_Collection& fonts, C_Surface* target) {
  C_Font* labelFont = FirstFont(fonts);
  const C_FontType label("label", kLabelSize);
  std::string latin1;
  for (int c = 160; c <= 255; ++c) latin1 += static_cast<char>(c);
  const C_Color ink(0.1f, 0.1f, 0.15f, 1);
  const C_Color grey(0.45f, 0.2f, 0.2f, 1);
  float y = kMargin;
  for (uint32_t f = 0; f < fonts.Count; ++f) {
    C_Font* font = ItemAs<C_Font>(fonts, f);
    if (font == nullptr) continue;
    for (const Sample& s : Ladder(*font)) {
      C_FontType type(font->Name != nullptr ? font->Name : "", s.size);
      type.Kind = s.kind;
      type.StyleFlag1 = (s.style - kStyleRegular) & 1;
      type.StyleFlag2 = ((s.style - kStyleRegular) >> 1) & 1;
      char caption[160];
      std::snprintf(caption, sizeof caption, "%s, %s, %d px, kind %d",
                    font->Name != nullptr ? font->Name : "?",
                    s.style >= 4 && s.style <= 7 ? kStyleNames[s.style - 4] : "?", s.size, s.kind);
      y = Text(target, labelFont, label, caption, kMargin, y, grey) + 2;
      y = Text(target, font, type, kPangram, kMargin, y, ink);
      y = Text(target, font, type, latin1, kMargin, y, ink) + 8;
    }
  }
  return y + kMargin;
}

bool WritePng(const C_Image& image, const char* path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.Width);
  png.height = static_cast<png_uint_32>(image.Height);
  png.format = PNG_FORMAT_BGRA;  // A8R8G8B8 in memory on a little-endian machine
  return png_image_write_to_file(&png, path, 0, image.Pixels, image.Pitch, nullptr) != 0;
}

}  // namespace

bool WritePreview(C_Collection& fonts, const char* path) {
  if (FirstFont(fonts) == nullptr) {
    std::fprintf(stderr, "fontbake: the pack holds no font\n");
    return false;
  }
  const auto height = static_cast<int32_t>(Sheet(fonts, nullptr));
  C_Surface sheet;
  auto* image = new C_Image();
  if (!image->Create(kSheetWidth, pixel_format::A8R8G8B8, height)) {
    delete image;
    std::fprintf(stderr, "fontbake: no memory for a %dx%d sheet\n", kSheetWidth, height);
    return false;
  }
  std::memset(image->Pixels, 0xFF, static_cast<size_t>(image->PixelBytes));
  sheet.SetChannel(image, kColorChannel);
  Sheet(fonts, &sheet);
  if (!WritePng(*image, path)) {
    std::fprintf(stderr, "fontbake: cannot write %s\n", path);
    return false;
  }
  return true;
}
