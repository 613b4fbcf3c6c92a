// Shape generators. Sections: shapes, stamps, particle frames, noise lattice,
// noise octaves. The per-pixel loops are plain portable C++ that the compiler
// vectorises (built for AVX2 too, chosen when the program starts); each gives the
// same bits as the step-by-step rules. The frame's loops run in bands of rows on
// the worker pool: every band writes only its own rows (or lines), and each pixel
// gets the same operations in the same order as on one thread.
#include "app/generators.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "app/fill_bands.h"
#include "core/cpu_features.h"
#include "core/numeric.h"
#include "core/spin_lock.h"
#include "graphics/geometry/color.h"
#include "image/pixel_rows.h"
#include "thread/shared_rows.h"
#include "thread/worker_pool.h"

namespace {

// Runs band over rows 0..rows - 1 on the pool, or all on this thread when the
// call reads pixels that it also writes (then only the order of one thread gives
// the result of one thread).
template <typename F>
void BandsIfApart(bool separate, int32_t rows, F& band) {
  if (separate) {
    Workers.Bands(rows, band);
  } else {
    band(0, rows);
  }
}

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
  int32_t SourceLeft;     // source column of the first overlapped pixel
  int32_t SourceTop;      // source row of the first overlapped row
  int32_t TargetTop;      // target row of the first overlapped row
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
  area.SourceLeft = int32_t(skipX);
  area.SourceTop = int32_t(skipY);
  area.TargetTop = int32_t(top);
  return true;
}

// The per-pixel rules, written once for a single pixel and once for 16 pixels in
// a vector of 16-bit lanes (one AVX2 operation, two SSE2 ones).
// Vectors travel by reference only: the calling convention for vectors passed by
// value differs with and without AVX, and the AVX2 clones must not depend on it.
typedef uint16_t U16x16 __attribute__((vector_size(32)));

DF_INLINE void Load16(U16x16& v, const uint16_t* p) {
  std::memcpy(&v, p, sizeof v);
}
DF_INLINE void Store16(uint16_t* p, const U16x16& v) {
  std::memcpy(p, &v, sizeof v);
}

struct MaxRule {
  DF_INLINE static uint16_t Apply(uint16_t s, uint16_t t) { return s > t ? s : t; }
  DF_INLINE static void Apply(const U16x16& s, U16x16& t) { t = s > t ? s : t; }
};
// u = s + t is kept when it is at most 65535 and becomes 131070 - u above. In 16
// bits: the wrapped sum is u itself when it did not overflow (it is then not below
// s), and u - 65536 when it did, where 131070 - u = 65534 - (u - 65536).
struct FoldRule {
  DF_INLINE static uint16_t Apply(uint16_t s, uint16_t t) {
    const uint16_t sum = uint16_t(s + t);
    const uint16_t reflected = uint16_t(65534 - sum);
    return sum < s ? reflected : sum;
  }
  DF_INLINE static void Apply(const U16x16& s, U16x16& t) {
    const U16x16 sum = s + t;
    const U16x16 reflected = 65534 - sum;
    t = sum < s ? reflected : sum;
  }
};

// Combines 16 pixels of s into t.
template <typename Rule>
DF_INLINE void CombineVector(const uint16_t* s, uint16_t* t) {
  U16x16 source, target;
  Load16(source, s);
  Load16(target, t);
  Rule::Apply(source, target);
  Store16(t, target);
}

// Rows are short (often well under 100 pixels), so they are walked in vectors of
// 16 pixels, the last of which ends at the row's end; only rows of 16 pixels or
// fewer go pixel by pixel.
template <typename Rule>
DF_INLINE void CombineRow(const uint16_t* s, uint16_t* t, int32_t width) {
  if (width > 16) {
    // The last vector overlaps pixels that the loop combines too. It is formed from
    // the target as it was, before the loop stores, so both give those pixels the
    // same value: each result depends on its own source and target pixel alone.
    // (Loaded first, it also never waits for a partly overlapping store.)
    const int32_t last = width - 16;
    U16x16 tailSource, tail;
    Load16(tailSource, s + last);
    Load16(tail, t + last);
    Rule::Apply(tailSource, tail);
    for (int32_t x = 0; x < last; x += 16) CombineVector<Rule>(s + x, t + x);
    Store16(t + last, tail);
    return;
  }
  int32_t x = 0;
  for (; x + 16 <= width; x += 16) CombineVector<Rule>(s + x, t + x);
  for (; x < width; ++x) t[x] = Rule::Apply(s[x], t[x]);
}

