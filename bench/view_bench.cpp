// The bump view with its display copy, two ways: the copy converted in the bands
// that make the view's rows, a few rows after they are made, against the whole
// conversion after the view; the view alone with the widest kernels and with
// AVX2 ones; the overlay's copy of the view and the present with their rows
// shared; a memcpy of the view's bytes as the yardstick. Argument: the thread
// count (one, and all cores).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/app/reference_generators.h"
#include "app/generators.h"
#include "app/normal_map.h"
#include "bench/interleaved_runs.h"
#include "core/random.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/surface.h"
#include "platform/window.h"
#include "thread/worker_pool.h"

namespace {

constexpr int32_t kSide = 512;

struct ViewImages {
  C_Image Height, Normal, Shaded, Copy;
  ViewImages() {
    Height.Create(kSide, pixel_format::Grey16, kSide);
    Normal.Create(kSide, pixel_format::R8G8B8A8, kSide);
    Shaded.Create(kSide, pixel_format::R8G8B8A8, kSide);
    Copy.Create(kSide, pixel_format::A8R8G8B8, kSide);
    // One frame of the noise, as the demo shows it (the kernels' speed depends
    // a little on the slopes).
    C_Image base, temp;
    base.Create(kSide, pixel_format::Grey16, kSide);
    temp.Create(kSide, pixel_format::Grey16, kSide);
    std::vector<PhasePair> table(kPhaseCount);
    RandomSource random;
    for (PhasePair& pair : table) {
      pair.Phase = random.Next() * 100;
      pair.Speed = random.Next() % 768 + 512;
    }
    reference::PerlinFrame(table.data(), &base, &temp, &Height);
  }
};

const C_Vector3D kLight(-128, -128, 256);

class PoolThreads {
 public:
  explicit PoolThreads(const benchmark::State& state) {
    Workers.Stop();
    Workers.Start(int32_t(state.range(0)));
  }
  ~PoolThreads() { Workers.Stop(); }
};

void CopyRows(void* context, int32_t first, int32_t end) {
  auto* images = static_cast<ViewImages*>(context);
  ConvertPixelRows(&images->Copy, &images->Shaded, first, end);
}

void BM_BumpViewCopiedInItsBands(benchmark::State& state) {
  PoolThreads pool(state);
  ViewImages images;
  const RowsMade copy{CopyRows, &images};
  for (auto _ : state) {
    BuildNormalMapAndShade(&images.Height, &images.Normal, &images.Shaded, kLight, copy);
  }
}

void BM_BumpViewCopiedAfter(benchmark::State& state) {
  PoolThreads pool(state);
  ViewImages images;
  for (auto _ : state) {
    BuildNormalMapAndShade(&images.Height, &images.Normal, &images.Shaded, kLight);
    ConvertPixels(&images.Copy, &images.Shaded);
  }
}

void BM_BumpViewAlone(benchmark::State& state) {
  PoolThreads pool(state);
  ViewImages images;
  for (auto _ : state) {
    BuildNormalMapAndShade(&images.Height, &images.Normal, &images.Shaded, kLight);
  }
}

void BM_Memcpy512x512x4(benchmark::State& state) {
  std::vector<uint8_t> from(size_t(kSide) * kSide * 4, 1), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

// The view alone with the kernels limited to AVX2, against the widest ones above.
void BM_BumpViewAvx2(benchmark::State& state) {
  PoolThreads pool(state);
  ViewImages images;
  LimitViewVectorBits(256);
  for (auto _ : state) {
    BuildNormalMapAndShade(&images.Height, &images.Normal, &images.Shaded, kLight);
  }
  LimitViewVectorBits(512);
}

// The back buffer shown in a headless window, its rows shared as the demo shares
// them (through the installed row splitter).
void BM_Present(benchmark::State& state) {
  PoolThreads pool(state);
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  C_Window window;
  window.Placement = C_Rect(0, 0, 800, 600);
  window.Open();
  if (!window.Opened) {
    state.SkipWithError("no window");
    return;
  }
  C_Image back;
  back.Create(800, pixel_format::A8R8G8B8, 600);
  back.BottomUp = 1;
  std::memset(back.Pixels, 0x5A, size_t(back.PixelBytes));
  const RowSplitter before = SetRowSplitter(RunOnWorkers);
  for (auto _ : state) {
    ShowImage(&back, &window, C_Vector2D(0, 0));
    benchmark::ClobberMemory();
  }
  SetRowSplitter(before);
  window.Close();
}

// The overlay's copy of the view's display copy into the back buffer, its rows
// shared as the demo shares them.
void BM_ViewBlit(benchmark::State& state) {
  PoolThreads pool(state);
  C_Image* view = new C_Image();
  view->Create(kSide, pixel_format::A8R8G8B8, kSide);
  std::memset(view->Pixels, 0x3C, size_t(view->PixelBytes));
  C_Image* back = new C_Image();
  back->Create(800, pixel_format::A8R8G8B8, 600);
  back->BottomUp = 1;
  C_Surface source, target;
  source.SetChannel(view, kColorChannel);
  target.SetChannel(back, kColorChannel);
  const RowSplitter before = SetRowSplitter(RunOnWorkers);
  for (auto _ : state) {
    DrawSurface(&source, &target, nullptr, nullptr, nullptr, C_Vector2D(144, 30), nullptr, nullptr);
    benchmark::ClobberMemory();
  }
  SetRowSplitter(before);
}

void ThreadCounts(benchmark::internal::Benchmark* b) {
  b->ArgName("threads")->Arg(1);
  if (PoolThreadCount() > 1) b->Arg(PoolThreadCount());
  b->UseRealTime()->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_BumpViewCopiedInItsBands)->Apply(ThreadCounts);
BENCHMARK(BM_BumpViewCopiedAfter)->Apply(ThreadCounts);
BENCHMARK(BM_BumpViewAlone)->Apply(ThreadCounts);
BENCHMARK(BM_BumpViewAvx2)->Apply(ThreadCounts);
BENCHMARK(BM_ViewBlit)->Apply(ThreadCounts);
BENCHMARK(BM_Present)->Apply(ThreadCounts);
BENCHMARK(BM_Memcpy512x512x4)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunInterleaved(argc, argv);
}
