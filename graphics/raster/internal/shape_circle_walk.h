// The midpoint circle walk of one octant with random access. The walk starts at
// (0, r) with d = 1 - r and, while x < y, moves x by one (and y down by one when
// d >= 0), plotting each (x, y). Its y at any x is also given by a closed form
// (the largest y with x^2 + y(y - 1) < r^2) everywhere except the last step or two,
// so a circle far larger than the target is walked only where it meets the bounds.
#pragma once

#include <cstdint>

namespace shape_detail {

class CircleOctant {
 public:
  explicit CircleOctant(int64_t radius);  // radius up to 2^31; <= 0 plots nothing

  int64_t Radius() const { return radius_; }
  // Last x the walk plots (the points are x = 1..LastX()); 0 when there are none.
  int64_t LastX() const { return lastX_; }
  // The walk's y at x, for 0 <= x <= LastX() (x = 0 gives the radius).
  int64_t YAt(int64_t x) const;

  // Calls visit(x, y) for every plotted point with first <= x <= last, in order,
  // stepping the walk's own decision value from the point before first.
  template <typename Visit>
  void Walk(int64_t first, int64_t last, Visit&& visit) const {
    if (first < 1) first = 1;
    if (last > lastX_) last = lastX_;
    if (first > last) return;
    int64_t x = first - 1;
    int64_t y = YAt(x);
    int64_t d = Decision(x, y);
    for (;;) {
      Step(x, y, d);
      visit(x, y);
      if (x == last) return;
    }
  }

 private:
  // One step of the walk: x moves by one, y down by one when d >= 0.
  static void Step(int64_t& x, int64_t& y, int64_t& d) {
    if (d < 0) {
      d += 2 * x + 3;
    } else {
      d += 2 * (x - y) + 5;
      --y;
    }
    ++x;
  }
  // The walk's decision value at the point (x, y): (x + 1)^2 + y^2 - y - r^2.
  int64_t Decision(int64_t x, int64_t y) const;
  int64_t ClosedFormY(int64_t x) const;

  int64_t radius_ = 0;
  int64_t jumpLimit_ = 0;  // the closed form holds for 0 <= x <= jumpLimit_
  int64_t lastX_ = 0;
  int64_t tail_[4] = {};  // y for x = jumpLimit_ + 1 .. lastX_
};

}  // namespace shape_detail
