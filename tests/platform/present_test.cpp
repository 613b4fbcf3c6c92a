// Presentation read back from the window, on both paths (the window surface, and
// the renderer's streaming texture): the right way up, at the presentation
// position, clipped, with the margins in the background colour.
#include <cstdlib>
#include <cstring>

#include "core/error.h"
#include "graphics/geometry/color.h"
#include "image/image.h"
#include "platform/present_path.h"
#include "platform/system_color.h"
#include "tests/reversed_bands.h"
#include "window_fixture.h"

namespace {

// A distinct opaque colour for every picture position.
uint32_t PixelAt(int32_t x, int32_t y) {
  return 0xFF000000u | (static_cast<uint32_t>(x * 7 + 1) << 16) |
         (static_cast<uint32_t>(y * 11 + 3) << 8) | static_cast<uint32_t>(x + y * 5);
}

// A back buffer like the drawing interface's: format 24, bottom-up.
void FillBackBuffer(C_Image& image, int32_t width, int32_t height) {
  ASSERT_TRUE(image.Create(width, pixel_format::A8R8G8B8, height));
  image.BottomUp = 1;
  for (int32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.RowAddress(y));
    for (int32_t x = 0; x < width; ++x) row[x] = PixelAt(x, y);
  }
}

class PresentTest : public WindowTest, public ::testing::WithParamInterface<PresentPath> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetPresentPath(GetParam());
  }
  void TearDown() override {
    WindowTest::TearDown();
    SetPresentPath(PresentAutomatic);
  }
  // The window's pixel as 0xRRGGBB: through the renderer on the texture path,
  // from the window surface on the other.
  uint32_t Read(int32_t x, int32_t y) {
    uint32_t value = 0;
    if (SDL_Renderer* renderer = SDL_GetRenderer(Handle())) {
      const SDL_Rect pixel{x, y, 1, 1};
      if (SDL_RenderReadPixels(renderer, &pixel, SDL_PIXELFORMAT_RGB888, &value, 4) != 0) {
        ADD_FAILURE() << SDL_GetError();
      }
      return value & 0xFFFFFFu;
    }
    SDL_Surface* s = SDL_GetWindowSurface(Handle());
    std::memcpy(&value, static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 4, 4);
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    SDL_GetRGB(value, s->format, &r, &g, &b);
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
  }
  // Shows the image and checks that it went the way the test asked.
  void Show(C_Image& image, const C_Vector2D& position) {
    EXPECT_TRUE(ShowImage(&image, &window, position));
    EXPECT_EQ(WindowPresentPath(&window), GetParam());
    EXPECT_EQ(PresentFailure(&window), nullptr);
  }
  uint32_t Background() {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    GetSystemColorBytes(window.Colors[0].SystemIndex, r, g, b);
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
  }
  // Checks every surface pixel: the image where it lies, the background elsewhere.
  void ExpectShown(int32_t px, int32_t py, int32_t width, int32_t height) {
    int32_t w = 0;
    int32_t h = 0;
    SDL_GetWindowSize(Handle(), &w, &h);
    int32_t mismatches = 0;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const bool inside = x >= px && x < px + width && y >= py && y < py + height;
        const uint32_t expected = inside ? PixelAt(x - px, y - py) & 0xFFFFFFu : Background();
        if (Read(x, y) != expected && ++mismatches < 5) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << Read(x, y)
                        << ", expected " << expected;
        }
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
};

TEST_P(PresentTest, BackBufferShowsUprightWithMargins) {
  OpenWindow(40, 30);
  C_Image back;
  FillBackBuffer(back, 8, 6);
  Show(back, C_Vector2D(5.7f, 7.2f));                   // positions are truncated
  EXPECT_EQ(window.PresentImage->Pixels, back.Pixels);  // bound, not copied
  EXPECT_EQ(window.PresentImage->ExternalPixels, 1);
  ExpectShown(5, 7, 8, 6);

  // Another background colour index fills the margins with that colour.
  window.Colors[0].SystemIndex = 13;
  Show(back, C_Vector2D(0, 0));
  ExpectShown(0, 0, 8, 6);
}

