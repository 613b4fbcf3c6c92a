// Running the real demo in a test: DemoMain with the window shell on SDL's dummy
// driver and a data folder (the one the build assembles, or one made from it with
// files left out or swapped), actions run after chosen frames, SDL events pushed
// at the window, and the back buffer read back. With the test clock the run draws
// the same frames on every machine and at any speed.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/demo_gui.h"
#include "app/demo_main.h"
#include "app/demo_options.h"
#include "app/demo_state.h"
#include "app/window_shell.h"
#include "core/memory_counter.h"
#include "core/random.h"
#include "graphics/api/graphic_api.h"
#include "image/image.h"
#include "image/surface.h"
#include "platform/window.h"
#include "widget/desktop.h"
#include "widget/widget.h"

namespace demo_run {

inline constexpr size_t kRecordedFrames = 64;  // modes recorded without allocating
// The test clock moves on by this much after every frame, and not within one.
inline constexpr double kTestFrameSeconds = 0.25;

// The window shell with the test clock: time stands still within a frame and moves
// on by kTestFrameSeconds after its paint, so every run moves the shapes alike and
// shows the same rates (generation 0, all frames 4 a second). Its pseudo-random
// source is its own, started as the program's is once the window has drawn its
// two values.
class TestClockShell : public WindowShell {
 public:
  explicit TestClockShell(const WindowShellOptions& options) : WindowShell(options) {
    random_.Next();
    random_.Next();
  }
  void InitClock() override {}
  double ReadClock() override { return now_; }
  int32_t NextRandom() override { return random_.Next(); }
  void Advance() { now_ += kTestFrameSeconds; }

 private:
  double now_ = 1000;
  RandomSource random_;
};

// One run of the demo with actions after chosen frames; DemoOutput is captured.
class DemoRun {
 public:
  explicit DemoRun(const char* dataFolder = DF_DEMO_DATA) {
    options.DataFolder = dataFolder;
    options.MaxFrames = 40;  // a backstop: every test ends earlier or means to run this long
    options.AfterPaint = &DemoRun::After;
    options.Context = this;
    shapes.reserve(kRecordedFrames);
    views.reserve(kRecordedFrames);
  }
  int Run(bool testClock = false) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* saved = DemoOutput;
    DemoOutput = open_memstream(&buffer, &size);
    const uint64_t before = MemoryInUse.load();
    std::unique_ptr<WindowShell> shell;
    if (testClock) {
      clock_ = new TestClockShell(options);
      shell.reset(clock_);
    } else {
      shell = std::make_unique<WindowShell>(options);
    }
    const int result = DemoMain(shell.get());
    frames = shell->FramesPainted();
    clock_ = nullptr;
    memoryBefore = before;
    memoryAfter = MemoryInUse.load();
    std::fclose(DemoOutput);
    DemoOutput = saved;
    output.assign(buffer, size);
    std::free(buffer);
    return result;
  }
  static void After(void* context, int32_t frame) {
    auto* run = static_cast<DemoRun*>(context);
    run->shapes.push_back(ShapeMode);
    run->views.push_back(ViewMode);
    auto action = run->actions.find(frame);
    if (action != run->actions.end()) action->second();
    if (run->clock_) run->clock_->Advance();
  }

  WindowShellOptions options;
  std::map<int32_t, std::function<void()>> actions;
  std::vector<int32_t> shapes, views;  // the modes of each painted frame
  std::string output;
  int32_t frames = 0;
  uint64_t memoryBefore = 0, memoryAfter = 0;

 private:
  TestClockShell* clock_ = nullptr;
};

inline uint32_t WindowId() {
  return GetPlatformWindowId(MainWindow());
}

inline void Push(SDL_Event e) {
  ASSERT_EQ(SDL_PushEvent(&e), 1);
}

inline void PushMotion(int32_t x, int32_t y, uint32_t state) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = WindowId();
  e.motion.state = state;
  e.motion.x = x;
  e.motion.y = y;
  Push(e);
}

inline void PushButton(uint32_t type, int32_t x, int32_t y, uint8_t button = SDL_BUTTON_LEFT) {
  SDL_Event e{};
  e.type = type;
  e.button.windowID = WindowId();
  e.button.button = button;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  Push(e);
}

inline void PushKey(uint32_t type, SDL_Keycode key) {
  SDL_Event e{};
  e.type = type;
  e.key.windowID = WindowId();
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  Push(e);
}

inline void PushEscape() {
  PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
  PushKey(SDL_KEYUP, SDLK_ESCAPE);
}

inline C_Widget* Option(const char* name) {
  return DemoDesktop && DemoDesktop->Root
             ? DemoDesktop->Root->FindWidget(name, 0, kOptionKind, true)
             : nullptr;
}

inline void ClickOption(const char* name) {
  C_Widget* option = Option(name);
  ASSERT_NE(option, nullptr) << name;
  const int32_t x = int32_t((option->Resolved.X1 + option->Resolved.X2) / 2);
  const int32_t y = int32_t((option->Resolved.Y1 + option->Resolved.Y2) / 2);
  PushMotion(x, y, 0);
  PushButton(SDL_MOUSEBUTTONDOWN, x, y);
  PushButton(SDL_MOUSEBUTTONUP, x, y);
}

inline const C_Image* BackBuffer() {
  C_Surface* target = MainDrawing() ? MainDrawing()->GetTarget() : nullptr;
  return target ? target->FindImage(1) : nullptr;
}

inline uint32_t PixelAt(int32_t x, int32_t y) {
  const C_Image* image = BackBuffer();
  if (!image || x < 0 || y < 0 || x >= image->Width || y >= image->Height) return 0xFFFFFFFF;
  const uint8_t* p = image->RowAddress(y) + 4 * x;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// A data folder of links to the files the build assembles, made afresh under
// <test output>/app/<tag>: each file under its own name, except that a name mapped
// in `links` shows the file it maps to (a path in the built data folder, or an
// absolute one) and a name mapped to "" is left out.
inline std::string DataFolder(const char* tag, const std::map<std::string, std::string>& links) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(DF_TEST_OUTPUT_DIR) / "app" / tag;
  fs::remove_all(folder);
  fs::create_directories(folder / "widgets");
  const fs::path data(DF_DEMO_DATA);
  for (const auto& entry : fs::recursive_directory_iterator(data)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = fs::relative(entry.path(), data).string();
    const auto link = links.find(name);
    if (link == links.end()) {
      fs::create_symlink(entry.path(), folder / name);
    } else if (!link->second.empty()) {
      fs::create_symlink(data / link->second, folder / name);
    }
  }
  return folder.string() + "/";
}

}  // namespace demo_run
