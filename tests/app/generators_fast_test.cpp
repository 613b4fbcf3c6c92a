// The generators' fast paths against plain rules: the 16-bit folding addition over a
// dense grid of pixel pairs, stamps clipped to the non-zero span of each source row,
// the one-pass table advance and refresh, and frames that start from a black field
// against clearing it first.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "app/generators.h"
#include "graphics/geometry/color.h"
#include "image/image_ops.h"
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

// The corner step each frame, caught up after n frames, against the whole step n
// times: after every frame the octaves' corner of table and image already agrees,
// and once caught up all of both does. A base that is not 512 x 512 takes the
// whole step. n = 300 checks that a catch-up of many frames at once wraps at 32
// bits as single steps do.
TEST(FastNoise, CornerStepCaughtUpEqualsTheWholeStepEveryFrame) {
  std::vector<PhasePair> start(kPhaseCount);
  std::mt19937 random(11);
  for (size_t i = 0; i < kPhaseCount; ++i) {
    const int32_t phase = i % 3 ? int32_t(random()) : INT32_MAX - int32_t(random() % 300000);
    start[i] = {phase, int32_t(random() % 768 + 512)};
  }
  auto sameCorner = [](const std::vector<PhasePair>& a, const std::vector<PhasePair>& b,
                       const C_Image& x, const C_Image& y) {
    for (int32_t row = 0; row < kLatticeCorner; ++row) {
      const size_t at = size_t(row) * 512;
      if (std::memcmp(&a[at], &b[at], kLatticeCorner * sizeof(PhasePair)) != 0) return false;
      if (std::memcmp(x.RowAddress(row), y.RowAddress(row), kLatticeCorner * 2) != 0) return false;
    }
    return true;
  };
  for (int32_t frames : {0, 1, 2, 7, 300}) {
    std::vector<PhasePair> corner = start, whole = start;
    C_Image lazy, full;
    ASSERT_TRUE(lazy.CreateFilled(512, pixel_format::Grey16, 512, C_Color::FromBytes(0, 0, 0)));
    ASSERT_TRUE(full.CreateFilled(512, pixel_format::Grey16, 512, C_Color::FromBytes(0, 0, 0)));
    uint32_t behind = 0;
    for (int32_t f = 0; f < frames; ++f) {
      ASSERT_TRUE(AdvanceNoiseCorner(corner.data(), &lazy, behind));
      ASSERT_TRUE(AdvanceAndRefreshNoiseBase(whole.data(), kPhaseCount, &full));
      ASSERT_TRUE(sameCorner(corner, whole, lazy, full)) << frames << " frames, at " << f;
    }
    EXPECT_EQ(behind, uint32_t(frames));
    EXPECT_TRUE(CatchUpNoiseBase(corner.data(), &lazy, behind));
    EXPECT_EQ(behind, 0u);
    EXPECT_EQ(std::memcmp(corner.data(), whole.data(), kPhaseCount * sizeof(PhasePair)), 0)
        << frames << " frames";
    EXPECT_EQ(std::memcmp(lazy.Pixels, full.Pixels, size_t(full.PixelBytes)), 0)
        << frames << " frames";
  }
  // A smaller base: the whole step, after catching up what an earlier corner step left.
  std::vector<PhasePair> corner = start, whole = start;
  C_Image base, small, full;
  ASSERT_TRUE(base.Create(512, pixel_format::Grey16, 512));
  ASSERT_TRUE(small.Create(300, pixel_format::Grey16, 512));
  ASSERT_TRUE(full.Create(300, pixel_format::Grey16, 512));
  uint32_t behind = 0;
  ASSERT_TRUE(AdvanceNoiseCorner(corner.data(), &base, behind));
  ASSERT_TRUE(AdvanceNoiseCorner(corner.data(), &small, behind));
  EXPECT_EQ(behind, 0u);
  AdvancePhaseTable(whole.data(), kPhaseCount);
  ASSERT_TRUE(AdvanceAndRefreshNoiseBase(whole.data(), kPhaseCount, &full));
  EXPECT_EQ(std::memcmp(corner.data(), whole.data(), kPhaseCount * sizeof(PhasePair)), 0);
  EXPECT_EQ(std::memcmp(small.Pixels, full.Pixels, size_t(full.PixelBytes)), 0);
  EXPECT_FALSE(AdvanceNoiseCorner(nullptr, &base, behind));
}