template <typename Rule>
DF_INLINE void StampRows(const StampArea& area, int32_t firstRow, int32_t endRow) {
  const uint8_t* sourceRow = area.Source + area.SourceStep * firstRow;
  uint8_t* targetRow = area.Target + area.TargetStep * firstRow;
  for (int32_t y = firstRow; y < endRow; ++y) {
    CombineRow<Rule>(reinterpret_cast<const uint16_t*>(sourceRow),
                     reinterpret_cast<uint16_t*>(targetRow), area.Width);
    sourceRow += area.SourceStep;
    targetRow += area.TargetStep;
  }
}

DF_VECTOR_CLONES void StampMaxArea(const StampArea& area) {
  StampRows<MaxRule>(area, 0, area.Height);
}
DF_VECTOR_CLONES void StampAddFoldArea(const StampArea& area) {
  StampRows<FoldRule>(area, 0, area.Height);
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
//
// A frame's stamps are clipped first and then drawn band by band: each band of
// target rows (small enough to stay in the first-level cache) receives every stamp
// that overlaps it, in the frame's order. The pool's threads take contiguous runs
// of target rows and walk them in such bands. Every pixel still sees its stamps in
// particle and offset order, which the folding addition needs. Within a stamp only
// the source columns between the first and last non-zero pixel of each row are
// combined: a zero source pixel leaves the target unchanged under both rules
// (max(0, t) = t; 0 + t never exceeds 65535).

constexpr int32_t kBandRows = 16;
constexpr int32_t kMaxStamps = kLumpCount * 9;
constexpr int32_t kMaxSpanRows = 1024;  // taller sources are combined whole

// Source columns [Begin, End) of one row outside which every pixel is 0.
struct RowSpan {
  int32_t Begin;
  int32_t End;
};

struct StampFrame {
  StampArea Areas[kMaxStamps];
  RowSpan Spans[kMaxSpanRows];
};
// Reused by every frame instead of allocated: filled by the calling thread, then
// only read by the bands. The lock keeps calls from two threads apart.
StampFrame stampFrame;
SpinLockWord stampFrameLock{0};

// For a source of at most kMaxSpanRows rows.
void FindRowSpans(const PixelView& source, RowSpan* spans) {
  for (int32_t y = 0; y < source.Height; ++y) {
    const uint16_t* row = source.Row16(y);
    int32_t begin = 0, end = source.Width;
    while (begin < end && row[begin] == 0) ++begin;
    while (end > begin && row[end - 1] == 0) --end;
    spans[y] = {begin, end};
  }
}

// Target rows [firstRow, endRow); with `clear`, each band's rows of it are made
// black first, while they are in the cache for the stamps.
template <typename Rule>
DF_INLINE void StampBands(const StampArea* areas, int32_t count, const RowSpan* spans,
                          bool useSpans, const PixelView* clear, int32_t firstRow, int32_t endRow) {
  for (int32_t band = firstRow; band < endRow; band += kBandRows) {
    const int32_t bandEnd = std::min(band + kBandRows, endRow);
    if (clear) {
      const size_t bytes = size_t(clear->Width) * 2;
      for (int32_t y = band; y < bandEnd; ++y) std::memset(clear->Row16(y), 0, bytes);
    }
    for (int32_t i = 0; i < count; ++i) {
      const StampArea& a = areas[i];
      const int32_t first = std::max(band, a.TargetTop) - a.TargetTop;
      const int32_t end = std::min(bandEnd, a.TargetTop + a.Height) - a.TargetTop;
      if (!useSpans) {
        StampRows<Rule>(a, first, end);
        continue;
      }
      for (int32_t y = first; y < end; ++y) {
        const RowSpan span = spans[a.SourceTop + y];
        const int32_t begin = std::max(span.Begin - a.SourceLeft, 0);
        const int32_t stop = std::min(span.End - a.SourceLeft, a.Width);
        if (begin >= stop) continue;
        const uint16_t* s = reinterpret_cast<const uint16_t*>(a.Source + a.SourceStep * y);
        uint16_t* t = reinterpret_cast<uint16_t*>(a.Target + a.TargetStep * y);
        CombineRow<Rule>(s + begin, t + begin, stop - begin);
      }
    }
  }
}

DF_VECTOR_CLONES void StampBandsMax(const StampArea* areas, int32_t count, const RowSpan* spans,
                                    bool useSpans, const PixelView* clear, int32_t firstRow,
                                    int32_t endRow) {
  StampBands<MaxRule>(areas, count, spans, useSpans, clear, firstRow, endRow);
}
DF_VECTOR_CLONES void StampBandsFold(const StampArea* areas, int32_t count, const RowSpan* spans,
                                     bool useSpans, const PixelView* clear, int32_t firstRow,
                                     int32_t endRow) {
  StampBands<FoldRule>(areas, count, spans, useSpans, clear, firstRow, endRow);
}

using BandKernel = void (*)(const StampArea*, int32_t, const RowSpan*, bool, const PixelView*,
                            int32_t, int32_t);

// The height field made black as FillImage makes it, in the frame's bands.
void FillBlack(C_Image* height) {
  FillImageInBands(height, C_Color::FromBytes(0, 0, 0));
}

template <BandKernel Kernel>
void DrawParticles(const C_Image* shape, C_Image* height, const Particle* particles, int32_t count,
                   double startTime, ClockSource clock, HeightStart start) {
  PixelView from, to;
  const bool drawable = particles && ViewPixels(shape, 16, from) && ViewPixels(height, 16, to);
  const bool apart = drawable && PixelsApart(*shape, *height);
  // The bands clear their rows as they come to them. Otherwise (nothing to draw,
  // or a shape inside the height field, which the clear reaches) black comes
  // first, the generic way.
  const bool clearBands = start == HeightStart::Black && apart;
  if (start == HeightStart::Black && !clearBands) FillBlack(height);
  if (!drawable) return;
  // One more than the image size: the tile period of the stamps is 513.
  const float w = float(to.Width + 1);
  const float h = float(to.Height + 1);
  const float offsets[9][2] = {{0, 0},  {-w, h}, {-w, 0}, {-w, -h}, {0, -h},
                               {w, -h}, {w, 0},  {0, h},  {w, h}};
  SpinLockGuard hold(stampFrameLock);
  int32_t stamps = 0;
  for (int32_t i = 0; i < count; ++i) {
    const float t = float(clock() - startTime);
    const Particle& particle = particles[i];
    C_Vector2D p = C_Vector2D::Add(particle.Start, C_Vector2D::Scale(particle.Velocity, t));
    p.X = WrapCoordinate(p.X, float(kNoiseSide));
    p.Y = WrapCoordinate(p.Y, float(kNoiseSide));
    for (const auto& offset : offsets) {
      if (ClipStamp(from, to, p.X + offset[0], p.Y + offset[1], stampFrame.Areas[stamps])) {
        ++stamps;
      }
    }
  }
  if (stamps == 0 && !clearBands) return;
  // A source taller than the span table is combined whole, row by row.
  const bool useSpans = from.Height <= kMaxSpanRows;
  if (useSpans) FindRowSpans(from, stampFrame.Spans);
  const PixelView* clear = clearBands ? &to : nullptr;
  auto band = [&](int32_t first, int32_t end) {
    Kernel(stampFrame.Areas, stamps, stampFrame.Spans, useSpans, clear, first, end);
  };
  BandsIfApart(apart, to.Height, band);
}

// ---- noise lattice ----

DF_WIDE_VECTOR_CLONES void AdvancePhases(PhasePair* table, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    table[i].Phase = int32_t(uint32_t(table[i].Phase) + uint32_t(table[i].Speed));
  }
}

