// Fuzz target: arbitrary bytes read as a widget file, the way a template is read
// (the class from the record's id). A tree that loads is cloned; the clone's record
// must read back, and when the tree holds only skin and widget classes (other
// classes in a layer list or in Extras may not clone themselves) it must equal the
// original's record byte for byte. Then the decals of every widget of both
// trees are drawn, in every slot, checked and not, onto a small back buffer with a
// sheet and a font named like the skin's, and their zones are hit-tested.
//
// Seed corpus: the eleven widget files the build writes (build/widgets/*.wgt),
// copied in by scripts/fuzz-smoke.sh.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/memory_counter.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "skin/decal.h"
#include "skin/decal_draw.h"
#include "tests/font/font_test_support.h"
#include "tests/skin/skin_test_support.h"
#include "widget/widget.h"

namespace {

constexpr int32_t kCanvas = 64;
constexpr int32_t kMaxDrawn = 256;  // widgets drawn per tree, so that a wide tree stays quick

struct Scene {
  Scene() {
    font = font_test::MakeBoxFont();
    font->SetName("DejaVu Sans");
    fonts.Append(font.get());
    sheets.Append(font_test::MakePage(32, 32));
    resources.Fonts = &fonts;
    resources.Sheets = &sheets;
    resources.Images2 = &sheets;
  }
  skin_test::Screen screen{kCanvas, kCanvas};
  C_GraphicApi& api = screen.api;
  std::unique_ptr<C_Font> font;
  C_Collection fonts, sheets;
  DecalResources resources;
};

std::vector<uint8_t> Saved(C_Object& object) {
  ByteStream* stream = NewMemoryWriter();
  std::vector<uint8_t> bytes;
  if (object.Save(stream, 0) && stream->Buffer)
    bytes.assign(stream->Buffer, stream->Buffer + stream->Total);
  FreeStream(stream);
  return bytes;
}

// True when every object the tree holds clones itself whole: layers in the decal
// lists, no extras.
bool ClonesWhole(const C_Widget* w) {
  if (!w || w->Extras) return false;
  for (const C_Decal* decal : w->Decals) {
    if (!decal) continue;
    for (const C_Collection* list : {decal->Layers, decal->CheckedLayers}) {
      for (uint32_t i = 0; list && i < list->Count; ++i) {
        const C_Object* l = list->Items[i];
        if (!dynamic_cast<const C_Layer_Rect*>(l) && !dynamic_cast<const C_Layer_Line*>(l) &&
            !dynamic_cast<const C_Layer_Text*>(l) && !dynamic_cast<const C_Layer_Image*>(l) &&
            !dynamic_cast<const C_Layer_Brush*>(l) && !dynamic_cast<const C_Layer_Zone*>(l))
          return false;
      }
    }
  }
  for (uint32_t i = 0; i < w->ChildCount(); ++i)
    if (!ClonesWhole(w->ChildAt(i))) return false;
  return true;
}

// The record reads back as an object of the same class.
bool ReadsBack(const std::vector<uint8_t>& bytes, uint16_t classId) {
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  C_Object* object = nullptr;
  const bool loaded = LoadHeldObject(stream, 0, object) && !stream->Broken && object &&
                      object->GetClassId() == classId;
  FreeStream(stream);
  DeleteOwnedObject(object);
  return loaded;
}

void DrawWidget(Scene& s, C_Widget* w, const C_Rect& client, int32_t& drawn, uint32_t slot,
                uint8_t checked) {
  if (!w || ++drawn > kMaxDrawn) return;
  C_Rect rect = w->Rect;
  ResolveRect(rect, client, nullptr, nullptr);
  DecalWidget dw;
  dw.Rect = rect;
  dw.Checked = checked;
  dw.Opacity = w->Opacity;
  dw.Text = &w->Text;
  dw.EditFocus = true;
  dw.ContentExtent = &w->ContentExtent;
  if (w->Parent) dw.Parent = InheritedColor{true, w->Parent->Color, w->Parent->ColorSource};
  DrawDecal(&s.api, s.resources, w->Decals[slot], dw);
  HitZone(w->Decals[slot], rect, client, C_Vector2D(rect.X1 + 1, rect.Y1 + 1));
  C_Rect inner = w->ClientRect;
  ResolveRect(inner, rect, nullptr, nullptr);
  for (uint32_t k = 0; k < w->ChildCount(); ++k)
    DrawWidget(s, DrawOrderAt(*w, k), inner, drawn, slot, checked);
}

void DrawTree(Scene& s, C_Widget* tree) {
  s.api.BeginDraw();
  const C_Rect page(0.0f, 0.0f, float{kCanvas}, float{kCanvas}, kAnchorResolved, kAnchorResolved);
  for (uint32_t slot = 0; slot < kDecalSlots; ++slot) {
    for (uint8_t checked : {0, 1}) {
      int32_t drawn = 0;
      DrawWidget(s, tree, page, drawn, slot, checked);
    }
  }
  s.api.EndDraw();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scene* scene = new Scene();
  const uint64_t countedBefore = MemoryInUse;
  ByteStream* stream = NewMemoryReader(data, size);
  C_Object* object = nullptr;
  const bool loaded = LoadHeldObject(stream, 0, object) && !stream->Broken;
  FreeStream(stream);
  auto* widget = dynamic_cast<C_Widget*>(object);
  if (loaded && widget) {
    C_Object* copy = widget->Clone();
    auto* clone = dynamic_cast<C_Widget*>(copy);
    if (!clone) std::abort();
    const std::vector<uint8_t> cloneBytes = Saved(*clone);
    if (!ReadsBack(cloneBytes, widget->GetClassId())) std::abort();
    if (ClonesWhole(widget) && cloneBytes != Saved(*widget)) std::abort();
    DrawTree(*scene, widget);
    DrawTree(*scene, clone);
    DeleteOwnedObject(copy);
  }
  DeleteOwnedObject(object);
  // Everything the load, the clone and the drawing allocated is given back.
  if (MemoryInUse != countedBefore) std::abort();
  return 0;
}
