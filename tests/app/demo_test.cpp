// The driver: start-up order and tables, the frame loop's modes and rates, the
// shutdown report, frames frozen at fixed times against the reference, and the
// four frame checksums.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/crc32.h"
#include "app/demo_main.h"
#include "app/demo_shell.h"
#include "app/demo_state.h"
#include "app/frame_checksums.h"
#include "app/headless_shell.h"
#include "core/memory_counter.h"
#include "reference_generators.h"
#include "tests/counting_new.h"

namespace {

// A headless shell that also reports what it sees at the shutdown phases.
class ProbeShell : public HeadlessShell {
 public:
  using HeadlessShell::HeadlessShell;
  void CloseFirstPhase() override {
    imagesAtClose = HeightImage != nullptr && PhaseTable != nullptr;
    if (DemoOutput) std::fflush(DemoOutput);
  }
  void DeleteSecondPhase() override { imagesAtDelete = HeightImage != nullptr; }
  bool imagesAtClose = false;
  bool imagesAtDelete = true;
};

// Captures DemoOutput in memory for one test.
class CapturedOutput {
 public:
  CapturedOutput() : saved_(DemoOutput) { DemoOutput = open_memstream(&buffer_, &size_); }
  ~CapturedOutput() {
    std::fclose(DemoOutput);
    std::free(buffer_);
    DemoOutput = saved_;
  }
  std::string Text() {
    std::fflush(DemoOutput);
    return std::string(buffer_, size_);
  }

 private:
  FILE* saved_;
  char* buffer_ = nullptr;
  size_t size_ = 0;
};

double FrozenNow = 0;
double FrozenClock() {
  return FrozenNow;
}

HeadlessOptions Options(const HeadlessSegment* segments, int32_t count, RandomSource* random) {
  HeadlessOptions options;
  options.Segments = segments;
  options.SegmentCount = count;
  options.Random = random;
  options.Clock = FrozenClock;
  return options;
}

TEST(Crc32, KnownValues) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0), 0u);
  EXPECT_EQ(Crc32("6789", 4, Crc32("12345", 5)), 0xCBF43926u);
  EXPECT_EQ(ImageCrc32(nullptr), 0u);
}

TEST(Rates, ZeroSecondsKeepTheRateFinite) {
  EXPECT_EQ(MeasureRate(0.25, 7), 4.0f);
  EXPECT_EQ(MeasureRate(0, 7), 7.0f);
  EXPECT_EQ(MeasureRate(-1, 7), 7.0f);
  EXPECT_EQ(MeasureRate(NAN, 7), 7.0f);
  EXPECT_EQ(MeasureRate(1e-300, 7), kMaxRate);
  EXPECT_EQ(RateForDisplay(kMaxRate), 1000000000);
  EXPECT_EQ(RateForDisplay(INFINITY), 1000000000);
  EXPECT_EQ(RateForDisplay(NAN), 0);
  EXPECT_EQ(RateForDisplay(59.9f), 59);
}

TEST(DemoMain, FailedStartReturnsZeroAndCreatesNothing) {
  class Failing : public HeadlessShell {
   public:
    using HeadlessShell::HeadlessShell;
    bool StartFirstPhase() override { return false; }
  };
  HeadlessOptions options;
  Failing shell(options);
  EXPECT_EQ(DemoMain(&shell), 0);
  EXPECT_EQ(HeightImage, nullptr);
  EXPECT_EQ(DemoMain(nullptr), 0);
}

TEST(DemoMain, TablesFollowTheWindowsTwoDraws) {
  RandomSource random;
  const HeadlessSegment none{0, 0, 0};
  HeadlessShell shell(Options(&none, 1, &random));
  CapturedOutput output;
  // Checked inside the run, while the tables exist.
  ASSERT_EQ(DemoMain(&shell), 1);
  RandomSource expected;
  expected.Next();
  expected.Next();
  for (size_t i = 0; i < kPhaseCount; ++i) {
    expected.Next();
    expected.Next();
  }
  for (const Particle& p : Particles) {
    ASSERT_EQ(p.Start.X, float(expected.Next() % 512));
    ASSERT_EQ(p.Start.Y, float(expected.Next() % 512));
    C_Vector2D v(100, 0);
    v.RotateDegrees(float(expected.Next() % 360));
    ASSERT_EQ(p.Velocity.X, v.X);
    ASSERT_EQ(p.Velocity.Y, v.Y);
  }
  EXPECT_EQ(random.Next(), expected.Next());  // nothing else was drawn
  EXPECT_EQ(HeightImage, nullptr);
  EXPECT_EQ(PhaseTable, nullptr);
}

