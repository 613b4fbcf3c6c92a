// The demo's frame loop, headless, in each of the nine mode pairs: prints the
// median generation and frame rates of each, then the peak-memory line. With
// --checksums it prints the four frame checksums instead (one per line, hex).
#include <cstdio>
#include <cstring>

#include "app/demo_main.h"
#include "app/demo_state.h"
#include "app/frame_checksums.h"
#include "app/headless_shell.h"

namespace {

constexpr int32_t kFramesPerMode = 200;

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

int PrintRates() {
  HeadlessSegment segments[9];
  for (int32_t i = 0; i < 9; ++i) segments[i] = {i / 3, i % 3, kFramesPerMode};
  HeadlessOptions options;
  options.Segments = segments;
  options.SegmentCount = 9;
  options.Progress = true;  // the median rates of each mode pair, as it finishes
  HeadlessShell shell(options);
  return DemoMain(&shell) == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--checksums") == 0) return PrintChecksums();
    std::fprintf(stderr, "usage: frame_bench [--checksums]\n");
    return 2;
  }
  return PrintRates();
}
