// Shared helpers for the platform tests: draining the event queue and recording
// handler calls in the order they arrive.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_pump.h"
#include "platform/window.h"

// Handler calls as text, e.g. "fw:ButtonDown 1 0 0 10 20".
inline std::vector<std::string>& CallLog() {
  static std::vector<std::string> log;
  return log;
}

// Pumps until SDL's queue is empty (the timer never fires while something is queued).
inline void DrainEvents() {
  SDL_PumpEvents();
  for (int guard = 0; guard < 1000; ++guard) {
    SDL_Event peek;
    if (SDL_PeepEvents(&peek, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) return;
    PumpMessage();
  }
}

inline uint32_t QueuedEvents() {
  SDL_PumpEvents();
  return static_cast<uint32_t>(
      SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT));
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CallLog().clear();
    DrainEvents();
  }
  void TearDown() override {
    window.Close();
    DrainEvents();
  }
  // Opens a framed window of width x height at (10, 20), empties the queue and
  // forgets the handler calls that opening caused.
  void OpenWindow(float width = 320, float height = 200) {
    window.Placement = C_Rect(10.0f, 20.0f, 10.0f + width, 20.0f + height, 0, 0);
    window.Open();
    ASSERT_EQ(window.Opened, 1);
    DrainEvents();
    CallLog().clear();
  }
  SDL_Window* Handle() const { return SDL_GetWindowFromID(GetPlatformWindowId(&window)); }

  C_Window window;
};
