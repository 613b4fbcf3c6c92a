#include "core/byte_stream.h"

#include <climits>
#include <cstdlib>
#include <new>

#include "core/class_registry.h"
#include "core/error.h"
#include "core/object.h"

namespace {

int64_t SizeOfOpenFile(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  long size = std::ftell(file);
  if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
  return size < 0 ? -1 : static_cast<int64_t>(size);
}

ByteStream* OpenFile(const char* path, const char* how, StreamMode mode) {
  if (!path) return nullptr;
  std::FILE* file = std::fopen(path, how);
  if (!file) return nullptr;
  auto* stream = new (std::nothrow) ByteStream();
  if (!stream) {
    std::fclose(file);
    return nullptr;
  }
  stream->File = file;
  stream->Mode = mode;
  if (mode == StreamFileRead) stream->FileSize = SizeOfOpenFile(file);
  return stream;
}

// Appends at Position, growing the buffer to n + 2 x Capacity when it is too small.
size_t AppendToMemory(ByteStream* stream, const void* source, size_t n) {
  if (n == 0) return 0;
  const uint64_t end = static_cast<uint64_t>(stream->Position) + n;
  if (end > INT32_MAX) return 0;
  if (!stream->Buffer) {
    stream->Buffer = static_cast<uint8_t*>(std::malloc(end));
    if (!stream->Buffer) return 0;
    stream->Capacity = static_cast<int32_t>(end);
  } else if (end > static_cast<uint64_t>(stream->Capacity)) {
    uint64_t grown = n + 2 * static_cast<uint64_t>(stream->Capacity);
    if (grown > INT32_MAX) grown = INT32_MAX;
    if (grown < end) return 0;
    auto* bigger = static_cast<uint8_t*>(std::realloc(stream->Buffer, grown));
    if (!bigger) return 0;
    stream->Buffer = bigger;
    stream->Capacity = static_cast<int32_t>(grown);
  }
  std::memcpy(stream->Buffer + stream->Position, source, n);
  stream->Position += static_cast<int32_t>(n);
  if (stream->Position > stream->Total) stream->Total = stream->Position;
  return n;
}

}  // namespace

ByteStream* OpenFileReader(const char* path) {
  return OpenFile(path, "rb", StreamFileRead);
}
ByteStream* OpenFileWriter(const char* path) {
  return OpenFile(path, "wb", StreamFileWrite);
}

ByteStream* NewMemoryReader(const void* data, size_t size) {
  if (size > INT32_MAX) return nullptr;
  auto* stream = new (std::nothrow) ByteStream();
  if (!stream) return nullptr;
  stream->Mode = StreamMemoryRead;
  if (size > 0) {
    stream->Buffer = static_cast<uint8_t*>(std::malloc(size));
    if (!stream->Buffer) {
      delete stream;
      return nullptr;
    }
    std::memcpy(stream->Buffer, data, size);
  }
  stream->Capacity = static_cast<int32_t>(size);
  stream->Total = static_cast<int32_t>(size);
  return stream;
}

ByteStream* NewMemoryWriter() {
  auto* stream = new (std::nothrow) ByteStream();
  if (stream) stream->Mode = StreamMemoryWrite;
  return stream;
}

void StartReading(ByteStream* stream) {
  if (!stream || stream->Mode != StreamMemoryWrite) return;
  stream->Mode = StreamMemoryRead;
  stream->Position = 0;
  stream->Broken = false;
  stream->Depth = 0;
}

void CloseStream(ByteStream* stream) {
  if (!stream) return;
  if (stream->Mode == StreamMemoryRead || stream->Mode == StreamMemoryWrite) {
    std::free(stream->Buffer);
  } else if (stream->File) {
    std::fclose(stream->File);
  }
  *stream = ByteStream();
}

void FreeStream(ByteStream* stream) {
  CloseStream(stream);
  delete stream;
}

size_t ReadRaw(size_t size, void* destination, size_t count, ByteStream* stream) {
  if (!stream || size == 0 || count == 0) return 0;
  if (count > SIZE_MAX / size) return 0;
  const size_t wanted = size * count;
  if (stream->Mode == StreamFileRead) {
    size_t items = std::fread(destination, size, count, stream->File);
    if (items < count) stream->Broken = true;
    return items;
  }
  if (stream->Mode != StreamMemoryRead || !stream->Buffer) return 0;
  const size_t available = static_cast<size_t>(stream->Total - stream->Position);
  const size_t copied = wanted < available ? wanted : available;
  std::memcpy(destination, stream->Buffer + stream->Position, copied);
  stream->Position += static_cast<int32_t>(copied);
  if (copied < wanted) stream->Broken = true;
  return copied;
}

size_t WriteRaw(size_t count, size_t size, const void* source, ByteStream* stream) {
  if (!stream || size == 0 || count == 0) return 0;
  if (count > SIZE_MAX / size) return 0;
  if (stream->Mode == StreamFileWrite) return std::fwrite(source, size, count, stream->File);
  if (stream->Mode == StreamMemoryWrite) return AppendToMemory(stream, source, size * count);
  return 0;
}