// Each generator with HeightStart::Black over a field of noise gives what it gives
// after FillImage with black, on the fast paths (bands that clear their rows, the
// octaves' sum stored) and on the generic ones (a field of another size, a shape
// inside the field, nothing to draw), whose black comes first.
TEST(FastFrames, StartingBlackEqualsFillingFirst) {
  enum Generator { Lumps, Blobs, Noise };
  struct Case {
    const char* Name;
    Generator Kind;
    int32_t Width, Height;
    bool ShapeInside;  // the shape's pixels lie in the field's rows 400 on
    bool NoShape;      // no shape, or (noise) a temp image too small to use
  };
  const Case cases[] = {
      {"lumps", Lumps, 512, 512, false, false},
      {"blobs", Blobs, 512, 512, false, false},
      {"noise", Noise, 512, 512, false, false},
      {"lumps on a wider, taller field", Lumps, 700, 530, false, false},
      {"noise on a wider, taller field", Noise, 600, 520, false, false},
      {"lumps from inside the field", Lumps, 512, 512, true, false},
      {"blobs without a shape", Blobs, 512, 512, false, true},
      {"noise without a usable temp", Noise, 512, 512, false, true},
  };
  Particle particles[kLumpCount];
  std::mt19937 random(17);
  for (Particle& p : particles) {
    p.Start = C_Vector2D(float(random() % 512), float(random() % 512));
    p.Velocity = C_Vector2D(float(random() % 200) - 100, float(random() % 200) - 100);
  }
  auto clock = [](void*) { return 4.75; };
  C_Image base;
  ASSERT_TRUE(base.Create(512, pixel_format::Grey16, 512));
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 512; ++x) Pixel16(&base, x, y) = uint16_t(random());
  for (const Case& c : cases) {
    // [0]: filled black, then drawn onto; [1]: drawn with HeightStart::Black.
    C_Image height[2], shape[2], temp[2];
    for (int32_t k = 0; k < 2; ++k) {
      ASSERT_TRUE(height[k].Create(c.Width, pixel_format::Grey16, c.Height));
      std::mt19937 noise(5);
      for (int32_t y = 0; y < c.Height; ++y)
        for (int32_t x = 0; x < c.Width; ++x) Pixel16(&height[k], x, y) = uint16_t(noise() | 1);
      const int32_t side = c.Kind == Lumps ? 100 : 300;
      if (c.ShapeInside) {
        ASSERT_TRUE(shape[k].AttachPixels(side, height[k].Pitch, side, pixel_format::Grey16,
                                          pixel_format::None, height[k].RowAddress(400)));
      } else {
        ASSERT_TRUE(shape[k].Create(side, pixel_format::Grey16, side));
      }
      c.Kind == Lumps ? MakeLumpShape(&shape[k]) : MakeBlobShape(&shape[k]);
      ASSERT_TRUE(temp[k].Create(512, pixel_format::Grey16, c.NoShape ? 100 : 512));
    }
    ASSERT_TRUE(FillImage(&height[0], C_Color::FromBytes(0, 0, 0)));
    for (int32_t k = 0; k < 2; ++k) {
      const HeightStart start = k == 0 ? HeightStart::Kept : HeightStart::Black;
      const C_Image* source = c.NoShape ? nullptr : &shape[k];
      const ClockSource time{clock, nullptr};
      if (c.Kind == Lumps) DrawLumps(source, &height[k], particles, 0, time, start);
      if (c.Kind == Blobs) DrawBlobs(source, &height[k], particles, 0, time, start);
      if (c.Kind == Noise) {
        EXPECT_EQ(AddNoiseOctaves(&base, &temp[k], &height[k], start), !c.NoShape) << c.Name;
      }
    }
    for (int32_t y = 0; y < c.Height; ++y) {
      ASSERT_EQ(std::memcmp(height[0].RowAddress(y), height[1].RowAddress(y), size_t(c.Width) * 2),
                0)
          << c.Name << ", row " << y;
    }
  }
}

}  // namespace