TEST_P(PresentTest, ImagePartlyOrWhollyOutsideIsClipped) {
  OpenWindow(40, 30);
  C_Image back;
  FillBackBuffer(back, 16, 12);
  Show(back, C_Vector2D(-5, 25));
  ExpectShown(-5, 25, 16, 12);
  Show(back, C_Vector2D(35, -9));
  ExpectShown(35, -9, 16, 12);
  Show(back, C_Vector2D(1e20f, -1e20f));
  ExpectShown(1 << 30, -(1 << 30), 16, 12);  // nothing but background
}

// A back buffer large enough to share its rows goes through the installed
// splitter, clipped or not, with the picture of an unshared copy.
TEST_P(PresentTest, LargeImagesShareTheirRowsWithTheSamePicture) {
  OpenWindow(330, 260);
  C_Image back;
  FillBackBuffer(back, 320, 240);
  test_rows::ReversedSplitter splitter;
  Show(back, C_Vector2D(4, 9));
  EXPECT_EQ(splitter.Calls(), 1);
  Show(back, C_Vector2D(-7, 30));
  ExpectShown(-7, 30, 320, 240);
}

TEST_P(PresentTest, FirstMemoryRowIsTheBottomRowWhateverTheImageSays) {
  OpenWindow(20, 20);
  C_Image image;
  ASSERT_TRUE(image.Create(4, pixel_format::A8R8G8B8, 3));
  for (int32_t row = 0; row < 3; ++row) {
    auto* p = reinterpret_cast<uint32_t*>(image.Pixels + row * image.Pitch);
    for (int32_t x = 0; x < 4; ++x) p[x] = 0xFF000010u * static_cast<uint32_t>(row + 1);
  }
  ASSERT_EQ(image.BottomUp, 0);
  Show(image, C_Vector2D(0, 0));
  EXPECT_EQ(Read(0, 2), 0x10u);  // memory row 0 at the bottom
  EXPECT_EQ(Read(3, 0), 0x30u);
}

TEST_P(PresentTest, TwentyFourBitImagesAreConverted) {
  OpenWindow(10, 10);
  C_Image image;
  ASSERT_TRUE(image.Create(3, pixel_format::R8G8B8, 2));
  std::memset(image.Pixels, 0, static_cast<size_t>(image.PixelBytes));
  // Bytes blue, green, red; memory row 1 is the top row on screen.
  uint8_t* top = image.Pixels + image.Pitch;
  top[3] = 0x33;
  top[4] = 0x22;
  top[5] = 0x11;
  Show(image, C_Vector2D(2, 3));
  EXPECT_EQ(Read(3, 3), 0x112233u);
  EXPECT_EQ(Read(2, 4), 0u);
  EXPECT_EQ(Read(1, 3), Background());
}

TEST_P(PresentTest, ResizedWindowGetsANewSurface) {
  OpenWindow(40, 30);
  SDL_SetWindowSize(Handle(), 64, 48);
  DrainEvents();
  C_Image back;
  FillBackBuffer(back, 8, 6);
  Show(back, C_Vector2D(50, 40));
  int32_t w = 0;
  SDL_GetWindowSize(Handle(), &w, nullptr);
  ASSERT_EQ(w, 64);
  ExpectShown(50, 40, 8, 6);
}

TEST_P(PresentTest, UndescribedOrEmptyImagesShowNothing) {
  OpenWindow(20, 20);
  C_Image back;
  FillBackBuffer(back, 4, 4);
  Show(back, C_Vector2D(1, 1));
  C_Image odd;
  odd.Format = 999;
  EXPECT_FALSE(ShowImage(&odd, &window, C_Vector2D(0, 0)));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  EXPECT_EQ(window.PresentImage->Pixels, back.Pixels);  // still bound to the last image
  C_Image empty;
  ShowImage(&empty, &window, C_Vector2D(0, 0));
  EXPECT_FALSE(ShowImage(nullptr, &window, C_Vector2D(0, 0)));
  ExpectShown(1, 1, 4, 4);
}

