// The window shell's start-up, frame steps and shutdown.
#include "app/window_shell.h"

#include <cstdarg>
#include <cstdio>

#include "app/demo_gui.h"
#include "app/demo_state.h"
#include "app/view_export.h"
#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/string.h"
#include "font/font.h"
#include "font/font_type.h"
#include "graphics/api/graphic_api.h"
#include "image/png_writer.h"
#include "image/surface.h"
#include "image/surface_files.h"
#include "platform/clock.h"
#include "platform/message_pump.h"
#include "platform/program_env.h"
#include "platform/window.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"
#include "widget/widget.h"

const char* const kNoDisplayLine =
    "dappleforge: no display can be opened (%s); without one, run it headless: "
    "dappleforge --headless --frames N [--screenshot out.png]\n";

namespace {

constexpr int32_t kEscape = 27;
constexpr int32_t kPathSize = 4096;

// The eleven widget templates, in the order they are read; the option list is
// cloned from the option and horizontal-separator templates.
enum TemplateClass {
  TemplatePlain,
  TemplateFormClass,
  TemplateScrollBarClass,
  TemplateTextBoxClass
};
struct TemplateFile {
  const char* File;
  TemplateClass Class;
};
constexpr TemplateFile kTemplateFiles[] = {
    {"widgets/form.wgt", TemplateFormClass},
    {"widgets/vseparator.wgt", TemplatePlain},
    {"widgets/hseparator.wgt", TemplatePlain},
    {"widgets/frame.wgt", TemplateFormClass},
    {"widgets/button.wgt", TemplatePlain},
    {"widgets/option.wgt", TemplatePlain},
    {"widgets/checkbox.wgt", TemplatePlain},
    {"widgets/hscroll.wgt", TemplateScrollBarClass},
    {"widgets/vscroll.wgt", TemplateScrollBarClass},
    {"widgets/textbox.wgt", TemplateTextBoxClass},
    {"widgets/scrollspace.wgt", TemplatePlain},
};
constexpr int32_t kTemplateCount = sizeof kTemplateFiles / sizeof kTemplateFiles[0];
constexpr int32_t kHSeparatorTemplate = 2;
constexpr int32_t kOptionTemplate = 5;

// Where to ask for help when a data file is missing.
constexpr const char* kAssistance =
    "the project's README (README.md, \"Build and run\") and its issue tracker";

const char* const kBanner[] = {
    "Dappleforge Demo (by Valdrenko)",
    "Procedural textures: lumps, blobs and lattice noise, as height, normals and bumps",
    "Software rendering, bitmap fonts and a skinnable GUI, all of its own",
    "Options choose the texture and the view; drag with the left button to steer the light",
};

C_Window* Window = nullptr;
C_GraphicApi* Drawing = nullptr;

// The shell's console lines go where the driver's go, DemoOutput; nowhere when it
// is null (the demo run quietly).
void Say(const char* format, ...) {
  if (!DemoOutput) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(DemoOutput, format, arguments);
  va_end(arguments);
  std::fflush(DemoOutput);
}

C_Widget* NewTemplate(TemplateClass kind) {
  switch (kind) {
    case TemplateFormClass:
      return new C_Form();
    case TemplateScrollBarClass:
      return new C_ScrollBar();
    case TemplateTextBoxClass:
      return new C_TextBox();
    default:
      return new C_Widget();
  }
}

void EndProgram(C_Window* window) {
  if (window) window->Close();
  PostQuitMessage(0);
}

// The three application handlers of the main window.
void OnCloseRequest(C_Window* window) {
  EndProgram(window);
}

void OnKeyRelease(C_Window* window, int32_t character, int32_t /*virtualKey*/) {
  if (character == kEscape) EndProgram(window);
}

void OnMouseMove(C_Window* window, int32_t left, int32_t /*middle*/, int32_t /*right*/, int32_t x,
                 int32_t y) {
  if (!window || left != 1 || y >= kLightDragLimitY) return;
  LightDirection.X = static_cast<float>(x - kLightCentre);
  LightDirection.Y = static_cast<float>(y - kLightCentre);
}

// Binds a resource to the drawing interface through a hook of its own.
void AttachToDrawing(C_Resource* resource) {
  if (!resource || !Drawing) return;
  ImageHook* hook = Drawing->CreateImageHook();
  if (!hook) return;
  resource->Attach(hook);
  delete hook;
}

template <typename T>
void Delete(T*& object) {
  delete object;
  object = nullptr;
}

void DeletePack(C_Collection*& pack) {
  if (!pack) return;
  pack->DeleteItems();
  Delete(pack);
}

bool ReadDataFile(const char* folder, const char* fileName, C_Object* target) {
  char path[kPathSize];
  const int written = std::snprintf(path, sizeof path, "%s%s", folder ? folder : "", fileName);
  return written > 0 && written < kPathSize && target && LoadObjectFile(target, path);
}

void SayOutcome(const char* fileName, bool loaded) {
  if (loaded) {
    Say(" ...done!");
  } else {
    Say("\nThe file < %s > cannot be opened, contact %s for assistance\n", fileName, kAssistance);
  }
}

// Reads a pack whose items must all be T. A pack holding anything else (another
// data file copied in its place, say) is refused as an unreadable one is, with its
// failure line, and nothing of it is kept: no item is ever used as what it is not.
template <class T>
bool LoadPack(const char* folder, const char* fileName, C_Collection* pack) {
  Say("\n>>>loading < %s >", fileName);
  bool loaded = ReadDataFile(folder, fileName, pack);
  if (!HoldsOnly<T>(*pack)) {
    pack->DeleteItems();
    pack->Release();
    loaded = false;
  }
  SayOutcome(fileName, loaded);
  return loaded;
}

}  // namespace

