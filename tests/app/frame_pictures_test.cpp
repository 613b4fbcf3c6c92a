// Reference pictures of whole demo frames: the window shell on SDL's dummy driver
// with the built data and the test clock, its back buffer after a chosen frame
// compared pixel for pixel with tests/app/pictures/<name>.png. They pin what the
// frame is made of: the clear colour, the view and its place, the light sprite,
// the status lines and the options.
//
// The view's own pixels are taken out of the frame before the comparison: every
// pixel of the view's rectangle that shows the view image unchanged (converted for
// display) is made black, so the stored pictures keep only what is drawn around and
// over the view (a frame of lattice noise is a PNG of 700 KB, one with the view
// taken out a few tens). The view image itself is pinned by its checksum, which no
// change of the GUI's look may change.
//
// A mismatch saves the actual and expected pictures and their difference;
// DF_UPDATE_PICTURES=1 (scripts/update-pictures.sh) rewrites the references.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/crc32.h"
#include "image/image.h"
#include "image/pixel_format.h"
#include "tests/app/demo_run.h"
#include "tests/graphics/raster/reference_picture.h"

namespace {

using namespace demo_run;

constexpr int32_t kViewSide = 512;
constexpr int32_t kViewTop = 30;
constexpr int32_t kRgbBytes = 3;

struct FrameCase {
  const char* Name;
  int32_t Shape, View;
  bool DragLight;    // a left-button drag moves the light to (kLightX, kLightY)
  uint32_t ViewCrc;  // of the shown view image (ImageCrc32)
};

constexpr int32_t kShownFrame = 6;  // after the drag's four events, one a frame
constexpr int32_t kPressX = 300, kPressY = 300;
constexpr int32_t kLightX = 360, kLightY = 220;

const C_Image* ShownView() {
  switch (ViewMode) {
    case ViewNormalMap:
      return NormalImage;
    case ViewBumpMapping:
      return ShadedImage;
    default:
      return HeightImage;
  }
}

// Blacks out the pixels of the view's rectangle (centred, kViewTop from the top)
// that equal the view image's pixel there; both pictures R8G8B8.
void TakeOutView(C_Image& frame, const C_Image& view) {
  const int32_t left = (frame.Width - view.Width) / 2;
  for (int32_t y = 0; y < view.Height && kViewTop + y < frame.Height; ++y) {
    uint8_t* row = frame.RowAddress(kViewTop + y) + left * kRgbBytes;
    const uint8_t* shown = view.RowAddress(y);
    for (int32_t x = 0; x < view.Width; ++x) {
      uint8_t* pixel = row + x * kRgbBytes;
      if (std::memcmp(pixel, shown + x * kRgbBytes, kRgbBytes) == 0) {
        std::memset(pixel, 0, kRgbBytes);
      }
    }
  }
}

TEST(FramePictures, EveryViewOfPerlinNoiseAndLumpsLitByADraggedLight) {
  const FrameCase cases[] = {
      {"lumps_height_map", ShapeLumps, ViewHeightMap, false, 0x268cab7f},
      {"perlin_height_map", ShapePerlinNoise, ViewHeightMap, false, 0x00e825cb},
      {"perlin_normal_map", ShapePerlinNoise, ViewNormalMap, false, 0xff105421},
      {"perlin_bump_mapping", ShapePerlinNoise, ViewBumpMapping, false, 0xd3148a25},
      {"lumps_bump_mapping_light_dragged", ShapeLumps, ViewBumpMapping, true, 0x54711ace},
  };
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(c.Name);
    DemoRun run;
    run.options.InitialShape = c.Shape;
    run.options.InitialView = c.View;
    run.options.MaxFrames = kShownFrame;
    if (c.DragLight) {
      run.actions[1] = [] {
        PushMotion(kPressX, kPressY, 0);
        PushButton(SDL_MOUSEBUTTONDOWN, kPressX, kPressY);
        PushMotion(kLightX, kLightY, SDL_BUTTON_LMASK);
        PushButton(SDL_MOUSEBUTTONUP, kLightX, kLightY);
      };
    }
    C_Image frame, view;
    uint32_t viewCrc = 0;
    run.actions[kShownFrame] = [&] {
      const C_Image* shown = BackBuffer();
      ASSERT_NE(shown, nullptr);
      ASSERT_TRUE(C_Image::ConvertInto(pixel_format::R8G8B8, &frame, shown));
      ASSERT_TRUE(C_Image::ConvertInto(pixel_format::R8G8B8, &view, ShownView()));
      viewCrc = ImageCrc32(ShownView());
    };
    ASSERT_EQ(run.Run(true), 1);
    ASSERT_EQ(run.frames, kShownFrame);
    ASSERT_EQ(view.Width, kViewSide);
    EXPECT_EQ(viewCrc, c.ViewCrc) << "the view's checksum is 0x" << std::hex << viewCrc;
    if (c.DragLight) {
      EXPECT_EQ(LightDirection.X, float(kLightX - kLightCentre));
      EXPECT_EQ(LightDirection.Y, float(kLightY - kLightCentre));
    }
    TakeOutView(frame, view);
    EXPECT_TRUE(MatchesStoredPicture(DF_APP_PICTURES, c.Name, frame, "frame_"));
  }
}

}  // namespace
