// ByteStream: the byte stream every record is read from and written to (file read,
// file write, memory read, memory write), its primitives and the object-file loader.
//
// Stored values are little-endian with no padding. Every read is bounded: a
// memory-read stream never reads past the bytes written into it, and a read that
// comes up short marks the stream Broken so that the loaders unwind with false.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

class C_Object;

enum StreamMode : uint8_t {
  StreamClosed = 0,
  StreamFileRead = 1,
  StreamFileWrite = 2,
  StreamMemoryRead = 3,
  StreamMemoryWrite = 4,
};

// Containers inside containers deeper than this end the load with a failure
// instead of exhausting the call stack.
inline constexpr int32_t kMaxRecordDepth = 64;

struct ByteStream {
  int32_t Total = 0;          // bytes written so far; in memory-read mode the readable bytes
  int32_t Capacity = 0;       // allocated size of Buffer
  int32_t Position = 0;       // current offset in Buffer (memory modes)
  uint8_t* Buffer = nullptr;  // heap block (memory modes), null until the first write
  std::FILE* File = nullptr;  // open file (file modes)
  uint8_t Mode = StreamClosed;
  bool Broken = false;    // sticky: a read came up short or the data was refused
  int32_t Depth = 0;      // container records being read inside each other
  int64_t Committed = 0;  // bytes enclosing containers still need for their unread items
  int64_t FileSize = -1;  // file-read mode: size at opening, -1 when unknown
};

// --- Opening and closing ---------------------------------------------------------
ByteStream* OpenFileReader(const char* path);                // null when the file cannot be opened
ByteStream* OpenFileWriter(const char* path);                // null when the file cannot be created
ByteStream* NewMemoryReader(const void* data, size_t size);  // copies the bytes
ByteStream* NewMemoryWriter();
// Turns a memory-write stream into a memory-read stream over what was written.
void StartReading(ByteStream* stream);
// Frees Buffer or closes File and resets the record, without freeing the record.
void CloseStream(ByteStream* stream);
// CloseStream, then frees the record. Null is ignored.
void FreeStream(ByteStream* stream);

// --- Primitives (a null stream does nothing and returns 0) ---------------------
// Reads size x count bytes; returns whole items read (file) or bytes copied (memory).
size_t ReadRaw(size_t size, void* destination, size_t count, ByteStream* stream);
// Writes size x count bytes; returns items written (file) or bytes appended (memory).
size_t WriteRaw(size_t count, size_t size, const void* source, ByteStream* stream);
// The next byte, or 0 when there is none (the stream is then Broken).
uint8_t ReadByte(ByteStream* stream);

// Reads exactly size bytes or nothing: when too few bytes remain the destination
// keeps its bytes, the stream becomes Broken and the result is false. (A file that
// fails in the middle of a read larger than 64 bytes may leave part of it written.)
bool ReadBytes(ByteStream* stream, void* destination, size_t size);
bool WriteBytes(ByteStream* stream, const void* source, size_t size);

// Bytes left to read; 0 in write modes and for a file whose size is unknown (a
// pipe), which makes such files unreadable rather than trusted.
int64_t RemainingBytes(const ByteStream* stream);
// True when at least `bytes` remain beyond what enclosing containers have
// committed; otherwise marks the stream Broken. Readers call it before allocating
// anything whose size the stream itself claims.
bool StreamCanHold(ByteStream* stream, uint64_t bytes);
// Offset of the next byte read or written.
int64_t StreamOffset(const ByteStream* stream);
// Moves back over bytes just read (used to re-read a class id).
void StepBack(ByteStream* stream, int32_t bytes);

// Reads one little-endian field. On a short read the field is left unchanged and
// the result is false.
template <class T>
bool ReadField(ByteStream* stream, T& field) {
  static_assert(std::is_trivially_copyable_v<T>);
  unsigned char bytes[sizeof(T)];
  if (!ReadBytes(stream, bytes, sizeof(T))) return false;
  if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) {
    for (size_t i = 0; i < sizeof(T) / 2; ++i) {
      unsigned char t = bytes[i];
      bytes[i] = bytes[sizeof(T) - 1 - i];
      bytes[sizeof(T) - 1 - i] = t;
    }
  }
  std::memcpy(&field, bytes, sizeof(T));
  return true;
}

template <class T>
bool WriteField(ByteStream* stream, const T& field) {
  static_assert(std::is_trivially_copyable_v<T>);
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, &field, sizeof(T));
  if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) {
    for (size_t i = 0; i < sizeof(T) / 2; ++i) {
      unsigned char t = bytes[i];
      bytes[i] = bytes[sizeof(T) - 1 - i];
      bytes[sizeof(T) - 1 - i] = t;
    }
  }
  return WriteBytes(stream, bytes, sizeof(T));
}

// --- Records --------------------------------------------------------------------
// Reads a class id; 0 gives null with the id consumed; otherwise a new object from
// the registry (null when unregistered) with the stream stepped back over the id so
// that the object's own Load reads it again.
C_Object* CreateFromStream(ByteStream* stream);

// The way a container reads an object it holds: CreateFromStream, then the new
// object's Load. `item` receives the object (null for a missing or unregistered
// one) and belongs to the caller even when the result is false. False when the
// item failed to load or the stream is exhausted, too deep or refused.
bool LoadHeldObject(ByteStream* stream, int32_t context, C_Object*& item);

// Writes an object the container holds, or the id 0 for a missing one. An object
// that stores nothing of itself (a plain root object, a thread, a pointer holder)
// is written as missing too, so that the record can be read back.
bool SaveHeldObject(ByteStream* stream, int32_t context, C_Object* item);

// Loads one object from a file through its own Load with context 0. False when the
// file cannot be opened (nothing else happens) or the load fails.
bool LoadObjectFile(C_Object* object, const char* path);
// Writes one object to a file through its Save with context 0.
bool SaveObjectFile(C_Object* object, const char* path);