// TriangleFold(phase, 65535): |phase| modulo the period 131070, reflected above 65535.
DF_INLINE uint16_t FoldPhase(int32_t phase) {
  const uint32_t magnitude = phase < 0 ? 0u - uint32_t(phase) : uint32_t(phase);
  const uint32_t r = magnitude % 131070u;
  return uint16_t(r <= 65535u ? r : 131070u - r);
}

DF_WIDE_VECTOR_CLONES void FoldPhaseRow(const PhasePair* pairs, uint16_t* row, int32_t width) {
  for (int32_t x = 0; x < width; ++x) row[x] = FoldPhase(pairs[x].Phase);
}

// Both steps for rows [first, end) of the image and the table: each pair is read
// and written once.
DF_WIDE_VECTOR_CLONES void AdvanceFoldRows(PhasePair* table, const PixelView& image, int32_t first,
                                           int32_t end) {
  for (int32_t y = first; y < end; ++y) {
    PhasePair* pairs = table + size_t(y) * kNoiseSide;
    uint16_t* row = image.Row16(y);
    for (int32_t x = 0; x < image.Width; ++x) {
      const int32_t phase = int32_t(uint32_t(pairs[x].Phase) + uint32_t(pairs[x].Speed));
      pairs[x].Phase = phase;
      row[x] = FoldPhase(phase);
    }
    for (int32_t x = image.Width; x < kNoiseSide; ++x) {
      pairs[x].Phase = int32_t(uint32_t(pairs[x].Phase) + uint32_t(pairs[x].Speed));
    }
  }
}

