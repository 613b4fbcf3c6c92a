// Normal map and bump shading. Plain loops that the compiler vectorises, and
// AVX2 and AVX-512 kernels chosen by what the processor has; every f32 step is
// rounded as in the scalar rule, so all of them give the same bits. The rows are
// shared out in bands on the worker pool: each row of output depends only on
// three rows of input, so every band writes its own rows.
//
// Sections: the pixel rule and the plain row loops; the vector kernels (AVX2,
// AVX-512); the choice of kernels; image checks and the shading rule; the public
// calls, whose bands hand the rows they make to the caller's follow-up.
#include "app/normal_map.h"

#include <cmath>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "core/cpu_features.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/pixel_rows.h"
#include "thread/worker_pool.h"

namespace {

// The rule's f32 steps, computed on rescaled values that round to the same bits.
// A neighbour difference d is a whole number with |d| <= 65535 (exact in f32), and
// the rule's dx is exactly d / 1024, so each quantity below is the rule's own times
// a power of two: the squared length 2^20 + d^2 + e^2, the length 1024 times the
// rule's, and 128 / length the rule's inverse divided by 8. Rounding to f32
// commutes with such scaling (nothing comes near the f32 range limits), so
//   dx x inv x 128 = d x (128 / length)   and   inv x 128 = (128 / length) x 1024
// are the rule's values, bit for bit, without scaling the heights. The square root
// and the division are the IEEE operations (also in the vector code).
// The rule truncates |v|, v = n x 128 + 127. For X and Y, |n| <= 0.99988 (a
// difference below 64 slopes), so v > -1, where truncating v gives the same 0;
// Z's v is positive. The absolute value is therefore left out.
constexpr float kOneScaled = 1048576.0f;  // 1 x 1024^2
constexpr float kZScale = 1024.0f;

// The normal image's channel shifts.
struct NormalShifts {
  uint32_t X, Y, Z;
};

DF_INLINE uint32_t Pack(float d, float e, float inv, const NormalShifts& s) {
  const uint32_t x = uint32_t(int32_t(d * inv + 127.0f));
  const uint32_t y = uint32_t(int32_t(e * inv + 127.0f));
  const uint32_t z = uint32_t(int32_t(inv * kZScale + 127.0f));
  return x << s.X | y << s.Y | z << s.Z;
}

DF_INLINE uint32_t EncodeNormal(int32_t across, int32_t along, const NormalShifts& s) {
  const float d = float(across);
  const float e = float(along);
  const float length = std::sqrt(kOneScaled + d * d + e * e);
  return Pack(d, e, 128.0f / length, s);
}

// The shading of one normal pixel with channels of at most 16 bits, whose
// products stay within 32 bits. Each term floor((c - 128) x L x 2 / 256) is
// floor(c x 2L / 256) - L (128 x 2L is a multiple of 256), so the three -L are
// gathered in Bias.
struct ShadeRule {
  uint32_t Mask[3];  // the normal's channels 0..2
  uint32_t Shift[3];
  int32_t Twice[3];    // 2 L for channels 0..2
  int32_t Bias;        // Lx + Ly + Lz
  uint32_t Target[3];  // the shaded image's channel shifts
};

DF_INLINE uint32_t Shade(uint32_t p, const ShadeRule& r) {
  const int32_t cx = int32_t((p & r.Mask[0]) >> r.Shift[0]);
  const int32_t cy = int32_t((p & r.Mask[1]) >> r.Shift[1]);
  const int32_t cz = int32_t((p & r.Mask[2]) >> r.Shift[2]);
  int32_t v = ((cz * r.Twice[2]) >> 8) + ((cy * r.Twice[1]) >> 8) + ((cx * r.Twice[0]) >> 8);
  v -= r.Bias;
  v = v < 0 ? 0 : v;
  v = v > 255 ? 255 : v;
  const uint32_t u = uint32_t(v);
  return u << r.Target[2] | u << r.Target[1] | u << r.Target[0];
}

// One pixel of a row from its left and right neighbours' columns (the wrap at the
// row's ends passes them explicitly), shaded too with kShade.
template <bool kShade>
DF_INLINE void NormalPixel(const uint16_t* up, const uint16_t* row, const uint16_t* down,
                           uint32_t* out, uint32_t* shaded, int32_t x, int32_t left, int32_t right,
                           const NormalShifts& s, const ShadeRule& rule) {
  const uint32_t n =
      EncodeNormal(int32_t(row[left]) - int32_t(row[right]), int32_t(up[x]) - int32_t(down[x]), s);
  out[x] = n;
  if (kShade) shaded[x] = Shade(n, rule);
}

// One row of normals, and with kShade their shading too while they are in
// registers. The first and last columns take their neighbours across the edges
// and are done apart from the loop. The rules arrive as copies, so the compiler
// knows that the stores cannot change them.
template <bool kShade>
DF_INLINE void NormalRow(const uint16_t* up, const uint16_t* row, const uint16_t* down,
                         uint32_t* out, int32_t width, const NormalShifts s, uint32_t* shaded,
                         const ShadeRule rule) {
  auto pixel = [&](int32_t x, int32_t left, int32_t right) {
    NormalPixel<kShade>(up, row, down, out, shaded, x, left, right, s, rule);
  };
  const int32_t last = width - 1;
  pixel(0, last, width > 1 ? 1 : 0);
  for (int32_t x = 1; x < last; ++x) pixel(x, x - 1, x + 1);
  if (last > 0) pixel(last, last - 1, 0);
}

DF_VECTOR_CLONES void NormalOnlyRow(const uint16_t* up, const uint16_t* row, const uint16_t* down,
                                    uint32_t* out, int32_t width, const NormalShifts& s, uint32_t*,
                                    const ShadeRule&) {
  NormalRow<false>(up, row, down, out, width, s, nullptr, ShadeRule{});
}

DF_VECTOR_CLONES void NormalShadeRow(const uint16_t* up, const uint16_t* row, const uint16_t* down,
                                     uint32_t* out, int32_t width, const NormalShifts& s,
                                     uint32_t* shaded, const ShadeRule& rule) {
  NormalRow<true>(up, row, down, out, width, s, shaded, rule);
}

DF_VECTOR_CLONES void ShadeRow(const uint32_t* in, uint32_t* out, int32_t width,
                               const ShadeRule& rule) {
  const ShadeRule r = rule;
  for (int32_t x = 0; x < width; ++x) out[x] = Shade(in[x], r);
}

// ---- Vector kernels ----
//
// The same steps written with AVX2 operations, eight pixels at a time, and with
// AVX-512 ones, sixteen at a time, in functions compiled for those instruction
// sets and chosen when the processor has them. The compiler's own vector code for
// the plain loops spends more operations per pixel, and it does not fuse the
// shading into the normal loop well. The square root and the division are the
// exact IEEE operations, so every lane gives the plain loop's bits; the first and
// last columns and rows too short for a vector use the plain pixel code. The row
// kernel is written once (normal_row_vector.inc) over the operations each
// namespace defines.
#if defined(__x86_64__) && defined(__GNUC__)
#define DF_VECTOR_KERNELS 1

namespace avx2 {
#define DF_KERNEL __attribute__((target("avx2")))
using Int = __m256i;
using Real = __m256;
constexpr int32_t kLanes = 8;

DF_KERNEL DF_INLINE Int Broadcast(int32_t v) {
  return _mm256_set1_epi32(v);
}
DF_KERNEL DF_INLINE Real Broadcast(float v) {
  return _mm256_set1_ps(v);
}
DF_KERNEL DF_INLINE Int Widen(const uint16_t* p) {
  return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
DF_KERNEL DF_INLINE void Store(uint32_t* p, Int v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}
DF_KERNEL DF_INLINE Int Add(Int a, Int b) {
  return _mm256_add_epi32(a, b);
}
DF_KERNEL DF_INLINE Int Subtract(Int a, Int b) {
  return _mm256_sub_epi32(a, b);
}
DF_KERNEL DF_INLINE Int MultiplyLow(Int a, Int b) {
  return _mm256_mullo_epi32(a, b);
}
DF_KERNEL DF_INLINE Int ShiftRight8(Int a) {
  return _mm256_srai_epi32(a, 8);
}
DF_KERNEL DF_INLINE Int ShiftLeft(Int a, Int by) {
  return _mm256_sllv_epi32(a, by);
}
DF_KERNEL DF_INLINE Int Or(Int a, Int b) {
  return _mm256_or_si256(a, b);
}
DF_KERNEL DF_INLINE Int ClampByte(Int v) {
  return _mm256_min_epi32(_mm256_max_epi32(v, _mm256_setzero_si256()), _mm256_set1_epi32(255));
}
DF_KERNEL DF_INLINE Real ToReal(Int v) {
  return _mm256_cvtepi32_ps(v);
}
DF_KERNEL DF_INLINE Int Truncate(Real v) {
  return _mm256_cvttps_epi32(v);
}
DF_KERNEL DF_INLINE Real Add(Real a, Real b) {
  return _mm256_add_ps(a, b);
}
DF_KERNEL DF_INLINE Real Multiply(Real a, Real b) {
  return _mm256_mul_ps(a, b);
}
DF_KERNEL DF_INLINE Real Divide(Real a, Real b) {
  return _mm256_div_ps(a, b);
}
DF_KERNEL DF_INLINE Real SquareRoot(Real a) {
  return _mm256_sqrt_ps(a);
}

#include "app/normal_row_vector.inc"

// Shade() on eight stored pixels of any channel layout the rule allows.
DF_KERNEL void ShadeRow(const uint32_t* in, uint32_t* out, int32_t width, const ShadeRule& rule) {
  Int mask[3], shift[3], twice[3], target[3];
  for (int32_t c = 0; c < 3; ++c) {
    mask[c] = Broadcast(int32_t(rule.Mask[c]));
    shift[c] = Broadcast(int32_t(rule.Shift[c]));
    twice[c] = Broadcast(rule.Twice[c]);
    target[c] = Broadcast(int32_t(rule.Target[c]));
  }
  const Int bias = Broadcast(rule.Bias);
  int32_t x = 0;
  for (; x + kLanes <= width; x += kLanes) {
    const Int p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x));
    Int v = Subtract(Int{}, bias);
    for (int32_t c = 2; c >= 0; --c) {
      const Int channel = _mm256_srlv_epi32(_mm256_and_si256(p, mask[c]), shift[c]);
      v = Add(v, ShiftRight8(MultiplyLow(channel, twice[c])));
    }
    v = ClampByte(v);
    Store(out + x,
          Or(Or(ShiftLeft(v, target[2]), ShiftLeft(v, target[1])), ShiftLeft(v, target[0])));
  }
  const ShadeRule plainRule = rule;
  for (; x < width; ++x) out[x] = Shade(in[x], plainRule);
}
#undef DF_KERNEL
}  // namespace avx2

