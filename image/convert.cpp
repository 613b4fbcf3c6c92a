// ConvertPixels: copies rows of equal layout, otherwise converts every pixel
// through four channel values. The row kernel is chosen once per call: a fast
// kernel from a table keyed by (source format, target format), or the generic
// kernel that follows the descriptors. Both read the same per-call set-up.
#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/cpu_features.h"
#include "core/error.h"
#include "core/row_split.h"
#include "image/image_ops.h"
#include "image/pixel_math.h"
#include "image/pixel_rows.h"

namespace {

enum SourceKind : uint8_t {
  SourceInteger,  // channels read through shift and bits; a grey source has one
  SourcePalette,  // 8-bit index looked up in a 3-byte-per-entry palette
  SourceFloat,    // 32-bit float components
};

// Everything a row kernel needs, worked out once per call.
struct ConvertJob {
  FormatDescriptor Source;
  FormatDescriptor Target;
  int32_t Width;            // pixels per row
  uint8_t Kind;             // a SourceKind
  uint8_t Grey;             // 1: one source value for red, green and blue
  uint8_t SourceBytes;      // bytes per source pixel
  uint8_t TargetBytes;      // bytes per target pixel
  uint8_t PaletteRgb[768];  // the source palette, zero past its end (blue, green, red)
  uint32_t Lookup[256];     // index -> target pixel, for the 8-bit index kernel
  bool Avx2;                // the processor has AVX2 (checked once)
  size_t CopyBytes;         // bytes per row when rows are copied whole
};

using RowKernel = void (*)(const ConvertJob& job, const uint8_t* source, uint8_t* target);

uint64_t LoadLE(const uint8_t* p, uint32_t bytes) {
  uint64_t v = 0;
  for (uint32_t i = 0; i < bytes; ++i) v |= uint64_t{p[i]} << (8 * i);
  return v;
}

void StoreLE(uint8_t* p, uint64_t v, uint32_t bytes) {
  for (uint32_t i = 0; i < bytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

uint32_t Ones(uint32_t bits) {
  return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

// --- Generic kernel --------------------------------------------------------------

void ConvertGeneric(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  const FormatDescriptor& s = job.Source;
  const FormatDescriptor& t = job.Target;
  const bool targetFloat = t.ComponentType == ComponentFloat;
  for (int32_t x = 0; x < job.Width; ++x) {
    const uint8_t* sp = source + size_t(x) * job.SourceBytes;
    uint8_t* tp = target + size_t(x) * job.TargetBytes;
    uint32_t value[4] = {};  // integer sources: channel values
    uint32_t bits[4] = {};   // and their widths (0: absent)
    float real[4] = {};      // float sources: components
    if (job.Kind == SourceFloat) {
      for (int c = 0; c < 4; ++c) {
        if (s.Bits[c]) std::memcpy(&real[c], sp + s.Shift[c] / 8, 4);
      }
      if (job.Grey) real[1] = real[2] = real[0];
    } else if (job.Kind == SourcePalette) {
      const uint8_t* entry = job.PaletteRgb + 3 * size_t(sp[0]);
      value[0] = entry[2];
      value[1] = entry[1];
      value[2] = entry[0];
      bits[0] = bits[1] = bits[2] = 8;
    } else {
      const uint64_t raw = LoadLE(sp, job.SourceBytes);
      for (int c = 0; c < 4; ++c) {
        if (!s.Bits[c]) continue;
        value[c] = uint32_t(raw >> s.Shift[c]) & Ones(s.Bits[c]);
        bits[c] = s.Bits[c];
      }
    }

    if (targetFloat) {
      for (int c = 0; c < 4; ++c) {
        if (!t.Bits[c]) continue;
        float out = job.Grey && c == 3 ? 0.0f : real[c];
        if (job.Kind != SourceFloat && !(job.Grey && c == 3)) {
          const int from = job.Grey ? 0 : c;
          const uint32_t wide = bits[from] ? ScaleChannel(value[from], bits[from], 32) : 0;
          out = float(wide) * 0x1p-32f;
        }
        std::memcpy(tp + t.Shift[c] / 8, &out, 4);
      }
      continue;
    }
    uint64_t pixel = 0;
    for (int c = 0; c < 4; ++c) {
      if (!t.Bits[c]) continue;
      // A grey source is scaled to the target's first channel and that value goes
      // to red, green and blue, cut to the channel's width; it has no alpha.
      if (job.Grey && c == 3) continue;
      const int from = job.Grey ? 0 : c;
      const uint32_t width = job.Grey ? t.Bits[0] : t.Bits[c];
      uint32_t v = 0;
      if (job.Kind == SourceFloat) {
        v = FloatToChannel(real[from], width);
      } else if (bits[from]) {
        v = ScaleChannel(value[from], bits[from], width);
      }
      pixel |= uint64_t(v & Ones(t.Bits[c])) << t.Shift[c];
    }
    StoreLE(tp, pixel, job.TargetBytes);
  }
}

// --- Fast kernels ----------------------------------------------------------------
// Each gives exactly the bytes of the generic kernel for its pair of formats. The
// loops are plain so that the compiler vectorises them (DF_VECTOR_CLONES adds an
// AVX2 copy where the compiler can make one).

// 16-bit grey -> A8R8G8B8: the top byte to red, green and blue; no alpha.
DF_VECTOR_CLONES void Grey16ToArgb(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  const int32_t width = job.Width;
  for (int32_t x = 0; x < width; ++x) {
    uint16_t v;
    std::memcpy(&v, source + 2 * size_t(x), 2);
    const uint32_t g = v >> 8;
    const uint32_t out = g | g << 8 | g << 16;
    std::memcpy(target + 4 * size_t(x), &out, 4);
  }
}

// 8-bit grey -> A8R8G8B8: the byte to red, green and blue; no alpha (the font
// pages' display copies, made at start-up: six million pixels).
DF_VECTOR_CLONES void Grey8ToArgb(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  const int32_t width = job.Width;
  for (int32_t x = 0; x < width; ++x) {
    const uint32_t g = source[x];
    const uint32_t out = g | g << 8 | g << 16;
    std::memcpy(target + 4 * size_t(x), &out, 4);
  }
}

// R8G8B8A8 -> A8R8G8B8: the same four bytes rotated by one.
DF_VECTOR_CLONES void RgbaToArgb(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  const int32_t width = job.Width;
  for (int32_t x = 0; x < width; ++x) {
    uint32_t v;
    std::memcpy(&v, source + 4 * size_t(x), 4);
    const uint32_t out = (v >> 8) | (v << 24);
    std::memcpy(target + 4 * size_t(x), &out, 4);
  }
}

// R8G8B8 -> A8R8G8B8: the three bytes widened with alpha 0, four pixels (three
// 32-bit words) at a time.
void RgbToArgbScalar(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  const int32_t width = job.Width;
  int32_t x = 0;
  for (; x + 4 <= width; x += 4) {
    uint32_t w[3];
    std::memcpy(w, source + 3 * size_t(x), 12);
    const uint32_t out[4] = {w[0] & 0xFFFFFF, (w[0] >> 24 | w[1] << 8) & 0xFFFFFF,
                             (w[1] >> 16 | w[2] << 16) & 0xFFFFFF, w[2] >> 8};
    std::memcpy(target + 4 * size_t(x), out, 16);
  }
  for (; x < width; ++x) {
    const uint8_t* p = source + 3 * size_t(x);
    const uint32_t out = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    std::memcpy(target + 4 * size_t(x), &out, 4);
  }
}

// 8-bit index -> 32-bit pixel through the per-call lookup table, eight indices
// read at once and two pixels stored at once.
[[maybe_unused]] void IndexToPixel32Scalar(const ConvertJob& job, const uint8_t* source,
                                           uint8_t* target) {
  const int32_t width = job.Width;
  const uint32_t* lookup = job.Lookup;
  int32_t x = 0;
  for (; x + 8 <= width; x += 8) {
    uint64_t indices;
    std::memcpy(&indices, source + x, 8);
    uint64_t pairs[4];
    for (int i = 0; i < 4; ++i) {
      const uint32_t a = lookup[(indices >> (16 * i)) & 0xFF];
      const uint32_t b = lookup[(indices >> (16 * i + 8)) & 0xFF];
      pairs[i] = uint64_t{a} | uint64_t{b} << 32;
    }
    std::memcpy(target + 4 * size_t(x), pairs, 32);
  }
  for (; x < width; ++x) std::memcpy(target + 4 * size_t(x), &lookup[source[x]], 4);
}

#if defined(__x86_64__)
// The same two kernels with AVX2 byte shuffles and gathers, used when the
// processor has them.
__attribute__((target("avx2"))) void RgbToArgbAvx2(const ConvertJob& job, const uint8_t* source,
                                                   uint8_t* target) {
  const int32_t width = job.Width;
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                          1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  int32_t x = 0;
  // Each half loads 16 bytes for 12 used: stop while the last load stays in the row.
  for (; x + 10 <= width; x += 8) {
    const uint8_t* p = source + 3 * size_t(x);
    const __m256i in = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)), 1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + 4 * size_t(x)),
                        _mm256_shuffle_epi8(in, spread));
  }
  ConvertJob rest = job;
  rest.Width = width - x;
  RgbToArgbScalar(rest, source + 3 * size_t(x), target + 4 * size_t(x));
}