TEST_P(PresentTest, FillRectPaintsClippedAndClamped) {
  OpenWindow(20, 20);
  C_Image back;
  FillBackBuffer(back, 20, 20);
  Show(back, C_Vector2D(0, 0));
  EXPECT_TRUE(FillRect(&window, C_Color(1.5f, 0.5f, -1.0f, 1.0f), C_Rect(15, -5, 40, 3)));
  EXPECT_EQ(Read(15, 0), 0xFF7F00u);
  EXPECT_EQ(Read(19, 2), 0xFF7F00u);
  EXPECT_EQ(Read(14, 0), PixelAt(14, 0) & 0xFFFFFFu);
  EXPECT_EQ(Read(15, 3), PixelAt(15, 3) & 0xFFFFFFu);
  C_Window closed;
  EXPECT_FALSE(FillRect(&closed, C_Color(), C_Rect(0, 0, 1, 1)));
}

TEST_P(PresentTest, ClosedWindowReportsThatNothingWasShown) {
  OpenWindow(20, 20);
  C_Image back;
  FillBackBuffer(back, 4, 4);
  Show(back, C_Vector2D(0, 0));
  window.Close();
  EXPECT_FALSE(ShowImage(&back, &window, C_Vector2D(0, 0)));
  EXPECT_EQ(WindowPresentPath(&window), PresentAutomatic);
  // Opened again, the window chooses its path afresh.
  window.Open();
  ASSERT_EQ(window.Opened, 1);
  Show(back, C_Vector2D(0, 0));
}

INSTANTIATE_TEST_SUITE_P(BothPaths, PresentTest, ::testing::Values(PresentSurface, PresentTexture),
                         [](const ::testing::TestParamInfo<PresentPath>& info) {
                           return info.param == PresentSurface ? "Surface" : "Texture";
                         });

// Without a choice the window takes its surface, which the display-less driver
// offers; DF_PRESENT chooses when nothing else does.
TEST(PresentPathChoice, SurfaceFirstAndTheEnvironmentDecides) {
  const struct {
    const char* Environment;
    PresentPath Requested;
  } cases[] = {{nullptr, PresentAutomatic},
               {"surface", PresentSurface},
               {"texture", PresentTexture},
               {"gl", PresentAutomatic}};
  for (const auto& c : cases) {
    if (c.Environment) {
      setenv("DF_PRESENT", c.Environment, 1);
    } else {
      unsetenv("DF_PRESENT");
    }
    EXPECT_EQ(RequestedPresentPath(), c.Requested) << (c.Environment ? c.Environment : "unset");
  }
  SetPresentPath(PresentSurface);  // a choice made here wins over the environment
  EXPECT_EQ(RequestedPresentPath(), PresentSurface);
  SetPresentPath(PresentAutomatic);
  unsetenv("DF_PRESENT");

  C_Window window;
  window.Placement = C_Rect(0, 0, 16, 16, 0, 0);
  window.Open();
  ASSERT_EQ(window.Opened, 1);
  C_Image back;
  ASSERT_TRUE(back.Create(4, pixel_format::A8R8G8B8, 4));
  EXPECT_EQ(WindowPresentPath(&window), PresentAutomatic);
  EXPECT_TRUE(ShowImage(&back, &window, C_Vector2D(0, 0)));
  EXPECT_EQ(WindowPresentPath(&window), PresentSurface);
  EXPECT_EQ(SDL_GetRenderer(SDL_GetWindowFromID(GetPlatformWindowId(&window))), nullptr);
}

}  // namespace
