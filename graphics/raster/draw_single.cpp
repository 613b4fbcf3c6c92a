// One draw of a surface. Sections: decoding the surfaces; the span job (weights,
// packed colours, the kernel choice); the unscaled, scaled and rotated placements.
// Only the rotated placement uses shared state (the span table) and so only it
// holds RasterLock; the others keep everything in the call's own job.
#include "graphics/raster/internal/draw_single.h"

#include <algorithm>
#include <cmath>

#include "core/class_id.h"
#include "core/error.h"
#include "core/row_split.h"
#include "graphics/geometry/color.h"
#include "graphics/geometry/resolve.h"
#include "graphics/raster/internal/span_kernels.h"
#include "graphics/raster/internal/span_table.h"
#include "graphics/raster/raster_lock.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

namespace {

constexpr int64_t kFixedLimit = int64_t{1} << 60;
constexpr int64_t kStepLimit = INT32_MAX;  // steps beyond 32768 source pixels per pixel

// 32 bits with red, green and blue as whole bytes: what every span kernel assumes.
bool IsByteColor32(const FormatDescriptor& f) {
  if (f.BitsPerPixel != 32 || f.ComponentType != ComponentInteger) return false;
  for (int c = 0; c < 3; ++c) {
    if (f.Bits[c] != 8 || f.Shift[c] % 8 != 0 || f.Shift[c] > 24) return false;
  }
  return true;
}

bool Present(const C_Image* image) {
  return image != nullptr && image->Pixels != nullptr && image->Width > 0 && image->Height > 0;
}

int32_t ClampInt(int64_t v, int64_t low, int64_t high) {
  return static_cast<int32_t>(v < low ? low : (v > high ? high : v));
}

void Enlarge(C_Rect* dirty, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  if (dirty == nullptr || x1 >= x2 || y1 >= y2) return;
  dirty->X1 = std::min(dirty->X1, static_cast<float>(x1));
  dirty->Y1 = std::min(dirty->Y1, static_cast<float>(y1));
  dirty->X2 = std::max(dirty->X2, static_cast<float>(x2));
  dirty->Y2 = std::max(dirty->Y2, static_cast<float>(y2));
}

// ---- The span job -------------------------------------------------------------

// Channels of a packed colour, and the colour on the target's positions.
void UnpackTint(uint32_t packed, const uint32_t from[3], SpanJob& job) {
  job.TintOnTarget = 0;
  for (int c = 0; c < 3; ++c) {
    job.TintChannel[c] = static_cast<int32_t>((packed >> from[c]) & 0xFF);
    job.TintOnTarget |= static_cast<uint32_t>(job.TintChannel[c]) << job.TargetShift[c];
  }
}

// x 256, truncated, kept where every result already clamps to 0..255 anyway.
int32_t Factor(float value) {
  return ClampInt(SaturateToInt(static_cast<double>(value) * 256.0), -(1 << 20), 1 << 20);
}

}  // namespace

SpanFamily ChooseFamily(const DrawSource& source, const RasterTarget& target,
                        const DrawOptions& options) {
  const bool alphaOnly = source.color.image == nullptr;
  const bool scaled = options.Scale.X != 1 || options.Scale.Y != 1;
  const bool blend = options.Opacity < 1 || source.alpha.image != nullptr ||
                     target.mask.image != nullptr || alphaOnly;
  const bool effects = (options.Smooth != 0 && (scaled || options.Angle != 0)) ||
                       options.UseOffset == 1 || options.UseContrast == 1;
  // An alpha image alone draws the tint (white unless the options set one) through it.
  const bool tint = options.UseTint == 1 || alphaOnly;
  const bool keyed = options.UseColorKey == 1 && !alphaOnly;
  if (effects) return SpanFamily::Effects;
  if (blend) return SpanFamily::Blended;
  if (!tint) return keyed ? SpanFamily::Keyed : SpanFamily::Plain;
  return keyed ? SpanFamily::KeyedSolid : SpanFamily::Solid;
}

