// Shape generators. Sections: shapes, stamps, particle frames, noise lattice,
// noise octaves. The per-pixel loops are plain portable C++ that the compiler
// vectorises (built for AVX2 too, chosen when the program starts); each gives the
// same bits as the step-by-step rules.
#include "app/generators.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "app/grey_view.h"
#include "core/numeric.h"

namespace {

// ---- shapes ----

// Distance of (x, y) from the centre, scaled so that the shape's radius is 256.
float ScaledDistance(int32_t x, int32_t y, int32_t cx, int32_t cy, float k) {
  const int64_t dx = int64_t(x) - cx;
  const int64_t dy = int64_t(y) - cy;
  const float squares = float(dy * dy) + float(dx * dx);
  return std::sqrt(squares) * k;
}

template <typename PixelRule>
bool MakeShape(C_Image* image, PixelRule rule) {
  PixelView view;
  if (!ViewPixels(image, 16, view)) return false;
  const float k = 512.0f / float(view.Width);
  const int32_t cx = view.Width / 2;
  const int32_t cy = view.Height / 2;
  for (int32_t y = 0; y < view.Height; ++y) {
    uint16_t* row = view.Row16(y);
    for (int32_t x = 0; x < view.Width; ++x) row[x] = rule(ScaledDistance(x, y, cx, cy, k));
  }
  return true;
}

// ---- stamps ----

// The overlap of a source placed at a position with the target, clipped once.
struct StampArea {
  const uint8_t* Source;  // first overlapped source pixel
  uint8_t* Target;        // first overlapped target pixel
  intptr_t SourceStep;    // bytes between source rows
  intptr_t TargetStep;    // bytes between target rows
  int32_t Width;          // overlapped pixels per row, > 0
  int32_t Height;         // overlapped rows, > 0
};

// False when nothing overlaps (or the position cannot be truncated to an integer).
bool ClipStamp(const PixelView& source, const PixelView& target, float px, float py,
               StampArea& area) {
  // Outside this range trunc() has no 32-bit value; such a stamp is far off anyway.
  constexpr float kLimit = 2147483648.0f;
  if (!(px > -kLimit && px < kLimit && py > -kLimit && py < kLimit)) return false;
  const int64_t x = int64_t(std::trunc(px));
  const int64_t y = int64_t(std::trunc(py));
  const int64_t skipX = x < 0 ? -x : 0;
  const int64_t skipY = y < 0 ? -y : 0;
  const int64_t left = x < 0 ? 0 : x;
  const int64_t top = y < 0 ? 0 : y;
  const int64_t right = std::min<int64_t>(x + source.Width, target.Width);
  const int64_t bottom = std::min<int64_t>(y + source.Height, target.Height);
  if (right - left <= 0 || bottom - top <= 0) return false;
  area.Width = int32_t(right - left);
  area.Height = int32_t(bottom - top);
  area.Source = source.First + source.Step * skipY + skipX * 2;
  area.Target = target.First + target.Step * top + left * 2;
  area.SourceStep = source.Step;
  area.TargetStep = target.Step;
  return true;
}

DF_VECTOR_CLONES void StampMaxArea(const StampArea& area) {
  const uint8_t* sourceRow = area.Source;
  uint8_t* targetRow = area.Target;
  for (int32_t y = 0; y < area.Height; ++y) {
    const uint16_t* s = reinterpret_cast<const uint16_t*>(sourceRow);
    uint16_t* t = reinterpret_cast<uint16_t*>(targetRow);
    for (int32_t x = 0; x < area.Width; ++x) t[x] = s[x] > t[x] ? s[x] : t[x];
    sourceRow += area.SourceStep;
    targetRow += area.TargetStep;
  }
}

// u = s + t is stored as u up to 65535 and as 131070 - u above: that is the smaller
// of the two in every case.
DF_VECTOR_CLONES void StampAddFoldArea(const StampArea& area) {
  const uint8_t* sourceRow = area.Source;
  uint8_t* targetRow = area.Target;
  for (int32_t y = 0; y < area.Height; ++y) {
    const uint16_t* s = reinterpret_cast<const uint16_t*>(sourceRow);
    uint16_t* t = reinterpret_cast<uint16_t*>(targetRow);
    for (int32_t x = 0; x < area.Width; ++x) {
      const int32_t u = int32_t(s[x]) + int32_t(t[x]);
      const int32_t folded = 131070 - u;
      t[x] = uint16_t(u < folded ? u : folded);
    }
    sourceRow += area.SourceStep;
    targetRow += area.TargetStep;
  }
}

template <void (*Kernel)(const StampArea&)>
bool Stamp(const C_Image* source, C_Image* target, const C_Vector2D& position) {
  PixelView from, to;
  if (!ViewPixels(source, 16, from) || !ViewPixels(target, 16, to)) return false;
  StampArea area;
  if (ClipStamp(from, to, position.X, position.Y, area)) Kernel(area);
  return true;
}

// ---- particle frames ----

template <void (*Kernel)(const StampArea&)>
void DrawParticles(const C_Image* shape, C_Image* height, const Particle* particles, int32_t count,
                   double startTime, ClockSource clock) {
  PixelView from, to;
  if (!particles || !ViewPixels(shape, 16, from) || !ViewPixels(height, 16, to)) return;
  // One more than the image size: the tile period of the stamps is 513.
  const float w = float(to.Width + 1);
  const float h = float(to.Height + 1);
  const float offsets[9][2] = {{0, 0},  {-w, h}, {-w, 0}, {-w, -h}, {0, -h},
                               {w, -h}, {w, 0},  {0, h},  {w, h}};
  for (int32_t i = 0; i < count; ++i) {
    const float t = float(clock() - startTime);
    const Particle& particle = particles[i];
    C_Vector2D p = C_Vector2D::Add(particle.Start, C_Vector2D::Scale(particle.Velocity, t));
    p.X = WrapCoordinate(p.X, float(kNoiseSide));
    p.Y = WrapCoordinate(p.Y, float(kNoiseSide));
    for (const auto& offset : offsets) {
      StampArea area;
      if (ClipStamp(from, to, p.X + offset[0], p.Y + offset[1], area)) Kernel(area);
    }
  }
}

// ---- noise lattice ----

DF_VECTOR_CLONES void AdvancePhases(PhasePair* table, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    table[i].Phase = int32_t(uint32_t(table[i].Phase) + uint32_t(table[i].Speed));
  }
}

