// The demo's headless frame (message step, clearing, generator, view) in each of
// the nine mode pairs, with one thread and with all cores, beside the yardsticks
// of the same run: a memcpy of one 800 x 600 32-bit frame and libnoise's
// six-octave Perlin over the same 512 x 512 pixels. With --checksums it prints the
// four frame checksums instead (one per line, hex).
#include <benchmark/benchmark.h>
#include <libnoise/noise.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/demo_main.h"
#include "app/demo_shell.h"
#include "app/demo_state.h"
#include "app/frame_checksums.h"
#include "app/headless_shell.h"
#include "thread/worker_pool.h"

namespace {

// A shell whose frame loop is the benchmark's loop: one frame per iteration, in
// one pair of modes, showing nothing.
class BenchShell : public DemoShell {
 public:
  BenchShell(benchmark::State& state, int32_t shape, int32_t view)
      : state_(state), shape_(shape), view_(view) {}
  bool StartFirstPhase() override {
    // The window's two values, as in the demo.
    NextRandom();
    NextRandom();
    return true;
  }
  void StartSecondPhase() override {}
  void InitClock() override {}
  double ReadClock() override { return SteadyClockSeconds(); }
  bool MessageStep() override { return state_.KeepRunning(); }
  void OptionStep(int32_t& shape, int32_t& view) override {
    shape = shape_;
    view = view_;
  }
  void PaintStep() override {}
  void CloseFirstPhase() override {}
  void DeleteSecondPhase() override {}

 private:
  benchmark::State& state_;
  int32_t shape_, view_;
};

// Arguments: the mode pair (shape * 3 + view) and the thread count.
void BM_Frame(benchmark::State& state) {
  Workers.Stop();
  Workers.Start(int32_t(state.range(1)));
  BenchShell shell(state, int32_t(state.range(0)) / 3, int32_t(state.range(0)) % 3);
  FILE* output = DemoOutput;
  DemoOutput = nullptr;
  if (DemoMain(&shell) != 1) state.SkipWithError("the demo did not run");
  DemoOutput = output;
  Workers.Stop();
}

void BM_MemcpyFrame800x600x4(benchmark::State& state) {
  std::vector<uint8_t> from(800 * 600 * 4, 1), to(800 * 600 * 4);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyFrame800x600x4)->Unit(benchmark::kMicrosecond);

void BM_LibnoisePerlin(benchmark::State& state) {
  noise::module::Perlin perlin;
  perlin.SetOctaveCount(6);
  std::vector<float> out(512 * 512);
  double z = 0;
  for (auto _ : state) {
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x)
        out[y * 512 + x] = float(perlin.GetValue(x / 64.0, y / 64.0, z));
    z += 0.01;
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_LibnoisePerlin)->Unit(benchmark::kMicrosecond);

void RegisterFrames() {
  const int32_t all = PoolThreadCount();
  for (int32_t mode = 0; mode < 9; ++mode) {
    for (int32_t threads : {1, all}) {
      std::string name = std::string("BM_Frame/") + ShapeName(mode / 3) + "/" + ViewName(mode % 3);
      for (char& c : name) c = c == ' ' ? '_' : c;
      name += "/threads:" + std::to_string(threads);
      benchmark::RegisterBenchmark(name.c_str(), BM_Frame)
          ->Args({mode, threads})
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime();
      if (all == 1) break;
    }
  }
}

int PrintChecksums() {
  FrameChecksums sums;
  if (!ComputeFrameChecksums(sums)) {
    std::fprintf(stderr, "frame_bench: the checksum run failed\n");
    return 1;
  }
  std::printf("HeightImage frame 1: %08x\n", sums.HeightFrame1);
  std::printf("HeightImage frame 2: %08x\n", sums.HeightFrame2);
  std::printf("NormalImage frame 1: %08x\n", sums.NormalFrame1);
  std::printf("ShadedImage frame 1: %08x\n", sums.ShadedFrame1);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--checksums") == 0) return PrintChecksums();
  }
  RegisterFrames();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
