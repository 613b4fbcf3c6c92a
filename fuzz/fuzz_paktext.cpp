// libFuzzer target: paktext's reader of the text form over arbitrary text. The
// pictures it names are looked for in a folder that holds none, so a text must
// survive their absence too; the sanitizers watch the walk and the save.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/paktext/paktext.h"

namespace {

// Small enough that a text claiming the largest image is refused quickly.
constexpr uint64_t kFuzzByteLimit = uint64_t{16} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes, error;
  BuildObjectBytes(reinterpret_cast<const char*>(data), size, "/nonexistent-paktext-folder", bytes,
                   error, kFuzzByteLimit);
  return 0;
}
