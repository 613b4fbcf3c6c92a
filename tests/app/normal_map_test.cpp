// Normal map and bump shading: the worked numbers, the wrap-around neighbours, the
// light's edge cases, and the fast code against the reference.
#include "app/normal_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include "graphics/geometry/color.h"
#include "image/image_ops.h"
#include "reference_generators.h"

namespace {

using reference::Pixel16;
using reference::Pixel32;

struct Images {
  C_Image Height, Normal, Shaded;
  Images() {
    Height.Create(512, pixel_format::Grey16, 512);
    Normal.Create(512, pixel_format::R8G8B8A8, 512);
    std::memset(Height.Pixels, 0, size_t(Height.PixelBytes));
  }
};

// Channels of format 23: x in the top byte, then y, then z.
uint32_t Encoded(uint32_t x, uint32_t y, uint32_t z) {
  return x << 24 | y << 16 | z << 8;
}

TEST(NormalMap, FlatFieldPointsUp) {
  Images images;
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 512; ++x) Pixel16(&images.Height, x, y) = 40000;
  ASSERT_TRUE(BuildNormalMap(&images.Height, &images.Normal));
  for (int32_t y = 0; y < 512; y += 37)
    for (int32_t x = 0; x < 512; x += 41)
      ASSERT_EQ(Pixel32(&images.Normal, x, y), Encoded(127, 127, 255));
}

TEST(NormalMap, SlopeAlongXAndTheSeam) {
  Images images;
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 512; ++x) Pixel16(&images.Height, x, y) = uint16_t(x * 100);
  // Rises by 1024 per pixel around column 30 (away from the seam).
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 20; x < 40; ++x) Pixel16(&images.Height, x, y) = uint16_t(20000 + 1024 * x);
  ASSERT_TRUE(BuildNormalMap(&images.Height, &images.Normal));
  EXPECT_EQ(Pixel32(&images.Normal, 30, 100), Encoded(12, 127, 184));
  // Column 0's left neighbour is column 511 (51100 vs 100): a steep drop to the right.
  const uint32_t seam = Pixel32(&images.Normal, 0, 7);
  EXPECT_GT(seam >> 24, 200u);
  EXPECT_GT((Pixel32(&images.Normal, 511, 7) >> 24), 200u);
  C_Image expected;
  expected.Create(512, pixel_format::R8G8B8A8, 512);
  reference::BuildNormalMap(&images.Height, &expected);
  EXPECT_EQ(std::memcmp(expected.Pixels, images.Normal.Pixels, size_t(expected.PixelBytes)), 0);
}

TEST(NormalMap, RandomFieldsMatchReference) {
  Images images;
  std::mt19937 random(9);
  for (uint32_t range : {0xFFFFu, 0x3FFu, 0x7u}) {
    for (int32_t y = 0; y < 512; ++y)
      for (int32_t x = 0; x < 512; ++x) Pixel16(&images.Height, x, y) = uint16_t(random() & range);
    ASSERT_TRUE(BuildNormalMap(&images.Height, &images.Normal));
    C_Image expected;
    expected.Create(512, pixel_format::R8G8B8A8, 512);
    reference::BuildNormalMap(&images.Height, &expected);
    ASSERT_EQ(std::memcmp(expected.Pixels, images.Normal.Pixels, size_t(expected.PixelBytes)), 0)
        << range;
  }
}

TEST(NormalMap, RefusesImagesItCannotUse) {
  Images images;
  C_Image small;
  small.Create(511, pixel_format::R8G8B8A8, 512);
  EXPECT_FALSE(BuildNormalMap(&images.Height, &small));
  EXPECT_FALSE(BuildNormalMap(nullptr, &images.Normal));
  EXPECT_FALSE(BuildNormalMap(&images.Normal, &images.Normal));  // 32-bit heights
  C_Image one;
  one.Create(1, pixel_format::Grey16, 1);
  Pixel16(&one, 0, 0) = 5;
  EXPECT_TRUE(BuildNormalMap(&one, &images.Normal));
  EXPECT_EQ(Pixel32(&images.Normal, 0, 0), Encoded(127, 127, 255));
}

