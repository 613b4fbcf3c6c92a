// The message pump: hands at most one pending platform message per call to the
// window it belongs to, and the 1 ms timer ticks while nothing else is pending.
#pragma once

#include <cstdint>

// Takes at most one pending message without waiting. False for the quit message;
// otherwise dispatches it (when there was one) and returns true. With nothing
// pending, an open window whose last tick is at least 1 ms old gets its Timer call.
bool PumpMessage();

// Queues the quit message, which a later PumpMessage reports by returning false.
void PostQuitMessage(int32_t exitCode);

// The exit code given to the last PostQuitMessage; 0 before any.
int32_t QuitExitCode();