// GCC 12 reports its own intrinsics' deliberately undefined vectors (the unused
// source of the masked forms behind the unmasked operations) as uninitialised.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
namespace avx512 {
#define DF_KERNEL __attribute__((target("avx512f")))
using Int = __m512i;
using Real = __m512;
constexpr int32_t kLanes = 16;

DF_KERNEL DF_INLINE Int Broadcast(int32_t v) {
  return _mm512_set1_epi32(v);
}
DF_KERNEL DF_INLINE Real Broadcast(float v) {
  return _mm512_set1_ps(v);
}
DF_KERNEL DF_INLINE Int Widen(const uint16_t* p) {
  return _mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
}
DF_KERNEL DF_INLINE void Store(uint32_t* p, Int v) {
  _mm512_storeu_si512(p, v);
}
DF_KERNEL DF_INLINE Int Add(Int a, Int b) {
  return _mm512_add_epi32(a, b);
}
DF_KERNEL DF_INLINE Int Subtract(Int a, Int b) {
  return _mm512_sub_epi32(a, b);
}
DF_KERNEL DF_INLINE Int MultiplyLow(Int a, Int b) {
  return _mm512_mullo_epi32(a, b);
}
DF_KERNEL DF_INLINE Int ShiftRight8(Int a) {
  return _mm512_srai_epi32(a, 8);
}
DF_KERNEL DF_INLINE Int ShiftLeft(Int a, Int by) {
  return _mm512_sllv_epi32(a, by);
}
DF_KERNEL DF_INLINE Int Or(Int a, Int b) {
  return _mm512_or_si512(a, b);
}
DF_KERNEL DF_INLINE Int ClampByte(Int v) {
  return _mm512_min_epi32(_mm512_max_epi32(v, _mm512_setzero_si512()), _mm512_set1_epi32(255));
}
DF_KERNEL DF_INLINE Real ToReal(Int v) {
  return _mm512_cvtepi32_ps(v);
}
DF_KERNEL DF_INLINE Int Truncate(Real v) {
  return _mm512_cvttps_epi32(v);
}
DF_KERNEL DF_INLINE Real Add(Real a, Real b) {
  return _mm512_add_ps(a, b);
}
DF_KERNEL DF_INLINE Real Multiply(Real a, Real b) {
  return _mm512_mul_ps(a, b);
}
DF_KERNEL DF_INLINE Real Divide(Real a, Real b) {
  return _mm512_div_ps(a, b);
}
DF_KERNEL DF_INLINE Real SquareRoot(Real a) {
  return _mm512_sqrt_ps(a);
}

#include "app/normal_row_vector.inc"
#undef DF_KERNEL
}  // namespace avx512
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#endif

