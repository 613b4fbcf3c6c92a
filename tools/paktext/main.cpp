// paktext: the text form of the object files.
//   paktext export FILE DIR   writes DIR/object.json and the pictures beside it
//   paktext build DIR FILE    writes FILE from them (DIR may also be one .json file)
// Exit status: 0 done, 1 the input is wrong (one line on stderr says where and
// what; no output file is left behind), 2 a usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/paktext/paktext.h"

#ifndef DF_VERSION
#define DF_VERSION "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "usage: paktext export FILE DIR   write FILE's object tree as DIR/object.json\n"
    "       paktext build DIR FILE    write the object file FILE from DIR/object.json\n"
    "       paktext build TEXT.json FILE   the same from one text, pictures beside it\n"
    "       paktext --help | --version\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("paktext %s\n", DF_VERSION);
    return 0;
  }
  const bool exporting = argc == 4 && std::strcmp(argv[1], "export") == 0;
  const bool building = argc == 4 && std::strcmp(argv[1], "build") == 0;
  if (!exporting && !building) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string error;
  const bool done = exporting ? ExportObjectFile(argv[2], argv[3], error)
                              : BuildObjectFile(argv[2], argv[3], error);
  if (!done) {
    std::fprintf(stderr, "paktext: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