// TriangleFold(phase, 65535): |phase| modulo the period 131070, reflected above 65535.
DF_VECTOR_CLONES void FoldPhaseRow(const PhasePair* pairs, uint16_t* row, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    const int32_t phase = pairs[x].Phase;
    const uint32_t magnitude = phase < 0 ? 0u - uint32_t(phase) : uint32_t(phase);
    const uint32_t r = magnitude % 131070u;
    row[x] = uint16_t(r <= 65535u ? r : 131070u - r);
  }
}

// ---- noise octaves ----
//
// Both passes of an octave walk the same interpolation state along 512 outputs;
// the walk depends only on the lattice count, so it is computed once per octave:
// for every output its lattice cell and smoothstep weight. The column pass (along
// each column) then becomes a blend of two whole lattice rows with one weight per
// output row, done row by row. The row pass (along each row) has one weight per
// output column, so it runs on a transposed copy of the column pass's result,
// column by column; the octaves' contributions are summed transposed and added
// to the height field once, which is the same modulo-65536 sum.

struct AxisWalk {
  uint16_t First[kNoiseSide];   // lattice index of f (cell mod count)
  uint16_t Second[kNoiseSide];  // lattice index of e (next cell mod count)
  uint32_t Weight[kNoiseSide];  // smoothstep weight S of t, 0..65535
};

void WalkAxis(int32_t count, AxisWalk& walk) {
  const uint32_t step = uint32_t(double(count) * 0.001953125 * 65535);
  uint32_t t = 0;
  int32_t cell = 0;
  for (int32_t i = 0; i < kNoiseSide; ++i) {
    walk.First[i] = uint16_t(cell % count);
    walk.Second[i] = uint16_t((cell + 1) % count);
    walk.Weight[i] = SmoothWeight(t);
    t += step;
    if (t > 65535) {
      t -= 65535;
      ++cell;
    }
  }
}

