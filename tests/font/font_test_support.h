// A small synthetic font for the text tests, whose pictures are plain boxes so that
// the expected pictures can be painted from the layout rules alone.
//
// Every glyph of variant 0 (pixel size 10, kind 0, regular) is a full-coverage box
// on page 0 whose top sits Offset.y above the baseline:
//   letters a-z   4 x 7 box, advance 6, offset (0, 7)
//   '.'           2 x 2 box, advance 3, offset (0, 2)
//   '*'           3 x 3 box, advance 5, offset (0, 5)
//   ' '           no coverage,  advance 4
// Variant 1 is the bold style (code 5) at pixel size 10: the same boxes one pixel
// wider, advance 7 for letters. Variant 2 is kind 10, regular, pixel size 20, with
// the variant-0 measurements doubled.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/array.h"
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

namespace font_test {

struct BoxGlyph {
  uint8_t code;
  int32_t width, height, advance, top;  // top: offset y
};

inline std::vector<BoxGlyph> BoxGlyphs() {
  std::vector<BoxGlyph> boxes;
  for (int c = 'a'; c <= 'z'; ++c) boxes.push_back({static_cast<uint8_t>(c), 4, 7, 6, 7});
  boxes.push_back({'.', 2, 2, 3, 2});
  boxes.push_back({'*', 3, 3, 5, 3});
  boxes.push_back({' ', 1, 1, 4, 1});
  return boxes;
}

inline C_BitmapGlyph* MakeVariant(uint16_t pixelSize, uint8_t kind, uint8_t style, uint32_t page,
                                  float x, float y, float w, float h, float advance, float top) {
  auto* v = new C_BitmapGlyph();
  v->PixelSize = pixelSize;
  v->Kind = kind;
  v->Style = style;
  v->Page = page;
  v->Source = C_Rect(x, y, x + w, y + h, 0, 0);
  v->Advance = C_Vector2D(advance, 0);
  v->Offset = C_Vector2D(0, top);
  return v;
}

// A page of width x height: a white A8R8G8B8 colour image and a Grey8 coverage image.
inline C_Surface* MakePage(int32_t width, int32_t height) {
  auto* page = new C_Surface();
  auto* color = new C_Image();
  color->Create(width, pixel_format::A8R8G8B8, height);
  for (int32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(color->RowAddress(y));
    for (int32_t x = 0; x < width; ++x) row[x] = 0xFFFFFFFFu;
  }
  auto* coverage = new C_Image();
  coverage->Create(width, pixel_format::Grey8, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) coverage->RowAddress(y)[x] = 0;
  }
  page->SetChannel(color, kColorChannel);
  page->SetChannel(coverage, kAlphaChannel);
  return page;
}

inline void FillCoverage(C_Surface* page, int32_t x, int32_t y, int32_t w, int32_t h) {
  C_Image* coverage = page->FindImage(kAlphaChannel);
  for (int32_t j = y; j < y + h; ++j) {
    for (int32_t i = x; i < x + w; ++i) coverage->RowAddress(j)[i] = 255;
  }
}

