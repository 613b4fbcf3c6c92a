// Normal map and bump shading. The inner loops are branch-free per pixel so that
// the compiler vectorises them (also built for AVX2, chosen at start-up); every f32
// step is rounded as in the scalar rule, so the vector code gives the same bits.
#include "app/normal_map.h"

#include <cmath>

#include "app/grey_view.h"
#include "image/image.h"

namespace {

// Heights are scaled by 1/1024 before subtracting (exact: a power of two).
constexpr float kHeightScale = 1.0f / 1024.0f;

inline uint32_t EncodeNormal(uint32_t left, uint32_t right, uint32_t up, uint32_t down,
                             uint32_t shift0, uint32_t shift1, uint32_t shift2) {
  const float dx = float(int32_t(left)) * kHeightScale - float(int32_t(right)) * kHeightScale;
  const float dy = float(int32_t(up)) * kHeightScale - float(int32_t(down)) * kHeightScale;
  const float length = std::sqrt(1.0f + dx * dx + dy * dy);
  const float inv = 1.0f / length;
  // Every value lies in 0..255, so the truncating conversions are safe.
  const uint32_t x = uint32_t(int32_t(std::fabs(dx * inv * 128.0f + 127.0f)));
  const uint32_t y = uint32_t(int32_t(std::fabs(dy * inv * 128.0f + 127.0f)));
  const uint32_t z = uint32_t(int32_t(std::fabs(inv * 128.0f + 127.0f)));
  return x << shift0 | y << shift1 | z << shift2;
}

DF_VECTOR_CLONES void NormalRow(const uint16_t* up, const uint16_t* row, const uint16_t* down,
                                uint32_t* out, int32_t width, uint32_t shift0, uint32_t shift1,
                                uint32_t shift2) {
  const int32_t last = width - 1;
  out[0] = EncodeNormal(row[last], row[width > 1 ? 1 : 0], up[0], down[0], shift0, shift1, shift2);
  for (int32_t x = 1; x < last; ++x) {
    out[x] = EncodeNormal(row[x - 1], row[x + 1], up[x], down[x], shift0, shift1, shift2);
  }
  if (last > 0) {
    out[last] = EncodeNormal(row[last - 1], row[0], up[last], down[last], shift0, shift1, shift2);
  }
}

// floor(c x L x 2 / 256) summed over the three channels, clamped to 0..255.
DF_VECTOR_CLONES void ShadeRow(const uint32_t* in, uint32_t* out, int32_t width,
                               const FormatDescriptor& from, const int32_t light[3],
                               const FormatDescriptor& to) {
  const uint32_t m0 = from.Mask[0], m1 = from.Mask[1], m2 = from.Mask[2];
  const uint32_t s0 = from.Shift[0], s1 = from.Shift[1], s2 = from.Shift[2];
  const uint32_t t0 = to.Shift[0], t1 = to.Shift[1], t2 = to.Shift[2];
  const int32_t lx = light[0], ly = light[1], lz = light[2];
  for (int32_t x = 0; x < width; ++x) {
    const uint32_t p = in[x];
    const int32_t cx = int32_t((p & m0) >> s0) - 128;
    const int32_t cy = int32_t((p & m1) >> s1) - 128;
    const int32_t cz = int32_t((p & m2) >> s2) - 128;
    int32_t v = ((cz * lz * 2) >> 8) + ((cy * ly * 2) >> 8) + ((cx * lx * 2) >> 8);
    v = v < 0 ? 0 : v;
    v = v > 255 ? 255 : v;
    const uint32_t u = uint32_t(v);
    out[x] = u << t2 | u << t1 | u << t0;
  }
}

// The same in 64 bits, for 32-bit formats whose channels are wider than 16 bits.
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

}  // namespace

void LightIntegers(const C_Vector3D& light, int32_t out[3]) {
  C_Vector3D unit(light.X, light.Y, light.Z);
  unit.Normalize();
  out[0] = LightInteger(unit.X);
  out[1] = LightInteger(unit.Y);
  out[2] = LightInteger(unit.Z);
}

bool BuildNormalMap(const C_Image* height, C_Image* normal) {
  PixelView h, n;
  FormatDescriptor d;
  if (!ViewPixels(height, 16, h) || !ViewPixels(normal, 32, n, &d) || !ShiftsFit(d)) return false;
  if (n.Width < h.Width || n.Height < h.Height) return false;
  if (h.Width == 0) return true;
  for (int32_t y = 0; y < h.Height; ++y) {
    const int32_t above = y == 0 ? h.Height - 1 : y - 1;
    const int32_t below = y == h.Height - 1 ? 0 : y + 1;
    NormalRow(h.Row16(above), h.Row16(y), h.Row16(below), n.Row32(y), h.Width, d.Shift[0],
              d.Shift[1], d.Shift[2]);
  }
  return true;
}

bool ShadeBump(const C_Image* normal, C_Image* shaded, const C_Vector3D& light) {
  if (!normal || !shaded || normal == shaded) return false;
  FormatDescriptor from, to;
  if (!DescribeFormat(normal->Format, from)) return false;
  if (!shaded->Create(normal->Width, normal->Format, normal->Height, normal->PaletteFormat))
    return false;
  PixelView in, out;
  if (!ViewPixels(normal, 32, in, &from) || !ViewPixels(shaded, 32, out, &to)) return false;
  if (!ShiftsFit(from) || !ShiftsFit(to)) return false;
  int32_t l[3];
  LightIntegers(light, l);
  const bool narrow = NarrowChannels(from);
  for (int32_t y = 0; y < in.Height; ++y) {
    if (narrow) {
      ShadeRow(in.Row32(y), out.Row32(y), in.Width, from, l, to);
    } else {
      ShadeRowWide(in.Row32(y), out.Row32(y), in.Width, from, l, to);
    }
  }
  return true;
}
