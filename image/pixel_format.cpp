#include "image/pixel_format.h"

#include "core/error.h"
#include "graphics/geometry/color.h"
#include "image/pixel_math.h"

namespace {

// One row of the format table: bits per pixel, component type, palette index flag,
// channel count, then shift:bits for red, green, blue, alpha (bits 0 = absent).
struct FormatRow {
  uint8_t BitsPerPixel;
  uint8_t Component;
  uint8_t Indexed;
  uint8_t Channels;
  uint8_t Shift[4];
  uint8_t Bits[4];
};

constexpr uint8_t kB = ComponentBit, kI = ComponentInteger, kF = ComponentFloat,
                  kD = ComponentDouble;

constexpr FormatRow kTable[pixel_format::Last + 1] = {
    {0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},            // 0: no format
    {1, kB, 1, 1, {0, 0, 0, 0}, {1, 0, 0, 0}},           // 1
    {2, kI, 1, 1, {0, 0, 0, 0}, {2, 0, 0, 0}},           // 2
    {4, kI, 1, 1, {0, 0, 0, 0}, {4, 0, 0, 0}},           // 3
    {8, kI, 1, 1, {0, 0, 0, 0}, {8, 0, 0, 0}},           // 4
    {1, kB, 0, 1, {0, 0, 0, 0}, {1, 0, 0, 0}},           // 5
    {8, kI, 0, 1, {0, 0, 0, 0}, {8, 0, 0, 0}},           // 6
    {16, kI, 0, 1, {0, 0, 0, 0}, {16, 0, 0, 0}},         // 7
    {24, kI, 0, 1, {0, 0, 0, 0}, {24, 0, 0, 0}},         // 8
    {32, kI, 0, 1, {0, 0, 0, 0}, {32, 0, 0, 0}},         // 9
    {32, kF, 0, 1, {0, 0, 0, 0}, {32, 0, 0, 0}},         // 10
    {64, kD, 0, 1, {0, 0, 0, 0}, {64, 0, 0, 0}},         // 11
    {8, kI, 0, 3, {5, 2, 0, 0}, {3, 3, 2, 0}},           // 12
    {16, kI, 0, 3, {10, 5, 0, 0}, {5, 5, 5, 0}},         // 13
    {16, kI, 0, 3, {11, 5, 0, 0}, {5, 6, 5, 0}},         // 14
    {16, kI, 0, 3, {10, 5, 0, 0}, {6, 5, 5, 0}},         // 15
    {16, kI, 0, 3, {11, 6, 0, 0}, {5, 5, 6, 0}},         // 16
    {16, kI, 0, 4, {11, 6, 1, 0}, {5, 5, 5, 1}},         // 17
    {16, kI, 0, 4, {12, 8, 4, 0}, {4, 4, 4, 4}},         // 18
    {16, kI, 0, 4, {10, 5, 0, 15}, {5, 5, 5, 1}},        // 19
    {16, kI, 0, 4, {8, 4, 0, 12}, {4, 4, 4, 4}},         // 20
    {24, kI, 0, 3, {16, 8, 0, 0}, {8, 8, 8, 0}},         // 21
    {48, kI, 0, 3, {32, 16, 0, 0}, {16, 16, 16, 0}},     // 22
    {32, kI, 0, 4, {24, 16, 8, 0}, {8, 8, 8, 8}},        // 23
    {32, kI, 0, 4, {16, 8, 0, 24}, {8, 8, 8, 8}},        // 24
    {64, kI, 0, 4, {48, 32, 16, 0}, {16, 16, 16, 16}},   // 25
    {64, kI, 0, 4, {32, 16, 0, 48}, {16, 16, 16, 16}},   // 26
    {8, kI, 0, 3, {0, 2, 5, 0}, {2, 3, 3, 0}},           // 27
    {16, kI, 0, 3, {0, 5, 10, 0}, {5, 5, 5, 0}},         // 28
    {16, kI, 0, 3, {0, 5, 11, 0}, {5, 6, 5, 0}},         // 29
    {16, kI, 0, 3, {0, 5, 10, 0}, {5, 5, 6, 0}},         // 30
    {16, kI, 0, 3, {0, 6, 11, 0}, {6, 5, 5, 0}},         // 31
    {16, kI, 0, 4, {1, 6, 11, 0}, {5, 5, 5, 1}},         // 32
    {16, kI, 0, 4, {4, 8, 12, 0}, {4, 4, 4, 4}},         // 33
    {16, kI, 0, 4, {0, 5, 10, 15}, {5, 5, 5, 1}},        // 34
    {16, kI, 0, 4, {0, 4, 8, 12}, {4, 4, 4, 4}},         // 35
    {24, kI, 0, 3, {0, 8, 16, 0}, {8, 8, 8, 0}},         // 36
    {48, kI, 0, 3, {0, 16, 32, 0}, {16, 16, 16, 0}},     // 37
    {32, kI, 0, 4, {8, 16, 24, 0}, {8, 8, 8, 8}},        // 38
    {32, kI, 0, 4, {0, 8, 16, 24}, {8, 8, 8, 8}},        // 39
    {64, kI, 0, 4, {16, 32, 48, 0}, {16, 16, 16, 16}},   // 40
    {64, kI, 0, 4, {0, 16, 32, 48}, {16, 16, 16, 16}},   // 41
    {96, kF, 0, 3, {64, 32, 0, 0}, {32, 32, 32, 0}},     // 42
    {128, kF, 0, 4, {96, 64, 32, 0}, {32, 32, 32, 32}},  // 43
    {128, kF, 0, 4, {64, 32, 0, 96}, {32, 32, 32, 32}},  // 44
    {96, kF, 0, 3, {0, 32, 64, 0}, {32, 32, 32, 0}},     // 45
    {128, kF, 0, 4, {32, 64, 96, 0}, {32, 32, 32, 32}},  // 46
    {128, kF, 0, 4, {0, 32, 64, 96}, {32, 32, 32, 32}},  // 47
};

}  // namespace

