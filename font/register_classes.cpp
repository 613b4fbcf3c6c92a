// Registration of the font classes during static initialisation. The text format
// shares the font type's id and is never created from the registry.
#include "core/class_registry.h"
#include "font/bitmap_glyph.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/glyph.h"

namespace {

bool RegisterFonts() {
  EnsureClassRegistry();
  RegisterClass(class_id::FontType, MakeObject<C_FontType>);
  RegisterClass(class_id::BitmapGlyph, MakeObject<C_BitmapGlyph>);
  RegisterClass(class_id::Glyph, MakeObject<C_Glyph>);
  RegisterClass(class_id::Font, MakeObject<C_Font>);
  return true;
}

const bool fontsRegistered = RegisterFonts();

}  // namespace
