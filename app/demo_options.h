// The program's command line: where the data folder is, and the headless run.
//   dappleforge [--data DIR]
//   dappleforge --headless --frames N [--shape S] [--view V] [--screenshot out.png] [--data DIR]
// S is lumps, blobs or perlin (or 0..2); V is height, normal or bump (or 0..2).
#pragma once

#include <cstdint>

struct DemoOptions {
  bool Headless = false;
  int32_t Frames = 0;  // 0: until Escape or the window is closed
  int32_t Shape = 0;
  int32_t View = 0;
  const char* Screenshot = nullptr;  // points into argv
  const char* DataFolder = nullptr;  // points into argv; null: beside the executable
};

inline constexpr const char* kDemoUsage =
    "usage: dappleforge [--data DIR]\n"
    "       dappleforge --headless --frames N [--shape lumps|blobs|perlin]\n"
    "                   [--view height|normal|bump] [--screenshot out.png] [--data DIR]\n";

// Reads argv[1..argc-1]. False for an unknown or incomplete option, a bad value,
// or a headless run without a positive frame count; problem then names it.
bool ParseDemoOptions(int argc, char** argv, DemoOptions& options, const char*& problem);
