// Span kernels: the per-row pixel loops of image drawing, and the table that picks
// them once per draw from the options so that the loops carry no option tests.
//
// A draw fills one SpanJob (all per-call setup: row addresses, clamp rectangle,
// packed key and tint, weights, fixed-point steps) and hands it with one SpanRow
// per target row segment to the chosen kernel.
#pragma once

#include <cstdint>

// Every source and target pixel the kernels touch is 32 bits.
struct SpanJob {
  const uint8_t* Source = nullptr;  // row 0 of the source colour image
  intptr_t SourcePitch = 0;         // bytes per source row; negative when bottom-up
  const uint8_t* Alpha = nullptr;   // row 0 of the source's 8-bit alpha image, or null
  intptr_t AlphaPitch = 0;          // bytes per alpha row
  int32_t SourceWidth = 0;          // of the source image: bilinear neighbours wrap by it
  int32_t SourceHeight = 0;
  int32_t X1 = 0, Y1 = 0;     // source rectangle, inside the image and not empty:
  int32_t X2 = 0, Y2 = 0;     // sampled columns are clamped to [X1, X2 - 1], rows alike
  uint8_t* Target = nullptr;  // row 0 of the target colour image
  intptr_t TargetPitch = 0;
  uint8_t* Mask = nullptr;  // row 0 of the target's 8-bit mask image, or null
  intptr_t MaskPitch = 0;
  uint32_t Key = 0;                       // colour key packed in the source format
  uint32_t Tint = 0;                      // tint packed in the source format (solid kinds)
  uint32_t TintOnTarget = 0;              // tint's channels at the target's shifts (blended kinds)
  int32_t TintChannel[3] = {};            // tint's red, green, blue, 0..255
  int32_t Contrast[3] = {256, 256, 256};  // x 256 around 128; 256 leaves a channel as it is
  int32_t Offset[3] = {};                 // added after contrast, x 256 of the colour unit
  int32_t Opacity = 256;                  // weight 1..256 of the whole draw
  uint32_t SourceShift[3] = {16, 8, 0};   // bit positions of red, green, blue (8 bits each)
  uint32_t TargetShift[3] = {16, 8, 0};
  uint32_t TargetColorMask = 0xFFFFFF;  // the three channels' bits in a target pixel
  int64_t StepU = 0;                    // 16.16 source columns per target pixel
  int64_t StepV = 0;                    // rotation: 16.16 source rows subtracted per pixel
};

// One target row segment. Copy kinds read source column U (then U + 1, ... or, when
// mirrored, U - 1, ...) of source row V. Scale kinds take 16.16 U advancing by StepU
// and 16.16 V constant; rotate kinds add StepU to U and subtract StepV from V per pixel.
struct SpanRow {
  int32_t X = 0;      // first target column
  int32_t Y = 0;      // target row
  int32_t Count = 0;  // pixels, > 0
  int64_t U = 0;      // source column (copy) or 16.16 column
  int64_t V = 0;      // source row (copy) or 16.16 row
};

using SpanFunction = void (*)(const SpanJob& job, const SpanRow& row);

// What the draw's options ask of the pixels, settled once per draw.
enum class SpanFamily : uint8_t {
  Plain,       // move source pixels
  Keyed,       // move source pixels that differ from the key
  Solid,       // write the tint
  KeyedSolid,  // write the tint where the source differs from the key
  Blended,     // weights from opacity, source alpha, mask rule
  Effects,     // blended, with tint or contrast/offset/clamp and bilinear sampling
};

struct SpanKey {
  SpanFamily Family = SpanFamily::Plain;
  bool MirrorX = false;      // copy kinds read the source row backwards
  bool SourceAlpha = false;  // blended and effects: the job has an alpha image
  bool TargetMask = false;   // blended and effects: the job has a mask image
  bool Tint = false;         // blended and effects: colour from the tint
  bool Smooth = false;       // effects scale and rotate: bilinear
  bool SameLayout = true;    // blended: source and target put red, green, blue alike
};

// The three functions of one draw: unscaled, scaled, rotated.
struct SpanSet {
  SpanFunction Copy = nullptr;
  SpanFunction Scale = nullptr;
  SpanFunction Rotate = nullptr;
};

// The chosen kernels; never null.
SpanSet ChooseSpans(const SpanKey& key);

enum class SpanGeometry : uint8_t { Copy, Scale, Rotate };

// Draws one span pixel by pixel straight from the rules, testing the options at
// every pixel: the yardstick the kernels must match bit for bit.
void ReferenceSpan(const SpanJob& job, const SpanKey& key, SpanGeometry geometry,
                   const SpanRow& row);