// ---- Choice of kernels ----

// The widest vectors the kernels may use, in bits (LimitViewVectorBits).
int32_t vectorLimit = 512;

// The kernels for one call: the widest vector ones that the processor runs and
// the limit allows, unless the tests ask for the plain loops.
struct Kernels {
  using NormalKernel = void (*)(const uint16_t*, const uint16_t*, const uint16_t*, uint32_t*,
                                int32_t, const NormalShifts&, uint32_t*, const ShadeRule&);
  NormalKernel Normals, NormalsShaded;
  void (*ShadeRows)(const uint32_t*, uint32_t*, int32_t, const ShadeRule&);
};

Kernels ChooseKernels() {
#ifdef DF_VECTOR_KERNELS
  if (!GenericPixelPathForced()) {
    if (vectorLimit >= 512 && HasAvx512()) {
      // Shading alone is bound by memory, where wider vectors do not pay.
      return {avx512::NormalRowVector<false>, avx512::NormalRowVector<true>, avx2::ShadeRow};
    }
    if (vectorLimit >= 256 && HasAvx2()) {
      return {avx2::NormalRowVector<false>, avx2::NormalRowVector<true>, avx2::ShadeRow};
    }
  }
#endif
  return {NormalOnlyRow, NormalShadeRow, ShadeRow};
}

