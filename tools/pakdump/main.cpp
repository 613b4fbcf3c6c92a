// pakdump <file>: prints the object records of a file (a single record, a .pak
// collection, a widget file) as an indented tree with class names, ids, byte offsets
// and values. Exit status: 0 for a whole record, 1 when the file is malformed (the
// tree read so far is printed, then the line saying what is wrong and where), 2 for
// a usage error or a file that cannot be read.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include "program/standard_options.h"
#include "tools/pakdump/record_dumper.h"

namespace {

const ProgramUsage kUsage = {
    "pakdump", "usage: pakdump <file>\n",
    "\nPrints the object records of a file (one record, a .pak collection, a widget\n"
    "file) as an indented tree. Status 0 for a whole record, 1 for a malformed file\n"
    "(the tree read so far, then what is wrong and where), 2 for a usage error or a\n"
    "file that cannot be read.\n"};

// The memory stream that reads the bytes addresses them with 32-bit offsets.
constexpr long kMaxFileBytes = 0x7FFFFFFF;

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) {
    std::fprintf(stderr, "pakdump: cannot open %s: %s\n", path, std::strerror(errno));
    return false;
  }
  bool read = std::fseek(file, 0, SEEK_END) == 0;
  const long size = read ? std::ftell(file) : -1;
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fprintf(stderr, "pakdump: cannot read %s: it has no size\n", path);
    read = false;
  } else if (size > kMaxFileBytes) {
    std::fprintf(stderr, "pakdump: %s is too large (%ld bytes)\n", path, size);
    read = false;
  } else {
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      std::fprintf(stderr, "pakdump: cannot read %s: %s\n", path, std::strerror(errno));
      read = false;
    }
  }
  std::fclose(file);
  return read;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerNameOnlyOptions(argc, argv, kUsage, status)) return status;
  if (argc != 2 || argv[1][0] == '\0') return UsageError(kUsage, "needs one file");
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(argv[1], bytes)) return 2;
  const DumpResult result = DumpObjectBytes(bytes.data(), bytes.size(), std::cout);
  std::cout.flush();
  return result.Ok ? 0 : 1;
}