C_Window* MainWindow() {
  return Window;
}

C_GraphicApi* MainDrawing() {
  return Drawing;
}

bool LoadDataFile(const char* folder, const char* fileName, C_Object* target) {
  Say("\n>>>loading < %s >", fileName);
  const bool loaded = ReadDataFile(folder, fileName, target);
  SayOutcome(fileName, loaded);
  return loaded;
}

WindowShell::WindowShell(const WindowShellOptions& options) : options_(options) {
  if (!options_.DataFolder) options_.DataFolder = "";
  if (options_.ScreenshotPath) screenshotWritten_ = false;
}

WindowShell::~WindowShell() {
  DeleteEverything();
}

bool WindowShell::StartFirstPhase() {
  frames_ = 0;
  for (const char* line : kBanner) Say("%s\n", line);
  Say("\n\n");

  Window = new C_Window();
  Window->Caption = C_String("Dappleforge Demo (by Valdrenko)");
  Window->Update(UpdateCaption);
  Window->Placement = C_Rect(0, 0, kMainWindowWidth, kMainWindowHeight, 0, 0);
  Window->Update(UpdateRectangle);
  Window->Borderless = 0;
  Window->Update(UpdateFrameStyle);
  Window->Handlers.Close = &OnCloseRequest;
  Window->Handlers.KeyUp = &OnKeyRelease;
  Window->Handlers.MouseMove = &OnMouseMove;
  Window->Open();
  if (!Window->Opened) {
    // Without a window nothing can be shown or steered: say so, and how to run
    // without a display, instead of running a loop nobody can end.
    Say(kNoDisplayLine, VideoErrorText());
    DeleteEverything();
    return false;
  }

  Drawing = new C_GraphicApi();
  Drawing->Configure(kBackBufferWidth, kBackBufferHeight, 32, 0, 1, 0);
  Drawing->SetPlacement(0x22, 0x22, 0);
  Drawing->Attach(&Window->Owner);
  Drawing->PaintHandler = &PaintOverlay;
  StatusFontType = new C_FontType("Arial", 10);
  StatusText = new C_String();

  FontPack = new C_Collection();
  LoadPack<C_Font>(options_.DataFolder, "fonts.pak", FontPack);
  for (uint32_t i = 0; i < FontPack->Count; ++i) {
    C_Font* font = ItemAs<C_Font>(*FontPack, i);
    if (!font) continue;
    AttachToDrawing(font);
    font->Prepare();
  }

  DemoDesktop = new C_Desktop();
  DemoDesktop->InstallHandlers(Drawing);

  GuiGraphicsPack = new C_Collection();
  LoadPack<C_Surface>(options_.DataFolder, "guigfx.pak", GuiGraphicsPack);
  DemoDesktop->Sheets = GuiGraphicsPack;
  for (uint32_t i = 0; i < GuiGraphicsPack->Count; ++i) {
    AttachToDrawing(ItemAs<C_Surface>(*GuiGraphicsPack, i));
  }
  DemoDesktop->Fonts = FontPack;

  C_Object* templates[kTemplateCount] = {};
  bool built = LoadTemplates(templates);
  if (built) {
    DemoDesktop->CreatePage();
    built = BuildOptionList(DemoDesktop, static_cast<C_Widget*>(templates[kOptionTemplate]),
                            static_cast<C_Widget*>(templates[kHSeparatorTemplate]),
                            options_.InitialShape, options_.InitialView);
  }
  for (C_Object*& object : templates) Delete(object);
  if (!built) {
    // Start-up ends here; what it made is deleted so that nothing outlives the run.
    DeleteEverything();
    return false;
  }
  return true;
}