// ---- Image checks and the shading rule ----

// Shade() in 64 bits, for 32-bit formats whose channels are wider than 16 bits.
void ShadeRowWide(const uint32_t* in, uint32_t* out, int32_t width, const FormatDescriptor& from,
                  const int32_t light[3], const FormatDescriptor& to) {
  for (int32_t x = 0; x < width; ++x) {
    const uint32_t p = in[x];
    int64_t v = 0;
    for (int32_t c = 2; c >= 0; --c) {
      const int64_t channel = int64_t((p & from.Mask[c]) >> from.Shift[c]) - 128;
      v += (channel * light[c] * 2) >> 8;
    }
    const uint32_t u = uint32_t(v < 0 ? 0 : v > 255 ? 255 : v);
    out[x] = u << to.Shift[2] | u << to.Shift[1] | u << to.Shift[0];
  }
}

bool ShiftsFit(const FormatDescriptor& d) {
  return d.Shift[0] < 32 && d.Shift[1] < 32 && d.Shift[2] < 32;
}

// Channels of at most 16 bits keep every product of ShadeRow within 32 bits.
bool NarrowChannels(const FormatDescriptor& d) {
  for (int32_t c = 0; c < 3; ++c) {
    if ((d.Mask[c] >> d.Shift[c]) > 0xFFFF) return false;
  }
  return true;
}

// Bounds the light integers; a unit vector gives at most 256 in magnitude.
constexpr int32_t kLightLimit = 1024;