// The corner's step for rows [first, end): the first kLatticeCorner pairs and
// pixels of each row.
DF_WIDE_VECTOR_CLONES void AdvanceFoldCorner(PhasePair* table, const PixelView& image,
                                             int32_t first, int32_t end) {
  for (int32_t y = first; y < end; ++y) {
    PhasePair* pairs = table + size_t(y) * kNoiseSide;
    uint16_t* row = image.Row16(y);
    for (int32_t x = 0; x < kLatticeCorner; ++x) {
      const int32_t phase = int32_t(uint32_t(pairs[x].Phase) + uint32_t(pairs[x].Speed));
      pairs[x].Phase = phase;
      row[x] = FoldPhase(phase);
    }
  }
}

// Pairs [first, end) of one row, steps frames behind: advanced by all of them at
// once, and their pixels (when row is not null) refreshed.
DF_WIDE_VECTOR_CLONES void CatchUpPairs(PhasePair* pairs, uint16_t* row, int32_t first, int32_t end,
                                        uint32_t steps) {
  for (int32_t x = first; x < end; ++x) {
    pairs[x].Phase = int32_t(uint32_t(pairs[x].Phase) + steps * uint32_t(pairs[x].Speed));
  }
  if (row) FoldPhaseRow(pairs + first, row + first, end - first);
}

// A 512 x 512 16-bit view of image: what the corner's step works on.
bool ViewWholeBase(C_Image* image, PixelView& view) {
  return ViewPixels(image, 16, view) && view.Width == kNoiseSide && view.Height == kNoiseSide;
}

// Rows of the noise base's lower half that a band takes at a time.
constexpr int32_t kRefreshChunk = 4;

// Runs f(first, end) over rows 0..rows - 1 of the noise base on the pool. Band j
// takes the j-th part of the upper half: the octaves read only the upper half (the
// largest lattice has kNoiseSide / 2 rows), and octave band j reads about that
// part, so the rows a band reads were written on its own thread, not moved from
// another core. Nothing reads the lower half during the frame, so its rows are
// shared out as the bands finish (each starting on its own part): the bands
// finish together even when one core is slower, as the one that writes the rows
// other bands read is.
template <typename F>
void RefreshInBands(int32_t rows, F& f) {
  const int32_t half = (rows + 1) / 2;
  const int32_t bands = std::min(Workers.Threads(), half);
  SharedRows lower(half, rows, bands, kRefreshChunk);
  auto band = [&](int32_t firstBand, int32_t endBand) {
    for (int32_t j = firstBand; j < endBand; ++j) {
      f(BandStart(half, bands, j), BandStart(half, bands, j + 1));
      int32_t first = 0, end = 0;
      while (lower.Next(j, first, end)) f(first, end);
    }
  };
  Workers.Bands(bands, band);
}

// ---- noise octaves ----
//
// Both passes of an octave walk the same interpolation state along 512 outputs;
// the walk depends only on the lattice count, so it is computed once per octave:
// for every output its lattice cell and smoothstep weight. The column pass (along
// each column) then becomes a blend of two whole lattice rows with one weight per
// output row, done row by row. The row pass (along each row) has one weight per
// output column but reads the lattice values of its cells, so it runs on lattice
// lines: the column pass's rows transposed, one line per lattice column. The
// octaves are summed in lines too (one per output column) and added to the
// height field once at the end, which is the same modulo-65536 sum.
//
// Output row r needs only row r of the column pass, so the work is cut into
// bands of output rows, each band taking its rows through every octave and into
// the height field on its own: its lines hold only its rows' positions and live
// in its own part of the workspace. One call of the pool does all the octaves,
// and no band reads or writes another band's data; moving data between cores
// costs more than the arithmetic here.

struct AxisWalk {
  uint16_t First[kNoiseSide];   // lattice index of f (cell mod count)
  uint16_t Second[kNoiseSide];  // lattice index of e (next cell mod count)
  uint16_t Weight[kNoiseSide];  // smoothstep weight S of t, 0..65535
};

void WalkAxis(int32_t count, AxisWalk& walk) {
  const uint32_t step = uint32_t(double(count) * 0.001953125 * 65535);
  uint32_t t = 0;
  int32_t cell = 0;
  for (int32_t i = 0; i < kNoiseSide; ++i) {
    walk.First[i] = uint16_t(cell % count);
    walk.Second[i] = uint16_t((cell + 1) % count);
    walk.Weight[i] = uint16_t(SmoothWeight(t));  // t <= 65535 gives at most 65535
    t += step;
    if (t > 65535) {
      t -= 65535;
      ++cell;
    }
  }
}

