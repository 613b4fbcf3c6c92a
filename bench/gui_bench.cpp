// The gallery's widget tree on a desktop: one layout + paint pass into the
// 800 x 600 back buffer, one layout alone, and one hit test, against a memcpy of
// the back buffer in the same run (each pass also as memcpy_units: its processor
// time over that of one memcpy measured in this run). The widgets and their drawing interfaces are
// made once, before the timed loops.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "core/collection.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/color.h"
#include "image/surface.h"
#include "platform/window.h"
#include "tests/font/font_test_support.h"
#include "widget/desktop.h"
#include "widget/gallery.h"

namespace {

constexpr uint32_t kWidth = 800;
constexpr uint32_t kHeight = 600;

// A desktop with the gallery, prepared, on a root interface over an 800 x 600
// back buffer; no window is opened.
struct Scene {
  Scene() {
    api.Configure(kWidth, kHeight, 32, 0, 0, 0);
    window.Owner.Area = C_Rect(0.0f, 0.0f, 800.0f, 600.0f, 0, 0);
    window.Owner.Active = 1;
    api.Attach(&window.Owner);
    api.Open();
    font = font_test::MakeBoxFont();
    fonts.Append(font.get());
    desktop.InstallHandlers(&api);
    desktop.Fonts = &fonts;
    desktop.BindResources();
    desktop.CreatePage();
    gallery = BuildGallery(desktop, "Boxes");
    desktop.PrepareAll();
    desktop.Layout();
  }
  ~Scene() {
    desktop.UnprepareAll();
    desktop.Release();
    desktop.Init();
    fonts.Release();
  }
  C_Window window;
  C_GraphicApi api;
  std::unique_ptr<C_Font> font;
  C_Collection fonts;
  C_Desktop desktop;
  Gallery gallery;
};

const C_Color kBackdrop(0.2f, 0.4f, 0.3f, 1);

// This thread's processor time: on a quiet host the same as the wall clock, and on
// a busy one it leaves out the time other programs took the core.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// One memcpy of the back buffer's bytes, the median of many, measured once in
// this run: the unit the passes are reported in.
double MemcpySeconds() {
  static const double seconds = [] {
    const size_t bytes = size_t{kWidth} * kHeight * 4;
    std::vector<uint8_t> source(bytes, 0x5A), target(bytes);
    std::vector<double> times;
    for (int i = 0; i < 101; ++i) {
      const double t0 = ThreadSeconds();
      std::memcpy(target.data(), source.data(), bytes);
      benchmark::DoNotOptimize(target.data());
      times.push_back(ThreadSeconds() - t0);
    }
    std::nth_element(times.begin(), times.begin() + 50, times.end());
    return times[50];
  }();
  return seconds;
}

// Runs pass once per iteration and reports its mean processor time in memcpy units.
template <typename Pass>
void TimeInUnits(benchmark::State& state, Pass pass) {
  const double unit = MemcpySeconds();
  const double t0 = ThreadSeconds();
  for (auto _ : state) pass();
  const double total = ThreadSeconds() - t0;
  if (state.iterations() > 0) {
    state.counters["memcpy_units"] = total / double(state.iterations()) / unit;
  }
}

// The desktop's passes alone: the application clears the back buffer itself, and
// that clear is measured on its own below.
void BM_LayoutAndPaint(benchmark::State& state) {
  Scene scene;
  scene.api.BeginDraw();
  scene.api.Clear(&kBackdrop);
  TimeInUnits(state, [&] {
    scene.desktop.Layout();
    scene.desktop.Paint();
    benchmark::ClobberMemory();
  });
  scene.api.EndDraw();
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_LayoutAndPaint);

void BM_ClearBackBuffer(benchmark::State& state) {
  Scene scene;
  scene.api.BeginDraw();
  TimeInUnits(state, [&] {
    scene.api.Clear(&kBackdrop);
    benchmark::ClobberMemory();
  });
  scene.api.EndDraw();
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_ClearBackBuffer);

void BM_Layout(benchmark::State& state) {
  Scene scene;
  TimeInUnits(state, [&] {
    scene.desktop.Layout();
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_Layout);

// The pointer over a button in the scroll space: the deepest part of the tree.
void BM_HitTest(benchmark::State& state) {
  Scene scene;
  const C_Rect& r = scene.gallery.SpaceChildren[1]->Resolved;
  const C_Vector2D at((r.X1 + r.X2) / 2, (r.Y1 + r.Y2) / 2);
  TimeInUnits(state, [&] { benchmark::DoNotOptimize(scene.desktop.HitTest(at)); });
}
BENCHMARK(BM_HitTest);

void BM_MemcpyBackBuffer(benchmark::State& state) {
  const size_t bytes = size_t{kWidth} * kHeight * 4;
  std::vector<uint8_t> source(bytes, 0x5A);
  std::vector<uint8_t> target(bytes);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), bytes);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}
BENCHMARK(BM_MemcpyBackBuffer);

}  // namespace
