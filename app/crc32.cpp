#include "app/crc32.h"

#include <array>
#include <bit>

#include "image/image.h"
#include "image/pixel_rows.h"

static_assert(std::endian::native == std::endian::little,
              "frame checksums are defined over little-endian pixel bytes");

namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = kTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t ImageCrc32(const C_Image* image) {
  if (!image) return 0;
  FormatDescriptor d;
  if (!DescribeFormat(image->Format, d) || !PixelsCover(*image, d)) return 0;
  uint32_t crc = 0;
  for (int32_t y = 0; y < image->Height; ++y) {
    crc = Crc32(image->RowAddress(y), size_t(image->RowBytes), crc);
  }
  return crc;
}
