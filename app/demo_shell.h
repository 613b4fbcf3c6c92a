// The application shell as the driver sees it: two start-up phases, three steps of
// every frame, two shutdown phases, and the clock and pseudo-random source the
// driver reads. The window shell and the headless shell implement it.
#pragma once

#include <cstdint>

#include "core/random.h"

class DemoShell {
 public:
  virtual ~DemoShell() = default;

  // Start-up before the driver's images exist (banner, window, drawing interface,
  // GUI). The window draws its two pseudo-random values here. False ends DemoMain
  // with 0 at once.
  virtual bool StartFirstPhase() = 0;
  // Start-up once the images and their surfaces exist (binding them for drawing).
  virtual void StartSecondPhase() = 0;

  virtual void InitClock() = 0;
  virtual double ReadClock() = 0;  // seconds
  // The source of the driver's noise and particle tables.
  virtual int32_t NextRandom() { return Random(); }

  // Handles at most one pending message; false when the quit message arrived.
  virtual bool MessageStep() = 0;
  // Sets the modes from the options; a group without a checked option keeps its mode.
  virtual void OptionStep(int32_t& shapeMode, int32_t& viewMode) = 0;
  // Paints the frame and shows it.
  virtual void PaintStep() = 0;

  // Shutdown before the driver deletes its objects (closing), and after (deleting).
  virtual void CloseFirstPhase() = 0;
  virtual void DeleteSecondPhase() = 0;
};
