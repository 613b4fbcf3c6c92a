// The clock on SDL's high-resolution counter, or on its millisecond timer.
#include "platform/clock.h"

#include <SDL.h>

namespace {

bool initialised = false;
bool useCounter = false;
double period = 0.0;  // seconds per count

}  // namespace

void InitClock() {
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  if (frequency == 0) {
    InitMillisecondClock();
    return;
  }
  useCounter = true;
  period = 1.0 / static_cast<double>(frequency);
  initialised = true;
}

void InitMillisecondClock() {
  useCounter = false;
  period = 0.001;
  initialised = true;
}

double ReadClock() {
  if (!initialised) InitClock();
  if (useCounter) return static_cast<double>(SDL_GetPerformanceCounter()) * period;
  return static_cast<double>(static_cast<uint32_t>(SDL_GetTicks())) * period;
}
