// The program's command line: where the data folder is, and the headless run.
//   dappleforge [--data DIR]
//   dappleforge --headless --frames N [--shape S] [--view V] [--screenshot out.png]
//               [--export-view out.png] [--data DIR]
// S is lumps, blobs or perlin (or 0..2); V is height, normal or bump (or 0..2).
// --help and --version are answered before these are read (program/standard_options.h).
#pragma once

#include <cstdint>

#include "program/standard_options.h"

struct DemoOptions {
  bool Headless = false;
  int32_t Frames = 0;  // 0: until Escape or the window is closed
  int32_t Shape = 0;
  int32_t View = 0;
  const char* Screenshot = nullptr;  // points into argv
  const char* ExportView = nullptr;  // points into argv: the last frame's view as a PNG
  const char* DataFolder = nullptr;  // points into argv; null: found from the executable
  const char* Offending = nullptr;   // after a failed parse: the argument it stopped at
};

extern const ProgramUsage kDemoUsage;

// Reads argv[1..argc-1]. False for an unknown or incomplete option, a bad value,
// or a headless run without a positive frame count; problem then names it and
// options.Offending holds the argument.
bool ParseDemoOptions(int argc, char** argv, DemoOptions& options, const char*& problem);
