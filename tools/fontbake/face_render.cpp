#include "tools/fontbake/face_render.h"

#include <cstdio>
#include <cstring>

FaceRenderer::FaceRenderer() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

FaceRenderer::~FaceRenderer() {
  if (face_ != nullptr) FT_Done_Face(face_);
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

bool FaceRenderer::Open(const std::string& path) {
  if (library_ == nullptr) return false;
  if (face_ != nullptr) FT_Done_Face(face_);
  face_ = nullptr;
  if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
    face_ = nullptr;
    std::fprintf(stderr, "fontbake: cannot open the face %s\n", path.c_str());
    return false;
  }
  return true;
}

std::string FaceRenderer::FamilyName() const {
  return face_ != nullptr && face_->family_name != nullptr ? face_->family_name : "";
}

bool FaceRenderer::Has(uint32_t codePoint) const {
  return face_ != nullptr && FT_Get_Char_Index(face_, codePoint) != 0;
}

bool FaceRenderer::Render(uint32_t codePoint, int32_t pixelSize, Hinting hinting,
                          RenderedGlyph& out) {
  out = RenderedGlyph{};
  if (face_ == nullptr || FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelSize)) != 0)
    return false;
  const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
  const FT_Int32 target = hinting == Hinting::Full ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_LIGHT;
  if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_RENDER | target) != 0) return false;
  const FT_GlyphSlot slot = face_->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.width > 0) return false;
  out.Width = static_cast<int32_t>(bitmap.width);
  out.Height = static_cast<int32_t>(bitmap.rows);
  out.Left = slot->bitmap_left;
  out.Top = slot->bitmap_top;
  // 26.6 hinted advance, or the 16.16 design advance scaled to this size.
  out.Advance = hinting == Hinting::Full
                    ? static_cast<int32_t>((slot->advance.x + 32) >> 6)
                    : static_cast<int32_t>((slot->linearHoriAdvance + 0x8000) >> 16);
  out.Coverage.resize(static_cast<size_t>(out.Width) * static_cast<size_t>(out.Height));
  for (int32_t y = 0; y < out.Height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    std::memcpy(out.Coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(out.Width), row,
                static_cast<size_t>(out.Width));
  }
  return true;
}
