#include "core/class_names.h"

#include <cstring>
#include <new>

#include "core/array.h"
#include "core/class_id.h"
#include "core/class_registry.h"

namespace {

struct ClassName {
  uint16_t Id;
  const char* Name;
};

constexpr ClassName kClassNames[] = {
    {class_id::Color, "C_Color"},
    {class_id::FontType, "C_FontType"},
    {class_id::BitmapGlyph, "C_BitmapGlyph"},
    {class_id::Glyph, "C_Glyph"},
    {class_id::Font, "C_Font"},
    {class_id::Image, "C_Image"},
    {class_id::Circle, "C_Circle"},
    {class_id::Rect, "C_Rect"},
    {class_id::String, "C_String"},
    {class_id::Surface, "C_Surface"},
    {class_id::Complex, "C_Complex"},
    {class_id::Vector2D, "C_Vector2D"},
    {class_id::Vector3D, "C_Vector3D"},
    {class_id::Vector4D, "C_Vector4D"},
    {class_id::Object, "C_Array"},
    {class_id::Collection, "C_Collection"},
    {class_id::Resource, "C_Resource"},
    {class_id::Thread, "C_Thread"},
    {class_id::Pointer, "C_Pointer"},
    {class_id::Size, "C_Size"},
    {class_id::LayerRect, "C_Layer_Rect"},
    {class_id::LayerLine, "C_Layer_Line"},
    {class_id::LayerText, "C_Layer_Text"},
    {class_id::LayerImage, "C_Layer_Image"},
    {class_id::LayerBrush, "C_Layer_Brush"},
    {class_id::LayerZone, "C_Layer_Zone"},
    {class_id::Decal, "C_Decal"},
    {class_id::Widget, "C_Widget"},
    {class_id::Form, "C_Form"},
    {class_id::ScrollBar, "C_ScrollBar"},
    {class_id::TextBox, "C_TextBox"},
    {class_id::Desktop, "C_Desktop"},
};

}  // namespace

const char* ClassNameOf(uint16_t classId) {
  for (const ClassName& entry : kClassNames) {
    if (entry.Id == classId) return entry.Name;
  }
  return nullptr;
}

uint16_t ClassIdNamed(const char* name) {
  if (!name) return 0;
  for (const ClassName& entry : kClassNames) {
    if (std::strcmp(entry.Name, name) == 0) return entry.Id;
  }
  return 0;
}

C_Object* NewObjectForRecord(uint16_t classId) {
  if (classId == class_id::Object) return new (std::nothrow) C_Array();
  return CreateObject(classId);
}
