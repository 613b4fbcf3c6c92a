#include "graphics/raster/internal/shape_circle_walk.h"

#include <cmath>

namespace shape_detail {

namespace {

using Int128 = __int128;

// floor(sqrt(v)) for any 64-bit v.
uint64_t SquareRootFloor(uint64_t v) {
  uint64_t s = static_cast<uint64_t>(std::sqrt(static_cast<long double>(v)));
  while (s > 0 && static_cast<unsigned __int128>(s) * s > v) --s;
  while (static_cast<unsigned __int128>(s + 1) * (s + 1) <= v) ++s;
  return s;
}

}  // namespace

// Why the closed form holds: the walk keeps y at x + 1 exactly when
// (x + 1)^2 + y(y - 1) < r^2, which is the closed form's test. When it steps y
// down, the closed form agrees as long as (x + 1)^2 + (y - 1)(y - 2) < r^2 too,
// which follows from x^2 + y(y - 1) < r^2 whenever y - x >= 2. Since y - x falls
// strictly along the walk, the closed form is exact up to the first x at which
// y - x < 2; only the one or two steps after that are walked.
CircleOctant::CircleOctant(int64_t radius) : radius_(radius) {
  if (radius_ <= 0) return;
  // jumpLimit_ = the largest x in [0, r] with ClosedFormY(x - 1) - (x - 1) >= 2.
  int64_t good = 0, bad = radius_ + 1;
  while (bad - good > 1) {
    const int64_t mid = good + (bad - good) / 2;
    if (ClosedFormY(mid - 1) - (mid - 1) >= 2)
      good = mid;
    else
      bad = mid;
  }
  jumpLimit_ = good;
  int64_t x = jumpLimit_;
  int64_t y = x == 0 ? radius_ : ClosedFormY(x);
  int64_t d = Decision(x, y);
  int count = 0;
  while (x < y && count < 4) {
    Step(x, y, d);
    tail_[count++] = y;
  }
  lastX_ = x;
}

int64_t CircleOctant::ClosedFormY(int64_t x) const {
  // The largest y with y(y - 1) < q, q = r^2 - x^2 > 0: y <= (1 + sqrt(4q - 3)) / 2.
  const int64_t q = radius_ * radius_ - x * x;
  if (q <= 0) return 0;
  const uint64_t s = SquareRootFloor(4 * static_cast<uint64_t>(q) - 3);
  return static_cast<int64_t>((1 + s) / 2);
}

int64_t CircleOctant::YAt(int64_t x) const {
  if (x <= 0) return radius_;
  if (x <= jumpLimit_) return ClosedFormY(x);
  return tail_[x - jumpLimit_ - 1];
}

int64_t CircleOctant::Decision(int64_t x, int64_t y) const {
  const Int128 d = static_cast<Int128>(x + 1) * (x + 1) + static_cast<Int128>(y) * y - y -
                   static_cast<Int128>(radius_) * radius_;
  return static_cast<int64_t>(d);
}

}  // namespace shape_detail