uint8_t ReadByte(ByteStream* stream) {
  uint8_t value = 0;
  ReadBytes(stream, &value, 1);
  return value;
}

bool ReadBytes(ByteStream* stream, void* destination, size_t size) {
  if (!stream) return false;
  if (size == 0) return true;
  if (stream->Broken || RemainingBytes(stream) < static_cast<int64_t>(size)) {
    if (stream->Mode == StreamMemoryRead) stream->Position = stream->Total;
    stream->Broken = true;
    return false;
  }
  if (stream->Mode == StreamFileRead) {
    // Read into a scratch copy first so that a short file leaves the field as it was.
    unsigned char scratch[64];
    if (size <= sizeof scratch) {
      if (std::fread(scratch, 1, size, stream->File) != size) {
        stream->Broken = true;
        return false;
      }
      std::memcpy(destination, scratch, size);
      return true;
    }
    if (std::fread(destination, 1, size, stream->File) != size) {
      stream->Broken = true;
      return false;
    }
    return true;
  }
  if (stream->Mode != StreamMemoryRead) return false;
  std::memcpy(destination, stream->Buffer + stream->Position, size);
  stream->Position += static_cast<int32_t>(size);
  return true;
}

bool WriteBytes(ByteStream* stream, const void* source, size_t size) {
  if (!stream) return false;
  if (size == 0) return true;
  return WriteRaw(1, size, source, stream) == (stream->Mode == StreamFileWrite ? 1 : size);
}

int64_t RemainingBytes(const ByteStream* stream) {
  if (!stream) return 0;
  if (stream->Mode == StreamMemoryRead)
    return stream->Buffer ? stream->Total - stream->Position : 0;
  if (stream->Mode != StreamFileRead || !stream->File) return 0;
  if (stream->FileSize < 0) return 0;
  long at = std::ftell(stream->File);
  if (at < 0) return 0;
  return stream->FileSize > at ? stream->FileSize - at : 0;
}

bool StreamCanHold(ByteStream* stream, uint64_t bytes) {
  if (!stream) return false;
  const int64_t free = RemainingBytes(stream) - stream->Committed;
  if (free >= 0 && static_cast<uint64_t>(free) >= bytes) return true;
  stream->Broken = true;
  return false;
}

int64_t StreamOffset(const ByteStream* stream) {
  if (!stream) return 0;
  if (stream->Mode == StreamFileRead || stream->Mode == StreamFileWrite) {
    return stream->File ? std::ftell(stream->File) : 0;
  }
  return stream->Position;
}

void StepBack(ByteStream* stream, int32_t bytes) {
  if (!stream) return;
  if (stream->Mode == StreamFileRead || stream->Mode == StreamFileWrite) {
    if (stream->File) std::fseek(stream->File, -static_cast<long>(bytes), SEEK_CUR);
  } else if (stream->Mode == StreamMemoryRead || stream->Mode == StreamMemoryWrite) {
    stream->Position = stream->Position >= bytes ? stream->Position - bytes : 0;
  }
}

C_Object* CreateFromStream(ByteStream* stream) {
  uint16_t id = 0;
  if (!ReadField(stream, id)) return nullptr;
  if (id == class_id::None) return nullptr;
  C_Object* object = CreateObject(id);
  StepBack(stream, 2);
  return object;
}

bool LoadHeldObject(ByteStream* stream, int32_t context, C_Object*& item) {
  item = nullptr;
  if (!stream) return Fail();
  if (stream->Depth >= kMaxRecordDepth) {
    stream->Broken = true;
    return Fail(ErrorUnexpectedData);
  }
  item = CreateFromStream(stream);
  if (stream->Broken) return Fail(ErrorUnexpectedData);
  if (!item) return true;
  ++stream->Depth;
  const bool loaded = item->Load(stream, context);
  --stream->Depth;
  return loaded && !stream->Broken;
}

bool SaveHeldObject(ByteStream* stream, int32_t context, C_Object* item) {
  if (item) {
    const int64_t start = StreamOffset(stream);
    if (!item->Save(stream, context)) return false;
    if (StreamOffset(stream) != start) return true;
  }
  return WriteField<uint16_t>(stream, class_id::None);
}

bool LoadObjectFile(C_Object* object, const char* path) {
  if (!object) return false;
  ByteStream* stream = OpenFileReader(path);
  if (!stream) return false;
  const bool loaded = object->Load(stream, 0) && !stream->Broken;
  FreeStream(stream);
  return loaded;
}

bool SaveObjectFile(C_Object* object, const char* path) {
  if (!object) return false;
  ByteStream* stream = OpenFileWriter(path);
  if (!stream) return false;
  bool saved = object->Save(stream, 0);
  saved = (std::fflush(stream->File) == 0) && saved;
  FreeStream(stream);
  return saved;
}
