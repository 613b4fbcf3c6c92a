// The free platform functions: clock, system colours, cursors, key translation,
// window regions and the display-mode switch.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/error.h"
#include "graphics/geometry/color.h"
#include "image/image.h"
#include "platform/clock.h"
#include "platform/cursor.h"
#include "platform/display_mode.h"
#include "platform/key_map.h"
#include "platform/system_color.h"
#include "platform/window_region.h"
#include "window_fixture.h"

namespace {

TEST(Clock, CounterAdvancesAndMillisecondFallbackStepsInThousandths) {
  InitClock();
  const double start = ReadClock();
  SDL_Delay(5);
  const double elapsed = ReadClock() - start;
  EXPECT_GE(elapsed, 0.004);
  EXPECT_LT(elapsed, 1.0);

  InitMillisecondClock();
  for (int i = 0; i < 3; ++i) {
    const double t = ReadClock();
    EXPECT_NEAR(t * 1000.0, std::round(t * 1000.0), 1e-6);
    SDL_Delay(1);
  }
  InitClock();
}

TEST(SystemColor, ClassicTableAndBlackOutside) {
  C_Color c;
  EXPECT_TRUE(GetSystemColor(SysColorButtonFace, c));
  EXPECT_EQ(c.Red, 192.0f / 255.0f);
  EXPECT_EQ(c.Alpha, 1.0f);
  C_Color same;
  GetSystemColor(1, same);
  EXPECT_EQ(same.Green, c.Green);  // 1 and 2 are both the face colour
  GetSystemColor(SysColorDesktop, c);
  EXPECT_EQ(c.Red, 0.0f);
  EXPECT_EQ(c.Blue, 128.0f / 255.0f);
  GetSystemColor(SysColorWindow, c);
  EXPECT_EQ(c.Blue, 1.0f);
  for (int32_t index : {28, 29, 33, 34, 1000, -1}) {
    C_Color black(0.5f, 0.5f, 0.5f, 0.0f);
    EXPECT_TRUE(GetSystemColor(index, black));
    EXPECT_EQ(black.Red + black.Green + black.Blue, 0.0f) << index;
    EXPECT_EQ(black.Alpha, 1.0f);
  }
}

TEST(Cursor, EveryCodeIsAcceptedWithOrWithoutCursors) {
  for (int32_t code = 60; code < 80; ++code) EXPECT_TRUE(SetCursorShape(code)) << code;
  EXPECT_TRUE(SetCursorShape(CursorArrow));
  EXPECT_TRUE(SetCursorShape(-1));
}

TEST(KeyMap, VirtualKeysAndCharacters) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 65);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_DELETE), 46);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_DOWN), 40);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_AUDIOPLAY), 0);

  EXPECT_EQ(CharacterFromSdl(SDLK_b, KMOD_NONE), 'b');
  EXPECT_EQ(CharacterFromSdl(SDLK_b, KMOD_RSHIFT), 'B');
  EXPECT_EQ(CharacterFromSdl(SDLK_b, KMOD_CAPS), 'B');
  EXPECT_EQ(CharacterFromSdl(SDLK_b, KMOD_CAPS | KMOD_LSHIFT), 'b');
  EXPECT_EQ(CharacterFromSdl(SDLK_a, KMOD_LCTRL), 1);
  EXPECT_EQ(CharacterFromSdl(SDLK_7, KMOD_NONE), '7');
  EXPECT_EQ(CharacterFromSdl(SDLK_KP_0, KMOD_NUM), '0');
  EXPECT_EQ(CharacterFromSdl(SDLK_KP_3, KMOD_NUM), '3');
  EXPECT_EQ(CharacterFromSdl(SDLK_KP_3, KMOD_NONE), 0);
  // Shifted function keys have no character (not 0 - 32).
  EXPECT_EQ(CharacterFromSdl(SDLK_F5, KMOD_LSHIFT), 0);
  EXPECT_EQ(CharacterFromSdl(SDLK_KP_MULTIPLY, KMOD_LSHIFT), '*');

  EXPECT_EQ(CharacterFromText("q"), 'q');
  EXPECT_EQ(CharacterFromText("\xC3\xBF"), 255);
  EXPECT_EQ(CharacterFromText("\xE2\x82\xAC"), 0);  // the euro sign is not single-byte
  EXPECT_EQ(CharacterFromText("\xC3"), 0);
  EXPECT_EQ(CharacterFromText(nullptr), 0);
}

