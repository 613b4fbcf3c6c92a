#include "tools/fontbake/bake.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "core/array.h"
#include "core/collection.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/glyph.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"
#include "tools/fontbake/face_render.h"
#include "tools/fontbake/page_packer.h"

namespace {

// One variant's picture before packing.
struct Picture {
  size_t Glyph = 0;
  uint16_t Size = 0;
  uint8_t Kind = 0;
  uint8_t Style = 0;
  RenderedGlyph Rendered;
};

Hinting HintingOf(uint8_t kind) {
  return kind == kKindNamed ? Hinting::Full : Hinting::Light;
}

C_Surface* MakePage(const PageSize& size) {
  auto* coverage = new C_Image();
  auto* color = new C_Image();
  if (!coverage->Create(size.Width, pixel_format::Grey8, size.Height) ||
      !color->Create(size.Width, pixel_format::Grey8, size.Height)) {
    delete coverage;
    delete color;
    return nullptr;
  }
  for (int32_t y = 0; y < size.Height; ++y) {
    std::memset(coverage->RowAddress(y), 0, static_cast<size_t>(size.Width));
    std::memset(color->RowAddress(y), 0xFF, static_cast<size_t>(size.Width));
  }
  auto* page = new C_Surface();
  page->SetChannel(coverage, kAlphaChannel);
  page->SetChannel(color, kColorChannel);
  return page;
}

}  // namespace

C_Font* BakeFont(const FaceFiles& files, const BakeSettings& settings) {
  FaceRenderer faces[4];
  for (uint8_t style : settings.Styles) {
    if (!faces[style - kStyleRegular].Open(files.Styles[style - kStyleRegular])) return nullptr;
  }
  FaceRenderer& regular = faces[0];
  std::vector<uint8_t> codes;
  for (uint8_t code : settings.Codes) {
    if (regular.Has(code)) codes.push_back(code);
  }

  // Every glyph gets the same variant list, so one index means the same size,
  // style and kind in every glyph.
  std::vector<Picture> pictures;
  for (size_t g = 0; g < codes.size(); ++g) {
    for (uint8_t kind : settings.Kinds) {
      for (uint8_t style : settings.Styles) {
        for (int32_t size : settings.Sizes) {
          Picture p;
          p.Glyph = g;
          p.Size = static_cast<uint16_t>(size);
          p.Kind = kind;
          p.Style = style;
          faces[style - kStyleRegular].Render(codes[g], size, HintingOf(kind), p.Rendered);
          pictures.push_back(std::move(p));
        }
      }
    }
  }
  std::vector<PackedBox> boxes(pictures.size());
  for (size_t i = 0; i < pictures.size(); ++i) {
    boxes[i].Width = pictures[i].Rendered.Width;
    boxes[i].Height = pictures[i].Rendered.Height;
  }
  const std::vector<PageSize> sizes = PackBoxes(boxes, settings.PageWidth, settings.PageHeight);

  auto font = std::make_unique<C_Font>();
  font->SetName(regular.FamilyName().c_str());
  font->Glyphs = new C_Collection();
  font->Pages = new C_Collection();
  for (const PageSize& size : sizes) {
    C_Surface* page = MakePage(size);
    if (page == nullptr || !font->Pages->Append(page)) {
      delete page;
      std::fprintf(stderr, "fontbake: out of memory for a %dx%d page\n", size.Width, size.Height);
      return nullptr;
    }
  }
  font->CodeIndex = new C_Array();
  font->CodeIndex->Resize(kCodeCount * sizeof(uint32_t), ResizeExact | ResizeZeroFill);
  for (size_t g = 0; g < codes.size(); ++g) {
    auto* glyph = new C_Glyph();
    glyph->Code = codes[g];
    glyph->Variants = new C_Collection();
    font->Glyphs->Append(glyph);
    const uint32_t entry = static_cast<uint32_t>(g + 1);
    std::memcpy(font->CodeIndex->Data + codes[g] * sizeof(uint32_t), &entry, sizeof entry);
  }
  for (size_t i = 0; i < pictures.size(); ++i) {
    const Picture& p = pictures[i];
    const PackedBox& box = boxes[i];
    const RenderedGlyph& r = p.Rendered;
    auto* v = new C_BitmapGlyph();
    v->PixelSize = p.Size;
    v->Kind = p.Kind;
    v->Style = p.Style;
    v->Advance = C_Vector2D(static_cast<float>(r.Advance), 0);
    v->Offset = C_Vector2D(static_cast<float>(r.Left), static_cast<float>(r.Top));
    if (r.Width > 0 && r.Height > 0) {
      v->Page = box.Page;
      v->Source = C_Rect(box.X, box.Y, box.X + r.Width, box.Y + r.Height);
      C_Surface* page = font->PageAt(box.Page);
      C_Image* coverage = page->FindImage(kAlphaChannel);
      for (int32_t y = 0; y < r.Height; ++y) {
        std::memcpy(coverage->RowAddress(box.Y + y) + box.X,
                    r.Coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(r.Width),
                    static_cast<size_t>(r.Width));
      }
    } else {
      v->Page = 0;  // no ink: an empty rectangle draws nothing
      v->Source = C_Rect(0, 0, 0, 0);
    }
    auto* glyph = static_cast<C_Glyph*>(font->Glyphs->GetAt(static_cast<uint32_t>(p.Glyph)));
    glyph->Variants->Append(v);
  }
  return font.release();
}
