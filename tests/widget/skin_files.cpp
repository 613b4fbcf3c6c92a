#include "tests/widget/skin_files.h"

#include "core/byte_stream.h"
#include "core/class_registry.h"
#include "graphics/geometry/resolve.h"
#include "skin/decal.h"

namespace skin_files {

namespace {

std::string BuildDir() {
#ifdef DF_SKIN_DIR
  return DF_SKIN_DIR;
#else
  return "";
#endif
}

C_Collection* LoadPack(const char* name) {
  auto* pack = new C_Collection();
  if (!LoadObjectFile(pack, PackPath(name).c_str())) {
    DeleteOwnedObject(pack);
    return nullptr;
  }
  return pack;
}

void DrawWidget(C_GraphicApi* api, const DecalResources& resources, C_Widget* widget,
                const C_Rect& client, const InheritedColor& parent, uint32_t slot,
                uint8_t checked) {
  if (!widget || !widget->Visible) return;
  C_Rect rect = widget->Rect;
  ResolveRect(rect, client, nullptr, nullptr);
  C_Decal* decal = widget->Decals[slot] ? widget->Decals[slot] : widget->Decals[0];
  DecalWidget w;
  w.Rect = rect;
  w.Checked = checked;
  w.Opacity = widget->Opacity;
  w.Parent = parent;
  w.Text = &widget->Text;
  if (decal) DrawDecal(api, resources, decal, w);
  C_Rect inner = widget->ClientRect;
  ResolveRect(inner, rect, nullptr, nullptr);
  const InheritedColor own{true, widget->Color, widget->ColorSource};
  if (widget->Page != kAllPages) {
    DrawWidget(api, resources, widget->ChildAt(static_cast<uint32_t>(widget->Page + 1)), inner, own,
               slot, checked);
    DrawWidget(api, resources, widget->ChildAt(0), inner, own, slot, checked);
    return;
  }
  for (uint32_t k = 0; k < widget->ChildCount(); ++k)
    DrawWidget(api, resources, DrawOrderAt(*widget, k), inner, own, slot, checked);
}

}  // namespace

std::string PathOf(const char* name) {
  return BuildDir() + "/widgets/" + name + ".wgt";
}

std::string PackPath(const char* pack) {
  return BuildDir() + "/" + pack;
}

C_Collection* Sheets() {
  static C_Collection* sheets = LoadPack("guigfx.pak");
  return sheets;
}

C_Collection* Fonts() {
  static C_Collection* fonts = LoadPack("fonts.pak");
  return fonts;
}

C_Widget* LoadTemplate(const char* name) {
  ByteStream* stream = OpenFileReader(PathOf(name).c_str());
  if (!stream) return nullptr;
  C_Object* object = nullptr;
  const bool loaded = LoadHeldObject(stream, 0, object) && !stream->Broken;
  FreeStream(stream);
  auto* widget = dynamic_cast<C_Widget*>(object);
  if (!loaded || !widget) {
    DeleteOwnedObject(object);
    return nullptr;
  }
  return widget;
}

void DrawTree(C_GraphicApi* api, const DecalResources& resources, C_Widget* widget,
              const C_Rect& rect, uint32_t slot, uint8_t checked) {
  // The top widget's own Rect is replaced by rect for the drawing.
  const C_Rect kept = widget->Rect;
  widget->Rect = rect;
  DrawWidget(api, resources, widget, C_Rect(), InheritedColor(), slot, checked);
  widget->Rect = kept;
}

}  // namespace skin_files
