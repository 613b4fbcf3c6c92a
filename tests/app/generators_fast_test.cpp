// The generators' fast paths against plain rules: the 16-bit folding addition over a
// dense grid of pixel pairs, stamps clipped to the non-zero span of each source row,
// and the one-pass table advance and refresh.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "app/generators.h"
#include "reference_generators.h"

namespace {

using reference::Pixel16;

TEST(FastStamps, FoldMatchesTheRuleForEverySourceValue) {
  // Every source value 0..65535 against targets that include both edges of the fold.
  C_Image source, target;
  ASSERT_TRUE(source.Create(256, pixel_format::Grey16, 256));
  ASSERT_TRUE(target.Create(256, pixel_format::Grey16, 256));
  for (int32_t i = 0; i < 65536; ++i) Pixel16(&source, i % 256, i / 256) = uint16_t(i);
  std::vector<uint32_t> targets = {0, 1, 2, 32767, 32768, 32769, 65533, 65534, 65535};
  for (uint32_t t = 97; t < 65535; t += 331) targets.push_back(t);
  for (uint32_t t : targets) {
    for (int32_t y = 0; y < 256; ++y)
      for (int32_t x = 0; x < 256; ++x) Pixel16(&target, x, y) = uint16_t(t);
    ASSERT_TRUE(StampAddFold(&source, &target, C_Vector2D(0, 0)));
    for (uint32_t s = 0; s < 65536; ++s) {
      const uint32_t u = s + t;
      ASSERT_EQ(Pixel16(&target, int32_t(s % 256), int32_t(s / 256)), u <= 65535 ? u : 131070 - u)
          << s << " + " << t;
    }
  }
}

TEST(FastStamps, FramesWithRaggedZeroBordersMatchReference) {
  // A source with zero runs of every length at both row ends, empty rows and zeros
  // inside: only the part between the first and last non-zero pixel is combined.
  C_Image shape;
  ASSERT_TRUE(shape.Create(61, pixel_format::Grey16, 47));
  std::mt19937 random(8);
  for (int32_t y = 0; y < shape.Height; ++y) {
    const int32_t begin = y % 31, end = shape.Width - (y * 7) % 33;
    for (int32_t x = 0; x < shape.Width; ++x) {
      const bool inside = x >= begin && x < end && y % 9 != 4 && x % 13 != 5;
      Pixel16(&shape, x, y) = inside ? uint16_t(random() | 1) : 0;
    }
  }
  Particle particles[kLumpCount];
  for (int32_t i = 0; i < kLumpCount; ++i) {
    particles[i].Start = C_Vector2D(float((i * 97) % 512), float((i * 61) % 512));
    particles[i].Velocity = C_Vector2D(float(i % 7) * 10 - 30, float(i % 5) * 20 - 40);
  }
  static double now = 7.5;
  auto clock = [](void*) { return now; };
  C_Image fast, slow;
  for (int32_t fold = 0; fold < 2; ++fold) {
    for (C_Image* image : {&fast, &slow}) {
      ASSERT_TRUE(image->Create(512, pixel_format::Grey16, 512));
      for (int32_t y = 0; y < 512; ++y)
        for (int32_t x = 0; x < 512; ++x) Pixel16(image, x, y) = uint16_t(x * 131 + y * 977);
    }
    if (fold) {
      DrawBlobs(&shape, &fast, particles, 0, ClockSource{clock, nullptr});
      reference::DrawParticles(&shape, &slow, particles, kBlobCount, 7.5f, reference::StampAddFold);
    } else {
      DrawLumps(&shape, &fast, particles, 0, ClockSource{clock, nullptr});
      reference::DrawParticles(&shape, &slow, particles, kLumpCount, 7.5f, reference::StampMax);
    }
    for (int32_t y = 0; y < 512; ++y) {
      ASSERT_EQ(std::memcmp(fast.RowAddress(y), slow.RowAddress(y), 1024), 0) << fold << " " << y;
    }
  }
}

TEST(FastNoise, OnePassAdvanceAndRefreshEqualsTheTwoSteps) {
  std::vector<PhasePair> fastTable(kPhaseCount), slowTable(kPhaseCount);
  std::mt19937 random(4);
  for (size_t i = 0; i < kPhaseCount; ++i) {
    // Near the 32-bit limit too, so that some phases wrap around on this advance.
    const int32_t phase = i % 3 ? int32_t(random()) : INT32_MAX - int32_t(random() % 2000);
    fastTable[i] = slowTable[i] = {phase, int32_t(random() % 768 + 512)};
  }
  C_Image fast, slow;
  for (int32_t width : {512, 300}) {
    ASSERT_TRUE(fast.Create(width, pixel_format::Grey16, 512));
    ASSERT_TRUE(slow.Create(width, pixel_format::Grey16, 512));
    ASSERT_TRUE(AdvanceAndRefreshNoiseBase(fastTable.data(), kPhaseCount, &fast));
    AdvancePhaseTable(slowTable.data(), kPhaseCount);
    ASSERT_TRUE(RefreshNoiseBase(slowTable.data(), &slow));
    ASSERT_EQ(std::memcmp(fastTable.data(), slowTable.data(), kPhaseCount * sizeof(PhasePair)), 0);
    for (int32_t y = 0; y < 512; ++y) {
      ASSERT_EQ(std::memcmp(fast.RowAddress(y), slow.RowAddress(y), size_t(width) * 2), 0) << y;
    }
  }
  // An image the refresh refuses (too wide, or taller than the table) leaves it
  // untouched, while the table still advances.
  C_Image wide;
  ASSERT_TRUE(wide.Create(513, pixel_format::Grey16, 4));
  std::memset(wide.Pixels, 0, size_t(wide.PixelBytes));
  EXPECT_FALSE(AdvanceAndRefreshNoiseBase(fastTable.data(), kPhaseCount, &wide));
  EXPECT_FALSE(AdvanceAndRefreshNoiseBase(fastTable.data(), 512 * 3, &fast));
  AdvancePhaseTable(slowTable.data(), kPhaseCount);
  AdvancePhaseTable(slowTable.data(), 512 * 3);
  EXPECT_EQ(std::memcmp(fastTable.data(), slowTable.data(), kPhaseCount * sizeof(PhasePair)), 0);
  EXPECT_EQ(Pixel16(&wide, 0, 0), 0);
  EXPECT_FALSE(AdvanceAndRefreshNoiseBase(nullptr, kPhaseCount, &fast));
}

}  // namespace
