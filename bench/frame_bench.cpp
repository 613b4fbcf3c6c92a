// The demo's frames, two ways. First the real window shell on the platform's
// display-less driver (full overlay, widgets and present) in each of the nine mode
// pairs, with one thread and with all cores (five runs of each, interleaved): the
// median frame time, also in units of one memcpy of an 800 x 600 32-bit frame
// measured in the same run and, for all cores, as a ratio to one thread, and the
// mean time of its parts: generation (with the height field's clearing, which
// Lumps and Blobs do band by band and Perlin Noise leaves out), the view (in
// Perlin Noise with the phase table's advance and the noise base's refresh, which
// the generation rate leaves out), the display copy's conversion, the overlay's
// drawing, the widgets' painting and the present. Then, as Google Benchmark
// runs, the headless frame (message step, generator, view) in each pair
// with one thread and with all cores, beside a memcpy of one frame and libnoise's
// six-octave Perlin over the same 512 x 512 pixels. --data DIR names the data
// folder (default: beside the program); --checksums prints the four frame
// checksums instead (one per line, hex); --pairs LIST limits the tables to the
// mode pairs listed (digits 0..8, shape * 3 + view: "012" the Lumps pairs).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/demo_gui.h"
#include "app/demo_main.h"
#include "app/demo_shell.h"
#include "app/demo_state.h"
#include "app/frame_checksums.h"
#include "app/headless_shell.h"
#include "app/window_shell.h"
#include "bench/interleaved_runs.h"
#include "bench/libnoise_peer.h"
#include "graphics/api/graphic_api.h"
#include "image/surface.h"
#include "platform/clock.h"
#include "platform/program_env.h"
#include "program/data_folder.h"
#include "thread/worker_pool.h"

namespace {

constexpr int32_t kWarmUpFrames = 20;
constexpr int32_t kFramesPerPair = 200;
constexpr int32_t kPairs = 9;
constexpr int32_t kBreakdownRuns = 5;
constexpr size_t kFrameBytes = 800 * 600 * 4;
constexpr int32_t kCopies = 200;

enum Part { Generation, View, DisplayCopy, Overlay, Widgets, Present, kPartCount };
const char* const kPartNames[kPartCount] = {"generation", "view",    "display copy",
                                            "overlay",    "widgets", "present"};

// One frame's parts in seconds, and the whole frame.
struct FrameTimes {
  double Parts[kPartCount] = {};
  double Whole = 0;
};

// A window shell whose steps time the parts of each frame. The display copy is
// timed where the frame makes it, through the view surfaces' update hook, and
// taken from the time between the option step and the paint step.
class TimingShell : public WindowShell {
 public:
  TimingShell(const WindowShellOptions& options, std::vector<FrameTimes>& frames)
      : WindowShell(options), frames_(frames) {}

  void StartSecondPhase() override {
    WindowShell::StartSecondPhase();
    if (MainDrawing()) MainDrawing()->PaintHandler = &TimedPaint;
    // The view surfaces share the interface's update function; it is timed in turn.
    for (C_Surface* surface : {HeightSurface, NormalSurface, ShadedSurface}) {
      if (!surface || !surface->UpdateHook || surface->UpdateHook == &TimedUpdate) continue;
      update_ = surface->UpdateHook;
      surface->UpdateHook = &TimedUpdate;
    }
  }
  bool MessageStep() override {
    if (painted_) RecordFrame();
    return WindowShell::MessageStep();
  }
  void OptionStep(int32_t& shapeMode, int32_t& viewMode) override {
    frameStart_ = ::ReadClock();
    copy_ = 0;
    WindowShell::OptionStep(shapeMode, viewMode);
    optionEnd_ = ::ReadClock();
  }
  void PaintStep() override {
    paintStart_ = ::ReadClock();
    WindowShell::PaintStep();
    paintEnd_ = ::ReadClock();
    painted_ = true;
  }

  static double overlay_, widgets_, present_, copy_;
  static SurfaceHook update_;