// Fills the job and picks the kernels. False when the draw leaves nothing to do.
bool PreparePlacement(const DrawSource& source, const RasterTarget& target,
                      const DrawOptions& options, Placement& p) {
  const float opacity = options.Opacity;
  if (!(opacity > 0)) return false;  // 0, negative and NaN draw nothing
  const int32_t weight = opacity >= 1 ? 256 : static_cast<int32_t>(opacity * 256.0f);
  if (weight <= 0) return false;

  const bool alphaOnly = source.color.image == nullptr;
  const bool tint = options.UseTint == 1 || alphaOnly;
  SpanKey& key = p.key;
  key.Family = ChooseFamily(source, target, options);
  key.MirrorX = options.MirrorX == 1;
  key.SourceAlpha = source.alpha.image != nullptr;
  key.TargetMask = target.mask.image != nullptr;
  key.Tint = tint;
  key.Smooth = options.Smooth != 0;

  SpanJob& job = p.job;
  const RasterImage& pixels = alphaOnly ? source.alpha : source.color;
  const FormatDescriptor& sourceFormat = alphaOnly ? target.color.format : source.color.format;
  job.Source = pixels.First;
  job.SourcePitch = pixels.Step;
  job.Alpha = source.alpha.First;
  job.AlphaPitch = source.alpha.Step;
  job.SourceWidth = source.width;
  job.SourceHeight = source.height;
  job.X1 = p.area.X1;
  job.Y1 = p.area.Y1;
  job.X2 = p.area.X2;
  job.Y2 = p.area.Y2;
  job.Target = target.color.First;
  job.TargetPitch = target.color.Step;
  job.Mask = target.mask.First;
  job.MaskPitch = target.mask.Step;
  job.TargetColorMask = 0;
  for (int c = 0; c < 3; ++c) {
    job.SourceShift[c] = sourceFormat.Shift[c];
    job.TargetShift[c] = target.color.format.Shift[c];
    job.TargetColorMask |= 0xFFu << job.TargetShift[c];
  }
  key.SameLayout = std::equal(job.SourceShift, job.SourceShift + 3, job.TargetShift);
  job.Key = PackColor(sourceFormat.Format, options.ColorKey);
  job.Tint = PackColor(sourceFormat.Format, options.Tint);
  UnpackTint(job.Tint, job.SourceShift, job);
  const float contrast[3] = {options.Contrast.Red, options.Contrast.Green, options.Contrast.Blue};
  const float offset[3] = {options.Offset.Red, options.Offset.Green, options.Offset.Blue};
  for (int c = 0; c < 3; ++c) {
    job.Contrast[c] = options.UseContrast == 1 ? Factor(contrast[c]) : 256;
    job.Offset[c] = options.UseOffset == 1 ? Factor(offset[c]) : 0;
  }
  job.Opacity = weight;
  p.spans = ChooseSpans(key);
  return true;
}

// ---- Placements ---------------------------------------------------------------

namespace {

// The bytes [Begin, End) that rows first..last (inclusive) of an image whose row
// 0 starts at base span, rowBytes from the start of each row.
struct ByteRange {
  uintptr_t Begin, End;
};
ByteRange RowsRange(const uint8_t* base, intptr_t pitch, int64_t first, int64_t last,
                    int64_t rowBytes) {
  const uintptr_t a = uintptr_t(base) + uintptr_t(pitch * first);
  const uintptr_t b = uintptr_t(base) + uintptr_t(pitch * last);
  return {std::min(a, b), std::max(a, b) + uintptr_t(rowBytes)};
}

bool Overlap(const ByteRange& a, const ByteRange& b) {
  return a.Begin < b.End && b.Begin < a.End;
}

// True when target rows y1..y2 - 1 (columns below x2) share no byte with what the
// job reads of the source and its alpha image: then the rows may be drawn in any
// order, on any thread.
bool RowsApart(const SpanJob& job, int64_t y1, int64_t y2, int64_t x2) {
  const ByteRange target = RowsRange(job.Target, job.TargetPitch, y1, y2 - 1, x2 * 4);
  if (Overlap(target, RowsRange(job.Source, job.SourcePitch, job.Y1, job.Y2 - 1, job.X2 * 4))) {
    return false;
  }
  return !job.Alpha ||
         !Overlap(target, RowsRange(job.Alpha, job.AlphaPitch, job.Y1, job.Y2 - 1, job.X2));
}

}  // namespace

