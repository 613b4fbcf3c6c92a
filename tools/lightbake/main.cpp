// lightbake: paints the demo's light sprite, a soft round glow, and writes it as two
// PCX pictures: "light.pcx" (colour, 24-bit) and "light_a.pcx" (alpha, 8-bit grey);
// and paints the program's icon as a PNG.
//
// Usage: lightbake [--out DIR] [--size N] [--icon FILE.png]   (N from 8 to 512, default 64)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/error.h"
#include "image/image.h"
#include "image/pcx_writer.h"
#include "image/pixel_format.h"
#include "image/png_writer.h"
#include "program/failure_report.h"
#include "program/standard_options.h"
#include "tools/lightbake/icon.h"

namespace {

const ProgramUsage kUsage = {
    "lightbake",
    "usage: lightbake [--out DIR] [--size N] [--icon FILE.png]   (N from 8 to 512, default 64)\n",
    "\nPaints the light sprite and writes DIR/light.pcx (colour) and DIR/light_a.pcx\n"
    "(alpha); with --icon, paints the program's 128 x 128 icon into FILE.png.\n"};

constexpr int kDefaultSize = 64;

// The glow's strength at a distance from the centre, 1 at the centre and 0 from the
// rim on: a smooth bell, so the sprite has no visible edge.
double Glow(double distance, double radius) {
  const double t = distance / radius;
  if (t >= 1.0) return 0.0;
  const double fall = 1.0 - t * t;
  return fall * fall;
}

bool Paint(int size, C_Image& colour, C_Image& alpha) {
  if (!colour.Create(size, pixel_format::R8G8B8, size) ||
      !alpha.Create(size, pixel_format::Index8, size, pixel_format::R8G8B8)) {
    return false;
  }
  const double centre = (size - 1) * 0.5;
  const double radius = size * 0.5;
  for (int y = 0; y < size; ++y) {
    uint8_t* c = colour.RowAddress(y);
    uint8_t* a = alpha.RowAddress(y);
    for (int x = 0; x < size; ++x) {
      const double g = Glow(std::hypot(x - centre, y - centre), radius);
      // White at the heart, warming to amber towards the rim (blue, green, red).
      c[3 * x + 0] = static_cast<uint8_t>(std::lround(120 + 135 * g));
      c[3 * x + 1] = static_cast<uint8_t>(std::lround(200 + 55 * g));
      c[3 * x + 2] = 255;
      a[x] = static_cast<uint8_t>(std::lround(255 * g));
    }
  }
  for (int i = 0; i < 256; ++i) {  // a grey ramp: the index is the opacity
    for (int k = 0; k < 3; ++k) alpha.Palette[3 * i + k] = static_cast<uint8_t>(i);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerStandardOptions(argc, argv, kUsage, status)) return status;
  std::string out, icon;
  int size = kDefaultSize;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    const bool isSize = std::strcmp(option, "--size") == 0;
    std::string* value = std::strcmp(option, "--out") == 0    ? &out
                         : std::strcmp(option, "--icon") == 0 ? &icon
                                                              : nullptr;
    if (!value && !isSize) return UsageError(kUsage, "unknown option %s", option);
    if (i + 1 >= argc) return UsageError(kUsage, "%s needs a value", option);
    if (isSize) {
      size = std::atoi(argv[++i]);
    } else {
      *value = argv[++i];
    }
  }
  if (out.empty() && icon.empty()) return UsageError(kUsage, "needs --out DIR or --icon FILE.png");
  if (size < 8 || size > 512) return UsageError(kUsage, "--size is from 8 to 512");
  if (!icon.empty()) {
    C_Image picture;
    if (!PaintIcon(picture) || !WritePngFile(icon.c_str(), picture)) {
      std::fprintf(stderr, "lightbake: %s: the icon cannot be written\n", icon.c_str());
      return 1;
    }
    if (out.empty()) return 0;
  }
  C_Image colour, alpha;
  if (!Paint(size, colour, alpha)) {
    std::fprintf(stderr, "lightbake: no memory for a %d x %d sprite\n", size, size);
    return 1;
  }
  const std::string colourPath = out + "/light.pcx";
  const std::string alphaPath = out + "/light_a.pcx";
  LastError = {};
  if (!SavePcxFile(&colour, colourPath.c_str()) || !SavePcxFile(&alpha, alphaPath.c_str())) {
    ReportFailure("lightbake", out.c_str(), "cannot hold the sprite");
    return 1;
  }
  return 0;
}
