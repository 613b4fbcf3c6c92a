// The message pump over SDL's event queue, and the windows' 1 ms timers.
#include "platform/message_pump.h"

#include <algorithm>

#include "platform/window_record.h"

namespace {

std::vector<C_Window*> timerWindows;  // open windows in opening order
int32_t quitCode = 0;

// Gives one due window its Timer call: the one whose tick is oldest, so that
// several windows take turns.
void TickOneTimer() {
  const uint64_t now = SDL_GetTicks64();
  C_Window* due = nullptr;
  for (C_Window* window : timerWindows) {
    const uint64_t last = window->Platform->LastTick;
    if (now - last >= 1 && (!due || last < due->Platform->LastTick)) due = window;
  }
  if (!due) return;
  WindowPlatformRecord& p = *due->Platform;
  p.LastTick = now;
  CallHandlers(due, &WindowHandlers::Timer, (p.Buttons & SDL_BUTTON_LMASK) ? 1 : 0,
               (p.Buttons & SDL_BUTTON_MMASK) ? 1 : 0, (p.Buttons & SDL_BUTTON_RMASK) ? 1 : 0,
               p.PointerX, p.PointerY);
}

}  // namespace

bool PumpMessage() {
  if (!EnsureEvents()) return true;
  // SDL_PollEvent would stop at the end-of-cycle marker it queues and report an
  // empty queue while messages wait behind it; taking the first event directly
  // skips such markers.
  SDL_PumpEvents();
  SDL_Event event;
  if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    if (event.type == SDL_QUIT) return false;
    DispatchEvent(event);
    return true;
  }
  TickOneTimer();
  return true;
}

void PostQuitMessage(int32_t exitCode) {
  quitCode = exitCode;
  if (!EnsureEvents()) return;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  quit.quit.timestamp = SDL_GetTicks();
  SDL_PushEvent(&quit);
}

int32_t QuitExitCode() {
  return quitCode;
}

void StartWindowTimer(C_Window* window) {
  StopWindowTimer(window);
  window->Platform->LastTick = SDL_GetTicks64();
  window->Platform->TimerRunning = true;
  timerWindows.push_back(window);
}

void StopWindowTimer(C_Window* window) {
  timerWindows.erase(std::remove(timerWindows.begin(), timerWindows.end(), window),
                     timerWindows.end());
  if (window->Platform) window->Platform->TimerRunning = false;
}

C_Window* LatestOpenWindow() {
  return timerWindows.empty() ? nullptr : timerWindows.back();
}