TEST(ShadeBump, InitialLightOnAFlatArea) {
  int32_t l[3];
  LightIntegers(C_Vector3D(-128, -128, 256), l);
  EXPECT_EQ(l[0], -104);
  EXPECT_EQ(l[1], -104);
  EXPECT_EQ(l[2], 209);
  Images images;
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 512; ++x) Pixel32(&images.Normal, x, y) = Encoded(127, 127, 255);
  ASSERT_TRUE(ShadeBump(&images.Normal, &images.Shaded, C_Vector3D(-128, -128, 256)));
  EXPECT_EQ(images.Shaded.Width, 512);
  EXPECT_EQ(images.Shaded.Format, pixel_format::R8G8B8A8);
  EXPECT_EQ(Pixel32(&images.Shaded, 300, 200), Encoded(207, 207, 207));
}

TEST(ShadeBump, LightEdgeCases) {
  Images images;
  const uint32_t up = Encoded(127, 127, 255), down = Encoded(127, 127, 0);
  Pixel32(&images.Normal, 0, 0) = up;
  Pixel32(&images.Normal, 1, 0) = down;
  Pixel32(&images.Normal, 2, 0) = Encoded(255, 255, 255);
  // A zero light stays unnormalised: black everywhere.
  ASSERT_TRUE(ShadeBump(&images.Normal, &images.Shaded, C_Vector3D(0, 0, 0)));
  EXPECT_EQ(Pixel32(&images.Shaded, 0, 0), 0u);
  // Opposite the normal: 0, not negative; straight on: 254, and the brightest
  // possible normal clamps at 255.
  ASSERT_TRUE(ShadeBump(&images.Normal, &images.Shaded, C_Vector3D(0, 0, 1)));
  EXPECT_EQ(Pixel32(&images.Shaded, 0, 0), Encoded(254, 254, 254));
  EXPECT_EQ(Pixel32(&images.Shaded, 1, 0), 0u);
  ASSERT_TRUE(ShadeBump(&images.Normal, &images.Shaded, C_Vector3D(1, 1, 1)));
  EXPECT_EQ(Pixel32(&images.Shaded, 2, 0), Encoded(255, 255, 255));
  // Lights without a direction shade black instead of converting NaN or infinity.
  for (C_Vector3D bad :
       {C_Vector3D(NAN, 0, 1), C_Vector3D(INFINITY, 0, 0), C_Vector3D(1e30f, 1e30f, 1e30f)}) {
    int32_t l[3];
    LightIntegers(bad, l);
    for (int32_t c : l) EXPECT_TRUE(c >= -1024 && c <= 1024);
    EXPECT_TRUE(ShadeBump(&images.Normal, &images.Shaded, bad));
  }
}

TEST(ShadeBump, RandomNormalsMatchReference) {
  Images images;
  std::mt19937 random(4);
  for (int32_t i = 0; i < 512 * 512; ++i)
    reinterpret_cast<uint32_t*>(images.Normal.Pixels)[i] = random();
  C_Image expected;
  for (C_Vector3D light :
       {C_Vector3D(-128, -128, 256), C_Vector3D(3, -7, 1), C_Vector3D(0, 0, -1)}) {
    ASSERT_TRUE(ShadeBump(&images.Normal, &images.Shaded, light));
    reference::ShadeBump(&images.Normal, &expected, light);
    ASSERT_EQ(std::memcmp(expected.Pixels, images.Shaded.Pixels, size_t(expected.PixelBytes)), 0);
  }
}

TEST(ShadeBump, WideChannelsStayInRange) {
  // Grey32: one 32-bit channel; the products need more than 32 bits.
  C_Image normal, shaded;
  ASSERT_TRUE(normal.Create(4, pixel_format::Grey32, 1));
  for (int32_t x = 0; x < 4; ++x) Pixel32(&normal, x, 0) = 0xFFFFFFF0u - uint32_t(x);
  EXPECT_FALSE(ShadeBump(&normal, &normal, C_Vector3D(1, 0, 0)));
  EXPECT_TRUE(ShadeBump(&normal, &shaded, C_Vector3D(1, 0, 0)));
  EXPECT_EQ(shaded.Format, pixel_format::Grey32);
  EXPECT_EQ(Pixel32(&shaded, 0, 0), 255u);
  C_Image grey;
  grey.Create(4, pixel_format::Grey16, 4);
  EXPECT_FALSE(ShadeBump(&grey, &shaded, C_Vector3D(1, 0, 0)));
}

