// dappleforge: the program's entry point. It runs the demo on the application thread
// of the thread list and exits with status 1. Until the window exists, the demo
// runs headless: a few frames in each pair of modes, with a progress line each.
#include "app/demo_main.h"
#include "app/demo_state.h"
#include "app/headless_shell.h"
#include "thread/thread_list.h"

namespace {

constexpr int32_t kFramesPerMode = 30;

uint32_t RunDemo(void*) {
  HeadlessSegment segments[9];
  for (int32_t i = 0; i < 9; ++i) segments[i] = {i / 3, i % 3, kFramesPerMode};
  HeadlessOptions options;
  options.Segments = segments;
  options.SegmentCount = 9;
  options.Progress = true;
  HeadlessShell shell(options);
  return uint32_t(DemoMain(&shell));
}

}  // namespace

int main() {
  return RunApplication(RunDemo);
}
