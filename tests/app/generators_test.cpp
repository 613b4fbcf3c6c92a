// The generators' worked numbers, their edge rules, and the fast code against the
// step-by-step reference on varied inputs.
#include "app/generators.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "core/numeric.h"
#include "core/random.h"
#include "reference_generators.h"

namespace {

using reference::Pixel16;

std::unique_ptr<C_Image> Grey(int32_t width, int32_t height, uint16_t value = 0) {
  auto image = std::make_unique<C_Image>();
  EXPECT_TRUE(image->Create(width, pixel_format::Grey16, height));
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) Pixel16(image.get(), x, y) = value;
  return image;
}

void Randomize(C_Image* image, uint32_t seed) {
  std::mt19937 random(seed);
  for (int32_t y = 0; y < image->Height; ++y)
    for (int32_t x = 0; x < image->Width; ++x) Pixel16(image, x, y) = uint16_t(random());
}

bool SamePixels(const C_Image* a, const C_Image* b) {
  for (int32_t y = 0; y < a->Height; ++y) {
    if (std::memcmp(a->RowAddress(y), b->RowAddress(y), size_t(a->RowBytes)) != 0) return false;
  }
  return true;
}

TEST(Shapes, LumpWorkedNumbers) {
  auto lump = Grey(100, 100);
  ASSERT_TRUE(MakeLumpShape(lump.get()));
  EXPECT_EQ(Pixel16(lump.get(), 50, 50), 65535);
  for (auto [x, y] : {std::pair{0, 0}, {99, 0}, {0, 99}, {99, 99}}) {
    EXPECT_EQ(Pixel16(lump.get(), x, y), 0);
  }
  EXPECT_NEAR(Pixel16(lump.get(), 75, 50), 56755, 2);
  auto expected = Grey(100, 100);
  reference::MakeLumpShape(expected.get());
  EXPECT_TRUE(SamePixels(lump.get(), expected.get()));
}

TEST(Shapes, BlobWorkedNumbers) {
  auto blob = Grey(300, 300);
  ASSERT_TRUE(MakeBlobShape(blob.get()));
  EXPECT_EQ(Pixel16(blob.get(), 150, 150), 65535);
  EXPECT_EQ(Pixel16(blob.get(), 0, 150), 0);
  EXPECT_NEAR(Pixel16(blob.get(), 150, 299), 65535.0 / 150, 2);  // distance 149
  EXPECT_EQ(Pixel16(blob.get(), 0, 0), 0);
  auto expected = Grey(300, 300);
  reference::MakeBlobShape(expected.get());
  EXPECT_TRUE(SamePixels(blob.get(), expected.get()));
}

TEST(Shapes, RefuseImagesTheyCannotFill) {
  EXPECT_FALSE(MakeLumpShape(nullptr));
  C_Image rgba;
  ASSERT_TRUE(rgba.Create(4, pixel_format::R8G8B8A8, 4));
  std::memset(rgba.Pixels, 7, size_t(rgba.PixelBytes));
  EXPECT_FALSE(MakeBlobShape(&rgba));
  EXPECT_EQ(rgba.Pixels[0], 7);
  C_Image undescribed;
  EXPECT_FALSE(MakeLumpShape(&undescribed));
}

TEST(Stamps, ClipSkipsSourceColumnsAndRows) {
  auto source = Grey(20, 20);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) Pixel16(source.get(), x, y) = uint16_t(1000 + 100 * y + x);
  auto target = Grey(30, 30);
  ASSERT_TRUE(StampMax(source.get(), target.get(), C_Vector2D(-10.7f, 5.2f)));
  EXPECT_EQ(Pixel16(target.get(), 0, 5), 1000 + 10);  // source column 10, row 0
  EXPECT_EQ(Pixel16(target.get(), 9, 5), 1000 + 19);
  EXPECT_EQ(Pixel16(target.get(), 10, 5), 0);
  EXPECT_EQ(Pixel16(target.get(), 0, 4), 0);
  EXPECT_EQ(Pixel16(target.get(), 0, 24), 1000 + 1900 + 10);
  EXPECT_EQ(Pixel16(target.get(), 0, 25), 0);
}

