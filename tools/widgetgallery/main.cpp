// widgetgallery: opens an 800 x 600 window showing the widget gallery (buttons,
// two option groups split by a separator, check boxes, a text box holding a
// paragraph to edit and scroll, a scroll space with children) on the desktop,
// which routes the mouse and the keyboard to them. The widgets are cloned from
// the widget files and drawn with the graphics sheets of the data folder
// ("widgets/*.wgt", "guigfx.pak"), found as the demo finds it or given with
// --data; when any is missing or holds another kind of object they are made in
// code with a plain look. Escape or closing the window ends it with status 0;
// without a readable "fonts.pak" it ends with 1.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/color.h"
#include "image/surface.h"
#include "platform/message_pump.h"
#include "platform/program_env.h"
#include "platform/window.h"
#include "program/data_folder.h"
#include "program/failure_report.h"
#include "program/standard_options.h"
#include "widget/desktop.h"
#include "widget/gallery.h"

namespace {

const ProgramUsage kUsage = {
    "widgetgallery", "usage: widgetgallery [--data DIR]\n",
    "\nOpens a window with every widget to try with the mouse and the keyboard.\n"
    "Its data (fonts.pak, guigfx.pak, widgets/*.wgt) is read from DIR, else from the\n"
    "data folder the demo uses: data/ in the build tree, or ../share/dappleforge/\n"
    "from the installed program. Escape or closing the window ends it.\n"};

constexpr int32_t kPathSize = 4096;
constexpr uint32_t kWidth = 800;
constexpr uint32_t kHeight = 600;
constexpr int32_t kEscape = 27;
const char* const kFontPack = "fonts.pak";
const char* const kSheetPack = "guigfx.pak";
// The widget files the gallery clones from, by template.
struct TemplateFile {
  BasicTemplate Which;
  const char* Path;
};
constexpr TemplateFile kTemplateFiles[] = {
    {TemplateForm, "widgets/form.wgt"},
    {TemplateButton, "widgets/button.wgt"},
    {TemplateOption, "widgets/option.wgt"},
    {TemplateCheckBox, "widgets/checkbox.wgt"},
    {TemplateSeparator, "widgets/hseparator.wgt"},
    {TemplateTextBox, "widgets/textbox.wgt"},
    {TemplateScrollSpace, "widgets/scrollspace.wgt"},
};
const char* const kFontName = "DejaVu Sans";
// Time between repaints while the loop runs.
constexpr auto kFrame = std::chrono::milliseconds(15);

C_Desktop* Desktop = nullptr;
const C_Color kBackdrop = C_Color::FromBytes(48, 96, 80);

bool PaintGallery(C_GraphicApi* api) {
  api->BeginDraw();
  api->Clear(&kBackdrop);
  if (Desktop) {
    Desktop->Layout();
    Desktop->Paint();
  }
  api->EndDraw();
  return api->Present();
}

// The template of the kind read from path; null when the file cannot be read or
// holds another class than the kind needs (another widget file in its place).
C_Widget* LoadWidgetFile(BasicTemplate which, const std::string& path) {
  ByteStream* stream = OpenFileReader(path.c_str());
  if (!stream) return nullptr;
  C_Object* object = nullptr;
  const bool loaded = LoadHeldObject(stream, 0, object) && !stream->Broken;
  FreeStream(stream);
  auto* widget = dynamic_cast<C_Widget*>(object);
  if (loaded && TemplateFits(which, widget)) return widget;
  if (loaded) std::printf("widgetgallery: %s holds another kind of widget\n", path.c_str());
  DeleteOwnedObject(object);
  return nullptr;
}

// The widget files and the sheets, all or nothing; false leaves both empty.
bool LoadSkin(const std::string& folder, GalleryTemplates& templates, C_Collection*& sheets) {
  sheets = new C_Collection();
  bool complete =
      LoadObjectFile(sheets, (folder + kSheetPack).c_str()) && HoldsOnly<C_Surface>(*sheets);
  for (const TemplateFile& file : kTemplateFiles) {
    if (!complete) break;
    templates.Items[file.Which] = LoadWidgetFile(file.Which, folder + file.Path);
    complete = templates.Items[file.Which] != nullptr;
  }
  if (complete) return true;
  for (C_Widget*& item : templates.Items) {
    DeleteOwnedObject(item);
    item = nullptr;
  }
  DeleteOwnedObject(sheets);  // with whatever it read
  sheets = nullptr;
  return false;
}

void EndProgram(C_Window* window) {
  window->Close();
  PostQuitMessage(0);
}

void OnKeyDown(C_Window* window, int32_t /*character*/, int32_t virtualKey) {
  if (virtualKey == kEscape) EndProgram(window);
}

// The data folder: --data DIR, else found from the executable; false after a
// usage error, whose status is then in status.
bool ReadCommandLine(int argc, char** argv, std::string& folder, int& status) {
  if (AnswerStandardOptions(argc, argv, kUsage, status)) return false;
  const char* given = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") != 0) {
      status = UsageError(kUsage, "unknown option %s", argv[i]);
      return false;
    }
    if (i + 1 >= argc) {
      status = UsageError(kUsage, "--data needs a folder");
      return false;
    }
    given = argv[++i];
  }
  static char found[kPathSize];
  if (!FindDataFolder(given, ProgramFolder().c_str(), found, kPathSize)) {
    status = UsageError(kUsage, "the data folder's path is too long");
    return false;
  }
  folder = found;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  int status = 0;
  if (!ReadCommandLine(argc, argv, folder, status)) return status;
  C_Collection fonts;
  const std::string fontPack = folder + kFontPack;
  LastError = {};
  if (!LoadObjectFile(&fonts, fontPack.c_str())) {
    ReportFailure("widgetgallery", fontPack.c_str(), "cannot be read as a font pack");
    fonts.DeleteItems();
    return 1;
  }
  if (fonts.FindByName(kFontName) < 0) {
    std::fprintf(stderr, "widgetgallery: %s: holds no font \"%s\"\n", fontPack.c_str(), kFontName);
    fonts.DeleteItems();
    return 1;
  }

  C_Window window;
  window.Caption = C_String("widgetgallery");
  const float w = static_cast<float>(kWidth), h = static_cast<float>(kHeight);
  window.Placement = C_Rect(-w / 2, -h / 2, w / 2, h / 2, 0x22, 0x22);
  window.Resizable = 0;
  window.Handlers.KeyDown = &OnKeyDown;
  window.Handlers.Close = &EndProgram;

  C_GraphicApi api;
  api.Configure(kWidth, kHeight, 32, 0, 0, 0);
  api.SetPlacement(0x00, 0x00, 0);
  api.Attach(&window.Owner);
  api.PaintHandler = &PaintGallery;

  GalleryTemplates templates;
  C_Collection* sheets = nullptr;
  const bool skinned = LoadSkin(folder, templates, sheets);
  if (!skinned) {
    std::printf("widgetgallery: no widget files in %s, the widgets get a plain look\n",
                folder.c_str());
  }
  auto* desktop = new C_Desktop();
  desktop->InstallHandlers(&api);
  desktop->Fonts = &fonts;
  desktop->Sheets = sheets;  // the desktop owns them from here
  desktop->BindResources();
  desktop->CreatePage();
  BuildGallery(*desktop, kFontName, skinned ? &templates : nullptr);
  for (C_Widget* item : templates.Items) DeleteOwnedObject(item);

  window.Open();
  if (!window.Opened) {
    std::fprintf(stderr, "widgetgallery: the window could not be opened\n");
    delete desktop;
    fonts.DeleteItems();
    return 1;
  }
  api.Open();
  desktop->PrepareAll();
  Desktop = desktop;

  auto lastPaint = std::chrono::steady_clock::now();
  while (PumpMessage()) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPaint > kFrame) {
      api.Repaint();
      lastPaint = now;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  Desktop = nullptr;
  desktop->UnprepareAll();
  api.Close();
  window.Close();
  delete desktop;
  fonts.DeleteItems();
  return QuitExitCode();
}
