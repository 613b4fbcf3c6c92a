#include "app/frame_checksums.h"

#include "app/crc32.h"
#include "app/demo_main.h"
#include "app/demo_state.h"
#include "app/headless_shell.h"

namespace {

void RecordFrame(void* context, int32_t frame) {
  auto* sums = static_cast<FrameChecksums*>(context);
  if (frame == 0) {
    sums->HeightFrame1 = ImageCrc32(HeightImage);
    sums->NormalFrame1 = ImageCrc32(NormalImage);
    sums->ShadedFrame1 = ImageCrc32(ShadedImage);
  } else if (frame == 1) {
    sums->HeightFrame2 = ImageCrc32(HeightImage);
  }
}

// Perlin Noise does not depend on the clock; a fixed one keeps the run reproducible
// in every respect.
double FixedClock() {
  return 0;
}

}  // namespace

bool ComputeFrameChecksums(FrameChecksums& sums) {
  const HeadlessSegment segment{ShapePerlinNoise, ViewBumpMapping, 2};
  RandomSource fresh;
  HeadlessOptions options;
  options.Segments = &segment;
  options.SegmentCount = 1;
  options.Clock = FixedClock;
  options.Random = &fresh;
  options.AfterPaint = RecordFrame;
  options.Context = &sums;
  HeadlessShell shell(options);
  const int result = DemoMainQuietly(&shell);
  return result == 1 && shell.FramesRun() == 2;
}