TEST(Stamps, FoldReflectsAtTheTop) {
  auto source = Grey(2, 1, 40000);
  auto target = Grey(2, 1, 30000);
  ASSERT_TRUE(StampAddFold(source.get(), target.get(), C_Vector2D(0, 0)));
  EXPECT_EQ(Pixel16(target.get(), 0, 0), 61070);
  auto full = Grey(1, 1, 65535);
  auto top = Grey(1, 1, 65535);
  StampAddFold(full.get(), top.get(), C_Vector2D(0, 0));
  EXPECT_EQ(Pixel16(top.get(), 0, 0), 0);
  auto low = Grey(1, 1, 100);
  StampAddFold(low.get(), top.get(), C_Vector2D(0.9f, 0.9f));
  EXPECT_EQ(Pixel16(top.get(), 0, 0), 100);
}

TEST(Stamps, PositionsWithoutAnIntegerDrawNothing) {
  auto source = Grey(4, 4, 9);
  auto target = Grey(8, 8);
  for (float bad : {NAN, INFINITY, -INFINITY, 3e9f, -3e9f}) {
    EXPECT_TRUE(StampMax(source.get(), target.get(), C_Vector2D(bad, 0)));
    EXPECT_TRUE(StampAddFold(source.get(), target.get(), C_Vector2D(0, bad)));
  }
  auto empty = Grey(8, 8);
  EXPECT_TRUE(SamePixels(target.get(), empty.get()));
  // Far off but truncatable: clipped away without overflowing the edge arithmetic.
  EXPECT_TRUE(StampMax(source.get(), target.get(), C_Vector2D(2.1e9f, -2.1e9f)));
  EXPECT_TRUE(SamePixels(target.get(), empty.get()));
}

TEST(Stamps, MatchReferenceAtVariedPositions) {
  auto lump = Grey(100, 100);
  MakeLumpShape(lump.get());
  auto blob = Grey(300, 300);
  MakeBlobShape(blob.get());
  auto fast = Grey(512, 512), slow = Grey(512, 512);
  std::mt19937 random(3);
  std::uniform_real_distribution<float> where(-400, 900);
  for (int32_t i = 0; i < 300; ++i) {
    const C_Vector2D p(where(random), where(random));
    const C_Image* shape = i % 2 ? lump.get() : blob.get();
    if (i % 3) {
      StampMax(shape, fast.get(), p);
      reference::StampMax(shape, slow.get(), p);
    } else {
      StampAddFold(shape, fast.get(), p);
      reference::StampAddFold(shape, slow.get(), p);
    }
  }
  EXPECT_TRUE(SamePixels(fast.get(), slow.get()));
}

TEST(Numeric, FoldAndWrapWorkedNumbers) {
  EXPECT_EQ(TriangleFold(70000, 65535), 61070);
  EXPECT_EQ(TriangleFold(-5, 65535), 5);
  EXPECT_EQ(TriangleFold(131070, 65535), 0);
  EXPECT_EQ(WrapCoordinate(-1, 512), 511);
  EXPECT_EQ(WrapCoordinate(512, 512), 0);
  EXPECT_EQ(WrapCoordinate(1000.5f, 512), 488.5f);
}

TEST(Noise, SmoothInterpolateEnds) {
  for (uint32_t f : {0u, 1234u, 65535u}) {
    for (uint32_t e : {0u, 777u, 65535u}) {
      EXPECT_EQ(SmoothInterpolate(f, e, 0), f);
      const int64_t half = SmoothInterpolate(f, e, 32768);
      EXPECT_LE(std::abs(2 * half - int64_t(f) - int64_t(e)), 2) << f << " " << e;
    }
  }
  std::mt19937 random(5);
  for (int32_t i = 0; i < 200000; ++i) {
    const uint32_t f = random() & 0xFFFF, e = random() & 0xFFFF, t = random() & 0xFFFF;
    ASSERT_EQ(SmoothInterpolate(f, e, t), reference::SmoothInterpolate(f, e, t));
    const uint32_t g = SmoothInterpolate(f, e, t);
    ASSERT_TRUE(g >= std::min(f, e) && g <= std::max(f, e));
  }
  EXPECT_EQ(SmoothWeight(65535), 65535u);
}

