// A shell without a window: runs a fixed schedule of frames in modes chosen by the
// caller, shows nothing, and records the rates of every frame.
#pragma once

#include <cstdint>

#include "app/demo_shell.h"

// A run of frames in one pair of modes.
struct HeadlessSegment {
  int32_t Shape;   // ShapeMode for these frames
  int32_t View;    // ViewMode for these frames
  int32_t Frames;  // number of frames, >= 0
};

struct HeadlessOptions {
  const HeadlessSegment* Segments = nullptr;  // run in order; not copied, must outlive the run
  int32_t SegmentCount = 0;
  double (*Clock)() = nullptr;     // seconds; null: the steady clock
  RandomSource* Random = nullptr;  // null: the process-wide source
  bool Progress = false;           // one line per finished segment on DemoOutput
  // Called by the paint step with the 0-based frame number (the views are ready).
  void (*AfterPaint)(void* context, int32_t frame) = nullptr;
  void* Context = nullptr;  // handed to AfterPaint
};

// The names of the modes as the option list shows them ("?" outside 0..2).
const char* ShapeName(int32_t shape);
const char* ViewName(int32_t view);

// Seconds of std::chrono::steady_clock.
double SteadyClockSeconds();

class HeadlessShell : public DemoShell {
 public:
  explicit HeadlessShell(const HeadlessOptions& options);
  ~HeadlessShell() override;
  HeadlessShell(const HeadlessShell&) = delete;
  HeadlessShell& operator=(const HeadlessShell&) = delete;

  bool StartFirstPhase() override;  // draws the window's two values, sizes the rate log
  void StartSecondPhase() override {}
  void InitClock() override {}
  double ReadClock() override;
  int32_t NextRandom() override;
  bool MessageStep() override;  // quits after the last scheduled frame
  void OptionStep(int32_t& shapeMode, int32_t& viewMode) override;
  void PaintStep() override;
  void CloseFirstPhase() override;
  void DeleteSecondPhase() override {}

  int32_t FramesRun() const { return frame_; }
  // The median rates of a finished segment; false for a segment without frames.
  bool SegmentMedians(int32_t segment, float& generation, float& frame) const;

 private:
  void RecordPreviousFrame();
  void FinishSegment(int32_t segment);

  HeadlessOptions options_;
  int32_t totalFrames_ = 0;
  int32_t frame_ = 0;                 // frames started so far
  int32_t segment_ = 0;               // segment of the current frame
  int32_t segmentStart_ = 0;          // first frame of that segment
  int32_t lastFinished_ = -1;         // segments up to this one have their medians
  float* generationRates_ = nullptr;  // one per frame, allocated before the loop
  float* frameRates_ = nullptr;
  float* medians_ = nullptr;    // two per segment
  float* sortSpace_ = nullptr;  // for the medians, one per frame
};