bool DescribeFormat(int32_t code, FormatDescriptor& descriptor) {
  descriptor = FormatDescriptor{};
  descriptor.Format = code;
  if (code == pixel_format::None || code == pixel_format::Placeholder) return true;
  if (code < pixel_format::First || code > pixel_format::Last) return false;
  const FormatRow& row = kTable[code];
  descriptor.BitsPerPixel = row.BitsPerPixel;
  descriptor.BytesPerPixel = row.BitsPerPixel < 8 ? 1 : row.BitsPerPixel / 8;
  descriptor.Indexed = row.Indexed;
  descriptor.ComponentType = row.Component;
  descriptor.ChannelCount = row.Channels;
  // Masks exist only for integer and bit formats that fit in 32 bits.
  const bool masked = row.Component <= ComponentInteger && row.BitsPerPixel <= 32;
  for (int c = 0; c < 4; ++c) {
    descriptor.Bits[c] = row.Bits[c];
    if (row.Bits[c] == 0) continue;
    descriptor.Shift[c] = row.Shift[c];
    if (masked) {
      const uint64_t ones = (uint64_t{1} << row.Bits[c]) - 1;
      descriptor.Mask[c] = static_cast<uint32_t>(ones << row.Shift[c]);
    }
  }
  // The index and single-bit formats read their value through a byte-wide mask.
  if (code == pixel_format::Index1 || code == pixel_format::Index2 ||
      code == pixel_format::Index4 || code == pixel_format::Grey1) {
    descriptor.Mask[0] = 0xFF;
  }
  return true;
}

uint32_t PackColor(int32_t format, const C_Color& color) {
  FormatDescriptor d;
  if (!DescribeFormat(format, d) || d.BitsPerPixel == 0) {
    Fail(ErrorNoFormat);
    return 0;
  }
  const float components[4] = {color.Red, color.Green, color.Blue, color.Alpha};
  uint32_t value = 0;
  for (int c = 0; c < 4; ++c) {
    if (d.Bits[c] == 0 || d.Bits[c] > 32) continue;
    const uint32_t wide = TruncToU32(static_cast<double>(components[c]) * 4294967295.0);
    const uint32_t narrow = d.Bits[c] == 32 ? wide : wide >> (32 - d.Bits[c]);
    if (d.Shift[c] < 32) value |= narrow << d.Shift[c];
  }
  return value;
}
