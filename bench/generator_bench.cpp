// The per-frame generators and views against their step-by-step references (same
// build flags), the Perlin Noise frame against libnoise's 6-octave Perlin over the
// same 512 x 512 pixels, and memcpy of 512 x 512 x 4 bytes as the yardstick. Our
// own measures run with one thread and with all cores (argument: the thread
// count), beside the worker pool's wake-up and the display copy of each view.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "../tests/app/reference_generators.h"
#include "app/fill_bands.h"
#include "app/generators.h"
#include "app/normal_map.h"
#include "bench/interleaved_runs.h"
#include "bench/libnoise_peer.h"
#include "core/random.h"
#include "graphics/geometry/color.h"
#include "image/image_ops.h"
#include "thread/worker_pool.h"

namespace {

struct Scene {
  C_Image Lump, Blob, Height, Base, Temp, Normal, Shaded;
  std::vector<PhasePair> Table = std::vector<PhasePair>(kPhaseCount);
  Particle Particles[kLumpCount];

  Scene() {
    Lump.Create(100, pixel_format::Grey16, 100);
    Blob.Create(300, pixel_format::Grey16, 300);
    MakeLumpShape(&Lump);
    MakeBlobShape(&Blob);
    for (C_Image* image : {&Height, &Base, &Temp}) {
      image->Create(512, pixel_format::Grey16, 512);
      std::memset(image->Pixels, 0, size_t(image->PixelBytes));
    }
    Normal.Create(512, pixel_format::R8G8B8A8, 512);
    Shaded.Create(512, pixel_format::R8G8B8A8, 512);
    RandomSource random;
    for (PhasePair& pair : Table) {
      pair.Phase = random.Next() * 100;
      pair.Speed = random.Next() % 768 + 512;
    }
    for (Particle& p : Particles) {
      const float x = float(random.Next() % 512);
      p.Start = C_Vector2D(x, float(random.Next() % 512));
      p.Velocity = C_Vector2D(100, 0);
      p.Velocity.RotateDegrees(float(random.Next() % 360));
    }
    // A varied height field for the views: one noise frame.
    reference::PerlinFrame(Table.data(), &Base, &Temp, &Height);
  }
  // As the demo cleared it before its generators made it black themselves: in
  // bands of rows on the pool, each band on the thread that generates those rows
  // next.
  void ClearHeight() { FillImageInBands(&Height, C_Color::FromBytes(0, 0, 0)); }
};

double FixedTime(void*) {
  return 3.25;
}

// The process's pool with the benchmark's thread count, for one benchmark.
class PoolThreads {
 public:
  // The thread count is the benchmark's argument number `argument`.
  explicit PoolThreads(const benchmark::State& state, int32_t argument = 0) {
    Workers.Stop();
    Workers.Start(int32_t(state.range(argument)));
  }
  ~PoolThreads() { Workers.Stop(); }
};

// One thread, and all cores (DF_WORKERS or one thread per core).
void ThreadCounts(benchmark::internal::Benchmark* b) {
  b->ArgName("threads")->Arg(1);
  if (PoolThreadCount() > 1) b->Arg(PoolThreadCount());
  b->UseRealTime()->Unit(benchmark::kMicrosecond);
}
// The same, each with a clearing pass first (start:0) and starting black (start:1).
void ThreadCountsAndStarts(benchmark::internal::Benchmark* b) {
  b->ArgNames({"threads", "start"});
  for (int64_t start : {0, 1}) {
    b->Args({1, start});
    if (PoolThreadCount() > 1) b->Args({PoolThreadCount(), start});
  }
  b->UseRealTime()->Unit(benchmark::kMicrosecond);
}

// The frames as the demo runs them (argument start 1: the generator makes the
// field black itself) and as it did with a clearing pass first (start 0).
HeightStart FrameStart(benchmark::State& state, Scene& s) {
  if (state.range(1) != 0) return HeightStart::Black;
  s.ClearHeight();
  return HeightStart::Kept;
}

void BM_LumpsFrame(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  for (auto _ : state) {
    const HeightStart start = FrameStart(state, s);
    DrawLumps(&s.Lump, &s.Height, s.Particles, 0, ClockSource{FixedTime, nullptr}, start);
    benchmark::ClobberMemory();
  }
}
void BM_LumpsFrameReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    reference::DrawParticles(&s.Lump, &s.Height, s.Particles, 200, 3.25f, reference::StampMax);
    benchmark::ClobberMemory();
  }
}
void BM_BlobsFrame(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  for (auto _ : state) {
    const HeightStart start = FrameStart(state, s);
    DrawBlobs(&s.Blob, &s.Height, s.Particles, 0, ClockSource{FixedTime, nullptr}, start);
    benchmark::ClobberMemory();
  }
}
void BM_BlobsFrameReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    reference::DrawParticles(&s.Blob, &s.Height, s.Particles, 60, 3.25f, reference::StampAddFold);
    benchmark::ClobberMemory();
  }
}
void BM_PerlinFrame(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  for (auto _ : state) {
    const HeightStart start = FrameStart(state, s);
    AdvanceAndRefreshNoiseBase(s.Table.data(), kPhaseCount, &s.Base);
    AddNoiseOctaves(&s.Base, &s.Temp, &s.Height, start);
    benchmark::ClobberMemory();
  }
}
// The Perlin Noise frame's two parts: the phase table's advance with the refresh
// of the noise base, and the six octaves.
void BM_NoiseRefresh(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  for (auto _ : state) {
    AdvanceAndRefreshNoiseBase(s.Table.data(), kPhaseCount, &s.Base);
    benchmark::ClobberMemory();
  }
}
void BM_NoiseOctaves(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  for (auto _ : state) {
    AddNoiseOctaves(&s.Base, &s.Temp, &s.Height);
    benchmark::ClobberMemory();
  }
}
void BM_PerlinFrameReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.ClearHeight();
    reference::PerlinFrame(s.Table.data(), &s.Base, &s.Temp, &s.Height);
    benchmark::ClobberMemory();
  }
}
void BM_BuildNormalMap(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  for (auto _ : state) {
    BuildNormalMap(&s.Height, &s.Normal);
    benchmark::ClobberMemory();
  }
}
void BM_BuildNormalMapReference(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    reference::BuildNormalMap(&s.Height, &s.Normal);
    benchmark::ClobberMemory();
  }
}
void BM_ShadeBump(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  BuildNormalMap(&s.Height, &s.Normal);
  for (auto _ : state) {
    ShadeBump(&s.Normal, &s.Shaded, C_Vector3D(-128, -128, 256));
    benchmark::ClobberMemory();
  }
}
void BM_ShadeBumpReference(benchmark::State& state) {
  Scene s;
  BuildNormalMap(&s.Height, &s.Normal);
  for (auto _ : state) {
    reference::ShadeBump(&s.Normal, &s.Shaded, C_Vector3D(-128, -128, 256));
    benchmark::ClobberMemory();
  }
}
// The driver's BumpMapping view: both of the above in one sweep over the rows.
void BM_BuildNormalMapAndShade(benchmark::State& state) {
  PoolThreads pool(state);
  Scene s;
  for (auto _ : state) {
    BuildNormalMapAndShade(&s.Height, &s.Normal, &s.Shaded, C_Vector3D(-128, -128, 256));
    benchmark::ClobberMemory();
  }
}
void BM_Memcpy512x512x4(benchmark::State& state) {
  std::vector<uint8_t> from(512 * 512 * 4, 1), to(512 * 512 * 4);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_LumpsFrame)->Apply(ThreadCountsAndStarts);
