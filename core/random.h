// The pseudo-random source: the classic C library linear congruential generator
// (state x 214013 + 2531011, values 0..32767), never seeded, so that every machine
// draws the same tables. The host's rand() differs in range and sequence.
#pragma once

#include <cstdint>

class RandomSource {
 public:
  static constexpr int32_t kMax = 0x7FFF;

  // Returns the next value, 0..32767. The first values are 41, 18467, 6334, 26500.
  int32_t Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_ = 1;
};

// The process-wide source shared by the window and the application driver.
int32_t Random();
