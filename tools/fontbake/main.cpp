// fontbake: makes the font pack the demo reads ("fonts.pak": one collection of
// bitmap fonts) from the TrueType faces on this machine, and draws a sample sheet
// of a pack through the system's own text routine.
//
//   fontbake --out fonts.pak [--fonts <dir>] [--seed]
//   fontbake --preview sheet.png [--pak fonts.pak]
//
// <dir> holds the Debian font folders (default /usr/share/fonts/truetype). The pack
// holds "DejaVu Sans" first (the status line's font) and "Liberation Serif", each
// with the codes 32 to 255 the face maps (Latin-1), at the pixel sizes 8 to 32 in
// the four styles from the faces' own bold and italic files, in kind 0 (light
// hinting, the face's unhinted advances: smooth text that layers may scale) and
// kind 10 (full hinting, hinted advances: crisp small UI text at its own size).
// --seed bakes a tiny pack (a few codes, two sizes) used as a fuzzing seed.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "font/font.h"
#include "font/font_type.h"
#include "program/failure_report.h"
#include "program/standard_options.h"
#include "tools/fontbake/bake.h"
#include "tools/fontbake/preview.h"

namespace {

const ProgramUsage kUsage = {
    "fontbake",
    "usage: fontbake --out fonts.pak [--fonts <dir>] [--seed]\n"
    "       fontbake --preview sheet.png [--pak fonts.pak]\n",
    "\nBakes the font pack the demo reads from the TrueType faces in <dir> (default\n"
    "/usr/share/fonts/truetype: dejavu/ and liberation2/), or draws a sample sheet\n"
    "of a pack. --seed bakes a tiny pack for the fuzzing seeds.\n"};

const std::vector<FaceFiles> kFaces = {
    {{"dejavu/DejaVuSans.ttf", "dejavu/DejaVuSans-Bold.ttf", "dejavu/DejaVuSans-Oblique.ttf",
      "dejavu/DejaVuSans-BoldOblique.ttf"}},
    {{"liberation2/LiberationSerif-Regular.ttf", "liberation2/LiberationSerif-Bold.ttf",
      "liberation2/LiberationSerif-Italic.ttf", "liberation2/LiberationSerif-BoldItalic.ttf"}},
};

BakeSettings FullSettings() {
  BakeSettings s;
  s.Sizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 32};
  s.Styles = {kStyleRegular, kStyleBold, kStyleItalic, kStyleBoldItalic};
  s.Kinds = {kKindDefault, kKindNamed};
  for (int c = 32; c <= 255; ++c) s.Codes.push_back(static_cast<uint8_t>(c));
  return s;
}

BakeSettings SeedSettings() {
  BakeSettings s;
  s.Sizes = {8, 10};
  s.Styles = {kStyleRegular, kStyleBold};
  s.Kinds = {kKindDefault, kKindNamed};
  for (char c : std::string(" .*abcAB\xE9")) s.Codes.push_back(static_cast<uint8_t>(c));
  s.PageWidth = 64;
  return s;
}

int Bake(const char* out, const std::string& folder, bool seed) {
  C_Collection pack;
  const size_t faces = seed ? 1 : kFaces.size();
  for (size_t f = 0; f < faces; ++f) {
    FaceFiles files = kFaces[f];
    for (std::string& file : files.Styles) file = folder + "/" + file;
    C_Font* font = BakeFont(files, seed ? SeedSettings() : FullSettings());
    if (font == nullptr) {
      pack.DeleteItems();
      return 1;
    }
    pack.Append(font);
  }
  LastError = {};
  const bool saved = SaveObjectFile(&pack, out);
  pack.DeleteItems();
  if (!saved) {
    ReportFailure("fontbake", out, "cannot be written");
    return 1;
  }
  return 0;
}

int Preview(const char* sheet, const char* pak) {
  C_Collection pack;
  LastError = {};
  if (!LoadObjectFile(&pack, pak)) {
    ReportFailure("fontbake", pak, "cannot be read as a font pack");
    pack.DeleteItems();
    return 1;
  }
  const bool ok = WritePreview(pack, sheet);
  pack.DeleteItems();
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerStandardOptions(argc, argv, kUsage, status)) return status;
  const char* out = nullptr;
  const char* sheet = nullptr;
  const char* pak = "fonts.pak";
  std::string folder = "/usr/share/fonts/truetype";
  bool seed = false;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (std::strcmp(option, "--seed") == 0) {
      seed = true;
      continue;
    }
    const char** value = std::strcmp(option, "--out") == 0       ? &out
                         : std::strcmp(option, "--preview") == 0 ? &sheet
                         : std::strcmp(option, "--pak") == 0     ? &pak
                                                                 : nullptr;
    const bool fonts = std::strcmp(option, "--fonts") == 0;
    if (!value && !fonts) return UsageError(kUsage, "unknown option %s", option);
    if (i + 1 >= argc) return UsageError(kUsage, "%s needs a value", option);
    if (fonts) {
      folder = argv[++i];
    } else {
      *value = argv[++i];
    }
  }
  if (out != nullptr) return Bake(out, folder, seed);
  if (sheet != nullptr) return Preview(sheet, pak);
  return UsageError(kUsage, "needs --out or --preview");
}
