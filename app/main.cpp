// dappleforge: the program's entry point. It reads the command line, finds the data
// folder and runs the demo through the window shell on the application thread of
// the thread list; the process ends with status 1. Headless, the window shows
// nothing (the platform's display-less driver), the run ends after the given
// number of frames and the last frame can be written as a PNG.
#include <cstdio>

#include "app/data_folder.h"
#include "app/demo_main.h"
#include "app/demo_options.h"
#include "app/window_shell.h"
#include "platform/program_env.h"
#include "thread/thread_list.h"

namespace {

constexpr int32_t kPathSize = 4096;
constexpr int kUsageStatus = 2;

WindowShellOptions ShellOptions;
bool ScreenshotFailed = false;

uint32_t RunDemo(void*) {
  WindowShell shell(ShellOptions);
  const int result = DemoMain(&shell);
  ScreenshotFailed = !shell.ScreenshotWritten();
  return static_cast<uint32_t>(result);
}

}  // namespace

int main(int argc, char** argv) {
  DemoOptions options;
  const char* problem = nullptr;
  if (!ParseDemoOptions(argc, argv, options, problem)) {
    std::fprintf(stderr, "dappleforge: %s\n%s", problem, kDemoUsage);
    return kUsageStatus;
  }
  static char dataFolder[kPathSize];
  const C_String programFolder = ProgramFolder();
  if (!FindDataFolder(options.DataFolder, programFolder.c_str(), dataFolder, kPathSize)) {
    std::fprintf(stderr, "dappleforge: the data folder's path is too long\n");
    return kUsageStatus;
  }
  if (options.Headless) {
    UseHeadlessVideo();
  } else if (!OpenVisibleDisplay()) {
    std::fprintf(stderr, kNoDisplayLine, VideoErrorText());
    return 1;
  }
  ShellOptions.DataFolder = dataFolder;
  ShellOptions.MaxFrames = options.Frames;
  ShellOptions.InitialShape = options.Shape;
  ShellOptions.InitialView = options.View;
  ShellOptions.ScreenshotPath = options.Screenshot;
  const int status = RunApplication(RunDemo);
  if (ScreenshotFailed) {
    std::fprintf(stderr, "dappleforge: the screenshot %s could not be written\n",
                 options.Screenshot);
  }
  return status;
}