// Gathers are slower than single loads on common processors; the win is in
// fewer, wider stores: four looked-up pixels per 16-byte store.
void IndexToPixel32Sse2(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  const int32_t width = job.Width;
  const uint32_t* lookup = job.Lookup;
  int32_t x = 0;
  for (; x + 8 <= width; x += 8) {
    uint64_t i;
    std::memcpy(&i, source + x, 8);
    const __m128i low =
        _mm_setr_epi32(int(lookup[i & 0xFF]), int(lookup[(i >> 8) & 0xFF]),
                       int(lookup[(i >> 16) & 0xFF]), int(lookup[(i >> 24) & 0xFF]));
    const __m128i high =
        _mm_setr_epi32(int(lookup[(i >> 32) & 0xFF]), int(lookup[(i >> 40) & 0xFF]),
                       int(lookup[(i >> 48) & 0xFF]), int(lookup[i >> 56]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * size_t(x)), low);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * size_t(x) + 16), high);
  }
  for (; x < width; ++x) std::memcpy(target + 4 * size_t(x), &lookup[source[x]], 4);
}
#endif

void RgbToArgb(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
#if defined(__x86_64__)
  if (job.Avx2) return RgbToArgbAvx2(job, source, target);
#endif
  RgbToArgbScalar(job, source, target);
}

