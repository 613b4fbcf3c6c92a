// The frame on the worker pool: the same bits with any number of threads. Every
// test of this program runs on a pool of three threads (DF_WORKERS chooses another
// count), so the fast-against-reference tests run in uneven bands too; the tests
// below compare thread counts directly, frame by frame in every mode.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "app/crc32.h"
#include "app/demo_main.h"
#include "app/demo_state.h"
#include "app/fill_bands.h"
#include "app/frame_checksums.h"
#include "app/generators.h"
#include "app/headless_shell.h"
#include "graphics/geometry/color.h"
#include "image/image_ops.h"
#include "reference_generators.h"
#include "thread/worker_pool.h"

namespace {

using reference::Pixel16;

// Three threads cut 512 rows into bands that are not multiples of 8 or 16.
class PoolEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Workers.Start(std::getenv("DF_WORKERS") ? PoolThreadCount() : 3); }
  void TearDown() override { Workers.Stop(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new PoolEnvironment);

// Runs the process's pool with a given thread count for one scope.
class PoolThreads {
 public:
  explicit PoolThreads(int32_t threads) : saved_(Workers.Running() ? Workers.Threads() : 0) {
    Workers.Stop();
    Workers.Start(threads);
  }
  ~PoolThreads() {
    Workers.Stop();
    if (saved_ > 0) Workers.Start(saved_);
  }

 private:
  int32_t saved_;
};

constexpr int32_t kThreadCounts[] = {1, 2, 8};

TEST(WorkerFrames, ChecksumsAreTheSameWithOneTwoAndEightThreads) {
  for (int32_t threads : kThreadCounts) {
    PoolThreads pool(threads);
    ASSERT_EQ(Workers.Threads(), threads);
    FrameChecksums sums;
    ASSERT_TRUE(ComputeFrameChecksums(sums));
    EXPECT_EQ(sums.HeightFrame1, 0x50921da9u) << threads;
    EXPECT_EQ(sums.HeightFrame2, 0xae045458u) << threads;
    EXPECT_EQ(sums.NormalFrame1, 0x152a8805u) << threads;
    EXPECT_EQ(sums.ShadedFrame1, 0x1ca8e532u) << threads;
  }
}

// The height field and the shown view of every frame of a run through all nine
// mode pairs, with a clock that moves the particles 0.37 s per frame.
constexpr int32_t kFramesPerMode = 12;

struct FrameLog {
  std::vector<uint32_t> Sums;
  double Now = 0;
};
FrameLog* currentLog = nullptr;

double LogClock() {
  return currentLog->Now;
}

void LogFrame(void* context, int32_t) {
  auto* log = static_cast<FrameLog*>(context);
  log->Sums.push_back(ImageCrc32(HeightImage));
  const C_Image* shown = ViewMode == ViewNormalMap     ? NormalImage
                         : ViewMode == ViewBumpMapping ? ShadedImage
                                                       : HeightImage;
  log->Sums.push_back(ImageCrc32(shown));
  log->Now += 0.37;
}

std::vector<uint32_t> RunEveryMode() {
  HeadlessSegment segments[9];
  for (int32_t i = 0; i < 9; ++i) segments[i] = {i / 3, i % 3, kFramesPerMode};
  RandomSource random;
  FrameLog log;
  log.Sums.reserve(9 * kFramesPerMode * 2);
  currentLog = &log;
  HeadlessOptions options;
  options.Segments = segments;
  options.SegmentCount = 9;
  options.Clock = LogClock;
  options.Random = &random;
  options.AfterPaint = LogFrame;
  options.Context = &log;
  HeadlessShell shell(options);
  EXPECT_EQ(DemoMainQuietly(&shell), 1);
  currentLog = nullptr;
  return log.Sums;
}

TEST(WorkerFrames, EveryModeGivesTheFramesOfOneThread) {
  std::vector<uint32_t> one;
  {
    PoolThreads pool(1);
    one = RunEveryMode();
  }
  ASSERT_EQ(one.size(), size_t(9 * kFramesPerMode * 2));
  for (int32_t threads : {2, 8}) {
    PoolThreads pool(threads);
    const std::vector<uint32_t> many = RunEveryMode();
    ASSERT_EQ(many.size(), one.size());
    for (size_t i = 0; i < one.size(); ++i) {
      const size_t frame = i / 2;
      ASSERT_EQ(many[i], one[i]) << threads << " threads, mode pair " << frame / kFramesPerMode
                                 << ", frame " << frame % kFramesPerMode
                                 << (i % 2 ? ", view" : ", height");
    }
  }
}

bool SamePixels(const C_Image& a, const C_Image& b) {
  for (int32_t y = 0; y < a.Height; ++y) {
    if (std::memcmp(a.RowAddress(y), b.RowAddress(y), size_t(a.RowBytes)) != 0) return false;
  }
  return true;
}

void Grey(C_Image& image, int32_t width, int32_t height, uint32_t seed) {
  ASSERT_TRUE(image.Create(width, pixel_format::Grey16, height));
  std::mt19937 random(seed);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) Pixel16(&image, x, y) = uint16_t(random());
}