// The font described above, named "Boxes". Glyphs are appended in the order of
// BoxGlyphs(); each glyph's variant list is [regular 10, bold 10, kind-10 20].
inline std::unique_ptr<C_Font> MakeBoxFont() {
  auto font = std::make_unique<C_Font>();
  font->SetName("Boxes");
  font->Glyphs = new C_Collection();
  font->Pages = new C_Collection();
  C_Surface* page = MakePage(512, 64);
  font->Pages->Append(page);
  float x = 0;
  for (const BoxGlyph& b : BoxGlyphs()) {
    auto* glyph = new C_Glyph();
    glyph->Code = b.code;
    glyph->Variants = new C_Collection();
    const bool ink = b.code != ' ';
    // Regular at 10, at row 0.
    glyph->Variants->Append(
        MakeVariant(10, kKindDefault, kStyleRegular, 0, x, 0, b.width, b.height, b.advance, b.top));
    if (ink) FillCoverage(page, static_cast<int32_t>(x), 0, b.width, b.height);
    // Bold at 10, at row 10: one pixel wider, one further advance.
    glyph->Variants->Append(MakeVariant(10, kKindDefault, kStyleBold, 0, x, 10, b.width + 1,
                                        b.height, b.advance + 1, b.top));
    if (ink) FillCoverage(page, static_cast<int32_t>(x), 10, b.width + 1, b.height);
    // Kind 10 at 20, at row 20: everything doubled.
    glyph->Variants->Append(MakeVariant(20, kKindNamed, kStyleRegular, 0, x, 20, 2 * b.width,
                                        2 * b.height, 2 * b.advance, 2 * b.top));
    if (ink) FillCoverage(page, static_cast<int32_t>(x), 20, 2 * b.width, 2 * b.height);
    x += 2 * b.width + 2;
    const uint32_t position = font->Glyphs->Count;
    font->Glyphs->Append(glyph);
    if (font->CodeIndex == nullptr) font->CodeIndex = new C_Array();
    if (font->CodeIndex->Length < 256 * 4)
      font->CodeIndex->Resize(256 * 4, ResizeExact | ResizeZeroFill);
    reinterpret_cast<uint32_t*>(font->CodeIndex->Data)[b.code] = position + 1;
  }
  return font;
}

// A target: an A8R8G8B8 surface filled with one colour.
struct Picture {
  C_Surface surface;
  explicit Picture(int32_t width, int32_t height, uint32_t fill = 0xFFFFFFFFu) {
    auto* image = new C_Image();
    image->Create(width, pixel_format::A8R8G8B8, height);
    surface.SetChannel(image, kColorChannel);
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) Set(x, y, fill);
    }
  }
  C_Image& Image() const { return *surface.FindImage(kColorChannel); }
  uint32_t At(int32_t x, int32_t y) const {
    return reinterpret_cast<const uint32_t*>(Image().RowAddress(y))[x];
  }
  void Set(int32_t x, int32_t y, uint32_t v) {
    reinterpret_cast<uint32_t*>(Image().RowAddress(y))[x] = v;
  }
  // Fills the box x..x+w-1, y..y+h-1, cut to the picture.
  void Box(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t v) {
    for (int32_t j = std::max(y, 0); j < std::min(y + h, Image().Height); ++j) {
      for (int32_t i = std::max(x, 0); i < std::min(x + w, Image().Width); ++i) Set(i, j, v);
    }
  }
};

// The regular type the tests ask for: size 10, kind 0, no style flags.
inline C_FontType RegularType(float size = 10) {
  C_FontType type;
  type.Size = size;
  return type;
}

// What a picture test varies about a text.
struct Scene {
  std::string text;
  C_Rect rect;
  uint8_t align = AlignLeft;
  uint8_t ellipsis = 0;
  uint8_t password = 0;
  float size = 10;
  int32_t caret = -1;
  int32_t highlightFrom = -1, highlightTo = -1;
};

// A scene's text, regular type, format and layout record, and the request that
// draws it in the font onto target (colour and highlight colour left for the test).
struct SceneRequest {
  C_String text;
  C_FontType type;
  C_TextFormat format;
  TextLayout layout;
  TextRequest request;
  SceneRequest(const Scene& s, C_Font& font, C_Surface* target)
      : text(s.text.c_str()), type(RegularType(s.size)) {
    format.Align = s.align;
    format.Ellipsis = s.ellipsis;
    format.Password = s.password;
    layout.CaretIndex = s.caret;
    layout.HighlightStart = s.highlightFrom;
    layout.HighlightEnd = s.highlightTo;
    request.LayoutRect = s.rect;
    request.Text = &text;
    request.Font = &font;
    request.Type = &type;
    request.Format = &format;
    request.Target = target;
    request.Layout = &layout;
  }
  SceneRequest(const SceneRequest&) = delete;
  SceneRequest& operator=(const SceneRequest&) = delete;
};

}  // namespace font_test
