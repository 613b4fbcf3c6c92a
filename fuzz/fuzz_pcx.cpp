// libFuzzer target: the PCX reader over arbitrary bytes in memory.
#include "fuzz/picture_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzPictureReader(ReadPcx, data, size);
}