// The banded fill gives FillImage's bytes with any thread count, padded pitch
// included, and refuses what FillImage refuses without touching memory.
TEST(WorkerFrames, BandedFillIsFillImage) {
  const C_Color color(0.2f, 0.4f, 0.6f, 1.0f);
  for (int32_t threads : kThreadCounts) {
    PoolThreads pool(threads);
    for (const int32_t format : {pixel_format::Grey16, pixel_format::A8R8G8B8}) {
      C_Image whole;
      ASSERT_TRUE(whole.Create(300, format, 70));
      ASSERT_TRUE(FillImage(&whole, color));
      std::vector<uint8_t> block(size_t(whole.RowBytes + 6) * 70, 0x5A);
      C_Image banded;
      ASSERT_TRUE(banded.AttachPixels(300, whole.RowBytes + 6, 70, format, pixel_format::None,
                                      block.data()));
      ASSERT_TRUE(FillImageInBands(&banded, color));
      for (int32_t y = 0; y < 70; ++y) {
        ASSERT_EQ(std::memcmp(banded.RowAddress(y), whole.RowAddress(y), size_t(whole.RowBytes)), 0)
            << threads << " threads, row " << y;
        for (int32_t i = whole.RowBytes; i < whole.RowBytes + 6; ++i) {
          ASSERT_EQ(banded.RowAddress(y)[i], 0x5A) << "padding of row " << y;
        }
      }
    }
    // No pixels (as after a failed allocation), a missing image, an undescribed format.
    C_Image empty;
    empty.Width = 512;
    empty.Height = 512;
    empty.Pitch = 1024;
    empty.Format = pixel_format::Grey16;
    EXPECT_FALSE(FillImageInBands(&empty, color));
    EXPECT_FALSE(FillImageInBands(nullptr, color));
    C_Image odd;
    ASSERT_TRUE(odd.Create(8, pixel_format::Grey16, 8));
    odd.Format = 9999;
    EXPECT_FALSE(FillImageInBands(&odd, color));
    odd.Format = pixel_format::Grey16;  // released as it was made
  }
}

// The refresh hands each band rows from both halves of the base: every row is
// folded once and every table row advanced once, for odd heights and more
// threads than rows too.
TEST(WorkerFrames, NoiseRefreshTouchesEveryRowOnce) {
  std::vector<PhasePair> start(kPhaseCount);
  std::mt19937 random(11);
  for (PhasePair& pair : start) pair = {int32_t(random()), int32_t(random() % 768 + 512)};
  std::vector<PhasePair> advanced = start;
  reference::AdvancePhaseTable(advanced.data());
  for (int32_t threads : kThreadCounts) {
    PoolThreads pool(threads);
    for (const int32_t height : {1, 2, 3, 9, 257, 511, 512}) {
      C_Image fast, slow;
      ASSERT_TRUE(fast.Create(512, pixel_format::Grey16, height));
      ASSERT_TRUE(slow.Create(512, pixel_format::Grey16, height));
      std::vector<PhasePair> table = start;
      ASSERT_TRUE(RefreshNoiseBase(table.data(), &fast));
      reference::RefreshNoiseBase(table.data(), &slow);
      ASSERT_EQ(std::memcmp(fast.Pixels, slow.Pixels, size_t(slow.PixelBytes)), 0)
          << threads << " threads, height " << height;
      ASSERT_TRUE(AdvanceAndRefreshNoiseBase(table.data(), kPhaseCount, &fast));
      ASSERT_EQ(std::memcmp(table.data(), advanced.data(), kPhaseCount * sizeof(PhasePair)), 0)
          << threads << " threads, height " << height;
      reference::RefreshNoiseBase(table.data(), &slow);
      ASSERT_EQ(std::memcmp(fast.Pixels, slow.Pixels, size_t(slow.PixelBytes)), 0)
          << threads << " threads, height " << height;
    }
  }
}

// A column pass that reads the lattice from the rows it writes (base and temp
// the same image) depends on the order of the rows: it stays on one thread.
TEST(WorkerFrames, OverlappingNoiseImagesGiveTheResultOfOneThread) {
  C_Image shared, height, expected;
  for (int32_t threads : kThreadCounts) {
    PoolThreads pool(threads);
    Grey(shared, 512, 512, 5);
    Grey(height, 512, 512, 6);
    ASSERT_TRUE(AddNoiseOctaves(&shared, &shared, &height));
    if (threads == 1) {
      ASSERT_TRUE(expected.Create(512, pixel_format::Grey16, 512));
      std::memcpy(expected.Pixels, height.Pixels, size_t(height.PixelBytes));
    }
    EXPECT_TRUE(SamePixels(height, expected)) << threads << " threads";
  }
}

}  // namespace
