#include "image/picture_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/byte_stream.h"
#include "core/error.h"
#include "core/string.h"
#include "image/image.h"
#include "image/picture_readers.h"

void EmptyImage(C_Image* image) {
  if (!image) return;
  image->Release();
  image->Init();
}

bool RefusePicture(C_Image* image, int32_t code) {
  EmptyImage(image);
  return Fail(code);
}

int64_t StreamSize(const ByteStream* stream) {
  if (!stream) return -1;
  if (stream->Mode == StreamMemoryRead) return stream->Total;
  if (stream->Mode == StreamFileRead) return stream->FileSize;
  return -1;
}

bool SeekTo(ByteStream* stream, int64_t offset) {
  if (!stream || stream->Broken) return false;
  const int64_t size = StreamSize(stream);
  if (offset < 0 || (size >= 0 && offset > size)) {
    stream->Broken = true;
    return false;
  }
  if (stream->Mode == StreamMemoryRead) {
    stream->Position = static_cast<int32_t>(offset);
    return true;
  }
  if (stream->Mode == StreamFileRead && stream->File &&
      std::fseek(stream->File, static_cast<long>(offset), SEEK_SET) == 0) {
    return true;
  }
  stream->Broken = true;
  return false;
}

namespace {

using StreamReader = bool (*)(ByteStream*, C_Image*);

bool LoadWith(StreamReader reader, const char* path, C_Image* image) {
  ByteStream* stream = OpenFileReader(path);
  if (!stream) {
    EmptyImage(image);
    return Fail(ErrorCannotOpen);
  }
  const bool loaded = reader(stream, image);
  FreeStream(stream);
  return loaded;
}

}  // namespace

bool LoadBmpFile(const char* path, C_Image* image) {
  return LoadWith(ReadBmp, path, image);
}
bool LoadPcxFile(const char* path, C_Image* image) {
  return LoadWith(ReadPcx, path, image);
}
bool LoadTgaFile(const char* path, C_Image* image) {
  return LoadWith(ReadTga, path, image);
}

bool LoadImageFile(const char* path, C_Image* image) {
  if (!image) return Fail(ErrorMissingArgument);
  EmptyImage(image);
  if (!path) return Fail(ErrorMissingArgument);
  C_String name(path);
  C_String* ext = name.GetExtension();
  if (!ext) return Fail(ErrorAllocation);
  for (int32_t i = 0; i < ext->Length; ++i) {
    ext->Text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(ext->Text[i])));
  }
  StreamReader reader = nullptr;
  bool jpeg = false;
  if (ext->Equals("BMP")) {
    reader = ReadBmp;
  } else if (ext->Equals("PCX")) {
    reader = ReadPcx;
  } else if (ext->Equals("TGA")) {
    reader = ReadTga;
  } else if (ext->Equals("JPG") || ext->Equals("JPEG")) {
    jpeg = true;
  }
  delete ext;
  // JPEG names are known but there is no decoder; that is not an error.
  if (jpeg) return false;
  if (!reader) return Fail();
  return LoadWith(reader, path, image);
}

bool BufferedBytes::Refill() {
  const int64_t remaining = RemainingBytes(Stream);
  if (remaining <= 0) return false;
  const int32_t wanted = remaining < static_cast<int64_t>(sizeof Buffer)
                             ? static_cast<int32_t>(remaining)
                             : static_cast<int32_t>(sizeof Buffer);
  if (!ReadBytes(Stream, Buffer, static_cast<size_t>(wanted))) return false;
  At = 0;
  End = wanted;
  return true;
}

bool BufferedBytes::Take(uint8_t* destination, int64_t count) {
  while (count > 0) {
    if (At == End && !Refill()) return false;
    const int64_t available = End - At;
    const int64_t step = count < available ? count : available;
    std::memcpy(destination, Buffer + At, static_cast<size_t>(step));
    At += static_cast<int32_t>(step);
    destination += step;
    count -= step;
  }
  return true;
}