// ---- the fast paths: AVX-512 and AVX2 kernels (where the processor has them),
// the plain loops, and the one-sweep form of the driver ----

// The kernels a test runs: the widest vectors the limit allows, or the plain loops.
struct KernelPath {
  const char* Name;
  int32_t VectorBits;
  bool Generic;
};
constexpr KernelPath kPaths[] = {
    {"widest vectors", 512, false}, {"AVX2 at most", 256, false}, {"plain loops", 512, true}};

void UsePath(const KernelPath& path) {
  LimitViewVectorBits(path.VectorBits);
  ForceGenericPixelPath(path.Generic);
}

// Runs body once on every path.
template <typename Body>
void EveryPath(Body body) {
  for (const KernelPath& path : kPaths) {
    SCOPED_TRACE(path.Name);
    UsePath(path);
    body();
  }
  UsePath(kPaths[0]);
}

bool SamePixels(const C_Image& a, const C_Image& b) {
  return a.PixelBytes == b.PixelBytes && std::memcmp(a.Pixels, b.Pixels, size_t(a.PixelBytes)) == 0;
}

// Extreme fields: full-range noise, and columns and rows alternating between 0 and
// 65535 (the steepest normals, |dx| and |dy| near 64, where the absolute value of
// the rule matters most).
void FillExtreme(C_Image* height, uint32_t seed) {
  std::mt19937 random(seed);
  for (int32_t y = 0; y < height->Height; ++y) {
    for (int32_t x = 0; x < height->Width; ++x) {
      const uint32_t r = random();
      uint16_t v = uint16_t(r);
      if ((r >> 16) % 4 == 0) v = (x % 2) ? 65535 : 0;
      if ((r >> 16) % 4 == 1) v = (y % 2) ? 0 : 65535;
      Pixel16(height, x, y) = v;
    }
  }
}

TEST(FastNormalMap, EveryPathAndTheSweepMatchTheReference) {
  Images images;
  C_Image expectedNormal, expectedShaded, sweptNormal, sweptShaded;
  expectedNormal.Create(512, pixel_format::R8G8B8A8, 512);
  sweptNormal.Create(512, pixel_format::R8G8B8A8, 512);
  const C_Vector3D lights[] = {C_Vector3D(-128, -128, 256), C_Vector3D(5, 3, -1),
                               C_Vector3D(0, 0, 1), C_Vector3D(-1, 0, 0)};
  for (uint32_t seed : {1u, 2u}) {
    FillExtreme(&images.Height, seed);
    reference::BuildNormalMap(&images.Height, &expectedNormal);
    const C_Vector3D& light = lights[seed % 4];
    reference::ShadeBump(&expectedNormal, &expectedShaded, light);
    EveryPath([&] {
      ASSERT_TRUE(BuildNormalMap(&images.Height, &images.Normal));
      EXPECT_TRUE(SamePixels(images.Normal, expectedNormal));
      ASSERT_TRUE(ShadeBump(&images.Normal, &images.Shaded, light));
      EXPECT_TRUE(SamePixels(images.Shaded, expectedShaded));
      ASSERT_TRUE(BuildNormalMapAndShade(&images.Height, &sweptNormal, &sweptShaded, light));
      EXPECT_TRUE(SamePixels(sweptNormal, expectedNormal));
      EXPECT_TRUE(SamePixels(sweptShaded, expectedShaded));
    });
  }
}

