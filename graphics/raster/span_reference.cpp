// The per-pixel reference of every span kind: each option tested at each pixel,
// each rule written out as stated, no shortcuts. Slow on purpose.
#include "graphics/raster/internal/blend.h"
#include "graphics/raster/internal/span_kernels.h"
#include "graphics/raster/internal/span_pixels.h"

namespace {

int32_t Clamp(int64_t value, int32_t low, int32_t high) {
  if (value < low) return low;
  if (value > high) return high;
  return static_cast<int32_t>(value);
}

uint32_t SourcePixel(const SpanJob& job, int32_t x, int32_t y) {
  return reinterpret_cast<const uint32_t*>(job.Source + y * job.SourcePitch)[x];
}

int32_t Channel(uint32_t pixel, uint32_t shift) {
  return static_cast<int32_t>((pixel >> shift) & 0xFF);
}

}  // namespace

void ReferenceSpan(const SpanJob& job, const SpanKey& key, SpanGeometry geometry,
                   const SpanRow& row) {
  for (int32_t i = 0; i < row.Count; ++i) {
    int32_t x = 0, y = 0, fx = 0, fy = 0;
    if (geometry == SpanGeometry::Copy) {
      x = static_cast<int32_t>(key.MirrorX ? row.U - i : row.U + i);
      y = static_cast<int32_t>(row.V);
    } else {
      const int64_t u = row.U + i * job.StepU;
      const int64_t v = geometry == SpanGeometry::Scale ? row.V : row.V - i * job.StepV;
      x = Clamp(u >> 16, job.X1, job.X2 - 1);
      y = Clamp(v >> 16, job.Y1, job.Y2 - 1);
      fx = static_cast<int32_t>(u & 0xFFFF);
      fy = static_cast<int32_t>(v & 0xFFFF);
    }
    uint32_t* target =
        reinterpret_cast<uint32_t*>(job.Target + row.Y * job.TargetPitch) + row.X + i;

    switch (key.Family) {
      case SpanFamily::Plain:
        *target = SourcePixel(job, x, y);
        continue;
      case SpanFamily::Keyed:
        if (SourcePixel(job, x, y) != job.Key) *target = SourcePixel(job, x, y);
        continue;
      case SpanFamily::Solid:
        *target = job.Tint;
        continue;
      case SpanFamily::KeyedSolid:
        if (SourcePixel(job, x, y) != job.Key) *target = job.Tint;
        continue;
      default:
        break;
    }

    // Blended and effects: colour channels and alpha of the source position.
    const bool bilinear =
        key.Family == SpanFamily::Effects && key.Smooth && geometry != SpanGeometry::Copy;
    int32_t color[3] = {0, 0, 0};
    int32_t alpha = 255;
    if (bilinear) {
      const int32_t x1 = span::NextSample(x, job.X2 - 1, job.SourceWidth);
      const int32_t y1 = span::NextSample(y, job.Y2 - 1, job.SourceHeight);
      if (!key.Tint) {
        for (int c = 0; c < 3; ++c) {
          const uint32_t s = job.SourceShift[c];
          color[c] = span::Bilinear(
              Channel(SourcePixel(job, x, y), s), Channel(SourcePixel(job, x1, y), s),
              Channel(SourcePixel(job, x, y1), s), Channel(SourcePixel(job, x1, y1), s), fx, fy);
        }
      }
      if (key.SourceAlpha) {
        const auto a = [&](int32_t ax, int32_t ay) { return job.Alpha[ay * job.AlphaPitch + ax]; };
        alpha = span::Bilinear(a(x, y), a(x1, y), a(x, y1), a(x1, y1), fx, fy);
      }
    } else {
      if (!key.Tint) {
        for (int c = 0; c < 3; ++c) color[c] = Channel(SourcePixel(job, x, y), job.SourceShift[c]);
      }
      if (key.SourceAlpha) alpha = job.Alpha[y * job.AlphaPitch + x];
    }
    if (key.Tint) {
      for (int c = 0; c < 3; ++c) color[c] = job.TintChannel[c];
    } else if (key.Family == SpanFamily::Effects) {
      for (int c = 0; c < 3; ++c) {
        int32_t v = (((color[c] - 128) * job.Contrast[c]) >> 8) + 128;
        v += job.Offset[c];
        color[c] = v < 0 ? 0 : (v > 255 ? 255 : v);
      }
    }

    const int32_t b = key.SourceAlpha ? (job.Opacity * alpha) >> 8 : job.Opacity;
    if (b == 0) continue;
    int32_t w = b;
    if (key.TargetMask) {
      w = ApplyMaskRule(job.Mask + row.Y * job.MaskPitch + row.X + i, b);
    } else if (b >= 255) {
      w = 256;
    }
    uint32_t d = *target;
    for (int c = 0; c < 3; ++c) {
      const uint32_t shift = job.TargetShift[c];
      const int32_t value = w == 256 ? color[c] : BlendChannel(Channel(d, shift), color[c], w);
      d = (d & ~(0xFFu << shift)) | (static_cast<uint32_t>(value & 0xFF) << shift);
    }
    *target = d;
  }
}
