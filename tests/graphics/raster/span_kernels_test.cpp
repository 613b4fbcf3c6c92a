// The span kernels against the per-pixel reference on random pictures, options and
// spans, for every family and table entry, with guard pixels around every span.
#include "graphics/raster/internal/span_kernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int32_t kSourceW = 37, kSourceH = 23;  // odd sizes: wrap and clamp edges differ
constexpr int32_t kTargetW = 96, kTargetH = 8;
constexpr int32_t kGuard = 4;  // untouchable columns on each side of every target row

struct Pictures {
  std::vector<uint32_t> source = std::vector<uint32_t>(kSourceW * kSourceH);
  std::vector<uint8_t> alpha = std::vector<uint8_t>(kSourceW * kSourceH);
  std::vector<uint32_t> target = std::vector<uint32_t>((kTargetW + 2 * kGuard) * kTargetH);
  std::vector<uint8_t> mask = std::vector<uint8_t>((kTargetW + 2 * kGuard) * kTargetH);
};

// Pixels drawn from a small set of values so that key matches, alpha 0 and 255 and
// full masks all occur often.
uint32_t RandomPixel(std::mt19937& random, uint32_t key) {
  switch (random() % 4) {
    case 0:
      return key;
    case 1:
      return 0xFF000000u | (random() & 0x00FFFFFFu);
    default:
      return random();
  }
}
uint8_t RandomByte(std::mt19937& random) {
  const uint32_t r = random() % 5;
  return r == 0 ? 0 : (r == 1 ? 255 : static_cast<uint8_t>(random()));
}

void Fill(Pictures& p, std::mt19937& random, uint32_t key) {
  for (auto& v : p.source) v = RandomPixel(random, key);
  for (auto& v : p.alpha) v = RandomByte(random);
  for (auto& v : p.target) v = random();
  for (auto& v : p.mask) v = RandomByte(random);
}

SpanJob MakeJob(Pictures& p, std::mt19937& random, const SpanKey& key) {
  SpanJob job;
  job.Source = reinterpret_cast<const uint8_t*>(p.source.data());
  job.SourcePitch = kSourceW * 4;
  job.Alpha = key.SourceAlpha ? p.alpha.data() : nullptr;
  job.AlphaPitch = kSourceW;
  job.SourceWidth = kSourceW;
  job.SourceHeight = kSourceH;
  job.X1 = static_cast<int32_t>(random() % 10);
  job.Y1 = static_cast<int32_t>(random() % 8);
  job.X2 = job.X1 + 1 + static_cast<int32_t>(random() % (kSourceW - job.X1));
  job.Y2 = job.Y1 + 1 + static_cast<int32_t>(random() % (kSourceH - job.Y1));
  if (random() % 3 == 0) job.X2 = kSourceW;  // bilinear neighbours wrap past the image
  if (random() % 3 == 0) job.Y2 = kSourceH;
  job.Target = reinterpret_cast<uint8_t*>(p.target.data() + kGuard);
  job.TargetPitch = (kTargetW + 2 * kGuard) * 4;
  job.Mask = key.TargetMask ? p.mask.data() + kGuard : nullptr;
  job.MaskPitch = kTargetW + 2 * kGuard;
  job.Key = p.source[0];
  job.Tint = random();
  static const uint32_t kLayouts[3][3] = {{16, 8, 0}, {24, 16, 8}, {0, 8, 16}};
  const auto& from = kLayouts[random() % 3];
  const auto& to = key.SameLayout ? from : kLayouts[(random() % 2) + 1];
  job.TargetColorMask = 0;
  job.TintOnTarget = 0;
  for (int c = 0; c < 3; ++c) {
    job.SourceShift[c] = from[c];
    job.TargetShift[c] = to[c];
    job.TargetColorMask |= 0xFFu << to[c];
    job.TintChannel[c] = static_cast<int32_t>((job.Tint >> from[c]) & 0xFF);
    job.TintOnTarget |= static_cast<uint32_t>(job.TintChannel[c]) << to[c];
    job.Contrast[c] = random() % 2 ? 256 : static_cast<int32_t>(random() % 1024) - 256;
    job.Offset[c] = random() % 2 ? 0 : static_cast<int32_t>(random() % 600) - 300;
  }
  const int32_t opacities[] = {256, 255, 128, 1, static_cast<int32_t>(random() % 257)};
  job.Opacity = opacities[random() % 5];
  job.StepU = static_cast<int64_t>(random() % 300000) - 150000;
  job.StepV = static_cast<int64_t>(random() % 300000) - 150000;
  return job;
}

SpanRow MakeRow(std::mt19937& random, const SpanJob& job, SpanGeometry geometry, bool mirror,
                int32_t count) {
  SpanRow row;
  row.Count = count;
  row.X = static_cast<int32_t>(random() % (kTargetW - count + 1));
  row.Y = static_cast<int32_t>(random() % kTargetH);
  if (geometry == SpanGeometry::Copy) {
    // Copy spans stay inside the image (the draw cuts them so).
    const int32_t width = job.X2 - job.X1;
    const int32_t n = count < width ? count : width;
    row.Count = n;
    const int32_t start = job.X1 + static_cast<int32_t>(random() % (width - n + 1));
    row.U = mirror ? start + n - 1 : start;
    row.V = job.Y1 + static_cast<int32_t>(random() % (job.Y2 - job.Y1));
  } else {
    row.U = static_cast<int64_t>(random() % (60 << 16)) - (10 << 16);
    row.V = static_cast<int64_t>(random() % (40 << 16)) - (8 << 16);
  }
  return row;
}