// Sizes around both vector widths: the wrap columns, a row too short for a
// vector, and a last vector that overlaps the one before. Every path and light
// gives the bits of the plain pixel code.
TEST(FastNormalMap, OddSizesAndFormatsAgreeOnEveryPath) {
  std::mt19937 random(17);
  for (int32_t width : {1, 2, 9, 10, 11, 17, 18, 19, 24, 33, 37, 50}) {
    for (int32_t format :
         {pixel_format::R8G8B8A8, pixel_format::A8R8G8B8, pixel_format::B8G8R8A8}) {
      SCOPED_TRACE(width);
      C_Image height, normal[4], shaded[4];
      height.Create(width, pixel_format::Grey16, 5);
      FillExtreme(&height, random());
      const C_Vector3D light(float(int32_t(random() % 200) - 100),
                             float(int32_t(random() % 200) - 100), 50);
      for (int32_t i = 0; i < 4; ++i) normal[i].Create(width, format, 5);
      UsePath(kPaths[2]);
      ASSERT_TRUE(BuildNormalMap(&height, &normal[0]));
      ASSERT_TRUE(ShadeBump(&normal[0], &shaded[0], light));
      for (int32_t p = 0; p < 2; ++p) {
        UsePath(kPaths[p]);
        ASSERT_TRUE(BuildNormalMap(&height, &normal[1 + p]));
        ASSERT_TRUE(ShadeBump(&normal[1 + p], &shaded[1 + p], light));
        ASSERT_TRUE(BuildNormalMapAndShade(&height, &normal[3], &shaded[3], light));
        EXPECT_TRUE(SamePixels(normal[0], normal[3])) << kPaths[p].Name;
        EXPECT_TRUE(SamePixels(shaded[0], shaded[3])) << kPaths[p].Name;
      }
      UsePath(kPaths[0]);
      for (int32_t i = 1; i < 3; ++i) {
        EXPECT_TRUE(SamePixels(normal[0], normal[i])) << i;
        EXPECT_TRUE(SamePixels(shaded[0], shaded[i])) << i;
      }
    }
  }
}

// Where one sweep is not possible the two calls run in turn, with their own
// results: a normal image larger than the height field, a shared or wide
// shaded image, a missing image.
TEST(FastNormalMap, SweepFallsBackToTheTwoCalls) {
  C_Image height;
  height.Create(20, pixel_format::Grey16, 6);
  FillExtreme(&height, 5);
  const C_Vector3D light(1, 2, 3);
  C_Image bigNormal, bigExpected, shaded, expectedShaded;
  bigNormal.CreateFilled(24, pixel_format::R8G8B8A8, 8, C_Color::FromBytes(1, 2, 3));
  bigExpected.CreateFilled(24, pixel_format::R8G8B8A8, 8, C_Color::FromBytes(1, 2, 3));
  EXPECT_TRUE(BuildNormalMapAndShade(&height, &bigNormal, &shaded, light));
  BuildNormalMap(&height, &bigExpected);
  ShadeBump(&bigExpected, &expectedShaded, light);
  EXPECT_TRUE(SamePixels(bigNormal, bigExpected));
  EXPECT_TRUE(SamePixels(shaded, expectedShaded));
  // The same image as normal and shaded: the normals are built, the shading is
  // refused, as with the two calls.
  C_Image normal;
  normal.Create(20, pixel_format::R8G8B8A8, 6);
  EXPECT_FALSE(BuildNormalMapAndShade(&height, &normal, &normal, light));
  C_Image expectedNormal;
  expectedNormal.Create(20, pixel_format::R8G8B8A8, 6);
  BuildNormalMap(&height, &expectedNormal);
  EXPECT_TRUE(SamePixels(normal, expectedNormal));
  // A shaded image attached to the normal image's own pixels.
  C_Image attached;
  ASSERT_TRUE(attached.AttachPixels(20, normal.Pitch, 6, pixel_format::R8G8B8A8, pixel_format::None,
                                    normal.Pixels));
  EXPECT_FALSE(BuildNormalMapAndShade(&height, &normal, &attached, light));
  EXPECT_FALSE(BuildNormalMapAndShade(nullptr, &normal, &shaded, light));
  EXPECT_FALSE(BuildNormalMapAndShade(&height, &normal, nullptr, light));
  EXPECT_TRUE(SamePixels(normal, expectedNormal));
}

}  // namespace