// A 16.16 multiplier M = 65536 High + Low.
struct ScaleHalves {
  uint16_t Low;
  uint16_t High;
};

// One octave as the passes need it.
struct OctavePlan {
  AxisWalk Down;      // along each column: the column pass over `rows` cells
  AxisWalk Across;    // along each row: the row pass over `columns` cells
  int32_t Columns;    // lattice columns of the column pass (0 before the first plan)
  int32_t Rows;       // lattice rows of the column pass
  ScaleHalves Scale;  // 16.16 amplitude of the row pass, in halves
};

constexpr int32_t kUnit = 8;                    // rows and lines go in 8s (8 x 8 transposes)
constexpr int32_t kMaxBands = kMaxPoolThreads;  // bands of one call
// Values after each band line: lines of a power-of-two size would all fall into
// a few sets of the first-level cache, and the transpositions touch eight or more
// lines at once.
constexpr int32_t kLinePad = 32;
// Values between two bands' parts, 32 KiB: the processor's prefetchers, running
// ahead of one band's writes, stay out of the next band's data.
constexpr size_t kBandGap = 16 * 1024;

// A band's part: kNoiseSide lattice lines, then kNoiseSide sum lines, each of
// Stride values of which the first Positions are the band's rows.
struct BandPart {
  int32_t FirstRow;   // first output row of the band
  int32_t Positions;  // its rows, a multiple of kUnit
  int32_t Stride;     // values from one line to the next
  uint16_t* Lattice;  // lattice line k at Lattice + k * Stride
  uint16_t* Sum;      // sum line c at Sum + c * Stride
};

// The bands' parts of every call; the bands write only their own parts, and the
// lock keeps calls from two threads apart. Every band together holds
// 2 x 512 lines of at most 512 + kMaxBands x kLinePad positions.
struct NoiseWorkspace {
  alignas(64)
      uint16_t Values[2 * kNoiseSide * (kNoiseSide + kMaxBands * kLinePad) + kMaxBands * kBandGap];
  OctavePlan Plans[kOctaveCount];
};
NoiseWorkspace workspace;
SpinLockWord workspaceLock{0};

// Part j of `bands`: rows cut in whole units.
BandPart PartOf(int32_t j, int32_t bands) {
  auto firstRow = [bands](int32_t band) { return kUnit * (kNoiseSide / kUnit * band / bands); };
  size_t offset = 0;
  for (int32_t i = 0; i < j; ++i) {
    const size_t stride = size_t(firstRow(i + 1) - firstRow(i) + kLinePad);
    offset += 2 * kNoiseSide * stride + kBandGap;
  }
  BandPart part;
  part.FirstRow = firstRow(j);
  part.Positions = firstRow(j + 1) - part.FirstRow;
  part.Stride = part.Positions + kLinePad;
  part.Lattice = workspace.Values + offset;
  part.Sum = part.Lattice + size_t(kNoiseSide) * size_t(part.Stride);
  return part;
}

// Rows [first, end) of the column pass into out[r - first]: out[k] = blend of base
// rows First[r] and Second[r] at column k, for k < columns. The loop runs in
// whole 32-value steps as far as the base row allows (values past `columns` are
// never used), so that narrow octaves do not end in a pixel-by-pixel remainder.
DF_WIDE_VECTOR_CLONES void ColumnPassRows(const PixelView& base, const AxisWalk& down,
                                          int32_t first, int32_t end, int32_t columns,
                                          uint16_t (*out)[kNoiseSide + kLinePad]) {
  constexpr int32_t kStep = 32;
  const int32_t wide = std::min((columns + kStep - 1) / kStep * kStep, kNoiseSide);
  for (int32_t r = first; r < end; ++r) {
    const uint16_t* f = base.Row16(down.First[r]);
    const uint16_t* e = base.Row16(down.Second[r]);
    const uint16_t s = down.Weight[r];
    uint16_t* row = out[r - first];
    for (int32_t k = 0; k < wide; ++k) row[k] = Blend16(f[k], e[k], s);
  }
}

typedef uint16_t U16x8 __attribute__((vector_size(16)));

