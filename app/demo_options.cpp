#include "app/demo_options.h"

#include <cstdlib>
#include <cstring>

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

}  // namespace

bool ParseDemoOptions(int argc, char** argv, DemoOptions& options, const char*& problem) {
  static const char* const kShapes[3] = {"lumps", "blobs", "perlin"};
  static const char* const kViews[3] = {"height", "normal", "bump"};
  options = DemoOptions();
  problem = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (std::strcmp(option, "--headless") == 0) {
      options.Headless = true;
      continue;
    }
    const bool takesValue =
        std::strcmp(option, "--frames") == 0 || std::strcmp(option, "--shape") == 0 ||
        std::strcmp(option, "--view") == 0 || std::strcmp(option, "--screenshot") == 0 ||
        std::strcmp(option, "--data") == 0;
    if (!takesValue) {
      problem = "unknown option";
      return false;
    }
    if (i + 1 >= argc) {
      problem = "an option without its value";
      return false;
    }
    const char* value = argv[++i];
    if (std::strcmp(option, "--frames") == 0) {
      if (!ParseCount(value, options.Frames)) {
        problem = "--frames needs a whole number from 1";
        return false;
      }
    } else if (std::strcmp(option, "--shape") == 0) {
      options.Shape = ModeOf(value, kShapes);
      if (options.Shape < 0) {
        problem = "--shape is lumps, blobs or perlin";
        return false;
      }
    } else if (std::strcmp(option, "--view") == 0) {
      options.View = ModeOf(value, kViews);
      if (options.View < 0) {
        problem = "--view is height, normal or bump";
        return false;
      }
    } else if (std::strcmp(option, "--screenshot") == 0) {
      options.Screenshot = value;
    } else {
      options.DataFolder = value;
    }
  }
  if (options.Headless && options.Frames <= 0) {
    // Headless, nothing could end the run but a frame count.
    problem = "--headless needs --frames N";
    return false;
  }
  return true;
}
