// Plain scalar forms of the generators and views, written step by step from their
// rules (f32 rounding at every step, one pixel at a time). The tests compare the
// fast code with them and the generator benchmark measures them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/generators.h"
#include "core/numeric.h"
#include "core/vector2d.h"
#include "core/vector3d.h"
#include "image/image.h"
#include "image/pixel_format.h"

namespace reference {

inline uint16_t& Pixel16(const C_Image* image, int32_t x, int32_t y) {
  return reinterpret_cast<uint16_t*>(image->RowAddress(y))[x];
}
inline uint32_t& Pixel32(const C_Image* image, int32_t x, int32_t y) {
  return reinterpret_cast<uint32_t*>(image->RowAddress(y))[x];
}

inline void MakeLumpShape(C_Image* image) {
  const int32_t w = image->Width, h = image->Height;
  const float k = 512.0f / float(w);
  const int32_t cx = w / 2, cy = h / 2;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const int32_t dx = x - cx, dy = y - cy;
      float d = std::sqrt(float(dy * dy) + float(dx * dx));
      d = d * k;
      if (d > 256) d = 256;
      const float dd = d * d;
      const float diff = 65536.0f - dd;
      const float v = std::sqrt(std::fabs(diff));
      const float scaled = v * 256.0f;
      const int32_t p = int32_t(scaled);
      Pixel16(image, x, y) = uint16_t(std::min(p, 65535));
    }
  }
}

inline void MakeBlobShape(C_Image* image) {
  const int32_t w = image->Width, h = image->Height;
  const float k = 512.0f / float(w);
  const int32_t cx = w / 2, cy = h / 2;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const int32_t dx = x - cx, dy = y - cy;
      float d = std::sqrt(float(dy * dy) + float(dx * dx));
      d = d * k;
      const float scaled = d * 256.0f;
      Pixel16(image, x, y) = uint16_t(65535 - std::min(int32_t(scaled), 65535));
    }
  }
}

// Placement and the per-pixel rule of both stamps.
template <typename Combine>
void Stamp(const C_Image* source, C_Image* target, const C_Vector2D& position, Combine combine) {
  int32_t x = int32_t(position.X), y = int32_t(position.Y);
  int32_t skipX = 0, skipY = 0;
  const int32_t right = std::min(x + source->Width, target->Width);
  const int32_t bottom = std::min(y + source->Height, target->Height);
  if (x < 0) skipX = -x, x = 0;
  if (y < 0) skipY = -y, y = 0;
  for (int32_t ty = y; ty < bottom; ++ty) {
    for (int32_t tx = x; tx < right; ++tx) {
      const uint32_t s = Pixel16(source, skipX + tx - x, skipY + ty - y);
      uint16_t& t = Pixel16(target, tx, ty);
      t = uint16_t(combine(s, uint32_t(t)));
    }
  }
}

inline void StampMax(const C_Image* source, C_Image* target, const C_Vector2D& position) {
  Stamp(source, target, position, [](uint32_t s, uint32_t t) { return std::max(s, t); });
}

inline void StampAddFold(const C_Image* source, C_Image* target, const C_Vector2D& position) {
  Stamp(source, target, position, [](uint32_t s, uint32_t t) {
    const uint32_t u = s + t;
    return u <= 65535 ? u : 131070 - u;
  });
}

// Lumps (count 200, StampMax) or Blobs (count 60, StampAddFold) at one fixed time.
template <typename StampFunction>
void DrawParticles(const C_Image* shape, C_Image* height, const Particle* particles, int32_t count,
                   float t, StampFunction stamp) {
  const float w = float(height->Width + 1), h = float(height->Height + 1);
  const float offsets[9][2] = {{0, 0},  {-w, h}, {-w, 0}, {-w, -h}, {0, -h},
                               {w, -h}, {w, 0},  {0, h},  {w, h}};
  for (int32_t i = 0; i < count; ++i) {
    float px = particles[i].Start.X + particles[i].Velocity.X * t;
    float py = particles[i].Start.Y + particles[i].Velocity.Y * t;
    px = WrapCoordinate(px, 512);
    py = WrapCoordinate(py, 512);
    for (const auto& o : offsets) stamp(shape, height, C_Vector2D(px + o[0], py + o[1]));
  }
}

inline void AdvancePhaseTable(PhasePair* table) {
  for (size_t i = 0; i < kPhaseCount; ++i) {
    table[i].Phase = int32_t(uint32_t(table[i].Phase) + uint32_t(table[i].Speed));
  }
}

inline void RefreshNoiseBase(const PhasePair* table, C_Image* image) {
  for (int32_t y = 0; y < image->Height; ++y) {
    for (int32_t x = 0; x < image->Width; ++x) {
      Pixel16(image, x, y) = uint16_t(TriangleFold(table[y * 512 + x].Phase, 65535));
    }
  }
}

inline uint32_t SmoothInterpolate(uint32_t f, uint32_t e, uint32_t t) {
  const uint32_t s = uint32_t(uint64_t(t) * t / 65536) * (196608 - 2 * t) / 65536;
  const int64_t difference = int64_t(e) - int64_t(f);
  const int64_t product = int64_t(s) * difference;
  // floor of the signed quotient
  const int64_t step = product >= 0 ? product / 65536 : -((-product + 65535) / 65536);
  return uint32_t(int64_t(f) + step) & 0xFFFF;
}

