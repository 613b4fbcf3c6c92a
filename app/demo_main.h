// The application main: start-up, the frame loop and shutdown of the texture demo.
#pragma once

#include <cstdint>

class DemoShell;

// Runs the demo through the shell: 1 after a normal shutdown, 0 when the shell's
// first start-up phase fails (or no shell is given).
int DemoMain(DemoShell* shell);

// DemoMain with DemoOutput off for the run (restored after): for checksums, tests
// and benchmarks, which want the frames without the report.
int DemoMainQuietly(DemoShell* shell);
