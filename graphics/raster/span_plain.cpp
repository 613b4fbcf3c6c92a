// The kinds that move 32-bit values unchanged: plain, keyed, solid and keyed solid,
// each unscaled (forwards or mirrored), scaled and rotated.
#include <cstring>
#include <type_traits>

#include "graphics/raster/internal/span_kinds.h"
#include "graphics/raster/internal/span_pixels.h"

namespace span {
namespace {

// The per-pixel operation of each kind, with the job's values loaded once per span.
struct Plain {
  explicit Plain(const SpanJob&) {}
  void operator()(uint32_t& d, uint32_t s) const { d = s; }
};
struct Keyed {
  explicit Keyed(const SpanJob& job) : key(job.Key) {}
  void operator()(uint32_t& d, uint32_t s) const { d = s != key ? s : d; }
  uint32_t key;
};
struct Solid {
  explicit Solid(const SpanJob& job) : tint(job.Tint) {}
  void operator()(uint32_t& d, uint32_t) const { d = tint; }
  uint32_t tint;
};
struct KeyedSolid {
  explicit KeyedSolid(const SpanJob& job) : key(job.Key), tint(job.Tint) {}
  void operator()(uint32_t& d, uint32_t s) const { d = s != key ? tint : d; }
  uint32_t key;
  uint32_t tint;
};

template <class Op>
void CopyForward(const SpanJob& job, const SpanRow& row) {
  const uint32_t* source = SourceRow(job, static_cast<int32_t>(row.V)) + row.U;
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  const Op op(job);
  for (int32_t i = 0; i < row.Count; ++i) op(target[i], source[i]);
}

template <class Op>
void CopyMirrored(const SpanJob& job, const SpanRow& row) {
  const uint32_t* source = SourceRow(job, static_cast<int32_t>(row.V)) + row.U;
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  const Op op(job);
  for (int32_t i = 0; i < row.Count; ++i) op(target[i], *(source - i));
}

void CopyPlain(const SpanJob& job, const SpanRow& row) {
  std::memcpy(TargetRow(job, row.Y) + row.X, SourceRow(job, static_cast<int32_t>(row.V)) + row.U,
              static_cast<size_t>(row.Count) * 4);
}

void CopySolid(const SpanJob& job, const SpanRow& row) {
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  const uint32_t tint = job.Tint;
  for (int32_t i = 0; i < row.Count; ++i) target[i] = tint;
}

// Scaled: the middle of the span, where the column needs no clamping, runs a bare
// indexed loop; the few pixels before and after it clamp.
template <class Op>
void Scale(const SpanJob& job, const SpanRow& row) {
  const uint32_t* source = SourceRow(job, ClampFixed(row.V, job.Y1, job.Y2 - 1));
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  const Op op(job);
  const int64_t step = job.StepU;
  int32_t first, last;
  InRange(row.U, step, int64_t{job.X1} << 16, int64_t{job.X2} << 16, row.Count, first, last);
  int64_t u = row.U;
  for (int32_t i = 0; i < first; ++i, u += step)
    op(target[i], source[ClampFixed(u, job.X1, job.X2 - 1)]);
  int32_t i = first;
  if constexpr (std::is_same_v<Op, Plain>) {
    // An exact 2x enlargement writes every source pixel twice: pairs that the
    // compiler turns into vector unpacks, instead of one indexed load per pixel.
    if (step == 0x8000 && last - i >= 2) {
      if ((u & 0xFFFF) >= 0x8000) target[i++] = source[u >> 16], u += step;
      const uint32_t* pair = source + (u >> 16);
      const int32_t pairs = (last - i) / 2;
      uint32_t* out = target + i;
      for (int32_t k = 0; k < pairs; ++k) out[2 * k] = out[2 * k + 1] = pair[k];
      i += 2 * pairs;
      u += int64_t{pairs} << 16;
    }
  }
  for (; i < last; ++i, u += step) op(target[i], source[u >> 16]);
  for (i = last; i < row.Count; ++i, u += step)
    op(target[i], source[ClampFixed(u, job.X1, job.X2 - 1)]);
}

// Rotated: as scaled, with both coordinates moving and the unclamped middle where
// both stay inside the rectangle.
template <class Op>
void Rotate(const SpanJob& job, const SpanRow& row) {
  uint32_t* target = TargetRow(job, row.Y) + row.X;
  const Op op(job);
  const int64_t du = job.StepU;
  const int64_t dv = job.StepV;
  int32_t uFirst, uLast, vFirst, vLast;
  InRange(row.U, du, int64_t{job.X1} << 16, int64_t{job.X2} << 16, row.Count, uFirst, uLast);
  InRange(row.V, -dv, int64_t{job.Y1} << 16, int64_t{job.Y2} << 16, row.Count, vFirst, vLast);
  int32_t first = uFirst > vFirst ? uFirst : vFirst;
  int32_t last = uLast < vLast ? uLast : vLast;
  if (last < first) first = last = 0;
  int64_t u = row.U;
  int64_t v = row.V;
  const auto clamped = [&](int32_t i) {
    op(target[i],
       SourceRow(job, ClampFixed(v, job.Y1, job.Y2 - 1))[ClampFixed(u, job.X1, job.X2 - 1)]);
  };
  for (int32_t i = 0; i < first; ++i, u += du, v -= dv) clamped(i);
  const uint8_t* base = job.Source;
  const intptr_t pitch = job.SourcePitch;
  for (int32_t i = first; i < last; ++i, u += du, v -= dv) {
    op(target[i], reinterpret_cast<const uint32_t*>(base + (v >> 16) * pitch)[u >> 16]);
  }
  for (int32_t i = last; i < row.Count; ++i, u += du, v -= dv) clamped(i);
}

}  // namespace

SpanSet PlainSpans(SpanFamily family, bool mirrorX) {
  switch (family) {
    case SpanFamily::Keyed:
      return {mirrorX ? CopyMirrored<Keyed> : CopyForward<Keyed>, Scale<Keyed>, Rotate<Keyed>};
    case SpanFamily::Solid:
      return {CopySolid, Scale<Solid>, Rotate<Solid>};
    case SpanFamily::KeyedSolid:
      return {mirrorX ? CopyMirrored<KeyedSolid> : CopyForward<KeyedSolid>, Scale<KeyedSolid>,
              Rotate<KeyedSolid>};
    default:
      return {mirrorX ? CopyMirrored<Plain> : CopyPlain, Scale<Plain>, Rotate<Plain>};
  }
}

}  // namespace span