// Transposed buffers: one 512-value line per lattice column or output column.
struct NoiseWorkspace {
  uint16_t Lattice[kNoiseSide * kNoiseSide];  // column pass result, line = lattice column
  uint16_t Sum[kNoiseSide * kNoiseSide];      // octave sum, line = output column
};
// The application runs its generators on one thread; the buffers are reused by
// every call instead of being allocated per frame.
NoiseWorkspace workspace;

// temp row r (columns 0..count - 1) = blend of base rows First[r] and Second[r].
DF_VECTOR_CLONES void ColumnPass(const PixelView& base, const PixelView& temp, int32_t columns,
                                 const AxisWalk& walk) {
  for (int32_t r = 0; r < kNoiseSide; ++r) {
    const uint16_t* f = base.Row16(walk.First[r]);
    const uint16_t* e = base.Row16(walk.Second[r]);
    const uint32_t s = walk.Weight[r];
    const uint32_t w = 65536u - s;
    uint16_t* out = temp.Row16(r);
    for (int32_t c = 0; c < columns; ++c) out[c] = uint16_t((f[c] * w + e[c] * s) >> 16);
  }
}

// Lattice line c = column c of temp, in 8 x 8 blocks for locality.
DF_VECTOR_CLONES void TransposeColumns(const PixelView& temp, int32_t columns, uint16_t* lines) {
  for (int32_t r0 = 0; r0 < kNoiseSide; r0 += 8) {
    for (int32_t c0 = 0; c0 < columns; c0 += 8) {
      const int32_t c1 = std::min(c0 + 8, columns);
      for (int32_t r = r0; r < r0 + 8; ++r) {
        const uint16_t* row = temp.Row16(r);
        for (int32_t c = c0; c < c1; ++c) lines[size_t(c) * kNoiseSide + r] = row[c];
      }
    }
  }
}

// Sum line c += M-scaled blend of lattice lines First[c] and Second[c].
DF_VECTOR_CLONES void RowPass(const uint16_t* lines, uint16_t* sum, const AxisWalk& walk,
                              uint32_t multiplier) {
  for (int32_t c = 0; c < kNoiseSide; ++c) {
    const uint16_t* f = lines + size_t(walk.First[c]) * kNoiseSide;
    const uint16_t* e = lines + size_t(walk.Second[c]) * kNoiseSide;
    const uint32_t s = walk.Weight[c];
    const uint32_t w = 65536u - s;
    uint16_t* out = sum + size_t(c) * kNoiseSide;
    for (int32_t r = 0; r < kNoiseSide; ++r) {
      const uint32_t g = (f[r] * w + e[r] * s) >> 16;
      out[r] = uint16_t(out[r] + ((g * multiplier) >> 16));
    }
  }
}

// height(c, r) += sum line c at r, modulo 65536, in 8 x 8 blocks.
DF_VECTOR_CLONES void AddTransposed(const uint16_t* sum, const PixelView& height) {
  for (int32_t r0 = 0; r0 < kNoiseSide; r0 += 8) {
    for (int32_t c0 = 0; c0 < kNoiseSide; c0 += 8) {
      for (int32_t r = r0; r < r0 + 8; ++r) {
        uint16_t* row = height.Row16(r);
        for (int32_t c = c0; c < c0 + 8; ++c) {
          row[c] = uint16_t(row[c] + sum[size_t(c) * kNoiseSide + r]);
        }
      }
    }
  }
}

bool ViewNoiseImages(const C_Image* base, C_Image* temp, C_Image* height, PixelView& b,
                     PixelView& t, PixelView& h) {
  if (!ViewPixels(base, 16, b) || !ViewPixels(temp, 16, t) || !ViewPixels(height, 16, h))
    return false;
  for (const PixelView* v : {&b, &t, &h}) {
    if (v->Width < kNoiseSide || v->Height < kNoiseSide) return false;
  }
  return true;
}

// One octave's passes into the transposed sum.
void AddOctaveToSum(const PixelView& base, const PixelView& temp, int32_t columns, int32_t rows,
                    uint32_t multiplier) {
  AxisWalk walk;
  WalkAxis(rows, walk);
  ColumnPass(base, temp, columns, walk);
  TransposeColumns(temp, columns, workspace.Lattice);
  WalkAxis(columns, walk);
  RowPass(workspace.Lattice, workspace.Sum, walk, multiplier);
}

}  // namespace

