// Helpers for tests that write records to memory and read them back.
#pragma once

#include <cstdint>
#include <vector>

#include "core/byte_stream.h"
#include "core/object.h"

// The bytes an object's Save writes.
inline std::vector<uint8_t> SaveToBytes(C_Object& object, int32_t context = 0) {
  ByteStream* stream = NewMemoryWriter();
  object.Save(stream, context);
  std::vector<uint8_t> bytes(stream->Buffer, stream->Buffer + stream->Total);
  FreeStream(stream);
  return bytes;
}

// Loads an object from bytes; returns Load's result and the bytes it consumed.
inline bool LoadFromBytes(C_Object& object, const std::vector<uint8_t>& bytes,
                          int32_t* consumed = nullptr) {
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  const bool loaded = object.Load(stream, 0);
  if (consumed) *consumed = stream->Position;
  FreeStream(stream);
  return loaded;
}

// Little-endian byte builders for hand-made records.
inline void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(v & 0xFF);
  out.push_back(v >> 8);
}
inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}