// Unscaled: the source rectangle with its top-left at the truncated position. The
// rows of a large draw are shared through the installed row splitter when they
// do not overlap what the draw reads.
void PlaceCopy(Placement& p, C_Rect* dirty) {
  const PixelRect& b = p.bounds;
  const PixelRect& a = p.area;
  const int64_t dx = SaturateToInt(p.x);
  const int64_t dy = SaturateToInt(p.y);
  const int64_t x1 = std::max<int64_t>(dx, b.X1);
  const int64_t x2 = std::min<int64_t>(dx + (a.X2 - a.X1), b.X2);
  const int64_t y1 = std::max<int64_t>(dy, b.Y1);
  const int64_t y2 = std::min<int64_t>(dy + (a.Y2 - a.Y1), b.Y2);
  if (x1 >= x2 || y1 >= y2) return;
  const Placement& q = p;
  auto rows = [&q, x1, y1, x2, dx, dy](int32_t first, int32_t end) {
    const PixelRect& a = q.area;
    SpanRow row;
    row.X = static_cast<int32_t>(x1);
    row.Count = static_cast<int32_t>(x2 - x1);
    row.U = q.mirrorX ? a.X2 - 1 - (x1 - dx) : a.X1 + (x1 - dx);
    for (int64_t y = y1 + first; y < y1 + end; ++y) {
      row.Y = static_cast<int32_t>(y);
      row.V = q.mirrorY ? a.Y2 - 1 - (y - dy) : a.Y1 + (y - dy);
      q.spans.Copy(q.job, row);
    }
  };
  const int32_t count = static_cast<int32_t>(y2 - y1);
  if (RowsApart(p.job, y1, y2, x2)) {
    SplitRowsWith(count, x2 - x1, rows);
  } else {
    rows(0, count);
  }
  Enlarge(dirty, x1, y1, x2, y2);
}

namespace {

// The exclusive end of a scaled axis: floor(start + size * scale + 0.0003), taken
// in 16.16 as the rule has it.
int64_t ScaledEnd(float start, float size, float scale) {
  const float end = start + size * scale + 0.0003f;
  return SaturateToFixed(static_cast<double>(end) * 65536.0) >> 16;
}

int64_t Step(double perPixel) {
  return std::clamp<int64_t>(SaturateToFixed(perPixel * 65536.0), -kStepLimit, kStepLimit);
}

// 16.16 source coordinate of target column (row) `at` along one axis. Nearest
// sampling takes the pixel's centre, so that the truncated per-pixel step cannot
// shift a whole-number scale's pixel boundaries (a 3x scale keeps three pixels per
// source column). Bilinear sampling takes the pixel's corner, so that a source
// column's own colour starts its run. Mirrored draws count back from the far edge,
// one unit inside it when a corner could land exactly on it.
int64_t AxisStart(int32_t first, int32_t last, int64_t at, float position, float scale, bool mirror,
                  bool corner) {
  const double offset = (static_cast<double>(at) + (corner ? 0.0 : 0.5) - position) / scale;
  if (mirror) return SaturateToFixed((last - offset) * 65536.0) - (corner ? 1 : 0);
  return SaturateToFixed((first + offset) * 65536.0);
}

}  // namespace

