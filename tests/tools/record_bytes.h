// Hand-built records of the graphics and image classes, for tests that must not
// depend on those classes' own Save, and the seed records of the object-record fuzzer.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/core/stream_helpers.h"

inline void PutF32(std::vector<uint8_t>& out, float v) {
  uint32_t bits = 0;
  std::memcpy(&bits, &v, 4);
  PutU32(out, bits);
}

inline void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

inline std::vector<uint8_t> Vector2DRecord(float x, float y, uint8_t anchor) {
  std::vector<uint8_t> r;
  PutU16(r, 18);
  PutF32(r, x);
  PutF32(r, y);
  r.push_back(anchor);
  return r;
}

inline std::vector<uint8_t> RectRecord(float x1, float y1, float x2, float y2, uint8_t anchor1,
                                       uint8_t anchor2, const std::vector<uint8_t>& pivot) {
  std::vector<uint8_t> r;
  PutU16(r, 11);
  for (float v : {x1, y1, x2, y2}) PutF32(r, v);
  r.push_back(anchor1);
  r.push_back(anchor2);
  Append(r, pivot);
  return r;
}

inline std::vector<uint8_t> CircleRecord(const std::vector<uint8_t>& center, float radius) {
  std::vector<uint8_t> r;
  PutU16(r, 10);
  Append(r, center);
  PutF32(r, radius);
  return r;
}

// An image record without palette: rows of ceil(width x bits / 8) bytes, packed.
inline std::vector<uint8_t> ImageRecord(uint32_t width, uint32_t height, uint32_t bits,
                                        uint32_t format, uint8_t fill = 0xA5) {
  const uint32_t rowBytes = (width * bits + 7) / 8;
  std::vector<uint8_t> r;
  PutU16(r, 8);
  PutU16(r, 100);
  for (uint32_t v : {rowBytes * height, width, height, rowBytes, bits, format, 0u}) PutU32(r, v);
  r.insert(r.end(), static_cast<size_t>(rowBytes) * height, fill);
  return r;
}

// An 8-bit palette image: PaletteBytes, palette format 21 with 24-bit entries.
inline std::vector<uint8_t> PaletteImageRecord(uint32_t width, uint32_t height,
                                               uint32_t paletteBytes) {
  std::vector<uint8_t> r;
  PutU16(r, 8);
  PutU16(r, 100);
  for (uint32_t v : {width * height, width, height, width, 8u, 4u, paletteBytes, 21u, 24u}) {
    PutU32(r, v);
  }
  for (uint32_t i = 0; i < paletteBytes; ++i) r.push_back(static_cast<uint8_t>(i));
  for (uint32_t i = 0; i < width * height; ++i) r.push_back(static_cast<uint8_t>(i % 2));
  return r;
}

struct ChannelBytes {
  uint32_t Key;
  std::vector<uint8_t> Image;
};

// A surface record; `extra` is a whole record or empty for none (written as id 0).
inline std::vector<uint8_t> SurfaceRecord(const std::vector<ChannelBytes>& channels,
                                          const std::vector<uint8_t>& extra, uint32_t columns,
                                          uint32_t rows) {
  std::vector<uint8_t> r;
  PutU16(r, 15);
  PutU16(r, 100);
  if (!channels.empty()) {
    r.push_back(0x7F);
    for (const ChannelBytes& c : channels) {
      r.push_back(0x81);
      PutU32(r, c.Key);
      Append(r, c.Image);
    }
  }
  r.push_back(0x80);
  if (extra.empty()) {
    PutU16(r, 0);
  } else {
    Append(r, extra);
  }
  PutU32(r, columns);
  PutU32(r, rows);
  return r;
}