BENCHMARK(BM_LumpsFrameReference)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlobsFrame)->Apply(ThreadCountsAndStarts);
BENCHMARK(BM_BlobsFrameReference)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PerlinFrame)->Apply(ThreadCountsAndStarts);
BENCHMARK(BM_NoiseRefresh)->Apply(ThreadCounts);
BENCHMARK(BM_NoiseOctaves)->Apply(ThreadCounts);
BENCHMARK(BM_PerlinFrameReference)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibnoisePerlin)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildNormalMap)->Apply(ThreadCounts);
BENCHMARK(BM_BuildNormalMapReference)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShadeBump)->Apply(ThreadCounts);
BENCHMARK(BM_ShadeBumpReference)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildNormalMapAndShade)->Apply(ThreadCounts);
BENCHMARK(BM_Memcpy512x512x4)->UseRealTime()->Unit(benchmark::kMicrosecond);

// One call of the pool with nothing to do but wake every thread and wait for it:
// back to back, as the calls of a frame come.
void BM_PoolWake(benchmark::State& state) {
  PoolThreads pool(state);
  const int32_t threads = Workers.Threads();
  auto nothing = [](int32_t first, int32_t end) { benchmark::DoNotOptimize(first + end); };
  for (auto _ : state) Workers.Bands(threads, nothing);
}
BENCHMARK(BM_PoolWake)->Apply(ThreadCounts)->Unit(benchmark::kNanosecond);

// The same after the threads have gone to sleep (a pause longer than their spin);
// only the call is timed. A caller that finds no worker awake in time does the
// bands itself, so this is at most the cost of the wake-up call.
void BM_PoolWakeFromSleep(benchmark::State& state) {
  PoolThreads pool(state);
  const int32_t threads = Workers.Threads();
  auto nothing = [](int32_t first, int32_t end) { benchmark::DoNotOptimize(first + end); };
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::microseconds(300));
    const auto start = std::chrono::steady_clock::now();
    Workers.Bands(threads, nothing);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_PoolWakeFromSleep)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(PoolThreadCount())
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kNanosecond);

// The display copy of each view: the shown 512 x 512 image converted into the
// 32-bit format of the back buffer, its rows shared on the pool as in the demo.
// Arguments: the view (0 the height field, 1 the shaded image), the thread count.
void BM_DisplayCopy(benchmark::State& state) {
  PoolThreads pool(state, 1);
  const RowSplitter before = SetRowSplitter(RunOnWorkers);
  Scene s;
  BuildNormalMapAndShade(&s.Height, &s.Normal, &s.Shaded, C_Vector3D(-128, -128, 256));
  const C_Image* shown = state.range(0) == 0 ? &s.Height : &s.Shaded;
  C_Image copy;
  copy.Create(512, pixel_format::A8R8G8B8, 512);
  for (auto _ : state) {
    ConvertPixels(&copy, shown);
    benchmark::ClobberMemory();
  }
  SetRowSplitter(before);
}
BENCHMARK(BM_DisplayCopy)
    ->ArgNames({"grey16_or_rgba", "threads"})
    ->ArgsProduct({{0, 1}, {1, PoolThreadCount()}})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunInterleaved(argc, argv);
}
