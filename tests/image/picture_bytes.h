// Byte builders for hand-made BMP, PCX and TGA files, and helpers that run a reader
// over bytes in memory or from a file in a temporary directory.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/byte_stream.h"
#include "image/image.h"

// Little-endian append-only byte buffer.
struct PictureBytes {
  std::vector<uint8_t> Bytes;

  PictureBytes& U8(uint8_t v) {
    Bytes.push_back(v);
    return *this;
  }
  PictureBytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  PictureBytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  PictureBytes& Raw(std::initializer_list<uint8_t> bytes) {
    Bytes.insert(Bytes.end(), bytes);
    return *this;
  }
  PictureBytes& Raw(const std::vector<uint8_t>& bytes) {
    Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
    return *this;
  }
  PictureBytes& Fill(size_t count, uint8_t v) {
    Bytes.insert(Bytes.end(), count, v);
    return *this;
  }
};

// An uncompressed BMP: 14-byte file header, 40-byte information header, the
// palette (4 bytes per entry, its entry count stored as colours used unless it is
// 256) and the pixel data exactly as given (file rows, bottom row first).
inline std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits,
                                    uint32_t imageSize, const std::vector<uint8_t>& data,
                                    const std::vector<uint8_t>& palette = {}) {
  const uint32_t offset = 54 + static_cast<uint32_t>(palette.size());
  const uint32_t entries = static_cast<uint32_t>(palette.size() / 4);
  PictureBytes b;
  b.U16(0x4D42).U32(offset + static_cast<uint32_t>(data.size())).U32(0).U32(offset);
  b.U32(40).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height));
  b.U16(1).U16(bits).U32(0).U32(imageSize).U32(2835).U32(2835);
  b.U32(entries == 256 ? 0 : entries).U32(0);
  return b.Raw(palette).Raw(data).Bytes;
}

// A 128-byte PCX header for a picture of width x height from origin (0, 0).
inline PictureBytes PcxHeader(int32_t width, int32_t height, uint8_t planes, uint16_t lineBytes,
                              uint8_t manufacturer = 0x0A, uint8_t version = 5) {
  PictureBytes b;
  b.U8(manufacturer).U8(version).U8(1).U8(8);
  b.U16(0).U16(0).U16(static_cast<uint16_t>(width - 1)).U16(static_cast<uint16_t>(height - 1));
  b.U16(72).U16(72).Fill(48, 0).U8(0).U8(planes).U16(lineBytes).U16(1);
  b.Fill(128 - b.Bytes.size(), 0);
  return b;
}

// The 256-entry trailer of an 8-bit PCX: marker 12 and RGB triples; entry i is
// (i, 255 - i, i / 2) unless overridden by the first entries given.
inline std::vector<uint8_t> PcxPalette(std::initializer_list<uint8_t> first = {}) {
  PictureBytes b;
  b.U8(12);
  for (int i = 0; i < 256; ++i) b.U8(i).U8(255 - i).U8(i / 2);
  size_t at = 1;
  for (uint8_t v : first) b.Bytes[at++] = v;
  return b.Bytes;
}

// The 18-byte TGA header: template kind 2, 10 (true colour) or 1, 9 (colour-mapped).
inline PictureBytes TgaHeader(uint8_t kind, int32_t width, int32_t height, uint8_t depth) {
  PictureBytes b;
  const bool mapped = kind == 1 || kind == 9;
  b.U8(0).U8(mapped ? 1 : 0).U8(kind).U16(0).U16(mapped ? 256 : 0).U8(mapped ? 24 : 0);
  b.U16(0).U16(0).U16(static_cast<uint16_t>(width)).U16(static_cast<uint16_t>(height));
  b.U8(depth).U8(0);
  return b;
}

using PictureReader = bool (*)(ByteStream*, C_Image*);

// Runs a reader over bytes held in memory.
inline bool ReadPictureBytes(PictureReader reader, const std::vector<uint8_t>& bytes,
                             C_Image* image) {
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  const bool read = reader(stream, image);
  FreeStream(stream);
  return read;
}

// A per-process scratch directory for files that tests write.
inline std::filesystem::path PictureTempDir() {
  static const std::filesystem::path dir = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("df_picture_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return dir;
}

inline std::string WritePictureFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path path = PictureTempDir() / name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

// True when the image is the empty image every failed load leaves behind.
inline bool IsEmptyImage(const C_Image& image) {
  return image.Pixels == nullptr && image.Palette == nullptr && image.Width == 0 &&
         image.Height == 0 && image.PixelBytes == 0 && image.PaletteBytes == 0 &&
         image.Format == pixel_format::None && image.PaletteFormat == pixel_format::None;
}
