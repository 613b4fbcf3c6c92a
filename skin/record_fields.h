// Reading and writing the fixed field lists of the skin and widget records: each
// field is either a nested object (its own complete record) or a little-endian
// number. A list stops at the first field that cannot be read.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/byte_stream.h"
#include "core/error.h"
#include "core/object.h"

namespace record_fields {

inline bool LoadOne(ByteStream* stream, int32_t context, C_Object& object) {
  return object.Load(stream, context);
}

template <class T>
requires std::is_arithmetic_v<T>
bool LoadOne(ByteStream* stream, int32_t, T& value) {
  return ReadField(stream, value) || Fail(ErrorUnexpectedData);
}

inline bool SaveOne(ByteStream* stream, int32_t context, C_Object& object) {
  return object.Save(stream, context);
}

template <class T>
requires std::is_arithmetic_v<T>
bool SaveOne(ByteStream* stream, int32_t, const T& value) {
  return WriteField(stream, value) || Fail();
}

}  // namespace record_fields

// Reads the fields in order; false (with LastError set) at the first that fails.
template <class... Fields>
bool LoadFields(ByteStream* stream, int32_t context, Fields&... fields) {
  return (record_fields::LoadOne(stream, context, fields) && ...);
}

template <class... Fields>
bool SaveFields(ByteStream* stream, int32_t context, Fields&... fields) {
  return (record_fields::SaveOne(stream, context, fields) && ...);
}

// Reads the version word that starts a record's contents. `current` tells whether
// it is the version this build writes: a reader that finds another one stops
// reading the object and reports success, leaving the rest unread.
inline bool LoadVersion(ByteStream* stream, bool& current) {
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  current = version == FormatVersion;
  return true;
}

// Writes the class id and the version word of a record.
inline bool SaveHeader(ByteStream* stream, const C_Object& object) {
  return (WriteField(stream, object.GetClassId()) && WriteField(stream, FormatVersion)) || Fail();
}