 private:
  static bool TimedUpdate(C_Surface* surface, int32_t key) {
    const double t0 = ::ReadClock();
    const bool updated = update_(surface, key);
    copy_ += ::ReadClock() - t0;
    return updated;
  }
  static bool TimedPaint(C_GraphicApi* api) {
    const double t0 = ::ReadClock();
    DrawOverlay(api);
    const double t1 = ::ReadClock();
    PaintWidgets();
    const double t2 = ::ReadClock();
    const bool shown = api->Present();
    const double t3 = ::ReadClock();
    overlay_ = t1 - t0;
    widgets_ = t2 - t1;
    present_ = t3 - t2;
    return shown;
  }
  void RecordFrame() {
    painted_ = false;
    const double copy = copy_;
    FrameTimes t;
    const double generation = GenerationRate > 0 ? 1.0 / GenerationRate : 0;
    t.Parts[Generation] = generation;
    t.Parts[DisplayCopy] = copy;
    t.Parts[View] = std::max(0.0, paintStart_ - optionEnd_ - generation - copy);
    t.Parts[Overlay] = overlay_;
    t.Parts[Widgets] = widgets_;
    t.Parts[Present] = present_;
    t.Whole = paintEnd_ - frameStart_;
    frames_.push_back(t);
  }

  std::vector<FrameTimes>& frames_;
  bool painted_ = false;
  double frameStart_ = 0, optionEnd_ = 0, paintStart_ = 0, paintEnd_ = 0;
};
double TimingShell::overlay_ = 0;
double TimingShell::widgets_ = 0;
double TimingShell::present_ = 0;
double TimingShell::copy_ = 0;
SurfaceHook TimingShell::update_ = nullptr;

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MemcpySeconds() {
  std::vector<unsigned char> from(kFrameBytes, 1), to(kFrameBytes, 0);
  std::vector<double> times;
  for (int32_t i = 0; i < kCopies; ++i) {
    const double t0 = ::ReadClock();
    std::memcpy(to.data(), from.data(), kFrameBytes);
    times.push_back(::ReadClock() - t0);
    from[size_t(i) % kFrameBytes] = to[size_t(i * 7) % kFrameBytes];
  }
  return Median(times);
}

// Runs the demo quietly on a pool of its own of threads threads (DF_WORKERS), as
// the program does: with more than one, the driver chooses per mode pair whether
// its frames share their rows.
int RunWithThreads(DemoShell* shell, int32_t threads) {
  Workers.Stop();
  const std::string count = std::to_string(threads);
  setenv("DF_WORKERS", count.c_str(), 1);
  const int result = DemoMainQuietly(shell);
  unsetenv("DF_WORKERS");
  return result;
}

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
  BenchShell shell(state, int32_t(state.range(0)) / 3, int32_t(state.range(0)) % 3);
  if (RunWithThreads(&shell, int32_t(state.range(1))) != 1) {
    state.SkipWithError("the demo did not run");
  }
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

// One pair's frames with one thread count: the median frame and the mean of each
// part, in seconds.
struct PairTimes {
  double Frame = 0;
  double Parts[kPartCount] = {};
};

bool RunPair(const char* dataFolder, int32_t threads, int32_t pair, PairTimes& times) {
  std::vector<FrameTimes> frames;
  frames.reserve(kWarmUpFrames + kFramesPerPair + 2);
  WindowShellOptions options;
  options.DataFolder = dataFolder;
  options.MaxFrames = kWarmUpFrames + kFramesPerPair;
  options.InitialShape = pair / 3;
  options.InitialView = pair % 3;
  TimingShell shell(options, frames);
  const int result = RunWithThreads(&shell, threads);
  if (result != 1 || int32_t(frames.size()) <= kWarmUpFrames) {
    std::fprintf(stderr, "frame_bench: the demo did not run (data in %s?)\n", dataFolder);
    return false;
  }
  frames.erase(frames.begin(), frames.begin() + kWarmUpFrames);
  std::vector<double> whole;
  for (const FrameTimes& t : frames) {
    whole.push_back(t.Whole);
    for (int32_t p = 0; p < kPartCount; ++p) times.Parts[p] += t.Parts[p] / double(frames.size());
  }
  times.Frame = Median(whole);
  return true;
}

// One table of the nine pairs for a thread count: the median frame, in µs and
// in memcpy units, and the mean of each part in µs (the message and option steps
// are in the frame only).
// With a baseline (the one-thread table), each frame also as a ratio to it.
void PrintTable(int32_t threads, const PairTimes (&pairs)[kPairs], const bool (&chosen)[kPairs],
                double copy, const PairTimes (*baseline)[kPairs]) {
  std::printf("\n%d thread%s: %-14s %9s %7s %6s", threads, threads == 1 ? " " : "s", "pair",
              "frame µs", "units", baseline ? "vs 1" : "");
  for (const char* name : kPartNames) std::printf(" %12s", name);
  std::printf("\n");
  for (int32_t pair = 0; pair < kPairs; ++pair) {
    if (!chosen[pair]) continue;
    char name[64];
    std::snprintf(name, sizeof name, "%s, %s", ShapeName(pair / 3), ViewName(pair % 3));
    std::printf("%-26s %9.0f %7.2f", name, pairs[pair].Frame * 1e6, pairs[pair].Frame / copy);
    if (baseline) {
      std::printf(" %6.2f", pairs[pair].Frame / (*baseline)[pair].Frame);
    } else {
      std::printf(" %6s", "");
    }
    for (double part : pairs[pair].Parts) std::printf(" %12.0f", 1e6 * part);
    std::printf("\n");
  }
}

// The tables for one thread and for all cores. The pairs run one after the other,
// each with one thread and then with all cores, so that a drift of the host's
// speed falls on both tables alike.
int PrintBreakdowns(const char* dataFolder, const bool (&chosen)[kPairs]) {
  UseHeadlessVideo();
  const double copy = MemcpySeconds();
  std::printf("memcpy of one 800 x 600 32-bit frame: %.1f µs\n", copy * 1e6);
  const int32_t all = PoolThreadCount();
  const int32_t counts[2] = {1, all};
  const int32_t tables = all == 1 ? 1 : 2;
  // Each pair's frame is the median of kBreakdownRuns interleaved runs' medians;
  // its parts are the means over all of them.
  PairTimes times[2][kPairs];
  std::vector<double> frames[2][kPairs];
  for (int32_t run = 0; run < kBreakdownRuns; ++run) {
    for (int32_t pair = 0; pair < kPairs; ++pair) {
      if (!chosen[pair]) continue;
      for (int32_t t = 0; t < tables; ++t) {
        PairTimes one;
        if (!RunPair(dataFolder, counts[t], pair, one)) return 1;
        frames[t][pair].push_back(one.Frame);
        for (int32_t p = 0; p < kPartCount; ++p) {
          times[t][pair].Parts[p] += one.Parts[p] / kBreakdownRuns;
        }
      }
    }
  }
  for (int32_t t = 0; t < tables; ++t) {
    for (int32_t pair = 0; pair < kPairs; ++pair) times[t][pair].Frame = Median(frames[t][pair]);
    PrintTable(counts[t], times[t], chosen, copy, t > 0 ? &times[0] : nullptr);
  }
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* data = nullptr;
  bool chosen[kPairs];
  std::fill(chosen, chosen + kPairs, true);
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--checksums") == 0) return PrintChecksums();
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      data = argv[++i];
      continue;
    }
    if (std::strcmp(argv[i], "--pairs") == 0 && i + 1 < argc) {
      std::fill(chosen, chosen + kPairs, false);
      for (const char* c = argv[++i]; *c; ++c) {
        if (*c >= '0' && *c < '0' + kPairs) chosen[*c - '0'] = true;
      }
      continue;
    }
    argv[kept++] = argv[i];  // Google Benchmark's own options
  }
  argc = kept;
  static char folder[4096];
  const C_String programFolder = ProgramFolder();
  if (!FindDataFolder(data, programFolder.c_str(), folder, sizeof folder)) return 2;
  if (PrintBreakdowns(folder, chosen) != 0) return 1;
  RegisterFrames();
  return RunInterleaved(argc, argv);
}
