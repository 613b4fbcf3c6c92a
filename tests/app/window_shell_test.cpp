// The demo end to end: the real DemoMain and window shell on SDL's dummy driver with
// the data folder the build assembles, driven by SDL events pushed after chosen
// frames; the command line, the data folder search and the status text; and the
// soak run (DF_SOAK_FRAMES frames of seeded random input, then Escape).
#include "app/window_shell.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/demo_gui.h"
#include "app/demo_main.h"
#include "app/demo_options.h"
#include "app/demo_state.h"
#include "app/headless_shell.h"
#include "core/memory_counter.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/color.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/surface.h"
#include "platform/window.h"
#include "tests/app/demo_run.h"
#include "widget/desktop.h"
#include "widget/widget.h"

// Counted by the replacement operator new (tests/counting_new.h, in demo_test.cpp).
extern std::atomic<uint64_t> g_newCalls;

namespace {

using namespace demo_run;

constexpr uint32_t kBackground = 0x80AFD2;  // (128, 175, 210)
const C_Color kBackgroundColor = C_Color::FromBytes(128, 175, 210);

// Pixels of the rectangle that are not the background colour.
int32_t Drawn(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  int32_t count = 0;
  for (int32_t y = y1; y < y2; ++y) {
    for (int32_t x = x1; x < x2; ++x) count += PixelAt(x, y) != kBackground;
  }
  return count;
}

// A copy of the back buffer's pixels in the view's rectangle.
std::vector<uint32_t> ViewPixels() {
  std::vector<uint32_t> pixels;
  const C_Image* image = BackBuffer();
  if (!image) return pixels;
  const int32_t left = (image->Width - 512) / 2;
  for (int32_t y = 30; y < 30 + 512; y += 4) {
    for (int32_t x = left; x < left + 512; x += 4) pixels.push_back(PixelAt(x, y));
  }
  return pixels;
}

TEST(DemoShellRun, FirstFramesShowTheLumpHeightFieldWithTheStatusLinesAndOptions) {
  DemoRun run;
  run.options.MaxFrames = 3;
  uint8_t checked[kOptionCount] = {};
  int32_t viewPixels = 0, statusPixels = 0, belowView = 0;
  int32_t width = 0;
  float bottoms[kOptionCount] = {};
  int32_t bufferHeight = 0;
  run.actions[3] = [&] {
    for (int32_t i = 0; i < kOptionCount; ++i) {
      C_Widget* option = Option(kOptionNames[i]);
      ASSERT_NE(option, nullptr) << kOptionNames[i];
      checked[i] = option->Checked;
      bottoms[i] = option->Resolved.Y2;
      EXPECT_STREQ(option->Text.c_str(), kOptionLabels[i]);
    }
    width = BackBuffer()->Width;
    const int32_t left = (width - 512) / 2;
    viewPixels = Drawn(left, 30, left + 512, 30 + 400);
    statusPixels = Drawn(30, 7, 300, 20);
    belowView = Drawn(0, 30 + 512, width, BackBuffer()->Height);
    bufferHeight = BackBuffer()->Height;
  };
  ASSERT_EQ(run.Run(), 1);
  EXPECT_EQ(run.frames, 3);
  EXPECT_EQ(run.shapes, (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(run.views, (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(checked, checked + kOptionCount),
            (std::vector<uint8_t>{1, 0, 0, 1, 0, 0}));
  EXPECT_GT(viewPixels, 512 * 400 / 2);  // lumps cover most of the field
  EXPECT_GT(statusPixels, 100);          // "Generation: N fps" and "All: N fps"
  EXPECT_GT(belowView, 100);             // the option buttons' look and labels
  // The rows stand 59 and 9 pixels above the bottom of the back buffer as it is
  // (it follows the 650-high window), below the view.
  EXPECT_EQ(bufferHeight, 650);
  for (int32_t i = 0; i < kOptionCount; ++i) {
    EXPECT_EQ(bottoms[i], float(bufferHeight - (i < 3 ? 59 : 9))) << kOptionNames[i];
  }
  EXPECT_NE(run.output.find("Dappleforge Demo (by Valdrenko)"), std::string::npos);
  EXPECT_NE(run.output.find(">>>loading < widgets/scrollspace.wgt > ...done!"), std::string::npos);
  EXPECT_NE(run.output.find("\n\nMax use of memory: "), std::string::npos);
  EXPECT_EQ(run.memoryAfter, run.memoryBefore);
}

// Run quietly, the window shell writes none of its console lines (banner, loading
// lines) anywhere, as the driver writes none of its own.
TEST(DemoShellRun, QuietRunWritesNothingToTheConsole) {
  WindowShellOptions options;
  options.DataFolder = DF_DEMO_DATA;
  options.MaxFrames = 1;
  WindowShell shell(options);
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  const int result = DemoMainQuietly(&shell);
  const std::string console = testing::internal::GetCapturedStdout();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(shell.FramesPainted(), 1);
  EXPECT_EQ(console, "");
  ASSERT_NE(DemoOutput, nullptr);  // restored
}

TEST(DemoShellRun, ClickingNormalMapUnchecksHeightMapOnlyAndChangesTheViewFromTheNextFrame) {
  DemoRun run;
  run.options.MaxFrames = 8;
  std::vector<uint32_t> before, after;
  run.actions[1] = [] { ClickOption("Option5"); };  // handled in frames 2, 3 and 4
  run.actions[2] = [&] { before = ViewPixels(); };
  run.actions[6] = [&] { after = ViewPixels(); };
  uint8_t checked[kOptionCount] = {};
  run.actions[7] = [&] {
    for (int32_t i = 0; i < kOptionCount; ++i) checked[i] = Option(kOptionNames[i])->Checked;
  };
  ASSERT_EQ(run.Run(), 1);
  EXPECT_EQ(std::vector<uint8_t>(checked, checked + kOptionCount),
            (std::vector<uint8_t>{1, 0, 0, 0, 1, 0}));
  // The release comes in frame 4: that frame's option step already reads it.
  EXPECT_EQ(run.views, (std::vector<int32_t>{0, 0, 0, 1, 1, 1, 1, 1}));
  EXPECT_EQ(run.shapes, (std::vector<int32_t>(8, 0)));
  EXPECT_NE(before, after);
}

TEST(DemoShellRun, LeftDragAboveTheOptionsSteersTheLightAndTheSprite) {
  struct Case {
    int32_t X, Y;
    float LightX, LightY;  // (-128, -128) is the start
  };
  const Case cases[] = {
      {300, 300, 14, 14},     {286, 286, 0, 0},       {100, 529, -186, 243},
      {300, 530, -128, -128}, {300, 600, -128, -128},
  };
  for (const Case& c : cases) {
    DemoRun run;
    run.options.InitialView = ViewBumpMapping;
    run.options.MaxFrames = 8;
    std::vector<uint32_t> before, after;
    run.actions[1] = [&] {
      before = ViewPixels();
      PushMotion(c.X, c.Y, 0);
      PushButton(SDL_MOUSEBUTTONDOWN, c.X, c.Y);
      PushMotion(c.X + 1, c.Y, SDL_BUTTON_LMASK);
      PushMotion(c.X, c.Y, SDL_BUTTON_LMASK);
      PushButton(SDL_MOUSEBUTTONUP, c.X, c.Y);
    };
    float lightX = 0, lightY = 0;
    run.actions[7] = [&] {
      lightX = LightDirection.X;
      lightY = LightDirection.Y;
      after = ViewPixels();
    };
    ASSERT_EQ(run.Run(), 1);
    EXPECT_EQ(lightX, c.LightX) << c.X << "," << c.Y;
    EXPECT_EQ(lightY, c.LightY) << c.X << "," << c.Y;
    EXPECT_EQ(run.views.back(), ViewBumpMapping);
    if (c.LightX != -128) {
      EXPECT_NE(before, after) << "the lighting follows the light";
    }
  }
}

// The overlay over a back buffer full of stale pixels gives the frame of a clear
// followed by the overlay: the view, drawn first, is not cleared under it, and
// everything around it is.
TEST(DemoShellRun, TheOverlayClearsAroundTheViewAsAWholeClearWould) {
  for (int32_t view : {0, 1, 2, 7}) {  // the three views and none
    DemoRun run;
    run.options.InitialView = view < 3 ? view : 0;
    run.options.MaxFrames = 4;
    std::vector<uint8_t> cleared, stale;
    bool viewOverwrites = false;
    run.actions[3] = [&] {
      C_GraphicApi* api = MainDrawing();
      C_Image* image = const_cast<C_Image*>(BackBuffer());
      ASSERT_TRUE(api && image);
      const int32_t shown = ViewMode;
      ViewMode = view;
      C_Surface* const views[] = {HeightSurface, NormalSurface, ShadedSurface};
      C_Surface* surface = views[view < 3 ? view : 0];
      viewOverwrites = surface && DrawOverwrites(surface, api->GetTarget(), {});
      const auto frame = [&](bool clearFirst, const C_Color& stalePixels) {
        FillImage(image, stalePixels);
        if (clearFirst) {
          api->BeginDraw();
          api->Clear(&kBackgroundColor);
          api->EndDraw();
        }
        DrawOverlay(api);
        return std::vector<uint8_t>(image->Pixels, image->Pixels + image->PixelBytes);
      };
      cleared = frame(true, C_Color(1, 0, 1, 0));
      stale = frame(false, C_Color(0, 1, 0, 0.5f));
      ViewMode = shown;
    };
    ASSERT_EQ(run.Run(), 1);
    EXPECT_TRUE(viewOverwrites);
    ASSERT_FALSE(cleared.empty());
    EXPECT_TRUE(cleared == stale) << "view mode " << view;
  }
}

// Whole refreshes of a view's display copy, counted once the first frames have
// made the copies.
int32_t wholeRefreshes = 0;
SurfaceHook interfaceRefresh = nullptr;
bool CountedRefresh(C_Surface* surface, int32_t key) {
  ++wholeRefreshes;
  return interfaceRefresh(surface, key);
}

// The display copy of the noise's views, made band by band as the view's rows are
// made, is the whole conversion of the view in every frame; the normal and bump
// views never need a whole refresh once their copy exists.
TEST(DemoShellRun, TheDisplayCopyIsTheWholeConversionOfTheView) {
  for (int32_t view : {0, 1, 2}) {
    DemoRun run;
    run.options.InitialShape = 2;  // Perlin Noise: the height field changes every frame
    run.options.InitialView = view;
    run.options.MaxFrames = 5;
    C_Surface* surface = nullptr;
    int32_t checked = 0;
    const auto check = [&] {
      C_Surface* const views[] = {HeightSurface, NormalSurface, ShadedSurface};
      surface = views[view];
      const C_Channel* channel = surface ? surface->FindChannel(kColorChannel) : nullptr;
      ASSERT_TRUE(channel && channel->Converted);
      C_Image whole;
      ASSERT_TRUE(C_Image::ConvertInto(pixel_format::A8R8G8B8, &whole, channel->Image));
      ASSERT_EQ(channel->Converted->Height, whole.Height);
      for (int32_t y = 0; y < whole.Height; ++y) {
        ASSERT_EQ(std::memcmp(channel->Converted->RowAddress(y), whole.RowAddress(y),
                              size_t(whole.RowBytes)),
                  0)
            << ViewName(view) << ", row " << y;
      }
      ++checked;
    };
    run.actions[1] = [&] {
      check();
      wholeRefreshes = 0;
      interfaceRefresh = surface->UpdateHook;
      surface->UpdateHook = CountedRefresh;
    };
    run.actions[3] = check;
    run.actions[4] = [&] {
      check();
      surface->UpdateHook = interfaceRefresh;
    };
    ASSERT_EQ(run.Run(), 1);
    EXPECT_EQ(checked, 3);
    EXPECT_EQ(wholeRefreshes, view == ViewHeightMap ? 3 : 0) << ViewName(view);
  }
}

TEST(DemoShellRun, TheFrameLoopAllocatesNothingInAnyMode) {
  for (int32_t pair = 0; pair < 9; ++pair) {
    DemoRun run;
    run.options.InitialShape = pair / 3;
    run.options.InitialView = pair % 3;
    run.options.MaxFrames = 12;
    uint64_t news[13] = {}, memory[13] = {};
    for (int32_t frame = 2; frame <= 12; ++frame) {
      run.actions[frame] = [&, frame] {
        news[frame] = g_newCalls.load();
        memory[frame] = MemoryInUse.load();
      };
    }
    ASSERT_EQ(run.Run(), 1);
    // Texts, widgets, views and the status lines all draw without allocating.
    for (int32_t frame = 3; frame <= 12; ++frame) {
      EXPECT_EQ(news[frame] - news[frame - 1], 0u)
          << ShapeName(pair / 3) << ", " << ViewName(pair % 3) << " frame " << frame;
      EXPECT_EQ(memory[frame], memory[frame - 1]);
    }
  }
}

TEST(DemoShellRun, EscapeEndsTheProgramAfterTheCurrentFrameWithTheMemoryLine) {
  DemoRun run;
  run.options.MaxFrames = 0;
  run.actions[2] = [] { PushEscape(); };
  run.actions[10] = [] { FAIL() << "Escape did not end the program"; };
  run.actions[11] = [] { PushKey(SDL_KEYUP, SDLK_ESCAPE); };  // never leave a test hanging
  ASSERT_EQ(run.Run(), 1);
  // Key down in frame 3, key up (the quit) in frame 4; the window's own closing
  // message may take one more frame before the quit message is reached.
  EXPECT_GE(run.frames, 4);
  EXPECT_LE(run.frames, 5);
  EXPECT_NE(run.output.find("\n\nMax use of memory: "), std::string::npos);
  EXPECT_EQ(run.memoryAfter, run.memoryBefore);
}

TEST(DemoShellRun, ClosingTheWindowEndsTheProgramLikeEscape) {
  DemoRun run;
  run.options.MaxFrames = 10;  // the backstop: the close must come first
  run.actions[2] = [] {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(e);
  };
  ASSERT_EQ(run.Run(), 1);
  EXPECT_GE(run.frames, 3);  // the close request is handled in frame 3
  EXPECT_LE(run.frames, 4);
  EXPECT_NE(run.output.find("\n\nMax use of memory: "), std::string::npos);
}

TEST(DemoShellRun, WithoutFontsOrGraphicsTheFailureLineShowsAndFramesStillRun) {
  for (const char* missing : {"fonts.pak", "guigfx.pak"}) {
    const std::string folder = DataFolder("without-pack", {{missing, ""}});
    DemoRun run(folder.c_str());
    run.options.MaxFrames = 3;
    ASSERT_EQ(run.Run(), 1) << missing;
    EXPECT_EQ(run.frames, 3) << missing;
    const std::string line = std::string("\nThe file < ") + missing +
                             " > cannot be opened, contact the project's README";
    EXPECT_NE(run.output.find(line), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("issue tracker for assistance\n"), std::string::npos);
    EXPECT_EQ(run.memoryAfter, run.memoryBefore) << missing;
  }
}

TEST(DemoShellRun, AMissingWidgetFileEndsStartUpBeforeAnyImageIsCreated) {
  const std::string folder = DataFolder("without-form", {{"widgets/form.wgt", ""}});
  DemoRun run(folder.c_str());
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.frames, 0);
  EXPECT_EQ(HeightImage, nullptr);
  EXPECT_NE(run.output.find("\nThe file < widgets/form.wgt > cannot be opened"), std::string::npos);
  EXPECT_EQ(run.output.find("widgets/vseparator.wgt"), std::string::npos);
  EXPECT_EQ(run.output.find("Max use of memory"), std::string::npos);
  EXPECT_EQ(run.memoryAfter, run.memoryBefore);  // the shell deletes what it made
  EXPECT_EQ(MainWindow(), nullptr);
}

// The soak: seeded random pointer, button and key input, one event a frame on
// average (never Escape), then Escape. DF_SOAK_FRAMES sets the length.
TEST(DemoShellSoak, RandomInputForManyFramesThenEscape) {
  const char* env = std::getenv("DF_SOAK_FRAMES");
  const int32_t frames = env ? std::atoi(env) : 2000;
  ASSERT_GT(frames, 0);
  // Input queued before the Escape is handled first, one message a frame.
  constexpr int32_t kEscapeWithin = 200;
  DemoRun run;
  run.options.MaxFrames = 0;
  std::mt19937 random(20261208);
  int32_t events = 0;
  uint32_t held = 0;
  auto step = [&](int32_t frame) {
    if (frame == frames) {
      PushEscape();
      return;
    }
    if (frame > frames + kEscapeWithin) {
      FAIL() << "Escape did not end the soak";
      return;
    }
    const int32_t x = int32_t(random() % 560) - 15, y = int32_t(random() % 680) - 15;
    switch (random() % 8) {
      case 0:
      case 1:
      case 2:
        PushMotion(x, y, held);
        break;
      case 3: {
        const uint8_t button = random() % 4 == 0 ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
        PushButton(SDL_MOUSEBUTTONDOWN, x, y, button);
        held |= SDL_BUTTON(button);
        break;
      }
      case 4: {
        const uint8_t button = held & SDL_BUTTON_RMASK ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
        PushButton(SDL_MOUSEBUTTONUP, x, y, button);
        held &= ~SDL_BUTTON(button);
        break;
      }
      case 5: {
        static const SDL_Keycode keys[] = {SDLK_a,         SDLK_z,    SDLK_SPACE,  SDLK_RETURN,
                                           SDLK_BACKSPACE, SDLK_TAB,  SDLK_LEFT,   SDLK_RIGHT,
                                           SDLK_UP,        SDLK_DOWN, SDLK_DELETE, SDLK_1};
        const SDL_Keycode key = keys[random() % (sizeof keys / sizeof keys[0])];
        PushKey(SDL_KEYDOWN, key);
        PushKey(SDL_KEYUP, key);
        ++events;
        break;
      }
      default:
        return;  // a frame without input
    }
    ++events;
  };
  for (int32_t frame = 1; frame <= frames + kEscapeWithin + 1; ++frame)
    run.actions[frame] = [&, frame] { step(frame); };
  ASSERT_EQ(run.Run(), 1);
  EXPECT_GE(run.frames, frames);
  EXPECT_EQ(run.memoryAfter, run.memoryBefore);
  std::printf("soak: %d frames, %d events, MemoryInUse %llu before and %llu after\n", run.frames,
              events, static_cast<unsigned long long>(run.memoryBefore),
              static_cast<unsigned long long>(run.memoryAfter));
}

TEST(DemoOptionsParse, AcceptsTheHeadlessRunAndRejectsWhatItCannotUse) {
  struct Case {
    std::vector<const char*> Args;
    bool Ok;
    bool Headless;
    int32_t Frames, Shape, View;
  };
  const Case cases[] = {
      {{}, true, false, 0, 0, 0},
      {{"--headless", "--frames", "5"}, true, true, 5, 0, 0},
      {{"--headless", "--frames", "9", "--shape", "perlin", "--view", "bump"}, true, true, 9, 2, 2},
      {{"--shape", "1", "--view", "normal", "--data", "d"}, true, false, 0, 1, 1},
      {{"--headless"}, false, false, 0, 0, 0},
      {{"--headless", "--frames", "0"}, false, false, 0, 0, 0},
      {{"--headless", "--frames", "5x"}, false, false, 0, 0, 0},
      {{"--frames"}, false, false, 0, 0, 0},
      {{"--shape", "cubes"}, false, false, 0, 0, 0},
      {{"--view", "3"}, false, false, 0, 0, 0},
      {{"--fullscreen"}, false, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<char*> argv{const_cast<char*>("dappleforge")};
    for (const char* a : c.Args) argv.push_back(const_cast<char*>(a));
    DemoOptions options;
    const char* problem = nullptr;
    const bool ok = ParseDemoOptions(int(argv.size()), argv.data(), options, problem);
    SCOPED_TRACE(c.Args.empty() ? "(none)" : c.Args[0]);
    EXPECT_EQ(ok, c.Ok);
    if (!ok) {
      EXPECT_NE(problem, nullptr);
      continue;
    }
    EXPECT_EQ(options.Headless, c.Headless);
    EXPECT_EQ(options.Frames, c.Frames);
    EXPECT_EQ(options.Shape, c.Shape);
    EXPECT_EQ(options.View, c.View);
  }
}

TEST(DemoStatusLine, TruncatesTheRateAndKeepsUnmeasuredRatesFinite) {
  char line[64];
  FormatStatusLine(line, sizeof line, "Generation: ", 152.7f);
  EXPECT_STREQ(line, "Generation: 152 fps");
  FormatStatusLine(line, sizeof line, "All: ", 0.0f);
  EXPECT_STREQ(line, "All: 0 fps");
  FormatStatusLine(line, sizeof line, "All: ", std::numeric_limits<float>::quiet_NaN());
  EXPECT_STREQ(line, "All: 0 fps");
  FormatStatusLine(line, sizeof line, "All: ", std::numeric_limits<float>::infinity());
  EXPECT_STREQ(line, "All: 1000000000 fps");
}

}  // namespace