// Transposes an 8 x 8 block of 16-bit values held as eight vectors: three rounds
// of interleaving 16-, 32- and 64-bit pieces of row pairs (the SSE2 unpacks).
DF_INLINE void Transpose8x8(U16x8 v[8]) {
  U16x8 t[8], u[8];
  for (int32_t i = 0; i < 4; ++i) {
    t[2 * i] = __builtin_shufflevector(v[2 * i], v[2 * i + 1], 0, 8, 1, 9, 2, 10, 3, 11);
    t[2 * i + 1] = __builtin_shufflevector(v[2 * i], v[2 * i + 1], 4, 12, 5, 13, 6, 14, 7, 15);
  }
  for (int32_t i = 0; i < 2; ++i) {
    for (int32_t j = 0; j < 2; ++j) {
      const U16x8 a = t[4 * i + j], b = t[4 * i + j + 2];
      u[4 * i + 2 * j] = __builtin_shufflevector(a, b, 0, 1, 8, 9, 2, 3, 10, 11);
      u[4 * i + 2 * j + 1] = __builtin_shufflevector(a, b, 4, 5, 12, 13, 6, 7, 14, 15);
    }
  }
  for (int32_t i = 0; i < 4; ++i) {
    v[2 * i] = __builtin_shufflevector(u[i], u[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    v[2 * i + 1] = __builtin_shufflevector(u[i], u[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

DF_INLINE U16x8 Load8(const uint16_t* p) {
  U16x8 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
DF_INLINE void Store8(uint16_t* p, U16x8 v) {
  std::memcpy(p, &v, sizeof v);
}

// Lines [0, lines) at positions p..p + 7 = the columns of the 8 rows (lines a
// multiple of 8).
DF_VECTOR_CLONES void RowsToLines(const uint16_t (*rows)[kNoiseSide + kLinePad], int32_t lines,
                                  uint16_t* out, int32_t stride, int32_t p) {
  for (int32_t k0 = 0; k0 < lines; k0 += kUnit) {
    U16x8 block[8];
    for (int32_t i = 0; i < 8; ++i) block[i] = Load8(rows[i] + k0);
    Transpose8x8(block);
    for (int32_t i = 0; i < 8; ++i) Store8(out + size_t(k0 + i) * size_t(stride) + p, block[i]);
  }
}

// Sum lines c = 0..511, positions [0, positions): (+)= M-scaled blend of lattice
// lines First[c] and Second[c]; the first octave stores instead of adding, so the
// sum needs no clearing. The scaling (g M mod 2^32) / 65536 is taken in 16-bit
// pieces as well: with M = 65536 mHigh + mLow it is (g mLow) / 65536 + g mHigh,
// modulo 65536; the second term is left out for the multipliers below 1 that the
// frame uses.
template <bool kFirst, bool kWide>
DF_INLINE void RowPassLines(const uint16_t* lattice, uint16_t* sum, int32_t stride,
                            int32_t positions, const AxisWalk& walk, const ScaleHalves& m) {
  // Read as 16-bit values, so that the compiler sees a 16 x 16-bit high product.
  const uint16_t mLow = m.Low;
  const uint16_t mHigh = m.High;
  for (int32_t c = 0; c < kNoiseSide; ++c) {
    const uint16_t* f = lattice + size_t(walk.First[c]) * size_t(stride);
    const uint16_t* e = lattice + size_t(walk.Second[c]) * size_t(stride);
    const uint16_t s = walk.Weight[c];
    uint16_t* out = sum + size_t(c) * size_t(stride);
    for (int32_t r = 0; r < positions; ++r) {
      const uint16_t g = Blend16(f[r], e[r], s);
      uint16_t scaled = uint16_t((uint32_t(g) * mLow) >> 16);
      if (kWide) scaled = uint16_t(scaled + uint32_t(g) * mHigh);
      out[r] = kFirst ? scaled : uint16_t(out[r] + scaled);
    }
  }
}

DF_WIDE_VECTOR_CLONES void RowPass(const uint16_t* lattice, uint16_t* sum, int32_t stride,
                                   int32_t positions, const AxisWalk& walk, const ScaleHalves& m,
                                   bool firstOctave) {
  const bool wide = m.High != 0;
  if (firstOctave) {
    if (wide) {
      RowPassLines<true, true>(lattice, sum, stride, positions, walk, m);
    } else {
      RowPassLines<true, false>(lattice, sum, stride, positions, walk, m);
    }
  } else if (wide) {
    RowPassLines<false, true>(lattice, sum, stride, positions, walk, m);
  } else {
    RowPassLines<false, false>(lattice, sum, stride, positions, walk, m);
  }
}

// height(c, r) += sum line c at position r - firstRow, modulo 65536, for the
// band's rows, in 8 x 8 blocks; or = when kStore (a height field that starts black).
template <bool kStore>
DF_INLINE void PutTransposed(const BandPart& part, const PixelView& height) {
  for (int32_t p0 = 0; p0 < part.Positions; p0 += 8) {
    for (int32_t c0 = 0; c0 < kNoiseSide; c0 += 8) {
      U16x8 block[8];
      for (int32_t i = 0; i < 8; ++i) {
        block[i] = Load8(part.Sum + size_t(c0 + i) * size_t(part.Stride) + p0);
      }
      Transpose8x8(block);
      for (int32_t i = 0; i < 8; ++i) {
        uint16_t* row = height.Row16(part.FirstRow + p0 + i) + c0;
        Store8(row, kStore ? block[i] : Load8(row) + block[i]);
      }
    }
  }
}

DF_VECTOR_CLONES void AddTransposed(const BandPart& part, const PixelView& height) {
  PutTransposed<false>(part, height);
}
DF_VECTOR_CLONES void StoreTransposed(const BandPart& part, const PixelView& height) {
  PutTransposed<true>(part, height);
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

// The walks depend only on the lattice counts, which are the same every frame:
// they are kept from the last call.
void PlanOctave(int32_t columns, int32_t rows, uint32_t multiplier, OctavePlan& plan) {
  if (plan.Columns != columns || plan.Rows != rows) {
    WalkAxis(rows, plan.Down);
    WalkAxis(columns, plan.Across);
    plan.Columns = columns;
    plan.Rows = rows;
  }
  plan.Scale = {uint16_t(multiplier), uint16_t(multiplier >> 16)};
}

// The planned octaves 0..count - 1 of the workspace, summed and added to height.
struct OctaveRun {
  const PixelView& Base;
  const PixelView& Temp;
  const PixelView& Height;
  int32_t Count;
  int32_t Bands;
  // Base and temp overlap: the column pass reads rows it has written, so each row
  // goes to temp as soon as it is formed, in every octave, and there is one band.
  bool Overlapping;
  // The sum is stored over the height field rather than added to it.
  bool Store;

  // Band j through every octave and into the height field. Temp receives the
  // column pass of every octave when the images overlap, else of the last only,
  // which leaves it as the octaves in turn do (each later octave's columns
  // include every earlier one's).
  void Band(int32_t j) const {
    const BandPart part = PartOf(j, Bands);
    // On this thread's stack, away from the other bands' data; zeroed so that the
    // lines past the count (transposed but never read) hold defined values.
    uint16_t rows[kUnit][kNoiseSide + kLinePad] = {};
    for (int32_t i = 0; i < Count; ++i) {
      const OctavePlan& plan = workspace.Plans[i];
      const int32_t lines = (plan.Columns + kUnit - 1) / kUnit * kUnit;
      const size_t tempBytes = size_t(plan.Columns) * 2;
      const bool toTemp = Overlapping || i == Count - 1;
      for (int32_t p0 = 0; p0 < part.Positions; p0 += kUnit) {
        const int32_t r0 = part.FirstRow + p0;
        if (Overlapping) {
          for (int32_t r = r0; r < r0 + kUnit; ++r) {
            ColumnPassRows(Base, plan.Down, r, r + 1, plan.Columns, rows + (r - r0));
            std::memcpy(Temp.Row16(r), rows[r - r0], tempBytes);
          }
        } else {
          ColumnPassRows(Base, plan.Down, r0, r0 + kUnit, plan.Columns, rows);
          if (toTemp) {
            for (int32_t k = 0; k < kUnit; ++k) std::memcpy(Temp.Row16(r0 + k), rows[k], tempBytes);
          }
        }
        RowsToLines(rows, lines, part.Lattice, part.Stride, p0);
      }
      RowPass(part.Lattice, part.Sum, part.Stride, part.Positions, plan.Across, plan.Scale, i == 0);
    }
    if (Store) {
      StoreTransposed(part, Height);
    } else {
      AddTransposed(part, Height);
    }
  }
};

// Runs the planned octaves 0..count - 1 in one band per thread of the pool, or in
// a single band when the images overlap.
void RunOctaves(const PixelView& b, const PixelView& t, const PixelView& h, int32_t count,
                bool overlapping, bool store) {
  const int32_t bands = overlapping ? 1 : std::min(Workers.Threads(), kMaxBands);
  const OctaveRun run{b, t, h, count, bands, overlapping, store};
  auto task = [&run](int32_t first, int32_t end) {
    for (int32_t j = first; j < end; ++j) run.Band(j);
  };
  Workers.Bands(bands, task);
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
               ClockSource clock, HeightStart start) {
  DrawParticles<StampBandsMax>(lump, height, particles, kLumpCount, startTime, clock, start);
}

void DrawBlobs(const C_Image* blob, C_Image* height, const Particle* particles, double startTime,
               ClockSource clock, HeightStart start) {
  DrawParticles<StampBandsFold>(blob, height, particles, kBlobCount, startTime, clock, start);
}

void AdvancePhaseTable(PhasePair* table, size_t count) {
  if (table) AdvancePhases(table, count);
}

bool RefreshNoiseBase(const PhasePair* table, C_Image* image) {
  PixelView view;
  // The table holds kNoiseSide rows of kNoiseSide pairs; a larger image would read
  // past its end.
  if (!table || !ViewPixels(image, 16, view) || view.Width > kNoiseSide || view.Height > kNoiseSide)
    return false;
  auto band = [&](int32_t first, int32_t end) {
    for (int32_t y = first; y < end; ++y) {
      FoldPhaseRow(table + size_t(y) * kNoiseSide, view.Row16(y), view.Width);
    }
  };
  RefreshInBands(view.Height, band);
  return true;
}

bool AdvanceAndRefreshNoiseBase(PhasePair* table, size_t count, C_Image* image) {
  if (!table) return false;
  PixelView view;
  const bool fits = ViewPixels(image, 16, view) && view.Width <= kNoiseSide &&
                    size_t(view.Height) <= count / kNoiseSide;
  if (!fits) {
    AdvancePhases(table, count);
    return false;
  }
  auto band = [&](int32_t first, int32_t end) { AdvanceFoldRows(table, view, first, end); };
  RefreshInBands(view.Height, band);
  const size_t done = size_t(view.Height) * kNoiseSide;
  AdvancePhases(table + done, count - done);
  return true;
}

bool AdvanceNoiseCorner(PhasePair* table, C_Image* image, uint32_t& behind) {
  PixelView view;
  if (!table || !ViewWholeBase(image, view)) {
    CatchUpNoiseBase(table, image, behind);
    return AdvanceAndRefreshNoiseBase(table, kPhaseCount, image);
  }
  // Band j takes the j-th part of the corner's rows, the rows that octave band j
  // reads, so that they are written on the thread that reads them.
  const int32_t bands = std::min(Workers.Threads(), kMaxBands);
  auto band = [&](int32_t firstBand, int32_t endBand) {
    for (int32_t j = firstBand; j < endBand; ++j) {
      AdvanceFoldCorner(table, view, BandStart(kLatticeCorner, bands, j),
                        BandStart(kLatticeCorner, bands, j + 1));
    }
  };
  Workers.Bands(bands, band);
  ++behind;
  return true;
}

bool CatchUpNoiseBase(PhasePair* table, C_Image* image, uint32_t& behind) {
  if (!table) return false;
  const uint32_t steps = behind;
  behind = 0;
  PixelView view;
  const bool whole = ViewWholeBase(image, view);
  if (steps == 0) return whole;
  for (int32_t y = 0; y < kNoiseSide; ++y) {
    const int32_t first = y < kLatticeCorner ? kLatticeCorner : 0;
    CatchUpPairs(table + size_t(y) * kNoiseSide, whole ? view.Row16(y) : nullptr, first, kNoiseSide,
                 steps);
  }
  return whole;
}

bool AddNoiseOctave(const C_Image* base, C_Image* temp, C_Image* height, int32_t columns,
                    int32_t rows, float amplitude) {
  PixelView b, t, h;
  if (!ViewNoiseImages(base, temp, height, b, t, h)) return false;
  if (columns < 1 || columns > kNoiseSide || rows < 1 || rows > kNoiseSide) return false;
  SpinLockGuard hold(workspaceLock);
  PlanOctave(columns, rows, OctaveMultiplier(amplitude), workspace.Plans[0]);
  RunOctaves(b, t, h, 1, !PixelsApart(*base, *temp), false);
  return true;
}

bool AddNoiseOctaves(const C_Image* base, C_Image* temp, C_Image* height, HeightStart start) {
  PixelView b, t, h;
  const bool viewed = ViewNoiseImages(base, temp, height, b, t, h);
  // The sum covers the field when it is 512 x 512 and apart from what the passes
  // read and write; otherwise black comes first, the generic way.
  const bool store = start == HeightStart::Black && viewed && h.Width == kNoiseSide &&
                     h.Height == kNoiseSide && PixelsApart(*height, *base) &&
                     PixelsApart(*height, *temp);
  if (start == HeightStart::Black && !store) FillBlack(height);
  if (!viewed) return false;
  SpinLockGuard hold(workspaceLock);
  for (int32_t i = 0; i < kOctaveCount; ++i) {
    const int32_t n = kOctaveLattice[i];
    PlanOctave(n, n, OctaveMultiplier(OctaveAmplitude(i)), workspace.Plans[i]);
  }
  RunOctaves(b, t, h, kOctaveCount, !PixelsApart(*base, *temp), store);
  return true;
}
