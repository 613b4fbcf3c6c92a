// dappleforge: the program's entry point. It reads the command line, finds the data
// folder and runs the demo through the window shell on the application thread of
// the thread list; the process ends with status 1. Headless, the window shows
// nothing (the platform's display-less driver), the run ends after the given
// number of frames and the last frame (and its view) can be written as PNGs.
// SDL's video starts, runs and stops on the application thread alone.
#include <cstdio>

#include "app/demo_main.h"
#include "app/demo_options.h"
#include "app/window_shell.h"
#include "platform/present_path.h"
#include "platform/program_env.h"
#include "program/data_folder.h"
#include "thread/thread_list.h"

namespace {

constexpr int32_t kPathSize = 4096;

DemoOptions Options;
WindowShellOptions ShellOptions;
bool ScreenshotFailed = false;
bool ExportFailed = false;
bool PresentReported = false;

// Says once, in one line, that the window cannot show the frames.
void CheckPresent(void*, int32_t) {
  const char* failure = PresentReported ? nullptr : PresentFailure(MainWindow());
  if (!failure) return;
  PresentReported = true;
  std::fprintf(stderr,
               "dappleforge: the window cannot show the frames (%s); DF_PRESENT=surface or "
               "DF_PRESENT=texture chooses how they are shown\n",
               failure);
}

uint32_t RunDemo(void*) {
  if (Options.Headless) {
    UseHeadlessVideo();
  } else if (!OpenVisibleDisplay()) {
    std::fprintf(stderr, kNoDisplayLine, VideoErrorText());
    CloseVideo();
    return 0;
  }
  int result = 0;
  {
    WindowShell shell(ShellOptions);
    result = DemoMain(&shell);
    ScreenshotFailed = !shell.ScreenshotWritten();
    ExportFailed = !shell.ViewExported();
  }
  CloseVideo();
  return static_cast<uint32_t>(result);
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerStandardOptions(argc, argv, kDemoUsage, status)) return status;
  const char* problem = nullptr;
  if (!ParseDemoOptions(argc, argv, Options, problem)) {
    if (Options.Offending) return UsageError(kDemoUsage, "%s: %s", Options.Offending, problem);
    return UsageError(kDemoUsage, "%s", problem);
  }
  static char dataFolder[kPathSize];
  const C_String programFolder = ProgramFolder();
  if (!FindDataFolder(Options.DataFolder, programFolder.c_str(), dataFolder, kPathSize)) {
    return UsageError(kDemoUsage, "the data folder's path is too long");
  }
  ShellOptions.DataFolder = dataFolder;
  ShellOptions.MaxFrames = Options.Frames;
  ShellOptions.InitialShape = Options.Shape;
  ShellOptions.InitialView = Options.View;
  ShellOptions.ScreenshotPath = Options.Screenshot;
  ShellOptions.ExportViewPath = Options.ExportView;
  ShellOptions.AfterPaint = CheckPresent;
  const int exitStatus = RunApplication(RunDemo);
  if (ScreenshotFailed) {
    std::fprintf(stderr, "dappleforge: the screenshot %s could not be written\n",
                 Options.Screenshot);
  }
  if (ExportFailed) {
    std::fprintf(stderr, "dappleforge: the view %s could not be written\n", Options.ExportView);
  }
  return exitStatus;
}