// The 16-bit form of the blend against the 32-bit one: every weight with the
// extreme values, then random triples.
TEST(Noise, Blend16MatchesTheWideBlend) {
  auto wide = [](uint32_t f, uint32_t e, uint32_t s) {
    return uint16_t((f * (65536u - s) + e * s) >> 16);
  };
  for (uint32_t s = 0; s <= 65535; ++s) {
    for (uint32_t f : {0u, 1u, 65534u, 65535u}) {
      for (uint32_t e : {0u, 1u, 65534u, 65535u}) {
        ASSERT_EQ(Blend16(uint16_t(f), uint16_t(e), uint16_t(s)), wide(f, e, s))
            << f << " " << e << " " << s;
      }
    }
  }
  std::mt19937 random(6);
  for (int32_t i = 0; i < 1000000; ++i) {
    const uint32_t f = random() & 0xFFFF, e = random() & 0xFFFF, s = random() & 0xFFFF;
    ASSERT_EQ(Blend16(uint16_t(f), uint16_t(e), uint16_t(s)), wide(f, e, s));
  }
}

TEST(Noise, OctaveAmplitudesAndMultipliers) {
  const float amplitudes[6] = {0.5420312f, 0.1832812f, 0.1064062f,
                               0.0679687f, 0.04875f,   0.0391406f};
  const uint32_t multipliers[6] = {35522, 12011, 6973, 4454, 3194, 2565};
  uint32_t total = 0;
  for (int32_t i = 0; i < 6; ++i) {
    EXPECT_NEAR(OctaveAmplitude(i), amplitudes[i], 1e-7) << i;
    EXPECT_EQ(OctaveMultiplier(OctaveAmplitude(i)), multipliers[i]) << i;
    total += OctaveMultiplier(OctaveAmplitude(i));
  }
  EXPECT_EQ(total, 64719u);
  EXPECT_EQ(OctaveMultiplier(NAN), 0u);
  EXPECT_EQ(OctaveMultiplier(-1), 0u);
  EXPECT_EQ(OctaveMultiplier(1e30f), 0u);
}

TEST(Noise, PhasesWrapAndFoldLikeTheirMagnitude) {
  std::vector<PhasePair> table(kPhaseCount, PhasePair{0, 0});
  table[0] = {INT32_MAX - 100, 1000};  // wraps to INT32_MIN + 899
  table[1] = {-70000, 0};
  table[2] = {INT32_MIN, 0};
  table[3] = {131070 * 3 + 5, 0};
  AdvancePhaseTable(table.data(), table.size());
  EXPECT_EQ(table[0].Phase, INT32_MIN + 899);
  auto base = Grey(512, 512);
  ASSERT_TRUE(RefreshNoiseBase(table.data(), base.get()));
  EXPECT_EQ(Pixel16(base.get(), 0, 0), TriangleFold(INT32_MIN + 899, 65535));
  EXPECT_EQ(Pixel16(base.get(), 1, 0), 61070);
  EXPECT_EQ(Pixel16(base.get(), 2, 0), TriangleFold(INT32_MIN, 65535));
  EXPECT_EQ(Pixel16(base.get(), 3, 0), 5);
  // Successive frames across the wrap keep moving by at most the speed.
  PhasePair near{INT32_MAX - 5000, 1279};
  int32_t last = TriangleFold(near.Phase, 65535);
  for (int32_t i = 0; i < 10; ++i) {
    AdvancePhaseTable(&near, 1);
    const int32_t now = TriangleFold(near.Phase, 65535);
    EXPECT_LE(std::abs(now - last), 1279);
    last = now;
  }
}

