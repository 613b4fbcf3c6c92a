// The window shell: the demo in its main window. Its start-up prints the credits
// banner, opens the window with its three handlers, configures and attaches the
// drawing interface with PaintOverlay, reads the data files (fonts, GUI graphics,
// the eleven widget templates, the light sprite) and builds the option list on the
// desktop; each frame it pumps one message, reads the options and repaints; its
// shutdown closes and deletes all of it.
#pragma once

#include <cstdint>

#include "app/demo_shell.h"

class C_Collection;
class C_Object;
class C_Window;
class C_GraphicApi;
class C_Image;

// Sizes of the window and its back buffer.
inline constexpr int32_t kMainWindowWidth = 530;
inline constexpr int32_t kMainWindowHeight = 650;
inline constexpr uint32_t kBackBufferWidth = 800;
inline constexpr uint32_t kBackBufferHeight = 600;
// A left-button drag at or below this client y does not move the light.
inline constexpr int32_t kLightDragLimitY = 530;
// The client point at which the light points straight down.
inline constexpr int32_t kLightCentre = 286;

struct WindowShellOptions {
  // The folder the data files are read from, ending in '/' (or empty: the
  // working directory). Not copied; must outlive the run.
  const char* DataFolder = "";
  // After this many frames the shell ends the program as Escape does; 0: never.
  int32_t MaxFrames = 0;
  // The options checked at start (0..2 each): Lumps and Height Map by default.
  int32_t InitialShape = 0;
  int32_t InitialView = 0;
  // Written with the last frame before the drawing interface closes (PNG); null: none.
  const char* ScreenshotPath = nullptr;
  // The last frame's 512 x 512 view, written with the screenshot (PNG); null: none.
  const char* ExportViewPath = nullptr;
  // Called after every paint step with the 1-based frame number (for tests).
  void (*AfterPaint)(void* context, int32_t frame) = nullptr;
  void* Context = nullptr;
};

// The line printed when the main window cannot be opened.
extern const char* const kNoDisplayLine;

class WindowShell : public DemoShell {
 public:
  explicit WindowShell(const WindowShellOptions& options);
  ~WindowShell() override;
  WindowShell(const WindowShell&) = delete;
  WindowShell& operator=(const WindowShell&) = delete;

  bool StartFirstPhase() override;
  void StartSecondPhase() override;
  void InitClock() override;
  double ReadClock() override;
  bool MessageStep() override;
  void OptionStep(int32_t& shapeMode, int32_t& viewMode) override;
  void PaintStep() override;
  void CloseFirstPhase() override;
  void DeleteSecondPhase() override;

  int32_t FramesPainted() const { return frames_; }
  // False when the screenshot was asked for and could not be written.
  bool ScreenshotWritten() const { return screenshotWritten_; }
  // False when the view export was asked for and could not be written.
  bool ViewExported() const { return viewExported_; }

 private:
  bool LoadTemplates(C_Object** templates);
  void DeleteEverything();

  WindowShellOptions options_;
  int32_t frames_ = 0;
  bool screenshotWritten_ = true;
  bool viewExported_ = true;
};

// LoadDataFile: prints the loading line, reads target from folder + fileName and
// prints " ...done!" or the failure line; the result says which.
bool LoadDataFile(const char* folder, const char* fileName, C_Object* target);

// The shell's objects, for tests (null outside a run).
C_Window* MainWindow();
C_GraphicApi* MainDrawing();
