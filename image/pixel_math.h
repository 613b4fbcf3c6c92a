// Conversions from colour components to integer channel values shared by the
// colour packing, the fills and the format conversions.
#pragma once

#include <cmath>
#include <cstdint>

// trunc(x) as u32, with values below 0 (and NaN) giving 0 and values beyond the
// range giving 0xFFFFFFFF, so that components outside 0..1 cannot overflow.
inline uint32_t TruncToU32(double x) {
  if (!(x > 0.0)) return 0;
  if (x >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(x);
}

// round(f x (2^bits - 1)) clamped to the channel, bits 1..32.
inline uint32_t FloatToChannel(float f, uint32_t bits) {
  const double top = bits >= 32 ? 4294967295.0 : static_cast<double>((uint64_t{1} << bits) - 1);
  const double scaled = std::round(static_cast<double>(f) * top);
  if (!(scaled > 0.0)) return 0;
  if (scaled >= top) return static_cast<uint32_t>(top);
  return static_cast<uint32_t>(scaled);
}

// Bit-depth change of an integer channel from s to t bits (both 1..32): widening
// repeats the low bits of the value below the shifted value, narrowing drops bits.
inline uint32_t ScaleChannel(uint32_t v, uint32_t s, uint32_t t) {
  if (s >= t) return static_cast<uint32_t>(uint64_t{v} >> (s - t));
  const uint32_t d = t - s;
  return static_cast<uint32_t>((uint64_t{v} << d) + (uint64_t{v} & ((uint64_t{1} << d) - 1)));
}