TEST(Noise, RefreshMatchesReference) {
  std::vector<PhasePair> table(kPhaseCount);
  std::mt19937 random(11);
  for (PhasePair& pair : table) pair = {int32_t(random()), int32_t(random() % 768 + 512)};
  auto fast = Grey(512, 512), slow = Grey(512, 512);
  std::vector<PhasePair> copy = table;
  AdvancePhaseTable(table.data(), table.size());
  reference::AdvancePhaseTable(copy.data());
  ASSERT_EQ(std::memcmp(table.data(), copy.data(), table.size() * sizeof(PhasePair)), 0);
  RefreshNoiseBase(table.data(), fast.get());
  reference::RefreshNoiseBase(copy.data(), slow.get());
  EXPECT_TRUE(SamePixels(fast.get(), slow.get()));
  auto wide = Grey(513, 2);
  EXPECT_FALSE(RefreshNoiseBase(table.data(), wide.get()));
  // One row more than the table holds: refused without writing (the sanitizer
  // build would catch a read past the table's end).
  auto tall = Grey(4, 513);
  std::memset(tall->Pixels, 0xAB, size_t(tall->PixelBytes));
  EXPECT_FALSE(RefreshNoiseBase(table.data(), tall.get()));
  EXPECT_EQ(Pixel16(tall.get(), 0, 0), 0xABAB);
  EXPECT_FALSE(RefreshNoiseBase(nullptr, slow.get()));
}

TEST(Noise, OctavesMatchReferenceForEveryLatticeCount) {
  auto base = Grey(512, 512);
  Randomize(base.get(), 21);
  auto fastTemp = Grey(512, 512), slowTemp = Grey(512, 512);
  auto fast = Grey(512, 512), slow = Grey(512, 512);
  Randomize(fast.get(), 22);
  Randomize(slow.get(), 22);
  // Lattice counts with an amplitude each: below 1 as in the frame, and from 1 on,
  // where the 16.16 multiplier has a high half and the product wraps at 32 bits.
  const struct {
    int32_t Columns, Rows;
    float Amplitude;
  } cases[] = {{8, 8, 0.9f},      {16, 16, 1.0f},   {32, 32, 3.75f},    {64, 64, 0.0391406f},
               {128, 128, 0.9f},  {256, 256, 0.9f}, {5, 300, 65535.9f}, {512, 1, 0.9f},
               {3, 512, 257.25f}, {256, 256, 1.5f}};
  for (const auto& c : cases) {
    ASSERT_TRUE(
        AddNoiseOctave(base.get(), fastTemp.get(), fast.get(), c.Columns, c.Rows, c.Amplitude));
    reference::AddNoiseOctave(base.get(), slowTemp.get(), slow.get(), c.Columns, c.Rows,
                              c.Amplitude);
    ASSERT_TRUE(SamePixels(fast.get(), slow.get()))
        << c.Columns << " x " << c.Rows << " at " << c.Amplitude;
    for (int32_t r = 0; r < 512; ++r) {
      ASSERT_EQ(
          std::memcmp(fastTemp->RowAddress(r), slowTemp->RowAddress(r), size_t(c.Columns) * 2), 0);
    }
  }
  EXPECT_FALSE(AddNoiseOctave(base.get(), fastTemp.get(), fast.get(), 0, 8, 0.5f));
  EXPECT_FALSE(AddNoiseOctave(base.get(), fastTemp.get(), fast.get(), 8, 513, 0.5f));
  auto small = Grey(511, 512);
  EXPECT_FALSE(AddNoiseOctave(base.get(), small.get(), fast.get(), 8, 8, 0.5f));
}

