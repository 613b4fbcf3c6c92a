// The pixel and line routines. A line is a 16.16 fixed-point walk; instead of
// stepping from its start, the walk is entered at the first step whose pixel is
// drawable and left after the last one, so a line with far-away end points costs
// no more than one crossing the bounds. The steps taken are exactly those of the
// full walk.
#include <cmath>

#include "core/vector2d.h"
#include "graphics/raster/internal/shape_target.h"
#include "graphics/raster/raster_lock.h"
#include "graphics/raster/shapes.h"

using namespace shape_detail;

namespace {

using Int128 = __int128;

constexpr int64_t kOne = 0x10000;        // one pixel in 16.16
constexpr int64_t kHalf = 0x8000;        // the walk starts half a pixel in
constexpr float kCoordLimit = 0x1p100f;  // beyond any image; keeps 16.16 values in 128 bits
constexpr int64_t kSlopeLimit = int64_t{1} << 20;  // far above any slope a drawn line has

float ClampCoordinate(float v) {
  return v > kCoordLimit ? kCoordLimit : (v < -kCoordLimit ? -kCoordLimit : v);
}

Int128 ToFixed(float v) {
  return static_cast<Int128>(std::trunc(static_cast<double>(v) * 65536.0));
}

Int128 FloorDiv(Int128 a, Int128 b) {  // b > 0
  const Int128 q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
Int128 CeilDiv(Int128 a, Int128 b) {  // b > 0
  const Int128 q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

// The drawable part of one walk: steps first..last plot (major0 + majorStep * k,
// (minor + (k - first) * minorStep) >> 16), all inside the bounds.
struct LineSteps {
  bool xMajor = true;
  int64_t first = 0;
  int64_t last = -1;
  int32_t major0 = 0;     // major pixel of step `first`
  int32_t majorStep = 1;  // +1 or -1
  int64_t minor = 0;      // 16.16 minor coordinate at step `first`
  int64_t minorStep = 0;  // 16.16 per step
};

// Plans the walk from (f0, g0) to (f1, g1) along the major axis f; the minor axis
// g moves by minorStep per step. [majorLo, majorHi) and [minorLo, minorHi) are the
// bounds along the two axes.
LineSteps PlanSteps(Int128 f0, Int128 f1, Int128 g0, int64_t minorStep, int32_t majorLo,
                    int32_t majorHi, int32_t minorLo, int32_t minorHi) {
  LineSteps s;
  const int sign = f1 > f0 ? 1 : -1;
  // Steps run while the major coordinate (with its half pixel) has not passed f1.
  const Int128 reach = sign > 0 ? f1 - f0 - kHalf : f0 + kHalf - f1;
  if (reach < 0) return s;
  Int128 first = 0;
  Int128 last = reach >> 16;
  // The major pixel moves by exactly one per step.
  const Int128 p0 = (f0 + kHalf) >> 16;
  if (sign > 0) {
    first = std::max<Int128>(first, majorLo - p0);
    last = std::min<Int128>(last, majorHi - 1 - p0);
  } else {
    first = std::max<Int128>(first, p0 - majorHi + 1);
    last = std::min<Int128>(last, p0 - majorLo);
  }
  // The minor pixel floor((a + k * step) / 2^16) is monotonic in k.
  const Int128 a = g0 + kHalf;
  const Int128 lo = static_cast<Int128>(minorLo) * kOne;
  const Int128 hi = static_cast<Int128>(minorHi) * kOne - 1;
  if (minorStep > 0) {
    first = std::max(first, CeilDiv(lo - a, minorStep));
    last = std::min(last, FloorDiv(hi - a, minorStep));
  } else if (minorStep < 0) {
    first = std::max(first, CeilDiv(a - hi, -static_cast<Int128>(minorStep)));
    last = std::min(last, FloorDiv(a - lo, -static_cast<Int128>(minorStep)));
  } else if (a < lo || a > hi) {
    return s;
  }
  if (first > last) return s;
  s.first = static_cast<int64_t>(first);
  s.last = static_cast<int64_t>(last);
  s.majorStep = sign;
  s.major0 = static_cast<int32_t>(p0 + sign * first);
  s.minor = static_cast<int64_t>(a + first * minorStep);
  s.minorStep = minorStep;
  return s;
}

// The walk's drawable steps; none when an end point is not a number or the end
// points coincide in 16.16.
LineSteps PlanLine(const C_Vector2D& from, const C_Vector2D& to, const PixelRect& b) {
  if (std::isnan(from.X) || std::isnan(from.Y) || std::isnan(to.X) || std::isnan(to.Y))
    return LineSteps{};
  const float x0 = ClampCoordinate(from.X), y0 = ClampCoordinate(from.Y);
  const float x1 = ClampCoordinate(to.X), y1 = ClampCoordinate(to.Y);
  const Int128 fx0 = ToFixed(x0), fy0 = ToFixed(y0), fx1 = ToFixed(x1), fy1 = ToFixed(y1);
  const Int128 dx = fx1 - fx0, dy = fy1 - fy0;
  const Int128 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) return LineSteps{};
  // The slope is the f32 quotient rise / |run| in 16.16. A line with at least one
  // step has a slope of about one pixel at most; the limit only guards the
  // arithmetic of lines that plot nothing.
  auto slope = [](float rise, float run) {
    const float q = rise / std::fabs(run) * 65536.0f;
    const float limit = static_cast<float>(kSlopeLimit);
    return static_cast<int64_t>(q > limit ? limit : (q < -limit ? -limit : q));
  };
  LineSteps s;
  if (adx > ady) {
    s = PlanSteps(fx0, fx1, fy0, slope(y1 - y0, x1 - x0), b.X1, b.X2, b.Y1, b.Y2);
    s.xMajor = true;
  } else if (ady > adx) {
    s = PlanSteps(fy0, fy1, fx0, slope(x1 - x0, y1 - y0), b.Y1, b.Y2, b.X1, b.X2);
    s.xMajor = false;
  } else {
    s = PlanSteps(fx0, fx1, fy0, dy > 0 ? kOne : -kOne, b.X1, b.X2, b.Y1, b.Y2);
    s.xMajor = true;
  }
  return s;
}

}  // namespace

bool DrawPixel(C_Surface* target, const C_Vector2D& point, const C_Color& color,
               const C_Rect* viewport, const C_Rect* clip) {
  RasterLockGuard lock;
  ShapeTarget t;
  if (!OpenShapeTarget(target, color, viewport, clip, t)) return false;
  if (!CanDraw(t) || std::isnan(point.X) || std::isnan(point.Y)) return true;
  const int32_t x = SaturateToInt(point.X);
  const int32_t y = SaturateToInt(point.Y);
  if (t.bounds.Contains(x, y)) StoreSpan(t, y, x, 1);
  return true;
}

bool DrawLine(C_Surface* target, const C_Vector2D& from, const C_Vector2D& to, const C_Color& color,
              const C_Rect* viewport, const C_Rect* clip) {
  RasterLockGuard lock;
  ShapeTarget t;
  if (!OpenShapeTarget(target, color, viewport, clip, t)) return false;
  if (!CanDraw(t)) return true;
  const LineSteps s = PlanLine(from, to, t.bounds);
  if (s.first > s.last) return true;
  const RasterImage& image = t.target.color;
  WithPixelType(t.pixelBytes, [&](auto pixel) {
    using Pixel = decltype(pixel);
    int32_t major = s.major0;
    int64_t minor = s.minor;
    const int64_t steps = s.last - s.first + 1;
    if (s.xMajor) {
      for (int64_t k = 0; k < steps; ++k, major += s.majorStep, minor += s.minorStep)
        StorePixel<Pixel>(image.Row(static_cast<int32_t>(minor >> 16)), major, t.color);
    } else {
      for (int64_t k = 0; k < steps; ++k, major += s.majorStep, minor += s.minorStep)
        StorePixel<Pixel>(image.Row(major), static_cast<int32_t>(minor >> 16), t.color);
    }
  });
  return true;
}