bool WindowShell::LoadTemplates(C_Object** templates) {
  for (int32_t i = 0; i < kTemplateCount; ++i) {
    templates[i] = NewTemplate(kTemplateFiles[i].Class);
    if (!LoadDataFile(options_.DataFolder, kTemplateFiles[i].File, templates[i])) return false;
  }
  return true;
}

void WindowShell::StartSecondPhase() {
  AttachToDrawing(HeightSurface);
  AttachToDrawing(NormalSurface);
  AttachToDrawing(ShadedSurface);
  char colour[kPathSize];
  char alpha[kPathSize];
  std::snprintf(colour, sizeof colour, "%slight.pcx", options_.DataFolder);
  std::snprintf(alpha, sizeof alpha, "%slight_a.pcx", options_.DataFolder);
  LightSurface = NewSurfaceFromFiles(colour, alpha);
  AttachToDrawing(LightSurface);
  if (Drawing) Drawing->Open();
  if (LightSurface) LightSurface->Prepare();
  if (DemoDesktop) {
    DemoDesktop->BindResources();
    DemoDesktop->PrepareAll();
  }
}

void WindowShell::InitClock() {
  ::InitClock();
}

double WindowShell::ReadClock() {
  return ::ReadClock();
}

bool WindowShell::MessageStep() {
  // A run limited to a number of frames ends as Escape would, after the last one.
  if (options_.MaxFrames > 0 && frames_ >= options_.MaxFrames) {
    if (Window && Window->Opened) EndProgram(Window);
    // The messages queued before the quit message are handled now, so that the
    // run ends with this step and leaves no quit message behind.
    while (PumpMessage()) {
    }
    return false;
  }
  return PumpMessage();
}

void WindowShell::OptionStep(int32_t& shapeMode, int32_t& viewMode) {
  ReadOptions(DemoDesktop, shapeMode, viewMode);
}

void WindowShell::PaintStep() {
  if (Drawing) Drawing->Repaint();
  ++frames_;
  if (options_.AfterPaint) options_.AfterPaint(options_.Context, frames_);
}

void WindowShell::CloseFirstPhase() {
  if (options_.ScreenshotPath) {
    C_Surface* target = Drawing ? Drawing->GetTarget() : nullptr;
    C_Image* frame = target ? target->FindImage(1) : nullptr;
    screenshotWritten_ = frame && WritePngFile(options_.ScreenshotPath, *frame);
  }
  if (options_.ExportViewPath) viewExported_ = ExportViewPng(options_.ExportViewPath, ViewMode);
  if (DemoDesktop) {
    DemoDesktop->UnprepareAll();
    if (DemoDesktop->Status == DesktopResources) DemoDesktop->Status = DesktopAttached;
  }
  if (Drawing) Drawing->Close();
  if (Window) Window->Close();
}

void WindowShell::DeleteSecondPhase() {
  DeleteEverything();
}

void WindowShell::DeleteEverything() {
  Delete(LightSurface);
  DeletePack(FontPack);
  // The desktop owns and deletes the graphics sheets.
  if (DemoDesktop) {
    DemoDesktop->Fonts = nullptr;
    Delete(DemoDesktop);
    GuiGraphicsPack = nullptr;
  }
  DeletePack(GuiGraphicsPack);
  Delete(StatusFontType);
  Delete(StatusText);
  Delete(Drawing);
  Delete(Window);
}