int32_t LightInteger(float component) {
  const float scaled = component * 256.0f;
  if (!(scaled == scaled)) return 0;  // NaN
  if (scaled >= float(kLightLimit)) return kLightLimit;
  if (scaled <= -float(kLightLimit)) return -kLightLimit;
  return int32_t(scaled);
}

// Views of a 16-bit height field and a 32-bit normal image at least as large.
bool ViewNormalImages(const C_Image* height, C_Image* normal, PixelView& h, PixelView& n,
                      NormalShifts& shifts) {
  FormatDescriptor d;
  if (!ViewPixels(height, 16, h) || !ViewPixels(normal, 32, n, &d) || !ShiftsFit(d)) return false;
  if (n.Width < h.Width || n.Height < h.Height) return false;
  shifts = {d.Shift[0], d.Shift[1], d.Shift[2]};
  return true;
}

// Sizes shaded like normal and views both as 32-bit images with usable shifts.
bool PrepareShading(const C_Image* normal, C_Image* shaded, PixelView& in, PixelView& out,
                    FormatDescriptor& from, FormatDescriptor& to) {
  if (!normal || !shaded || normal == shaded) return false;
  if (!DescribeFormat(normal->Format, from)) return false;
  if (!shaded->Create(normal->Width, normal->Format, normal->Height, normal->PaletteFormat))
    return false;
  if (!ViewPixels(normal, 32, in, &from) || !ViewPixels(shaded, 32, out, &to)) return false;
  return ShiftsFit(from) && ShiftsFit(to);
}

ShadeRule MakeShadeRule(const FormatDescriptor& from, const int32_t light[3],
                        const FormatDescriptor& to) {
  ShadeRule r;
  for (int32_t c = 0; c < 3; ++c) {
    r.Mask[c] = from.Mask[c];
    r.Shift[c] = from.Shift[c];
    r.Twice[c] = light[c] * 2;
    r.Target[c] = to.Shift[c];
  }
  r.Bias = light[0] + light[1] + light[2];
  return r;
}

// True when each of the normal's channels 0..2 is a whole byte apart from the
// others: a stored value 0..255 then reads back unchanged, and the shading can
// use the values before they are stored.
bool ByteChannels(const FormatDescriptor& d) {
  for (int32_t c = 0; c < 3; ++c) {
    if (d.Shift[c] > 24 || d.Mask[c] != 0xFFu << d.Shift[c]) return false;
    for (int32_t o = 0; o < c; ++o) {
      if (d.Mask[c] & d.Mask[o]) return false;
    }
  }
  return true;
}

bool Disjoint(const C_Image& a, const C_Image& b) {
  const uintptr_t aBegin = reinterpret_cast<uintptr_t>(a.Pixels);
  const uintptr_t bBegin = reinterpret_cast<uintptr_t>(b.Pixels);
  return aBegin + uintptr_t(a.PixelBytes) <= bBegin || bBegin + uintptr_t(b.PixelBytes) <= aBegin;
}

// Runs band over rows 0..rows - 1 on the pool when the images' pixel blocks are
// separate; rows written through one image and read through another would
// otherwise depend on the order in which the bands run, so they stay on one
// thread in the order of one thread.
template <typename F>
void RunRows(const C_Image& from, const C_Image& to, int32_t rows, F& band) {
  if (Disjoint(from, to)) {
    Workers.Bands(rows, band);
  } else {
    band(0, rows);
  }
}

// Rows a band makes before it hands them to the follow-up: few enough that the
// rows just written are still in the first-level cache.
constexpr int32_t kRowsPerFollowUp = 8;

// make(y) for rows [first, end), and then's task after each kRowsPerFollowUp of them.
template <typename F>
void MakeRows(int32_t first, int32_t end, const RowsMade& then, F& make) {
  for (int32_t y = first; y < end;) {
    const int32_t start = y;
    const int32_t stop = end - y > kRowsPerFollowUp ? y + kRowsPerFollowUp : end;
    for (; y < stop; ++y) make(y);
    if (then.Task) then.Task(then.Context, start, stop);
  }
}

}  // namespace

// ---- Public calls ----

