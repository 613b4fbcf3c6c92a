// Records and arithmetic of the value classes.
#include <cmath>

#include "core/complex.h"
#include "core/record_stream.h"
#include "core/size.h"
#include "core/vector2d.h"
#include "core/vector3d.h"
#include "core/vector4d.h"

bool C_Size::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}
bool C_Size::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}
bool C_Size::Fields(RecordVisitor& v) {
  return v.Field("Width", Width) && v.Field("Height", Height);
}

bool C_Complex::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}
bool C_Complex::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}
bool C_Complex::Fields(RecordVisitor& v) {
  return v.Field("Real", Real, Shown::Hex) && v.Field("Imaginary", Imaginary, Shown::Hex);
}

bool C_Vector2D::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}
bool C_Vector2D::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}
bool C_Vector2D::Fields(RecordVisitor& v) {
  return v.Field("X", X) && v.Field("Y", Y) && v.Field("Anchor", Anchor, Shown::Hex);
}

C_Vector2D C_Vector2D::Add(const C_Vector2D& a, const C_Vector2D& b) {
  return C_Vector2D(a.X + b.X, a.Y + b.Y, 0);
}

C_Vector2D C_Vector2D::Scale(const C_Vector2D& v, float s) {
  return C_Vector2D(v.X * s, v.Y * s, 0);
}

void C_Vector2D::RotateDegrees(float degrees) {
  if (degrees == 0) return;
  const double angle = static_cast<double>(degrees) * 3.141592653589793 / 180;
  const float c = static_cast<float>(std::cos(angle));
  const float s = static_cast<float>(std::sin(angle));
  const float x = X;
  const float y = Y;
  X = x * c - y * s;
  Y = y * c + x * s;
}

bool C_Vector3D::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}
bool C_Vector3D::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}
bool C_Vector3D::Fields(RecordVisitor& v) {
  return v.Field("X", X) && v.Field("Y", Y) && v.Field("Z", Z);
}

void C_Vector3D::Normalize() {
  const float squares = X * X + Y * Y + Z * Z;
  const float length = static_cast<float>(std::sqrt(static_cast<double>(squares)));
  if (length == 0) return;
  X /= length;
  Y /= length;
  Z /= length;
}

bool C_Vector4D::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}
bool C_Vector4D::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}
bool C_Vector4D::Fields(RecordVisitor& v) {
  return v.Field("X", X) && v.Field("Y", Y) && v.Field("Z", Z) && v.Field("W", W);
}
