// CodeSet: which of the 256 byte codes a per-text table has filled, so that a
// table is filled on each code's first use instead of cleared for every text.
#pragma once

#include <cstdint>

class CodeSet {
 public:
  // True the first time a code is added; it is in the set afterwards.
  bool Add(uint8_t code) {
    const uint64_t bit = uint64_t{1} << (code & 63);
    uint64_t& word = words_[code >> 6];
    if ((word & bit) != 0) return false;
    word |= bit;
    return true;
  }

 private:
  uint64_t words_[4] = {};
};