TEST(DemoMain, MemoryLineComesBeforeAnythingIsDeleted) {
  RandomSource random;
  const HeadlessSegment segment{ShapeLumps, ViewBumpMapping, 2};
  ProbeShell shell(Options(&segment, 1, &random));
  CapturedOutput output;
  ASSERT_EQ(DemoMain(&shell), 1);
  EXPECT_TRUE(shell.imagesAtClose);
  EXPECT_FALSE(shell.imagesAtDelete);
  const std::string text = output.Text();
  char expected[80];
  std::snprintf(expected, sizeof expected, "\n\nMax use of memory: %d bytes\n", int(MemoryPeak));
  EXPECT_EQ(text, expected);
  EXPECT_GE(MemoryPeak, uint64_t(512 * 512 * (2 * 3 + 4 * 2) + 100 * 100 * 2 + 300 * 300 * 2));
}

TEST(DemoMain, ModesKeepTheirValueAndTheLoopAllocatesNothing) {
  // The option step sets nothing in frames of a shell that leaves the modes alone.
  class Observer : public HeadlessShell {
   public:
    using HeadlessShell::HeadlessShell;
    void OptionStep(int32_t& shape, int32_t& view) override {
      seen.push_back(shape * 10 + view);  // capacity reserved below
      if (FramesRun() == 2) HeadlessShell::OptionStep(shape, view);
    }
    void PaintStep() override {
      if (FramesRun() == 1) newCallsAtFirstPaint = g_newCalls.load();
      newCallsAtLastPaint = g_newCalls.load();
      memoryAtPaint = MemoryInUse;
    }
    std::vector<int32_t> seen;
    uint64_t newCallsAtFirstPaint = 0, newCallsAtLastPaint = 0, memoryAtPaint = 0;
  };
  RandomSource random;
  const HeadlessSegment segment{ShapePerlinNoise, ViewNormalMap, 5};
  Observer shell(Options(&segment, 1, &random));
  shell.seen.reserve(16);
  CapturedOutput output;
  ASSERT_EQ(DemoMain(&shell), 1);
  EXPECT_EQ(shell.seen, (std::vector<int32_t>{0, 0, 21, 21, 21}));
  EXPECT_EQ(shell.newCallsAtLastPaint, shell.newCallsAtFirstPaint);
}

TEST(DemoMain, NoModeAllocatesInTheFrameLoop) {
  class Counter : public HeadlessShell {
   public:
    using HeadlessShell::HeadlessShell;
    void PaintStep() override {
      const uint64_t calls = g_newCalls.load();
      if (FramesRun() == 1) first = calls, memory = MemoryInUse;
      last = calls;
      memoryChanged |= MemoryInUse != memory;
    }
    uint64_t first = 0, last = 0, memory = 0;
    bool memoryChanged = false;
  };
  HeadlessSegment segments[9];
  for (int32_t i = 0; i < 9; ++i) segments[i] = {i / 3, i % 3, 2};
  RandomSource random;
  HeadlessOptions options = Options(segments, 9, &random);
  options.Progress = true;
  Counter shell(options);
  CapturedOutput output;
  output.Text();  // the stream's buffer exists before the loop
  ASSERT_EQ(DemoMain(&shell), 1);
  EXPECT_EQ(shell.last, shell.first);
  EXPECT_FALSE(shell.memoryChanged);
}

TEST(DemoMain, FrozenFramesMatchTheReference) {
  for (int32_t shape : {ShapeLumps, ShapeBlobs}) {
    for (double when : {0.0, 2.75, 60.5}) {
      RandomSource random;
      const HeadlessSegment segment{shape, ViewBumpMapping, 1};
      HeadlessOptions options = Options(&segment, 1, &random);
      struct Capture {
        uint32_t Height, Normal, Shaded;
        std::vector<uint8_t> HeightPixels;
      } capture{};
      options.Context = &capture;
      options.AfterPaint = [](void* context, int32_t) {
        auto* c = static_cast<Capture*>(context);
        c->Height = ImageCrc32(HeightImage);
        c->Normal = ImageCrc32(NormalImage);
        c->Shaded = ImageCrc32(ShadedImage);
      };
      FrozenNow = 1000;
      // Start-up reads the clock at 1000; the frame runs at 1000 + when.
      class Shell : public HeadlessShell {
       public:
        Shell(const HeadlessOptions& o, double w) : HeadlessShell(o), when_(w) {}
        void StartSecondPhase() override {}
        bool MessageStep() override {
          FrozenNow = 1000 + when_;
          return HeadlessShell::MessageStep();
        }

       private:
        double when_;
      } shell(options, when);
      CapturedOutput output;
      ASSERT_EQ(DemoMain(&shell), 1);

      // The same frame from the reference: fresh tables, shapes, stamps, views.
      RandomSource tables;
      tables.Next();
      tables.Next();
      for (size_t i = 0; i < kPhaseCount; ++i) tables.Next(), tables.Next();
      Particle particles[kLumpCount];
      for (Particle& p : particles) {
        const float x = float(tables.Next() % 512);  // x is drawn before y
        p.Start = C_Vector2D(x, float(tables.Next() % 512));
        p.Velocity = C_Vector2D(100, 0);
        p.Velocity.RotateDegrees(float(tables.Next() % 360));
      }
      C_Image lump, blob, height, normal, shaded;
      lump.Create(100, pixel_format::Grey16, 100);
      blob.Create(300, pixel_format::Grey16, 300);
      height.Create(512, pixel_format::Grey16, 512);
      normal.Create(512, pixel_format::R8G8B8A8, 512);
      std::memset(height.Pixels, 0, size_t(height.PixelBytes));
      reference::MakeLumpShape(&lump);
      reference::MakeBlobShape(&blob);
      const float t = float(when);
      if (shape == ShapeLumps) {
        reference::DrawParticles(&lump, &height, particles, 200, t, reference::StampMax);
      } else {
        reference::DrawParticles(&blob, &height, particles, 60, t, reference::StampAddFold);
      }
      reference::BuildNormalMap(&height, &normal);
      reference::ShadeBump(&normal, &shaded, C_Vector3D(-128, -128, 256));
      EXPECT_EQ(capture.Height, ImageCrc32(&height)) << shape << " at " << when;
      EXPECT_EQ(capture.Normal, ImageCrc32(&normal)) << shape << " at " << when;
      EXPECT_EQ(capture.Shaded, ImageCrc32(&shaded)) << shape << " at " << when;
    }
  }
}

