// The BMP, PCX and TGA readers behind LoadImageFile, and the stream helpers they
// share. Each reader takes a ByteStream so that it reads files and memory alike.
#pragma once

#include <cstdint>

struct ByteStream;
class C_Image;

// Largest width or height a picture file may claim; larger files are refused.
inline constexpr int32_t kMaxPictureSide = 16384;

// Readers: fill an empty image from the stream. On any failure they record a code
// (ErrorUnexpectedData for bad data, ErrorAllocation without memory), then -1, and leave the image
// empty with every buffer they allocated freed.
bool ReadBmp(ByteStream* stream, C_Image* image);
bool ReadPcx(ByteStream* stream, C_Image* image);
bool ReadTga(ByteStream* stream, C_Image* image);

// File entry points: open the file, run the reader, close the file. A file that
// cannot be opened records ErrorCannotOpen, then -1.
bool LoadBmpFile(const char* path, C_Image* image);
bool LoadPcxFile(const char* path, C_Image* image);
bool LoadTgaFile(const char* path, C_Image* image);

// --- Shared helpers ---------------------------------------------------------------
// Frees the image's owned buffers and resets it to the empty image.
void EmptyImage(C_Image* image);
// Empties the image and fails with code, then -1.
bool RefusePicture(C_Image* image, int32_t code);
// Size of the whole stream in bytes (file or memory read), -1 when unknown.
int64_t StreamSize(const ByteStream* stream);
// Moves the read position to an absolute offset; false (stream Broken) when the
// offset lies outside the stream.
bool SeekTo(ByteStream* stream, int64_t offset);

// Hands out the bytes of a stream one at a time (or a few at a time) through a
// small buffer, for the run-length decoders. It reads ahead of what it hands out,
// so the stream position afterwards is not meaningful.
struct BufferedBytes {
  explicit BufferedBytes(ByteStream* stream) : Stream(stream) {}
  // The next byte; false when the stream has run out.
  bool Next(uint8_t& byte) {
    if (At == End && !Refill()) return false;
    byte = Buffer[At++];
    return true;
  }
  // Exactly count bytes into destination, or false when the stream runs out.
  bool Take(uint8_t* destination, int64_t count);

  ByteStream* Stream;    // read-mode stream, not owned
  uint8_t Buffer[4096];  // bytes read ahead
  int32_t At = 0;        // next byte of Buffer to hand out
  int32_t End = 0;       // bytes valid in Buffer

 private:
  bool Refill();
};