void PlaceScaled(Placement& p, float sx, float sy, C_Rect* dirty) {
  const PixelRect& b = p.bounds;
  const PixelRect& a = p.area;
  const int64_t x1 = std::max<int64_t>(SaturateToInt(p.x), b.X1);
  const int64_t x2 = std::min<int64_t>(ScaledEnd(p.x, static_cast<float>(a.X2 - a.X1), sx), b.X2);
  const int64_t y1 = std::max<int64_t>(SaturateToInt(p.y), b.Y1);
  const int64_t y2 = std::min<int64_t>(ScaledEnd(p.y, static_cast<float>(a.Y2 - a.Y1), sy), b.Y2);
  if (x1 >= x2 || y1 >= y2) return;
  const bool corner = p.key.Family == SpanFamily::Effects && p.key.Smooth;
  p.job.StepU = Step(1.0 / sx) * (p.mirrorX ? -1 : 1);
  SpanRow row;
  row.X = static_cast<int32_t>(x1);
  row.Count = static_cast<int32_t>(x2 - x1);
  row.U = AxisStart(a.X1, a.X2, x1, p.x, sx, p.mirrorX, corner);
  for (int64_t y = y1; y < y2; ++y) {
    row.Y = static_cast<int32_t>(y);
    row.V = AxisStart(a.Y1, a.Y2, y, p.y, sy, p.mirrorY, corner);
    p.spans.Scale(p.job, row);
  }
  Enlarge(dirty, x1, y1, x2, y2);
}

namespace {

// Rotated: the scaled rectangle's corners turned about the position give each
// target row's extent (pixels whose centre lies inside) in the span table; each
// row's first pixel centre is mapped back into the source.
void DrawRotated(Placement& p, float sx, float sy, float angle, C_Rect* dirty) {
  const PixelRect& b = p.bounds;
  const PixelRect& a = p.area;
  const float w = static_cast<float>(a.X2 - a.X1) * sx;
  const float h = static_cast<float>(a.Y2 - a.Y1) * sy;
  C_Vector2D corners[4] = {C_Vector2D(0, 0), C_Vector2D(w, 0), C_Vector2D(w, h), C_Vector2D(0, h)};
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  double cx[4], cy[4];
  for (int k = 0; k < 4; ++k) {
    corners[k].RotateDegrees(angle);
    cx[k] = static_cast<double>(corners[k].X) + p.x;
    cy[k] = static_cast<double>(corners[k].Y) + p.y;
    minX = std::min(minX, cx[k]);
    maxX = std::max(maxX, cx[k]);
    minY = std::min(minY, cy[k]);
    maxY = std::max(maxY, cy[k]);
  }
  // A scale so large that a corner overflows f32 leaves nothing meaningful to draw.
  for (int k = 0; k < 4; ++k) {
    if (!std::isfinite(cx[k]) || !std::isfinite(cy[k])) return;
  }
  if (!(maxX > b.X1 && minX < b.X2 && maxY > b.Y1 && minY < b.Y2)) return;

  RasterLockGuard lock;
  SpanTable& table = GlobalSpanTable;
  table.Reserve(b.Y2);
  table.Clear(b.Y1, b.Y2);
  for (int k = 0; k < 4; ++k) {
    double xa = cx[k], ya = cy[k], xb = cx[(k + 1) % 4], yb = cy[(k + 1) % 4];
    if (!(ya != yb)) continue;
    if (ya > yb) {
      std::swap(xa, xb);
      std::swap(ya, yb);
    }
    // Rows whose centre line y + 0.5 lies in [ya, yb).
    const double first = std::max(std::ceil(ya - 0.5), static_cast<double>(b.Y1));
    const double last = std::min(std::ceil(yb - 0.5) - 1, static_cast<double>(b.Y2 - 1));
    if (first > last) continue;
    const double slope = (xb - xa) / (yb - ya);
    for (int32_t y = static_cast<int32_t>(first); y <= static_cast<int32_t>(last); ++y) {
      const double x = xa + (y + 0.5 - ya) * slope;
      // The first pixel whose centre is at or right of the crossing.
      const double column =
          std::clamp(std::ceil(x - 0.5), static_cast<double>(b.X1), static_cast<double>(b.X2));
      const int32_t c = static_cast<int32_t>(column);
      const size_t i = static_cast<size_t>(y);
      table.Left[i] = std::min(table.Left[i], c);
      table.Right[i] = std::max(table.Right[i], c - 1);
      table.FirstRow = std::min(table.FirstRow, y);
      table.LastRow = std::max(table.LastRow, y);
    }
  }

  const float radians = angle / 180.0f * 3.14159265f;
  const double s = std::sin(radians);
  const double c = std::cos(radians);
  p.job.StepU = Step(static_cast<float>(c) / sx) * (p.mirrorX ? -1 : 1);
  p.job.StepV = Step(static_cast<float>(s) / sy) * (p.mirrorY ? -1 : 1);
  // Bilinear samples sit between texel centres, so the sampled point moves back
  // half a texel.
  const double half = p.key.Family == SpanFamily::Effects && p.key.Smooth ? 0.5 : 0.0;
  int64_t x1 = INT64_MAX, x2 = INT64_MIN, y1 = INT64_MAX, y2 = INT64_MIN;
  for (int32_t y = table.FirstRow; y <= table.LastRow; ++y) {
    const int32_t left = table.Left[static_cast<size_t>(y)];
    const int32_t right = table.Right[static_cast<size_t>(y)];
    if (left > right) continue;
    const double dx = left + 0.5 - static_cast<double>(p.x);
    const double dy = y + 0.5 - static_cast<double>(p.y);
    const double u = (dx * c + dy * s) / sx;
    const double v = (dy * c - dx * s) / sy;
    SpanRow row;
    row.X = left;
    row.Y = y;
    row.Count = right - left + 1;
    row.U = SaturateToFixed(((p.mirrorX ? a.X2 - u : a.X1 + u) - half) * 65536.0);
    row.V = SaturateToFixed(((p.mirrorY ? a.Y2 - v : a.Y1 + v) - half) * 65536.0);
    p.spans.Rotate(p.job, row);
    x1 = std::min<int64_t>(x1, left);
    x2 = std::max<int64_t>(x2, right + 1);
    y1 = std::min<int64_t>(y1, y);
    y2 = std::max<int64_t>(y2, y + 1);
  }
  Enlarge(dirty, x1, y1, x2, y2);
}

}  // namespace

