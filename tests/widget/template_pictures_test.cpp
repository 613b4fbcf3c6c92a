// Reference pictures of the built templates: each template drawn at a fixed size
// in each state slot its tree has, unchecked and (where it has a checked look)
// checked, compared with tests/widget/pictures/<template>_s<slot>[_checked].png.
// A mismatch saves the actual and expected pictures as PNG; with
// DF_UPDATE_PICTURES=1 in the environment the drawn pictures replace the
// references instead.
#include <gtest/gtest.h>

#include <string>

#include "core/collection.h"
#include "graphics/geometry/anchor.h"
#include "image/image.h"
#include "image/pixel_format.h"
#include "skin/decal.h"
#include "tests/graphics/raster/reference_picture.h"
#include "tests/skin/skin_test_support.h"
#include "tests/widget/skin_files.h"
#include "tests/widget/widget_test_support.h"

namespace {

constexpr float kMargin = 6;

bool TreeHasSlot(const C_Widget* w, uint32_t slot) {
  if (w->Decals[slot]) return true;
  for (uint32_t i = 0; i < w->ChildCount(); ++i)
    if (TreeHasSlot(w->ChildAt(i), slot)) return true;
  return false;
}

bool TreeHasCheckedLook(const C_Widget* w) {
  for (const C_Decal* d : w->Decals)
    if (d && d->CheckedLayers && d->CheckedLayers->Count > 0) return true;
  for (uint32_t i = 0; i < w->ChildCount(); ++i)
    if (TreeHasCheckedLook(w->ChildAt(i))) return true;
  return false;
}

}  // namespace

TEST(TemplatePictures, EveryTemplateInEveryStateItHas) {
  C_Collection* sheets = skin_files::Sheets();
  C_Collection* fonts = skin_files::Fonts();
  ASSERT_NE(sheets, nullptr);
  ASSERT_NE(fonts, nullptr);
  DecalResources resources;
  resources.Sheets = sheets;
  resources.Fonts = fonts;
  int pictures = 0;
  for (const char* name : skin_files::kWidgetFiles) {
    widget_test::Ptr<C_Widget> widget(skin_files::LoadTemplate(name));
    ASSERT_NE(widget, nullptr) << name;
    // The template's own size (its Rect gives width and height), with a margin.
    const float width = widget->Rect.X2, height = widget->Rect.Y2;
    const C_Rect place(kMargin, kMargin, kMargin + width, kMargin + height, kAnchorResolved,
                       kAnchorResolved);
    for (uint32_t slot : {SlotNormal, SlotActive, SlotPressed, SlotHovered}) {
      if (!TreeHasSlot(widget.get(), slot)) continue;
      for (uint8_t checked : {0, 1}) {
        if (checked && !TreeHasCheckedLook(widget.get())) continue;
        const std::string picture =
            std::string(name) + "_s" + std::to_string(slot) + (checked ? "_checked" : "");
        SCOPED_TRACE(picture);
        skin_test::Canvas canvas(static_cast<int32_t>(width + 2 * kMargin),
                                 static_cast<int32_t>(height + 2 * kMargin));
        const C_Color desktop = C_Color::FromBytes(0, 128, 128);
        canvas.api.Clear(&desktop);
        skin_files::DrawTree(&canvas.api, resources, widget.get(), place, slot, checked);
        ++pictures;
        EXPECT_TRUE(MatchesStoredPicture(DF_PICTURE_DIR, picture, canvas.Image(), "template_"));
      }
    }
  }
  EXPECT_EQ(pictures, 43);
}
