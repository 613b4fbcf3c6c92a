#include "app/headless_shell.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "app/demo_state.h"

namespace {

float Median(float* values, int32_t count) {
  std::sort(values, values + count);
  if (count % 2 != 0) return values[count / 2];
  return (values[count / 2 - 1] + values[count / 2]) * 0.5f;
}

}  // namespace

const char* ShapeName(int32_t shape) {
  static const char* const kNames[] = {"Lumps", "Blobs", "Perlin Noise"};
  return shape >= 0 && shape < 3 ? kNames[shape] : "?";
}

const char* ViewName(int32_t view) {
  static const char* const kNames[] = {"Height Map", "Normal Map", "BumpMapping"};
  return view >= 0 && view < 3 ? kNames[view] : "?";
}

double SteadyClockSeconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(now).count();
}

HeadlessShell::HeadlessShell(const HeadlessOptions& options) : options_(options) {
  if (!options_.Segments || options_.SegmentCount < 0) options_.SegmentCount = 0;
  for (int32_t i = 0; i < options_.SegmentCount; ++i) {
    const int32_t frames = std::max(options_.Segments[i].Frames, 0);
    totalFrames_ = frames > INT32_MAX - totalFrames_ ? INT32_MAX : totalFrames_ + frames;
  }
}

HeadlessShell::~HeadlessShell() {
  delete[] generationRates_;
  delete[] frameRates_;
  delete[] medians_;
  delete[] sortSpace_;
}

bool HeadlessShell::StartFirstPhase() {
  // The window shell's first phase draws two values; drawing them here too gives
  // the driver the same tables as the windowed demo.
  NextRandom();
  NextRandom();
  const size_t frames = size_t(totalFrames_);
  generationRates_ = new (std::nothrow) float[frames + 1]();
  frameRates_ = new (std::nothrow) float[frames + 1]();
  sortSpace_ = new (std::nothrow) float[frames + 1]();
  medians_ = new (std::nothrow) float[size_t(options_.SegmentCount) * 2 + 1]();
  if (!generationRates_ || !frameRates_ || !sortSpace_ || !medians_) return false;
  if (options_.Progress && DemoOutput) {
    std::fprintf(DemoOutput, "Headless run: %d frames in %d segments\n", totalFrames_,
                 options_.SegmentCount);
  }
  return true;
}

double HeadlessShell::ReadClock() {
  return options_.Clock ? options_.Clock() : SteadyClockSeconds();
}

int32_t HeadlessShell::NextRandom() {
  return options_.Random ? options_.Random->Next() : Random();
}

void HeadlessShell::RecordPreviousFrame() {
  if (frame_ == 0) return;
  const int32_t previous = frame_ - 1;
  generationRates_[previous] = GenerationRate;
  frameRates_[previous] = FrameRate;
  if (previous == segmentStart_ + options_.Segments[segment_].Frames - 1) {
    FinishSegment(segment_);
  }
}

void HeadlessShell::FinishSegment(int32_t segment) {
  const int32_t count = options_.Segments[segment].Frames;
  std::copy(generationRates_ + segmentStart_, generationRates_ + segmentStart_ + count, sortSpace_);
  medians_[2 * segment] = Median(sortSpace_, count);
  std::copy(frameRates_ + segmentStart_, frameRates_ + segmentStart_ + count, sortSpace_);
  medians_[2 * segment + 1] = Median(sortSpace_, count);
  lastFinished_ = segment;
  if (options_.Progress && DemoOutput) {
    const HeadlessSegment& s = options_.Segments[segment];
    std::fprintf(DemoOutput, "%s, %s: %d frames, median generation rate %d/s, frame rate %d/s\n",
                 ShapeName(s.Shape), ViewName(s.View), count, RateForDisplay(medians_[2 * segment]),
                 RateForDisplay(medians_[2 * segment + 1]));
    std::fflush(DemoOutput);
  }
}

bool HeadlessShell::MessageStep() {
  RecordPreviousFrame();
  if (frame_ >= totalFrames_) return false;
  // Move on to the segment that holds this frame, past segments without frames.
  while (frame_ >= segmentStart_ + std::max(options_.Segments[segment_].Frames, 0)) {
    segmentStart_ += std::max(options_.Segments[segment_].Frames, 0);
    ++segment_;
  }
  ++frame_;
  return true;
}

void HeadlessShell::OptionStep(int32_t& shapeMode, int32_t& viewMode) {
  if (frame_ == 0) return;
  shapeMode = options_.Segments[segment_].Shape;
  viewMode = options_.Segments[segment_].View;
}

void HeadlessShell::PaintStep() {
  if (options_.AfterPaint) options_.AfterPaint(options_.Context, frame_ - 1);
}

void HeadlessShell::CloseFirstPhase() {}

bool HeadlessShell::SegmentMedians(int32_t segment, float& generation, float& frame) const {
  if (!medians_ || segment < 0 || segment >= options_.SegmentCount) return false;
  if (segment > lastFinished_ || options_.Segments[segment].Frames <= 0) return false;
  generation = medians_[2 * segment];
  frame = medians_[2 * segment + 1];
  return true;
}