int64_t SaturateToFixed(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(kFixedLimit)) return kFixedLimit;
  if (value <= -static_cast<double>(kFixedLimit)) return -kFixedLimit;
  return static_cast<int64_t>(value);
}

// ---- Decoding -----------------------------------------------------------------

// A prepared surface carries display copies (32-bit colour, 8-bit alpha) made by
// the drawing interface; drawing from them lets images of any format be shown,
// such as a 16-bit height map. Without a copy the image itself is drawn.
C_Image* DrawableImage(const C_Surface* surface, int32_t key) {
  const C_Channel* channel = surface->FindChannel(key);
  if (channel == nullptr) return nullptr;
  if (channel->Converted != nullptr && channel->Converted->Pixels != nullptr)
    return channel->Converted;
  return channel->Image;
}

bool OpenDrawSource(C_Surface* surface, DrawSource& source, bool coverageOnly) {
  source = DrawSource{};
  if (surface == nullptr) return false;
  C_Image* color = DrawableImage(surface, kColorChannel);
  C_Image* alpha = DrawableImage(surface, kAlphaChannel);
  const bool hasAlpha = Present(alpha);
  // Drawing coverage only, the colour image is not read, whatever its format.
  const bool hasColor = Present(color) && !(coverageOnly && hasAlpha);
  if (!hasColor && !hasAlpha) return false;
  if (hasColor) {
    if (!DecodeRasterImage(color, source.color) || !IsByteColor32(source.color.format) ||
        !PixelsAligned(*color, 4)) {
      source.color = RasterImage{};
      return Fail(ErrorNoFormat);
    }
    source.width = color->Width;
    source.height = color->Height;
  }
  if (hasAlpha) {
    if (!DecodeRasterImage(alpha, source.alpha) || source.alpha.format.BitsPerPixel != 8 ||
        !PixelsAligned(*alpha, 1) ||
        (hasColor && (alpha->Width < color->Width || alpha->Height < color->Height))) {
      source.alpha = RasterImage{};
      return Fail(ErrorNoFormat);
    }
    if (!hasColor) {
      source.width = alpha->Width;
      source.height = alpha->Height;
    }
  }
  return true;
}

