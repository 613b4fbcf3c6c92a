// skinbuild: writes "guigfx.pak" (the graphics sheets it paints) into a folder and
// checks the widget files under its "widgets/", which paktext builds from the
// templates' texts: every one must read back and save to the same bytes, and with
// --fonts every text layer must name a font the pack holds.
//
// Usage: skinbuild --out <folder> [--fonts <fonts.pak>] [--widgets <name>...]
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/byte_stream.h"
#include "core/class_registry.h"
#include "core/collection.h"
#include "core/error.h"
#include "core/resource.h"
#include "image/surface.h"
#include "program/failure_report.h"
#include "program/standard_options.h"
#include "skin/decal.h"
#include "tools/skinbuild/sheets.h"
#include "widget/widget.h"

namespace {

const ProgramUsage kUsage = {
    "skinbuild", "usage: skinbuild --out <folder> [--fonts <fonts.pak>] [--widgets <name>...]\n",
    "\nWrites guigfx.pak into the folder, read back whole, and checks the named\n"
    "widgets/<name>.wgt files that paktext built: each must read back to the same\n"
    "bytes and, with --fonts, every text layer must name a font of the pack.\n"};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  uint8_t buffer[65536];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(file);
  return bytes;
}

std::vector<uint8_t> SavedBytes(C_Object& object) {
  ByteStream* stream = NewMemoryWriter();
  std::vector<uint8_t> bytes;
  if (object.Save(stream, 0)) bytes.assign(stream->Buffer, stream->Buffer + stream->Total);
  FreeStream(stream);
  return bytes;
}

// Writes object to path, reads it back into `fresh` and, with `sameBytes`, checks
// that it saves to the bytes written. (A surface read back holds its channels in
// the reverse order, so the pack of sheets is only read back.)
bool WriteAndCheck(C_Object& object, C_Object& fresh, const std::string& path, bool sameBytes) {
  LastError = {};
  if (!SaveObjectFile(&object, path.c_str())) {
    ReportFailure("skinbuild", path.c_str(), "cannot be written");
    return false;
  }
  const std::vector<uint8_t> written = ReadFile(path);
  if (!LoadObjectFile(&fresh, path.c_str()) || (sameBytes && SavedBytes(fresh) != written)) {
    std::fprintf(stderr, "skinbuild: %s does not read back to the same bytes\n", path.c_str());
    return false;
  }
  return true;
}

// Every text layer of the tree names a font of the pack.
bool FontsExist(const C_Widget& widget, const C_Collection& fonts, const char* file) {
  for (const C_Decal* decal : widget.Decals) {
    if (!decal) continue;
    for (const C_Collection* list : {decal->Layers, decal->CheckedLayers}) {
      for (uint32_t i = 0; list && i < list->Count; ++i) {
        const auto* text = dynamic_cast<const C_Layer_Text*>(list->Items[i]);
        if (text && fonts.FindByName(text->Font.Name.c_str()) < 0) {
          std::fprintf(stderr, "skinbuild: %s names the font \"%s\", which the pack lacks\n", file,
                       text->Font.Name.c_str());
          return false;
        }
      }
    }
  }
  for (uint32_t i = 0; i < widget.ChildCount(); ++i) {
    if (!FontsExist(*widget.ChildAt(i), fonts, file)) return false;
  }
  return true;
}

// A built widget file reads back, saves to its own bytes and names fonts the pack
// holds.
bool CheckWidgetFile(const std::string& path, const C_Collection* fonts) {
  const std::vector<uint8_t> bytes = ReadFile(path);
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  uint16_t id = 0;
  const bool hasId = stream && ReadField(stream, id);
  FreeStream(stream);
  C_Object* object = hasId ? CreateObject(id) : nullptr;
  auto* widget = dynamic_cast<C_Widget*>(object);
  bool ok = widget && LoadObjectFile(widget, path.c_str()) && SavedBytes(*widget) == bytes;
  if (!ok)
    std::fprintf(stderr, "skinbuild: %s does not read back to the same bytes\n", path.c_str());
  if (ok && fonts) ok = FontsExist(*widget, *fonts, path.c_str());
  DeleteOwnedObject(object);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerStandardOptions(argc, argv, kUsage, status)) return status;
  std::string out, fontsPath;
  std::vector<std::string> widgets;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (std::strcmp(option, "--widgets") == 0) {
      while (i + 1 < argc && argv[i + 1][0] != '-') widgets.push_back(argv[++i]);
      continue;
    }
    std::string* value = std::strcmp(option, "--out") == 0     ? &out
                         : std::strcmp(option, "--fonts") == 0 ? &fontsPath
                                                               : nullptr;
    if (!value) return UsageError(kUsage, "unknown option %s", option);
    if (i + 1 >= argc) return UsageError(kUsage, "%s needs a value", option);
    *value = argv[++i];
  }
  if (out.empty()) return UsageError(kUsage, "needs --out <folder>");
  mkdir(out.c_str(), 0755);

  C_Collection fonts;
  LastError = {};
  if (!fontsPath.empty() && !LoadObjectFile(&fonts, fontsPath.c_str())) {
    ReportFailure("skinbuild", fontsPath.c_str(), "cannot be read as a font pack");
    return 1;
  }

  bool ok = true;
  {
    C_Collection sheets;
    C_Surface* sheet = PaintControlsSheet();
    if (!sheet || !sheets.Append(sheet)) return 1;
    C_Collection readBack;
    ok = WriteAndCheck(sheets, readBack, out + "/guigfx.pak", false);
    readBack.DeleteItems();
    sheets.DeleteItems();
  }
  for (size_t i = 0; ok && i < widgets.size(); ++i) {
    ok = CheckWidgetFile(out + "/widgets/" + widgets[i] + ".wgt",
                         fontsPath.empty() ? nullptr : &fonts);
  }
  fonts.DeleteItems();
  return ok ? 0 : 1;
}