inline float OctaveAmplitude(int32_t octave) {
  float a = 256, amplitude = 0;
  for (int32_t i = 0; i <= octave; ++i) {
    a = a * 0.5f;
    const float b = i == 0 ? 256.0f : 0.0f;
    float v = b + (a - b) * 0.75f;
    v = (v - 42.0f) * 0.82f + 42.0f;
    amplitude = v * 0.00390625f;
  }
  return amplitude;
}

inline void AddNoiseOctave(const C_Image* base, C_Image* temp, C_Image* height, int32_t columns,
                           int32_t rows, float amplitude) {
  const uint32_t stepX = uint32_t(columns * 0.001953125 * 65535);
  const uint32_t stepY = uint32_t(rows * 0.001953125 * 65535);
  const uint32_t m = uint32_t(amplitude * 65536);
  for (int32_t c = 0; c < columns; ++c) {
    auto s = [&](int32_t k) { return uint32_t(Pixel16(base, c, k % rows)); };
    uint32_t f = s(0), e = s(1), t = 0;
    int32_t next = 2;
    for (int32_t r = 0; r < 512; ++r) {
      Pixel16(temp, c, r) = uint16_t(SmoothInterpolate(f, e, t));
      t += stepY;
      if (t > 65535) t -= 65535, f = e, e = s(next++);
    }
  }
  for (int32_t r = 0; r < 512; ++r) {
    auto u = [&](int32_t k) { return uint32_t(Pixel16(temp, k % columns, r)); };
    uint32_t f = u(0), e = u(1), t = 0;
    int32_t next = 2;
    for (int32_t c = 0; c < 512; ++c) {
      const uint32_t g = SmoothInterpolate(f, e, t);
      Pixel16(height, c, r) = uint16_t(Pixel16(height, c, r) + g * m / 65536);
      t += stepX;
      if (t > 65535) t -= 65535, f = e, e = u(next++);
    }
  }
}

// The Perlin Noise frame: table advance, refresh and six octaves.
inline void PerlinFrame(PhasePair* table, C_Image* base, C_Image* temp, C_Image* height) {
  reference::AdvancePhaseTable(table);
  reference::RefreshNoiseBase(table, base);
  for (int32_t i = 0; i < 6; ++i) {
    const int32_t n = 8 << i;
    reference::AddNoiseOctave(base, temp, height, n, n, reference::OctaveAmplitude(i));
  }
}

inline void BuildNormalMap(const C_Image* height, C_Image* normal) {
  FormatDescriptor d;
  DescribeFormat(normal->Format, d);
  for (int32_t y = 0; y < 512; ++y) {
    for (int32_t x = 0; x < 512; ++x) {
      auto H = [&](int32_t px, int32_t py) {
        return float(Pixel16(height, (px + 512) % 512, (py + 512) % 512));
      };
      const float dx = H(x - 1, y) / 1024.0f - H(x + 1, y) / 1024.0f;
      const float dy = H(x, y - 1) / 1024.0f - H(x, y + 1) / 1024.0f;
      const float dx2 = dx * dx, dy2 = dy * dy;
      const float sum = 1.0f + dx2 + dy2;
      const float len = float(std::sqrt(double(sum)));
      const float inv = 1.0f / len;
      auto encode = [](float n) {
        const float scaled = n * 128.0f;
        const float shifted = scaled + 127.0f;
        return uint32_t(std::fabs(shifted));
      };
      const float nx = dx * inv, ny = dy * inv;
      Pixel32(normal, x, y) =
          encode(nx) << d.Shift[0] | encode(ny) << d.Shift[1] | encode(inv) << d.Shift[2];
    }
  }
}

inline void ShadeBump(const C_Image* normal, C_Image* shaded, const C_Vector3D& light) {
  shaded->Create(normal->Width, normal->Format, normal->Height, normal->PaletteFormat);
  FormatDescriptor n, s;
  DescribeFormat(normal->Format, n);
  DescribeFormat(shaded->Format, s);
  float x = light.X, y = light.Y, z = light.Z;
  const float len = float(std::sqrt(double(x * x + y * y + z * z)));
  if (len != 0) x /= len, y /= len, z /= len;
  const int32_t lx = int32_t(x * 256), ly = int32_t(y * 256), lz = int32_t(z * 256);
  for (int32_t row = 0; row < normal->Height; ++row) {
    for (int32_t col = 0; col < normal->Width; ++col) {
      const uint32_t p = Pixel32(normal, col, row);
      const int32_t X = int32_t((p & n.Mask[0]) >> n.Shift[0]);
      const int32_t Y = int32_t((p & n.Mask[1]) >> n.Shift[1]);
      const int32_t Z = int32_t((p & n.Mask[2]) >> n.Shift[2]);
      int32_t v = ((Z - 128) * lz * 2 >> 8) + ((Y - 128) * ly * 2 >> 8) + ((X - 128) * lx * 2 >> 8);
      v = std::clamp(v, 0, 255);
      Pixel32(shaded, col, row) =
          uint32_t(v) << s.Shift[2] | uint32_t(v) << s.Shift[1] | uint32_t(v) << s.Shift[0];
    }
  }
}

}  // namespace reference