const SpanFamily kFamilies[] = {SpanFamily::Plain,      SpanFamily::Keyed,   SpanFamily::Solid,
                                SpanFamily::KeyedSolid, SpanFamily::Blended, SpanFamily::Effects};

// Every key bit combination of every family, every geometry, spans of 1..N pixels.
TEST(SpanKernels, MatchTheReferenceBitForBitWithGuardsUntouched) {
  std::mt19937 random(12345);
  int checked = 0;
  for (const SpanFamily family : kFamilies) {
    for (uint32_t bits = 0; bits < 64; ++bits) {
      SpanKey key;
      key.Family = family;
      key.MirrorX = bits & 1;
      key.SourceAlpha = bits & 2;
      key.TargetMask = bits & 4;
      key.Tint = bits & 8;
      key.Smooth = bits & 16;
      key.SameLayout = (bits & 32) == 0;
      const bool blending = family == SpanFamily::Blended || family == SpanFamily::Effects;
      if (!blending && (key.SourceAlpha || key.TargetMask || key.Tint || key.Smooth)) continue;
      if (!blending && !key.SameLayout) continue;
      const SpanSet set = ChooseSpans(key);
      const SpanFunction functions[3] = {set.Copy, set.Scale, set.Rotate};
      for (int g = 0; g < 3; ++g) {
        const auto geometry = static_cast<SpanGeometry>(g);
        for (int32_t count = 1; count <= 40; count += (count < 9 ? 1 : 7)) {
          Pictures fast;
          Fill(fast, random, 0xFFFF00FFu);
          const SpanJob job = MakeJob(fast, random, key);
          const SpanRow row = MakeRow(random, job, geometry, key.MirrorX, count);
          Pictures slow = fast;
          SpanJob slowJob = job;
          slowJob.Source = reinterpret_cast<const uint8_t*>(slow.source.data());
          slowJob.Alpha = key.SourceAlpha ? slow.alpha.data() : nullptr;
          slowJob.Target = reinterpret_cast<uint8_t*>(slow.target.data() + kGuard);
          slowJob.Mask = key.TargetMask ? slow.mask.data() + kGuard : nullptr;
          const Pictures before = fast;
          ASSERT_NE(functions[g], nullptr);
          functions[g](job, row);
          ReferenceSpan(slowJob, key, geometry, row);
          SCOPED_TRACE(::testing::Message() << "family " << int(family) << " bits " << bits
                                            << " geometry " << g << " count " << row.Count);
          ASSERT_EQ(fast.target, slow.target);
          ASSERT_EQ(fast.mask, slow.mask);
          // Only the span's own pixels (and mask bytes) may change.
          const int32_t pitch = kTargetW + 2 * kGuard;
          for (int32_t y = 0; y < kTargetH; ++y) {
            for (int32_t x = 0; x < pitch; ++x) {
              const bool inside =
                  y == row.Y && x >= kGuard + row.X && x < kGuard + row.X + row.Count;
              if (inside) continue;
              ASSERT_EQ(fast.target[y * pitch + x], before.target[y * pitch + x]) << x << "," << y;
              ASSERT_EQ(fast.mask[y * pitch + x], before.mask[y * pitch + x]) << x << "," << y;
            }
          }
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 3000);
}

// Long spans whose coordinates leave the rectangle on both sides: the clamped ends
// and the unclamped middle of the fast kernels meet where the reference says.
TEST(SpanKernels, ClampedEndsMeetTheUnclampedMiddle) {
  std::mt19937 random(99);
  for (const SpanFamily family : {SpanFamily::Plain, SpanFamily::Keyed, SpanFamily::Solid}) {
    SpanKey key;
    key.Family = family;
    const SpanSet set = ChooseSpans(key);
    for (int trial = 0; trial < 300; ++trial) {
      Pictures fast;
      Fill(fast, random, 0xFFFF00FFu);
      SpanJob job = MakeJob(fast, random, key);
      const int64_t steps[] = {0, 1, -1, 65536, -65536, 1 << 20, -(1 << 20), 32768, -40000};
      job.StepU = steps[random() % 9];
      job.StepV = steps[random() % 9];
      SpanRow row = MakeRow(random, job, SpanGeometry::Scale, false, kTargetW);
      row.X = 0;
      Pictures slow = fast;
      SpanJob slowJob = job;
      slowJob.Source = reinterpret_cast<const uint8_t*>(slow.source.data());
      slowJob.Target = reinterpret_cast<uint8_t*>(slow.target.data() + kGuard);
      const bool rotate = trial % 2 == 1;
      (rotate ? set.Rotate : set.Scale)(job, row);
      ReferenceSpan(slowJob, key, rotate ? SpanGeometry::Rotate : SpanGeometry::Scale, row);
      ASSERT_EQ(fast.target, slow.target) << "trial " << trial;
    }
  }
}

TEST(SpanKernels, TheTablePicksOneKernelPerGeometryAndFamily) {
  SpanKey plain;
  SpanKey mirrored;
  mirrored.MirrorX = true;
  EXPECT_NE(ChooseSpans(plain).Copy, ChooseSpans(mirrored).Copy);
  EXPECT_EQ(ChooseSpans(plain).Scale, ChooseSpans(mirrored).Scale);  // mirrored by a negated step
  SpanKey solid;
  solid.Family = SpanFamily::Solid;
  solid.MirrorX = true;
  SpanKey solidForward = solid;
  solidForward.MirrorX = false;
  EXPECT_EQ(ChooseSpans(solid).Copy, ChooseSpans(solidForward).Copy);  // reads no source
}

}  // namespace