void IndexToPixel32(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
#if defined(__x86_64__)
  IndexToPixel32Sse2(job, source, target);
#else
  IndexToPixel32Scalar(job, source, target);
#endif
}

// Same layout, every bit a channel bit: the row bytes as they are.
void CopyRow(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  std::memcpy(target, source, size_t(job.Width) * job.SourceBytes);
}

struct KernelEntry {
  int32_t Source;
  int32_t Target;
  RowKernel Kernel;
};

constexpr KernelEntry kFastKernels[] = {
    {pixel_format::Grey16, pixel_format::A8R8G8B8, Grey16ToArgb},
    {pixel_format::Grey8, pixel_format::A8R8G8B8, Grey8ToArgb},
    {pixel_format::R8G8B8A8, pixel_format::A8R8G8B8, RgbaToArgb},
    {pixel_format::R8G8B8, pixel_format::A8R8G8B8, RgbToArgb},
    {pixel_format::Index8, pixel_format::A8R8G8B8, IndexToPixel32},
    {pixel_format::Grey8, pixel_format::Grey8, CopyRow},
    {pixel_format::Grey16, pixel_format::Grey16, CopyRow},
    {pixel_format::R8G8B8, pixel_format::R8G8B8, CopyRow},
    {pixel_format::R8G8B8A8, pixel_format::R8G8B8A8, CopyRow},
    {pixel_format::A8R8G8B8, pixel_format::A8R8G8B8, CopyRow},
};

// A row of any layout copied whole (formats and pitches equal).
void CopyRowBytes(const ConvertJob& job, const uint8_t* source, uint8_t* target) {
  std::memcpy(target, source, job.CopyBytes);
}

// Runs the kernel over every row; rows of large images are shared among threads
// when the pixel blocks are apart (each row then reads and writes its own bytes).
void ConvertRows(const ConvertJob& job, RowKernel kernel, const C_Image& source, C_Image& target) {
  auto rows = [&](int32_t first, int32_t end) {
    for (int32_t y = first; y < end; ++y) kernel(job, source.RowAddress(y), target.RowAddress(y));
  };
  if (PixelsApart(source, target)) {
    SplitRowsWith(source.Height, source.Width, rows);
  } else {
    rows(0, source.Height);
  }
}