// A mask of the given rows, 8 bits per pixel.
void MakeMask(C_Image& mask, const std::vector<std::vector<uint8_t>>& rows) {
  const int32_t width = static_cast<int32_t>(rows[0].size());
  ASSERT_TRUE(mask.Create(width, pixel_format::Grey8, static_cast<int32_t>(rows.size())));
  for (size_t y = 0; y < rows.size(); ++y) {
    for (int32_t x = 0; x < width; ++x) mask.Pixels[y * mask.Pitch + x] = rows[y][x];
  }
}

TEST(WindowRegion, RunsOfFullBytesBecomeRowRectangles) {
  C_Image mask;
  MakeMask(mask, {{255, 255, 0, 255}, {0, 254, 255, 255}, {0, 0, 0, 0}});
  std::vector<PixelRect> rects;
  ASSERT_TRUE(BuildWindowRegion(&mask, C_Rect(), rects));
  const std::vector<PixelRect> expected = {{0, 0, 2, 1}, {3, 0, 4, 1}, {2, 1, 4, 2}};
  EXPECT_EQ(rects, expected);

  // The offset's X1 and Y1, truncated, shift every rectangle.
  ASSERT_TRUE(BuildWindowRegion(&mask, C_Rect(10.9f, -3.5f, 0.0f, 0.0f, 0, 0), rects));
  const std::vector<PixelRect> shifted = {{10, -3, 12, -2}, {13, -3, 14, -2}, {12, -2, 14, -1}};
  EXPECT_EQ(rects, shifted);

  // A bottom-up mask is read by picture rows.
  mask.BottomUp = 1;
  ASSERT_TRUE(BuildWindowRegion(&mask, C_Rect(), rects));
  const std::vector<PixelRect> flipped = {{2, 1, 4, 2}, {0, 2, 2, 3}, {3, 2, 4, 3}};
  EXPECT_EQ(rects, flipped);
}

TEST(WindowRegion, MissingOrUndescribedMasksFail) {
  std::vector<PixelRect> rects = {{1, 1, 2, 2}};
  EXPECT_FALSE(BuildWindowRegion(nullptr, C_Rect(), rects));
  EXPECT_TRUE(rects.empty());
  C_Image odd;
  odd.Format = 4242;
  SetError(0);
  EXPECT_FALSE(BuildWindowRegion(&odd, C_Rect(), rects));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorNoFormat);
  C_Image empty;
  empty.Format = pixel_format::Grey8;
  EXPECT_TRUE(BuildWindowRegion(&empty, C_Rect(), rects));
  EXPECT_TRUE(rects.empty());
}

TEST(WindowRegion, NarrowFormatsAreNotReadPastTheirRows) {
  C_Image mask;
  ASSERT_TRUE(mask.Create(20, pixel_format::Index1, 2, pixel_format::R8G8B8));
  std::memset(mask.Pixels, 0xFF, static_cast<size_t>(mask.PixelBytes));
  std::vector<PixelRect> rects;
  ASSERT_TRUE(BuildWindowRegion(&mask, C_Rect(), rects));
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].X2, mask.RowBytes);
}

TEST_F(WindowTest, ShapeUpdateStoresTheRegion) {
  C_Image mask;
  MakeMask(mask, {{0, 255, 255, 0}, {255, 255, 255, 255}});
  window.RegionImage = &mask;
  window.RegionOffset = C_Rect(1, 2, 0, 0);
  OpenWindow(4, 2);  // the dummy driver has no shaped windows: a plain one opens
  const std::vector<PixelRect> expected = {{2, 2, 4, 3}, {1, 3, 5, 4}};
  EXPECT_EQ(GetWindowRegion(&window), expected);
  window.RegionImage = nullptr;
  window.Update(UpdateShape);  // no mask: the last shape stays
  EXPECT_EQ(GetWindowRegion(&window), expected);
}

TEST_F(WindowTest, DisplayModeSwitchesTheLatestWindow) {
  OpenWindow(100, 80);
  EXPECT_TRUE(SetDisplayMode(640, 480, 32));
  EXPECT_TRUE(SDL_GetWindowFlags(Handle()) & SDL_WINDOW_FULLSCREEN);
  EXPECT_TRUE(PumpMessage());  // no quit message was posted
  SDL_SetWindowFullscreen(Handle(), 0);
}

TEST_F(WindowTest, ImpossibleDisplayModeEndsTheProgram) {
  // Without a display the message box cannot open, so the test does not block.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  OpenWindow(100, 80);
  EXPECT_TRUE(SetDisplayMode(1 << 20, 1 << 20, 32));
  EXPECT_EQ(QuitExitCode(), 0);
  bool quit = false;
  for (int i = 0; i < 100 && !quit; ++i) quit = !PumpMessage();
  EXPECT_TRUE(quit);
}

}  // namespace
