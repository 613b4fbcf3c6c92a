#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "core/complex.h"
#include "core/error.h"
#include "core/numeric.h"
#include "core/size.h"
#include "core/vector2d.h"
#include "core/vector3d.h"
#include "core/vector4d.h"
#include "tests/core/stream_helpers.h"

TEST(Numeric, FloatMod) {
  EXPECT_EQ(FloatMod(5, 0), 0.0f);
  EXPECT_EQ(FloatMod(-5, 3), -5.0f);
  EXPECT_EQ(FloatMod(7, 3), 1.0f);
  EXPECT_EQ(FloatMod(2, 3), 2.0f);
  EXPECT_EQ(FloatMod(-1, 3), -1.0f);
  EXPECT_EQ(FloatMod(7.5f, 2), 1.5f);
}

TEST(Numeric, WrapCoordinate) {
  EXPECT_EQ(WrapCoordinate(-0.5f, 10), 9.5f);
  EXPECT_EQ(WrapCoordinate(-1, 10), 9.0f);
  EXPECT_EQ(WrapCoordinate(10, 10), 0.0f);
  EXPECT_EQ(WrapCoordinate(3, 10), 3.0f);
  EXPECT_EQ(WrapCoordinate(-11, 10), 9.0f);
}

TEST(Numeric, TriangleFold) {
  EXPECT_EQ(TriangleFold(255, 255), 255);
  EXPECT_EQ(TriangleFold(256, 255), 254);
  EXPECT_EQ(TriangleFold(510, 255), 0);
  EXPECT_EQ(TriangleFold(511, 255), 1);
  EXPECT_EQ(TriangleFold(-1, 255), 1);
  EXPECT_EQ(TriangleFold(-300, 255), 210);
  EXPECT_EQ(TriangleFold(100, 255), 100);
  EXPECT_EQ(TriangleFold(INT32_MIN, 255), TriangleFold(INT32_MIN + 1, 255) + 1);
  EXPECT_EQ(TriangleFold(5, 0), 5);  // no period: no division by zero
}

TEST(Vector2D, RotateAddScale) {
  C_Vector2D v(1, 0, 0x22);
  v.RotateDegrees(90);
  EXPECT_NEAR(v.X, 0, 1e-6);
  EXPECT_NEAR(v.Y, 1, 1e-6);
  EXPECT_EQ(v.Anchor, 0x22);
  C_Vector2D w(std::bit_cast<float>(0x3F9E0419u), -3.25f);
  const C_Vector2D before = w;
  w.RotateDegrees(0);
  EXPECT_EQ(std::bit_cast<uint32_t>(w.X), std::bit_cast<uint32_t>(before.X));
  // The f32 products of the rotation: cos and sin rounded before use.
  C_Vector2D r(3, 4);
  r.RotateDegrees(30);
  const float c = static_cast<float>(std::cos(30 * 3.141592653589793 / 180));
  const float s = static_cast<float>(std::sin(30 * 3.141592653589793 / 180));
  EXPECT_EQ(r.X, 3.0f * c - 4.0f * s);
  EXPECT_EQ(r.Y, 4.0f * c + 3.0f * s);
  C_Vector2D sum = C_Vector2D::Add(C_Vector2D(1, 2, 5), C_Vector2D(3, 4, 6));
  EXPECT_EQ(sum.X, 4);
  EXPECT_EQ(sum.Y, 6);
  EXPECT_EQ(sum.Anchor, 0);
  C_Vector2D scaled = C_Vector2D::Scale(C_Vector2D(1, -2, 7), 2.5f);
  EXPECT_EQ(scaled.X, 2.5f);
  EXPECT_EQ(scaled.Y, -5.0f);
  EXPECT_EQ(scaled.Anchor, 0);
}

TEST(Vector3D, Normalize) {
  C_Vector3D zero;
  zero.Normalize();
  EXPECT_EQ(zero.X, 0);
  C_Vector3D v(3, 0, 4);
  v.Normalize();
  EXPECT_EQ(v.X, 0.6f);
  EXPECT_EQ(v.Z, 0.8f);
}

TEST(ValueClasses, RecordSizesAndRoundTrips) {
  C_Vector2D v(1.5f, -2, 0x21);
  std::vector<uint8_t> bytes = SaveToBytes(v);
  EXPECT_EQ(bytes.size(), 11u);
  C_Vector2D v2;
  ASSERT_TRUE(LoadFromBytes(v2, bytes));
  EXPECT_EQ(v2.X, 1.5f);
  EXPECT_EQ(v2.Y, -2.0f);
  EXPECT_EQ(v2.Anchor, 0x21);

  C_Size size(640, 480);
  EXPECT_EQ(SaveToBytes(size).size(), 10u);
  C_Complex complex;
  complex.Real = -1;
  complex.Imaginary = 0x12345678;
  bytes = SaveToBytes(complex);
  C_Complex complex2;
  ASSERT_TRUE(LoadFromBytes(complex2, bytes));
  EXPECT_EQ(complex2.Imaginary, 0x12345678);
  C_Vector3D v3(1, 2, 3);
  EXPECT_EQ(SaveToBytes(v3).size(), 14u);
  C_Vector4D v4(1, 2, 3, 4);
  EXPECT_EQ(SaveToBytes(v4).size(), 18u);
}

TEST(ValueClasses, WrongIdFailsAndLeavesTheFields) {
  C_Size size(1, 2);
  std::vector<uint8_t> bytes = SaveToBytes(size);
  bytes[0] = 18;
  C_Size read(7, 8);
  EXPECT_FALSE(LoadFromBytes(read, bytes));
  EXPECT_EQ(LastError.Code, -1);
  EXPECT_EQ(LastError.Cause, ErrorUnexpectedData);
  EXPECT_EQ(read.Width, 7);
  EXPECT_EQ(read.Height, 8);
}