TEST(DemoMain, FrameChecksumsStayFixed) {
  FrameChecksums sums;
  ASSERT_TRUE(ComputeFrameChecksums(sums));
  EXPECT_EQ(sums.HeightFrame1, 0x50921da9u);
  EXPECT_EQ(sums.HeightFrame2, 0xae045458u);
  EXPECT_EQ(sums.NormalFrame1, 0x152a8805u);
  EXPECT_EQ(sums.ShadedFrame1, 0x1ca8e532u);

  // The same two frames from the reference.
  RandomSource random;
  random.Next();
  random.Next();
  std::vector<PhasePair> table(kPhaseCount);
  for (PhasePair& pair : table) {
    pair.Phase = random.Next() * 100;
    pair.Speed = random.Next() % 768 + 512;
  }
  C_Image base, temp, height, normal, shaded;
  for (C_Image* image : {&base, &temp, &height}) {
    image->Create(512, pixel_format::Grey16, 512);
    std::memset(image->Pixels, 0, size_t(image->PixelBytes));
  }
  normal.Create(512, pixel_format::R8G8B8A8, 512);
  reference::PerlinFrame(table.data(), &base, &temp, &height);
  EXPECT_EQ(ImageCrc32(&height), sums.HeightFrame1);
  reference::BuildNormalMap(&height, &normal);
  reference::ShadeBump(&normal, &shaded, C_Vector3D(-128, -128, 256));
  EXPECT_EQ(ImageCrc32(&normal), sums.NormalFrame1);
  EXPECT_EQ(ImageCrc32(&shaded), sums.ShadedFrame1);
  std::memset(height.Pixels, 0, size_t(height.PixelBytes));
  reference::PerlinFrame(table.data(), &base, &temp, &height);
  EXPECT_EQ(ImageCrc32(&height), sums.HeightFrame2);
}

TEST(HeadlessShell, SchedulesSegmentsAndTheirMedians) {
  RandomSource random;
  const HeadlessSegment segments[] = {{ShapeBlobs, ViewHeightMap, 2},
                                      {ShapeLumps, ViewNormalMap, 0},
                                      {ShapePerlinNoise, ViewBumpMapping, 3}};
  HeadlessOptions options = Options(segments, 3, &random);
  options.Clock = nullptr;  // the steady clock: real, positive rates
  options.Progress = true;
  std::vector<int32_t> modes;
  options.Context = &modes;
  options.AfterPaint = [](void* context, int32_t frame) {
    static_cast<std::vector<int32_t>*>(context)->push_back(frame * 100 + ShapeMode * 10 + ViewMode);
  };
  HeadlessShell shell(options);
  CapturedOutput output;
  ASSERT_EQ(DemoMain(&shell), 1);
  EXPECT_EQ(modes, (std::vector<int32_t>{10, 110, 222, 322, 422}));
  float generation = 0, frame = 0;
  EXPECT_TRUE(shell.SegmentMedians(0, generation, frame));
  EXPECT_GT(generation, 0);
  EXPECT_GT(generation, frame);
  EXPECT_FALSE(shell.SegmentMedians(1, generation, frame));
  EXPECT_TRUE(shell.SegmentMedians(2, generation, frame));
  const std::string text = output.Text();
  EXPECT_NE(text.find("Blobs, Height Map: 2 frames"), std::string::npos) << text;
  EXPECT_NE(text.find("Perlin Noise, BumpMapping: 3 frames"), std::string::npos) << text;
  EXPECT_EQ(text.find("Lumps"), std::string::npos) << text;
}

}  // namespace