void LimitViewVectorBits(int32_t bits) {
  vectorLimit = bits;
}

void LightIntegers(const C_Vector3D& light, int32_t out[3]) {
  C_Vector3D unit(light.X, light.Y, light.Z);
  unit.Normalize();
  out[0] = LightInteger(unit.X);
  out[1] = LightInteger(unit.Y);
  out[2] = LightInteger(unit.Z);
}

bool BuildNormalMap(const C_Image* height, C_Image* normal, RowsMade then) {
  PixelView h, n;
  NormalShifts shifts;
  if (!ViewNormalImages(height, normal, h, n, shifts)) return false;
  const Kernels kernels = ChooseKernels();
  auto row = [&](int32_t y) {
    const int32_t above = y == 0 ? h.Height - 1 : y - 1;
    const int32_t below = y == h.Height - 1 ? 0 : y + 1;
    kernels.Normals(h.Row16(above), h.Row16(y), h.Row16(below), n.Row32(y), h.Width, shifts,
                    nullptr, ShadeRule{});
  };
  auto band = [&](int32_t first, int32_t end) { MakeRows(first, end, then, row); };
  RunRows(*height, *normal, h.Height, band);
  return true;
}

bool ShadeBump(const C_Image* normal, C_Image* shaded, const C_Vector3D& light) {
  PixelView in, out;
  FormatDescriptor from, to;
  if (!PrepareShading(normal, shaded, in, out, from, to)) return false;
  int32_t l[3];
  LightIntegers(light, l);
  if (NarrowChannels(from)) {
    const ShadeRule rule = MakeShadeRule(from, l, to);
    const Kernels kernels = ChooseKernels();
    auto band = [&](int32_t first, int32_t end) {
      for (int32_t y = first; y < end; ++y) {
        kernels.ShadeRows(in.Row32(y), out.Row32(y), in.Width, rule);
      }
    };
    RunRows(*normal, *shaded, in.Height, band);
  } else {
    auto band = [&](int32_t first, int32_t end) {
      for (int32_t y = first; y < end; ++y) {
        ShadeRowWide(in.Row32(y), out.Row32(y), in.Width, from, l, to);
      }
    };
    RunRows(*normal, *shaded, in.Height, band);
  }
  return true;
}

bool BuildNormalMapAndShade(const C_Image* height, C_Image* normal, C_Image* shaded,
                            const C_Vector3D& light, RowsMade then) {
  PixelView h, n, in, out;
  NormalShifts shifts;
  FormatDescriptor from, to;
  // The one sweep needs the two calls' images to be the same size, whole-byte
  // channels (those of every 32-bit colour format), and three separate pixel blocks (so that no
  // step sees another's writes early). Preparing the shaded image first is what ShadeBump does
  // first too.
  const bool oneSweep = ViewNormalImages(height, normal, h, n, shifts) && n.Width == h.Width &&
                        n.Height == h.Height && shaded != normal && shaded != height &&
                        PrepareShading(normal, shaded, in, out, from, to) && ByteChannels(from) &&
                        ByteChannels(to) && Disjoint(*height, *normal) &&
                        Disjoint(*height, *shaded) && Disjoint(*normal, *shaded);
  if (!oneSweep) {
    const bool built = BuildNormalMap(height, normal);
    const bool lit = ShadeBump(normal, shaded, light);
    if (lit && then.Task) then.Task(then.Context, 0, shaded->Height);
    return built && lit;
  }
  int32_t l[3];
  LightIntegers(light, l);
  const ShadeRule rule = MakeShadeRule(from, l, to);
  const Kernels kernels = ChooseKernels();
  auto row = [&](int32_t y) {
    const int32_t above = y == 0 ? h.Height - 1 : y - 1;
    const int32_t below = y == h.Height - 1 ? 0 : y + 1;
    kernels.NormalsShaded(h.Row16(above), h.Row16(y), h.Row16(below), n.Row32(y), h.Width, shifts,
                          out.Row32(y), rule);
  };
  auto band = [&](int32_t first, int32_t end) { MakeRows(first, end, then, row); };
  Workers.Bands(h.Height, band);
  return true;
}
