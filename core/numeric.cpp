#include "core/numeric.h"

#include <cmath>

float FloatMod(float a, float b) {
  if (b == 0) return 0;
  if (b <= a) {
    const float quotient = std::trunc(a / b);
    const float whole = b * quotient;
    return a - whole;
  }
  return a;
}

float WrapCoordinate(float a, float b) {
  if (a >= b) return FloatMod(a, b);
  if (a >= 0) return a;
  const float remainder = FloatMod(-a - 1, b);
  return static_cast<float>((static_cast<double>(b) - 1.0) - static_cast<double>(remainder));
}

namespace {

// The fold of a non-negative c whose quotient q = c / b is known.
int32_t FoldQuotient(int64_t c, int64_t b) {
  if (b == 0) return static_cast<int32_t>(c);  // no period to fold by
  const int64_t q = c / b;
  if (q % 2 != 0) {
    if (q < 0) return static_cast<int32_t>(c);
    return static_cast<int32_t>(b * (q + 1) - c);
  }
  return static_cast<int32_t>(c - q * b);
}

}  // namespace

int32_t TriangleFold(int32_t a, int32_t b) {
  // 64-bit intermediates: b * (q + 1) and -INT32_MIN do not fit in 32 bits.
  if (a > b) return FoldQuotient(a, b);
  if (a >= 0) return a;
  return FoldQuotient(-static_cast<int64_t>(a), b);
}
