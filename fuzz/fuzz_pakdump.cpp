// libFuzzer target: pakdump's record walker over arbitrary bytes. It prints into a
// discarded stream; the sanitizers watch the walk.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>

#include "tools/pakdump/record_dumper.h"

namespace {

// A stream buffer that accepts and forgets everything.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NullBuffer buffer;
  std::ostream out(&buffer);
  DumpObjectBytes(data, size, out);
  return 0;
}
