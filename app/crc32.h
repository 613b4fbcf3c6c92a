// CRC-32 with the zlib polynomial (0xEDB88320 reflected), for frame checksums.
#pragma once

#include <cstddef>
#include <cstdint>

class C_Image;

// Continues crc over the bytes; start with 0.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
// Of an image's pixel bytes, picture rows top first, RowBytes of each row (pixels in
// memory order, which is little-endian here). 0 for an absent image.
uint32_t ImageCrc32(const C_Image* image);
