// Reference pictures of the built templates: each template drawn at a fixed size
// in each state slot its tree has, unchecked and (where it has a checked look)
// checked, compared with tests/widget/pictures/<template>_s<slot>[_checked].png.
// A mismatch saves the actual and expected pictures as PNG; with
// DF_UPDATE_PICTURES=1 in the environment the drawn pictures replace the
// references instead.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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

// Reads an RGB PNG into a top-down R8G8B8 image; false when it cannot.
bool ReadPicturePng(const std::string& path, C_Image& image) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_BGR;
  if (!image.Create(static_cast<int32_t>(png.width), pixel_format::R8G8B8,
                    static_cast<int32_t>(png.height))) {
    png_image_free(&png);
    return false;
  }
  const png_int_32 stride = image.BottomUp ? -image.Pitch : image.Pitch;
  return png_image_finish_read(&png, nullptr, image.Pixels, stride, nullptr) != 0;
}

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
  const bool update = std::getenv("DF_UPDATE_PICTURES") != nullptr;
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
        C_Image actual;
        ASSERT_TRUE(C_Image::ConvertInto(pixel_format::R8G8B8, &actual, &canvas.Image()));
        const std::string path = std::string(DF_PICTURE_DIR) + "/" + picture + ".png";
        ++pictures;
        if (update) {
          std::filesystem::create_directories(DF_PICTURE_DIR);
          EXPECT_TRUE(WritePicturePng(path, actual));
          continue;
        }
        C_Image expected;
        ASSERT_TRUE(ReadPicturePng(path, expected)) << "no reference " << path;
        EXPECT_TRUE(MatchesPicture("template_" + picture, actual, expected));
      }
    }
  }
  EXPECT_EQ(pictures, 43);
}