float OctaveAmplitude(int32_t octave) {
  if (octave < 0 || octave >= kOctaveCount) return 0;
  float a = 256;
  float amplitude = 0;
  for (int32_t i = 0; i <= octave; ++i) {
    a = a * 0.5f;
    const float b = i == 0 ? 256.0f : 0.0f;
    float v = b + (a - b) * 0.75f;
    v = (v - 42.0f) * 0.82f + 42.0f;
    amplitude = v * 0.00390625f;
  }
  return amplitude;
}

uint32_t OctaveMultiplier(float amplitude) {
  const float scaled = amplitude * 65536.0f;
  // NaN, negative and too large amplitudes have no unsigned 32-bit multiplier.
  if (!(scaled >= 0 && scaled < 4294967296.0f)) return 0;
  return uint32_t(scaled);
}

bool MakeLumpShape(C_Image* image) {
  return MakeShape(image, [](float d) {
    if (d > 256) d = 256;
    const float v = std::sqrt(Abs(65536.0f - d * d));
    const int32_t pixel = int32_t(v * 256);
    return uint16_t(pixel > 65535 ? 65535 : pixel);
  });
}

bool MakeBlobShape(C_Image* image) {
  return MakeShape(image, [](float d) {
    const float scaled = d * 256;
    // Compared as a float first: far corners of tall images exceed any integer.
    const int32_t fall = scaled >= 65535.0f ? 65535 : int32_t(scaled);
    return uint16_t(65535 - fall);
  });
}

bool StampMax(const C_Image* source, C_Image* target, const C_Vector2D& position) {
  return Stamp<StampMaxArea>(source, target, position);
}

bool StampAddFold(const C_Image* source, C_Image* target, const C_Vector2D& position) {
  return Stamp<StampAddFoldArea>(source, target, position);
}

void DrawLumps(const C_Image* lump, C_Image* height, const Particle* particles, double startTime,
               ClockSource clock) {
  DrawParticles<StampMaxArea>(lump, height, particles, kLumpCount, startTime, clock);
}

void DrawBlobs(const C_Image* blob, C_Image* height, const Particle* particles, double startTime,
               ClockSource clock) {
  DrawParticles<StampAddFoldArea>(blob, height, particles, kBlobCount, startTime, clock);
}

void AdvancePhaseTable(PhasePair* table, size_t count) {
  if (table) AdvancePhases(table, count);
}

bool RefreshNoiseBase(const PhasePair* table, C_Image* image) {
  PixelView view;
  if (!table || !ViewPixels(image, 16, view) || view.Width > kNoiseSide) return false;
  for (int32_t y = 0; y < view.Height; ++y) {
    FoldPhaseRow(table + size_t(y) * kNoiseSide, view.Row16(y), view.Width);
  }
  return true;
}

bool AddNoiseOctave(const C_Image* base, C_Image* temp, C_Image* height, int32_t columns,
                    int32_t rows, float amplitude) {
  PixelView b, t, h;
  if (!ViewNoiseImages(base, temp, height, b, t, h)) return false;
  if (columns < 1 || columns > kNoiseSide || rows < 1 || rows > kNoiseSide) return false;
  std::memset(workspace.Sum, 0, sizeof workspace.Sum);
  AddOctaveToSum(b, t, columns, rows, OctaveMultiplier(amplitude));
  AddTransposed(workspace.Sum, h);
  return true;
}

bool AddNoiseOctaves(const C_Image* base, C_Image* temp, C_Image* height) {
  PixelView b, t, h;
  if (!ViewNoiseImages(base, temp, height, b, t, h)) return false;
  std::memset(workspace.Sum, 0, sizeof workspace.Sum);
  for (int32_t i = 0; i < kOctaveCount; ++i) {
    const int32_t n = kOctaveLattice[i];
    AddOctaveToSum(b, t, n, n, OctaveMultiplier(OctaveAmplitude(i)));
  }
  AddTransposed(workspace.Sum, h);
  return true;
}