bool OpenDrawTarget(C_Surface* surface, RasterTarget& target) {
  if (!OpenRasterTarget(surface, target)) return false;
  if (!IsByteColor32(target.color.format) || !PixelsAligned(*target.color.image, 4)) {
    target = RasterTarget{};
    return Fail(ErrorNoFormat);
  }
  if (target.mask.image != nullptr && !PixelsAligned(*target.mask.image, 1))
    target.mask = RasterImage{};
  return true;
}

bool ResolveSourceArea(const C_Surface& surface, int32_t width, int32_t height, const C_Rect* rect,
                       PixelRect& area) {
  area = PixelRect{0, 0, width, height};
  if (rect != nullptr) {
    C_Rect resolved = *rect;
    const C_Rect image(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height), 0, 0);
    ResolveGridRect(resolved, image, static_cast<float>(surface.Columns),
                    static_cast<float>(surface.Rows), nullptr, nullptr);
    area = {SaturateToInt(resolved.X1), SaturateToInt(resolved.Y1), SaturateToInt(resolved.X2),
            SaturateToInt(resolved.Y2)};
  }
  area.X1 = std::max(area.X1, 0);
  area.Y1 = std::max(area.Y1, 0);
  area.X2 = std::min(area.X2, width);
  area.Y2 = std::min(area.Y2, height);
  return area.X1 < area.X2 && area.Y1 < area.Y2;
}

const C_Color* SourceColorKey(const C_Surface& surface) {
  if (surface.Extra == nullptr || surface.Extra->GetClassId() != class_id::Color) return nullptr;
  return static_cast<const C_Color*>(surface.Extra);
}

void TakeColorKey(const C_Surface& surface, DrawOptions& options) {
  const C_Color* key = SourceColorKey(surface);
  if (key == nullptr) return;
  options.ColorKey = C_Color(key->Red, key->Green, key->Blue, key->Alpha);
  options.UseColorKey = 1;
}

bool DrawOnce(C_Surface* source, C_Surface* target, const C_Rect* sourceRect,
              const C_Rect* viewport, const C_Rect* clip, const C_Vector2D& position,
              DrawOptions& options, C_Rect* dirtyRect) {
  DrawSource from;
  RasterTarget to;
  if (!OpenDrawSource(source, from) || !OpenDrawTarget(target, to)) return false;
  TakeColorKey(*source, options);

  Placement p;
  if (!ResolveSourceArea(*source, from.width, from.height, sourceRect, p.area)) return true;
  p.bounds = ComputeBounds(to.color.Width, to.color.Height, viewport, clip);
  if (p.bounds.Empty()) return true;
  C_Vector2D at = position;
  const C_Rect whole(0.0f, 0.0f, static_cast<float>(to.color.Width),
                     static_cast<float>(to.color.Height), 0, 0);
  ResolvePoint(at, viewport != nullptr ? *viewport : whole);
  p.x = at.X;
  p.y = at.Y;
  p.mirrorX = options.MirrorX == 1;
  p.mirrorY = options.MirrorY == 1;

  const float sx = options.Scale.X;
  const float sy = options.Scale.Y;
  const float angle = options.Angle;
  // Nothing sensible can be drawn at a NaN or infinite place, or at a scale that
  // is not positive; such draws are empty rather than failures.
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(angle) || !std::isfinite(sx) ||
      !std::isfinite(sy) || !(sx > 0) || !(sy > 0)) {
    return true;
  }
  if (!PreparePlacement(from, to, options, p)) return true;
  if (angle != 0) {
    DrawRotated(p, sx, sy, angle, dirtyRect);
  } else if (sx != 1 || sy != 1) {
    PlaceScaled(p, sx, sy, dirtyRect);
  } else {
    PlaceCopy(p, dirtyRect);
  }
  return true;
}