RowKernel FindFastKernel(int32_t source, int32_t target) {
  for (const KernelEntry& entry : kFastKernels) {
    if (entry.Source == source && entry.Target == target) return entry.Kernel;
  }
  return nullptr;
}

// Whether the generic kernel has a rule for this pair. Open combinations are
// refused: sub-byte layouts (their bit order within a byte is not defined for
// conversion) and the 64-bit float grey format.
bool Convertible(const FormatDescriptor& s, const FormatDescriptor& t) {
  if (s.BitsPerPixel < 8 || t.BitsPerPixel < 8) return false;
  if (s.ComponentType == ComponentDouble || t.ComponentType == ComponentDouble) return false;
  return true;
}

}  // namespace

namespace {

// Checks the pair of images and sets up job and kernel for it: false, with the
// failure recorded, when they cannot be converted; true with a null kernel when
// there is nothing to do.
bool SetUpConversion(C_Image* target, const C_Image* source, ConvertJob& job, RowKernel& kernel) {
  kernel = nullptr;
  if (!target || !source) return Fail(ErrorMissingArgument);
  if (!DescribeFormat(source->Format, job.Source) || job.Source.BitsPerPixel == 0 ||
      !DescribeFormat(target->Format, job.Target) || job.Target.BitsPerPixel == 0) {
    return Fail(ErrorNoFormat);
  }
  if (target->Width != source->Width || target->Height != source->Height) {
    return Fail(ErrorUnexpectedData);
  }
  if (!PixelsCover(*source, job.Source) || !PixelsCover(*target, job.Target)) {
    return Fail(ErrorMissingArgument);
  }
  if (target == source || source->Width == 0 || source->Height == 0) return true;

  // Equal layout and pitch: the rows are copied as they are.
  if (source->Format == target->Format && source->Pitch == target->Pitch) {
    job.Width = source->Width;
    job.CopyBytes = RowBytesFor(source->Width, job.Source);
    kernel = CopyRowBytes;
    return true;
  }
  if (!Convertible(job.Source, job.Target)) return Fail();

  job.Width = source->Width;
  job.Avx2 = HasAvx2();
  job.SourceBytes = job.Source.BytesPerPixel;
  job.TargetBytes = job.Target.BytesPerPixel;
  job.Kind = job.Source.ComponentType == ComponentFloat ? SourceFloat : SourceInteger;
  if (job.Source.Indexed && job.Source.BitsPerPixel == 8 && source->Palette) {
    job.Kind = SourcePalette;
    const size_t have = std::min<size_t>(size_t(std::max(source->PaletteBytes, 0)), 768);
    std::memcpy(job.PaletteRgb, source->Palette, have);
    std::memset(job.PaletteRgb + have, 0, 768 - have);
  }
  job.Grey = job.Kind != SourcePalette && job.Source.ChannelCount == 1;

  kernel = GenericPixelPathForced() ? nullptr : FindFastKernel(source->Format, target->Format);
  if (kernel == IndexToPixel32) {
    // The lookup table holds what the generic kernel makes of each index.
    uint8_t index[256];
    for (int i = 0; i < 256; ++i) index[i] = uint8_t(i);
    job.Width = 256;
    ConvertGeneric(job, index, reinterpret_cast<uint8_t*>(job.Lookup));
    job.Width = source->Width;
  }
  if (!kernel) kernel = ConvertGeneric;
  return true;
}

// The job is large (palette and lookup tables) and conversions run every frame,
// so it lives outside the stack, one per thread, and is only partly reset per call.
thread_local ConvertJob threadJob;

}  // namespace

bool ConvertPixels(C_Image* target, const C_Image* source) {
  RowKernel kernel;
  if (!SetUpConversion(target, source, threadJob, kernel)) return false;
  if (kernel) ConvertRows(threadJob, kernel, *source, *target);
  return true;
}

bool ConvertPixelRows(C_Image* target, const C_Image* source, int32_t first, int32_t end) {
  RowKernel kernel;
  if (!SetUpConversion(target, source, threadJob, kernel)) return false;
  if (!kernel) return true;
  first = std::max(first, 0);
  end = std::min(end, source->Height);
  for (int32_t y = first; y < end; ++y) {
    kernel(threadJob, source->RowAddress(y), target->RowAddress(y));
  }
  return true;
}
