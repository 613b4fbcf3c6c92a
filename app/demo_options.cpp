#include "app/demo_options.h"

#include <cstdlib>
#include <cstring>

const ProgramUsage kDemoUsage = {
    "dappleforge",
    "usage: dappleforge [--data DIR]\n"
    "       dappleforge --headless --frames N [--shape lumps|blobs|perlin]\n"
    "                   [--view height|normal|bump] [--screenshot out.png]\n"
    "                   [--export-view out.png] [--data DIR]\n"
    "       dappleforge --help | --version\n",
    "\n"
    "Regenerates a 512 x 512 height field every frame (lumps, blobs or lattice\n"
    "noise) and shows it as height, normal map or bump-mapped light. In the window,\n"
    "the option buttons choose the texture and the view; drag with the left button\n"
    "in the bump view to steer the light; Escape ends it.\n"
    "\n"
    "  --headless          run without a window (needs --frames)\n"
    "  --frames N          end after N frames\n"
    "  --shape S           the texture at start: lumps, blobs or perlin (or 0..2)\n"
    "  --view V            the view at start: height, normal or bump (or 0..2)\n"
    "  --screenshot F      write the last frame of the window as a PNG\n"
    "  --export-view F     write the last frame's 512 x 512 view as a PNG: the height\n"
    "                      field as 16-bit grey, the normal map and the lit view as RGB\n"
    "  --data DIR          read the data files from DIR (default: data/ in the build\n"
    "                      tree, or ../share/dappleforge/ from the installed program)\n"
    "\n"
    "Tiling: perlin tiles seamlessly (period 512 both ways), and so do its normal\n"
    "and bump views. Lumps and blobs wrap around the edges with a period of 513, so\n"
    "their tiles meet one pixel out of step.\n"
    "\n"
    "Environment: DF_WORKERS=N threads share the frame (default one per core);\n"
    "DF_PRESENT=surface|texture forces how frames reach the window.\n"};

namespace {

constexpr int32_t kMaxFrames = 100000000;

// A mode by name or number; -1 when neither.
int32_t ModeOf(const char* text, const char* const names[3]) {
  for (int32_t i = 0; i < 3; ++i) {
    if (std::strcmp(text, names[i]) == 0) return i;
  }
  if (text[0] >= '0' && text[0] <= '2' && text[1] == '\0') return text[0] - '0';
  return -1;
}

bool ParseCount(const char* text, int32_t& count) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value <= 0 || value > kMaxFrames) return false;
  count = static_cast<int32_t>(value);
  return true;
}

// The options that take a value, and where the value goes.
enum ValueOption {
  OptionFrames,
  OptionShape,
  OptionView,
  OptionScreenshot,
  OptionExport,
  OptionData
};
constexpr const char* kValueOptions[] = {"--frames",     "--shape",       "--view",
                                         "--screenshot", "--export-view", "--data"};

int32_t ValueOptionOf(const char* text) {
  for (int32_t i = 0; i < int32_t(sizeof kValueOptions / sizeof kValueOptions[0]); ++i) {
    if (std::strcmp(text, kValueOptions[i]) == 0) return i;
  }
  return -1;
}

// Stores one option's value; the problem when it is not one the option takes.
const char* TakeValue(int32_t option, const char* value, DemoOptions& options) {
  static const char* const kShapes[3] = {"lumps", "blobs", "perlin"};
  static const char* const kViews[3] = {"height", "normal", "bump"};
  switch (option) {
    case OptionFrames:
      return ParseCount(value, options.Frames) ? nullptr : "--frames needs a whole number from 1";
    case OptionShape:
      options.Shape = ModeOf(value, kShapes);
      return options.Shape >= 0 ? nullptr : "--shape is lumps, blobs or perlin";
    case OptionView:
      options.View = ModeOf(value, kViews);
      return options.View >= 0 ? nullptr : "--view is height, normal or bump";
    case OptionScreenshot:
      options.Screenshot = value;
      return nullptr;
    case OptionExport:
      options.ExportView = value;
      return nullptr;
    default:
      options.DataFolder = value;
      return nullptr;
  }
}

}  // namespace

bool ParseDemoOptions(int argc, char** argv, DemoOptions& options, const char*& problem) {
  options = DemoOptions();
  problem = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (std::strcmp(option, "--headless") == 0) {
      options.Headless = true;
      continue;
    }
    options.Offending = option;
    const int32_t which = ValueOptionOf(option);
    if (which < 0) {
      problem = "unknown option";
      return false;
    }
    if (i + 1 >= argc) {
      problem = "an option without its value";
      return false;
    }
    problem = TakeValue(which, argv[++i], options);
    if (problem) return false;
  }
  options.Offending = nullptr;
  if (options.Headless && options.Frames <= 0) {
    // Headless, nothing could end the run but a frame count.
    problem = "--headless needs --frames N";
    return false;
  }
  return true;
}