TEST(Noise, SixOctavesTileWithPeriod512AndStayBelow65536) {
  auto base = Grey(512, 512);
  Randomize(base.get(), 31);
  auto temp = Grey(512, 512), slowTemp = Grey(512, 512);
  auto fast = Grey(512, 512), slow = Grey(512, 512);
  // Temp ends as the octaves in turn leave it: the last column pass in columns
  // 0..255, the rest as it was.
  Randomize(temp.get(), 32);
  Randomize(slowTemp.get(), 32);
  ASSERT_TRUE(AddNoiseOctaves(base.get(), temp.get(), fast.get()));
  for (int32_t i = 0; i < 6; ++i) {
    const int32_t n = kOctaveLattice[i];
    reference::AddNoiseOctave(base.get(), slowTemp.get(), slow.get(), n, n,
                              reference::OctaveAmplitude(i));
  }
  EXPECT_TRUE(SamePixels(fast.get(), slow.get()));
  EXPECT_TRUE(SamePixels(temp.get(), slowTemp.get()));
  // Only lattice cells 0..n-1 are read: a change at row/column 300 of the base
  // cannot reach the sum.
  Pixel16(base.get(), 300, 300) ^= 0xFFFF;
  auto again = Grey(512, 512);
  AddNoiseOctaves(base.get(), temp.get(), again.get());
  EXPECT_TRUE(SamePixels(fast.get(), again.get()));
}

TEST(Particles, TilePeriodIs513) {
  auto lump = Grey(100, 100);
  MakeLumpShape(lump.get());
  auto height = Grey(512, 512);
  Particle p;
  p.Start = C_Vector2D(500, 200);
  p.Velocity = C_Vector2D(0, 0);
  Particle all[kLumpCount];
  for (Particle& q : all) q.Start = C_Vector2D(-5000, -5000), q.Velocity = C_Vector2D(0, 0);
  all[0] = p;
  // The other particles wrap far off; move them onto a spot known to stay empty.
  for (int32_t i = 1; i < kLumpCount; ++i) all[i].Start = C_Vector2D(300, 0.5f);
  auto clock = [](void*) { return 10.0; };
  DrawLumps(lump.get(), height.get(), all, 10.0, ClockSource{clock, nullptr});
  // Source column 50 (the centre) lands at 550 - 513 = 37, not 550 - 512 = 38.
  EXPECT_EQ(Pixel16(height.get(), 37, 250), 65535);
  EXPECT_LT(Pixel16(height.get(), 38, 250), 65535);
  EXPECT_EQ(Pixel16(height.get(), 12, 250), Pixel16(lump.get(), 25, 50));
}

TEST(Particles, FramesMatchReferenceAtFixedTimes) {
  auto lump = Grey(100, 100), blob = Grey(300, 300);
  MakeLumpShape(lump.get());
  MakeBlobShape(blob.get());
  Particle particles[kLumpCount];
  RandomSource random;
  for (Particle& p : particles) {
    const float x = float(random.Next() % 512);
    p.Start = C_Vector2D(x, float(random.Next() % 512));
    p.Velocity = C_Vector2D(100, 0);
    p.Velocity.RotateDegrees(float(random.Next() % 360));
  }
  for (double t : {0.0, 0.37, 12.5, 1000.25}) {
    auto fast = Grey(512, 512), slow = Grey(512, 512);
    static double now;
    now = 100 + t;
    auto clock = [](void*) { return now; };
    DrawLumps(lump.get(), fast.get(), particles, 100, ClockSource{clock, nullptr});
    reference::DrawParticles(lump.get(), slow.get(), particles, 200, float(now - 100),
                             reference::StampMax);
    EXPECT_TRUE(SamePixels(fast.get(), slow.get())) << t;
    auto fastBlobs = Grey(512, 512), slowBlobs = Grey(512, 512);
    DrawBlobs(blob.get(), fastBlobs.get(), particles, 100, ClockSource{clock, nullptr});
    reference::DrawParticles(blob.get(), slowBlobs.get(), particles, 60, float(now - 100),
                             reference::StampAddFold);
    EXPECT_TRUE(SamePixels(fastBlobs.get(), slowBlobs.get())) << t;
  }
}

}  // namespace
