// make_widget_seeds: writes seeds for the widget-file fuzz target, made from the
// widget files the build writes the way the demo and the tests use them: each file
// cloned and set up with a place, a name and a label (checked too, where it can
// be); the demo's option list on its page; the gallery cloned from the files, as
// it starts, after options, check boxes and a scroll arrow are clicked and text
// is typed through a desktop, and moved by a drag and rolled up; and the flat
// templates made in code.
//
// Usage: make_widget_seeds <folder of the .wgt files> <output folder>
// scripts/fuzz-smoke.sh runs it into the target's working corpus.
#include <cstdio>
#include <string>

#include "app/demo_gui.h"
#include "core/byte_stream.h"
#include "core/collection.h"
#include "tests/skin/skin_test_support.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/gallery.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

struct FileTemplate {
  const char* File;  // in the widget folder, without ".wgt"
  BasicTemplate Which;
};
// The files the gallery clones from.
constexpr FileTemplate kGalleryFiles[] = {
    {"form", TemplateForm},
    {"button", TemplateButton},
    {"option", TemplateOption},
    {"checkbox", TemplateCheckBox},
    {"hseparator", TemplateSeparator},
    {"textbox", TemplateTextBox},
    {"scrollspace", TemplateScrollSpace},
};
const char* const kAllFiles[] = {"form",    "vseparator", "hseparator", "frame",
                                 "button",  "option",     "checkbox",   "hscroll",
                                 "vscroll", "textbox",    "scrollspace"};

std::string gOut;
int gWritten = 0;

void Write(const std::string& name, C_Object* object) {
  if (!object) return;
  const std::string path = gOut + "/" + name + ".wgt";
  if (SaveObjectFile(object, path.c_str())) {
    ++gWritten;
  } else {
    std::fprintf(stderr, "make_widget_seeds: cannot write %s\n", path.c_str());
  }
}

C_Widget* Load(const std::string& folder, const char* file) {
  ByteStream* stream = OpenFileReader((folder + "/" + file + ".wgt").c_str());
  if (!stream) return nullptr;
  C_Object* object = nullptr;
  const bool loaded = LoadHeldObject(stream, 0, object) && !stream->Broken;
  FreeStream(stream);
  auto* widget = dynamic_cast<C_Widget*>(object);
  if (loaded && widget) return widget;
  DeleteOwnedObject(object);
  return nullptr;
}

// Each file cloned and set up as the demo sets up its options; options and check
// boxes checked too.
void WriteClones(const std::string& folder) {
  for (const char* file : kAllFiles) {
    C_Widget* loaded = Load(folder, file);
    if (!loaded) continue;
    auto* clone = dynamic_cast<C_Widget*>(loaded->Clone());
    if (clone) {
      clone->Setup(SizedRect(37, -59, 100, 36), "Clone", "Perlin Noise");
      Write(std::string("clone_") + file, clone);
      if (clone->Kind == KindOption || clone->Kind == KindCheckBox) {
        clone->Checked = 1;
        Write(std::string("clone_") + file + "_checked", clone);
      }
    }
    DeleteOwnedObject(clone);
    DeleteOwnedObject(loaded);
  }
}

// The demo's page: six options in two groups split by a separator.
void WriteDemoPage(const std::string& folder) {
  C_Widget* option = Load(folder, "option");
  C_Widget* separator = Load(folder, "hseparator");
  C_Desktop desktop;
  desktop.CreatePage();
  if (option && separator && BuildOptionList(&desktop, option, separator, 2, 1)) {
    Write("demo_page", desktop.Root);
  }
  DeleteOwnedObject(option);
  DeleteOwnedObject(separator);
}

// A desktop on a headless drawing interface, for clicks and typing.
struct Screen {
  Screen() {
    desktop.InstallHandlers(&screen.api);
    desktop.Fonts = &fonts;
    desktop.BindResources();
    desktop.CreatePage();
  }
  ~Screen() { desktop.UnprepareAll(); }
  void Click(const C_Widget* w) {
    if (!w) return;
    desktop.Layout();
    const auto x = static_cast<int32_t>((w->Resolved.X1 + w->Resolved.X2) / 2);
    const auto y = static_cast<int32_t>((w->Resolved.Y1 + w->Resolved.Y2) / 2);
    desktop.MouseMove(0, 0, 0, x, y);
    desktop.ButtonDown(1, 0, 0, x, y);
    desktop.ButtonUp(1, 0, 0, x, y);
  }
  void Drag(const C_Widget* w, int32_t dx, int32_t dy) {
    if (!w) return;
    desktop.Layout();
    const auto x = static_cast<int32_t>(w->Resolved.X1 + 8);
    const auto y = static_cast<int32_t>(w->Resolved.Y1 + 8);
    desktop.ButtonDown(1, 0, 0, x, y);
    desktop.MouseMove(1, 0, 0, x + dx, y + dy);
    desktop.ButtonUp(1, 0, 0, x + dx, y + dy);
  }
  // Characters as the window gives them; a line feed as the Enter key.
  void Type(const char* text) {
    for (const char* c = text; *c; ++c) {
      if (*c == '\n') {
        desktop.KeyDown(0, KeyEnter);
      } else {
        desktop.KeyDown(*c, *c);
      }
    }
  }
  skin_test::Screen screen{kScreenWidth, kScreenHeight};
  C_Collection fonts;  // none: the seeds are saved, not drawn
  C_Desktop desktop;
};

// The gallery cloned from the files, saved as it starts and after edits.
void WriteGallery(const std::string& folder) {
  GalleryTemplates templates;
  for (const FileTemplate& file : kGalleryFiles)
    templates.Items[file.Which] = Load(folder, file.File);
  {
    Screen screen;
    const Gallery g = BuildGallery(screen.desktop, "DejaVu Sans", &templates);
    screen.desktop.PrepareAll();
    Write("gallery_start", g.Form);
    screen.Click(g.Options[1]);
    screen.Click(g.Options[5]);
    screen.Click(g.CheckBoxes[0]);
    screen.Click(g.TextBox);
    screen.Type("typed into the box\nand a second line");
    if (g.ScrollSpace) {
      if (C_Widget* bar = g.ScrollSpace->FindPart(PartSpaceHScroll, KindHScrollBar)) {
        screen.Click(bar->FindPart(PartPageUp, KindPlain));
      }
    }
    Write("gallery_edited", g.Form);
    Write("textbox_edited", g.TextBox);
    Write("scrollspace_scrolled", g.ScrollSpace);
    screen.Drag(g.Form, 40, 30);
    screen.desktop.RunFormCommand(g.Form, PartRollUp);
    Write("gallery_moved_rolled_up", g.Form);
  }
  for (C_Widget* item : templates.Items) DeleteOwnedObject(item);
}

// The flat templates the gallery makes in code when it has no files.
void WriteFlatTemplates() {
  for (uint32_t which = TemplateForm; which <= TemplateScrollSpace; ++which) {
    C_Widget* made = MakeTemplate(static_cast<BasicTemplate>(which), "DejaVu Sans");
    Write("flat_" + std::to_string(which), made);
    DeleteOwnedObject(made);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_widget_seeds <widget folder> <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  gOut = argv[2];
  WriteClones(folder);
  WriteDemoPage(folder);
  WriteGallery(folder);
  WriteFlatTemplates();
  std::printf("make_widget_seeds: %d seeds in %s\n", gWritten, gOut.c_str());
  return gWritten > 0 ? 0 : 1;
}
